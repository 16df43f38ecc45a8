#include "KovraApp.h"

#include <wx/debug.h>

// The application entry: assertions of the GUI library are switched off in
// the shipped program.
wxIMPLEMENT_APP_NO_MAIN(KovraApp);

int main(int argc, char** argv)
{
    wxSetAssertHandler(nullptr);
    return wxEntry(argc, argv);
}
