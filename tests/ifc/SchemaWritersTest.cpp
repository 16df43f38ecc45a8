// The IFC4 and IFC2X3 writers: which entity each operation writes with how
// many attributes, and the schema-specific behaviour around them.

#include "WrittenFile.h"
#include "support/ExternalTool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <tuple>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using ifc::EntityList;
using ifc::EntityPtr;
using Lines = std::vector<std::string>;

// A writer with everything in place that any operation refers to.
template <class W>
struct Ready {
    ifctest::WrittenFile<W> file;
    EntityPtr material;
    EntityPtr other;

    Ready()
    {
        auto& w = *file;
        w.writeHeader("a", "o", "p");
        w.writeOwnerHistory();
        w.writeWorldCoordinateSystem();
        w.writeUnits();
        w.writeRepresentationContexts({0, 1});
        w.writeSite("S", 0, 0);
        w.writeBuilding("B");
        w.writeProject("P");
        w.writeBuildingStorey("EG", {0, 0, 0});
        w.writeSpace("Room", {1, 1, 0});
        w.writeColourRgb("c", 1, 1, 1);
        w.writeDoorLiningProperties();
        w.writeDoorPanelProperties("LEFT");
        w.writeWindowLiningProperties();
        w.writeWindowPanelProperties();
        material = w.writeMaterial("m");
        other = w.writeSystem("other");
    }
};

// One operation: the entity it writes in each schema, with its attribute
// count; no name means the schema writes nothing.
struct Row {
    const char* operation;
    std::function<EntityPtr(ifc::Writer&, Ready<ifc::Writer4>*, const EntityPtr& material, const EntityPtr& other)>
        write;
    const char* ifc4;
    std::size_t ifc4Count;
    const char* ifc2x3;
    std::size_t ifc2x3Count;
};

EntityPtr placementIn(ifc::Writer& w)
{
    return w.writeLocalPlacement(w.storeyPlacement, w.writeOriginPlacement());
}

