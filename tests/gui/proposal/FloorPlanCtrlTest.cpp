// The floor-plan control in a plain frame under Xvfb: what it paints (pixel
// probes on the drawn plan), the mouse, and a model it cannot draw whole.
#include "GuiSupport.h"
#include "support/ModelFixtures.h"

#include "proposal/FloorPlanCtrl.h"
#include "proposal/FloorPlanView.h"

#include "model/Proposal.h"

#include <gtest/gtest.h>

#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/sizer.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace kovra_test;

// Collects log messages instead of showing them.
class RecordingLog : public wxLog {
public:
    std::vector<wxString> messages;

protected:
    void DoLogTextAtLevel(wxLogLevel level, const wxString& message) override
    {
        if (level <= wxLOG_Warning)
            messages.push_back(message);
    }
};

// A 12 x 9 m house of two levels. The rooms fill each layout (the floor
// inset by the outer wall) plus half an inner wall, as the optimiser places
// them, so neighbours share their sides.
//   level 0: Living | Entrance (east face on the layout's east edge) below,
//            Kitchen | Stair above; Living connects to all three.
//   level 1: Bed | Corridor | Study below Bath ("Bathroom": no colour of its own).
struct House {
    std::shared_ptr<bg::Building> building = makeRectBuilding(12, 9, 2);
    std::shared_ptr<bg::Proposal> proposal;

    House()
    {
        auto set = makeRequirementSet({
            makeRequirement(0, "Entrance", 17, 0, {1}, "Entrance"),
            makeRequirement(1, "Living", 40, 0, {0, 2, 3}, "Live and eat"),
            makeRequirement(2, "Kitchen", 20, 0, {1}, "Kitchen and cleaning"),
            makeRequirement(3, "Stair", 19, 0, {1}, "Stair"),
            makeRequirement(4, "Bed", 42, 1, {5}, "Bedroom"),
            makeRequirement(5, "Corridor", 17, 1, {4, 6, 7}, "Corridor"),
            makeRequirement(6, "Study", 19, 1, {5}, "Workroom"),
            makeRequirement(7, "Bath", 19, 1, {-1, 5}, "Bathroom"),
        });
        proposal = makeProposal(building, set);
        const auto rooms = proposal->getRooms();
        placeRoom(proposal, rooms[0], {8.26, 0.26}, {3.48, 5.0}, 0);
        placeRoom(proposal, rooms[1], {0.26, 0.26}, {8.0, 5.0}, 0);
        placeRoom(proposal, rooms[2], {0.26, 5.26}, {6.0, 3.48}, 0);
        placeRoom(proposal, rooms[3], {6.26, 5.26}, {5.48, 3.48}, 0);
        placeRoom(proposal, rooms[4], {0.26, 0.26}, {5.0, 8.48}, 1);
        placeRoom(proposal, rooms[5], {5.26, 0.26}, {2.0, 8.48}, 1);
        placeRoom(proposal, rooms[6], {7.26, 0.26}, {4.48, 4.24}, 1);
        placeRoom(proposal, rooms[7], {7.26, 4.5}, {4.48, 4.24}, 1);
    }
};

class FloorPlanCtrlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previousLog = wxLog::SetActiveTarget(log);
        frame = new wxFrame(nullptr, wxID_ANY, "Floor plan");
        plan = new FloorPlanCtrl(frame);
        auto* sizer = new wxBoxSizer(wxVERTICAL);
        sizer->Add(plan, 1, wxEXPAND);
        frame->SetSizer(sizer);
        plan->building = house.building;
        plan->floor = house.building->root;
        plan->proposal = house.proposal;
        frame->SetClientSize(900, 600);
        frame->Show();
        frame->Layout();
        pumpEventsUntil([&] { return plan->GetSize() == wxSize(900, 600); });
        plan->fitToView();
    }

    void TearDown() override
    {
        frame->Destroy();
        pumpEvents(10);
        wxLog::SetActiveTarget(previousLog);
        delete log;
    }

    // The plan as a paint draws it.
    wxImage paint()
    {
        wxBitmap bitmap(plan->GetClientSize());
        {
            wxMemoryDC dc(bitmap);
            plan->render(dc);
        }
        return bitmap.ConvertToImage();
    }

    void saveScreenshot(const wxImage& image, const std::string& name)
    {
        if (const char* folder = std::getenv("KOVRA_SCREENSHOTS")) {
            if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
                wxImage::AddHandler(new wxPNGHandler);
            image.SaveFile(std::string(folder) + "/" + name, wxBITMAP_TYPE_PNG);
        }
    }

    // The pixel that shows the world point (x, y) of level 0 in cell `cell`.
    wxPoint pixelOf(double x, double y, int cell = 0)
    {
        const Vec2 offset = plan->oneLevel ? Vec2() : planCellOffset(cell, plan->columns, 12, 9);
        const Vec2 screen = planToScreen(flipPointAgainst({x, y}, rectContour(12, 9)), offset, plan->pan, plan->scale);
        return {static_cast<int>(std::floor(screen.x)), static_cast<int>(std::floor(screen.y))};
    }

    static wxColour colourAt(const wxImage& image, const wxPoint& p)
    {
        return wxColour(image.GetRed(p.x, p.y), image.GetGreen(p.x, p.y), image.GetBlue(p.x, p.y));
    }

    static int count(const wxImage& image, const wxColour& colour)
    {
        int n = 0;
        for (int y = 0; y < image.GetHeight(); ++y)
            for (int x = 0; x < image.GetWidth(); ++x)
                if (colourAt(image, {x, y}) == colour)
                    ++n;
        return n;
    }

    RecordingLog* log = new RecordingLog;
    wxLog* previousLog = nullptr;
    House house;
    wxFrame* frame = nullptr;
    FloorPlanCtrl* plan = nullptr;
};

