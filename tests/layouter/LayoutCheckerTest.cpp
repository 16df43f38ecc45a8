// The layout checker itself: a sound layout passes, and each broken rule is
// named, so that the solver tests that rely on it cannot pass vacuously.

#include "support/LayoutChecker.h"
#include "support/ModelFixtures.h"

#include <gtest/gtest.h>

#include <functional>

using namespace kovra_test;

namespace {

// A 10 x 8 m floor (usable from 0.26 to 9.74 and 7.74) with two rooms side by
// side along its south wall, sharing a 3.2 m wall: room 0 of 20 m² connects to
// room 1 of 12 m².
struct Scene {
    std::shared_ptr<bg::Proposal> proposal;
    LayoutRules rules;

    Scene()
    {
        auto set = makeRequirementSet({makeRequirement(0, "A", 20, 0, {1}), makeRequirement(1, "B", 12, 0)});
        proposal = makeProposal(makeRectBuilding(10, 8, 2), set);
        place(0, {0.26, 0.26}, {5.2, 4.2});
        place(1, {5.46, 0.26}, {4.28, 3.2});
        rules.facades = true;
        rules.doors = true;
    }
    std::shared_ptr<bg::Room> room(int i) { return proposal->getRooms().at(i); }
    bg::Requirement& requirement(int i) { return *proposal->requirementSet->getRequirements().at(i); }
    void place(int i, Vec2 position, Vec2 size, int level = 0) { placeRoom(proposal, room(i), position, size, level); }
};

struct CheckerCase {
    const char* name;
    std::function<void(Scene&)> spoil;
    // A fragment of every expected violation; empty for a sound layout.
    const char* expected;
};

class LayoutCheckerTest : public ::testing::TestWithParam<CheckerCase> {};

TEST_P(LayoutCheckerTest, NamesTheBrokenRule)
{
    Scene scene;
    GetParam().spoil(scene);
    const auto problems = checkLayout(scene.proposal, scene.rules);
    if (std::string(GetParam().expected).empty()) {
        EXPECT_TRUE(problems.empty()) << describe(problems);
        return;
    }
    ASSERT_FALSE(problems.empty());
    for (const std::string& problem : problems)
        EXPECT_NE(problem.find(GetParam().expected), std::string::npos) << problem;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, LayoutCheckerTest,
    ::testing::Values(
        CheckerCase{"Sound", [](Scene&) {}, ""},
        CheckerCase{"Overlap",
                    [](Scene& s) {
                        s.requirement(0).adjacency = {-1};
                        s.place(1, {5.0, 0.26}, {4.28, 3.2});
                    },
                    "room 0 \"A\" overlaps room 1 \"B\""},
        CheckerCase{"OverlapOnOtherLevelsIsFine",
                    [](Scene& s) {
                        s.requirement(1).level = 1;
                        s.requirement(0).adjacency = {-1};
                        s.place(1, {0.26, 0.26}, {4.28, 3.2}, 1);
                    },
                    ""},
        CheckerCase{"BeyondTheOutline", [](Scene& s) { s.place(0, {0.26, 0.0}, {5.2, 4.2}); },
                    "beyond the usable outline"},
        CheckerCase{"InAnObstacle", [](Scene& s) { s.rules.keepOut.push_back({0, 9.0, 3.0, 0.74, 4.74}); },
                    "lies in obstacle 0"},
        CheckerCase{"WrongLevel", [](Scene& s) { s.requirement(1).level = 1; }, "its requirement asks for 1"},
        CheckerCase{"TooShort", [](Scene& s) { s.requirement(1).minLength = 4.5; }, "has the length 4.080"},
        CheckerCase{"TooSmall", [](Scene& s) { s.requirement(0).minAreaError = 21; }, "has the area 20.000"},
        CheckerCase{"AspectRatio", [](Scene& s) { s.requirement(0).minAspectRatio = 1.5; },
                    "has the aspect ratio 1.238"},
        CheckerCase{"VerticalAspectRatio",
                    [](Scene& s) {
                        s.requirement(0).orientation = "vertical";
                        s.requirement(0).maxAspectRatio = 0.7;
                    },
                    "has the aspect ratio 0.808"},
        CheckerCase{"StairsNotStacked",
                    [](Scene& s) {
                        s.requirement(0).roomType = "Stair";
                        s.requirement(1).roomType = "Stair";
                        s.requirement(1).level = 1;
                        s.requirement(1).maxAreaError = 30;
                        s.requirement(0).adjacency = {-1};
                        s.place(1, {0.26, 0.36}, {5.2, 4.2}, 1);
                    },
                    "are not stacked"},
        CheckerCase{"FloorNotFilled", [](Scene& s) { s.rules.allowFreeSpace = false; }, "not all of it"},
        CheckerCase{"FacadeMissed", [](Scene& s) { s.requirement(1).boundaries = {"north"}; },
                    "does not reach a north wall"},
        CheckerCase{"CornerReached", [](Scene& s) { s.requirement(1).boundaries = {"southeast"}; }, ""},
        CheckerCase{"EntranceInside",
                    [](Scene& s) {
                        s.requirement(1).roomType = "Entrance";
                        s.requirement(0).adjacency = {-1};
                        s.place(1, {5.46, 2.0}, {4.0, 3.2});
                    },
                    "is an entrance away from every facade"},
        CheckerCase{"DoorTooNarrow", [](Scene& s) { s.place(1, {5.46, 3.9}, {4.28, 3.2}); },
                    "shares no wall a door and a wall thickness long"},
        // The door (1 m) and a wall thickness (0.2 m) of shared side: side by
        // side, then one north of the other.
        CheckerCase{"SideBySideOnlyADoorWide", [](Scene& s) { s.place(1, {5.46, 3.46}, {4.28, 3.2}); },
                    "shares no wall a door and a wall thickness long"},
        CheckerCase{"SideBySideADoorAndAWallLong", [](Scene& s) { s.place(1, {5.46, 3.26}, {4.28, 3.2}); }, ""},
        CheckerCase{"NorthOnlyADoorWide", [](Scene& s) { s.place(1, {4.46, 4.46}, {4.28, 3.0}); },
                    "shares no wall a door and a wall thickness long"},
        CheckerCase{"NorthADoorAndAWallLong", [](Scene& s) { s.place(1, {4.26, 4.46}, {4.28, 3.0}); }, ""},
        CheckerCase{"DoorToAnotherLevel",
                    [](Scene& s) {
                        s.requirement(1).level = 1;
                        s.place(1, {5.46, 0.26}, {4.28, 3.2}, 1);
                    },
                    "room 0 \"A\" on level 0 must connect to room 1 \"B\" on level 1"},
        // Net rectangles on the layout outline (0.36 to 9.64 and 7.64).
        CheckerCase{"NetRoomsOnTheLayoutOutline",
                    [](Scene& s) {
                        s.rules.netRectangles = true;
                        s.requirement(1).boundaries = {"southeast"};
                        s.place(0, {0.36, 0.36}, {5.0, 4.0});
                        s.place(1, {5.36, 0.36}, {4.28, 3.2});
                    },
                    ""},
        CheckerCase{"NetSidesAreTheRectanglesOwn",
                    [](Scene& s) {
                        s.rules.netRectangles = true;
                        s.requirement(1).minLength = 4.5;
                    },
                    "has the length 4.280"},
        CheckerCase{"NetFacadeIsTheLayoutOutlines",
                    [](Scene& s) {
                        s.rules.netRectangles = true;
                        s.requirement(1).boundaries = {"south"};
                    },
                    "does not reach a south wall"},
        CheckerCase{"NetFillIsOfTheLayoutOutline",
                    [](Scene& s) {
                        s.rules.netRectangles = true;
                        s.rules.allowFreeSpace = false;
                    },
                    "of its usable 67.558 m2"},
        CheckerCase{"DoorAcrossAWall",
                    [](Scene& s) {
                        // Room 1 north of room 0, one wall thickness apart: each
                        // gets a wall of its own, and a door in one opens onto
                        // the other.
                        s.place(1, {0.26, 4.66}, {4.28, 3.0});
                    },
                    "shares no wall a door and a wall thickness long"}),
    [](const ::testing::TestParamInfo<CheckerCase>& info) { return std::string(info.param.name); });

} // namespace
