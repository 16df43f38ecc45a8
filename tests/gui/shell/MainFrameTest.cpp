#include "GuiSupport.h"

#include "shell/AboutDialog.h"
#include "shell/AppState.h"
#include "shell/CommandRules.h"
#include "shell/MainFrame.h"
#include "shell/ProjectPane.h"
#include "shell/ReportPane.h"
#include "shell/RibbonTable.h"

#include "model/Project.h"
#include "support/ModelFixtures.h"

#include <gtest/gtest.h>

#include <wx/aui/auibook.h>
#include <wx/dataview.h>
#include <wx/display.h>
#include <wx/msgdlg.h>
#include <wx/notebook.h>
#include <wx/ribbon/bar.h>
#include <wx/ribbon/buttonbar.h>
#include <wx/ribbon/page.h>
#include <wx/ribbon/panel.h>
#include "DialogTesting.h"
#include <wx/textctrl.h>
#include <wx/weakref.h>

#include <algorithm>
#include <map>
#include <vector>

namespace {

// A shown main window, destroyed with the fixture; the open project is
// emptied before and after.
class MainFrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        getAppState().project.reset();
        frame = new MainFrame();
        frame->Show();
        pumpEventsUntil([&] { return frame->IsShownOnScreen(); });
    }

    void TearDown() override
    {
        if (frame)
            frame->Destroy();
        pumpEventsUntil([&] { return !frame; });
        getAppState().project.reset();
    }

    // Whether the buttons of id are enabled, asked as the ribbon asks: a
    // button nobody disables stays enabled.
    bool enabled(int id)
    {
        wxUpdateUIEvent event(id);
        event.SetEventObject(frame->getRibbonBar());
        frame->GetEventHandler()->ProcessEvent(event);
        return !event.GetSetEnabled() || event.GetEnabled();
    }

    wxWeakRef<MainFrame> frame;
};

std::vector<wxRibbonPanel*> panelsOf(wxRibbonPage* page)
{
    std::vector<wxRibbonPanel*> panels;
    for (wxWindow* child : page->GetChildren()) {
        if (auto* panel = dynamic_cast<wxRibbonPanel*>(child))
            panels.push_back(panel);
    }
    return panels;
}

wxRibbonButtonBar* buttonBarOf(wxRibbonPanel* panel)
{
    for (wxWindow* child : panel->GetChildren()) {
        if (auto* bar = dynamic_cast<wxRibbonButtonBar*>(child))
            return bar;
    }
    return nullptr;
}

} // namespace

TEST_F(MainFrameTest, StartsWithOnlyTheProjectRibbonPageTheTreeAndAnEmptyNotebook)
{
    EXPECT_EQ(frame->GetTitle(), "Kovra Floorsmith V1.5");
    EXPECT_EQ(frame->GetId(), ID_MAIN_FRAME);
    EXPECT_EQ(frame->GetStatusBar(), nullptr);
    EXPECT_EQ(frame->GetMenuBar(), nullptr);

    wxRibbonBar* ribbon = frame->getRibbonBar();
    ASSERT_EQ(ribbon->GetPageCount(), 5u);
    EXPECT_EQ(ribbon->GetActivePage(), RIBBON_PAGE_PROJECT);
    for (size_t k = 0; k < ribbon->GetPageCount(); ++k)
        EXPECT_EQ(ribbon->IsPageShown(k), k == RIBBON_PAGE_PROJECT) << "ribbon page " << k;

    const wxAuiPaneInfo& tree = frame->getAuiManager().GetPane(frame->getProjectPane());
    ASSERT_TRUE(tree.IsOk());
    EXPECT_EQ(tree.caption, "Project");
    EXPECT_TRUE(tree.IsShown());
    EXPECT_FALSE(tree.HasCloseButton());
    ASSERT_NE(frame->getReportPane(), nullptr);
    const wxAuiPaneInfo& report = frame->getAuiManager().GetPane(frame->getReportPane());
    EXPECT_EQ(report.caption, "Report");
    EXPECT_FALSE(report.IsShown());
    EXPECT_EQ(frame->getNotebook()->GetPageCount(), 0u);

    // The creating buttons show disabled: no project is open.
    frame->UpdateWindowUI(wxUPDATE_UI_RECURSE);
    pumpEvents(50);
    takeScreenshot("main-window");
}