const wxColour grey("#8f8f8f");

TEST_F(FloorPlanCtrlTest, FitsOneLevelIntoTheWindow)
{
    // The height limits the scale: 9 m in all but 30 pixels.
    EXPECT_DOUBLE_EQ(plan->scale, (plan->GetClientSize().y - 30) / 9.0);
    EXPECT_NEAR(std::pow(1.1, plan->zoomExponent), plan->scale, 1e-9);
    const wxPoint middle = pixelOf(6, 4.5);
    EXPECT_NEAR(middle.x, plan->GetClientSize().x / 2, 1);
    EXPECT_NEAR(middle.y, plan->GetClientSize().y / 2, 1);
}

struct Probe {
    const char* what;
    double x, y;
    wxColour wallsOff, wallsOn;
};

TEST_F(FloorPlanCtrlTest, PaintsRoomsWallsAndDoors)
{
    const Probe probes[] = {
        {"outer wall band", 0.18, 7.0, grey, grey},
        {"outer wall band, east", 11.82, 7.5, grey, grey},
        {"entrance's exterior door in the east band", 11.82, 2.76, *wxWHITE, *wxWHITE},
        {"door between living and entrance", 8.26, 2.76, *wxWHITE, *wxWHITE},
        {"door between living and kitchen", 3.26, 5.26, *wxWHITE, *wxWHITE},
        {"living room", 2.0, 1.0, wxColour("#009682"), wxColour("#009682")},
        {"entrance", 10.0, 4.5, *wxRED, *wxRED},
        {"kitchen", 1.0, 8.0, *wxGREEN, *wxGREEN},
        {"stair", 7.0, 8.0, *wxLIGHT_GREY, *wxLIGHT_GREY},
        {"living and kitchen wall, off the door", 1.0, 5.31, *wxGREEN, grey},
        {"living and entrance wall, off the door", 8.31, 0.8, *wxRED, grey},
    };
    plan->drawInnerWalls = false;
    const wxImage wallsOff = paint();
    saveScreenshot(wallsOff, "floorplan-inner-walls-off.png");
    plan->drawInnerWalls = true;
    const wxImage wallsOn = paint();
    saveScreenshot(wallsOn, "floorplan-inner-walls-on.png");
    plan->Refresh();
    plan->Update();
    takeScreenshot("floorplan-on-screen");
    for (const Probe& probe : probes) {
        const wxPoint pixel = pixelOf(probe.x, probe.y);
        EXPECT_EQ(colourAt(wallsOff, pixel), probe.wallsOff) << probe.what << ", inner walls off";
        EXPECT_EQ(colourAt(wallsOn, pixel), probe.wallsOn) << probe.what << ", inner walls on";
    }
    EXPECT_TRUE(log->messages.empty()) << log->messages.front();
}

TEST_F(FloorPlanCtrlTest, OneLevelShowsOnlyTheCurrentFloor)
{
    // The workroom (blue) and the bedroom are upstairs.
    EXPECT_EQ(count(paint(), *wxBLUE), 0);
    plan->floor = house.building->top;
    plan->fitToView();
    EXPECT_GT(count(paint(), *wxBLUE), 0);
    EXPECT_EQ(count(paint(), *wxGREEN), 0);
}

