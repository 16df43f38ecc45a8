#pragma once

class wxRibbonBar;

// Lets the main window have a workspace page connect the buttons of its
// ribbon page. The main window calls it on every newly selected page.
class RibbonEventHandler {
public:
    virtual ~RibbonEventHandler() = default;

    // Binds, on the ribbon bar, the page's click and update-UI handlers for
    // the command ids of its ribbon page (not those the main window handles).
    virtual void bindRibbonEvents(wxRibbonBar* ribbonBar) = 0;
};