TEST_F(MainFrameTest, TakesTwoThirdsOfTheWorkAreaButWhatThePagesNeed)
{
    const wxRect area = wxDisplay(frame).GetClientArea();
    const FrameSize expected = initialFrameSize(area.width, area.height);
    EXPECT_EQ(frame->GetSize(), wxSize(expected.width, expected.height));
    EXPECT_LE(frame->GetSize().x, area.width);
    EXPECT_LE(frame->GetSize().y, area.height);
}

// Every page, panel and button of the ribbon table is on the built ribbon in
// the table's order, with its label, id, kind and a bitmap that loaded.
TEST_F(MainFrameTest, RibbonHoldsTheRibbonTable)
{
    wxRibbonBar* ribbon = frame->getRibbonBar();
    const auto& table = ribbonTable();
    ASSERT_EQ(ribbon->GetPageCount(), table.size());
    for (size_t k = 0; k < table.size(); ++k) {
        const RibbonPageEntry& pageEntry = table[k];
        wxRibbonPage* page = ribbon->GetPage(static_cast<int>(k));
        SCOPED_TRACE(pageEntry.label);
        EXPECT_EQ(page->GetLabel(), pageEntry.label);
        if (pageEntry.id != wxID_ANY) {
            EXPECT_EQ(page->GetId(), pageEntry.id);
        }
        const auto panels = panelsOf(page);
        ASSERT_EQ(panels.size(), pageEntry.panels.size());
        for (size_t p = 0; p < panels.size(); ++p) {
            const RibbonPanelEntry& panelEntry = pageEntry.panels[p];
            SCOPED_TRACE(panelEntry.label);
            EXPECT_EQ(panels[p]->GetLabel(), panelEntry.label);
            wxRibbonButtonBar* buttons = buttonBarOf(panels[p]);
            ASSERT_NE(buttons, nullptr);
            ASSERT_EQ(buttons->GetButtonCount(), panelEntry.buttons.size());
            for (size_t b = 0; b < panelEntry.buttons.size(); ++b) {
                const RibbonButtonEntry& buttonEntry = panelEntry.buttons[b];
                SCOPED_TRACE(buttonEntry.label);
                wxRibbonButtonBarButtonBase* item = buttons->GetItem(b);
                EXPECT_EQ(buttons->GetItemId(item), buttonEntry.id);
                auto* data = dynamic_cast<RibbonButtonData*>(buttons->GetItemClientObject(item));
                ASSERT_NE(data, nullptr);
                EXPECT_EQ(data->entry, &buttonEntry);
                EXPECT_TRUE(data->bitmapLoaded) << buttonEntry.bitmap;
            }
        }
    }
}

TEST(RibbonTable, NamesEachCommandIdWithOneHandlerAndOnlyKnownBitmaps)
{
    std::map<int, RibbonHandler> handlers;
    for (const auto& page : ribbonTable()) {
        EXPECT_EQ(std::string(page.helpText), page.translated ? "Help String" : "") << page.label;
        for (const auto& panel : page.panels) {
            for (const auto& button : panel.buttons) {
                auto known = handlers.emplace(button.id, button.handler).first;
                EXPECT_EQ(known->second, button.handler) << button.label;
                EXPECT_TRUE(loadRibbonBitmap(button.bitmap).IsOk()) << button.bitmap;
            }
        }
    }
    // The toggles of the table.
    EXPECT_EQ(ribbonTable()[RIBBON_PAGE_PROPOSAL].panels[0].buttons[0].kind, RibbonButtonKind::Toggle);
    EXPECT_EQ(ribbonTable()[RIBBON_PAGE_PROJECT].panels[2].buttons[3].kind, RibbonButtonKind::Normal);
}

