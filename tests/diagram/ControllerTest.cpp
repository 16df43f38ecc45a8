#include "diagram/Arrangement.h"
#include "diagram/Controller.h"
#include "diagram/Renderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace diagram;

// Records what the controller draws. Text is measurable only while
// `painting` is set, as with a renderer that has a graphics context only
// during a paint.
class RecordingRenderer : public Renderer {
public:
    struct Rect {
        Point position;
        Size size;
        ShapeStyle style;
    };
    struct Line {
        Point from, to;
    };

    void clear() override { ++clears; }
    void drawLine(const Point& from, const Point& to, const ShapeStyle&) override { lines.push_back({from, to}); }
    void drawCircle(const Point&, double) override {}
    void drawRect(const Point& position, const Size& size, const ShapeStyle& style) override
    {
        rects.push_back({position, size, style});
    }
    void drawText(const std::string& text, int pointSize, const Point& lowerLeft) override
    {
        texts.push_back(text);
        const auto [width, height] = getTextExtent(text, pointSize);
        textRects.push_back({{lowerLeft.x, lowerLeft.y - height}, {width, height}, {}});
    }
    std::pair<double, double> getTextExtent(const std::string& text, int pointSize) override
    {
        if (!painting)
            return {0.0, 0.0};
        return {0.6 * pointSize * static_cast<double>(text.size()), 1.2 * pointSize};
    }

    void forget()
    {
        clears = 0;
        rects.clear();
        lines.clear();
        texts.clear();
        textRects.clear();
    }
    std::vector<Rect> boxes() const
    {
        std::vector<Rect> filled;
        std::copy_if(rects.begin(), rects.end(), std::back_inserter(filled), [](const Rect& r) { return r.style.filled; });
        return filled;
    }
    std::vector<Rect> marks() const
    {
        std::vector<Rect> open;
        std::copy_if(rects.begin(), rects.end(), std::back_inserter(open), [](const Rect& r) { return !r.style.filled; });
        return open;
    }

    bool painting = true;
    int clears = 0;
    std::vector<Rect> rects;
    std::vector<Line> lines;
    std::vector<std::string> texts;
    std::vector<Rect> textRects; // where each text went
};

Point centreOf(const RecordingRenderer::Rect& r)
{
    return {r.position.x + r.size.width / 2, r.position.y + r.size.height / 2};
}

bool overlap(const RecordingRenderer::Rect& a, const RecordingRenderer::Rect& b)
{
    return a.position.x < b.position.x + b.size.width && b.position.x < a.position.x + a.size.width &&
           a.position.y < b.position.y + b.size.height && b.position.y < a.position.y + a.size.height;
}

// A graph as the pages fill it: node ids are list positions, two labels
// (name, index), one edge of width 4 per adjacency.
Graph roomGraph(int rooms, const std::vector<std::pair<int, int>>& adjacency)
{
    Graph graph;
    auto factory = createWidgetFactory();
    for (int i = 0; i < rooms; ++i) {
        Node node;
        node.id = i;
        node.fill = {0.0, 0.59, 0.51};
        node.position = {static_cast<double>(i), static_cast<double>(i)};
        node.size = {40, 40};
        node.labels = {factory->createLabel("Room " + std::to_string(i), 12),
                       factory->createLabel(std::to_string(i), 12)};
        graph.nodes.push_back(node);
    }
    for (const auto& [from, to] : adjacency) {
        Edge edge;
        edge.width = 4.0;
        edge.from = from;
        edge.to = to;
        graph.edges.push_back(edge);
    }
    return graph;
}

const std::vector<std::pair<int, int>> houseLinks{{0, 1}, {0, 2}, {1, 3}, {1, 4}, {2, 5}, {0, 6}, {6, 7}};

class ControllerTest : public ::testing::Test {
protected:
    void show(Graph newGraph, Size view = {800, 600})
    {
        graph = std::move(newGraph);
        controller->resize(view);
        controller->graphChanged();
        controller->arrange();
        paint();
    }
    void paint()
    {
        renderer.forget();
        controller->beginFrame();
        controller->draw();
    }

    RecordingRenderer renderer;
    Graph graph;
    std::shared_ptr<Controller> controller = createDefaultController(renderer, graph);
};

TEST_F(ControllerTest, DrawShowsExactlyTheNodesLabelsAndEdges)
{
    Graph g = roomGraph(8, houseLinks);
    // An edge whose end names no node draws nothing.
    g.edges.push_back({4.0, 3, 42});
    show(g);

    EXPECT_EQ(renderer.clears, 1);
    EXPECT_EQ(renderer.boxes().size(), 8u);
    EXPECT_EQ(renderer.lines.size(), houseLinks.size());
    std::multiset<std::string> expected;
    for (int i = 0; i < 8; ++i)
        expected.insert({"Room " + std::to_string(i), std::to_string(i)});
    EXPECT_EQ(std::multiset<std::string>(renderer.texts.begin(), renderer.texts.end()), expected);
    EXPECT_TRUE(renderer.marks().empty());
    for (const auto& box : renderer.boxes())
        EXPECT_DOUBLE_EQ(box.style.fill.g, 0.59);
}

