// Logging in: to a folder, to a plain WebDAV server with the account from
// the netrc file, and through the browser login with app passwords.

#include "PlatformSupport.h"

#include <optional>

using KovraClient::cKovraClient;
using namespace kovra_test;

namespace {

std::string pathOfFileUrl(const std::string& url)
{
    const std::string scheme = "file://";
    return url.compare(0, scheme.size(), scheme) == 0 ? url.substr(scheme.size()) : std::string();
}

TEST(PlatformLogin, AFolderNeedsNoAccountAndShowsAPageSayingSo)
{
    TestPlatform platform(PlatformKind::Folder);
    cKovraClient client(platform.scratchFile("default"));
    std::string loginUrl;
    ASSERT_TRUE(client.autorizationRequest(platform.base(), "", loginUrl)) << client.lastError();
    const std::string page = readText(pathOfFileUrl(loginUrl));
    EXPECT_NE(page.find(platform.storage().string()), std::string::npos) << page;
    EXPECT_FALSE(client.isConnected()) << "the login completes only after the user confirms";
    EXPECT_TRUE(client.tokenRequest());
    EXPECT_TRUE(client.isConnected());
    EXPECT_FALSE(client.getLogginUser().name.empty());
}

TEST(PlatformLogin, AMissingFolderIsRefusedAndNotCreated)
{
    ScratchFolder scratch;
    cKovraClient client(scratch.file("default"));
    std::string loginUrl;
    EXPECT_FALSE(client.autorizationRequest(scratch.file("elsewhere"), "", loginUrl));
    EXPECT_NE(client.lastError().find(scratch.file("elsewhere")), std::string::npos) << client.lastError();
    EXPECT_FALSE(std::filesystem::exists(scratch.file("elsewhere")));
    EXPECT_FALSE(client.tokenRequest());
    EXPECT_FALSE(client.isConnected());
}

TEST(PlatformLogin, TheDefaultFolderIsCreatedAndKovraPlatformUrlComesFirst)
{
    ScratchFolder scratch;
    ::unsetenv("KOVRA_PLATFORM_URL");
    const std::string fallback = scratch.file("KovraApp/Platform");
    cKovraClient client(fallback);
    EXPECT_EQ(client.defaultBaseUrl(), fallback);
    std::string loginUrl;
    ASSERT_TRUE(client.autorizationRequest("", "", loginUrl)) << client.lastError();
    EXPECT_TRUE(std::filesystem::is_directory(fallback));
    ASSERT_TRUE(client.tokenRequest());
    client.createAsset("House");
    EXPECT_TRUE(std::filesystem::is_directory(fallback + "/House"));

    ::setenv("KOVRA_PLATFORM_URL", "https://files.example.org/dav/", 1);
    EXPECT_EQ(client.defaultBaseUrl(), "https://files.example.org/dav/");
    ::unsetenv("KOVRA_PLATFORM_URL");
}

// Sets an environment variable for one test and restores it afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv()
    {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(PlatformLogin, TheDefaultFolderLiesInTheDocumentsFolder)
{
    ScratchFolder scratch;
    ::unsetenv("KOVRA_PLATFORM_URL");
    const ScopedEnv home("HOME", scratch.path().string());
    const ScopedEnv config("XDG_CONFIG_HOME", scratch.file("config"));
    EXPECT_EQ(cKovraClient().defaultBaseUrl(), scratch.file("Documents/KovraApp/Platform"));

    std::filesystem::create_directories(scratch.file("config"));
    writeText(scratch.file("config/user-dirs.dirs"),
              "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"
              "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
    EXPECT_EQ(cKovraClient().defaultBaseUrl(), scratch.file("Dokumente/KovraApp/Platform"));
}

TEST(PlatformLogin, AWebDavServerTakesTheNetrcAccountOfItsHost)
{
    TestPlatform platform(PlatformKind::WebDav);
    platform.useNetrc("machine other.example.org login bob password nope\n" + platform.dav()->netrcLine());
    cKovraClient client(platform.scratchFile("default"));
    std::string loginUrl;
    ASSERT_TRUE(client.autorizationRequest(platform.base(), "", loginUrl)) << client.lastError();
    const std::string page = readText(pathOfFileUrl(loginUrl));
    EXPECT_NE(page.find("alice"), std::string::npos) << page;
    EXPECT_EQ(page.find(platform.dav()->password()), std::string::npos) << "the page shows no password";
    EXPECT_TRUE(client.tokenRequest()) << client.lastError();
    EXPECT_TRUE(client.isConnected());
    EXPECT_EQ(client.getLogginUser().name, "alice");
}

TEST(PlatformLogin, AWrongOrMissingNetrcAccountDoesNotConnect)
{
    TestPlatform platform(PlatformKind::WebDav);
    struct Case {
        const char* what;
        std::string netrc;
        const char* reason;
    };
    const Case cases[] = {
        {"wrong password", platform.dav()->netrcLine(true), "refused the account \"alice\""},
        {"no entry for the host", "machine other.example.org login bob password nope\n", "no account for 127.0.0.1"},
    };
    for (const Case& test : cases) {
        platform.useNetrc(test.netrc);
        cKovraClient client(platform.scratchFile("default"));
        std::string loginUrl;
        ASSERT_TRUE(client.autorizationRequest(platform.base(), "", loginUrl)) << test.what;
        EXPECT_FALSE(client.tokenRequest()) << test.what;
        EXPECT_FALSE(client.isConnected()) << test.what;
        EXPECT_EQ(client.getLogginUser().name, "") << test.what;
        std::string reason = client.lastError();
        for (char& c : reason)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_NE(reason.find(test.reason), std::string::npos) << test.what << ": " << client.lastError();
    }
}

TEST(PlatformLogin, TheBrowserLoginConnectsOnlyOnceConfirmedAndLogoutRevokesTheAppPassword)
{
    TestPlatform platform(PlatformKind::WebDav);
    platform.useNetrc(""); // the browser login needs no netrc account
    StandIn loginServer("login-flow", {"--files-server", platform.dav()->serverUrl(), "--login", "alice",
                                       "--password", platform.dav()->password()});
    cKovraClient client(platform.scratchFile("default"));
    std::string loginUrl;
    ASSERT_TRUE(client.autorizationRequest(loginServer.url(), "", loginUrl)) << client.lastError();
    EXPECT_EQ(loginUrl.rfind(loginServer.url() + "/login/v2/flow/", 0), 0u) << loginUrl;

    EXPECT_FALSE(client.tokenRequest()) << "not yet confirmed in the browser";
    EXPECT_FALSE(client.isConnected());
    EXPECT_NE(client.lastError().find("not been confirmed"), std::string::npos) << client.lastError();

    loginServer.request("POST", loginUrl); // the user grants access in the browser
    ASSERT_TRUE(client.tokenRequest()) << client.lastError();
    EXPECT_TRUE(client.isConnected());
    EXPECT_EQ(client.getLogginUser().name, "alice");

    // The files are the user's files on the WebDAV server.
    client.createAsset("House");
    EXPECT_TRUE(std::filesystem::is_directory(platform.storage() / "House"));

    client.logout();
    EXPECT_FALSE(client.isConnected());
    EXPECT_NE(loginServer.request("GET", loginServer.url() + "/status").find("alice:" + platform.dav()->password()),
              std::string::npos);
}

TEST(PlatformLogin, CredentialsNeverTravelInClearText)
{
    ScratchFolder scratch;
    struct Case {
        const char* url;
        bool usable;
    };
    const Case cases[] = {
        {"http://platform.example.org/dav/", false},
        {"http://10.0.0.8/dav/", false},
        {"ftp://platform.example.org/", false},
        {"not an address", false},
    };
    for (const Case& test : cases) {
        cKovraClient client(scratch.file("default"));
        std::string loginUrl = "untouched";
        EXPECT_EQ(client.autorizationRequest(test.url, "", loginUrl), test.usable) << test.url;
        EXPECT_EQ(loginUrl, "") << test.url;
        EXPECT_FALSE(client.lastError().empty()) << test.url;
        EXPECT_FALSE(client.tokenRequest()) << test.url;
    }
}

} // namespace
