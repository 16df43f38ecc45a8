#pragma once

#include "KovraPage.h"
#include "RibbonEventHandler.h"

#include <memory>

class ProjectPane;

namespace KovraClient {
class cKovraClient;
}

namespace bg {
class Building;
class RequirementSet;
} // namespace bg

// The workspace page of a requirement set (a placeholder until the set's
// editor is there): shows the set's name and registers itself in the
// application state.
class RequirementSetPane : public KovraPage, public RibbonEventHandler {
public:
    RequirementSetPane(wxWindow* parent, wxRibbonBar* ribbonBar, const std::shared_ptr<bg::RequirementSet>& requirementSet,
                       const std::shared_ptr<bg::Building>& building);
    ~RequirementSetPane() override;

    void bindRibbonEvents(wxRibbonBar* ribbonBar) override;

    std::shared_ptr<bg::RequirementSet> requirementSet;
    // The project's first building when the page was opened; may be empty.
    std::shared_ptr<bg::Building> building;
    // Set by the main window after construction.
    KovraClient::cKovraClient* client = nullptr;
    ProjectPane* projectPane = nullptr;
};
