#pragma once

// The records of a diagram: labelled boxes (nodes) joined by straight lines
// (edges). The owner fills the node and edge lists; the controller
// (diagram/Controller.h) arranges, hit-tests and draws them.

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace diagram {

class Renderer;

// Pixels of the view, or units of the arranged graph; y grows downward.
struct Point {
    double x = 0.0;
    double y = 0.0;
};

struct Size {
    double width = 0.0;
    double height = 0.0;
};

// Components from 0 to 1.
struct Colour {
    double r = 0.0;
    double g = 0.0;
    double b = 0.0;
};

// Something shown inside a node's box, measured and drawn through the renderer.
class Widget {
public:
    virtual ~Widget() = default;
    // Measured and drawn at `scale` times the natural size; (0, 0) outside a
    // paint, where the renderer cannot measure text.
    virtual Size measure(Renderer& renderer, double scale) const = 0;
    virtual void draw(Renderer& renderer, const Point& topLeft, double scale) const = 0;
};

// A line of text of one point size.
class Label : public Widget {
public:
    Label(std::string text, int pointSize) : text(std::move(text)), pointSize(pointSize) {}

    Size measure(Renderer& renderer, double scale) const override;
    void draw(Renderer& renderer, const Point& topLeft, double scale) const override;

    const std::string text; // UTF-8
    const int pointSize;
};

class WidgetFactory {
public:
    std::shared_ptr<Widget> createLabel(const std::string& text, int size) const;
};

std::shared_ptr<WidgetFactory> createWidgetFactory();

struct Node {
    std::int64_t id = 0; // edges and hit tests name nodes by it
    Colour fill{1.0, 1.0, 1.0};
    // The owner's wish; the controller arranges the nodes itself.
    Point position;
    // The smallest box; a box grows to hold its labels.
    Size size{40.0, 40.0};
    std::vector<std::shared_ptr<Widget>> labels; // stacked top to bottom
};

struct Edge {
    double width = 1.0;
    std::int64_t from = 0; // node ids
    std::int64_t to = 0;
};

struct Graph {
    std::vector<Edge> edges;
    std::vector<Node> nodes;
    // Nested graphs by key; the controller shows the top level only.
    std::unordered_map<std::int64_t, std::pair<std::vector<Edge>, std::vector<Node>>> subgraphs;
};

// How the renderer strokes and fills one shape.
struct ShapeStyle {
    double width = 1.0;
    int dash = 0; // 0 solid, 1 dotted, 2 and 3 dot-dash; other values solid
    Colour fill;
    Colour stroke;
    bool filled = false;
};

} // namespace diagram
