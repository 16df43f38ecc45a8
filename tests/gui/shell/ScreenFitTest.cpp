// Every page of the main window, filling the screen, and every dialog show
// all their controls on the screen the tests run on: 1280 x 800 with the
// other GUI tests, 1920 x 1080 in the CTest entry gui_screen_1920x1080 (which
// runs only these cases, on a display of its own). With KOVRA_SCREENSHOTS set
// each case writes "screen-<width>x<height>-<what>.png".
#include "DialogTesting.h"
#include "GuiSupport.h"
#include "PlatformDialogSupport.h"
#include "ProposalTesting.h"
#include "RibbonSupport.h"
#include "ScreenFit.h"

#include "platformui/KovraClientDialog.h"
#include "platformui/RequirementPlatformDialog.h"
#include "proposal/ExportSettingsDialog.h"
#include "proposal/ProgressDialog.h"
#include "proposal/ProposalPane.h"
#include "requirements/RoomDialog.h"
#include "shell/AboutDialog.h"
#include "shell/AppSettings.h"
#include "shell/AppState.h"
#include "shell/MainFrame.h"
#include "shell/ProposalDialog.h"
#include "shell/RibbonTable.h"
#include "shell/TableColumns.h"
#include "site/GeocodeDialog.h"
#include "site/SiteEditorCtrl.h"
#include "site/SitePane.h"

#include "export/ExportSettings.h"
#include "model/Building.h"
#include "model/Constants.h"
#include "model/Project.h"
#include "model/Proposal.h"
#include "model/Requirement.h"
#include "model/Site.h"
#include "support/MapServices.h"
#include "support/ModelFixtures.h"

#include <gtest/gtest.h>

#include <wx/aui/auibook.h>
#include <wx/dataview.h>
#include <wx/display.h>
#include <wx/log.h>
#include <wx/weakref.h>

#include <memory>
#include <string>

namespace {

using namespace kovra_test;

std::string joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += "\n  " + line;
    return text;
}

// Checks the window and, with KOVRA_SCREENSHOTS set, takes the screen.
void checkAndShoot(wxTopLevelWindow* window, const std::string& what)
{
    window->Layout();
    window->UpdateWindowUI(wxUPDATE_UI_RECURSE);
    window->Refresh();
    window->Update();
    pumpEvents(300); // lets the toolkit finish its layout and drawing
    const wxRect screen = wxDisplay(static_cast<const wxWindow*>(window)).GetGeometry();
    EXPECT_TRUE(screen.Contains(window->GetScreenRect()))
        << what << ": the window lies beyond the screen " << screen.width << " x " << screen.height;
    auto problems = fitProblems(controlBoxes(window));
    const auto titles = cutColumnTitles(window);
    problems.insert(problems.end(), titles.begin(), titles.end());
    EXPECT_TRUE(problems.empty()) << what << " at " << screenSizeName() << ":" << joined(problems);
    takeScreenshot("screen-" + screenSizeName() + "-" + what);
}

// Shows a dialog modelessly, as it appears, centred on its parent or the screen.
void showDialog(wxDialog& dialog)
{
    dialog.Centre();
    dialog.Show();
    pumpEventsUntil([&] { return dialog.IsShownOnScreen(); });
}

std::shared_ptr<bg::RequirementSet> sevenRooms()
{
    std::vector<std::shared_ptr<bg::Requirement>> rooms;
    const char* names[] = {"Hall", "Living", "Kitchen", "Bedroom", "Bath", "Study", "Store"};
    const double areas[] = {10, 24, 12, 14, 7, 9, 4};
    for (int i = 0; i < 7; ++i)
        rooms.push_back(makeRequirement(i, names[i], areas[i], 0, {i == 0 ? -1 : 0}));
    return makeRequirementSet(rooms);
}

// The main window filling the screen (the work area, as a maximised window),
// with an open project.
class ScreenFit : public ::testing::Test {
protected:
    void SetUp() override
    {
        getAppState().project = std::make_shared<bg::Project>("Screen");
        previousLog = wxLog::SetActiveTarget(&log);
        frame = new MainFrame();
        frame->SetSize(wxDisplay(0u).GetClientArea());
        frame->Show();
        ASSERT_TRUE(pumpEventsUntil([&] { return frame->IsShownOnScreen(); }));
    }