const std::vector<Row>& rows()
{
    static const std::vector<Row> table = {
        {"writeProxy", [](ifc::Writer& w, auto, auto&, auto&) { return w.writeProxy("p", "PRODUCT", "t"); },
         "IFCPROXY", 9, nullptr, 0},
        {"writeProjectLibrary", [](ifc::Writer& w, auto, auto&, auto&) { return w.writeProjectLibrary("l"); },
         "IFCPROJECTLIBRARY", 9, nullptr, 0},
        {"writeNamedLibraryReference",
         [](ifc::Writer& w, auto, auto&, auto&) { return w.writeNamedLibraryReference("n", "d", "de"); },
         "IFCLIBRARYREFERENCE", 6, nullptr, 0},
        {"writeLibraryReference", [](ifc::Writer& w, auto, auto&, auto&) { return w.writeLibraryReference("n", "de"); },
         "IFCLIBRARYREFERENCE", 6, nullptr, 0},
        {"writeDoorLiningProperties", [](ifc::Writer& w, auto, auto&, auto&) { return w.writeDoorLiningProperties(); },
         "IFCDOORLININGPROPERTIES", 17, "IFCDOORLININGPROPERTIES", 15},
        {"writeDoorType", [](ifc::Writer& w, auto, auto&, auto&) { return w.writeDoorType("d"); }, "IFCDOORTYPE", 13,
         "IFCDOORSTYLE", 12},
        {"writeExternalSpatialElement",
         [](ifc::Writer& w, auto, auto&, auto&) { return w.writeExternalSpatialElement("Air", 0); },
         "IFCEXTERNALSPATIALELEMENT", 9, nullptr, 0},
        {"writeSpace", [](ifc::Writer& w, auto, auto&, auto&) { return w.writeSpace("s", {0, 0, 0}); }, "IFCSPACE",
         11, "IFCSPACE", 11},
        {"writeSlab", [](ifc::Writer& w, auto, auto&, auto&) { return w.writeSlab("s", 0, {0, 0, 0}); },
         "IFCSLABSTANDARDCASE", 9, "IFCSLAB", 9},
        {"writeWall", [](ifc::Writer& w, auto, auto&, auto&) { return w.writeWall("w", placementIn(w)); },
         "IFCWALLSTANDARDCASE", 9, "IFCWALLSTANDARDCASE", 8},
        {"writeZone", [](ifc::Writer& w, auto, auto&, auto&) { return w.writeZone("z", "", "t"); }, "IFCZONE", 6,
         "IFCZONE", 5},
        {"writeSpaceType", [](ifc::Writer& w, auto, auto&, auto&) { return w.writeSpaceType("t"); }, "IFCSPACETYPE",
         11, "IFCSPACETYPE", 10},
        {"writeQuantityLength", [](ifc::Writer& w, auto, auto&, auto&) { return w.writeQuantityLength("l", 1); },
         "IFCQUANTITYLENGTH", 5, "IFCQUANTITYLENGTH", 4},
        {"writeQuantityVolume", [](ifc::Writer& w, auto, auto&, auto&) { return w.writeQuantityVolume("v", 1); },
         "IFCQUANTITYVOLUME", 5, "IFCQUANTITYVOLUME", 4},
        {"writeQuantityArea", [](ifc::Writer& w, auto, auto&, auto&) { return w.writeQuantityArea("a", 1); },
         "IFCQUANTITYAREA", 5, "IFCQUANTITYAREA", 4},
        {"writeSpaceBoundary1stLevel",
         [](ifc::Writer& w, auto, auto&, auto& other) {
             return w.writeSpaceBoundary1stLevel(other, other, nullptr, "PHYSICAL", 0, other);
         },
         "IFCRELSPACEBOUNDARY1STLEVEL", 10, "IFCRELSPACEBOUNDARY", 9},
        {"writeSpaceBoundary2ndLevel",
         [](ifc::Writer& w, auto, auto&, auto& other) {
             return w.writeSpaceBoundary2ndLevel("d", other, other, nullptr, "PHYSICAL", 1, other, other);
         },
         "IFCRELSPACEBOUNDARY2NDLEVEL", 11, "IFCRELSPACEBOUNDARY", 9},
        {"createSpaceBoundary2ndLevel and completeSpaceBoundary",
         [](ifc::Writer& w, auto, auto&, auto& other) {
             auto boundary = w.createSpaceBoundary2ndLevel("d", other, other, nullptr, "PHYSICAL", 1, nullptr);
             w.completeSpaceBoundary(boundary, nullptr);
             return boundary;
         },
         "IFCRELSPACEBOUNDARY2NDLEVEL", 11, nullptr, 0},
        {"createSpaceBoundary2ndLevel and completeSpaceBoundaryWithoutParent",
         [](ifc::Writer& w, auto, auto&, auto& other) {
             auto boundary = w.createSpaceBoundary2ndLevel("d", other, other, nullptr, "PHYSICAL", 1, other);
             w.completeSpaceBoundaryWithoutParent(boundary, other);
             return boundary;
         },
         "IFCRELSPACEBOUNDARY2NDLEVEL", 11, nullptr, 0},
        {"writeMaterialProperties",
         [](ifc::Writer& w, auto, auto& material, auto&) { return w.writeMaterialProperties("p", material); },
         "IFCMATERIALPROPERTIES", 4, nullptr, 0},
        {"writeMaterial", [](ifc::Writer& w, auto, auto&, auto&) { return w.writeMaterial("m"); }, "IFCMATERIAL", 3,
         "IFCMATERIAL", 1},
        {"writeMaterialLayer",
         [](ifc::Writer& w, auto, auto& material, auto&) { return w.writeMaterialLayer(0.2, material); },
         "IFCMATERIALLAYER", 7, "IFCMATERIALLAYER", 3},
        {"writeMaterialLayerSet",
         [](ifc::Writer& w, auto, auto& material, auto&) {
             w.writeMaterialLayer(0.2, material);
             return w.writeMaterialLayerSet("s");
         },
         "IFCMATERIALLAYERSET", 3, "IFCMATERIALLAYERSET", 2},
        {"writeMaterialLayerSetUsage",
         [](ifc::Writer& w, auto, auto& material, auto&) {
             w.writeMaterialLayer(0.2, material);
             w.writeMaterialLayerSet("s");
             return w.writeMaterialLayerSetUsage(0.1, 1, 2);
         },
         "IFCMATERIALLAYERSETUSAGE", 5, "IFCMATERIALLAYERSETUSAGE", 4},
        {"writeSurfaceStyle", [](ifc::Writer& w, auto, auto&, auto&) { return w.writeSurfaceStyle("s"); },
         "IFCSURFACESTYLE", 3, "IFCSURFACESTYLE", 3},
        {"writeOpening", [](ifc::Writer& w, auto, auto&, auto& other) { return w.writeOpening(other, placementIn(w)); },
         "IFCOPENINGSTANDARDCASE", 9, "IFCOPENINGELEMENT", 8},
        {"writeDoor", [](ifc::Writer& w, auto, auto&, auto&) { return w.writeDoor("d", nullptr, 2, 1); },
         "IFCDOORSTANDARDCASE", 13, "IFCDOOR", 10},
        {"writeWindow", [](ifc::Writer& w, auto, auto&, auto&) { return w.writeWindow("w", nullptr, 1.5, 1.2); },
         "IFCWINDOWSTANDARDCASE", 13, "IFCWINDOW", 10},
        {"writeWindowLiningProperties",
         [](ifc::Writer& w, auto, auto&, auto&) { return w.writeWindowLiningProperties(); },
         "IFCWINDOWLININGPROPERTIES", 16, "IFCWINDOWLININGPROPERTIES", 13},
        {"writeWindowType", [](ifc::Writer& w, auto, auto&, auto&) { return w.writeWindowType("w"); },
         "IFCWINDOWTYPE", 13, "IFCWINDOWSTYLE", 12},
        {"writeBuildingSystem", [](ifc::Writer& w, auto, auto&, auto&) { return w.writeBuildingSystem("s", 0); },
         "IFCBUILDINGSYSTEM", 7, nullptr, 0},
        {"writeRelServicesBuildings",
         [](ifc::Writer& w, auto, auto&, auto& other) { return w.writeRelServicesBuildings(other, {w.building}); },
         "IFCRELSERVICESBUILDINGS", 6, nullptr, 0},
        {"writeRelAssignsToGroup",
         [](ifc::Writer& w, auto, auto&, auto& other) { return w.writeRelAssignsToGroup({other}, other); },
         "IFCRELASSIGNSTOGROUP", 7, "IFCRELASSIGNSTOGROUP", 7},
        {"writeRelSpaceBoundary",
         [](ifc::Writer& w, auto, auto&, auto& other) {
             return w.writeRelSpaceBoundary("n", "d", other, other, nullptr, "PHYSICAL", 0);
         },
         "IFCRELSPACEBOUNDARY", 9, "IFCRELSPACEBOUNDARY", 9},
    };
    return table;
}