TEST_F(ControllerTest, EveryLineJoinsTheCentresOfTwoBoxes)
{
    show(roomGraph(8, houseLinks));
    const auto boxes = renderer.boxes();
    for (std::size_t i = 0; i < houseLinks.size(); ++i) {
        const Point from = centreOf(boxes[houseLinks[i].first]), to = centreOf(boxes[houseLinks[i].second]);
        EXPECT_NEAR(renderer.lines[i].from.x, from.x, 1e-9) << "edge " << i;
        EXPECT_NEAR(renderer.lines[i].from.y, from.y, 1e-9) << "edge " << i;
        EXPECT_NEAR(renderer.lines[i].to.x, to.x, 1e-9) << "edge " << i;
        EXPECT_NEAR(renderer.lines[i].to.y, to.y, 1e-9) << "edge " << i;
    }
}

TEST_F(ControllerTest, ArrangedBoxesFitTheViewAndDoNotOverlap)
{
    const Size views[] = {{800, 600}, {300, 900}, {1200, 200}};
    for (const Size& view : views) {
        show(roomGraph(8, houseLinks), view);
        const auto boxes = renderer.boxes();
        ASSERT_EQ(boxes.size(), 8u);
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            EXPECT_GE(boxes[i].position.x, 0.0) << view.width << "x" << view.height;
            EXPECT_GE(boxes[i].position.y, 0.0) << view.width << "x" << view.height;
            EXPECT_LE(boxes[i].position.x + boxes[i].size.width, view.width);
            EXPECT_LE(boxes[i].position.y + boxes[i].size.height, view.height);
            for (std::size_t j = i + 1; j < boxes.size(); ++j)
                EXPECT_FALSE(overlap(boxes[i], boxes[j])) << "boxes " << i << " and " << j;
        }
    }
}

TEST_F(ControllerTest, TheSameGraphIsArrangedTheSameWay)
{
    show(roomGraph(8, houseLinks));
    const auto first = renderer.boxes();
    show(roomGraph(8, houseLinks));
    const auto second = renderer.boxes();
    ASSERT_EQ(first.size(), second.size());
    for (std::size_t i = 0; i < first.size(); ++i) {
        EXPECT_DOUBLE_EQ(first[i].position.x, second[i].position.x);
        EXPECT_DOUBLE_EQ(first[i].position.y, second[i].position.y);
    }
}

bool inside(const RecordingRenderer::Rect& inner, const RecordingRenderer::Rect& outer)
{
    return inner.position.x >= outer.position.x && inner.position.y >= outer.position.y &&
           inner.position.x + inner.size.width <= outer.position.x + outer.size.width &&
           inner.position.y + inner.size.height <= outer.position.y + outer.size.height;
}

TEST_F(ControllerTest, BoxesHoldTheirLabelsAtAnyZoom)
{
    Graph g = roomGraph(3, {{0, 1}});
    g.nodes[2].labels.front() = createWidgetFactory()->createLabel("A much longer room name", 12);
    show(g);
    for (double zoom : {0.0, 0.5, -0.8}) {
        controller->zoom(zoom);
        paint();
        const auto boxes = renderer.boxes();
        ASSERT_EQ(renderer.textRects.size(), 6u);
        // The two labels of node i are texts 2i and 2i + 1, the name on top.
        for (std::size_t i = 0; i < renderer.textRects.size(); ++i)
            EXPECT_TRUE(inside(renderer.textRects[i], boxes[i / 2])) << "zoom " << zoom << ", text " << i;
        for (std::size_t i = 0; i < boxes.size(); ++i)
            EXPECT_LT(renderer.textRects[2 * i].position.y, renderer.textRects[2 * i + 1].position.y);
    }
}

TEST_F(ControllerTest, LabelsMeasuredOutsideAPaintWaitForTheFirstPaint)
{
    graph = roomGraph(3, {{0, 1}, {1, 2}});
    controller->resize({800, 600});
    controller->graphChanged();
    renderer.painting = false;
    controller->arrange();
    paint();
    const auto unmeasured = renderer.boxes();
    renderer.painting = true;
    paint();
    const auto measured = renderer.boxes();
    ASSERT_EQ(measured.size(), 3u);
    for (std::size_t i = 0; i < measured.size(); ++i)
        EXPECT_GT(measured[i].size.width / measured[i].size.height,
                  unmeasured[i].size.width / unmeasured[i].size.height * 1.2);
}

TEST_F(ControllerTest, HitTestNamesTheBoxUnderThePoint)
{
    show(roomGraph(8, houseLinks));
    const auto boxes = renderer.boxes();
    for (std::size_t i = 0; i < boxes.size(); ++i)
        EXPECT_EQ(controller->hitTest(centreOf(boxes[i])), static_cast<int>(i));
    EXPECT_EQ(controller->hitTest({2, 2}), -1);
    EXPECT_EQ(controller->hitTest({-50, 300}), -1);
}

