#include "diagram/Controller.h"

#include "diagram/Arrangement.h"
#include "diagram/Renderer.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <stdexcept>
#include <unordered_map>
#include <utility>
#include <vector>

namespace diagram {
namespace {

constexpr double viewMargin = 20.0;   // pixels kept free around the fitted graph
constexpr double labelPadding = 8.0;  // between a box's outline and its labels
constexpr double maxFitScale = 1.5;   // a small graph is not blown up beyond this
constexpr double minZoom = 0.1;
constexpr double maxZoom = 10.0;
constexpr double dragThreshold = 3.0; // pixels a press may move and still count as a click
constexpr double gridGap = 20.0;

const Colour black{0.0, 0.0, 0.0};
const Colour edgeColour{0.3, 0.3, 0.3};
const Colour selectionColour{0.0, 0.47, 0.84};

// A node's box in graph units, centred on its arranged position.
struct Box {
    Point centre;
    Size size;
};

// Rows of boxes: what the graph shows when the spring arrangement fails.
std::vector<Point> arrangeInGrid(const std::vector<Size>& sizes)
{
    double cellWidth = 0.0, cellHeight = 0.0;
    for (const Size& size : sizes) {
        cellWidth = std::max(cellWidth, size.width + gridGap);
        cellHeight = std::max(cellHeight, size.height + gridGap);
    }
    const auto columns = static_cast<std::size_t>(std::ceil(std::sqrt(static_cast<double>(sizes.size()))));
    std::vector<Point> centres;
    for (std::size_t i = 0; i < sizes.size(); ++i)
        centres.push_back({static_cast<double>(i % columns) * cellWidth, static_cast<double>(i / columns) * cellHeight});
    return centres;
}

class DefaultController : public Controller {
public:
    DefaultController(Renderer& renderer, Graph& graph) : renderer(renderer), graph(graph) {}

    void mouseDown(const Point& point) override
    {
        pressed = true;
        moved = false;
        pressPoint = point;
        panAtPress = pan;
        panning = hitTest(point) == -1;
    }

    void mouseUp(const Point& point) override
    {
        if (pressed && !moved)
            selected = hitTest(point);
        pressed = false;
        panning = false;
    }

    void mouseMove(const Point& point) override
    {
        if (!pressed)
            return;
        const double dx = point.x - pressPoint.x, dy = point.y - pressPoint.y;
        if (std::hypot(dx, dy) > dragThreshold)
            moved = true;
        if (panning && moved)
            pan = {panAtPress.x + dx, panAtPress.y + dy};
    }

    void zoom(double delta) override
    {
        const double before = zoomFactor;
        zoomFactor = std::clamp(zoomFactor + delta, minZoom, maxZoom);
        // Keeps the graph point at the view's centre where it is.
        pan = {pan.x * zoomFactor / before, pan.y * zoomFactor / before};
    }

    void draw() override
    {
        if (!labelsMeasured && measureLabels())
            arrange();
        if (boxes.size() != graph.nodes.size())
            arrange();
        renderer.clear();
        const double scale = viewScale();

        const ShapeStyle line{1.0, 0, black, edgeColour, false};
        for (const Edge& edge : graph.edges) {
            const auto from = nodeIndex.find(edge.from), to = nodeIndex.find(edge.to);
            if (from == nodeIndex.end() || to == nodeIndex.end())
                continue;
            ShapeStyle style = line;
            style.width = edge.width;
            renderer.drawLine(toView(boxes[from->second].centre), toView(boxes[to->second].centre), style);
        }

        for (std::size_t i = 0; i < graph.nodes.size(); ++i) {
            const Node& node = graph.nodes[i];
            const Box& box = boxes[i];
            const Point topLeft = toView({box.centre.x - box.size.width / 2, box.centre.y - box.size.height / 2});
            const Size size{box.size.width * scale, box.size.height * scale};
            renderer.drawRect(topLeft, size, ShapeStyle{1.0, 0, node.fill, black, true});
            drawLabels(node, topLeft, size, scale);
            if (node.id == selected) {
                const double gap = 4.0;
                renderer.drawRect({topLeft.x - gap, topLeft.y - gap}, {size.width + 2 * gap, size.height + 2 * gap},
                                  ShapeStyle{3.0, 0, black, selectionColour, false});
            }
        }
    }

    void resize(const Size& size) override { view = size; }

    void update() override
    {
        zoomFactor = 1.0;
        pan = {0.0, 0.0};
        fit();
    }

    void cancel() override
    {
        if (pressed && panning)
            pan = panAtPress;
        pressed = false;
        panning = false;
    }

    void arrange() override
    {
        indexNodes();
        std::vector<Size> sizes;
        for (std::size_t i = 0; i < graph.nodes.size(); ++i)
            sizes.push_back(boxSize(graph.nodes[i], i));
        std::vector<std::pair<std::size_t, std::size_t>> links;
        for (const Edge& edge : graph.edges) {
            const auto from = nodeIndex.find(edge.from), to = nodeIndex.find(edge.to);
            if (from != nodeIndex.end() && to != nodeIndex.end())
                links.emplace_back(from->second, to->second);
        }
        std::vector<Point> centres;
        try {
            const double aspect = view.width > 0.0 && view.height > 0.0 ? view.height / view.width : 0.0;
            centres = arrangeBoxes(sizes, links, aspect);
        } catch (const std::exception&) {
            centres = arrangeInGrid(sizes);
        }
        boxes.clear();
        for (std::size_t i = 0; i < sizes.size(); ++i)
            boxes.push_back({centres[i], sizes[i]});
        update();
    }

