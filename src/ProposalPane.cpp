#include "ProposalPane.h"

#include "AppState.h"

#include "model/Proposal.h"

#include <wx/sizer.h>
#include <wx/stattext.h>

ProposalPane::ProposalPane(wxWindow* parent, wxRibbonBar* ribbonBar, ProjectPane* projectPane,
                           const std::shared_ptr<bg::Proposal>& proposal)
    : KovraPage(parent, RIBBON_PAGE_PROPOSAL), proposal(proposal), projectPane(projectPane)
{
    getAppState().registerPage(proposal, this);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(new wxStaticText(this, wxID_ANY, "Proposal " + wxString::FromUTF8(proposal->name)), 0, wxALL, 10);
    SetSizer(sizer);
    bindRibbonEvents(ribbonBar);
}

ProposalPane::~ProposalPane()
{
    getAppState().registerPage(proposal, nullptr);
}

void ProposalPane::bindRibbonEvents(wxRibbonBar*) {}
