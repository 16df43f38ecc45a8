#pragma once

// Arranges, hit-tests and draws a Graph through a Renderer, and turns the
// view's mouse, wheel and size input into panning, zooming and selection.
// The controller keeps references to both: they must outlive it.
//
// A view that refilled the graph calls graphChanged, then arrange; the next
// draw shows exactly those nodes, labels and edges. Text can be measured
// only while the renderer paints, so the boxes take their label sizes at the
// first draw after a change, and the graph is arranged again then.
//
// GUI thread only: the arrangement uses a library with global state.

#include "diagram/Graph.h"

#include <memory>

namespace diagram {

class Controller {
public:
    virtual ~Controller() = default;

    // A press on empty space starts panning the view.
    virtual void mouseDown(const Point& point) = 0;
    // A press and release without dragging selects the node under it (or none).
    virtual void mouseUp(const Point& point) = 0;
    virtual void mouseMove(const Point& point) = 0;
    // Changes the zoom factor by `delta` (0.1 per wheel notch) about the
    // view's centre; the factor stays between 0.1 and 10.
    virtual void zoom(double delta) = 0;
    virtual void draw() = 0;
    virtual void resize(const Size& size) = 0;
    // Fits the arranged graph to the view again.
    virtual void update() = 0;
    // Ends the interaction that a pressed button began.
    virtual void cancel() = 0;
    virtual void arrange() = 0;
    // Called at the start of every paint, before draw.
    virtual void beginFrame() = 0;
    virtual void graphChanged() = 0;
    // The id of the node whose box holds the point (the top one where boxes
    // meet), or -1.
    virtual int hitTest(const Point& point) = 0;
    // Marks the node as selected; an id naming no node clears the mark.
    virtual void selectNode(const int& id) = 0;
};

std::shared_ptr<Controller> createDefaultController(Renderer& renderer, Graph& graph);

} // namespace diagram