    // Nothing to prepare: everything the frame needs is measured in draw,
    // where the renderer can measure text.
    void beginFrame() override {}

    void graphChanged() override
    {
        labelsMeasured = false;
        labelSizes.clear();
        boxes.clear();
        indexNodes();
        if (nodeIndex.find(selected) == nodeIndex.end())
            selected = -1;
    }

    int hitTest(const Point& point) override
    {
        if (boxes.size() != graph.nodes.size())
            return -1;
        const double scale = viewScale();
        for (std::size_t i = boxes.size(); i-- > 0;) {
            const Box& box = boxes[i];
            const Point centre = toView(box.centre);
            if (std::fabs(point.x - centre.x) <= box.size.width * scale / 2 &&
                std::fabs(point.y - centre.y) <= box.size.height * scale / 2)
                return static_cast<int>(graph.nodes[i].id);
        }
        return -1;
    }

    void selectNode(const int& id) override { selected = nodeIndex.count(id) ? id : -1; }

private:
    void indexNodes()
    {
        nodeIndex.clear();
        for (std::size_t i = 0; i < graph.nodes.size(); ++i)
            nodeIndex.emplace(graph.nodes[i].id, i);
    }

    // Measures every node's labels at their natural size. False while the
    // renderer cannot measure (outside a paint); then the next draw tries again.
    bool measureLabels()
    {
        std::vector<Size> sizes;
        bool measured = true;
        for (const Node& node : graph.nodes) {
            Size block;
            for (const auto& label : node.labels) {
                if (!label)
                    continue;
                const Size size = label->measure(renderer, 1.0);
                if (size.width <= 0.0 && size.height <= 0.0)
                    measured = false;
                block.width = std::max(block.width, size.width);
                block.height += size.height;
            }
            sizes.push_back(block);
        }
        if (!measured)
            return false;
        labelSizes = std::move(sizes);
        labelsMeasured = true;
        return true;
    }

    Size boxSize(const Node& node, std::size_t index) const
    {
        Size size{std::max(node.size.width, 1.0), std::max(node.size.height, 1.0)};
        if (index < labelSizes.size() && !node.labels.empty()) {
            size.width = std::max(size.width, labelSizes[index].width + 2 * labelPadding);
            size.height = std::max(size.height, labelSizes[index].height + 2 * labelPadding);
        }
        return size;
    }

    void drawLabels(const Node& node, const Point& topLeft, const Size& size, double scale)
    {
        std::vector<Size> sizes;
        double blockHeight = 0.0;
        for (const auto& label : node.labels) {
            sizes.push_back(label ? label->measure(renderer, scale) : Size{});
            blockHeight += sizes.back().height;
        }
        double y = topLeft.y + (size.height - blockHeight) / 2;
        for (std::size_t i = 0; i < node.labels.size(); ++i) {
            if (node.labels[i])
                node.labels[i]->draw(renderer, {topLeft.x + (size.width - sizes[i].width) / 2, y}, scale);
            y += sizes[i].height;
        }
    }

    // Chooses the scale and centre that fit every box into the view.
    void fit()
    {
        if (boxes.empty()) {
            fitScale = 1.0;
            graphCentre = {0.0, 0.0};
            return;
        }
        double minX = boxes.front().centre.x, maxX = minX, minY = boxes.front().centre.y, maxY = minY;
        for (const Box& box : boxes) {
            minX = std::min(minX, box.centre.x - box.size.width / 2);
            maxX = std::max(maxX, box.centre.x + box.size.width / 2);
            minY = std::min(minY, box.centre.y - box.size.height / 2);
            maxY = std::max(maxY, box.centre.y + box.size.height / 2);
        }
        graphCentre = {(minX + maxX) / 2, (minY + maxY) / 2};
        const double availableWidth = view.width - 2 * viewMargin;
        const double availableHeight = view.height - 2 * viewMargin;
        // A view too small to hold a margin keeps the scale it had.
        if (availableWidth <= 0.0 || availableHeight <= 0.0)
            return;
        fitScale = std::min({availableWidth / (maxX - minX), availableHeight / (maxY - minY), maxFitScale});
    }

    double viewScale() const { return fitScale * zoomFactor; }

    Point toView(const Point& p) const
    {
        const double scale = viewScale();
        return {view.width / 2 + (p.x - graphCentre.x) * scale + pan.x,
                view.height / 2 + (p.y - graphCentre.y) * scale + pan.y};
    }

    Renderer& renderer;
    Graph& graph;
    std::unordered_map<std::int64_t, std::size_t> nodeIndex; // node id to its position in the list
    std::vector<Box> boxes;       // one per node, in node order, once arranged
    std::vector<Size> labelSizes; // each node's label block at the natural size
    bool labelsMeasured = false;
    Size view;
    Point graphCentre;
    double fitScale = 1.0;
    double zoomFactor = 1.0;
    Point pan; // pixels, added after scaling
    std::int64_t selected = -1;
    bool pressed = false;
    bool panning = false; // the press began on empty space
    bool moved = false;   // the press moved beyond a click
    Point pressPoint;
    Point panAtPress;
};

} // namespace

std::shared_ptr<Controller> createDefaultController(Renderer& renderer, Graph& graph)
{
    return std::make_shared<DefaultController>(renderer, graph);
}

} // namespace diagram
