// GUI tests run with a real wx application object on the X display that the
// test command provides (Xvfb), in the folder resources/ as the application
// does, so that a missing image or text shows up here.
#include "KovraApp.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include <wx/app.h>
#include <wx/init.h>
#include <wx/utils.h>

namespace {
class TestApp : public wxApp {
public:
    bool OnInit() override
    {
        useCNumbers();
        SetAppName("KovraApp");
        return true;
    }
};
} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (!wxSetWorkingDirectory(KOVRA_SOURCE_DIR "/resources")) {
        std::fprintf(stderr, "cannot enter the resource folder %s\n", KOVRA_SOURCE_DIR "/resources");
        return 1;
    }
    wxApp::SetInstance(new TestApp);
    if (!wxEntryStart(argc, argv)) {
        const char* display = std::getenv("DISPLAY");
        std::fprintf(stderr, "cannot start the GUI library on the display \"%s\"\n", display ? display : "");
        return 1;
    }
    wxTheApp->CallOnInit();
    const int result = RUN_ALL_TESTS();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return result;
}