    void TearDown() override
    {
        if (frame)
            frame->Destroy();
        pumpEventsUntil([&] { return !frame; });
        getAppState().project.reset();
        getAppSettings().tileUrl = saved.tileUrl;
        wxLog::SetActiveTarget(previousLog);
    }

    void click(int id) { ASSERT_TRUE(clickRibbon(frame->getRibbonBar(), id)) << id; }

    wxWeakRef<MainFrame> frame;
    wxLogStderr log;
    wxLog* previousLog = nullptr;
    AppSettings saved = getAppSettings();
};

TEST_F(ScreenFit, MainWindow)
{
    checkAndShoot(frame.get(), "main-window");
}

TEST_F(ScreenFit, BuildingPage)
{
    auto building = makeRectBuilding(15, 12, 3);
    building->name = "House";
    getAppState().project->addBuilding(building);
    frame->openBuildingPage(building);
    checkAndShoot(frame.get(), "building-page");
}

TEST_F(ScreenFit, RequirementPage)
{
    auto building = makeRectBuilding(15, 12, 1);
    getAppState().project->addBuilding(building);
    auto set = sevenRooms();
    set->name = "Rooms";
    getAppState().project->requirementSets.push_back(set);
    frame->openRequirementSetPage(set);
    checkAndShoot(frame.get(), "requirement-page");
}

// The proposal page after a run; the progress dialog is checked while it runs.
TEST_F(ScreenFit, ProposalPageAndProgressDialog)
{
    auto building = makeRectBuilding(14, 10);
    auto set = sevenRooms();
    auto proposal = makeProposal(building, set, "Variant");
    getAppState().project->buildings.push_back(building);
    getAppState().project->requirementSets.push_back(set);
    getAppState().project->proposals.push_back(proposal);
    frame->openProposalPage(proposal);
    pumpEvents(50);
    auto* page = dynamic_cast<ProposalPane*>(getAppState().proposalPages[proposal]);
    ASSERT_NE(page, nullptr);
    checkAndShoot(frame.get(), "proposal-page");

    bool progressChecked = false;
    std::string notice;
    wxTEST_DIALOG(
        {
            click(ID_LAYOUT_START);
            pumpEventsUntil([&] { return !notice.empty(); }, 240000);
        },
        RunProgress([&] {
            if (!progressChecked) {
                progressChecked = true;
                auto* dialog = dynamic_cast<ProgressDialog*>(wxWindow::FindWindowById(ProgressDialog::ID_PROGRESS_DIALOG));
                EXPECT_NE(dialog, nullptr);
                if (dialog)
                    checkAndShoot(dialog, "progress-dialog");
            }
            return page->solutionsTable->GetItemCount() > 0;
        }),
        KeepMessage(&notice));
    EXPECT_TRUE(progressChecked);
    ASSERT_GT(page->solutionsTable->GetItemCount(), 0);
    checkAndShoot(frame.get(), "proposal-page-after-run");
}

TEST_F(ScreenFit, SitePage)
{
    FakeMapServices services;
    ASSERT_FALSE(services.url().empty());
    getAppSettings().tileUrl = services.url() + "/tiles";
    auto site = std::make_shared<bg::Site>();
    site->lat = 47.3769;
    site->lon = 8.5417;
    site->building = makeLShapedBuilding(24, 16, 10, 6);
    getAppState().project->sites.push_back(site);
    frame->openSitePage(site);
    auto* page = dynamic_cast<SitePane*>(getAppState().sitePages[site]);
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(pumpEventsUntil([&] { return page->map->paintCount > 0; }));
    ASSERT_TRUE(pumpEventsUntil([&] { return !page->map->downloadsPending(); }, 60000));
    checkAndShoot(frame.get(), "site-page");
}

TEST_F(ScreenFit, RoomDialog)
{
    auto building = makeRectBuilding(10, 10, 2);
    auto set = sevenRooms();
    RoomDialog dialog(frame.get(), building, set, set->requirements[0], 0, "Hall");
    showDialog(dialog);
    checkAndShoot(&dialog, "room-dialog");
}

TEST_F(ScreenFit, ExportSettingsDialog)
{
    bgexport::ExportSettings settings;
    ExportSettingsDialog dialog(frame.get(), &settings);
    showDialog(dialog);
    checkAndShoot(&dialog, "export-settings-dialog");
}

