#pragma once

#include <wx/event.h>

#include <memory>

// Every custom event type of the application, registered once during static
// initialisation. Windows, dialogs and worker threads never call each other
// across their borders; they post these events, and the receiver handles them
// later on the GUI thread. An event about a model object carries a plain
// pointer to it as client data; the handler regains shared ownership through
// the object's shared_from_this.

// Project tree to main window: open or activate the object's page.
wxDECLARE_EVENT(EVT_OPEN_BUILDING, wxCommandEvent);
wxDECLARE_EVENT(EVT_OPEN_REQUIREMENT_SET, wxCommandEvent);
wxDECLARE_EVENT(EVT_OPEN_PROPOSAL, wxCommandEvent);
wxDECLARE_EVENT(EVT_OPEN_SITE, wxCommandEvent);

// Project tree to main window: the object was deleted; close its page.
wxDECLARE_EVENT(EVT_BUILDING_DELETED, wxCommandEvent);
wxDECLARE_EVENT(EVT_REQUIREMENT_SET_DELETED, wxCommandEvent);
wxDECLARE_EVENT(EVT_PROPOSAL_DELETED, wxCommandEvent);
wxDECLARE_EVENT(EVT_SITE_DELETED, wxCommandEvent);

// Project tree to main window: the object was renamed; retitle its page.
wxDECLARE_EVENT(EVT_BUILDING_NAME_CHANGED, wxCommandEvent);
wxDECLARE_EVENT(EVT_REQUIREMENT_SET_NAME_CHANGED, wxCommandEvent);
wxDECLARE_EVENT(EVT_PROPOSAL_NAME_CHANGED, wxCommandEvent);
wxDECLARE_EVENT(EVT_SITE_NAME_CHANGED, wxCommandEvent);

// Project tree to main window: show a ribbon page.
wxDECLARE_EVENT(EVT_SHOW_PROJECT_RIBBON, wxCommandEvent);
wxDECLARE_EVENT(EVT_SHOW_BUILDING_RIBBON, wxCommandEvent);
wxDECLARE_EVENT(EVT_SHOW_REQUIREMENTS_RIBBON, wxCommandEvent);
wxDECLARE_EVENT(EVT_SHOW_PROPOSAL_RIBBON, wxCommandEvent);
wxDECLARE_EVENT(EVT_SHOW_SITE_RIBBON, wxCommandEvent);

// Project tree's context menu to main window: run a new-object command.
wxDECLARE_EVENT(EVT_NEW_BUILDING, wxCommandEvent);
wxDECLARE_EVENT(EVT_NEW_REQUIREMENT_SET, wxCommandEvent);
wxDECLARE_EVENT(EVT_IMPORT_REQUIREMENT_SET, wxCommandEvent);
wxDECLARE_EVENT(EVT_NEW_PROPOSAL, wxCommandEvent);
wxDECLARE_EVENT(EVT_NEW_SITE, wxCommandEvent);

// To the project tree: the open project was replaced; rebuild the tree.
wxDECLARE_EVENT(EVT_PROJECT_CHANGED, wxCommandEvent);
// Platform dialog to main window: a project was opened from the platform.
wxDECLARE_EVENT(EVT_PROJECT_LOADED, wxCommandEvent);

// Main window to project tree: append the new object's item.
wxDECLARE_EVENT(EVT_BUILDING_ADDED, wxCommandEvent);
wxDECLARE_EVENT(EVT_REQUIREMENT_SET_ADDED, wxCommandEvent);
wxDECLARE_EVENT(EVT_PROPOSAL_ADDED, wxCommandEvent);
wxDECLARE_EVENT(EVT_SITE_ADDED, wxCommandEvent);

// The optimiser. None but the progress carries data: receivers read the
// state from the Layouter, the proposal and the solution history.
// After every solve slice, and once more after a stop; to the proposal page.
wxDECLARE_EVENT(EVT_OPTIMIZER_SLICE_DONE, wxCommandEvent);
// When the solve loop has ended; to the progress dialog.
wxDECLARE_EVENT(EVT_OPTIMIZER_THREAD_DONE, wxThreadEvent);
// After every solve slice, to the progress dialog; the payload is the
// SearchProgress the worker read.
wxDECLARE_EVENT(EVT_OPTIMIZER_PROGRESS, wxThreadEvent);
// When the user presses "Stop"; from the progress dialog to the page.
wxDECLARE_EVENT(EVT_OPTIMIZER_STOP, wxCommandEvent);
// After the worker thread has ended and been deleted; to the page.
wxDECLARE_EVENT(EVT_OPTIMIZER_FINISHED, wxCommandEvent);

// Diagram control to its parent, after a click or double click; the owner
// reads the control's selected node.
wxDECLARE_EVENT(EVT_DIAGRAM_NODE_SELECTED, wxCommandEvent);
wxDECLARE_EVENT(EVT_DIAGRAM_NODE_ACTIVATED, wxCommandEvent);

// Map-tile download thread to the map control: a tile was stored.
wxDECLARE_EVENT(EVT_TILE_LOADED, wxCommandEvent);
// Place-search thread to its dialog: the search ended and was not cancelled.
// The int is the dialog's number of the search; the string is empty after a
// successful search and says why otherwise.
wxDECLARE_EVENT(EVT_GEOCODE_DONE, wxThreadEvent);

// A command event about a model object that also holds a shared pointer to
// it, so the object lives until every copy of the event is gone, also when
// its last other owner let go before the handler ran (an object erased from
// the project). The handler sees a plain wxCommandEvent whose client data is
// the object's plain pointer.
class ModelObjectEvent : public wxCommandEvent {
public:
    ModelObjectEvent(wxEventType type, std::shared_ptr<void> object)
        : wxCommandEvent(type, 0), object(std::move(object))
    {
        SetClientData(this->object.get());
    }

    wxEvent* Clone() const override { return new ModelObjectEvent(*this); }

private:
    std::shared_ptr<void> object;
};

// Queues an event of the given type about object to target (dropped when
// target is null); the handler runs later on the GUI thread.
template <class T>
void postObjectEvent(wxEvtHandler* target, wxEventType type, const std::shared_ptr<T>& object)
{
    if (target)
        target->QueueEvent(new ModelObjectEvent(type, std::static_pointer_cast<void>(object)));
}

// Queues an event without payload to target (dropped when target is null).
void postEvent(wxEvtHandler* target, wxEventType type);

// The model object an object event is about, as the poster gave it.
template <class T>
T* eventObject(const wxCommandEvent& event)
{
    return static_cast<T*>(event.GetClientData());
}
