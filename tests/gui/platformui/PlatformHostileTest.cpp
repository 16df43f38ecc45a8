// The platform dialogs' GUI-free logic against a hostile WebDAV server of our
// own on loopback (tests/support/hostile_dav.py): an overwrite that the
// server answers with success but keeps badly, and trees without end.

#include "PlatformDialogSupport.h"

#include "platformui/PlatformUpload.h"

#include <wx/frame.h>

#include <functional>

namespace {

using namespace kovra_test;
using KovraClient::cKovraClient;

class Hostile {
public:
    Hostile(const std::string& mode, const std::vector<std::string>& arguments = {})
        : server(mode, withBounds(arguments), "hostile_dav.py")
    {
        writeText(scratch.file("netrc"), "machine 127.0.0.1 login alice password any\n");
        ::setenv("KOVRA_NETRC", scratch.file("netrc").c_str(), 1);
        client = std::make_unique<cKovraClient>(scratch.file("default"));
        std::string loginUrl;
        EXPECT_TRUE(client->autorizationRequest(server.url() + "/dav/", "", loginUrl)) << client->lastError();
        EXPECT_TRUE(client->tokenRequest()) << client->lastError();
    }
    ~Hostile() { ::unsetenv("KOVRA_NETRC"); }

    StandIn server;
    ScratchFolder scratch;
    std::unique_ptr<cKovraClient> client;

private:
    static std::vector<std::string> withBounds(std::vector<std::string> arguments)
    {
        arguments.insert(arguments.end(), {"--max-seconds", "8", "--lifetime", "60"});
        return arguments;
    }
};

std::vector<std::string> namesOf(const std::vector<KovraClient::KovraResource>& resources)
{
    std::vector<std::string> names;
    for (const auto& resource : resources)
        names.push_back(resource.name);
    return names;
}

std::string content(cKovraClient& client, const std::string& id, const std::string& local)
{
    if (!client.downloadFile(id, local))
        return "(" + client.lastError() + ")";
    return readText(local);
}

// "Save Project" with "Overwrite": the project's platform copy plan.xsp is
// replaced by a new one. Each row is a server that answers the store with
// success, and what must follow.
TEST(HostileOverwrite, TheOldCopyGoesOnlyOnceTheNewOneIsReadBackWhole)
{
    struct Row {
        const char* mode;
        const char* message; // in the exception, or in the notice when stored
        bool stored;
    };
    const Row rows[] = {
        {"put-nothing", "does not list the new copy", false},
        {"put-truncated", "not the 28 bytes sent", false},
        {"put-other-etag", "another version tag", false},
        {"move-fails", "could not be renamed to \"plan.xsp\"", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.mode);
        Hostile hostile(row.mode);
        cKovraClient& client = *hostile.client;
        const auto project = client.getAssets().at(0).id;
        const auto old = client.getResources(project).at(0);
        ASSERT_EQ(old.name, "plan.xsp");
        const std::string staged = hostile.scratch.file("project.xsp");
        writeText(staged, "the new project, all of it.\n");

        std::string message;
        Upload result;
        try {
            result = upload(client, staged, "plan.xsp", project, old.id);
        } catch (const std::exception& error) {
            message = error.what();
        }
        if (row.stored) {
            EXPECT_TRUE(message.empty()) << message;
            EXPECT_NE(result.notice.find(row.message), std::string::npos) << result.notice;
            EXPECT_NE(result.notice.find("HTTP 500"), std::string::npos) << result.notice;
            EXPECT_EQ(result.notice.find("is taken"), std::string::npos) << result.notice;
            EXPECT_EQ(content(client, result.resource.id, hostile.scratch.file("read")),
                      "the new project, all of it.\n");
            continue;
        }
        EXPECT_NE(message.find(row.message), std::string::npos) << message;
        EXPECT_NE(message.find("The older copy was kept"), std::string::npos) << message;
        const auto left = client.getResources(project);
        EXPECT_EQ(namesOf(left), std::vector<std::string>{"plan.xsp"}) << "the faulty new copy is removed";
        EXPECT_EQ(content(client, old.id, hostile.scratch.file("read")), "the old project");
    }
}

TEST(HostileTree, AnEndlessTreeIsReadToItsDepthAndSaysSo)
{
    Hostile hostile("endless-depth");
    const RemoteRepository read = readRepository(*hostile.client, TreeLimits{});
    int depth = 0;
    for (const RemoteNode* node = &read.assets.at(0); !node->children.empty(); node = &node->children.front())
        ++depth;
    EXPECT_EQ(depth + 1, kovraplatform::limits::treeDepth);
    EXPECT_TRUE(read.tooDeep);
    EXPECT_NE(read.notice().find("deeper than 32 levels"), std::string::npos) << read.notice();
    // One listing of folders and one of files per level, and the root's.
    EXPECT_LE(hostile.server.requestLog().size(), 2u * kovraplatform::limits::treeDepth + 3);
}

TEST(HostileTree, AWideTreeStopsAtItsEntryCountAndSaysSo)
{
    Hostile hostile("wide", {"--count", "120"});
    const RemoteRepository read = readRepository(*hostile.client, TreeLimits{32, 50});
    EXPECT_EQ(read.assets.at(0).children.size(), 49u) << "the project counts as one entry";
    EXPECT_TRUE(read.tooMany);
    EXPECT_NE(read.notice().find("after the first 50 entries"), std::string::npos) << read.notice();

    const RemoteRepository whole = readRepository(*hostile.client, TreeLimits{});
    EXPECT_EQ(whole.assets.at(0).children.size(), 120u);
    EXPECT_TRUE(whole.notice().empty()) << whole.notice();
}

// A listing with "./" and "../" entries: the dialog's tree shows the sound
// entries and says in one notice how many it left out; nothing recurses.
TEST(HostileTree, TheDialogLeavesOutEntriesWithUnusableNamesInOneNotice)
{
    Hostile hostile("tricky-listing");
    wxFrame* frame = new wxFrame(nullptr, wxID_ANY, "Owner");
    PlatformTree* tree = nullptr;
    wxTEST_DIALOG(
        {
            tree = new PlatformTree(frame, hostile.client.get());
            tree->refreshTree();
        },
        ExpectMessage("6 entries whose names cannot be used"));
    EXPECT_EQ(childNames(tree->control(), tree->control()->GetRootItem()), std::vector<std::string>{"Project"});
    EXPECT_EQ(childNames(tree->control(), rowAt(tree->control(), {"Project"})), std::vector<std::string>{"plan.xsp"});
    delete tree;
    frame->Destroy();
    pumpEvents(5);
}

} // namespace
