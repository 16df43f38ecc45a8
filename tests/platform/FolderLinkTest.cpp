// A folder platform holding symbolic links, in a temporary folder: links are
// listed as what they are and nothing is read, written or deleted through
// them; links to "." and ".." make no loop.

#include "PlatformSupport.h"

#include "platform/FolderStore.h"

#include <functional>

using KovraClient::cKovraClient;
using namespace kovra_test;
namespace fs = std::filesystem;

namespace {

// platform/Project holds a file, a link to a folder outside, a link to a file
// outside, and links to "." and "..".
class LinkedFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories(root() / "Project");
        fs::create_directories(outside() / "sub");
        writeText((outside() / "secret.txt").string(), "outside");
        writeText((outside() / "sub" / "kept.txt").string(), "outside");
        writeText((root() / "Project" / "plan.xsp").string(), "plan");
        fs::create_directory_symlink(outside(), root() / "Project" / "link-out");
        fs::create_symlink(outside() / "secret.txt", root() / "Project" / "link-file");
        fs::create_directory_symlink(".", root() / "Project" / "here");
        fs::create_directory_symlink("..", root() / "Project" / "up");
        fs::create_directory_symlink(".", root() / "loop");
    }

    fs::path root() const { return scratch.path() / "platform"; }
    fs::path outside() const { return scratch.path() / "outside"; }
    std::string local(const std::string& name, const std::string& content) const
    {
        writeText(scratch.file(name), content);
        return scratch.file(name);
    }
    void expectOutsideIntact() const
    {
        EXPECT_EQ(readText((outside() / "secret.txt").string()), "outside");
        EXPECT_EQ(readText((outside() / "sub" / "kept.txt").string()), "outside");
        std::size_t count = 0;
        for (const auto& entry : fs::recursive_directory_iterator(outside()))
            count += entry.is_regular_file() ? 1 : 0;
        EXPECT_EQ(count, 2u) << "nothing was written outside";
    }

    ScratchFolder scratch;
};

TEST_F(LinkedFolder, TheStoreNeverGoesThroughALink)
{
    kovraplatform::FolderStore store(root().string());
    const std::string copy = scratch.file("copy");
    struct Row {
        const char* row;
        std::function<void()> attack;
    };
    const Row rows[] = {
        {"download a linked file", [&] { store.download("Project/link-file", copy); }},
        {"download through a linked folder", [&] { store.download("Project/link-out/secret.txt", copy); }},
        {"upload into a linked folder", [&] { store.upload(local("new.txt", "new"), "Project/link-out/new.txt"); }},
        {"make a folder in a linked folder", [&] { store.makeFolder("Project/link-out/made"); }},
        {"delete beneath a linked folder", [&] { store.remove("Project/link-out/sub"); }},
        {"rename out through a linked folder", [&] { store.move("Project/plan.xsp", "Project/link-out/plan.xsp"); }},
        {"rename in from a linked folder", [&] { store.move("Project/link-out/secret.txt", "Project/taken.txt"); }},
        {"list a linked folder", [&] { store.list("Project/link-out"); }},
        {"list through a link to the folder itself", [&] { store.list("Project/here/here"); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.row);
        const std::string message = thrownMessage(row.attack);
        EXPECT_NE(message.find("symbolic link"), std::string::npos) << message;
        expectOutsideIntact();
        EXPECT_FALSE(fs::exists(copy));
        EXPECT_EQ(readText((root() / "Project" / "plan.xsp").string()), "plan");
    }
}

TEST_F(LinkedFolder, LinksAreListedAsLinksAndDeletingOneLeavesItsTarget)
{
    cKovraClient client(scratch.file("default"));
    std::string loginUrl;
    ASSERT_TRUE(client.autorizationRequest(root().string(), "", loginUrl)) << client.lastError();
    ASSERT_TRUE(client.tokenRequest()) << client.lastError();

    // "loop" (a link to the platform folder itself) is no project.
    const auto assets = client.getAssets();
    ASSERT_EQ(namesOf(assets), std::vector<std::string>{"Project"});
    EXPECT_TRUE(client.getFolders(assets.front().id).empty()) << "no link is entered as a folder";
    const auto files = client.getResources(assets.front().id);
    EXPECT_EQ(namesOf(files), (std::vector<std::string>{"here", "link-file", "link-out", "plan.xsp", "up"}));
    for (const auto& file : files)
        EXPECT_EQ(file.description, file.name == "plan.xsp" ? "" : "symbolic link") << file.name;

    const auto linked = [&](const std::string& name) {
        for (const auto& file : files)
            if (file.name == name)
                return file.id;
        return std::string();
    };
    EXPECT_FALSE(client.downloadFile(linked("link-file"), scratch.file("copy")));
    EXPECT_NE(client.lastError().find("symbolic link"), std::string::npos) << client.lastError();
    EXPECT_FALSE(fs::exists(scratch.file("copy")));
    EXPECT_FALSE(thrownMessage([&] { client.importFile(local("new.txt", "n"), linked("link-out")); }).empty());

    client.deleteResource(linked("link-out"));
    client.deleteResource(linked("up"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(root() / "Project" / "link-out")));
    EXPECT_TRUE(fs::exists(root() / "Project" / "plan.xsp"));
    expectOutsideIntact();
}

} // namespace
