#pragma once

#include "KovraPage.h"
#include "RibbonEventHandler.h"

#include <memory>

class ProjectPane;

namespace bg {
class Building;
}

// The workspace page of a building (a placeholder until the building editor
// is there): shows the building's name and registers itself in the
// application state.
class BuildingPane : public KovraPage, public RibbonEventHandler {
public:
    BuildingPane(wxWindow* parent, ProjectPane* projectPane, wxRibbonBar* ribbonBar,
                 const std::shared_ptr<bg::Building>& building);
    ~BuildingPane() override;

    void bindRibbonEvents(wxRibbonBar* ribbonBar) override;

    std::shared_ptr<bg::Building> building;
    ProjectPane* projectPane;
};
