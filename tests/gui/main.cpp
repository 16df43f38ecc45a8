// GUI tests run with a real wx application object on the X display that the
// test command provides (Xvfb).
#include <gtest/gtest.h>

#include <wx/app.h>
#include <wx/init.h>

namespace {
class TestApp : public wxApp {
public:
    bool OnInit() override { return true; }
};
} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    wxApp::SetInstance(new TestApp);
    if (!wxEntryStart(argc, argv))
        return 1;
    wxTheApp->CallOnInit();
    const int result = RUN_ALL_TESTS();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return result;
}
