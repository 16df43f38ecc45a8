#pragma once

#include <wx/panel.h>

class wxDataViewListCtrl;

// The report pane docked hidden at the bottom of the main window: a table
// for values of proposals and a refresh button. Nothing fills the table or
// reacts to the button yet.
class ReportPane : public wxPanel {
public:
    enum { ID_REPORT_PANE = 20043, ID_REPORT_TABLE = 20044, ID_REPORT_REFRESH = 20045 };

    explicit ReportPane(wxWindow* parent);
    ~ReportPane() override;

    wxDataViewListCtrl* table = nullptr;
};