// Runs one row on a ready writer: the entity's name and attribute count as
// written, or "" and 0 when nothing is written; checks that nothing was
// numbered then.
template <class W>
std::pair<std::string, std::size_t> written(const Row& row)
{
    Ready<W> ready;
    const std::uint64_t before = ready.file->factory.lastId;
    const EntityPtr entity = row.write(*ready.file, nullptr, ready.material, ready.other);
    if (!entity) {
        EXPECT_EQ(ready.file->factory.lastId, before) << row.operation << " wrote nothing but took a number";
        return {"", 0};
    }
    const ifctest::Instance& instance = ready.file.instance(entity->id);
    return {instance.name, instance.split().size()};
}

TEST(IfcSchemaWriters, EntitiesAndAttributeCountsOfBothSchemas)
{
    for (const Row& row : rows()) {
        EXPECT_EQ(written<ifc::Writer4>(row), std::make_pair(std::string(row.ifc4), row.ifc4Count))
            << "IFC4 " << row.operation;
        EXPECT_EQ(written<ifc::Writer2x3>(row),
                  std::make_pair(std::string(row.ifc2x3 ? row.ifc2x3 : ""), row.ifc2x3Count))
            << "IFC2X3 " << row.operation;
    }
}

// The table's counts are those of the schemas themselves.
TEST(IfcSchemaWriters, AttributeCountsAreThoseOfTheSchemas)
{
    const auto available = testsupport::ifcOpenShellAvailable();
    ASSERT_EQ(available.exitCode, 0) << "IfcOpenShell for python3 is needed (package python3-ifcopenshell):\n"
                                     << available.output;
    std::ostringstream arguments;
    std::map<std::string, std::size_t> expected;
    for (const Row& row : rows()) {
        for (const auto& [schema, name, count] :
             {std::make_tuple("IFC4", row.ifc4, row.ifc4Count), std::make_tuple("IFC2X3", row.ifc2x3, row.ifc2x3Count)}) {
            if (!name)
                continue;
            expected[std::string(schema) + " " + name] = count;
            arguments << ' ' << schema << ' ' << name;
        }
    }
    testsupport::TempFile program(".py");
    program.write("import sys\n"
                  "import ifcopenshell.ifcopenshell_wrapper as w\n"
                  "a = sys.argv[1:]\n"
                  "for schema, name in zip(a[::2], a[1::2]):\n"
                  "    print(schema, name, w.schema_by_name(schema).declaration_by_name(name).attribute_count())\n");
    const auto result = testsupport::runCommand("python3 " + testsupport::shellQuote(program.path()) + arguments.str());
    ASSERT_EQ(result.exitCode, 0) << result.output;
    std::istringstream in(result.output);
    std::string schema, name;
    std::size_t count;
    std::set<std::string> checked;
    while (in >> schema >> name >> count) {
        EXPECT_EQ(count, expected.at(schema + " " + name)) << schema << " " << name;
        checked.insert(schema + " " + name);
    }
    EXPECT_EQ(checked.size(), expected.size());
}

