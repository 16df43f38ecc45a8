// The platform file manager in browse mode on a platform kept in a scratch
// folder: its tree, login, upload, download, open, rename and delete.

#include "PlatformDialogSupport.h"

#include "shell/AppState.h"
#include "shell/Events.h"
#include "platformui/KovraClientDialog.h"
#include "platformui/PlatformRules.h"

#include "model/Project.h"
#include "support/ModelFixtures.h"
#include "support/PlatformServers.h"

#include <wx/button.h>
#include <wx/filedlg.h>
#include <wx/frame.h>
#include <wx/stattext.h>

#include <sstream>

namespace {

using namespace kovra_test;

std::string projectFileText(const std::string& name)
{
    bg::Project project(name);
    std::stringstream out;
    project.saveToStream(out);
    return out.str();
}

class KovraClientDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        getAppState().project.reset();
        getAppState().platformResourceId.clear();
        frame = new wxFrame(nullptr, wxID_ANY, "Owner");
        frame->Bind(EVT_PROJECT_LOADED, [this](wxCommandEvent&) { ++projectsLoaded; });
        frame->Show();
        platform.folder("Empty");
        platform.put("House/House.xsp", projectFileText("House"));
        platform.put("House/Plans/Old/draft.txt");
        platform.put("House/Plans/notes.txt");
        platform.put("House/photo.jpg");
    }

    void TearDown() override
    {
        if (dialog)
            dialog->Destroy();
        frame->Destroy();
        pumpEvents(20);
        EXPECT_TRUE(platform.temporaryFolderEmpty()) << "a temporary file was left behind";
        getAppState().project.reset();
        getAppState().platformResourceId.clear();
    }

    // The dialog in browse mode, its browser launches recorded.
    void open(int mode = KovraClientDialog::MODE_BROWSE)
    {
        dialog = new KovraClientDialog(frame, platform.client.get(), nullptr, mode,
                                       [this](const std::string& url) { launched.push_back(url); });
        dialog->Show();
        tree = dialog->tree;
    }
    void openLoggedIn()
    {
        platform.login();
        open();
    }

    void press(int id) { pressButton(dialog, id); }
    wxTreeListItem row(std::initializer_list<std::string> names) { return rowAt(tree, names); }
    void select(std::initializer_list<std::string> names)
    {
        const wxTreeListItem item = row(names);
        ASSERT_TRUE(item.IsOk());
        selectRow(tree, item);
    }
    std::string label() { return dialog->userLabel->GetLabel().utf8_string(); }

    FolderPlatform platform;
    wxFrame* frame = nullptr;
    KovraClientDialog* dialog = nullptr;
    wxTreeListCtrl* tree = nullptr;
    std::vector<std::string> launched;
    int projectsLoaded = 0;
};

TEST_F(KovraClientDialogTest, ALoggedInClientShowsTheRepositoryAtOnce)
{
    openLoggedIn();
    EXPECT_EQ(label(), platform.client->getLogginUser().name);
    EXPECT_EQ(childNames(tree, tree->GetRootItem()), (std::vector<std::string>{"Empty", "House"}));
    EXPECT_EQ(childNames(tree, row({"House"})), (std::vector<std::string>{"Plans", "House.xsp", "photo.jpg"}));
    EXPECT_EQ(childNames(tree, row({"House", "Plans"})), (std::vector<std::string>{"Old", "notes.txt"}));
    EXPECT_EQ(childNames(tree, row({"House", "Plans", "Old"})), std::vector<std::string>{"draft.txt"});
    // Resources directly beneath a project show their date, others none.
    EXPECT_FALSE(tree->GetItemText(row({"House", "photo.jpg"}), 2).empty());
    EXPECT_TRUE(tree->GetItemText(row({"House", "Plans", "notes.txt"}), 2).empty());
    EXPECT_TRUE(tree->GetItemText(row({"House", "Plans"}), 2).empty());
    EXPECT_EQ(dialog->platformTree().findEntry(row({"House", "Plans"})).kind, "Folder");
    EXPECT_EQ(dialog->platformTree().findEntry(row({"House", "photo.jpg"})).kind, "Resource");
    EXPECT_EQ(dialog->platformTree().findEntry(wxTreeListItem()).kind, "");
}

