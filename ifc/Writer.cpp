#include "ifc/Writer.h"

#include "ifc/IfcNames.h"
#include "ifc/SchemaSupport.h"

#include <ctime>
#include <stdexcept>

namespace ifc {

namespace {

std::shared_ptr<step::Array> oneTextArray(const std::string& text)
{
    auto array = std::make_shared<step::Array>();
    array->add(std::make_shared<step::String>(text));
    return array;
}

std::string localTimeNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
    return text;
}

std::string storeyName(long long level)
{
    return level == 0 ? "EG" : std::to_string(level) + ".OG";
}

} // namespace

Writer::Writer(step::Writer& writer)
    : out(&writer), elementQuantities(std::make_shared<step::Set>()), properties(std::make_shared<step::Set>())
{
    startRepresentationItems();
}

Writer::~Writer() = default;

EntityPtr Writer::create(const std::string& name)
{
    return factory.createEntity(name);
}

EntityPtr Writer::hand(const EntityPtr& entity)
{
    out->writeEntity(entity);
    return entity;
}

void Writer::addRoot(const EntityPtr& entity)
{
    addGlobalId(entity);
    addReference(entity, ownerHistory);
}

EntityPtr Writer::createUnnamed(const std::string& entityName)
{
    auto e = create(entityName);
    addRoot(e);
    addNulls(e, 2);
    return e;
}

EntityPtr Writer::createObject(const std::string& entityName, const std::string& name)
{
    auto e = create(entityName);
    addRoot(e);
    addText(e, name);
    addNulls(e, 2);
    return e;
}

EntityPtr Writer::createTypeProduct(const std::string& entityName, const std::string& name,
                                    const EntityList& propertySets)
{
    auto e = create(entityName);
    addRoot(e);
    addText(e, name);
    addNulls(e, 2);
    addPropertySetsOrNull(e, propertySets);
    addNulls(e, 2);
    return e;
}

EntityPtr Writer::createElementType(const std::string& entityName, const std::string& name,
                                    const EntityList& propertySets, const std::string& predefinedType)
{
    auto e = createTypeProduct(entityName, name, propertySets);
    addNull(e);
    addEnumeration(e, predefinedType);
    return e;
}

void Writer::writeHeader(const std::string&, const std::string& author, const std::string& organisation,
                         const std::string& preprocessorVersion)
{
    writeHeader(author, organisation, preprocessorVersion);
}

void Writer::writeFileHeader(const std::string& author, const std::string& organisation,
                             const std::string& preprocessorVersion, const std::string& schema)
{
    auto description = out->beginHeaderEntity("FILE_DESCRIPTION");
    description->add(oneTextArray("ViewDefinition [Kovra, ToBeDefined]"));
    addText(description, "2;1");

    auto fileName = out->beginHeaderEntity("FILE_NAME");
    addText(fileName, "test.ifc");
    addText(fileName, localTimeNow());
    fileName->add(oneTextArray(author));
    fileName->add(oneTextArray(organisation));
    addText(fileName, preprocessorVersion);
    addText(fileName, "");
    addText(fileName, "");

    auto fileSchema = out->beginHeaderEntity("FILE_SCHEMA");
    fileSchema->add(oneTextArray(schema.empty() ? IFC2X3 : schema));
}

EntityPtr Writer::writeOrganization()
{
    auto e = create(IFCORGANIZATION);
    addNull(e);
    addText(e, "Tolm/Brix");
    addText(e, "");
    addNulls(e, 2);
    return hand(e);
}

EntityPtr Writer::writePerson()
{
    auto e = create(IFCPERSON);
    addNull(e);
    addText(e, "");
    addText(e, "");
    addNulls(e, 5);
    return hand(e);
}

EntityPtr Writer::writePersonAndOrganization(const EntityPtr& person, const EntityPtr& organisation)
{
    auto e = create(IFCPERSONANDORGANIZATION);
    addReference(e, person);
    addReference(e, organisation);
    addNull(e);
    return hand(e);
}

EntityPtr Writer::writeApplication(const EntityPtr& organisation)
{
    auto e = create(IFCAPPLICATION);
    addReference(e, organisation);
    addText(e, "testing");
    addText(e, "Kovra Floorsmith");
    addText(e, "");
    return hand(e);
}