template <class W>
class SchemaWriter : public ::testing::Test {};
using Schemas = ::testing::Types<ifc::Writer4, ifc::Writer2x3>;
TYPED_TEST_SUITE(SchemaWriter, Schemas);

TYPED_TEST(SchemaWriter, SurfaceStyleWritesItsShadingFirst)
{
    Ready<TypeParam> ready;
    auto& w = *ready.file;
    const EntityPtr first = w.writeSurfaceStyle("A");
    const EntityPtr second = w.writeSurfaceStyle("B");
    const auto& style = ready.file.instance(first->id);
    EXPECT_EQ(style.split().at(2), "(#" + std::to_string(first->id - 1) + ")");
    EXPECT_EQ(ready.file.instance(first->id - 1).name, "IFCSURFACESTYLESHADING");
    EXPECT_EQ(ready.file.instance(second->id - 1).name, "IFCSURFACESTYLESHADING") << "a shading per style";
}

TYPED_TEST(SchemaWriter, MaterialLayerSetNeedsNewLayers)
{
    Ready<TypeParam> ready;
    auto& w = *ready.file;
    const auto refused = [&w] {
        const std::uint64_t before = w.factory.lastId;
        try {
            w.writeMaterialLayerSet("S");
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), "Could not write IfcMaterialLayerSet: No layers found");
            EXPECT_EQ(w.factory.lastId, before);
            return true;
        }
        return false;
    };
    EXPECT_TRUE(refused()) << "no layer yet";
    const EntityPtr a = w.writeMaterialLayer(0.2, ready.material);
    const EntityPtr b = w.writeMaterialLayer(0.1, ready.material);
    const EntityPtr set = w.writeMaterialLayerSet("");
    EXPECT_TRUE(refused()) << "the layers went to the first set";
    EXPECT_THROW(w.writeMaterialLayerSetUsage(0.0, 2, 2), std::invalid_argument);
    EXPECT_THROW(w.writeMaterialLayerSetUsage(0.0, 1, 1), std::invalid_argument);
    w.writeMaterialLayerSetUsage(0.0, 1, 2);
    const auto split = ready.file.instance(set->id).split();
    EXPECT_EQ(split.at(0), "(#" + std::to_string(a->id) + ",#" + std::to_string(b->id) + ")");
    EXPECT_EQ(split.at(1), "$") << "an empty name is unset";
}

