// Saving the open project and its IFC model to the platform, and moving
// requirement sets to and from it, on a platform kept in a scratch folder;
// once more end to end against Apache's WebDAV share on loopback.

#include "PlatformDialogSupport.h"

#include "shell/AppState.h"
#include "requirements/DiagramCtrl.h"
#include "shell/Events.h"
#include "proposal/InnerContours.h"
#include "platformui/KovraClientDialog.h"
#include "platformui/RequirementPlatformDialog.h"
#include "requirements/RequirementSetPane.h"

#include "model/Project.h"
#include "model/Proposal.h"
#include "model/Requirement.h"
#include "model/RequirementFile.h"
#include "support/ExternalTool.h"
#include "support/ModelFixtures.h"

#include <wx/checklst.h>
#include <wx/dataview.h>
#include <wx/frame.h>

#include <functional>
#include <sstream>

namespace {

using namespace kovra_test;

std::vector<std::string> filesIn(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.is_regular_file())
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string projectText(const bg::Project& project)
{
    std::stringstream out;
    project.saveToStream(out);
    return out.str();
}

// What IfcOpenShell, the reader of the export tests, makes of an IFC file:
// its schema, the author in its header and how many storeys and spaces it
// holds, one a line; the reader's complaint when it cannot read the file.
std::string ifcSummary(const std::string& path)
{
    const std::string script = "import sys, ifcopenshell\n"
                               "f = ifcopenshell.open(sys.argv[1])\n"
                               "print(f.schema)\n"
                               "print(f.header.file_name.author[0])\n"
                               "print(len(f.by_type('IfcBuildingStorey')))\n"
                               "print(len(f.by_type('IfcSpace')))\n";
    return testsupport::runCommand("python3 -c " + testsupport::shellQuote(script) + " " +
                                   testsupport::shellQuote(path))
        .output;
}

// Answers the requirement-set dialog with what the function does to it.
class ExpectSetsDialog : public wxExpectModalBase<RequirementPlatformDialog, ExpectSetsDialog> {
public:
    explicit ExpectSetsDialog(std::function<int(RequirementPlatformDialog&)> answer) : answer(std::move(answer)) {}

protected:
    int OnInvoked(RequirementPlatformDialog* dialog) const override { return answer(*dialog); }

private:
    std::function<int(RequirementPlatformDialog&)> answer;
};

// The open project "House" (a solved proposal), an owner window, the save
// dialog and the moves a user makes on it, on either platform.
template <typename Platform>
class SaveDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto project = bg::Project::load(dataFile("solved-house.xsp"));
        project->name = "House";
        // As the main window does with a project it loads.
        recomputeInnerContours(project.get());
        getAppState().project = project;
        getAppState().platformResourceId.clear();
        frame = new wxFrame(nullptr, wxID_ANY, "Owner");
        frame->Show();
        platform.login();
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

    // A fresh save dialog, as the main window makes one per command.
    void open()
    {
        if (dialog)
            dialog->Destroy();
        dialog = new KovraClientDialog(frame, platform.client.get(), nullptr, KovraClientDialog::MODE_SAVE);
        dialog->Show();
        tree = dialog->tree;
    }
    void select(std::initializer_list<std::string> names)
    {
        const wxTreeListItem item = rowAt(tree, names);
        ASSERT_TRUE(item.IsOk());
        selectRow(tree, item);
    }
    void tick(bool projectFile, bool ifcFile)
    {
        dialog->fileTypes->Check(0, projectFile);
        dialog->fileTypes->Check(1, ifcFile);
    }
    void save() { pressButton(dialog, KovraClientDialog::ID_SAVE); }
    std::string storedProjectName(const std::string& path)
    {
        return bg::Project::load((platform.root() / path).string())->name;
    }

    // The requirement-set dialog over the owner window, shown.
    RequirementPlatformDialog* openSets(const std::shared_ptr<bg::RequirementSet>& set, int mode)
    {
        auto* sets = new RequirementPlatformDialog(frame, platform.client.get(), nullptr, set, mode);
        sets->Show();
        return sets;
    }

