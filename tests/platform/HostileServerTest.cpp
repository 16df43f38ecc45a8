// The client against a hostile WebDAV server of our own on loopback
// (tests/support/hostile_dav.py): listings that lead outside or loop, login
// pages that are no web page of the platform, and replies that trickle or
// never end. Each row is the attack and the sound outcome.

#include "PlatformSupport.h"

#include "platform/DavListing.h"
#include "platform/Limits.h"


using KovraClient::cKovraClient;
using namespace kovra_test;

namespace {

// The hostile server in one mode, a netrc file with an account for it and a
// client, logged in unless the row says otherwise.
class Hostile {
public:
    explicit Hostile(const std::string& mode, const std::vector<std::string>& arguments = {})
        : server(mode, withBounds(arguments), "hostile_dav.py")
    {
        writeText(scratch.file("netrc"), "machine 127.0.0.1 login alice password any\n");
        ::setenv("KOVRA_NETRC", scratch.file("netrc").c_str(), 1);
        client = std::make_unique<cKovraClient>(scratch.file("default"));
    }
    ~Hostile() { ::unsetenv("KOVRA_NETRC"); }

    bool login()
    {
        std::string loginUrl;
        return client->autorizationRequest(server.url() + "/dav/", "", loginUrl) && client->tokenRequest();
    }
    std::string file(const std::string& name) const { return scratch.file(name); }

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

struct HrefRow {
    const char* row;
    const char* href;
    const char* child; // the child's name, "" when the href names no child
};

TEST(DavListing, OnlyDirectChildrenOfTheListedCollectionAreEntries)
{
    const HrefRow rows[] = {
        {"a file", "/dav/Project/plan.xsp", "plan.xsp"},
        {"a folder", "/dav/Project/Plans/", "Plans"},
        {"encoded name", "/dav/Project/Floor%20plan.xsp", "Floor plan.xsp"},
        {"full address on the same host", "http://127.0.0.1:8080/dav/Project/plan.xsp", "plan.xsp"},
        {"dot segment reaches the caller to be refused", "/dav/Project/./", "."},
        {"dot-dot segment reaches the caller to be refused", "/dav/Project/../", ".."},
        {"the collection itself", "/dav/Project/", ""},
        {"the collection without its slash", "/dav/Project", ""},
        {"its parent", "/dav/", ""},
        {"the server's root", "/", ""},
        {"a sibling collection", "/dav/Other/x", ""},
        {"a name that starts alike", "/dav/Projects/x", ""},
        {"a grandchild", "/dav/Project/inner/deeper", ""},
        {"an encoded slash", "/dav/Project/a%2Fb", ""},
        {"another host", "http://elsewhere.example/dav/Project/plan.xsp", ""},
        {"a relative href", "plan.xsp", ""},
        {"empty", "", ""},
    };
    for (const HrefRow& row : rows) {
        SCOPED_TRACE(row.row);
        kovraplatform::ListedHref listed;
        listed.href = row.href;
        const auto listing = kovraplatform::collectionEntries({listed}, "http://127.0.0.1:8080/dav/Project/");
        if (*row.child) {
            ASSERT_EQ(listing.children.size(), 1u);
            EXPECT_EQ(listing.children.front().name, row.child);
        } else {
            EXPECT_TRUE(listing.children.empty());
        }
    }
}

TEST(HostilePlatform, AListingNeverLeadsARequestOutsideTheCollection)
{
    Hostile hostile("tricky-listing");
    ASSERT_TRUE(hostile.login()) << hostile.client->lastError();
    cKovraClient& client = *hostile.client;

    // "/dav/./", "/dav/../" and a name with a control character are left
    // out and counted; the root, "/other/", another host, a grandchild and
    // an encoded slash name nothing.
    const auto assets = client.getAssets();
    EXPECT_EQ(namesOf(assets), std::vector<std::string>{"Project"});
    EXPECT_EQ(client.takeRefusedNames(), 3);
    // "./", "../" and "%2E%2E/" beneath the project: no folder lists itself
    // or its parent as a child.
    EXPECT_TRUE(client.getFolders(assets.front().id).empty());
    EXPECT_EQ(client.takeRefusedNames(), 3);
    const auto files = client.getResources(assets.front().id);
    EXPECT_EQ(namesOf(files), std::vector<std::string>{"plan.xsp"});
    client.deleteResource(files.front().id);

    for (const std::string& line : hostile.server.requestLog())
        EXPECT_EQ(line.find(" /dav/"), line.find(' ')) << line;
}

// The login page the server names is opened in the browser: only a web page
// of the platform's own host is handed on.
TEST(HostilePlatform, OnlyAWebPageOfThePlatformsHostIsOpenedForTheLogin)
{
    struct Row {
        const char* row;
        const char* loginUrl; // the server puts its own address for {base}, its port for {port}
        bool opened;
    };
    const Row rows[] = {
        {"a page of the platform", "{base}/login/v2/flow/t", true},
        {"a local file", "file:///etc/passwd", false},
        {"another program's scheme", "javascript:alert(1)", false},
        {"plain http elsewhere", "http://elsewhere.example/login", false},
        {"https elsewhere", "https://elsewhere.example/login", false},
        {"another name of this machine", "http://localhost:{port}/login", false},
        {"no address", "not an address", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.row);
        Hostile hostile("login-page", {"--login-url", row.loginUrl});
        std::string loginUrl;
        const bool started = hostile.client->autorizationRequest(hostile.server.url(), "", loginUrl);
        EXPECT_EQ(started, row.opened) << hostile.client->lastError();
        if (row.opened) {
            EXPECT_EQ(loginUrl, hostile.server.url() + "/login/v2/flow/t");
        } else {
            EXPECT_TRUE(loginUrl.empty()) << loginUrl;
            EXPECT_NE(hostile.client->lastError().find("login page cannot be opened"), std::string::npos)
                << hostile.client->lastError();
        }
    }
}

// Replies that trickle or never end are cut at the bounds, which a test sets
// small; the message says which bound.
TEST(HostilePlatform, EveryReplyEndsWithinItsBounds)
{
    struct Row {
        const char* row;
        std::string mode;
        std::vector<std::string> arguments;
        kovraplatform::HttpSettings limits;
        const char* stage; // "login", "start" (of a browser login) or "download"
        const char* message;
    };
    const auto limits = [](auto change) {
        kovraplatform::HttpSettings settings;
        settings.connectSeconds = 2;
        change(settings);
        return settings;
    };
    const Row rows[] = {
        {"a listing trickling below the low-speed rule", "trickle", {"--pause", "0.3"},
         limits([](auto& s) { s.lowSpeedBytes = 100, s.stallSeconds = 1; }), "login", "stopped answering"},
        {"a trickle fast enough for 1 byte/s ends at the total time", "trickle", {"--pause", "0.05"},
         limits([](auto& s) { s.lowSpeedBytes = 1, s.stallSeconds = 30, s.replySeconds = 1; }), "login",
         "did not finish its reply within 1 seconds"},
        {"an endless listing", "endless-listing", {},
         limits([](auto& s) { s.replyBytes = 1 << 20; }), "login", "a reply larger than 1 MB"},
        {"a login token of megabytes", "big-token", {"--count", std::to_string(2 << 20)},
         limits([](auto& s) { s.replyBytes = 1 << 20; }), "start", "a reply larger than 1 MB"},
        {"an endless download", "endless-download", {},
         limits([](auto& s) { s.downloadBytes = 1 << 20; }), "download", "stopped at 1 MB"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.row);
        Hostile hostile(row.mode, row.arguments);
        cKovraClient& client = *hostile.client;
        client.setRequestLimits(row.limits);
        const std::string stage = row.stage;
        std::string loginUrl;
        if (stage == "start") {
            EXPECT_FALSE(client.autorizationRequest(hostile.server.url(), "", loginUrl));
            EXPECT_NE(client.lastError().find(row.message), std::string::npos) << client.lastError();
            continue;
        }
        ASSERT_TRUE(client.autorizationRequest(hostile.server.url() + "/dav/", "", loginUrl)) << client.lastError();
        if (stage == "login") {
            EXPECT_FALSE(client.tokenRequest());
            EXPECT_NE(client.lastError().find(row.message), std::string::npos) << client.lastError();
            continue;
        }
        ASSERT_TRUE(client.tokenRequest()) << client.lastError();
        const auto assets = client.getAssets();
        ASSERT_EQ(namesOf(assets), std::vector<std::string>{"Project"});
        const auto files = client.getResources(assets.front().id);
        ASSERT_EQ(namesOf(files), std::vector<std::string>{"plan.xsp"});
        const std::string target = hostile.file("plan.xsp");
        writeText(target, "the user's copy");
        EXPECT_FALSE(client.downloadFile(files.front().id, target));
        EXPECT_NE(client.lastError().find(row.message), std::string::npos) << client.lastError();
        EXPECT_EQ(readText(target), "the user's copy");
    }
}

} // namespace
