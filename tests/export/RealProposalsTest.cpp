// The solved proposals (a one-floor house, an L-shaped floor, a two-storey
// house with stairs, and each example project laid out) exported in both
// schemas must pass IfcOpenShell's validation, and their geometry read back
// must match the plan.
//
// The examples' solved files were made with the benchmark from the files
// under examples/, for instance
//   kovra_bench --project examples/bungalow.xsp --fill off --budget 20 --save-solved DIR
// and copied to tests/data/solved-example-<name>.xsp; make them again when
// an example changes (SolvedExample says so).

#include "ExportSupport.h"

#include "geometry/LayoutGeometry.h"
#include "model/Requirement.h"
#include "model/RoomGeometry.h"
#include "support/ExampleProjects.h"
#include "support/LayoutChecker.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <set>

namespace {

using nlohmann::json;


struct Fixture {
    const char* file;
    int floors;
};

const Fixture fixtures[] = {
    {"solved-house.xsp", 1},
    {"solved-house-L.xsp", 1},
    {"solved-stairs.xsp", 2},
    {"solved-example-bungalow.xsp", 1},
    {"solved-example-l-house.xsp", 1},
    {"solved-example-two-storey.xsp", 2},
};

struct Case {
    Fixture fixture;
    int schema;
    bool roundtrip;
};

std::vector<Case> allCases()
{
    std::vector<Case> cases;
    for (const Fixture& fixture : fixtures)
        for (int schema : {bgexport::schemaIfc4, bgexport::schemaIfc2x3})
            for (bool roundtrip : {false, true})
                cases.push_back({fixture, schema, roundtrip});
    return cases;
}

std::string caseName(const ::testing::TestParamInfo<Case>& info)
{
    std::string name = info.param.fixture.file;
    name = name.substr(0, name.find('.'));
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name + "_" + exporttest::schemaName(info.param.schema) + (info.param.roundtrip ? "_roundtrip" : "");
}

class RealProposal : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override
    {
        const auto available = testsupport::ifcOpenShellAvailable();
        ASSERT_EQ(available.exitCode, 0) << "IfcOpenShell for python3 is needed:\n" << available.output;
        project = exporttest::loadSolved(GetParam().fixture.file);
        proposal = project->proposals.front();
        bgexport::ExportSettings settings;
        settings.enableRoundtrip = GetParam().roundtrip;
        warnings = exporttest::exportTo(path(), project, proposal, GetParam().schema, settings);
        if (const char* keep = std::getenv("KOVRA_KEEP_IFC"))
            std::ofstream(std::string(keep) + "-" + caseName({GetParam(), 0}) + ".ifc")
                << kovra_test::readText(path());
    }

    std::string path() const { return file.path(); }

    testsupport::TempFile file{".ifc"};
    std::shared_ptr<bg::Project> project;
    std::shared_ptr<bg::Proposal> proposal;
    std::vector<std::string> warnings;
};

TEST_P(RealProposal, FixtureIsASoundLayout)
{
    kovra_test::LayoutRules rules;
    rules.doors = true;
    EXPECT_TRUE(kovra_test::checkLayout(proposal, rules).empty())
        << kovra_test::describe(kovra_test::checkLayout(proposal, rules));
}

TEST_P(RealProposal, PassesValidation)
{
    EXPECT_EQ(exporttest::validationFailures(path()), "");
}

// What a person meets: for every required adjacency a door whose two faces
// open, 5 cm beyond them, into the two rooms' spaces and into no wall; the
// entrance door opens into its room; and no two walls of a storey share
// more than 1e-6 m3.
TEST_P(RealProposal, APersonWalksThroughEveryRequiredDoor)
{
    const json report = exporttest::checkReport(path());
    const json& walk = report["walk"];
    std::set<std::pair<std::string, std::string>> required, opened;
    for (const auto& room : proposal->getRooms())
        for (const int other : room->getRequirement()->connectedIndices())
            for (const auto& neighbour : proposal->getRooms())
                if (neighbour->index == other)
                    required.insert(std::minmax(room->getRequirement()->name, neighbour->getRequirement()->name));
    int entrances = 0;
    for (const auto& door : walk["doors"]) {
        for (const auto& face : door["faces"]) {
            EXPECT_TRUE(face["walls"].empty()) << "a door opens into a wall: " << door.dump();
            EXPECT_LE(face["spaces"].size(), 1u) << door.dump();
        }
        const json& a = door["faces"][0]["spaces"];
        const json& b = door["faces"][1]["spaces"];
        if (door["external"] == true) {
            ++entrances;
            EXPECT_EQ(a.size() + b.size(), 1u) << "an entrance opens into one room: " << door.dump();
            continue;
        }
        ASSERT_EQ(a.size(), 1u) << door.dump();
        ASSERT_EQ(b.size(), 1u) << door.dump();
        opened.insert(std::minmax(a[0].get<std::string>(), b[0].get<std::string>()));
    }
    EXPECT_EQ(opened, required);
    EXPECT_GE(entrances, 1);
    EXPECT_TRUE(walk["wallOverlaps"].empty()) << walk["wallOverlaps"].dump();
}