    Platform platform;
    wxFrame* frame = nullptr;
    KovraClientDialog* dialog = nullptr;
    wxTreeListCtrl* tree = nullptr;
};

// Requirement-file rows read back compare equal to the set's requirements.
void expectSameRequirements(const bg::RequirementSet& read, const bg::RequirementSet& written)
{
    ASSERT_EQ(read.requirements.size(), written.requirements.size());
    for (size_t k = 0; k < written.requirements.size(); ++k) {
        const bg::Requirement& mine = *written.requirements[k];
        const bg::Requirement& back = *read.requirements[k];
        EXPECT_EQ(back.index, mine.index) << k;
        EXPECT_EQ(back.name, mine.name) << k;
        EXPECT_EQ(back.roomType, mine.roomType) << k;
        EXPECT_DOUBLE_EQ(back.area, mine.area) << k;
        EXPECT_NEAR(back.minLength, mine.minLength, 1e-6) << k;
        EXPECT_NEAR(back.maxWidth, mine.maxWidth, 1e-6) << k;
        EXPECT_EQ(back.level, mine.level) << k;
        EXPECT_EQ(back.adjacency, mine.adjacency) << k;
    }
}

class PlatformSaveTest : public SaveDialogTest<FolderPlatform> {
protected:
    void SetUp() override
    {
        platform.folder("House/Plans");
        platform.folder("Other");
        platform.put("House/notes.txt");
        SaveDialogTest::SetUp();
    }

    // Stores the project once, in House, so that it has a platform copy.
    void saveOnce()
    {
        open();
        select({"House"});
        save();
        ASSERT_TRUE(platform.has("House/House.xsp"));
        ASSERT_FALSE(getAppState().platformResourceId.empty());
    }
};

TEST_F(PlatformSaveTest, AProjectNeverStoredIsSavedWithoutAQuestion)
{
    open();
    EXPECT_TRUE(dialog->fileTypes->IsChecked(0));
    EXPECT_FALSE(dialog->fileTypes->IsChecked(1));
    select({"House", "notes.txt"});
    save();
    EXPECT_EQ(filesIn(platform.root() / "House"), (std::vector<std::string>{"House.xsp", "notes.txt"}));
    EXPECT_EQ(storedProjectName("House/House.xsp"), "House");
    const PlatformEntry row = dialog->platformTree().findEntry(rowAt(tree, {"House", "House.xsp"}));
    EXPECT_EQ(getAppState().platformResourceId, row.platformId);
    EXPECT_FALSE(row.date.empty());
    EXPECT_FALSE(dialog->IsShown());
}

TEST_F(PlatformSaveTest, OverwriteReplacesTheCopyInItsOwnFolder)
{
    saveOnce();
    const std::string oldId = getAppState().platformResourceId;
    getAppState().project->addRequirementSet(makeRequirementSet({makeRequirement(0, "Den", 9)}, "Later"));
    open();
    EXPECT_EQ(dialog->platformTree().selectedEntry().platformId, oldId) << "the project's file starts selected";
    pumpEventsUntil([&] { return dialog->IsShownOnScreen(); });
    pumpEvents(100);
    takeScreenshot("platform-save-dialog");
    wxTEST_DIALOG(save(), ExpectMessage("Overwrite current project", wxYES));
    EXPECT_EQ(filesIn(platform.root() / "House"), (std::vector<std::string>{"House.xsp", "notes.txt"}));
    auto stored = bg::Project::load((platform.root() / "House/House.xsp").string());
    EXPECT_EQ(stored->requirementSets.size(), getAppState().project->requirementSets.size());
    EXPECT_NE(getAppState().platformResourceId, oldId);
    EXPECT_EQ(childNames(tree, rowAt(tree, {"House"})), (std::vector<std::string>{"Plans", "notes.txt", "House.xsp"}));
}

TEST_F(PlatformSaveTest, OverwriteIntoAnotherFolderRemovesTheOldCopyWhereItWas)
{
    saveOnce();
    open();
    select({"Other"});
    wxTEST_DIALOG(save(), ExpectMessage("Overwrite current project", wxYES));
    EXPECT_EQ(filesIn(platform.root() / "Other"), std::vector<std::string>{"House.xsp"});
    EXPECT_EQ(filesIn(platform.root() / "House"), std::vector<std::string>{"notes.txt"});
    EXPECT_FALSE(rowAt(tree, {"House", "House.xsp"}).IsOk());
}

