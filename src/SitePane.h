#pragma once

#include "KovraPage.h"
#include "RibbonEventHandler.h"

#include <memory>

namespace bg {
class Site;
}

// The workspace page of a site (a placeholder until the site page is
// there): shows the site's name and registers itself in the application
// state.
class SitePane : public KovraPage, public RibbonEventHandler {
public:
    SitePane(wxWindow* parent, wxRibbonBar* ribbonBar, const std::shared_ptr<bg::Site>& site);
    ~SitePane() override;

    void bindRibbonEvents(wxRibbonBar* ribbonBar) override;

    std::shared_ptr<bg::Site> site;
};