// A space's outline lies on a micrometre grid (the precision of the inset
// that makes it from the room), the walls' faces do not: a boundary's end,
// where it meets a space's corner, may be off by up to half a micrometre.
constexpr double outlineGrid = 1e-6;

// Each space's second-level boundaries on wall faces cover its walls once:
// they add up to its perimeter times its height (the gross wall area it
// states), no two share a surface, and every door and window face of the
// space lies on them (the export writes a wall face whole and an opening's
// face as a boundary of its own on top of it).
TEST_P(RealProposal, EachSpacesWallFacesAreCoveredOnce)
{
    const json report = exporttest::checkReport(path());
    std::map<int, json> faces;
    for (const auto& entry : report["wallFaces"])
        faces[entry["space"].get<int>()] = entry;
    const auto spaces = exporttest::productsOf(report, "IfcSpace");
    ASSERT_FALSE(spaces.empty());
    for (const auto& space : spaces) {
        const std::string name = space["name"];
        ASSERT_EQ(faces.count(space["id"].get<int>()), 1u) << name << " has no wall boundaries";
        const json& covered = faces.at(space["id"].get<int>());
        const double wallArea = exporttest::valueOf(space, "BaseQuantities", "GrossWallArea");
        const double perimeter = exporttest::valueOf(space, "BaseQuantities", "GrossPerimeter");
        const double height = exporttest::valueOf(space, "BaseQuantities", "NominalHeight");
        EXPECT_NEAR(wallArea, perimeter * height, 1e-6) << name;
        // Two ends per boundary, each within half the grid.
        const double tolerance = covered["count"].get<double>() * outlineGrid * height;
        EXPECT_NEAR(covered["area"].get<double>(), wallArea, tolerance) << name << ": " << covered.dump();
        EXPECT_TRUE(covered["overlaps"].empty()) << name << ": " << covered["overlaps"].dump();
        EXPECT_TRUE(covered["notUpright"].empty()) << name << ": " << covered["notUpright"].dump();
        for (const auto& opening : covered["openings"]) {
            EXPECT_NEAR(opening["onWalls"].get<double>(), opening["area"].get<double>(), 1e-6)
                << name << ": an opening's face off its walls " << opening.dump();
        }
    }
}

