#pragma once

#include "shell/KovraPage.h"
#include "shell/RibbonEventHandler.h"

#include <memory>
#include <vector>

namespace bg {
class Building;
class Site;
} // namespace bg

class SiteEditorCtrl;
class wxCommandEvent;
class wxRibbonButtonBarEvent;
class wxUpdateUIEvent;

// The workspace page of a site: a map on which the user places the site,
// chooses its building, finds its place by name and turns the building.
class SitePane : public KovraPage, public RibbonEventHandler {
public:
    SitePane(wxWindow* parent, wxRibbonBar* ribbonBar, const std::shared_ptr<bg::Site>& site);
    ~SitePane() override;

    void bindRibbonEvents(wxRibbonBar* ribbonBar) override;

    // The handlers of the ribbon page "Site".
    void onClickExportGpx(wxRibbonButtonBarEvent& event);
    void onClickTranslateBuilding(wxRibbonButtonBarEvent& event);
    void onClickTranslateMap(wxRibbonButtonBarEvent& event);
    void onClickZoomIn(wxRibbonButtonBarEvent& event);
    void onClickZoomOut(wxRibbonButtonBarEvent& event);
    void onClickAddBuilding(wxRibbonButtonBarEvent& event);
    void onClickSearchLocation(wxRibbonButtonBarEvent& event);
    void onClickSetOrientation(wxRibbonButtonBarEvent& event);
    void onUpdateTranslate(wxUpdateUIEvent& event);

    std::shared_ptr<bg::Site> site;
    SiteEditorCtrl* map;
    std::vector<std::shared_ptr<bg::Building>> buildingChoices; // offered by the last "Add building"
    wxRibbonBar* ribbonBar;
};