TEST_F(PlatformSaveTest, AFailedUploadKeepsTheOldCopyAndTheStatesId)
{
    saveOnce();
    const std::string oldId = getAppState().platformResourceId;
    const std::string before = platform.read("House/House.xsp");
    open();
    select({"House", "Plans"});
    std::filesystem::remove_all(platform.root() / "House" / "Plans");
    wxTEST_DIALOG(save(), ExpectMessage("Overwrite current project", wxYES), ExpectMessage("Plans"));
    EXPECT_EQ(platform.read("House/House.xsp"), before);
    EXPECT_EQ(getAppState().platformResourceId, oldId);
    EXPECT_TRUE(dialog->IsShown());
}

TEST_F(PlatformSaveTest, RenameKeepsTheOldCopyAndCancelSavesNothing)
{
    saveOnce();
    open();
    wxTEST_DIALOG(save(), ExpectMessage("Overwrite current project", wxCANCEL));
    EXPECT_EQ(filesIn(platform.root() / "House"), (std::vector<std::string>{"House.xsp", "notes.txt"}));
    EXPECT_TRUE(dialog->IsShown());

    const std::string oldId = getAppState().platformResourceId;
    wxTEST_DIALOG(save(), ExpectMessage("Overwrite current project", wxNO), ExpectTextEntry("Variant"));
    EXPECT_EQ(filesIn(platform.root() / "House"), (std::vector<std::string>{"House.xsp", "Variant.xsp", "notes.txt"}));
    EXPECT_EQ(storedProjectName("House/Variant.xsp"), "House");
    EXPECT_NE(getAppState().platformResourceId, oldId);
}

TEST_F(PlatformSaveTest, ANameTakenByAnotherFileKeepsBothAndSaysSo)
{
    platform.put("Other/Copy.xsp", "someone else's");
    saveOnce();
    open();
    select({"Other"});
    wxTEST_DIALOG(save(), ExpectMessage("Overwrite current project", wxNO), ExpectTextEntry("Copy"),
                  ExpectMessage("Copy (2).xsp"));
    EXPECT_EQ(platform.read("Other/Copy.xsp"), "someone else's");
    EXPECT_EQ(storedProjectName("Other/Copy (2).xsp"), "House");
    EXPECT_TRUE(rowAt(tree, {"Other", "Copy (2).xsp"}).IsOk());
}

TEST_F(PlatformSaveTest, IfcFileAloneKeepsThePlatformId)
{
    saveOnce();
    const std::string id = getAppState().platformResourceId;
    open();
    tick(false, true);
    wxTEST_DIALOG(save(), ExpectMessage("Overwrite current project", wxYES));
    EXPECT_EQ(filesIn(platform.root() / "House"), (std::vector<std::string>{"House.ifc", "House.xsp", "notes.txt"}));
    const std::string ifc = platform.read("House/House.ifc");
    EXPECT_EQ(ifc.rfind("ISO-10303-21;", 0), 0u);
    EXPECT_NE(ifc.find("FILE_SCHEMA(('IFC4'))"), std::string::npos);
    EXPECT_NE(ifc.find(platform.client->getLogginUser().name), std::string::npos) << "the author";
    EXPECT_EQ(getAppState().platformResourceId, id);
}

TEST_F(PlatformSaveTest, NoSelectionIsAskedForAfterTheQuestion)
{
    open();
    selectRow(tree, wxTreeListItem());
    wxTEST_DIALOG(save(), ExpectMessage("Please select a location"));
    EXPECT_EQ(filesIn(platform.root() / "House"), std::vector<std::string>{"notes.txt"});
    EXPECT_TRUE(dialog->IsShown());

    saveOnce();
    open();
    selectRow(tree, wxTreeListItem());
    wxTEST_DIALOG(save(), ExpectMessage("Overwrite current project", wxYES), ExpectMessage("Please select a location"));
    EXPECT_TRUE(dialog->IsShown());
}

