#include "shell/AppSettings.h"
#include "shell/AppState.h"
#include "shell/KovraApp.h"

#include "model/Building.h"
#include "model/Project.h"
#include "model/Proposal.h"
#include "model/Requirement.h"
#include "support/FileSupport.h"
#include "support/ModelFixtures.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include <unistd.h>

namespace {

using namespace kovra_test;

std::string projectText(const bg::Project& project)
{
    std::stringstream out;
    project.saveToStream(out);
    return maskIds(out.str());
}

class AppStateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto project = std::make_shared<bg::Project>("Häuser & Co");
        project->addBuilding(makeRectBuilding(12, 9, 2));
        project->addRequirementSet(makeRequirementSet({makeRequirement(0, "Living", 20),
                                                       makeRequirement(1, "Kitchen", 12, 0, {0})}));
        state.project = project;
    }

    AppState state;
    ScratchFolder folder;
};

TEST_F(AppStateTest, SaveThenLoadGivesAnEqualProject)
{
    const std::string path = folder.file("house.xsp");
    state.saveProject(path);
    const auto saved = state.project;
    const auto warnings = state.loadProject(path);
    EXPECT_TRUE(warnings.empty());
    ASSERT_NE(state.project, saved);
    EXPECT_EQ(state.project->name, "Häuser & Co");
    EXPECT_EQ(projectText(*state.project), projectText(*saved));
}

TEST_F(AppStateTest, FailedLoadKeepsTheOpenProject)
{
    const auto open = state.project;
    writeText(folder.file("empty.xml"), "<?xml version=\"1.0\"?><other/>");
    writeText(folder.file("broken.xsp"), "<project><name>x</name><buildings>");
    for (const std::string& path :
         {folder.file("missing.xsp"), folder.file("empty.xml"), folder.file("broken.xsp")}) {
        EXPECT_THROW(state.loadProject(path), std::exception) << path;
        EXPECT_EQ(state.project, open) << path;
    }
}

TEST_F(AppStateTest, ALoadDerivesTheInnerOutlinesBeforeItReplacesTheProject)
{
    // Both "Load Project" and a load from the platform go through here: the
    // pages of the loaded project find their rooms' inner outlines ready.
    bg::Project placed("Placed");
    placed.addBuilding(makeRectBuilding(10, 8));
    placed.addRequirementSet(makeRequirementSet({makeRequirement(0, "Hall", 10)}));
    placed.proposals.push_back(makeProposal(placed.buildings.front(), placed.requirementSets.front()));
    placeRoom(placed.proposals.front(), placed.proposals.front()->rooms.front(), {1, 1}, {3, 3}, 0);
    const std::string path = folder.file("placed.xsp");
    placed.saveToFile(path);
    state.loadProject(path);
    ASSERT_EQ(state.project->proposals.size(), 1u);
    EXPECT_EQ(state.project->proposals.front()->rooms.front()->innerContour.size(), 4u);
}

TEST_F(AppStateTest, FailedSaveRaisesAndKeepsTheEarlierFile)
{
    const std::string path = folder.file("kept.xsp");
    writeText(path, "earlier");
    std::filesystem::permissions(folder.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    const bool writable = ::access(folder.path().c_str(), W_OK) == 0; // root writes anyway
    if (!writable) {
        EXPECT_THROW(state.saveProject(path), std::runtime_error);
    }
    std::filesystem::permissions(folder.path(), std::filesystem::perms::owner_all);
    if (!writable) {
        EXPECT_EQ(readText(path), "earlier");
    }

    EXPECT_THROW(state.saveProject(folder.file("no/such/folder/x.xsp")), std::runtime_error);
    state.project.reset();
    EXPECT_THROW(state.saveProject(path), std::runtime_error);
}

TEST_F(AppStateTest, PageEntryStaysWithANullPageAfterTheClose)
{
    auto building = state.project->buildings.front();
    wxWindow* first = reinterpret_cast<wxWindow*>(0x1000);
    wxWindow* second = reinterpret_cast<wxWindow*>(0x2000);
    state.registerPage(building, first);
    state.registerPage(building, nullptr);
    ASSERT_EQ(state.buildingPages.count(building), 1u);
    EXPECT_EQ(state.buildingPages[building], nullptr);
    state.registerPage(building, second);
    EXPECT_EQ(state.buildingPages.size(), 1u);
    EXPECT_EQ(state.buildingPages[building], second);
}

TEST(AppSettings, ResourceFolderFollowsTheSolutionFileRule)
{
    ScratchFolder folder;
    const wxFileName exeDir = wxFileName::DirName(folder.path().string());
    EXPECT_EQ(resourceDirFor(exeDir).GetPath(), exeDir.GetPath());
    writeText(folder.file("kovra.sln"), "");
    wxFileName expected = exeDir;
    expected.AppendDir("kovra");
    EXPECT_EQ(resourceDirFor(exeDir).GetPath(), expected.GetPath());
}

TEST(AppSettings, CreatesTheUserFolderWithItsParents)
{
    ScratchFolder folder;
    const wxFileName documents = wxFileName::DirName(folder.file("home/Documents"));
    AppSettings settings(wxFileName::DirName(folder.path().string()), documents, "KovraApp");
    EXPECT_TRUE(std::filesystem::is_directory(folder.file("home/Documents/KovraApp")));
    EXPECT_EQ(settings.defaultWidth, 15.0);
    EXPECT_EQ(settings.defaultLength, 15.0);
}

TEST(AppSettings, UncreatableUserFolderIsKeptByName)
{
    ScratchFolder folder;
    writeText(folder.file("file"), "a file, not a folder");
    AppSettings settings(wxFileName::DirName(folder.path().string()), wxFileName::DirName(folder.file("file")),
                         "KovraApp");
    EXPECT_EQ(settings.userDir.GetDirs().Last(), "KovraApp");
}

TEST(Numbers, FormatWithAPointWhateverTheUserLocale)
{
    useCNumbers();
    EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    char text[16];
    std::snprintf(text, sizeof text, "%.1f", 2.5);
    EXPECT_STREQ(text, "2.5");
}

} // namespace