struct EnablingCase {
    const char* what;
    bool project;
    int buildings;
    int requirementSets;
    bool newBuilding, withBuilding, newProposal;
};

class MainFrameEnabling : public MainFrameTest, public ::testing::WithParamInterface<EnablingCase> {};

TEST_P(MainFrameEnabling, CreatingCommandsNeedWhatTheyBuildOn)
{
    const EnablingCase& c = GetParam();
    if (c.project) {
        auto project = std::make_shared<bg::Project>("P");
        for (int i = 0; i < c.buildings; ++i)
            project->addBuilding(kovra_test::makeRectBuilding(10, 8));
        for (int i = 0; i < c.requirementSets; ++i)
            project->addRequirementSet(std::make_shared<bg::RequirementSet>("R"));
        getAppState().project = project;
    }
    EXPECT_EQ(enabled(ID_NEW_BUILDING), c.newBuilding);
    EXPECT_EQ(enabled(ID_NEW_REQUIREMENT_SET), c.withBuilding);
    EXPECT_EQ(enabled(ID_IMPORT_REQUIREMENT_SET), c.withBuilding);
    EXPECT_EQ(enabled(ID_NEW_SITE), c.withBuilding);
    EXPECT_EQ(enabled(ID_NEW_PROPOSAL), c.newProposal);
    // Never logged in to the platform yet.
    EXPECT_FALSE(enabled(ID_PLATFORM_SAVE_PROJECT));
    for (int always : {ID_PLATFORM, ID_NEW_PROJECT, ID_LOAD_PROJECT, ID_SAVE_PROJECT, ID_SETTINGS, ID_ABOUT})
        EXPECT_TRUE(enabled(always)) << always;
}

INSTANTIATE_TEST_SUITE_P(Projects, MainFrameEnabling,
                         ::testing::Values(EnablingCase{"none", false, 0, 0, false, false, false},
                                           EnablingCase{"empty", true, 0, 0, true, false, false},
                                           EnablingCase{"requirements only", true, 0, 1, true, false, false},
                                           EnablingCase{"building", true, 1, 0, true, true, false},
                                           EnablingCase{"both", true, 2, 1, true, true, true}),
                         [](const auto& info) {
                             std::string name = info.param.what;
                             std::replace(name.begin(), name.end(), ' ', '_');
                             return name;
                         });

TEST_F(MainFrameTest, QuitQuestionAnsweredNoKeepsTheWindowAndYesClosesIt)
{
    auto project = std::make_shared<bg::Project>("Kept");
    getAppState().project = project;

    wxTEST_DIALOG(frame->Close(), wxExpectModal<wxMessageDialog>(wxNO).Describe("quit question"));
    pumpEvents(50);
    ASSERT_TRUE(frame);
    EXPECT_TRUE(frame->IsShown());
    EXPECT_EQ(getAppState().project, project);

    wxTEST_DIALOG(frame->Close(), wxExpectModal<wxMessageDialog>(wxYES).Describe("quit question"));
    EXPECT_TRUE(pumpEventsUntil([&] { return !frame; }));
}

TEST_F(MainFrameTest, ReportPaneIsAnEmptyInertTable)
{
    ReportPane* report = frame->getReportPane();
    ASSERT_NE(report, nullptr);
    ASSERT_EQ(report->table->GetColumnCount(), 4u);
    const char* titles[] = {"Proposal", "Name", "Value", "Description"};
    for (unsigned i = 0; i < 4; ++i)
        EXPECT_EQ(report->table->GetColumn(i)->GetTitle(), titles[i]);
    wxCommandEvent click(wxEVT_BUTTON, ReportPane::ID_REPORT_REFRESH);
    report->FindWindow(ReportPane::ID_REPORT_REFRESH)->ProcessWindowEvent(click);
    pumpEvents(20);
    EXPECT_EQ(report->table->GetItemCount(), 0);
}