TEST_F(PlatformSaveTest, NeitherItemTickedClosesWithoutUploading)
{
    open();
    select({"Other"});
    tick(false, false);
    save();
    EXPECT_TRUE(filesIn(platform.root() / "Other").empty());
    EXPECT_FALSE(dialog->IsShown());
}

TEST_F(PlatformSaveTest, AFirstProposalWithoutBuildingSkipsTheIfcFile)
{
    getAppState().project->proposals.push_front(std::make_shared<bg::Proposal>("Empty"));
    open();
    select({"Other"});
    tick(true, true);
    wxTEST_DIALOG(save(), ExpectMessage("no building"));
    EXPECT_EQ(filesIn(platform.root() / "Other"), std::vector<std::string>{"House.xsp"});
}

// The requirement-set dialog on the same platform.
using RequirementPlatformTest = PlatformSaveTest;

TEST_F(RequirementPlatformTest, ASetIsSavedAsProjectAndSetNameAndImportedAgain)
{
    auto rooms = makeRequirementSet({makeRequirement(0, "Living", 24), makeRequirement(1, "Kitchen", 11)}, "Rooms");
    auto* sets = openSets(rooms, RequirementPlatformDialog::MODE_SAVE);
    EXPECT_TRUE(buttonEnabled(sets, RequirementPlatformDialog::ID_SAVE));
    selectRow(sets->tree, rowAt(sets->tree, {"House", "notes.txt"}));
    pumpEventsUntil([&] { return sets->IsShownOnScreen(); });
    pumpEvents(100);
    takeScreenshot("platform-requirement-dialog");
    wxTEST_DIALOG(pressButton(sets, RequirementPlatformDialog::ID_SAVE), ExpectMessage("File successfully saved."));
    EXPECT_TRUE(platform.has("House/House_Rooms.csv"));
    EXPECT_TRUE(rowAt(sets->tree, {"House", "House_Rooms.csv"}).IsOk());
    EXPECT_EQ(sets->GetReturnCode(), wxID_OK);
    sets->Destroy();

    auto imported = std::make_shared<bg::RequirementSet>();
    sets = openSets(imported, RequirementPlatformDialog::MODE_IMPORT);
    EXPECT_FALSE(buttonEnabled(sets, RequirementPlatformDialog::ID_SAVE));
    selectRow(sets->tree, rowAt(sets->tree, {"House", "House_Rooms.csv"}));
    EXPECT_TRUE(buttonEnabled(sets, RequirementPlatformDialog::ID_IMPORT));
    wxTEST_DIALOG(pressButton(sets, RequirementPlatformDialog::ID_IMPORT), ExpectMessage("File imported"));
    EXPECT_EQ(imported->name, "House_Rooms");
    expectSameRequirements(*imported, *rooms);
    EXPECT_EQ(sets->GetReturnCode(), wxID_OK);
    sets->Destroy();
}

TEST_F(RequirementPlatformTest, AMalformedFileLeavesTheSetAsItWas)
{
    platform.put("House/broken.csv", "Index;Name\n1;only two\n");
    auto rooms = makeRequirementSet({makeRequirement(0, "Living", 24)}, "Rooms");
    auto* sets = openSets(rooms, RequirementPlatformDialog::MODE_IMPORT);
    selectRow(sets->tree, rowAt(sets->tree, {"House", "broken.csv"}));
    wxTEST_DIALOG(pressButton(sets, RequirementPlatformDialog::ID_IMPORT), ExpectMessage("broken"));
    EXPECT_EQ(rooms->name, "Rooms");
    ASSERT_EQ(rooms->requirements.size(), 1u);
    EXPECT_EQ(rooms->requirements[0]->name, "Living");
    EXPECT_TRUE(sets->IsShown());
    sets->Destroy();
}