TEST_P(RealProposal, ElementsMatchThePlan)
{
    const json report = exporttest::checkReport(path());
    const auto& building = proposal->building;
    const BuildingParameters& p = building->parameters;

    // Walls and slabs: one layer set usage each, over the one layer set of
    // their thickness (walls about their centre line, slabs below their top).
    std::map<long long, std::set<int>> layerSetsByThickness;
    std::map<int, std::set<long long>> thicknessesByLayerSet;
    auto expectLayers = [&](const json& element, const std::string& axis, double t, double offset) {
        ASSERT_EQ(element["layerSetUsages"].size(), 1u) << element.dump();
        const json& usage = element["layerSetUsages"][0];
        EXPECT_EQ(usage["axis"], axis) << element.dump();
        EXPECT_EQ(usage["sense"], "POSITIVE") << element.dump();
        EXPECT_NEAR(usage["thickness"].get<double>(), t, 1e-9) << element.dump();
        EXPECT_NEAR(usage["offset"].get<double>(), offset, 1e-9) << element.dump();
        const long long key = std::llround(t * 1e6);
        layerSetsByThickness[key].insert(usage["layerSet"].get<int>());
        thicknessesByLayerSet[usage["layerSet"].get<int>()].insert(key);
    };

    // Storeys: one per floor, top down, each aggregated by the building.
    ASSERT_EQ(report["storeys"].size(), static_cast<std::size_t>(GetParam().fixture.floors));
    int highest = building->maxLevel;
    for (const auto& storey : report["storeys"]) {
        const int level = highest--;
        EXPECT_EQ(storey["name"], level == 0 ? "EG" : std::to_string(level) + ".OG");
        EXPECT_EQ(storey["aggregatedBy"], json::array({"IfcBuilding"}));
    }

    std::map<std::string, std::shared_ptr<bg::Floor>> floorOf;
    for (const auto& floor : building->floors)
        floorOf[floor->level == 0 ? "EG" : std::to_string(floor->level) + ".OG"] = floor;

    // Slabs: volume = area x thickness; a roof only on the top storey.
    const std::string slabType = GetParam().schema == bgexport::schemaIfc4 ? "IfcSlabStandardCase" : "IfcSlab";
    std::map<std::string, int> roofs, slabsPerStorey;
    for (const auto& slab : exporttest::productsOf(report, slabType)) {
        ASSERT_TRUE(slab["volume"].is_number()) << slab.dump();
        EXPECT_EQ(slab["containedIn"].size(), 1u);
        const std::string storey = slab["storey"];
        const double t = exporttest::valueOf(slab, "BaseQuantities", "NominalWidth");
        const double area = exporttest::valueOf(slab, "BaseQuantities", "GrossArea");
        EXPECT_NEAR(slab["volume"].get<double>(), area * t, 1e-6) << slab.dump();
        expectLayers(slab, "AXIS3", t, -t);
        EXPECT_GT(slab["volume"].get<double>(), 0.0);
        ++slabsPerStorey[storey];
        if (std::abs(t - p.roofSlab) < 1e-9 && slab["psets"]["Pset_SlabCommon"]["IsExternal"] == true &&
            slabsPerStorey[storey] == 1 && storey == report["storeys"][0]["name"])
            ++roofs[storey];
    }
    const std::string top = report["storeys"][0]["name"];
    EXPECT_EQ(slabsPerStorey[top], 2);
    EXPECT_EQ(roofs[top], 1);
    for (const auto& entry : slabsPerStorey)
        if (entry.first != top) {
            EXPECT_EQ(entry.second, 1) << entry.first;
        }

    // Doors and windows: w x h x t of their host wall; the wall loses what
    // its openings cut.
    std::map<int, json> byId;
    for (const auto& product : report["products"])
        byId[product["id"].get<int>()] = product;
    std::map<int, double> cutFromWall;
    int fillings = 0, openings = 0;
    for (const auto& [id, product] : byId) {
        const std::string type = product["type"];
        if (type.rfind("IfcOpening", 0) == 0) {
            ++openings;
            EXPECT_EQ(product["voids"].size(), 1u);
            continue;
        }
        if (type.rfind("IfcDoor", 0) != 0 && type.rfind("IfcWindow", 0) != 0)
            continue;
        ++fillings;
        ASSERT_EQ(product["fills"].size(), 1u) << product.dump();
        const json& opening = byId.at(product["fills"][0].get<int>());
        const json& host = byId.at(opening["voids"][0].get<int>());
        const double t = exporttest::valueOf(host, "BaseQuantities", "NominalWidth");
        const double cut = product["overallWidth"].get<double>() * product["overallHeight"].get<double>() * t;
        ASSERT_TRUE(product["volume"].is_number()) << product.dump();
        EXPECT_NEAR(product["volume"].get<double>(), cut, 1e-6) << product.dump();
        cutFromWall[host["id"].get<int>()] += cut;
        if (type.rfind("IfcWindow", 0) == 0) {
            EXPECT_EQ(host["name"], "Exterior Wall");
            EXPECT_NEAR(product["overallHeight"].get<double>(), p.windowHeight, 1e-9);
        } else {
            EXPECT_NEAR(product["overallHeight"].get<double>(), p.doorHeight, 1e-9);
        }
    }
    EXPECT_EQ(openings, fillings);

    // Walls: t x L x h less the openings; exterior walls one per contour
    // edge, interior walls one per piece of the plan's centre lines (below).
    std::map<std::string, int> exterior, interior;
    std::map<std::string, std::multiset<long long>> interiorThicknesses; // nanometres
    for (const auto& wall : exporttest::productsOf(report, "IfcWallStandardCase")) {
        ASSERT_TRUE(wall["volume"].is_number()) << wall.dump();
        EXPECT_EQ(wall["containedIn"].size(), 1u);
        const std::string storey = wall["storey"];
        const double length = exporttest::valueOf(wall, "BaseQuantities", "NominalLength");
        const double t = exporttest::valueOf(wall, "BaseQuantities", "NominalWidth");
        const double h = exporttest::valueOf(wall, "BaseQuantities", "NominalHeight");
        EXPECT_NEAR(h, floorOf.at(storey)->height, 1e-9);
        const bool isExterior = wall["name"] == "Exterior Wall";
        if (isExterior) {
            EXPECT_NEAR(t, p.outerWallStrength, 1e-9);
        } else {
            interiorThicknesses[storey].insert(std::llround(t * 1e9));
        }
        expectLayers(wall, "AXIS2", t, -t / 2);
        EXPECT_NEAR(wall["volume"].get<double>(), t * length * h - cutFromWall[wall["id"].get<int>()], 1e-6)
            << wall.dump();
        ++(isExterior ? exterior : interior)[storey];
    }
    for (const auto& [thickness, sets] : layerSetsByThickness)
        EXPECT_EQ(sets.size(), 1u) << "layer sets of " << thickness * 1e-6 << " m";
    for (const auto& [set, thicknesses] : thicknessesByLayerSet)
        EXPECT_EQ(thicknesses.size(), 1u) << "layer set #" << set;
    for (const auto& [storey, floor] : floorOf) {
        EXPECT_EQ(exterior[storey], static_cast<int>(floor->contour.size())) << storey;
        const std::vector<Vec2> inner = insetPolygon(floor->contour, p.outerWallStrength);
        std::vector<Segment> segments;
        for (const auto& room : proposal->getRooms())
            if (room->level == floor->level)
                for (const Segment& segment : roomInteriorEdges(inner, room))
                    segments.push_back(segment);
        // Interior walls as the plan's centre lines give them, each of the
        // inner wall thickness but where it runs into the exterior wall:
        // there it ends, or is thinner, at the exterior wall's inner face.
        double thickness = p.innerWallStrength;
        const std::vector<Segment> lines = buildInteriorWalls(segments, inner, thickness);
        std::multiset<long long> expected;
        for (const WallPiece& piece : trimInteriorWalls(lines, inner, thickness))
            expected.insert(std::llround(piece.thickness * 1e9));
        EXPECT_EQ(interior[storey], static_cast<int>(expected.size())) << storey;
        EXPECT_EQ(interiorThicknesses[storey], expected) << storey;
    }

    // Spaces: one per placed room of the storey, aggregated once by it, the
    // inner outline extruded by the storey height.
    std::map<std::string, int> spacesPerStorey, roomsPerStorey;
    for (const auto& room : proposal->getRooms())
        ++roomsPerStorey[room->level == 0 ? "EG" : std::to_string(room->level) + ".OG"];
    std::set<std::string> roomTypes;
    int entrances = 0, windowsAllowed = 0;
    std::set<std::pair<int, int>> pairs;
    for (const auto& room : proposal->getRooms()) {
        roomTypes.insert(room->getRequirement()->roomType);
        const bool entrance = room->getRequirement()->roomType == "Entrance";
        entrances += entrance ? 1 : 0;
        windowsAllowed += entrance ? 0 : 1;
        for (int other : room->getRequirement()->adjacency)
            if (other != -1)
                pairs.insert({std::min(room->index, other), std::max(room->index, other)});
    }
    for (const auto& space : exporttest::productsOf(report, "IfcSpace")) {
        ASSERT_TRUE(space["volume"].is_number()) << space.dump();
        ASSERT_EQ(space["aggregatedIn"].size(), 1u);
        const std::string storey = space["aggregatedIn"][0];
        ++spacesPerStorey[storey];
        const double area = exporttest::valueOf(space, "BaseQuantities", "GrossFloorArea");
        EXPECT_NEAR(space["volume"].get<double>(), area * floorOf.at(storey)->height, 1e-6) << space.dump();
        EXPECT_GT(area, 0.0);
    }
    EXPECT_EQ(spacesPerStorey, roomsPerStorey);

    const int doorCount = static_cast<int>(exporttest::productsOf(report, GetParam().schema == bgexport::schemaIfc4
                                                                              ? "IfcDoorStandardCase"
                                                                              : "IfcDoor")
                                               .size());
    const int windowCount = fillings - doorCount;
    EXPECT_EQ(doorCount, entrances + static_cast<int>(pairs.size()));
    EXPECT_GE(windowCount, 1);
    EXPECT_LE(windowCount, windowsAllowed);

    // Zones one per room type, terminals two per space, every group with
    // exactly one relation naming all its members.
    int zones = 0;
    for (const auto& group : report["groups"]) {
        EXPECT_EQ(group["relations"], 1) << group.dump();
        if (group["type"] == "IfcZone") {
            ++zones;
        } else {
            EXPECT_EQ(group["members"].size(), proposal->getRooms().size()) << group.dump();
        }
    }
    EXPECT_EQ(zones, static_cast<int>(roomTypes.size()));
    EXPECT_EQ(exporttest::productsOf(report, "IfcFlowTerminal").size(), 2 * proposal->getRooms().size());
}