TEST_F(MainFrameTest, AboutDialogShowsTheThreeTextsWithUmlauts)
{
    AboutDialog dialog(frame);
    ASSERT_EQ(dialog.notebook->GetPageCount(), 3u);
    const char* labels[] = {"About", "Licence", "Nutzungsbedingungen"};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(dialog.notebook->GetPageText(i), labels[i]);
        auto* text = dynamic_cast<wxTextCtrl*>(dialog.notebook->GetPage(i)->GetChildren().front());
        ASSERT_NE(text, nullptr);
        EXPECT_FALSE(text->GetValue().empty()) << labels[i];
    }
    EXPECT_EQ(dialog.notebook->GetSelection(), 0);
    auto* terms = dynamic_cast<wxTextCtrl*>(dialog.notebook->GetPage(2)->GetChildren().front());
    EXPECT_TRUE(terms->GetValue().Contains(wxString::FromUTF8("für"))) << terms->GetValue();

    dialog.notebook->SetSelection(2);
    dialog.Show();
    pumpEventsUntil([&] { return dialog.IsShownOnScreen(); });
    pumpEvents(100);
    takeScreenshot("about-dialog");
    dialog.Hide();
}

TEST_F(MainFrameTest, AboutDialogClosesByKey)
{
    AboutDialog dialog(frame);
    // Enter presses the default button, Escape the dialog's escape button.
    auto* close = dialog.FindWindow(wxID_CLOSE);
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(dialog.GetDefaultItem(), close);
    EXPECT_EQ(dialog.GetAffirmativeId(), wxID_CLOSE);
    wxWeakRef<AboutDialog> ref(&dialog);
    dialog.CallAfter([ref] {
        pressKeyIn(*ref, WXK_ESCAPE);
        if (ref && ref->IsModal())
            ref->EndModal(-1);
    });
    EXPECT_EQ(dialog.ShowModal(), wxID_CLOSE);
}

TEST_F(MainFrameTest, ControlKeysRunTheProjectCommands)
{
    const std::vector<CommandKey> expected = {
        {'N', ID_NEW_PROJECT}, {'O', ID_LOAD_PROJECT}, {'S', ID_SAVE_PROJECT}};
    ASSERT_EQ(projectCommandKeys().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(projectCommandKeys()[i].key, expected[i].key) << i;
        EXPECT_EQ(projectCommandKeys()[i].id, expected[i].id) << i;
    }
    // A key's command reaches the same handler as the ribbon's button.
    auto runKeyCommand = [&](int id) {
        wxCommandEvent command(wxEVT_MENU, id);
        command.SetEventObject(frame);
        frame->GetEventHandler()->ProcessEvent(command);
    };
    wxTEST_DIALOG(runKeyCommand(ID_SAVE_PROJECT), wxExpectModal<wxMessageDialog>(wxOK).Describe("nothing to save"));
    wxTEST_DIALOG(runKeyCommand(ID_NEW_PROJECT), ExpectTextEntry("Keys"));
    ASSERT_TRUE(getAppState().project);
    EXPECT_EQ(getAppState().project->name, "Keys");
    wxTEST_DIALOG(runKeyCommand(ID_LOAD_PROJECT), wxExpectModal<wxMessageDialog>(wxNO).Describe("save question"));
    EXPECT_EQ(getAppState().project->name, "Keys");
}

TEST(AboutText, ReadsUtf8AndGivesNothingForAMissingFile)
{
    EXPECT_TRUE(readTextFile("text/Nutzungsbedingungen.txt").Contains(wxString::FromUTF8("Grüße")));
    EXPECT_TRUE(readTextFile("text/no-such-file.txt").empty());
}