TYPED_TEST(SchemaWriter, DoorTypesCollectEveryPanelWrittenSoFar)
{
    Ready<TypeParam> ready; // lining and one panel already written
    auto& w = *ready.file;
    const EntityPtr first = w.writeDoorType("One");
    w.writeDoorPanelProperties("RIGHT");
    const EntityPtr second = w.writeDoorType("Two");
    const std::string lining = "#" + std::to_string(w.doorPanels.front()->id - 1);
    const std::string left = "#" + std::to_string(w.doorPanels.front()->id);
    const std::string right = "#" + std::to_string(w.doorPanels.back()->id);
    EXPECT_EQ(ready.file.instance(first->id).split().at(5), "(" + lining + "," + left + ")");
    EXPECT_EQ(ready.file.instance(second->id).split().at(5), "(" + lining + "," + left + "," + right + ")");
}

TYPED_TEST(SchemaWriter, SpaceTypeWithoutPropertySetsLeavesThemUnset)
{
    Ready<TypeParam> ready;
    auto& w = *ready.file;
    const EntityPtr bare = w.writeSpaceType("Bare");
    w.writeQuantityArea("A", 1);
    const EntityPtr quantities = w.writeElementQuantity("Q");
    const EntityPtr typed = w.writeSpaceType("Typed");
    EXPECT_TRUE(w.waitingForOwner.empty());
    EXPECT_EQ(ready.file.instance(bare->id).split().at(5), "$");
    EXPECT_EQ(ready.file.instance(typed->id).split().at(5), "(#" + std::to_string(quantities->id) + ")");
}

TYPED_TEST(SchemaWriter, DoorsAndWindowsWriteHeightBeforeWidth)
{
    Ready<TypeParam> ready;
    auto& w = *ready.file;
    const EntityPtr door = w.writeDoor("D", nullptr, 2.0, 1.0);
    const EntityPtr window = w.writeWindow("W", nullptr, 1.5, 1.2);
    const auto doorAttributes = ready.file.instance(door->id).split();
    const auto windowAttributes = ready.file.instance(window->id).split();
    EXPECT_EQ(std::vector<std::string>(doorAttributes.begin() + 8, doorAttributes.begin() + 10),
              (std::vector<std::string>{"2.", "1."}));
    EXPECT_EQ(std::vector<std::string>(windowAttributes.begin() + 8, windowAttributes.begin() + 10),
              (std::vector<std::string>{"1.2", "1.5"}));
    EXPECT_EQ(doorAttributes.at(5), "$");
}

TYPED_TEST(SchemaWriter, SpaceCarriesItsNameTwice)
{
    Ready<TypeParam> ready;
    auto& w = *ready.file;
    const EntityPtr space = w.writeSpace("Kitchen", {0, 0, 0});
    const auto attributes = ready.file.instance(space->id).split();
    EXPECT_EQ(attributes.at(2), "'Kitchen'");
    EXPECT_EQ(attributes.at(7), "'Kitchen'");
    const std::string tenth = std::is_same_v<TypeParam, ifc::Writer4> ? ".NOTDEFINED." : ".INTERNAL.";
    EXPECT_EQ(attributes.at(9), tenth);
}

TYPED_TEST(SchemaWriter, SlabAdoptsWaitingQuantitiesAndJoinsTheStorey)
{
    Ready<TypeParam> ready;
    auto& w = *ready.file;
    const EntityPtr q1 = w.writeElementQuantity("Q1");
    const EntityPtr q2 = w.writeElementQuantity("Q2");
    const EntityPtr slab = w.writeSlab("Floor", 3, {0, 0, -0.2});
    EXPECT_TRUE(w.waitingForOwner.empty());
    EXPECT_EQ(w.relations[q1], EntityList{slab});
    EXPECT_EQ(w.relations[q2], EntityList{slab});
    EXPECT_EQ(w.relations[w.storey].back(), slab);
    EXPECT_EQ(w.currentElement, slab);
    EXPECT_EQ(ready.file.instance(slab->id).split().at(8), ".BASESLAB.");
}

TYPED_TEST(SchemaWriter, BoundaryWritersCheckTheSpaceFirst)
{
    Ready<TypeParam> ready;
    auto& w = *ready.file;
    const std::uint64_t before = w.factory.lastId;
    try {
        w.writeSpaceBoundary1stLevel(nullptr, nullptr, nullptr, "PHYSICAL", 0, nullptr);
        ADD_FAILURE() << "no error";
    } catch (const std::logic_error& e) {
        EXPECT_STREQ(e.what(), "Missing relatingSpace");
    }
    EXPECT_THROW(w.writeSpaceBoundary2ndLevel("", w.space, nullptr, nullptr, "PHYSICAL", 0, nullptr, nullptr),
                 std::logic_error);
    EXPECT_EQ(w.factory.lastId, before);
}

