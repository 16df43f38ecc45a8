#pragma once

#include "GeocodeDownloader.h"

#include <wx/dialog.h>

class wxActivityIndicator;
class wxCommandEvent;
class wxListBox;
class wxSearchCtrl;
class wxStaticText;

enum {
    ID_GEOCODE_SEARCH_FIELD = 20201,
    ID_GEOCODE_SEARCH_BUTTON = 20202,
    ID_GEOCODE_RESULTS = 20203,
};

// Finds a place by name: each search runs on a GeocodeDownloader; the user
// picks one of the places listed, and after OK the caller reads
// chosenLatitude and chosenLongitude.
class GeocodeDialog : public wxDialog {
public:
    explicit GeocodeDialog(wxWindow* parent);
    ~GeocodeDialog() override;

    // Stops a search that still runs and starts one for text.
    void startSearch(const wxString& text);

    wxMutex resultsMutex;                // guards results
    std::vector<GeocodeResult> results;  // of the last search, in reply order
    bool resultChosen = false;           // once a row was selected; never reset
    double chosenLatitude = 0.0;
    double chosenLongitude = 0.0;
    GeocodeDownloader* downloader = nullptr; // owned

    wxSearchCtrl* searchField;
    wxListBox* resultList;
    wxStaticText* statusText;
    wxActivityIndicator* busyIndicator;

private:
    void onSearchDone(wxThreadEvent& event);
    void onSearch(wxCommandEvent& event);
    void onSearchEnter(wxCommandEvent& event);
    void onResultSelected(wxCommandEvent& event);
    void onAccept(wxCommandEvent& event);
    void onSearchButton(wxCommandEvent& event);
    void stopSearch();

    int searchNumber = 0; // of the search whose results count
};
