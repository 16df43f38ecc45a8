// The platform failing under the client: a stopped server, a download cut
// short, a silent server, and names that must never reach a server.

#include "PlatformSupport.h"

using KovraClient::cKovraClient;
using namespace kovra_test;

namespace {

TEST(PlatformFailure, AServerStoppedAfterLoginGivesAReadableMessage)
{
    TestPlatform platform(PlatformKind::WebDav);
    cKovraClient client(platform.scratchFile("default"));
    platform.login(client);
    const std::string house = client.createAsset("House");
    platform.dav()->stop();

    const std::string message = thrownMessage([&] { client.getAssets(); });
    EXPECT_EQ(message.rfind("Cannot reach the platform at " + platform.base(), 0), 0u) << message;
    EXPECT_FALSE(thrownMessage([&] { client.createFolder("Plans", house); }).empty());
    EXPECT_TRUE(client.isConnected()) << "the login stays until the user ends it";
}

TEST(PlatformFailure, RenamingToTheCurrentNameSendsNoRequest)
{
    TestPlatform platform(PlatformKind::WebDav);
    cKovraClient client(platform.scratchFile("default"));
    platform.login(client);
    const std::string house = client.createAsset("House");
    platform.dav()->stop();
    EXPECT_NO_THROW(client.renameAsset(house, "House"));
}

TEST(PlatformFailure, ADownloadCutShortLeavesTheOldFileIntact)
{
    StandIn server("truncating");
    ScratchFolder scratch;
    writeText(scratch.file("netrc"), "machine 127.0.0.1 login alice password any\n");
    ::setenv("KOVRA_NETRC", scratch.file("netrc").c_str(), 1);
    cKovraClient client(scratch.file("default"));
    std::string loginUrl;
    ASSERT_TRUE(client.autorizationRequest(server.url() + "/dav/", "", loginUrl)) << client.lastError();
    ASSERT_TRUE(client.tokenRequest()) << client.lastError();
    const auto assets = client.getAssets();
    ASSERT_EQ(namesOf(assets), std::vector<std::string>{"Project"});
    const auto resources = client.getResources(assets.front().id);
    ASSERT_EQ(namesOf(resources), std::vector<std::string>{"plan.xsp"});

    std::filesystem::create_directories(scratch.file("local"));
    const std::string target = scratch.file("local/plan.xsp");
    writeText(target, "the old project");
    EXPECT_FALSE(client.downloadFile(resources.front().id, target));
    EXPECT_FALSE(client.lastError().empty());
    EXPECT_EQ(readText(target), "the old project");
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(scratch.file("local")))
        left.push_back(entry.path().filename().string());
    EXPECT_EQ(left, std::vector<std::string>{"plan.xsp"}) << "no partial file stays behind";
}

TEST(PlatformFailure, ASilentServerDoesNotHangTheClient)
{
    StandIn server("silent");
    ScratchFolder scratch;
    cKovraClient client(scratch.file("default"));
    client.setTimeouts(2, 1);
    std::string loginUrl;
    EXPECT_FALSE(client.autorizationRequest(server.url() + "/", "", loginUrl));
    EXPECT_NE(client.lastError().find("stopped answering"), std::string::npos) << client.lastError();
}

TEST(PlatformFailure, UnusableNamesAreRefusedBeforeAnyRequest)
{
    TestPlatform platform(PlatformKind::WebDav);
    cKovraClient client(platform.scratchFile("default"));
    platform.login(client);
    const std::string house = client.createAsset("House");
    const std::string plans = client.createFolder("Plans", house);
    const std::string plan = client.importFile(platform.localFile("plan.xsp", "p"), plans);
    platform.dav()->stop(); // any request would now fail with "Cannot reach"

    const std::string names[] = {"", ".", "..", "a/b", "../escape", "a\\b", "tab\there", "line\nbreak", "del\x7f"};
    for (const std::string& name : names) {
        for (const auto& [operation, call] : std::vector<std::pair<const char*, std::function<void()>>>{
                 {"createAsset", [&] { client.createAsset(name); }},
                 {"createFolder", [&] { client.createFolder(name, house); }},
                 {"renameAsset", [&] { client.renameAsset(house, name); }},
                 {"renameFolder", [&] { client.renameFolder(plans, name); }},
                 {"renameResource", [&] { client.renameResource(plan, name); }},
             }) {
            const std::string message = thrownMessage(call);
            EXPECT_EQ(message.rfind("The name \"" + name + "\" cannot be used", 0), 0u)
                << operation << " \"" << name << "\": " << message;
        }
    }
}

TEST(PlatformFailure, AFileWithAnUnusableNameIsNotUploaded)
{
    TestPlatform platform(PlatformKind::Folder);
    cKovraClient client(platform.scratchFile("default"));
    platform.login(client);
    const std::string house = client.createAsset("House");
    const std::string local = platform.localFile("bad\nname.xsp", "p");
    EXPECT_NE(thrownMessage([&] { client.importFile(local, house); }).find("cannot be used"), std::string::npos);
    EXPECT_NE(thrownMessage([&] { client.importFile(platform.scratchFile("missing.xsp"), house); })
                  .find("Cannot read the file"),
              std::string::npos);
    EXPECT_TRUE(client.getResources(house).empty());
}

TEST(PlatformFailure, NamesCannotReachOutsideTheFolder)
{
    TestPlatform platform(PlatformKind::Folder);
    cKovraClient client(platform.scratchFile("default"));
    platform.login(client);
    const std::string house = client.createAsset("House");
    EXPECT_THROW(client.createAsset("../outside"), std::invalid_argument);
    EXPECT_THROW(client.createFolder("..", house), std::invalid_argument);
    EXPECT_THROW(client.renameAsset(house, "../outside"), std::invalid_argument);
    EXPECT_FALSE(std::filesystem::exists(platform.scratch() / "outside"));
    EXPECT_TRUE(std::filesystem::is_directory(platform.storage() / "House"));
}

TEST(PlatformFailure, AnObjectRemovedBehindTheClientsBackIsReportedByName)
{
    TestPlatform platform(PlatformKind::Folder);
    cKovraClient client(platform.scratchFile("default"));
    platform.login(client);
    const std::string house = client.createAsset("House");
    const std::string plan = client.importFile(platform.localFile("plan.xsp", "p"), house);
    std::filesystem::remove(platform.storage() / "House" / "plan.xsp");
    EXPECT_EQ(thrownMessage([&] { client.getResource(plan); }), "\"plan.xsp\" no longer exists on the platform.");
    EXPECT_EQ(thrownMessage([&] { client.renameResource(plan, "other.xsp"); }),
              "\"plan.xsp\" no longer exists on the platform.");
    EXPECT_NO_THROW(client.deleteResource(plan)) << "what is gone counts as deleted";
}

} // namespace
