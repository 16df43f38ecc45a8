#pragma once

#include <wx/event.h>
#include <wx/string.h>
#include <wx/thread.h>

#include <vector>

// One place found by the place search.
struct GeocodeResult {
    wxString displayName;
    double lat = 0.0;
    double lon = 0.0;
};

// Sends one search to the place-search service, stores the places found in
// the dialog's result list (under the dialog's mutex) and queues
// EVT_GEOCODE_DONE to the dialog unless it was asked to stop. The event's
// int is the search number it was started with; its string is empty after
// a successful search and the reason of the failure otherwise. Joinable.
class GeocodeDownloader : public wxThread {
public:
    GeocodeDownloader(wxEvtHandler* dialog, const wxString& query, wxMutex* mutex,
                      std::vector<GeocodeResult>* results, int searchNumber = 0);
    ~GeocodeDownloader() override;

protected:
    ExitCode Entry() override;

private:
    wxEvtHandler* dialog;                 // not owned
    wxString query;                       // the search text
    wxMutex* mutex;                       // the dialog's; not owned
    std::vector<GeocodeResult>* results;  // the dialog's; not owned
    int searchNumber;
};
