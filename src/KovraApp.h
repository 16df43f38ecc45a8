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