TEST_F(ScreenFit, PlatformDialog)
{
    FolderPlatform platform;
    platform.put("House/House.xsp", "<project/>");
    platform.put("House/Plans/notes.txt");
    platform.login();
    wxWeakRef<KovraClientDialog> dialog(new KovraClientDialog(frame.get(), platform.client.get(), nullptr,
                                                              KovraClientDialog::MODE_BROWSE,
                                                              [](const std::string&) {}));
    showDialog(*dialog);
    checkAndShoot(dialog.get(), "platform-dialog");
    dialog->Destroy();
    pumpEvents(20);
}

TEST_F(ScreenFit, RequirementPlatformDialog)
{
    FolderPlatform platform;
    platform.folder("House");
    platform.login();
    auto set = sevenRooms();
    set->name = "Rooms";
    wxWeakRef<RequirementPlatformDialog> dialog(new RequirementPlatformDialog(
        frame.get(), platform.client.get(), nullptr, set, RequirementPlatformDialog::MODE_SAVE));
    showDialog(*dialog);
    checkAndShoot(dialog.get(), "requirement-platform-dialog");
    dialog->Destroy();
    pumpEvents(20);
}

TEST_F(ScreenFit, SmallDialogs)
{
    {
        GeocodeDialog dialog(frame.get());
        showDialog(dialog);
        checkAndShoot(&dialog, "place-search-dialog");
    }
    {
        getAppState().project->buildings.push_back(makeRectBuilding(10, 8));
        getAppState().project->requirementSets.push_back(sevenRooms());
        ProposalDialog dialog(frame.get(), "Variant");
        showDialog(dialog);
        checkAndShoot(&dialog, "proposal-dialog");
    }
    {
        AboutDialog dialog(frame.get());
        showDialog(dialog);
        checkAndShoot(&dialog, "about-dialog");
    }
}

// A column keeps the width asked for unless its title would be cut.
TEST(TableColumns, WidenedOnlyWhereTheTitleWouldBeCut)
{
    struct Case {
        int asked, title, width;
    };
    const Case cases[] = {{80, 40, 80}, {80, 80 - COLUMN_TITLE_MARGIN, 80}, {80, 90, 90 + COLUMN_TITLE_MARGIN},
                          {60, 0, 60}, {120, -5, 120}};
    for (const Case& c : cases)
        EXPECT_EQ(columnWidthForTitle(c.asked, c.title), c.width) << c.asked << " for " << c.title;
}

// A side column of tables takes what they need, up to 45 % of the page.
TEST(SideColumnWidth, WhatTheTablesNeedUpToNearlyHalfThePage)
{
    struct Case {
        int page, tables, width;
    };
    const Case cases[] = {
        {1709, 720, 720}, // 1920 x 1080: the tables whole
        {1069, 720, 481}, // 1280 x 800: the drawing keeps the larger part
        {1709, 300, 300}, {0, 620, 0}, {500, 0, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(sideColumnWidth(c.page, c.tables), c.width) << c.page << " " << c.tables;
}

// The rule itself, on rectangles.
TEST(ScreenFitRule, NamesWhatIsCutOffSqueezedOrStretched)
{
    struct Case {
        const char* name;
        ControlBox box;
        std::size_t problems;
    };
    const wxRect r(10, 10, 100, 30);
    const Case cases[] = {
        {"whole", {"a", r, r, {80, 30}, true, true, false}, 0},
        {"cut at the right", {"a", r, wxRect(10, 10, 60, 30), {80, 30}, false, false, false}, 1},
        {"hidden until scrolled", {"a", r, wxRect(10, 10, 60, 30), {80, 30}, false, false, true}, 0},
        {"lower than it needs", {"a", r, r, {80, 40}, false, false, false}, 1},
        {"one line three times its height", {"a", wxRect(0, 0, 100, 90), wxRect(0, 0, 100, 90), {80, 30}, true,
                                             false, false}, 1},
        {"a list may be high", {"a", wxRect(0, 0, 100, 900), wxRect(0, 0, 100, 900), {80, 30}, false, false,
                                false}, 0},
        {"button across the screen", {"a", wxRect(0, 0, 1800, 30), wxRect(0, 0, 1800, 30), {80, 30}, true, true,
                                      false}, 1},
        {"laid out to nothing", {"a", wxRect(0, 0, 0, 0), wxRect(), {80, 30}, true, true, false}, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fitProblems({c.box}).size(), c.problems) << c.name << joined(fitProblems({c.box}));
}

} // namespace
