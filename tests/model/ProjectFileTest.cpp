#include "model/Building.h"
#include "model/Project.h"
#include "model/Proposal.h"
#include "model/Requirement.h"
#include "model/Site.h"

#include "support/FileSupport.h"
#include "support/ModelFixtures.h"

#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <sys/resource.h>

#include <cmath>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <stdexcept>

namespace {

using namespace kovra_test;

std::string saveText(const bg::Project& project)
{
    std::stringstream out;
    project.saveToStream(out);
    return out.str();
}

template <class T>
std::shared_ptr<T> nth(const std::list<std::shared_ptr<T>>& list, std::size_t n)
{
    return *std::next(list.begin(), static_cast<std::ptrdiff_t>(n));
}

// A project that uses every element: two buildings (one L-shaped with three
// floors), a site, two requirement sets and a proposal with placed rooms.
// Its numbers need all 17 digits to read back exactly.
std::shared_ptr<bg::Project> fullProject()
{
    auto project = std::make_shared<bg::Project>("Full & <complete>");

    auto lShaped = makeLShapedBuilding(15.1, 14.9, 5.3, 4.7, 3, 0.1 + 0.2);
    lShaped->name = "L-house";
    lShaped->root->height = 2.9000000000000004;
    lShaped->updateElevations();
    lShaped->parameters.outerWallStrength = 1.0 / 3.0;
    lShaped->parameters.windowGlazingFactor = 0.07;
    auto plain = makeRectBuilding(10.000000000000002, 7.7, 1);
    plain->name = "Box";
    project->addBuilding(lShaped);
    project->addBuilding(plain);

    auto site = std::make_shared<bg::Site>();
    site->name = "Plot";
    site->building = lShaped;
    site->lat = 52.520008;
    site->lon = 13.404954;
    site->orientation = M_PI / 7;
    project->sites.push_back(site);

    auto brief = makeRequirementSet({makeRequirement(0, "Hall", 8.3, 0, {1, 2}, "Entrance", {"south"}),
                                     makeRequirement(1, "Living", 21.7, 1, {0}, "Live and eat", {"whatever"}),
                                     makeRequirement(2, "Store", 3.1, -999, {-1}, "Workroom", {""}),
                                     makeRequirement(3, "Stair", 6, 0, {3, -1}, "Stair", {})},
                                    "Brief");
    brief->requirements[1]->orientation = "vertical";
    brief->requirements[1]->lock = 5;
    brief->requirements[2]->expectedPosition = {1.1, 2.2};
    auto other = makeRequirementSet({makeRequirement(0, "Office", 12, 0)}, "Other");
    project->addRequirementSet(brief);
    project->addRequirementSet(other);

    auto proposal = makeProposal(lShaped, brief, "Variant A");
    auto rooms = proposal->getRooms();
    placeRoom(proposal, rooms[0], {0.36, 0.36}, {3.3000000000000003, 2.5}, 0);
    placeRoom(proposal, rooms[1], {4.1, 0.36}, {5.0 / 3.0, 4.2}, 1);
    placeRoom(proposal, rooms[2], {1e-7, 2.0 / 7.0}, {1.7, 1.9}, 2);
    project->proposals.push_back(proposal);
    return project;
}

TEST(ProjectFile, FullProjectSavesLoadsAndSavesToTheSameDocument)
{
    auto project = fullProject();
    const std::string first = saveText(*project);

    std::vector<std::string> warnings;
    auto loaded = bg::Project::loadFromText(first, &warnings);
    EXPECT_TRUE(warnings.empty()) << warnings.front();
    const std::string second = saveText(*loaded);

    EXPECT_EQ(maskIds(first), maskIds(second));
    EXPECT_NE(first, second) << "every save hands out new ids";
}

TEST(ProjectFile, EveryValueReadsBackExactly)
{
    auto project = fullProject();
    auto loaded = bg::Project::loadFromText(saveText(*project));

    EXPECT_EQ(loaded->name, project->name);
    ASSERT_EQ(loaded->buildings.size(), 2u);
    for (std::size_t b = 0; b < 2; ++b) {
        auto original = nth(project->buildings, b);
        auto copy = nth(loaded->buildings, b);
        EXPECT_EQ(copy->name, original->name);
        EXPECT_EQ(copy->levelCount, original->levelCount);
        EXPECT_EQ(copy->maxLevel, original->maxLevel);
        EXPECT_EQ(copy->minLevel, original->minLevel);
        EXPECT_EQ(std::memcmp(&copy->parameters, &original->parameters, sizeof(BuildingParameters)), 0);
        ASSERT_EQ(copy->floors.size(), original->floors.size());
        EXPECT_EQ(copy->root, copy->floors.front());
        EXPECT_EQ(copy->top, copy->floors.back());
        EXPECT_EQ(copy->bottom, copy->floors.front());
        for (std::size_t f = 0; f < original->floors.size(); ++f) {
            auto a = nth(original->floors, f);
            auto c = nth(copy->floors, f);
            EXPECT_EQ(c->level, a->level);
            EXPECT_EQ(c->height, a->height) << "floor " << f;
            EXPECT_EQ(c->elevation, a->elevation) << "floor " << f;
            ASSERT_EQ(c->contour.size(), a->contour.size());
            for (std::size_t p = 0; p < a->contour.size(); ++p) {
                EXPECT_EQ(c->contour[p].x, a->contour[p].x);
                EXPECT_EQ(c->contour[p].y, a->contour[p].y);
            }
            if (f > 0) {
                EXPECT_EQ(c->lower.lock(), nth(copy->floors, f - 1));
                EXPECT_EQ(c->parent.lock(), nth(copy->floors, f - 1));
            }
        }
    }

    auto site = loaded->sites.front();
    EXPECT_EQ(site->building, loaded->buildings.front());
    EXPECT_EQ(site->lat, 52.520008);
    EXPECT_EQ(site->lon, 13.404954);
    EXPECT_DOUBLE_EQ(site->orientation, M_PI / 7); // through degrees and back

    ASSERT_EQ(loaded->requirementSets.size(), 2u);
    auto brief = loaded->requirementSets.front();
    auto originalBrief = project->requirementSets.front();
    ASSERT_EQ(brief->requirements.size(), originalBrief->requirements.size());
    for (std::size_t i = 0; i < brief->requirements.size(); ++i) {
        const bg::Requirement& a = *originalBrief->requirements[i];
        const bg::Requirement& c = *brief->requirements[i];
        EXPECT_EQ(c.index, a.index);
        EXPECT_EQ(c.name, a.name);
        EXPECT_EQ(c.area, a.area);
        EXPECT_EQ(c.roomType, a.roomType);
        EXPECT_EQ(c.getTargetSize(), a.getTargetSize());
        EXPECT_EQ(c.getLengthRange(), a.getLengthRange());
        EXPECT_EQ(c.getWidthRange(), a.getWidthRange());
        EXPECT_EQ(c.getAspectRatioRange(), a.getAspectRatioRange());
        EXPECT_EQ(c.getAreaErrorRange(), a.getAreaErrorRange());
        EXPECT_EQ(c.orientation, a.orientation);
        EXPECT_EQ(c.expectedPosition.x, a.expectedPosition.x);
        EXPECT_EQ(c.expectedPosition.y, a.expectedPosition.y);
        EXPECT_EQ(c.level, a.level);
        EXPECT_EQ(c.boundaries, a.boundaries) << "requirement " << i;
        EXPECT_EQ(c.adjacency, a.adjacency) << "requirement " << i;
        EXPECT_EQ(c.lock, a.lock);
    }

    auto proposal = loaded->proposals.front();
    auto originalProposal = project->proposals.front();
    EXPECT_EQ(proposal->name, "Variant A");
    EXPECT_EQ(proposal->building, loaded->buildings.front());
    EXPECT_EQ(proposal->requirementSet, brief);
    ASSERT_EQ(proposal->layouts.size(), 3u);
    for (std::size_t l = 0; l < 3; ++l) {
        EXPECT_EQ(proposal->layouts[l]->floor, nth(loaded->buildings.front()->floors, l));
        EXPECT_EQ(proposal->layouts[l]->level, static_cast<int>(l));
        EXPECT_EQ(proposal->layouts[l]->contour.size(), originalProposal->layouts[l]->contour.size());
    }
    ASSERT_EQ(proposal->rooms.size(), 4u);
    for (std::size_t r = 0; r < 4; ++r) {
        const bg::Room& a = *originalProposal->rooms[r];
        const bg::Room& c = *proposal->rooms[r];
        EXPECT_EQ(c.requirement, brief->requirements[r]);
        EXPECT_EQ(c.index, a.index);
        EXPECT_EQ(c.name, a.name);
        EXPECT_EQ(c.level, a.level);
        EXPECT_EQ(c.position.x, a.position.x);
        EXPECT_EQ(c.position.y, a.position.y);
        EXPECT_EQ(c.size.x, a.size.x);
        EXPECT_EQ(c.size.y, a.size.y);
        ASSERT_EQ(c.contour.size(), a.contour.size());
        for (std::size_t p = 0; p < a.contour.size(); ++p)
            EXPECT_EQ(c.contour[p].x, a.contour[p].x);
        EXPECT_FALSE(c.floor) << "the floor of a room is not saved";
    }
}

// The fixture file is written by hand from the format's tables; the writer
// must produce it again, element for element (ids aside).
TEST(ProjectFile, FixtureFileReadsAndIsWrittenAgainUnchanged)
{
    const std::string fixture = readText(dataFile("project.xsp"));
    std::vector<std::string> warnings;
    auto project = bg::Project::load(dataFile("project.xsp"), &warnings);
    EXPECT_TRUE(warnings.empty());

    EXPECT_EQ(project->name, "Golden house");
    auto building = project->buildings.front();
    EXPECT_EQ(building->parameters.doorWidth, 1.1);
    EXPECT_EQ(building->parameters.floorSlabStrength, 0.3);
    EXPECT_EQ(building->top->elevation, 2.95); // the defaults' slab, not the building's
    EXPECT_EQ(project->sites.front()->orientation, M_PI / 2);
    auto living = project->requirementSets.front()->requirements.front();
    EXPECT_EQ(living->name, "Living & dining");
    EXPECT_EQ(living->maxAspectRatio, 7.0 / 3.0);
    EXPECT_EQ(project->proposals.front()->rooms.front()->requirement, living);

    EXPECT_EQ(maskIds(saveText(*project)), maskIds(fixture));
}

TEST(ProjectFile, EmptyProjectIsItsNameOnly)
{
    bg::Project project("Empty");
    EXPECT_EQ(saveText(project), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                 "<project>\n"
                                 "    <name>Empty</name>\n"
                                 "</project>\n");
}

TEST(ProjectFile, OneObjectHasOneIdWithinASave)
{
    auto project = fullProject();
    tinyxml2::XMLDocument document;
    ASSERT_EQ(document.Parse(saveText(*project).c_str()), tinyxml2::XML_SUCCESS);
    auto* root = document.FirstChildElement("project");
    const std::string buildingId = root->FirstChildElement("building")->FirstChildElement("uuid")->GetText();
    EXPECT_EQ(root->FirstChildElement("site")->FirstChildElement("building")->GetText(), buildingId);
    EXPECT_EQ(root->FirstChildElement("proposal")->FirstChildElement("building")->GetText(), buildingId);
    const std::string setId = root->FirstChildElement("requirement_set")->FirstChildElement("uuid")->GetText();
    EXPECT_EQ(root->FirstChildElement("proposal")->FirstChildElement("requirement_set")->GetText(), setId);
}

TEST(ProjectFile, SpecialValuesAreWrittenAsTheFormatSays)
{
    auto project = std::make_shared<bg::Project>("P");
    auto site = std::make_shared<bg::Site>();
    site->orientation = M_PI / 2;
    project->sites.push_back(site);
    auto set = makeRequirementSet({makeRequirement(0, "A", 10, -999, {-1}, "Bedroom", {""}),
                                   makeRequirement(1, "B", 10, 0, {3, -1}, "Bedroom", {}),
                                   makeRequirement(2, "C", 10, 0, {}, "Bedroom", {"", "south"})});
    project->addRequirementSet(set);
    const std::string text = saveText(*project);

    EXPECT_NE(text.find("<orientation>90.000000000027768</orientation>"), std::string::npos);
    tinyxml2::XMLDocument document;
    document.Parse(text.c_str());
    auto* setElement = document.FirstChildElement("project")->FirstChildElement("requirement_set");
    auto* a = setElement->FirstChildElement("requirement");
    auto* b = a->NextSiblingElement("requirement");
    EXPECT_EQ(a->FirstChildElement("level"), nullptr);
    EXPECT_EQ(a->FirstChildElement("adjacency"), nullptr);
    ASSERT_NE(a->FirstChildElement("boundaries")->FirstChildElement("boundary"), nullptr);
    EXPECT_EQ(a->FirstChildElement("boundaries")->FirstChildElement("boundary")->GetText(), nullptr);
    EXPECT_EQ(b->FirstChildElement("boundaries")->FirstChildElement(), nullptr);
    int adjacencyElements = 0;
    for (auto* e = b->FirstChildElement("adjacency"); e; e = e->NextSiblingElement("adjacency"))
        ++adjacencyElements;
    EXPECT_EQ(adjacencyElements, 2);

    auto loaded = bg::Project::loadFromText(text);
    EXPECT_EQ(loaded->sites.front()->orientation, M_PI / 2);
    const auto& requirements = loaded->requirementSets.front()->requirements;
    EXPECT_EQ(requirements[0]->level, -999);
    EXPECT_EQ(requirements[0]->adjacency, std::vector<int>{-1});
    EXPECT_EQ(requirements[0]->boundaries, std::vector<std::string>{""});
    EXPECT_EQ(requirements[1]->adjacency, (std::vector<int>{3, -1}));
    EXPECT_TRUE(requirements[1]->boundaries.empty());
    EXPECT_EQ(requirements[2]->adjacency, std::vector<int>{-1});
    EXPECT_EQ(requirements[2]->boundaries, std::vector<std::string>{""}) << "the first wish without text ends the list";
}

// ---------------------------------------------------------------------------
// Changing the fixture file

// The element at a path of child names from "project"; "floor[1]" is the
// second "floor" child.
tinyxml2::XMLElement* at(tinyxml2::XMLDocument& document, const std::string& path)
{
    tinyxml2::XMLElement* element = document.FirstChildElement("project");
    std::istringstream steps(path);
    for (std::string step; element && std::getline(steps, step, '/');) {
        int skip = 0;
        const auto bracket = step.find('[');
        if (bracket != std::string::npos) {
            skip = std::stoi(step.substr(bracket + 1));
            step.erase(bracket);
        }
        element = element->FirstChildElement(step.c_str());
        while (element && skip-- > 0)
            element = element->NextSiblingElement(step.c_str());
    }
    if (!element)
        throw std::logic_error("the fixture has no element " + path);
    return element;
}

// The fixture project with one change made to its document.
std::string fixtureWith(const std::function<void(tinyxml2::XMLDocument&)>& change)
{
    tinyxml2::XMLDocument document;
    document.LoadFile(dataFile("project.xsp").c_str());
    change(document);
    tinyxml2::XMLPrinter printer;
    document.Print(&printer);
    return printer.CStr();
}

std::string fixtureWithout(const std::string& path, bool everyOne = false)
{
    return fixtureWith([&](tinyxml2::XMLDocument& document) {
        do {
            tinyxml2::XMLElement* element = at(document, path);
            element->Parent()->DeleteChild(element);
        } while (everyOne && [&] {
            try {
                at(document, path);
                return true;
            } catch (const std::logic_error&) {
                return false;
            }
        }());
    });
}

std::string fixtureWithText(const std::string& path, const char* text)
{
    return fixtureWith([&](tinyxml2::XMLDocument& document) { at(document, path)->SetText(text); });
}

const std::string living = "requirement_set/requirement";
const std::string store = "requirement_set/requirement[1]";

std::shared_ptr<bg::Requirement> livingOf(const bg::Project& project)
{
    return project.requirementSets.front()->requirements[0];
}

struct AbsentCase {
    std::string element;
    bool everyOne;
    std::function<void(const bg::Project&)> check;
};

TEST(ProjectFile, AbsentElementsTakeTheirDefaults)
{
    const AbsentCase cases[] = {
        {living + "/room_type", false, [](const bg::Project& p) { EXPECT_EQ(livingOf(p)->roomType, "test"); }},
        {living + "/orientation", false,
         [](const bg::Project& p) { EXPECT_EQ(livingOf(p)->orientation, "horizontal"); }},
        {store + "/expected_position", false,
         [](const bg::Project& p) {
             EXPECT_EQ(p.requirementSets.front()->requirements[1]->expectedPosition.x, -999.0);
             EXPECT_EQ(p.requirementSets.front()->requirements[1]->expectedPosition.y, -999.0);
         }},
        {living + "/level", false, [](const bg::Project& p) { EXPECT_EQ(livingOf(p)->level, -999); }},
        {living + "/adjacency", true,
         [](const bg::Project& p) { EXPECT_EQ(livingOf(p)->adjacency, std::vector<int>{-1}); }},
        {living + "/boundaries", false,
         [](const bg::Project& p) { EXPECT_EQ(livingOf(p)->boundaries, std::vector<std::string>{""}); }},
        {living + "/min_area_error", false,
         [](const bg::Project& p) { EXPECT_EQ(livingOf(p)->minAreaError, 20 * 0.8); }},
        {living + "/max_area_error", false,
         [](const bg::Project& p) { EXPECT_EQ(livingOf(p)->maxAreaError, 20 * 1.5); }},
        {living + "/lock", false, [](const bg::Project& p) { EXPECT_EQ(livingOf(p)->lock, 0); }},
        {"building/floor[1]/height", false,
         [](const bg::Project& p) { EXPECT_EQ(p.buildings.front()->top->height, 2.75); }},
        {"building/parameters", false,
         [](const bg::Project& p) {
             EXPECT_EQ(std::memcmp(&p.buildings.front()->parameters, &getBuildingParameters(),
                                   sizeof(BuildingParameters)),
                       0);
         }},
        {"building/parameters/door_width", false,
         [](const bg::Project& p) {
             EXPECT_EQ(p.buildings.front()->parameters.doorWidth, 1.0);
             EXPECT_EQ(p.buildings.front()->parameters.floorSlabStrength, 0.3) << "the others stay";
         }},
        {"proposal/room/contour", false,
         [](const bg::Project& p) { EXPECT_TRUE(p.proposals.front()->rooms[0]->contour.empty()); }},
        {"building/floor[1]/lower", false,
         [](const bg::Project& p) {
             EXPECT_EQ(p.buildings.front()->top->lower.lock(), p.buildings.front()->root) << "relinked by level";
         }},
    };
    for (const AbsentCase& row : cases) {
        SCOPED_TRACE("without " + row.element);
        auto project = bg::Project::loadFromText(fixtureWithout(row.element, row.everyOne));
        row.check(*project);
    }
}

struct FailureCase {
    const char* what;
    std::function<std::string()> text; // written to the file; null: no file
    const char* message;               // part of the exception's text
};

TEST(ProjectFile, DamagedFilesFailWithAClearMessage)
{
    const FailureCase cases[] = {
        {"missing file", nullptr, "does not exist"},
        {"empty file", [] { return std::string(); }, "empty"},
        {"truncated XML", [] { return readText(dataFile("project.xsp")).substr(0, 900); }, "not well-formed XML"},
        {"another root", [] { return std::string("<?xml version=\"1.0\"?>\n<building/>\n"); },
         "no \"project\" element"},
        {"floor level not a number", [] { return fixtureWithText("building/floor/level", "ground"); },
         "Element \"level\" (line"},
        {"floor height not a number", [] { return fixtureWithText("building/floor/height", "high"); },
         "\"high\" is not a number"},
        {"requirement level out of range", [] { return fixtureWithText(living + "/level", "99999999999"); },
         "out of range"},
        {"parameter not a number", [] { return fixtureWithText("building/parameters/door_width", "wide"); },
         "\"wide\" is not a number"},
        {"building without a name", [] { return fixtureWithout("building/name"); },
         "Missing element \"name\" in \"building\""},
        {"floor without a contour", [] { return fixtureWithout("building/floor/contour"); },
         "Missing element \"contour\" in \"floor\""},
        {"requirement without an area", [] { return fixtureWithout(living + "/area"); },
         "Missing element \"area\" in \"requirement\""},
        {"room without a position", [] { return fixtureWithout("proposal/room/position"); },
         "Missing element \"position\" in \"room\""},
    };
    ScratchFolder folder;
    for (const FailureCase& row : cases) {
        SCOPED_TRACE(row.what);
        const std::string path = folder.file(std::string(row.what) + ".xsp");
        if (row.text)
            writeText(path, row.text());
        try {
            bg::Project::load(path);
            ADD_FAILURE() << "loaded";
        } catch (const std::exception& error) {
            EXPECT_NE(std::string(error.what()).find(row.message), std::string::npos) << error.what();
        }
    }
}

TEST(ProjectFile, AProposalWhoseSetOrBuildingIsMissingLoadsWithoutThatLink)
{
    const std::string text = fixtureWith([](tinyxml2::XMLDocument& document) {
        at(document, "proposal/requirement_set")->SetText("00000000-0000-4000-8000-000000000000");
        at(document, "proposal/building")->SetText("00000000-0000-4000-8000-000000000001");
    });
    std::vector<std::string> warnings;
    auto project = bg::Project::loadFromText(text, &warnings);

    auto proposal = project->proposals.front();
    EXPECT_FALSE(proposal->requirementSet);
    EXPECT_FALSE(proposal->building);
    EXPECT_EQ(proposal->rooms.size(), 2u);
    EXPECT_EQ(proposal->layouts.size(), 2u);
    EXPECT_EQ(project->buildings.size(), 1u);
    EXPECT_EQ(project->requirementSets.size(), 1u);
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_NE(warnings[0].find("Proposal \"Variant A\": its requirement set"), std::string::npos) << warnings[0];
    EXPECT_NE(warnings[1].find("Proposal \"Variant A\": its building"), std::string::npos) << warnings[1];
}

TEST(ProjectFile, StoredLevelsThatDisagreeWithTheFloorsAreRecomputed)
{
    const std::string text = fixtureWith([](tinyxml2::XMLDocument& document) {
        at(document, "building/level_count")->SetText("5");
        at(document, "building/max_level")->SetText("4");
        at(document, "building/min_level")->SetText("-3");
    });
    std::vector<std::string> warnings;
    auto building = bg::Project::loadFromText(text, &warnings)->buildings.front();
    EXPECT_EQ(building->levelCount, 2u);
    EXPECT_EQ(building->maxLevel, 1);
    EXPECT_EQ(building->minLevel, 0);
    EXPECT_EQ(building->top, building->floors.back());
    EXPECT_EQ(building->bottom, building->floors.front());
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("Building \"House\""), std::string::npos);
}

