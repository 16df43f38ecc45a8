#pragma once

#include <wx/ribbon/bar.h>
#include <wx/ribbon/buttonbar.h>

// The first button bar under window that carries the command id.
inline wxRibbonButtonBar* buttonBarWith(wxWindow* window, int id)
{
    if (auto* bar = dynamic_cast<wxRibbonButtonBar*>(window))
        return bar->GetItemById(id) ? bar : nullptr;
    for (wxWindow* child : window->GetChildren()) {
        if (auto* found = buttonBarWith(child, id))
            return found;
    }
    return nullptr;
}

// A click on the first button of id, sent as its button bar sends it; false
// when no button carries the id.
// A toggle button's click says whether it is now pressed (`checked`).
inline bool clickRibbon(wxRibbonBar* ribbonBar, int id, bool checked = false)
{
    wxRibbonButtonBar* bar = buttonBarWith(ribbonBar, id);
    if (!bar)
        return false;
    wxRibbonButtonBarEvent event(wxEVT_RIBBONBUTTONBAR_CLICKED, id, bar);
    event.SetEventObject(bar);
    event.SetInt(checked ? 1 : 0);
    bar->ProcessWindowEvent(event);
    return true;
}