// "Import" also works in the dialog the requirement page opens to save its
// set; the page then shows the rooms the file brought.
TEST_F(RequirementPlatformTest, AnImportFromTheRequirementPageShowsTheImportedRooms)
{
    auto stored = makeRequirementSet({makeRequirement(0, "Hall", 8, 0, {1}), makeRequirement(1, "Study", 10, 0, {0, 2}),
                                      makeRequirement(2, "Bath", 6, 0, {1})},
                                     "Stored");
    bg::exportRequirementsCsv(stored, (platform.root() / "House" / "House_Stored.csv").string());
    auto rooms = makeRequirementSet({makeRequirement(0, "Living", 24)}, "Rooms");
    auto* page = new RequirementSetPane(frame, nullptr, rooms, makeRectBuilding(10, 10));
    page->client = platform.client.get();
    ASSERT_EQ(page->table->GetItemCount(), 1);
    std::string retitledTo;
    frame->Bind(EVT_REQUIREMENT_SET_NAME_CHANGED, [&](wxCommandEvent& event) {
        retitledTo = static_cast<bg::RequirementSet*>(event.GetClientData())->name;
    });

    wxTEST_DIALOG(page->saveRequirements(), ExpectMessage("Kovra Platform", wxYES),
                  ExpectSetsDialog([](RequirementPlatformDialog& sets) {
                      EXPECT_EQ(sets.mode, RequirementPlatformDialog::MODE_SAVE);
                      selectRow(sets.tree, rowAt(sets.tree, {"House", "House_Stored.csv"}));
                      pressButton(&sets, RequirementPlatformDialog::ID_IMPORT);
                      return sets.GetReturnCode();
                  }).Describe("the requirement-set dialog"),
                  ExpectMessage("File imported"));
    EXPECT_EQ(rooms->name, "House_Stored");
    std::vector<std::string> names;
    for (int row = 0; row < page->table->GetItemCount(); ++row)
        names.push_back(page->table->GetTextValue(static_cast<unsigned>(row), 1).utf8_string());
    EXPECT_EQ(names, (std::vector<std::string>{"Hall", "Study", "Bath"}));
    EXPECT_EQ(page->diagram->graph.nodes.size(), 3u);
    EXPECT_EQ(page->diagram->graph.edges.size(), 4u);
    // The import renamed the set: its page's tab is told to follow.
    pumpEvents(20);
    EXPECT_EQ(retitledTo, "House_Stored");
}

TEST_F(RequirementPlatformTest, OnlyRequirementFilesCanBeImported)
{
    platform.put("House/rooms.old.csv");
    platform.put("House/rooms.csv.bak");
    auto* sets = openSets(std::make_shared<bg::RequirementSet>(), RequirementPlatformDialog::MODE_IMPORT);
    selectRow(sets->tree, rowAt(sets->tree, {"House", "rooms.old.csv"}));
    EXPECT_TRUE(buttonEnabled(sets, RequirementPlatformDialog::ID_IMPORT));
    selectRow(sets->tree, rowAt(sets->tree, {"House", "rooms.csv.bak"}));
    EXPECT_FALSE(buttonEnabled(sets, RequirementPlatformDialog::ID_IMPORT));
    selectRow(sets->tree, rowAt(sets->tree, {"House"}));
    EXPECT_FALSE(buttonEnabled(sets, RequirementPlatformDialog::ID_IMPORT));
    sets->Destroy();
}

// End to end against Apache's WebDAV share: the files the commands store
// are read back from the server's folder and through the client.
class PlatformSaveOnWebDavTest : public SaveDialogTest<DavPlatform> {
protected:
    void SetUp() override
    {
        SaveDialogTest::SetUp();
        platform.client->createAsset("House");
    }
};

TEST_F(PlatformSaveOnWebDavTest, TheProjectAndItsIfcModelAreStoredOnTheServer)
{
    open();
    select({"House"});
    tick(true, true);
    save();
    EXPECT_FALSE(dialog->IsShown());
    const std::filesystem::path house = platform.root() / "House";
    EXPECT_EQ(filesIn(house), (std::vector<std::string>{"House.ifc", "House.xsp"}));
    const bg::Project& mine = *getAppState().project;
    const auto stored = bg::Project::load((house / "House.xsp").string());
    EXPECT_EQ(stored->name, "House");
    EXPECT_EQ(maskIds(projectText(*stored)), maskIds(projectText(mine)));
    EXPECT_EQ(getAppState().platformResourceId,
              dialog->platformTree().findEntry(rowAt(tree, {"House", "House.xsp"})).platformId);

    const auto& proposal = mine.proposals.front();
    EXPECT_EQ(ifcSummary((house / "House.ifc").string()),
              "IFC4\n" + platform.user() + "\n" + std::to_string(proposal->building->floors.size()) + "\n" +
                  std::to_string(proposal->getRooms().size()) + "\n");
}

