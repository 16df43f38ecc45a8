#pragma once

#include "WxDiagramRenderer.h"

#include "diagram/Controller.h"
#include "diagram/Graph.h"

#include <wx/control.h>

#include <memory>

class wxDC;
class wxKeyEvent;
class wxMouseEvent;
class wxPaintEvent;
class wxSizeEvent;

// Shows a room graph through the diagram library: forwards mouse, wheel, key
// and size input to the controller, lets it draw while painting, and queues
// EVT_DIAGRAM_NODE_SELECTED (left button up) and EVT_DIAGRAM_NODE_ACTIVATED
// (double click) to its parent, which then reads selectedNode.
//
// The owner empties and refills graph's node and edge lists, then calls the
// controller's graphChanged and arrange.
class DiagramCtrl : public wxControl {
public:
    explicit DiagramCtrl(wxWindow* parent);
    ~DiagramCtrl() override;

    // Fits the graph to the view again and repaints.
    void update();
    // Lets the controller draw the graph on the DC, as a paint does.
    void render(wxDC& dc);

    diagram::Graph graph;
    // The controller refers to the renderer and the graph, so it is declared
    // after them and released first.
    std::shared_ptr<WxDiagramRenderer> renderer;
    std::shared_ptr<diagram::Controller> controller;
    // The node of the latest click or double click, -1 for none.
    int selectedNode = -1;
    wxWindow* eventTarget; // receives the node events

private:
    void onPaint(wxPaintEvent& event);
    void onSize(wxSizeEvent& event);
    void onLeftDown(wxMouseEvent& event);
    void onLeftUp(wxMouseEvent& event);
    void onMotion(wxMouseEvent& event);
    void onMouseWheel(wxMouseEvent& event);
    void onKeyDown(wxKeyEvent& event);
    void onLeftDoubleClick(wxMouseEvent& event);
    // Runs a handler's work; nothing it throws leaves the handler.
    template <typename Work>
    void guarded(Work&& work);
};

// The zoom step of a wheel event: 0.1 per notch, negative backwards.
double diagramZoomStep(int wheelRotation, int wheelDelta);
