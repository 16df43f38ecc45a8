// The diagram control in a plain frame under Xvfb: the node events its
// parent receives, the input it hands to the controller, and the drawn graph.
#include "GuiSupport.h"

#include "requirements/DiagramCtrl.h"
#include "shell/Events.h"

#include <gtest/gtest.h>

#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/sizer.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// Stands in for the requirement-set page: records the node number it reads
// from the control when each node event arrives.
class RecordingPage : public wxFrame {
public:
    RecordingPage() : wxFrame(nullptr, wxID_ANY, "Requirements")
    {
        diagram = new DiagramCtrl(this);
        auto* sizer = new wxBoxSizer(wxVERTICAL);
        sizer->Add(diagram, 1, wxEXPAND);
        SetSizer(sizer);
        Bind(EVT_DIAGRAM_NODE_SELECTED, [this](wxCommandEvent&) { selected.push_back(diagram->selectedNode); });
        Bind(EVT_DIAGRAM_NODE_ACTIVATED, [this](wxCommandEvent&) { activated.push_back(diagram->selectedNode); });
    }

    DiagramCtrl* diagram = nullptr;
    std::vector<int> selected;
    std::vector<int> activated;
};

// Eight rooms of a house, as the requirement-set page fills the graph.
void fillHouse(DiagramCtrl& control)
{
    struct Room {
        const char* name;
        diagram::Colour fill;
    };
    const Room rooms[] = {
        {"Entrance", {1, 0, 0}},          {"Living", {0, 0.59, 0.51}},     {"Kitchen", {0, 1, 0}},
        {"Stair", {0.75, 0.75, 0.75}},    {"Bed", {0.98, 0.56, 0}},        {"Corridor", {1, 0, 0}},
        {"Study", {0, 0, 1}},             {"Bath", {1, 1, 1}},
    };
    const std::pair<int, int> links[] = {{0, 1}, {1, 2}, {1, 3}, {3, 5}, {5, 4}, {5, 6}, {5, 7}, {0, 3}};
    auto factory = diagram::createWidgetFactory();
    control.graph.nodes.clear();
    control.graph.edges.clear();
    for (int i = 0; i < 8; ++i) {
        diagram::Node node;
        node.id = i;
        node.fill = rooms[i].fill;
        node.position = {static_cast<double>(i), static_cast<double>(i)};
        node.size = {40, 40};
        node.labels = {factory->createLabel(rooms[i].name, 12), factory->createLabel(std::to_string(i), 12)};
        control.graph.nodes.push_back(node);
    }
    for (const auto& [from, to] : links)
        control.graph.edges.push_back({4.0, from, to});
    control.controller->graphChanged();
    control.controller->arrange();
}

// Records the controller calls the control makes.
class RecordingController : public diagram::Controller {
public:
    void mouseDown(const diagram::Point&) override { calls.push_back("mouseDown"); }
    void mouseUp(const diagram::Point&) override { calls.push_back("mouseUp"); }
    void mouseMove(const diagram::Point&) override { calls.push_back("mouseMove"); }
    void zoom(double delta) override { zooms.push_back(delta); }
    void draw() override {}
    void resize(const diagram::Size&) override {}
    void update() override {}
    void cancel() override { calls.push_back("cancel"); }
    void arrange() override {}
    void beginFrame() override {}
    void graphChanged() override {}
    int hitTest(const diagram::Point&) override
    {
        calls.push_back("hitTest");
        return 3;
    }
    void selectNode(const int&) override {}

    std::vector<std::string> calls;
    std::vector<double> zooms;
};

void sendMouse(wxWindow* window, wxEventType type, const wxPoint& at, int rotation = 0)
{
    wxMouseEvent event(type);
    event.SetEventObject(window);
    event.SetPosition(at);
    event.m_wheelRotation = rotation;
    event.m_wheelDelta = 120;
    event.m_wheelAxis = wxMOUSE_WHEEL_VERTICAL;
    window->GetEventHandler()->ProcessEvent(event);
}

void sendKey(wxWindow* window, int code)
{
    wxKeyEvent event(wxEVT_KEY_DOWN);
    event.SetEventObject(window);
    event.m_keyCode = code;
    window->GetEventHandler()->ProcessEvent(event);
}

class DiagramCtrlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        page = new RecordingPage;
        page->SetClientSize(640, 420);
        page->Show();
        page->Layout();
        pumpEventsUntil([&] { return page->diagram->GetSize() == wxSize(640, 420); });
        fillHouse(*page->diagram);
        page->diagram->update();
        // The first paint measures the labels and arranges the graph again.
        paint();
    }
    void TearDown() override
    {
        page->Destroy();
        pumpEvents(10);
    }

    wxImage paint()
    {
        wxBitmap bitmap(page->diagram->GetClientSize());
        {
            wxMemoryDC dc(bitmap);
            page->diagram->render(dc);
        }
        return bitmap.ConvertToImage();
    }

    // A point inside the node's box, found by the control's own hit test.
    wxPoint pointOn(int id)
    {
        const wxSize size = page->diagram->GetClientSize();
        for (int y = 0; y < size.y; y += 3)
            for (int x = 0; x < size.x; x += 3)
                if (page->diagram->controller->hitTest({double(x), double(y)}) == id)
                    return {x, y};
        ADD_FAILURE() << "node " << id << " is not in the view";
        return {0, 0};
    }

    RecordingPage* page = nullptr;
};