TEST(ProjectFile, FloorLinksFollowTheLevels)
{
    // Links that contradict the levels, and a level written as "1.7".
    const std::string text = fixtureWith([](tinyxml2::XMLDocument& document) {
        const std::string groundId = at(document, "building/floor/uuid")->GetText();
        const std::string upperId = at(document, "building/floor[1]/uuid")->GetText();
        at(document, "building/floor/upper")->SetText(groundId.c_str());
        at(document, "building/floor[1]/lower")->SetText(upperId.c_str());
        at(document, "building/floor[1]/level")->SetText("1.7");
    });
    auto building = bg::Project::loadFromText(text)->buildings.front();
    auto ground = building->floors.front();
    auto upper = building->floors.back();
    EXPECT_EQ(upper->level, 1);
    EXPECT_EQ(ground->upper.lock(), upper);
    EXPECT_EQ(upper->lower.lock(), ground);
    EXPECT_EQ(upper->parent.lock(), ground);
    EXPECT_DOUBLE_EQ(upper->elevation, 2.95);
}

TEST(ProjectFile, ARootFloorThatNoFloorElementDescribesIsReplaced)
{
    const std::string text =
        fixtureWithText("building/root", "00000000-0000-4000-8000-000000000002");
    std::vector<std::string> warnings;
    auto building = bg::Project::loadFromText(text, &warnings)->buildings.front();
    EXPECT_EQ(building->root, building->floors.front());
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("root floor"), std::string::npos) << warnings[0];
}