TEST_F(PlatformSaveOnWebDavTest, ARequirementSetIsSavedAndImportedAgain)
{
    auto rooms = makeRequirementSet({makeRequirement(0, "Living", 24, 0, {1}),
                                     makeRequirement(1, "Kitchen", 11, 0, {0}, "Kitchen and cleaning")},
                                    "Rooms");
    auto* sets = openSets(rooms, RequirementPlatformDialog::MODE_SAVE);
    selectRow(sets->tree, rowAt(sets->tree, {"House"}));
    wxTEST_DIALOG(pressButton(sets, RequirementPlatformDialog::ID_SAVE), ExpectMessage("File successfully saved."));
    sets->Destroy();
    EXPECT_EQ(filesIn(platform.root() / "House"), std::vector<std::string>{"House_Rooms.csv"});

    auto imported = std::make_shared<bg::RequirementSet>();
    sets = openSets(imported, RequirementPlatformDialog::MODE_IMPORT);
    selectRow(sets->tree, rowAt(sets->tree, {"House", "House_Rooms.csv"}));
    wxTEST_DIALOG(pressButton(sets, RequirementPlatformDialog::ID_IMPORT), ExpectMessage("File imported"));
    EXPECT_EQ(sets->GetReturnCode(), wxID_OK);
    sets->Destroy();
    EXPECT_EQ(imported->name, "House_Rooms");
    expectSameRequirements(*imported, *rooms);
}

} // namespace

// Project and set names are free text read verbatim from project files: a
// name that would reach outside the staging folder or hide the file on the
// platform stores nothing, writes nothing outside, and says why.
struct HostileName {
    const char* row;
    std::string name; // "<outside>" stands for the absolute path of the outside file's stem
};

std::vector<HostileName> hostileNames()
{
    return {{"two folders up", "../../outside/thesis"},
            {"absolute path", "<outside>"},
            {"parent", ".."},
            {"leading point", ".thesis"},
            {"backslash", "a\\b"},
            {"line break", "thesis\nold"}};
}

TEST_F(PlatformSaveTest, AProjectNameThatReachesOutsideStoresNothingAndWritesNothingOutside)
{
    const std::filesystem::path outside = platform.local("outside");
    std::filesystem::create_directories(outside);
    for (const HostileName& row : hostileNames()) {
        SCOPED_TRACE(row.row);
        for (const char* extension : {".xsp", ".ifc", "_Rooms.csv"})
            writeText((outside / (std::string("thesis") + extension)).string(), "mine");
        const std::string name = row.name == "<outside>" ? (outside / "thesis").string() : row.name;
        getAppState().project->name = name;
        open();
        select({"House"});
        tick(true, true);
        wxTEST_DIALOG(save(), ExpectMessage("cannot be used"));

        auto rooms = makeRequirementSet({makeRequirement(0, "Living", 24)}, "Rooms");
        auto* sets = openSets(rooms, RequirementPlatformDialog::MODE_SAVE);
        selectRow(sets->tree, rowAt(sets->tree, {"House"}));
        wxTEST_DIALOG(pressButton(sets, RequirementPlatformDialog::ID_SAVE), ExpectMessage("cannot be used"));
        sets->Destroy();

        for (const char* extension : {".xsp", ".ifc", "_Rooms.csv"})
            EXPECT_EQ(readText((outside / (std::string("thesis") + extension)).string()), "mine") << extension;
        EXPECT_EQ(filesIn(outside).size(), 3u);
        EXPECT_EQ(filesIn(platform.root() / "House"), std::vector<std::string>{"notes.txt"});
        EXPECT_TRUE(getAppState().platformResourceId.empty());
        pumpEvents(5);
        EXPECT_TRUE(platform.temporaryFolderEmpty());
    }
}
