#include "DiagramCtrl.h"

#include "shell/Events.h"

#include <wx/dcbuffer.h>
#include <wx/graphics.h>
#include <wx/log.h>

#include <exception>

namespace {

diagram::Point pointerOf(const wxMouseEvent& event)
{
    return {static_cast<double>(event.GetX()), static_cast<double>(event.GetY())};
}

} // namespace

double diagramZoomStep(int wheelRotation, int wheelDelta)
{
    if (wheelDelta == 0)
        return 0.0;
    return static_cast<double>(wheelRotation) / wheelDelta * 0.1;
}

DiagramCtrl::DiagramCtrl(wxWindow* parent) : eventTarget(parent)
{
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Create(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, 0, wxDefaultValidator, wxControlNameStr);
    renderer = std::make_shared<WxDiagramRenderer>(this);
    controller = diagram::createDefaultController(*renderer, graph);

    Bind(wxEVT_PAINT, &DiagramCtrl::onPaint, this);
    Bind(wxEVT_SIZE, &DiagramCtrl::onSize, this);
    Bind(wxEVT_LEFT_DOWN, &DiagramCtrl::onLeftDown, this);
    Bind(wxEVT_LEFT_UP, &DiagramCtrl::onLeftUp, this);
    Bind(wxEVT_MOTION, &DiagramCtrl::onMotion, this);
    Bind(wxEVT_MOUSEWHEEL, &DiagramCtrl::onMouseWheel, this);
    Bind(wxEVT_KEY_DOWN, &DiagramCtrl::onKeyDown, this);
    Bind(wxEVT_LEFT_DCLICK, &DiagramCtrl::onLeftDoubleClick, this);
}

DiagramCtrl::~DiagramCtrl()
{
    controller.reset();
}

void DiagramCtrl::update()
{
    controller->update();
    Refresh(false);
}

template <typename Work>
void DiagramCtrl::guarded(Work&& work)
{
    try {
        work();
    } catch (const std::exception& error) {
        wxLogWarning("Diagram: %s", wxString::FromUTF8(error.what()));
    }
}

void DiagramCtrl::onPaint(wxPaintEvent&)
{
    wxAutoBufferedPaintDC dc(this);
    render(dc);
}

void DiagramCtrl::render(wxDC& dc)
{
    std::unique_ptr<wxGraphicsContext> context(wxGraphicsContext::CreateFromUnknownDC(dc));
    if (!context)
        return;
    guarded([&] {
        controller->beginFrame();
        renderer->context = context.get();
        controller->draw();
    });
    renderer->context = nullptr;
}

void DiagramCtrl::onSize(wxSizeEvent&)
{
    guarded([&] {
        const wxSize client = GetClientSize();
        controller->resize({static_cast<double>(client.x), static_cast<double>(client.y)});
        controller->update();
    });
    Refresh(true);
}

void DiagramCtrl::onLeftDown(wxMouseEvent& event)
{
    guarded([&] {
        controller->cancel();
        controller->mouseDown(pointerOf(event));
    });
    SetFocus();
    Refresh(false);
}

void DiagramCtrl::onLeftUp(wxMouseEvent& event)
{
    guarded([&] {
        selectedNode = controller->hitTest(pointerOf(event));
        postEvent(eventTarget ? eventTarget->GetEventHandler() : nullptr, EVT_DIAGRAM_NODE_SELECTED);
        controller->mouseUp(pointerOf(event));
    });
    Refresh(false);
}

void DiagramCtrl::onMotion(wxMouseEvent& event)
{
    guarded([&] { controller->mouseMove(pointerOf(event)); });
    Refresh(false);
}

void DiagramCtrl::onMouseWheel(wxMouseEvent& event)
{
    guarded([&] { controller->zoom(diagramZoomStep(event.GetWheelRotation(), event.GetWheelDelta())); });
    Refresh(false);
}

void DiagramCtrl::onKeyDown(wxKeyEvent& event)
{
    if (event.GetKeyCode() != WXK_ESCAPE)
        return;
    guarded([&] { controller->cancel(); });
    Refresh(false);
}

void DiagramCtrl::onLeftDoubleClick(wxMouseEvent& event)
{
    guarded([&] {
        selectedNode = controller->hitTest(pointerOf(event));
        postEvent(eventTarget ? eventTarget->GetEventHandler() : nullptr, EVT_DIAGRAM_NODE_ACTIVATED);
    });
}
