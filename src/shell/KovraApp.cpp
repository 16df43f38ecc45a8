#include "KovraApp.h"

#include "MainFrame.h"

#include <wx/log.h>

#include <clocale>

bool KovraApp::OnInit()
{
    // GTK set the locale from the environment when the library started.
    useCNumbers();
    SetAppName("KovraApp");
    wxLog::SetLogLevel(wxLOG_Info);
    mainFrame = new MainFrame();
    mainFrame->Show(true);
    mainFrame->Centre(wxBOTH);
    SetTopWindow(mainFrame);
    return true;
}

void useCNumbers()
{
    std::setlocale(LC_NUMERIC, "C");
}
