#pragma once

#include <wx/app.h>

class MainFrame;

class KovraApp : public wxApp {
public:
    bool OnInit() override;

    MainFrame* getMainFrame() const { return mainFrame; }

private:
    MainFrame* mainFrame = nullptr;
};

wxDECLARE_APP(KovraApp);

// Sets the C library's number formatting back to "C" after the GUI library
// took the user's locale, so that parsing and printf formats never follow it.
void useCNumbers();