TEST_F(FloorPlanCtrlTest, AllLevelsInColumnsFollowTheWindowsShape)
{
    plan->chooseColumns();
    EXPECT_EQ(plan->oneLevel, 0);
    EXPECT_EQ(plan->columns, 2u);
    const wxImage both = paint();
    saveScreenshot(both, "floorplan-all-levels.png");
    EXPECT_GT(count(both, *wxBLUE), 0);
    EXPECT_GT(count(both, *wxGREEN), 0);
    // Level 0 in the left cell, level 1 in the right one.
    EXPECT_EQ(colourAt(both, pixelOf(1.0, 8.0, 0)), *wxGREEN);
    EXPECT_EQ(colourAt(both, pixelOf(6.0, 1.0, 1)), *wxRED); // the corridor
    EXPECT_EQ(colourAt(both, pixelOf(8.0, 8.3, 1)), *wxWHITE); // a room type without a colour

    frame->SetClientSize(300, 780);
    pumpEventsUntil([&] { return plan->GetSize() == wxSize(300, 780); });
    plan->chooseColumns();
    EXPECT_EQ(plan->columns, 1u);
}

// Sends a mouse event of the given type at (x, y) to the control.
void sendMouse(wxWindow* window, wxEventType type, int x, int y, int rotation = 0)
{
    wxMouseEvent event(type);
    event.SetEventObject(window);
    event.SetPosition({x, y});
    event.m_wheelRotation = rotation;
    event.m_wheelDelta = 120;
    event.m_wheelAxis = wxMOUSE_WHEEL_VERTICAL;
    window->GetEventHandler()->ProcessEvent(event);
}

TEST_F(FloorPlanCtrlTest, DraggingMovesTheDrawingWithTheMouse)
{
    const wxPoint before = pixelOf(3, 3);
    sendMouse(plan, wxEVT_LEFT_DOWN, 200, 200);
    sendMouse(plan, wxEVT_MOTION, 260, 170);
    sendMouse(plan, wxEVT_LEFT_UP, 260, 170);
    const wxPoint after = pixelOf(3, 3);
    EXPECT_NEAR(after.x - before.x, 60, 1);
    EXPECT_NEAR(after.y - before.y, -30, 1);
    // Moving without the button moves nothing.
    sendMouse(plan, wxEVT_MOTION, 500, 500);
    EXPECT_EQ(pixelOf(3, 3), after);
}

TEST_F(FloorPlanCtrlTest, TheWheelZoomsAboutTheMouse)
{
    const double scale = plan->scale;
    const wxPoint mouse = pixelOf(2, 2);
    sendMouse(plan, wxEVT_MOUSEWHEEL, mouse.x, mouse.y, 120);
    EXPECT_NEAR(plan->scale, scale * std::pow(1.1, 0.6), 1e-9);
    const wxPoint stays = pixelOf(2, 2);
    EXPECT_NEAR(stays.x, mouse.x, 1);
    EXPECT_NEAR(stays.y, mouse.y, 1);
    sendMouse(plan, wxEVT_MOUSEWHEEL, mouse.x, mouse.y, -120);
    EXPECT_NEAR(plan->scale, scale, 1e-9);
}

TEST_F(FloorPlanCtrlTest, ATinyWindowKeepsTheLastScale)
{
    const double scale = plan->scale;
    frame->SetClientSize(20, 20);
    pumpEventsUntil([&] { return plan->GetSize() == wxSize(20, 20); });
    plan->fitToView();
    EXPECT_DOUBLE_EQ(plan->scale, scale);
    EXPECT_TRUE(std::isfinite(plan->zoomExponent));
}

TEST_F(FloorPlanCtrlTest, ALevelItCannotDrawIsSkippedAndReportedOnce)
{
    // Level 1 moves up to 2, leaving level 1 without a floor; a third
    // floor on level 3 has a one-point outline.
    house.building->top->level = 2;
    auto broken = std::make_shared<bg::Floor>(3);
    broken->contour = {{1, 1}};
    house.building->addFloor(broken);
    plan->chooseColumns();
    const wxImage first = paint();
    paint();
    EXPECT_GT(count(first, *wxGREEN), 0);
    std::size_t noFloor = 0, tooFewPoints = 0;
    for (const wxString& message : log->messages) {
        noFloor += message.Contains("level 1 has no floor");
        tooFewPoints += message.Contains("level 3 has fewer than two points");
    }
    EXPECT_EQ(noFloor, 1u);
    EXPECT_EQ(tooFewPoints, 1u);

    // The current floor itself unmeasurable: nothing drawn, nothing thrown.
    plan->floor = broken;
    plan->oneLevel = 1;
    plan->fitToView();
    paint();
    plan->floor = nullptr;
    plan->fitToView();
    paint();
}

TEST_F(FloorPlanCtrlTest, PaintingSetsTheRoomsInnerContours)
{
    for (const auto& room : house.proposal->rooms)
        room->innerContour.clear();
    plan->floor = house.building->root;
    paint();
    for (const auto& room : house.proposal->rooms)
        EXPECT_EQ(room->innerContour.size(), 4u) << room->name;
}

} // namespace