TEST_F(DiagramCtrlTest, AClickOnEmptySpaceSelectsNoNode)
{
    page->diagram->selectedNode = 4;
    sendMouse(page->diagram, wxEVT_LEFT_DOWN, {2, 2});
    sendMouse(page->diagram, wxEVT_LEFT_UP, {2, 2});
    ASSERT_TRUE(pumpEventsUntil([&] { return !page->selected.empty(); }));
    EXPECT_EQ(page->selected, std::vector<int>{-1});
}

TEST_F(DiagramCtrlTest, AClickOnANodeSelectsIt)
{
    const wxPoint onKitchen = pointOn(2);
    sendMouse(page->diagram, wxEVT_LEFT_DOWN, onKitchen);
    sendMouse(page->diagram, wxEVT_LEFT_UP, onKitchen);
    ASSERT_TRUE(pumpEventsUntil([&] { return !page->selected.empty(); }));
    EXPECT_EQ(page->selected, std::vector<int>{2});
    EXPECT_TRUE(page->activated.empty());
}

TEST_F(DiagramCtrlTest, ADoubleClickActivatesTheNodeHit)
{
    const wxPoint onStudy = pointOn(6);
    sendMouse(page->diagram, wxEVT_LEFT_DCLICK, onStudy);
    ASSERT_TRUE(pumpEventsUntil([&] { return !page->activated.empty(); }));
    EXPECT_EQ(page->activated, std::vector<int>{6});
}

TEST_F(DiagramCtrlTest, InputReachesTheControllerAsItsOperations)
{
    // The control's input, seen from the controller's side.
    auto recording = std::make_shared<RecordingController>();
    page->diagram->controller = recording;

    sendMouse(page->diagram, wxEVT_MOUSEWHEEL, {100, 100}, -240);
    sendMouse(page->diagram, wxEVT_MOUSEWHEEL, {100, 100}, 120);
    ASSERT_EQ(recording->zooms.size(), 2u);
    EXPECT_DOUBLE_EQ(recording->zooms[0], -0.2);
    EXPECT_DOUBLE_EQ(recording->zooms[1], 0.1);

    struct Case {
        const char* input;
        std::function<void()> send;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {"left down", [&] { sendMouse(page->diagram, wxEVT_LEFT_DOWN, {5, 5}); }, {"cancel", "mouseDown"}},
        {"left up", [&] { sendMouse(page->diagram, wxEVT_LEFT_UP, {5, 5}); }, {"hitTest", "mouseUp"}},
        {"motion", [&] { sendMouse(page->diagram, wxEVT_MOTION, {5, 5}); }, {"mouseMove"}},
        {"double click", [&] { sendMouse(page->diagram, wxEVT_LEFT_DCLICK, {5, 5}); }, {"hitTest"}},
        {"Escape", [&] { sendKey(page->diagram, WXK_ESCAPE); }, {"cancel"}},
        {"another key", [&] { sendKey(page->diagram, 'A'); }, {}},
    };
    for (const Case& c : cases) {
        recording->calls.clear();
        c.send();
        EXPECT_EQ(recording->calls, c.calls) << c.input;
    }
    EXPECT_EQ(page->diagram->selectedNode, 3);
}

TEST_F(DiagramCtrlTest, DrawsEveryRoomInItsColour)
{
    page->diagram->controller->selectNode(1);
    const wxImage image = paint();
    if (const char* folder = std::getenv("KOVRA_SCREENSHOTS")) {
        if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
                wxImage::AddHandler(new wxPNGHandler);
        image.SaveFile(std::string(folder) + "/diagram-eight-rooms.png", wxBITMAP_TYPE_PNG);
    }
    page->diagram->Refresh();
    page->diagram->Update();
    takeScreenshot("diagram-on-screen");
    // A pixel of each coloured box, found by hit test, shows its fill
    // (unless a label's ink covers it; then a neighbour does).
    const std::pair<int, wxColour> boxes[] = {{0, wxColour(255, 0, 0)}, {1, wxColour(0, 150, 130)},
                                              {2, wxColour(0, 255, 0)}, {6, wxColour(0, 0, 255)}};
    for (const auto& [id, colour] : boxes) {
        const wxPoint p = pointOn(id);
        bool found = false;
        for (int dy = 2; dy < 8 && !found; ++dy)
            for (int dx = 2; dx < 8 && !found; ++dx)
                found = wxColour(image.GetRed(p.x + dx, p.y + dy), image.GetGreen(p.x + dx, p.y + dy),
                                 image.GetBlue(p.x + dx, p.y + dy)) == colour;
        EXPECT_TRUE(found) << "node " << id;
    }
    EXPECT_EQ(wxColour(image.GetRed(2, 2), image.GetGreen(2, 2), image.GetBlue(2, 2)), *wxWHITE);
}

TEST_F(DiagramCtrlTest, AnEmptyGraphPaintsAnEmptyView)
{
    page->diagram->graph.nodes.clear();
    page->diagram->graph.edges.clear();
    page->diagram->controller->graphChanged();
    page->diagram->controller->arrange();
    const wxImage image = paint();
    EXPECT_EQ(wxColour(image.GetRed(320, 210), image.GetGreen(320, 210), image.GetBlue(320, 210)), *wxWHITE);
    sendMouse(page->diagram, wxEVT_LEFT_UP, {320, 210});
    ASSERT_TRUE(pumpEventsUntil([&] { return !page->selected.empty(); }));
    EXPECT_EQ(page->selected, std::vector<int>{-1});
}

} // namespace
