#pragma once

#include <wx/ribbon/bar.h>
#include <wx/weakref.h>

#include <functional>
#include <vector>

// Binds a window's handlers on the ribbon bar and unbinds every one of them
// when the binder is destroyed, so that no handler outlives its window.
// Binding the same handler for the same event and id again moves it in
// front of the other bindings (the handler bound last runs first) instead of
// adding a second one: a click reaches it once.
class RibbonBinder {
public:
    RibbonBinder() = default;
    RibbonBinder(const RibbonBinder&) = delete;
    RibbonBinder& operator=(const RibbonBinder&) = delete;
    ~RibbonBinder() { unbindAll(); }

    template <class EventTag, class Class, class EventArg, class Handler>
    void bind(wxRibbonBar* ribbonBar, const EventTag& eventType, int id, void (Class::*method)(EventArg&),
              Handler* handler)
    {
        if (!ribbonBar)
            return;
        const bool wasBound = ribbonBar->Unbind(eventType, method, handler, id);
        ribbonBar->Bind(eventType, method, handler, id);
        if (wasBound)
            return;
        wxWeakRef<wxRibbonBar> bar(ribbonBar);
        unbinders.push_back([bar, eventType, method, handler, id] {
            if (bar)
                bar->Unbind(eventType, method, handler, id);
        });
    }

    void unbindAll()
    {
        for (auto& unbind : unbinders)
            unbind();
        unbinders.clear();
    }

private:
    std::vector<std::function<void()>> unbinders;
};
