#include "KovraApp.h"

#include "MainFrame.h"

#include <wx/log.h>

bool KovraApp::OnInit()
{
    SetAppName("KovraApp");
    wxLog::SetLogLevel(wxLOG_Info);
    mainFrame = new MainFrame(nullptr, wxID_ANY, "Kovra Floorsmith");
    mainFrame->Show(true);
    mainFrame->Centre();
    return true;
}