TEST(ProjectFile, NamesKeepTheirSpecialCharacters)
{
    bg::Project project("A & B <draft>");
    project.addBuilding(makeRectBuilding(5, 5));
    project.buildings.front()->name = "";
    auto loaded = bg::Project::loadFromText(saveText(project));
    EXPECT_EQ(loaded->name, "A & B <draft>");
    EXPECT_EQ(loaded->buildings.front()->name, "");
}

// ---------------------------------------------------------------------------
// Saving to a file

TEST(ProjectFile, SaveToFileWritesTheDocument)
{
    ScratchFolder folder;
    auto project = fullProject();
    const std::string path = folder.file("project.xsp");
    project->saveToFile(path);
    auto loaded = bg::Project::load(path);
    EXPECT_EQ(maskIds(readText(path)), maskIds(saveText(*loaded)));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1)
        << "no temporary file is left behind";
}

TEST(ProjectFile, AFailedSaveReportsAndKeepsTheEarlierFile)
{
    ScratchFolder folder;
    auto project = fullProject();
    const std::string path = folder.file("project.xsp");
    writeText(path, "earlier");

    // A folder that does not exist.
    EXPECT_THROW(project->saveToFile(folder.file("missing/project.xsp")), std::runtime_error);

    // A write that fails half-way: the file size limit stops it (this works
    // for every user, root included).
    struct rlimit previous;
    getrlimit(RLIMIT_FSIZE, &previous);
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = previous;
    small.rlim_cur = 100;
    setrlimit(RLIMIT_FSIZE, &small);
    try {
        project->saveToFile(path);
        ADD_FAILURE() << "saved";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find(path), std::string::npos) << error.what();
    }
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    // The target is a folder.
    std::filesystem::create_directory(folder.file("taken.xsp"));
    EXPECT_THROW(project->saveToFile(folder.file("taken.xsp")), std::runtime_error);

    EXPECT_EQ(readText(path), "earlier");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 2)
        << "no temporary file is left behind";
}

} // namespace
