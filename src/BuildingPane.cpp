#include "BuildingPane.h"

#include "AppState.h"

#include "model/Building.h"

#include <wx/sizer.h>
#include <wx/stattext.h>

BuildingPane::BuildingPane(wxWindow* parent, ProjectPane* projectPane, wxRibbonBar* ribbonBar,
                           const std::shared_ptr<bg::Building>& building)
    : KovraPage(parent, RIBBON_PAGE_BUILDING), building(building), projectPane(projectPane)
{
    getAppState().registerPage(building, this);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(new wxStaticText(this, wxID_ANY, "Building " + wxString::FromUTF8(building->name)), 0, wxALL, 10);
    SetSizer(sizer);
    bindRibbonEvents(ribbonBar);
}

BuildingPane::~BuildingPane()
{
    getAppState().registerPage(building, nullptr);
}

void BuildingPane::bindRibbonEvents(wxRibbonBar*) {}
