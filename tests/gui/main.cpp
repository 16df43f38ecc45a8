// GUI tests run with a real wx application object on the X display that the
// test command provides (Xvfb), in the folder resources/ as the application
// does, so that a missing image or text shows up here.
#include "shell/KovraApp.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

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

// A test program that cannot open the display starts itself again a few
// times: with many test programs connecting at once, the virtual display now
// and then refuses one. A fresh process is the clean way to retry, since the
// GUI library's start cannot be repeated within one process.
[[noreturn]] void startAgainOrGiveUp(char** originalArgv)
{
    const char* tries = std::getenv("KOVRA_GUI_START_TRY");
    const int tried = tries ? std::atoi(tries) : 0;
    const char* display = std::getenv("DISPLAY");
    std::fprintf(stderr, "cannot start the GUI library on the display \"%s\" (try %d)\n", display ? display : "",
                 tried + 1);
    if (tried + 1 < 5) {
        setenv("KOVRA_GUI_START_TRY", std::to_string(tried + 1).c_str(), 1);
        std::this_thread::sleep_for(std::chrono::milliseconds(500 * (tried + 1)));
        execv("/proc/self/exe", originalArgv);
    }
    std::exit(1);
}

int main(int argc, char** argv)
{
    std::vector<char*> originalArgv(argv, argv + argc);
    originalArgv.push_back(nullptr);
    ::testing::InitGoogleTest(&argc, argv);
    if (!wxSetWorkingDirectory(KOVRA_SOURCE_DIR "/resources")) {
        std::fprintf(stderr, "cannot enter the resource folder %s\n", KOVRA_SOURCE_DIR "/resources");
        return 1;
    }
    wxApp::SetInstance(new TestApp);
    if (!wxEntryStart(argc, argv))
        startAgainOrGiveUp(originalArgv.data());
    wxTheApp->CallOnInit();
    const int result = RUN_ALL_TESTS();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return result;
}