TEST_F(ControllerTest, SelectedNodeIsMarked)
{
    show(roomGraph(8, houseLinks));
    controller->selectNode(5);
    paint();
    const auto boxes = renderer.boxes();
    const auto marks = renderer.marks();
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_LT(marks[0].position.x, boxes[5].position.x);
    EXPECT_LT(marks[0].position.y, boxes[5].position.y);
    EXPECT_GT(marks[0].position.x + marks[0].size.width, boxes[5].position.x + boxes[5].size.width);

    for (int none : {-1, 99}) {
        controller->selectNode(none);
        paint();
        EXPECT_TRUE(renderer.marks().empty()) << none;
    }
}

TEST_F(ControllerTest, AClickSelectsTheNodeUnderItOrNone)
{
    show(roomGraph(8, houseLinks));
    const Point onNode = centreOf(renderer.boxes()[3]);
    controller->mouseDown(onNode);
    controller->mouseUp(onNode);
    paint();
    ASSERT_EQ(renderer.marks().size(), 1u);

    controller->mouseDown({2, 2});
    controller->mouseUp({2, 2});
    paint();
    EXPECT_TRUE(renderer.marks().empty());
}

TEST_F(ControllerTest, DraggingEmptySpacePansAndCancelTakesItBack)
{
    show(roomGraph(8, houseLinks));
    const auto before = renderer.boxes();
    controller->mouseDown({2, 2});
    controller->mouseMove({32, -18});
    paint();
    const auto dragged = renderer.boxes();
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_NEAR(dragged[i].position.x - before[i].position.x, 30, 1e-9);
        EXPECT_NEAR(dragged[i].position.y - before[i].position.y, -20, 1e-9);
    }
    // A drag selects nothing when released.
    controller->mouseUp({32, -18});
    paint();
    EXPECT_TRUE(renderer.marks().empty());

    controller->mouseDown({2, 2});
    controller->mouseMove({102, 2});
    controller->cancel();
    controller->mouseMove({202, 2});
    paint();
    EXPECT_NEAR(renderer.boxes()[0].position.x, dragged[0].position.x, 1e-9);
}

TEST_F(ControllerTest, ZoomScalesBoxesAboutTheViewCentre)
{
    show(roomGraph(8, houseLinks));
    const auto before = renderer.boxes();
    controller->zoom(0.1);
    paint();
    const auto after = renderer.boxes();
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_NEAR(after[i].size.width, before[i].size.width * 1.1, 1e-9);
        const Point b = centreOf(before[i]), a = centreOf(after[i]);
        EXPECT_NEAR(a.x - 400, (b.x - 400) * 1.1, 1e-9);
        EXPECT_NEAR(a.y - 300, (b.y - 300) * 1.1, 1e-9);
    }
    // The factor never reaches zero or below.
    controller->zoom(-5.0);
    paint();
    for (const auto& box : renderer.boxes())
        EXPECT_GT(box.size.width, 0.0);
}

TEST_F(ControllerTest, EmptyGraphDrawsAnEmptyView)
{
    show(Graph{});
    EXPECT_EQ(renderer.clears, 1);
    EXPECT_TRUE(renderer.rects.empty());
    EXPECT_TRUE(renderer.lines.empty());
    EXPECT_EQ(controller->hitTest({400, 300}), -1);
}

TEST_F(ControllerTest, ATinyViewKeepsAPositiveScale)
{
    show(roomGraph(4, {{0, 1}}), {10, 10});
    for (const auto& box : renderer.boxes())
        EXPECT_GT(box.size.width, 0.0);
}

TEST(ArrangeBoxes, NoOverlapSameResultEveryTime)
{
    // Twenty-four boxes of mixed sizes, three of them unconnected.
    std::vector<Size> boxes;
    std::vector<std::pair<std::size_t, std::size_t>> links;
    for (std::size_t i = 0; i < 24; ++i) {
        boxes.push_back({40.0 + 10.0 * static_cast<double>(i % 5), 30.0 + 7.0 * static_cast<double>(i % 3)});
        if (i > 0 && i < 21)
            links.emplace_back(i, (i - 1) / 2);
    }
    const auto first = arrangeBoxes(boxes, links);
    const auto second = arrangeBoxes(boxes, links);
    ASSERT_EQ(first.size(), boxes.size());
    for (std::size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(first[i].x, second[i].x);
        EXPECT_EQ(first[i].y, second[i].y);
        for (std::size_t j = i + 1; j < first.size(); ++j) {
            const bool apartX = std::fabs(first[i].x - first[j].x) >= (boxes[i].width + boxes[j].width) / 2 - 1e-6;
            const bool apartY = std::fabs(first[i].y - first[j].y) >= (boxes[i].height + boxes[j].height) / 2 - 1e-6;
            EXPECT_TRUE(apartX || apartY) << "boxes " << i << " and " << j;
        }
    }
    EXPECT_TRUE(arrangeBoxes({}, {}).empty());
    EXPECT_EQ(arrangeBoxes({{40, 40}}, {{0, 0}, {0, 5}}).size(), 1u);
}

} // namespace
