#pragma once

#include "RibbonBinder.h"
#include "RibbonTable.h"

#include <wx/panel.h>

// The base of every workspace page in the main window's notebook (building,
// requirement set, proposal, site). A page derives from KovraPage first and
// RibbonEventHandler second:
//
//   class ProposalPane : public KovraPage, public RibbonEventHandler {
//       ProposalPane(wxWindow* notebook, ...) : KovraPage(notebook, RIBBON_PAGE_PROPOSAL) {...}
//       void bindRibbonEvents(wxRibbonBar* bar) override
//       {
//           bindRibbon(bar, wxEVT_RIBBONBUTTONBAR_CLICKED, ID_LAYOUT_START, &ProposalPane::onStart);
//           bindRibbon(bar, wxEVT_UPDATE_UI, ID_LAYOUT_START, &ProposalPane::onUpdateStart);
//       }
//   };
class KovraPage : public wxPanel {
public:
    KovraPage(wxWindow* parent, RibbonPage ribbonPage, wxWindowID id = wxID_ANY);
    ~KovraPage() override;

    // The ribbon page the main window shows while this page is selected.
    int ribbonPage;

protected:
    // Binds a handler of this page on the ribbon bar; the binding is removed
    // when the page is destroyed, and binding it again does not double it.
    template <class EventTag, class Class, class EventArg>
    void bindRibbon(wxRibbonBar* ribbonBar, const EventTag& eventType, int id, void (Class::*method)(EventArg&))
    {
        ribbonBinder.bind(ribbonBar, eventType, id, method, static_cast<Class*>(this));
    }

private:
    RibbonBinder ribbonBinder;
};