TEST_F(KovraClientDialogTest, ConnectOpensTheLoginAddressAndFillsTheTree)
{
    open();
    EXPECT_EQ(label(), "Not logged in");
    EXPECT_EQ(tree->GetFirstChild(tree->GetRootItem()).IsOk(), false);
    EXPECT_TRUE(buttonEnabled(dialog, KovraClientDialog::ID_CONNECT));
    EXPECT_FALSE(buttonEnabled(dialog, KovraClientDialog::ID_DISCONNECT));

    // A folder platform needs neither a browser nor a question.
    press(KovraClientDialog::ID_CONNECT);
    EXPECT_TRUE(launched.empty());
    EXPECT_EQ(label(), platform.client->getLogginUser().name);
    EXPECT_FALSE(label().empty());
    EXPECT_TRUE(row({"House", "Plans", "notes.txt"}).IsOk());
    EXPECT_FALSE(buttonEnabled(dialog, KovraClientDialog::ID_CONNECT));
    EXPECT_TRUE(buttonEnabled(dialog, KovraClientDialog::ID_DISCONNECT));

    press(KovraClientDialog::ID_DISCONNECT);
    EXPECT_FALSE(platform.client->isConnected());
    EXPECT_EQ(label(), "Not logged in");
    EXPECT_FALSE(tree->GetFirstChild(tree->GetRootItem()).IsOk());
    EXPECT_TRUE(dialog->platformTree().getResources().empty());
    EXPECT_TRUE(buttonEnabled(dialog, KovraClientDialog::ID_CONNECT));
}

TEST_F(KovraClientDialogTest, ARefusedLoginSaysSoAndLeavesTheDialogLoggedOut)
{
    open();
    // A folder that is not there is refused, and not made.
    dialog->baseUrl = platform.local("missing").string();
    wxTEST_DIALOG(press(KovraClientDialog::ID_CONNECT), ExpectMessage("Cannot connect to the platform: "));
    EXPECT_TRUE(launched.empty());
    EXPECT_EQ(label(), "Not logged in");
    EXPECT_FALSE(tree->GetFirstChild(tree->GetRootItem()).IsOk());
}

// Where "New Folder" puts the row beneath the selected parent.
struct FolderInsertionCase {
    const char* description;
    std::vector<std::string> folders;   // beneath the parent before
    std::vector<std::string> resources; // beneath the parent before
    std::vector<std::string> expected;  // children afterwards
};

class FolderInsertionTest : public KovraClientDialogTest,
                            public ::testing::WithParamInterface<FolderInsertionCase> {};