TEST(IfcSchemaWriters, SecondLevelBoundaryPairsReferToEachOther)
{
    Ready<ifc::Writer4> ready;
    auto& w = *ready.file;
    const EntityPtr wall = ready.other;
    EXPECT_THROW(w.createSpaceBoundary2ndLevel("", w.space, nullptr, nullptr, "PHYSICAL", 0, nullptr),
                 std::logic_error);
    const EntityPtr a = w.createSpaceBoundary2ndLevel("a", w.space, wall, nullptr, "PHYSICAL", 0, nullptr);
    const EntityPtr b = w.createSpaceBoundary2ndLevel("b", w.space, wall, nullptr, "PHYSICAL", 0, nullptr);
    const EntityPtr never = w.createSpaceBoundary2ndLevel("x", w.space, wall, nullptr, "PHYSICAL", 0, nullptr);
    const EntityPtr between = w.writeSystem("between");
    w.completeSpaceBoundary(b, a);
    w.completeSpaceBoundary(a, b);
    w.completeSpaceBoundary(nullptr, a);
    EXPECT_EQ(b->id, a->id + 1);

    const auto& order = ready.file.order();
    const auto position = [&order](const EntityPtr& e) { return std::find(order.begin(), order.end(), e->id); };
    EXPECT_LT(position(between), position(b));
    EXPECT_LT(position(b), position(a)) << "written in the order of completion";
    EXPECT_FALSE(ready.file.has(never->id)) << "a boundary never completed is never written";
    EXPECT_EQ(ready.file.instance(a->id).split().at(10), "#" + std::to_string(b->id));
    EXPECT_EQ(ready.file.instance(b->id).split().at(10), "#" + std::to_string(a->id));
}

TEST(IfcSchemaWriters, CorrespondingBoundariesDoNotOutliveTheirFile)
{
    std::weak_ptr<step::Entity> a;
    std::weak_ptr<step::Entity> b;
    {
        Ready<ifc::Writer4> ready;
        auto& w = *ready.file;
        const EntityPtr first = w.createSpaceBoundary2ndLevel("a", w.space, ready.other, nullptr, "PHYSICAL", 0, nullptr);
        const EntityPtr second = w.createSpaceBoundary2ndLevel("b", w.space, ready.other, nullptr, "PHYSICAL", 0, nullptr);
        w.completeSpaceBoundary(first, second);
        w.completeSpaceBoundary(second, first); // still pending when the writer goes
        a = first;
        b = second;
        const Lines& lines = ready.file.finish();
        EXPECT_NE(lines.at(lines.size() - 3).find("IFCRELSPACEBOUNDARY2NDLEVEL"), std::string::npos)
            << "the pending boundary is written whole";
        EXPECT_NE(lines.at(lines.size() - 3).find(",#" + std::to_string(first->id) + ");"), std::string::npos);
    }
    EXPECT_TRUE(a.expired());
    EXPECT_TRUE(b.expired());
}

TEST(IfcSchemaWriters, Ifc2x3BoundariesLeaveParentsOutAndPairsUnwritten)
{
    Ready<ifc::Writer2x3> ready;
    auto& w = *ready.file;
    const std::uint64_t before = w.factory.lastId;
    const EntityPtr a = w.createSpaceBoundary2ndLevel("a", w.space, ready.other, nullptr, "PHYSICAL", 0, nullptr);
    EXPECT_EQ(a, nullptr);
    w.completeSpaceBoundary(a, nullptr);
    w.completeSpaceBoundaryWithoutParent(a, nullptr);
    EXPECT_EQ(w.factory.lastId, before);

    const EntityPtr first = w.writeSpaceBoundary1stLevel(w.space, ready.other, nullptr, "PHYSICAL", 1, ready.other);
    const auto attributes = ready.file.instance(first->id).split();
    EXPECT_EQ(attributes.size(), 9u);
    EXPECT_EQ(attributes.back(), ".EXTERNAL.");
    EXPECT_EQ(attributes.at(2), "'1stLevel'");
}

} // namespace
