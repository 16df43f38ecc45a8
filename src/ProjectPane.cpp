#include "ProjectPane.h"

#include <wx/dataview.h>
#include <wx/sizer.h>

ProjectPane::ProjectPane(wxWindow* parent)
    : wxPanel(parent, ID_PROJECT_PANE, wxDefaultPosition, wxSize(300, 300), wxTAB_TRAVERSAL, "Project Pane")
{
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    tree = new wxDataViewTreeCtrl(this, ID_PROJECT_TREE, wxDefaultPosition, wxDefaultSize,
                                  wxDV_NO_HEADER | wxDV_ROW_LINES);
    sizer->Add(tree, 1, wxEXPAND | wxALL, 5);
    SetSizer(sizer);
}

ProjectPane::~ProjectPane() = default;
