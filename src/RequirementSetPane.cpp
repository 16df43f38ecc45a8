#include "RequirementSetPane.h"

#include "AppState.h"

#include "model/Requirement.h"

#include <wx/sizer.h>
#include <wx/stattext.h>

RequirementSetPane::RequirementSetPane(wxWindow* parent, wxRibbonBar* ribbonBar,
                                       const std::shared_ptr<bg::RequirementSet>& requirementSet,
                                       const std::shared_ptr<bg::Building>& building)
    : KovraPage(parent, RIBBON_PAGE_REQUIREMENTS), requirementSet(requirementSet), building(building)
{
    getAppState().registerPage(requirementSet, this);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(new wxStaticText(this, wxID_ANY, "Requirement set " + wxString::FromUTF8(requirementSet->name)), 0,
               wxALL, 10);
    SetSizer(sizer);
    bindRibbonEvents(ribbonBar);
}

RequirementSetPane::~RequirementSetPane()
{
    getAppState().registerPage(requirementSet, nullptr);
}

void RequirementSetPane::bindRibbonEvents(wxRibbonBar*) {}