TEST_P(RealProposal, SpaceBoundariesLieOnTheirElementsAndSpaces)
{
    const json report = exporttest::checkReport(path());
    const bool ifc4 = GetParam().schema == bgexport::schemaIfc4;
    std::map<int, std::set<double>> slabFaceHeights;
    std::map<int, int> slabFaces, towardsSpaces, towardsAir;
    ASSERT_FALSE(report["boundaries"].empty());
    for (const auto& boundary : report["boundaries"]) {
        const std::string what = boundary.dump();
        EXPECT_GT(boundary["area"].get<double>(), 1e-9) << what;
        EXPECT_EQ(boundary["inElement"], true) << what;
        const bool ofSpace = boundary["relatingType"] == "IfcSpace";
        if (ofSpace) {
            EXPECT_EQ(boundary["inSpace"], true) << what;
        }
        if (!ifc4) {
            EXPECT_EQ(boundary["type"], "IfcRelSpaceBoundary") << what;
            EXPECT_TRUE(ofSpace) << what;
        }
        // A door's or window's parent is a wall boundary of the same space.
        if (!boundary["parent"].is_null()) {
            EXPECT_EQ(boundary["parentRelating"], boundary["relating"]) << what;
        }
        const std::string element = boundary["elementType"];
        const int id = boundary["element"];
        if (boundary["name"] != "1stLevel")
            continue;
        if (ofSpace && element.rfind("IfcSlab", 0) == 0) {
            ++slabFaces[boundary["relating"].get<int>()];
            slabFaceHeights[boundary["relating"].get<int>()].insert(
                std::round(boundary["zmin"].get<double>() * 1000.0) / 1000.0);
        }
        if (element.rfind("IfcDoor", 0) == 0 || element.rfind("IfcWindow", 0) == 0)
            ++(ofSpace ? towardsSpaces : towardsAir)[id];
    }
    // Second-level pairs name each other and have equal areas.
    std::map<int, json> byId;
    for (const auto& boundary : report["boundaries"])
        byId[boundary["id"].get<int>()] = boundary;
    int pairs = 0;
    for (const auto& [id, boundary] : byId) {
        if (boundary["corresponding"].is_null())
            continue;
        ++pairs;
        const json& other = byId.at(boundary["corresponding"].get<int>());
        EXPECT_EQ(other["corresponding"], id) << boundary.dump();
        EXPECT_NEAR(other["area"].get<double>(), boundary["area"].get<double>(), 1e-6) << boundary.dump();
    }
    if (ifc4) {
        EXPECT_GT(pairs, 0);
    }

    // The second-level floor and ceiling pieces of a space cover at most its
    // floor area, and all of it in the one-floor house.
    std::map<int, std::map<double, double>> piecesByHeight; // space -> height -> area
    for (const auto& [id, boundary] : byId)
        if (boundary["name"] == "2ndLevel" && boundary["relatingType"] == "IfcSpace" &&
            std::string(boundary["elementType"]).rfind("IfcSlab", 0) == 0)
            piecesByHeight[boundary["relating"].get<int>()][std::round(boundary["zmin"].get<double>() * 1000.0)] +=
                boundary["area"].get<double>();
    for (const auto& space : exporttest::productsOf(report, "IfcSpace")) {
        const double area = exporttest::valueOf(space, "BaseQuantities", "GrossFloorArea");
        const auto& heights = piecesByHeight[space["id"].get<int>()];
        EXPECT_EQ(heights.size(), 2u) << space.dump();
        // Pieces of other storeys' spaces and walls meet along lines inside
        // the space, each off by up to half the grid.
        const double tolerance =
            std::max(1e-6, outlineGrid * exporttest::valueOf(space, "BaseQuantities", "GrossPerimeter"));
        for (const auto& [height, covered] : heights) {
            EXPECT_LE(covered, area + tolerance) << space.dump();
            if (std::string(GetParam().fixture.file) == "solved-house.xsp") {
                EXPECT_NEAR(covered, area, 1e-6) << space.dump();
            }
        }
    }

    // One floor and one ceiling per space.
    const auto spaces = exporttest::productsOf(report, "IfcSpace");
    for (const auto& space : spaces) {
        EXPECT_EQ(slabFaces[space["id"].get<int>()], 2) << space.dump();
        EXPECT_EQ(slabFaceHeights[space["id"].get<int>()].size(), 2u) << space.dump();
    }
    // An entrance door and a window have one face towards their room and,
    // in IFC4, one towards "Air"; an interior door one towards each room
    // that reaches its faces (a room may stop short of the wall between).
    for (const auto& product : report["products"]) {
        const std::string type = product["type"];
        const int id = product["id"];
        const bool isWindow = type.rfind("IfcWindow", 0) == 0;
        if (!isWindow && type.rfind("IfcDoor", 0) != 0)
            continue;
        const bool external = product["psets"]["Pset_" + std::string(isWindow ? "Window" : "Door") + "Common"]
                                         ["IsExternal"] == true;
        EXPECT_GE(towardsSpaces[id], 1) << product.dump();
        EXPECT_LE(towardsSpaces[id], external ? 1 : 2) << product.dump();
        EXPECT_EQ(towardsAir[id], external && ifc4 ? 1 : 0) << product.dump();
    }
}