TEST_P(FolderInsertionTest, NewFoldersStayAheadOfResources)
{
    const FolderInsertionCase& row = GetParam();
    platform.folder("Target");
    for (const auto& name : row.folders)
        platform.folder("Target/" + name);
    for (const auto& name : row.resources)
        platform.put("Target/" + name);
    openLoggedIn();
    select({"Target"});
    wxTEST_DIALOG(press(PlatformTree::ID_NEW_FOLDER), ExpectTextEntry("m-new"));
    EXPECT_EQ(childNames(tree, rowAt(tree, {"Target"})), row.expected) << row.description;
    EXPECT_TRUE(std::filesystem::is_directory(platform.root() / "Target" / "m-new")) << row.description;
    EXPECT_EQ(dialog->platformTree().findEntry(rowAt(tree, {"Target", "m-new"})).kind, "Folder");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FolderInsertionTest,
    ::testing::Values(
        FolderInsertionCase{"folder, folder, resource", {"a", "b"}, {"c.txt"}, {"a", "b", "m-new", "c.txt"}},
        FolderInsertionCase{"two resources", {}, {"a.txt", "b.txt"}, {"m-new", "a.txt", "b.txt"}},
        FolderInsertionCase{"empty parent", {}, {}, {"m-new"}}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST_F(KovraClientDialogTest, NewFolderWithAResourceSelectedLandsBesideIt)
{
    openLoggedIn();
    select({"House", "Plans", "notes.txt"});
    wxTEST_DIALOG(press(PlatformTree::ID_NEW_FOLDER), ExpectTextEntry("Sketches"));
    EXPECT_EQ(childNames(tree, row({"House", "Plans"})), (std::vector<std::string>{"Old", "Sketches", "notes.txt"}));
    EXPECT_TRUE(platform.has("House/Plans/Sketches"));
}

TEST_F(KovraClientDialogTest, NewFolderWithNothingSelectedSendsNothing)
{
    openLoggedIn();
    wxTEST_DIALOG(press(PlatformTree::ID_NEW_FOLDER), ExpectTextEntry("Lost"));
    EXPECT_FALSE(platform.has("Lost"));
    EXPECT_FALSE(platform.has("House/Lost"));
}

TEST_F(KovraClientDialogTest, NewProjectAppendsAnAssetAndATakenNameIsShownNotThrown)
{
    openLoggedIn();
    wxTEST_DIALOG(press(PlatformTree::ID_NEW_PROJECT), ExpectTextEntry("Garden"));
    EXPECT_TRUE(std::filesystem::is_directory(platform.root() / "Garden"));
    EXPECT_EQ(childNames(tree, tree->GetRootItem()), (std::vector<std::string>{"Empty", "House", "Garden"}));

    wxTEST_DIALOG(press(PlatformTree::ID_NEW_PROJECT), ExpectTextEntry("House"), ExpectMessage("House"));
    EXPECT_EQ(childNames(tree, tree->GetRootItem()), (std::vector<std::string>{"Empty", "House", "Garden"}));
}

struct LabelCase {
    const char* fileName;
    const char* label;
};

class DownloadLabelTest : public KovraClientDialogTest, public ::testing::WithParamInterface<LabelCase> {};

TEST_P(DownloadLabelTest, OnlyTheLastExtensionXspOpensAProject)
{
    platform.put(std::string("Labels/") + GetParam().fileName);
    openLoggedIn();
    select({"Labels", GetParam().fileName});
    EXPECT_EQ(dialog->downloadButton->GetLabel().utf8_string(), GetParam().label) << GetParam().fileName;
    selectRow(tree, wxTreeListItem());
    EXPECT_EQ(dialog->downloadButton->GetLabel(), "Download");
}

INSTANTIATE_TEST_SUITE_P(Names, DownloadLabelTest,
                         ::testing::Values(LabelCase{"house.v2.xsp", "Open Project"}, LabelCase{"house.XSP", "Download"},
                                           LabelCase{"xsp", "Open Project"}, LabelCase{"house.xsp.bak", "Download"},
                                           LabelCase{"house.csv", "Download"}),
                         [](const auto& info) { return "Name" + std::to_string(info.index); });

TEST_F(KovraClientDialogTest, TheSelectionEnablesTheFileCommands)
{
    openLoggedIn();
    for (int id : {KovraClientDialog::ID_UPLOAD, KovraClientDialog::ID_RENAME, KovraClientDialog::ID_DELETE,
                   KovraClientDialog::ID_DOWNLOAD})
        EXPECT_FALSE(buttonEnabled(dialog, id)) << id;
    EXPECT_TRUE(buttonEnabled(dialog, PlatformTree::ID_NEW_PROJECT));
    EXPECT_TRUE(buttonEnabled(dialog, PlatformTree::ID_NEW_FOLDER));
    select({"House", "Plans"});
    for (int id : {KovraClientDialog::ID_UPLOAD, KovraClientDialog::ID_RENAME, KovraClientDialog::ID_DELETE})
        EXPECT_TRUE(buttonEnabled(dialog, id)) << id;
    EXPECT_FALSE(buttonEnabled(dialog, KovraClientDialog::ID_DOWNLOAD));
    select({"House", "photo.jpg"});
    EXPECT_TRUE(buttonEnabled(dialog, KovraClientDialog::ID_DOWNLOAD));
}

TEST_F(KovraClientDialogTest, UploadGoesIntoTheFolderOrBesideTheSelectedFile)
{
    writeText(platform.local("plan.pdf").string(), "pdf");
    openLoggedIn();
    select({"House", "Plans"});
    wxTEST_DIALOG(press(KovraClientDialog::ID_UPLOAD), wxExpectModal<wxFileDialog>(platform.local("plan.pdf").string()));
    EXPECT_EQ(platform.read("House/Plans/plan.pdf"), "pdf");
    EXPECT_EQ(childNames(tree, row({"House", "Plans"})), (std::vector<std::string>{"Old", "notes.txt", "plan.pdf"}));

    select({"House", "photo.jpg"});
    wxTEST_DIALOG(press(KovraClientDialog::ID_UPLOAD), wxExpectModal<wxFileDialog>(platform.local("plan.pdf").string()));
    EXPECT_EQ(platform.read("House/plan.pdf"), "pdf");
    EXPECT_TRUE(row({"House", "plan.pdf"}).IsOk());
    // Dated at once, as reopening the dialog would show it.
    EXPECT_FALSE(tree->GetItemText(row({"House", "plan.pdf"}), 2).empty());
    EXPECT_TRUE(tree->GetItemText(row({"House", "Plans", "plan.pdf"}), 2).empty());
    // The platform numbers a taken name; the row shows what it gave.
    wxTEST_DIALOG(press(KovraClientDialog::ID_UPLOAD), wxExpectModal<wxFileDialog>(platform.local("plan.pdf").string()));
    EXPECT_TRUE(platform.has("House/plan (2).pdf"));
    EXPECT_TRUE(row({"House", "plan (2).pdf"}).IsOk());
}

TEST_F(KovraClientDialogTest, AFailedUploadShowsTheClientsTextAndChangesNothing)
{
    writeText(platform.local("plan.pdf").string(), "pdf");
    openLoggedIn();
    select({"House", "Plans", "Old"});
    std::filesystem::remove_all(platform.root() / "House" / "Plans" / "Old");
    wxTEST_DIALOG(press(KovraClientDialog::ID_UPLOAD), wxExpectModal<wxFileDialog>(platform.local("plan.pdf").string()),
                  ExpectMessage("Old"));
    EXPECT_EQ(childNames(tree, row({"House", "Plans", "Old"})), std::vector<std::string>{"draft.txt"});
    EXPECT_FALSE(platform.has("House/Plans/Old"));
    EXPECT_TRUE(dialog->IsShown());
}

TEST_F(KovraClientDialogTest, DownloadWritesTheChosenFileAndCloses)
{
    openLoggedIn();
    select({"House", "photo.jpg"});
    const std::string target = platform.local("copy.jpg").string();
    OfferedFile offered;
    wxTEST_DIALOG(press(KovraClientDialog::ID_DOWNLOAD), ExpectFile(target, &offered),
                  ExpectMessage("File downloaded"));
    EXPECT_EQ(readText(target), "content");
    // A photo is offered under its own name, not as a project.
    EXPECT_EQ(offered.title, "Save file");
    EXPECT_EQ(offered.name, "photo.jpg");
    EXPECT_EQ(offered.wildcard, "All files (*)|*");
    EXPECT_FALSE(dialog->IsShown());
}

TEST_F(KovraClientDialogTest, OpenProjectWithoutAnOpenProjectLoadsAtOnce)
{
    openLoggedIn();
    select({"House", "House.xsp"});
    ASSERT_EQ(dialog->downloadButton->GetLabel(), "Open Project");
    const std::string id = dialog->platformTree().selectedEntry().platformId;
    press(KovraClientDialog::ID_DOWNLOAD);
    ASSERT_TRUE(getAppState().project);
    EXPECT_EQ(getAppState().project->name, "House");
    EXPECT_EQ(getAppState().platformResourceId, id);
    EXPECT_FALSE(dialog->IsShown());
    EXPECT_TRUE(pumpEventsUntil([&] { return projectsLoaded == 1; }));
}

TEST_F(KovraClientDialogTest, OpenProjectAsksBeforeDiscardingTheOpenOne)
{
    auto current = std::make_shared<bg::Project>("Open");
    getAppState().project = current;
    openLoggedIn();
    select({"House", "House.xsp"});
    wxTEST_DIALOG(press(KovraClientDialog::ID_DOWNLOAD), ExpectMessage("Discard current project", wxNO));
    EXPECT_EQ(getAppState().project, current);
    EXPECT_FALSE(dialog->IsShown());

    dialog->Show();
    wxTEST_DIALOG(press(KovraClientDialog::ID_DOWNLOAD), ExpectMessage("Discard current project", wxYES));
    ASSERT_TRUE(getAppState().project);
    EXPECT_EQ(getAppState().project->name, "House");
    EXPECT_TRUE(pumpEventsUntil([&] { return projectsLoaded == 1; }));
}

TEST_F(KovraClientDialogTest, OpeningAFileThatIsNoProjectKeepsTheOpenProject)
{
    platform.put("House/broken.xsp", "not a project");
    auto current = std::make_shared<bg::Project>("Open");
    getAppState().project = current;
    getAppState().platformResourceId = "earlier";
    openLoggedIn();
    select({"House", "broken.xsp"});
    wxTEST_DIALOG(press(KovraClientDialog::ID_DOWNLOAD), ExpectMessage("Discard current project", wxYES),
                  ExpectMessage("is not a Kovra project"));
    EXPECT_EQ(getAppState().project, current);
    EXPECT_EQ(getAppState().platformResourceId, "earlier");
    pumpEvents(50);
    EXPECT_EQ(projectsLoaded, 0);
}

TEST_F(KovraClientDialogTest, RenameShowsTheNewNameOnlyWhenThePlatformTookIt)
{
    openLoggedIn();
    select({"House", "photo.jpg"});
    const wxTreeListItem item = row({"House", "photo.jpg"});
    wxTEST_DIALOG(press(KovraClientDialog::ID_RENAME), ExpectTextEntry("front.jpg"));
    EXPECT_TRUE(platform.has("House/front.jpg"));
    EXPECT_EQ(tree->GetItemText(item, 0), "front.jpg");
    EXPECT_EQ(dialog->platformTree().findEntry(item).name, "photo.jpg") << "entries keep the name they were added with";

    wxTEST_DIALOG(press(KovraClientDialog::ID_RENAME), ExpectTextEntry("House.xsp"), ExpectMessage("House.xsp"));
    EXPECT_EQ(tree->GetItemText(item, 0), "front.jpg");
    EXPECT_TRUE(platform.has("House/front.jpg"));
}

TEST_F(KovraClientDialogTest, DeletingAnAssetRemovesItsRowsAndTheirEntries)
{
    openLoggedIn();
    select({"House"});
    wxTEST_DIALOG(press(KovraClientDialog::ID_DELETE), ExpectMessage("Confirm delete?", wxNO));
    EXPECT_TRUE(platform.has("House"));

    wxTEST_DIALOG(press(KovraClientDialog::ID_DELETE), ExpectMessage("Confirm delete?", wxYES));
    EXPECT_FALSE(platform.has("House"));
    EXPECT_EQ(childNames(tree, tree->GetRootItem()), std::vector<std::string>{"Empty"});
    const PlatformTree& repository = dialog->platformTree();
    EXPECT_EQ(repository.getAssets().size(), 1u);
    EXPECT_TRUE(repository.getFolders().empty());
    EXPECT_TRUE(repository.getResources().empty());

    // Rows added afterwards answer with their own entries only.
    select({"Empty"});
    for (const char* name : {"a", "b", "c", "d"})
        wxTEST_DIALOG(press(PlatformTree::ID_NEW_FOLDER), ExpectTextEntry(name));
    for (wxTreeListItem child = tree->GetFirstChild(row({"Empty"})); child.IsOk(); child = tree->GetNextSibling(child)) {
        const PlatformEntry entry = repository.findEntry(child);
        EXPECT_EQ(entry.kind, "Folder");
        EXPECT_EQ(entry.name, tree->GetItemText(child, 0).utf8_string());
    }
}

TEST_F(KovraClientDialogTest, OpenedWhileLoggedOutTheTreeIsEmpty)
{
    open();
    EXPECT_FALSE(tree->GetFirstChild(tree->GetRootItem()).IsOk());
    wxTEST_DIALOG(press(PlatformTree::ID_NEW_PROJECT), ExpectTextEntry("Garden"), ExpectMessage(""));
    EXPECT_FALSE(platform.has("Garden"));
}

TEST(PlatformRules, ExtensionsAndNames)
{
    EXPECT_EQ(lastExtension("a.b.xsp"), "xsp");
    EXPECT_EQ(lastExtension("xsp"), "xsp");
    EXPECT_EQ(lastExtension("a."), "");
    EXPECT_TRUE(isRequirementFileName("House_Rooms.old.csv"));
    EXPECT_FALSE(isRequirementFileName("House_Rooms.csv.bak"));
    EXPECT_FALSE(isProjectFileName("House.XSP"));
    EXPECT_EQ(nameBeforeFirstPoint("House_Rooms.old.csv"), "House_Rooms");
    EXPECT_EQ(nameBeforeFirstPoint("Rooms"), "Rooms");
}

} // namespace

namespace {

using namespace kovra_test;

// The dialog against Apache's WebDAV share on loopback, the account in a
// netrc file written for the test.
TEST(KovraClientDialogOnWebDav, ConnectLogsInAndShowsTheShare)
{
    ScratchFolder scratch;
    DavServer server;
    writeText(scratch.file("netrc"), server.netrcLine());
    ::setenv("KOVRA_NETRC", scratch.file("netrc").c_str(), 1);
    ::unsetenv("KOVRA_PLATFORM_URL");
    const std::filesystem::path share = server.shareFolder();
    std::filesystem::create_directories(share / "House" / "Plans" / "Old");
    writeText((share / "House" / "House.xsp").string(), projectFileText("House"));
    writeText((share / "House" / "Plans" / "notes.txt").string(), "notes");
    writeText((share / "House" / "Plans" / "Old" / "draft.txt").string(), "draft");
    std::filesystem::create_directories(share / "Garden");

    KovraClient::cKovraClient client(scratch.file("default"));
    std::vector<std::string> launched;
    auto* dialog = new KovraClientDialog(nullptr, &client, nullptr, KovraClientDialog::MODE_BROWSE,
                                         [&](const std::string& url) { launched.push_back(url); });
    dialog->baseUrl = server.filesUrl();
    dialog->Show();
    pumpEventsUntil([&] { return dialog->IsShownOnScreen(); });
    takeScreenshot("platform-dialog-before-login");

    // A login that is not confirmed changes nothing.
    wxTEST_DIALOG(pressButton(dialog, KovraClientDialog::ID_CONNECT), ExpectMessage("Please log in", wxCANCEL));
    EXPECT_FALSE(client.isConnected());
    EXPECT_EQ(dialog->userLabel->GetLabel(), "Not logged in");
    wxTEST_DIALOG(pressButton(dialog, KovraClientDialog::ID_CONNECT), ExpectMessage("Please log in", wxOK));
    EXPECT_TRUE(client.isConnected());
    EXPECT_EQ(launched.size(), 2u);
    EXPECT_EQ(dialog->userLabel->GetLabel(), server.user());
    wxTreeListCtrl* tree = dialog->tree;
    EXPECT_EQ(childNames(tree, tree->GetRootItem()), (std::vector<std::string>{"Garden", "House"}));
    EXPECT_EQ(childNames(tree, rowAt(tree, {"House"})), (std::vector<std::string>{"Plans", "House.xsp"}));
    EXPECT_EQ(childNames(tree, rowAt(tree, {"House", "Plans", "Old"})), std::vector<std::string>{"draft.txt"});
    selectRow(tree, rowAt(tree, {"House", "House.xsp"}));
    EXPECT_TRUE(buttonEnabled(dialog, KovraClientDialog::ID_DOWNLOAD));
    EXPECT_EQ(dialog->downloadButton->GetLabel(), "Open Project");
    pumpEvents(100);
    takeScreenshot("platform-dialog-after-login");

    pressButton(dialog, KovraClientDialog::ID_DISCONNECT);
    EXPECT_FALSE(client.isConnected());
    dialog->Destroy();
    pumpEvents(20);
    ::unsetenv("KOVRA_NETRC");
}

} // namespace
