// The building outline control in a shown frame under the test display.
#include "GuiSupport.h"

#include "building/BuildingEditorCtrl.h"
#include "building/BuildingOutlineView.h"

#include "model/Building.h"
#include "support/ModelFixtures.h"

#include <gtest/gtest.h>

#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/weakref.h>

#include <cmath>

namespace {

using kovra_test::makeRectBuilding;

bool sameContour(const std::vector<Vec2>& a, const std::vector<Vec2>& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].x != b[i].x || a[i].y != b[i].y)
            return false;
    return true;
}

// A frame with the control alone in it, sized to a client area of the
// requested pixels.
class BuildingEditorCtrlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        frame = new wxFrame(nullptr, wxID_ANY, "Outline");
        // On a panel without a sizer the control keeps the size it is given.
        auto* panel = new wxPanel(frame);
        ctrl = new BuildingEditorCtrl(panel);
        frame->Show();
        pumpEventsUntil([&] { return frame->IsShownOnScreen(); });
    }

    void TearDown() override
    {
        if (frame)
            frame->Destroy();
        pumpEventsUntil([&] { return !frame; });
    }

    // Sizes the control, waits for its size event (which refits it) to have
    // been handled.
    void resize(int width, int height)
    {
        frame->SetClientSize(width + 40, height + 40);
        ctrl->SetSize(10, 10, width, height);
        ASSERT_TRUE(pumpEventsUntil([&] { return ctrl->GetClientSize() == wxSize(width, height); }));
        wxTheApp->ProcessPendingEvents();
    }

    void sendMouse(wxEventType type, int x, int y, int rotation = 0)
    {
        wxMouseEvent event(type);
        event.SetEventObject(ctrl);
        event.m_x = x;
        event.m_y = y;
        event.m_wheelRotation = rotation;
        event.m_wheelDelta = 120;
        event.m_leftDown = type != wxEVT_LEFT_UP && type != wxEVT_MOUSEWHEEL;
        ctrl->GetEventHandler()->ProcessEvent(event);
    }

    wxWeakRef<wxFrame> frame;
    BuildingEditorCtrl* ctrl = nullptr;
};

TEST_F(BuildingEditorCtrlTest, BuildingWithoutFloorsGetsARootFloorWithTheDefaultOutline)
{
    auto building = std::make_shared<bg::Building>("New");
    ctrl->setBuilding(building);
    ASSERT_EQ(building->floors.size(), 1u);
    ASSERT_TRUE(building->root);
    EXPECT_EQ(building->root->level, 0);
    EXPECT_EQ(ctrl->getFloor(), building->root);
    EXPECT_TRUE(sameContour(building->root->contour, kovra_test::rectContour(15, 15)));
    EXPECT_DOUBLE_EQ(building->root->elevation, 0.0);
}

TEST_F(BuildingEditorCtrlTest, FloorWithoutOutlineGetsTheDefaultAndOthersKeepTheirs)
{
    auto building = makeRectBuilding(12, 8, 2);
    ctrl->setBuilding(building);
    EXPECT_EQ(ctrl->getFloor(), building->root);
    EXPECT_TRUE(sameContour(building->root->contour, kovra_test::rectContour(12, 8)));
    auto bare = std::make_shared<bg::Floor>(5);
    ctrl->setFloor(bare);
    EXPECT_TRUE(sameContour(bare->contour, kovra_test::rectContour(15, 15)));
}

TEST_F(BuildingEditorCtrlTest, FitsAndCentresOneFloor)
{
    ctrl->setBuilding(makeRectBuilding(15, 15));
    resize(430, 330);
    ctrl->fitToView();
    EXPECT_DOUBLE_EQ(ctrl->getScale(), 20.0);
    EXPECT_NEAR(std::pow(1.1, ctrl->getZoomExponent()), 20.0, 1e-9);
    EXPECT_DOUBLE_EQ(ctrl->getPan().x, 3.25);
    EXPECT_DOUBLE_EQ(ctrl->getPan().y, 0.75);
}

TEST_F(BuildingEditorCtrlTest, ViewAllChoosesColumnsByTheShapeOfTheControl)
{
    ctrl->setBuilding(makeRectBuilding(15, 15, 3));
    resize(1000, 330);
    ctrl->arrangeAll();
    EXPECT_TRUE(ctrl->isShowingAll());
    EXPECT_EQ(ctrl->getColumns(), 3u);
    EXPECT_NEAR(ctrl->getScale(), 15.90, 0.005);
    frame->Update();
    pumpEvents(300); // lets the display draw it, for the screenshot only
    takeScreenshot("building-outline-view-all-wide");

    resize(330, 1000);
    ctrl->arrangeAll();
    EXPECT_EQ(ctrl->getColumns(), 1u);
    EXPECT_NEAR(ctrl->getScale(), 15.90, 0.005);

    ctrl->showOneFloor();
    EXPECT_FALSE(ctrl->isShowingAll());
    EXPECT_EQ(ctrl->getColumns(), 0u);
    EXPECT_DOUBLE_EQ(ctrl->getScale(), 20.0);
}

