#include "SitePane.h"

#include "AppState.h"

#include "model/Site.h"

#include <wx/sizer.h>
#include <wx/stattext.h>

SitePane::SitePane(wxWindow* parent, wxRibbonBar* ribbonBar, const std::shared_ptr<bg::Site>& site)
    : KovraPage(parent, RIBBON_PAGE_SITE), site(site)
{
    getAppState().registerPage(site, this);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(new wxStaticText(this, wxID_ANY, "Site " + wxString::FromUTF8(site->name)), 0, wxALL, 10);
    SetSizer(sizer);
    bindRibbonEvents(ribbonBar);
}

SitePane::~SitePane()
{
    getAppState().registerPage(site, nullptr);
}

void SitePane::bindRibbonEvents(wxRibbonBar*) {}