INSTANTIATE_TEST_SUITE_P(Export, RealProposal, ::testing::ValuesIn(allCases()), caseName);

// The project file as saved now, ids numbered in the order they appear, up
// to its first proposal: its name, buildings, sites and requirement sets.
std::string withoutProposals(const std::string& path)
{
    std::vector<std::string> warnings;
    const auto project = bg::Project::load(path, &warnings);
    EXPECT_TRUE(warnings.empty()) << path << ": " << warnings.front();
    std::stringstream text;
    project->saveToStream(text);
    const std::string masked = kovra_test::maskIds(text.str());
    return masked.substr(0, masked.find("<proposal>"));
}

// A solved example holds its example's building and requirement set
// unchanged, and a proposal with a room for every requirement: the walk
// above then covers what the examples hold.
TEST(SolvedExample, HoldsItsExampleUnchanged)
{
    ASSERT_FALSE(kovra_test::examples().empty());
    for (const auto& example : kovra_test::examples()) {
        const std::string file = example.file;
        const std::string solved = "solved-example-" + file;
        SCOPED_TRACE(solved);
        const std::string examplePath = std::string(KOVRA_SOURCE_DIR) + "/examples/" + file;
        EXPECT_EQ(withoutProposals(kovra_test::dataFile(solved)), withoutProposals(examplePath))
            << solved << " no longer holds " << file << "'s building and requirements; solve it again (see the top "
            << "of this file)";
        EXPECT_TRUE(std::any_of(std::begin(fixtures), std::end(fixtures),
                                [&](const Fixture& fixture) { return solved == fixture.file; }))
            << solved << " is left out of the export checks";
        const auto project = exporttest::loadSolved(solved);
        ASSERT_EQ(project->proposals.size(), 1u);
        const auto proposal = project->proposals.front();
        EXPECT_EQ(proposal->getRooms().size(), proposal->requirementSet->getRequirements().size());
        for (const auto& room : proposal->getRooms())
            EXPECT_GT(room->size.x * room->size.y, 0.0) << room->name << " is not laid out";
    }
}

} // namespace