EntityPtr Writer::writeSIUnit(const std::string& unitType, const std::string& name)
{
    // Handed over first and filled while still pending.
    auto e = hand(create("IFCSIUNIT"));
    e->add(std::make_shared<step::Omitted>());
    addEnumeration(e, unitType);
    addNull(e);
    addEnumeration(e, name);
    return e;
}

void Writer::writeUnits()
{
    lengthUnit = writeSIUnit("LENGTHUNIT", "METRE");
    areaUnit = writeSIUnit("AREAUNIT", "SQUARE_METRE");
    volumeUnit = writeSIUnit("VOLUMEUNIT", "CUBIC_METRE");
    planeAngleUnit = writeSIUnit("PLANEANGLEUNIT", "RADIAN");

    auto e = create("IFCUNITASSIGNMENT");
    auto units = std::make_shared<step::Array>();
    for (const EntityPtr& unit : {lengthUnit, areaUnit, volumeUnit, planeAngleUnit})
        units->add(std::make_shared<step::Reference>(unit));
    e->add(units);
    unitAssignment = hand(e);
}

void Writer::writeWorldCoordinateSystem()
{
    worldCoordinateSystem = writeAxisPlacement({0.0, 0.0, 0.0}, {0.0, 0.0, 1.0}, {1.0, 0.0, 0.0});
}

EntityPtr Writer::writeSubContext(const std::string& identifier, const std::string& type, const EntityPtr& parent,
                                  const std::shared_ptr<step::Real>& targetScale, const std::string& targetView)
{
    auto e = create(IFCGEOMETRICREPRESENTATIONSUBCONTEXT);
    addText(e, identifier);
    addText(e, type);
    for (int i = 0; i < 4; ++i)
        e->add(std::make_shared<step::Omitted>());
    addReference(e, parent);
    if (targetScale)
        e->add(targetScale);
    else
        addNull(e);
    addEnumeration(e, targetView);
    addNull(e);
    return hand(e);
}

EntityPtr Writer::writeContext(const std::string& identifier, const std::string& type, int dimension)
{
    auto e = create(IFCGEOMETRICREPRESENTATIONCONTEXT);
    addTextOrNull(e, identifier);
    addText(e, type);
    addInteger(e, dimension);
    addReal(e, 1e-05);
    addReference(e, worldCoordinateSystem);
    addReference(e, trueNorth);
    hand(e);
    contexts->add(std::make_shared<step::Reference>(e));
    return e;
}

void Writer::writeRepresentationContexts(const Vec2& north)
{
    if (!contexts)
        contexts = std::make_shared<step::Set>();
    if (!trueNorth)
        trueNorth = writeDirection2D(north);

    modelContext = writeContext("", "Model", 3);
    bodyContext = writeSubContext("Body", "Model", modelContext, nullptr, "MODEL_VIEW");
    axisContext = writeSubContext("Axis", "Model", modelContext, nullptr, "MODEL_VIEW");
}

void Writer::writePlanContexts(int highestLevel, int lowestLevel, double scale)
{
    if (!contexts)
        contexts = std::make_shared<step::Set>();
    for (long long level = highestLevel; level >= lowestLevel; --level) {
        const std::string name = storeyName(level);
        const EntityPtr plan = writeContext("FloorPlan_" + name, "Plan", 2);
        auto viewport = writeSubContext("Viewport_" + name, "Plan", plan, std::make_shared<step::Real>(scale),
                                        "PLAN_VIEW");
        planContexts.emplace(name, viewport);
    }
}

void Writer::writeProject(const std::string& name)
{
    auto e = create(IFCPROJECT);
    addRoot(e);
    addText(e, name);
    addNulls(e, 4);
    e->add(contexts ? contexts : std::make_shared<step::Set>());
    addReference(e, unitAssignment);
    adoptWaitingEntities(e);
    project = hand(e);
}

void Writer::useBodyContext()
{
    currentContext = bodyContext;
}

void Writer::usePlanContext(const std::string& storeyName)
{
    const auto found = planContexts.find(storeyName);
    if (found == planContexts.end())
        throw std::out_of_range("invalid unordered_map<K, T> key");
    currentContext = found->second;
}

} // namespace ifc
