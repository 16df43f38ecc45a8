// The floor-plan view's arithmetic, on plain numbers: no window involved.
#include "proposal/FloorPlanView.h"

#include "model/BuildingParameters.h"
#include "model/Proposal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace {

TEST(PlanFitScale, OneLevelFitsTheTighterSide)
{
    struct Case {
        double width, height, spanX, spanY, scale;
    };
    const Case cases[] = {
        {830, 630, 10, 8, 75},     // height limits: 600 / 8
        {430, 1030, 10, 8, 40},    // width limits: 400 / 10
        {130, 130, 20, 20, 5},     // square
        {29, 500, 10, 8, 0},       // under the margin: nothing fits
        {500, 30, 10, 8, 0},
        {500, 500, 0, 8, 0},       // a floor without width
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(planFitScale(c.width, c.height, c.spanX, c.spanY, true, 0, 1), c.scale)
            << c.width << "x" << c.height << " window, " << c.spanX << "x" << c.spanY << " floor";
}

TEST(PlanFitScale, AllLevelsFitTheGridWithItsGaps)
{
    // Five 10 x 10 levels in two columns: 2 x 10 + 8 wide, 3 x 10 + 2 x 8 high.
    EXPECT_DOUBLE_EQ(planFitScale(1030, 1030, 10, 10, false, 2, 5), 1000.0 / 46);
    EXPECT_DOUBLE_EQ(planFitScale(310, 1030, 10, 10, false, 2, 5), 280.0 / 28);
    EXPECT_DOUBLE_EQ(planFitScale(1030, 1030, 10, 10, false, 0, 5), 0.0);
    EXPECT_DOUBLE_EQ(planFitScale(1030, 1030, 10, 10, false, 2, 0), 0.0);
}

TEST(PlanColumns, ChoosesTheCountThatDrawsLargest)
{
    struct Case {
        const char* window;
        double width, height;
        std::uint64_t levels;
        std::uint64_t columns;
    };
    const Case cases[] = {
        {"wide", 2030, 330, 4, 4},
        {"tall", 330, 2030, 4, 1},
        {"square", 630, 630, 4, 2},
        {"tie keeps fewer", 310, 310, 2, 1}, // 1 x 2 and 2 x 1 both give 280 / 28
        {"no levels", 630, 630, 0, 0},
        {"under the margin", 20, 630, 4, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(planColumns(c.width, c.height, 10, 10, c.levels), c.columns) << c.window;
}

TEST(PlanCellOffset, FillsRowsLeftToRight)
{
    struct Case {
        int k;
        double x, y;
    };
    // Two columns of 10 x 6 cells with 8 m gaps.
    const Case cases[] = {{0, 0, 0}, {1, 18, 0}, {2, 0, 14}, {5, 18, 28}};
    for (const Case& c : cases) {
        const Vec2 offset = planCellOffset(c.k, 2, 10, 6);
        EXPECT_DOUBLE_EQ(offset.x, c.x) << "cell " << c.k;
        EXPECT_DOUBLE_EQ(offset.y, c.y) << "cell " << c.k;
    }
}

TEST(PlanCentredPan, PutsTheDrawingsMiddleInTheWindowsMiddle)
{
    for (double scale : {0.5, 7.0, 63.3}) {
        const Vec2 pan = planCentredPan(900, 600, scale, 12, 9);
        const Vec2 middle = planToScreen({6, 4.5}, {0, 0}, pan, scale);
        EXPECT_NEAR(middle.x, 450, 1e-9) << scale;
        EXPECT_NEAR(middle.y, 300, 1e-9) << scale;
    }
}

// The world point under the screen point (x, y): screen = (world + pan) x scale.
Vec2 worldAt(const PlanZoom& view, const Vec2& screen)
{
    return {screen.x / view.scale - view.pan.x, screen.y / view.scale - view.pan.y};
}

TEST(PlanZoomAt, ANotchKeepsThePointUnderTheMouse)
{
    struct Case {
        double scale, panX, panY, mouseX, mouseY, rotation;
    };
    const Case cases[] = {
        {63.0, 1.5, -2.0, 100, 250, 120},
        {63.0, 1.5, -2.0, 100, 250, -120},
        {0.4, 30, 12, 799, 3, 240},
        {1.0, 0, 0, 0, 0, 120},
    };
    for (const Case& c : cases) {
        PlanZoom view{planZoomExponent(c.scale), c.scale, {c.panX, c.panY}};
        const Vec2 mouse(c.mouseX, c.mouseY);
        const PlanZoom zoomed = planZoomAt(view, c.rotation, mouse);
        EXPECT_NEAR(zoomed.scale, c.scale * std::pow(1.1, 0.6 * c.rotation / 120), 1e-9 * c.scale);
        const Vec2 before = worldAt(view, mouse), after = worldAt(zoomed, mouse);
        EXPECT_NEAR(after.x, before.x, 1e-9) << "scale " << c.scale << ", rotation " << c.rotation;
        EXPECT_NEAR(after.y, before.y, 1e-9) << "scale " << c.scale << ", rotation " << c.rotation;
    }
}

TEST(PlanZoomAt, ANotchBackUndoesANotchForward)
{
    const PlanZoom view{planZoomExponent(20.0), 20.0, {3, 4}};
    const PlanZoom back = planZoomAt(planZoomAt(view, 120, {300, 200}), -120, {300, 200});
    EXPECT_NEAR(back.scale, 20.0, 1e-9);
    EXPECT_NEAR(back.pan.x, 3, 1e-9);
    EXPECT_NEAR(back.pan.y, 4, 1e-9);
}

TEST(PlanDraggedPan, TheDrawingFollowsTheMousePixelForPixel)
{
    for (double scale : {0.3, 1.0, 63.0}) {
        const Vec2 panAtPress(2, -1);
        const Vec2 press(100, 100), mouse(137, 81);
        const Vec2 pan = planDraggedPan(panAtPress, press, mouse, scale);
        const Vec2 world(5, 5);
        const Vec2 before = planToScreen(world, {0, 0}, panAtPress, scale);
        const Vec2 after = planToScreen(world, {0, 0}, pan, scale);
        EXPECT_NEAR(after.x - before.x, 37, 1e-9) << scale;
        EXPECT_NEAR(after.y - before.y, -19, 1e-9) << scale;
    }
}

TEST(PlanZoomExponent, IsTheLogarithmToBaseOnePointOne)
{
    EXPECT_NEAR(planZoomExponent(1.0), 0.0, 1e-12);
    EXPECT_NEAR(std::pow(1.1, planZoomExponent(63.0)), 63.0, 1e-9);
}

} // namespace

namespace {

// The entrance's exterior door on the plan: across the middle of the room's
// face that lies on an edge of the contour, the outer wall deep.
TEST(PlanEntranceDoor, GoesIntoTheFacadeEdgeTheRoomTouches)
{
    BuildingParameters parameters;
    parameters.innerWallStrength = 0.2;
    parameters.outerWallStrength = 0.3;
    parameters.doorWidth = 1.0;
    const std::vector<Vec2> box = {{0, 0}, {10, 0}, {10, 8}, {0, 8}};
    // An L whose notch, cut out of the north-east, has its lower edge on
    // y = 4 from x = 4 to 10.
    const std::vector<Vec2> ell = {{0, 0}, {10, 0}, {10, 4}, {4, 4}, {4, 10}, {0, 10}};
    struct Case {
        const char* what;
        std::vector<Vec2> contour;
        Vec2 position, size;
        std::vector<Vec2> door;
    };
    const Case cases[] = {
        {"south facade", box, {2.9, -0.1}, {3.2, 2.2}, {{4, -0.3}, {5, -0.3}, {5, 0}, {4, 0}}},
        {"east facade", box, {6.9, 3.9}, {3.2, 2.2}, {{10, 4.5}, {10.3, 4.5}, {10.3, 5.5}, {10, 5.5}}},
        {"north facade", box, {2.9, 5.9}, {3.2, 2.2}, {{4, 8}, {5, 8}, {5, 8.3}, {4, 8.3}}},
        // The room's north face lies on the line of the notch's edge, 2.5 m
        // west of it; the door goes into the west facade the room touches.
        {"west facade beside a notch's line", ell, {-0.1, 1.9}, {3.2, 2.2},
         {{-0.3, 2.5}, {0, 2.5}, {0, 3.5}, {-0.3, 3.5}}},
        {"on the notch's line only", ell, {0.4, 1.9}, {3.2, 2.2}, {}},
        {"inside, touching nothing", box, {3, 3}, {2, 2}, {}},
    };
    for (const Case& c : cases) {
        bg::Room room;
        room.position = c.position;
        room.size = c.size;
        const std::vector<Vec2> door = planEntranceDoor(room, c.contour, parameters);
        ASSERT_EQ(door.size(), c.door.size()) << c.what;
        for (std::size_t i = 0; i < door.size(); ++i) {
            EXPECT_NEAR(door[i].x, c.door[i].x, 1e-9) << c.what << " corner " << i;
            EXPECT_NEAR(door[i].y, c.door[i].y, 1e-9) << c.what << " corner " << i;
        }
    }
}

} // namespace
