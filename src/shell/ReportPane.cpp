#include "ReportPane.h"

#include <wx/button.h>
#include <wx/dataview.h>
#include <wx/sizer.h>

ReportPane::ReportPane(wxWindow* parent)
    : wxPanel(parent, ID_REPORT_PANE, wxDefaultPosition, wxSize(500, 300), wxTAB_TRAVERSAL)
{
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    table = new wxDataViewListCtrl(this, ID_REPORT_TABLE, wxDefaultPosition, wxDefaultSize, wxDV_ROW_LINES);
    const auto flags = wxDATAVIEW_COL_RESIZABLE;
    table->AppendIconTextColumn("Proposal", wxDATAVIEW_CELL_INERT, 250, wxALIGN_LEFT, flags);
    table->AppendTextColumn("Name", wxDATAVIEW_CELL_INERT, 500, wxALIGN_LEFT, flags);
    table->AppendTextColumn("Value", wxDATAVIEW_CELL_INERT, 70, wxALIGN_LEFT, flags);
    table->AppendTextColumn("Description", wxDATAVIEW_CELL_INERT, 250, wxALIGN_LEFT, flags);
    sizer->Add(table, 0, wxEXPAND | wxALL, 5);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    auto* refresh = new wxButton(this, ID_REPORT_REFRESH, "Refresh");
    refresh->SetDefault();
    buttons->Add(refresh);
    sizer->Add(buttons, 0, wxEXPAND | wxALL, 5);
    SetSizer(sizer);
    Layout();
}

ReportPane::~ReportPane() = default;
