#pragma once

#include "KovraPage.h"
#include "RibbonEventHandler.h"

#include <memory>

class ProjectPane;

namespace bg {
class Proposal;
}

// The workspace page of a proposal (a placeholder until the proposal page
// is there): shows the proposal's name and registers itself in the
// application state.
class ProposalPane : public KovraPage, public RibbonEventHandler {
public:
    ProposalPane(wxWindow* parent, wxRibbonBar* ribbonBar, ProjectPane* projectPane,
                 const std::shared_ptr<bg::Proposal>& proposal);
    ~ProposalPane() override;

    void bindRibbonEvents(wxRibbonBar* ribbonBar) override;

    std::shared_ptr<bg::Proposal> proposal;
    ProjectPane* projectPane;
};
