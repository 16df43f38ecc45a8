#include "GeocodeDialog.h"

#include "shell/Events.h"
#include "shell/JoinedThread.h"

#include <wx/activityindicator.h>
#include <wx/button.h>
#include <wx/intl.h>
#include <wx/listbox.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/srchctrl.h>
#include <wx/stattext.h>

GeocodeDialog::GeocodeDialog(wxWindow* parent)
    : wxDialog(parent, wxID_ANY, "Geocode Dialog", wxDefaultPosition, wxDefaultSize, wxDEFAULT_DIALOG_STYLE)
{
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    auto* searchRow = new wxBoxSizer(wxHORIZONTAL);
    searchField = new wxSearchCtrl(this, ID_GEOCODE_SEARCH_FIELD, "", wxDefaultPosition, wxDefaultSize,
                                   wxTE_PROCESS_ENTER);
    searchField->ShowSearchButton(true);
    searchField->ShowCancelButton(false);
    searchRow->Add(searchField, 1, wxEXPAND | wxALL, 5);
    searchRow->Add(new wxButton(this, ID_GEOCODE_SEARCH_BUTTON, _("Search")), 0, wxALL, 5);
    busyIndicator = new wxActivityIndicator(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, 0,
                                            "activityindicator");
    searchRow->Add(busyIndicator, 0, wxEXPAND | wxALL, 5);
    sizer->Add(searchRow, 0, wxEXPAND | wxALL, 5);
    statusText = new wxStaticText(this, wxID_ANY, "");
    sizer->Add(statusText, 0, wxALL, 5);
    resultList = new wxListBox(this, ID_GEOCODE_RESULTS, wxDefaultPosition, wxDefaultSize, 0, nullptr, wxLB_SINGLE);
    sizer->Add(resultList, 1, wxEXPAND | wxALL, 5);
    auto* buttons = new wxStdDialogButtonSizer();
    buttons->AddButton(new wxButton(this, wxID_CANCEL));
    auto* accept = new wxButton(this, wxID_OK);
    accept->SetDefault(); // Enter in the search field searches, elsewhere it accepts
    buttons->AddButton(accept);
    buttons->Realize();
    sizer->Add(buttons, 0, wxEXPAND | wxALL, 5);
    SetSizer(sizer);
    SetSize(640, 480);
    Centre(wxBOTH);

    Bind(EVT_GEOCODE_DONE, &GeocodeDialog::onSearchDone, this);
    Bind(wxEVT_SEARCH, &GeocodeDialog::onSearch, this);
    Bind(wxEVT_TEXT_ENTER, &GeocodeDialog::onSearchEnter, this, ID_GEOCODE_SEARCH_FIELD);
    Bind(wxEVT_LISTBOX, &GeocodeDialog::onResultSelected, this);
    Bind(wxEVT_BUTTON, &GeocodeDialog::onAccept, this, wxID_OK);
    Bind(wxEVT_BUTTON, &GeocodeDialog::onSearchButton, this, ID_GEOCODE_SEARCH_BUTTON);
    Bind(wxEVT_LISTBOX_DCLICK, &GeocodeDialog::onAccept, this, ID_GEOCODE_RESULTS);
}

GeocodeDialog::~GeocodeDialog()
{
    stopSearch();
}

void GeocodeDialog::stopSearch()
{
    stopAndJoin(downloader);
}

void GeocodeDialog::startSearch(const wxString& text)
{
    resultList->Clear();
    stopSearch();
    busyIndicator->Start();
    ++searchNumber;
    downloader = new GeocodeDownloader(this, text, &resultsMutex, &results, searchNumber);
    if (downloader->Run() != wxTHREAD_NO_ERROR) {
        delete downloader;
        downloader = nullptr;
        busyIndicator->Stop();
        statusText->SetLabel("The search failed: no thread could be started");
    }
}

void GeocodeDialog::onSearchDone(wxThreadEvent& event)
{
    if (event.GetInt() != searchNumber)
        return; // the answer of a search that was replaced meanwhile
    busyIndicator->Stop();
    resultList->Clear();
    wxMutexLocker lock(resultsMutex);
    if (!event.GetString().empty())
        statusText->SetLabel("The search failed: " + event.GetString());
    else if (results.empty())
        statusText->SetLabel("The search did not match any locations.");
    else
        statusText->SetLabel("");
    for (GeocodeResult& result : results)
        resultList->Append(result.displayName, &result);
}

void GeocodeDialog::onSearch(wxCommandEvent& event)
{
    startSearch(event.GetString());
}

void GeocodeDialog::onSearchEnter(wxCommandEvent& event)
{
    startSearch(event.GetString());
}

void GeocodeDialog::onSearchButton(wxCommandEvent&)
{
    startSearch(searchField->GetValue());
}

void GeocodeDialog::onResultSelected(wxCommandEvent&)
{
    const int row = resultList->GetSelection();
    if (row == wxNOT_FOUND)
        return;
    const auto* result = static_cast<const GeocodeResult*>(resultList->GetClientData(row));
    if (!result)
        return;
    chosenLatitude = result->lat;
    chosenLongitude = result->lon;
    resultChosen = true;
}

void GeocodeDialog::onAccept(wxCommandEvent&)
{
    if (resultChosen)
        EndModal(wxID_OK);
    else
        wxMessageBox("Select a result first", wxMessageBoxCaptionStr, wxOK | wxCENTRE, this);
}