TEST_F(BuildingEditorCtrlTest, ViewAllFitsEveryFloorWhicheverIsCurrent)
{
    auto building = kovra_test::makeBuilding(
        {kovra_test::rectContour(12, 10), kovra_test::rectContour(12, 10), kovra_test::rectContour(8, 6)});
    ctrl->setBuilding(building);
    resize(600, 400);
    ctrl->arrangeAll();
    const double rootScale = ctrl->getScale();
    const Vec2 rootPan = ctrl->getPan();
    // From the small top floor the large ones must still fit.
    ctrl->setFloor(building->floors.back());
    ctrl->arrangeAll();
    EXPECT_DOUBLE_EQ(ctrl->getScale(), rootScale);
    EXPECT_DOUBLE_EQ(ctrl->getPan().x, rootPan.x);
    EXPECT_DOUBLE_EQ(ctrl->getPan().y, rootPan.y);
    std::vector<LevelOutline> outlines;
    for (const auto& floor : building->floors)
        outlines.push_back({floor->level, floor->contour});
    const Vec2 extent = gridExtent(outlines, building->minLevel, ctrl->getColumns(), 12, 10);
    EXPECT_LE(extent.x * ctrl->getScale(), 600.0 + 1e-9);
    EXPECT_LE(extent.y * ctrl->getScale(), 400.0 + 1e-9);
}

TEST_F(BuildingEditorCtrlTest, WheelZoomsAboutTheMouseAndResizeRefits)
{
    ctrl->setBuilding(makeRectBuilding(15, 15));
    resize(430, 330);
    ctrl->fitToView();
    const double scale = ctrl->getScale();
    const Vec2 pan = ctrl->getPan();

    sendMouse(wxEVT_MOUSEWHEEL, 120, 90, 120);
    EXPECT_NEAR(ctrl->getScale() / scale, 1.0589, 1e-4);
    EXPECT_NEAR(120 / ctrl->getScale() - ctrl->getPan().x, 120 / scale - pan.x, 1e-9);
    EXPECT_NEAR(90 / ctrl->getScale() - ctrl->getPan().y, 90 / scale - pan.y, 1e-9);

    resize(530, 330);
    EXPECT_DOUBLE_EQ(ctrl->getScale(), 20.0);
    EXPECT_DOUBLE_EQ(ctrl->getPan().x, 265 / 20.0 - 7.5);
}

TEST_F(BuildingEditorCtrlTest, DraggingPansByTheMouseTravel)
{
    ctrl->setBuilding(makeRectBuilding(15, 15));
    resize(430, 330);
    ctrl->fitToView();
    const Vec2 pan = ctrl->getPan();

    sendMouse(wxEVT_LEFT_DOWN, 50, 50);
    sendMouse(wxEVT_MOTION, 90, 10);
    EXPECT_DOUBLE_EQ(ctrl->getPan().x, pan.x + 40 / 20.0);
    EXPECT_DOUBLE_EQ(ctrl->getPan().y, pan.y - 40 / 20.0);
    sendMouse(wxEVT_LEFT_UP, 90, 10);
    sendMouse(wxEVT_MOTION, 200, 200);
    EXPECT_DOUBLE_EQ(ctrl->getPan().x, pan.x + 40 / 20.0) << "motion after release pans no more";
}

TEST_F(BuildingEditorCtrlTest, ViewThatCannotBeFittedKeepsTheLastOne)
{
    auto building = makeRectBuilding(15, 15);
    ctrl->setBuilding(building);
    resize(430, 330);
    ctrl->fitToView();

    // A floor without width, as a width of 0 would give.
    building->root->contour = {{0, 0}, {15, 0}, {15, 0}, {0, 0}};
    ctrl->fitToView();
    EXPECT_DOUBLE_EQ(ctrl->getScale(), 20.0);
    EXPECT_TRUE(std::isfinite(ctrl->getPan().x) && std::isfinite(ctrl->getPan().y));

    building->root->contour = kovra_test::rectContour(15, 15);
    resize(20, 20);
    ctrl->arrangeAll();
    EXPECT_DOUBLE_EQ(ctrl->getScale(), 20.0);
    EXPECT_EQ(ctrl->getColumns(), 0u);
}

TEST_F(BuildingEditorCtrlTest, OutlinesTooShortToDrawArePaintedOver)
{
    auto building = makeRectBuilding(15, 15, 2);
    building->floors.back()->contour = {{3, 3}};
    ctrl->setBuilding(building);
    resize(430, 330);
    ctrl->setFloor(building->floors.back());
    ctrl->Refresh();
    ctrl->Update();
    ctrl->arrangeAll();
    ctrl->Refresh();
    ctrl->Update();
    wxTheApp->ProcessPendingEvents();
    SUCCEED() << "painted without an exception leaving the handler";
}

} // namespace
