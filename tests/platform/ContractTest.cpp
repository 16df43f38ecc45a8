// One contract for both kinds of platform: a local folder and a WebDAV
// server (Apache on loopback).

#include "PlatformSupport.h"

#include <functional>
#include <set>

using KovraClient::cKovraClient;
using namespace kovra_test;

namespace {

class PlatformContract : public ::testing::TestWithParam<PlatformKind> {
protected:
    void SetUp() override
    {
        platform = std::make_unique<TestPlatform>(GetParam());
        client = std::make_unique<cKovraClient>(platform->scratchFile("unused-default"));
    }
    void TearDown() override
    {
        client.reset();
        platform.reset();
    }

    void login() { platform->login(*client); }

    std::unique_ptr<TestPlatform> platform;
    std::unique_ptr<cKovraClient> client;
};

TEST_P(PlatformContract, ANewClientIsNotConnectedAndThrowsBeforeLogin)
{
    EXPECT_FALSE(client->isConnected());
    EXPECT_EQ(client->getLogginUser().name, "");
    const std::string local = platform->localFile("plan.xsp", "x");
    struct Call {
        const char* name;
        std::function<void(cKovraClient&)> call;
    };
    const Call calls[] = {
        {"getUsers", [](cKovraClient& c) { c.getUsers(); }},
        {"getAssets", [](cKovraClient& c) { c.getAssets(); }},
        {"createAsset", [](cKovraClient& c) { c.createAsset("House"); }},
        {"getFolders", [](cKovraClient& c) { c.getFolders("any"); }},
        {"getResources", [](cKovraClient& c) { c.getResources("any"); }},
        {"createFolder", [](cKovraClient& c) { c.createFolder("Plans", "any"); }},
        {"getResource", [](cKovraClient& c) { c.getResource("any"); }},
        {"renameAsset", [](cKovraClient& c) { c.renameAsset("any", "x"); }},
        {"renameFolder", [](cKovraClient& c) { c.renameFolder("any", "x"); }},
        {"renameResource", [](cKovraClient& c) { c.renameResource("any", "x"); }},
        {"deleteAsset", [](cKovraClient& c) { c.deleteAsset("any"); }},
        {"deleteFolder", [](cKovraClient& c) { c.deleteFolder("any"); }},
        {"deleteResource", [](cKovraClient& c) { c.deleteResource("any"); }},
        {"importFile", [&](cKovraClient& c) { c.importFile(local, "any"); }},
        {"downloadFile", [&](cKovraClient& c) { c.downloadFile("any", platform->scratchFile("out")); }},
    };
    for (const Call& call : calls)
        EXPECT_EQ(thrownMessage([&] { call.call(*client); }), "Not logged in to the platform.") << call.name;
}

TEST_P(PlatformContract, LoginNamesTheUserAndLogoutForgetsIt)
{
    login();
    const std::string user = client->getLogginUser().name;
    EXPECT_FALSE(user.empty());
    const auto users = client->getUsers();
    ASSERT_EQ(users.size(), 1u);
    EXPECT_EQ(users.front().name, user);
    if (platform->kind() == PlatformKind::WebDav) {
        EXPECT_EQ(user, "alice");
    }

    const std::string asset = client->createAsset("House");
    client->logout();
    EXPECT_FALSE(client->isConnected());
    EXPECT_EQ(client->getLogginUser().name, "");
    EXPECT_THROW(client->getAssets(), std::exception);

    login();
    const auto assets = client->getAssets();
    ASSERT_EQ(namesOf(assets), std::vector<std::string>{"House"});
    EXPECT_NE(assets.front().id, asset) << "ids of an ended login are not reused";
}

TEST_P(PlatformContract, AssetsAreTheTopLevelFoldersInNameOrderWithStableIds)
{
    login();
    const std::string beta = client->createAsset("beta");
    const std::string alpha = client->createAsset("Alpha");
    const std::string gamma = client->createAsset("gamma");
    writeText((platform->storage() / "loose.txt").string(), "a file beside the projects");

    const auto assets = client->getAssets();
    EXPECT_EQ(namesOf(assets), (std::vector<std::string>{"Alpha", "beta", "gamma"}));
    ASSERT_EQ(assets.size(), 3u);
    EXPECT_EQ(assets[0].id, alpha);
    EXPECT_EQ(assets[1].id, beta);
    EXPECT_EQ(assets[2].id, gamma);
    for (const auto& asset : assets) {
        EXPECT_EQ(asset.description, "");
        EXPECT_EQ(asset.date.size(), 16u) << asset.date; // YYYY-MM-DD HH:MM
        EXPECT_EQ(asset.date[4], '-');
        EXPECT_EQ(asset.date[10], ' ');
        EXPECT_EQ(asset.date[13], ':');
    }
    const auto again = client->getAssets();
    for (std::size_t i = 0; i < assets.size(); ++i)
        EXPECT_EQ(again[i].id, assets[i].id) << assets[i].name;
}

TEST_P(PlatformContract, ChildrenAreTheDirectOnesInNameOrder)
{
    login();
    const std::string house = client->createAsset("House");
    const std::string b = client->createFolder("b", house);
    const std::string a = client->createFolder("a", house);
    const std::string deep = client->createFolder("deep", a);
    const std::string z = client->importFile(platform->localFile("z.txt", "z"), house);
    const std::string m = client->importFile(platform->localFile("m.txt", "m"), house);
    const std::string inner = client->importFile(platform->localFile("inner.txt", "i"), a);
    client->importFile(platform->localFile("deepest.txt", "d"), deep);

    const auto folders = client->getFolders(house);
    EXPECT_EQ(namesOf(folders), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(folders.at(0).id, a);
    EXPECT_EQ(folders.at(1).id, b);
    const auto resources = client->getResources(house);
    EXPECT_EQ(namesOf(resources), (std::vector<std::string>{"m.txt", "z.txt"}));
    EXPECT_EQ(resources.at(0).id, m);
    EXPECT_EQ(resources.at(1).id, z);
    EXPECT_EQ(namesOf(client->getFolders(a)), std::vector<std::string>{"deep"});
    const auto insideA = client->getResources(a);
    ASSERT_EQ(namesOf(insideA), std::vector<std::string>{"inner.txt"});
    EXPECT_EQ(insideA.front().id, inner);
    EXPECT_TRUE(client->getFolders(b).empty());
    EXPECT_TRUE(client->getResources(b).empty());

    const auto resource = client->getResource(m);
    EXPECT_EQ(resource.id, m);
    EXPECT_EQ(resource.name, "m.txt");
    EXPECT_EQ(resource.date.size(), 16u);
}

TEST_P(PlatformContract, RenameKeepsTheIdsOfTheObjectAndOfEverythingBeneath)
{
    login();
    const std::string house = client->createAsset("House");
    const std::string plans = client->createFolder("Plans", house);
    const std::string plan = client->importFile(platform->localFile("plan.xsp", "<project/>"), plans);

    client->renameAsset(house, "Villa");
    client->renameFolder(plans, "Drawings");
    const auto assets = client->getAssets();
    ASSERT_EQ(namesOf(assets), std::vector<std::string>{"Villa"});
    EXPECT_EQ(assets.front().id, house);
    const auto folders = client->getFolders(house);
    ASSERT_EQ(namesOf(folders), std::vector<std::string>{"Drawings"});
    EXPECT_EQ(folders.front().id, plans);
    EXPECT_EQ(client->getResource(plan).name, "plan.xsp");

    // As a save does: upload, rename, and read back by the id of the upload.
    client->renameResource(plan, "Villa.xsp");
    EXPECT_EQ(client->getResource(plan).name, "Villa.xsp");
    const std::string copy = platform->scratchFile("copy.xsp");
    ASSERT_TRUE(client->downloadFile(plan, copy)) << client->lastError();
    EXPECT_EQ(readText(copy), "<project/>");
    EXPECT_TRUE(std::filesystem::exists(platform->storage() / "Villa" / "Drawings" / "Villa.xsp"));
}

TEST_P(PlatformContract, RenameOntoATakenNameThrowsNamingItAndReplacesNothing)
{
    login();
    const std::string house = client->createAsset("House");
    const std::string garden = client->createAsset("Garden");
    const std::string a = client->importFile(platform->localFile("a.txt", "first"), house);
    const std::string b = client->importFile(platform->localFile("b.txt", "second"), house);
    const std::string folder = client->createFolder("Plans", house);
    client->createFolder("Sketches", house);

    EXPECT_NE(thrownMessage([&] { client->renameResource(a, "b.txt"); }).find("\"b.txt\""), std::string::npos);
    EXPECT_NE(thrownMessage([&] { client->renameAsset(house, "Garden"); }).find("\"Garden\""), std::string::npos);
    EXPECT_NE(thrownMessage([&] { client->renameFolder(folder, "Sketches"); }).find("\"Sketches\""),
              std::string::npos);

    EXPECT_EQ(namesOf(client->getAssets()), (std::vector<std::string>{"Garden", "House"}));
    EXPECT_EQ(namesOf(client->getResources(house)), (std::vector<std::string>{"a.txt", "b.txt"}));
    const std::string copy = platform->scratchFile("copy.txt");
    ASSERT_TRUE(client->downloadFile(b, copy));
    EXPECT_EQ(readText(copy), "second");
    ASSERT_TRUE(client->downloadFile(a, copy));
    EXPECT_EQ(readText(copy), "first");
    EXPECT_EQ(client->getResource(a).name, "a.txt");
    (void)garden;
}

TEST_P(PlatformContract, RenameToTheCurrentNameSucceeds)
{
    login();
    const std::string house = client->createAsset("House");
    const std::string plan = client->importFile(platform->localFile("plan.xsp", "p"), house);
    EXPECT_NO_THROW(client->renameAsset(house, "House"));
    EXPECT_NO_THROW(client->renameResource(plan, "plan.xsp"));
    EXPECT_EQ(client->getResource(plan).name, "plan.xsp");
}

TEST_P(PlatformContract, DeleteRemovesTheSubtreeAndRetiresItsIds)
{
    login();
    const std::string house = client->createAsset("House");
    const std::string plans = client->createFolder("Plans", house);
    const std::string old = client->createFolder("Old", plans);
    const std::string plan = client->importFile(platform->localFile("plan.xsp", "p"), old);
    const std::string kept = client->importFile(platform->localFile("kept.txt", "k"), house);

    client->deleteFolder(plans);
    EXPECT_TRUE(client->getFolders(house).empty());
    EXPECT_EQ(namesOf(client->getResources(house)), std::vector<std::string>{"kept.txt"});
    EXPECT_FALSE(std::filesystem::exists(platform->storage() / "House" / "Plans"));
    EXPECT_THROW(client->getResource(plan), std::exception);
    EXPECT_THROW(client->getFolders(old), std::exception);
    EXPECT_FALSE(client->downloadFile(plan, platform->scratchFile("gone")));

    const std::string again = client->createFolder("Plans", house);
    EXPECT_NE(again, plans) << "a new object at an old place is another object";

    client->deleteResource(kept);
    client->deleteAsset(house);
    EXPECT_TRUE(client->getAssets().empty());
    EXPECT_FALSE(std::filesystem::exists(platform->storage() / "House"));
}

// What an overwrite relies on before it deletes an older copy.
TEST_P(PlatformContract, AStoredCopyReadsBackAsSentAndAnotherSizeIsNamed)
{
    login();
    const std::string house = client->createAsset("House");
    const std::string id = client->importFileAs(platform->localFile("staged", "twelve bytes"), house, "plan.xsp");
    EXPECT_EQ(client->getResource(id).name, "plan.xsp");
    EXPECT_EQ(client->storedCopyProblem(id, 12), "");
    EXPECT_NE(client->storedCopyProblem(id, 13).find("12 bytes, not the 13 bytes sent"), std::string::npos);
    client->deleteResource(id);
    EXPECT_ANY_THROW(client->storedCopyProblem(id, 12)) << "a retired id names no copy";
}

TEST_P(PlatformContract, ImportGivesATakenNameANumberAndReplacesNothing)
{
    login();
    const std::string house = client->createAsset("House");
    const std::string local = platform->localFile("plan.xsp", "version 1");
    const std::string first = client->importFile(local, house);
    writeText(local, "version 2");
    const std::string second = client->importFile(local, house);
    writeText(local, "version 3");
    const std::string third = client->importFile(local, house);

    EXPECT_EQ(client->getResource(first).name, "plan.xsp");
    EXPECT_EQ(client->getResource(second).name, "plan (2).xsp");
    EXPECT_EQ(client->getResource(third).name, "plan (3).xsp");
    EXPECT_EQ(std::set<std::string>({first, second, third}).size(), 3u);
    const std::string copy = platform->scratchFile("copy.xsp");
    ASSERT_TRUE(client->downloadFile(first, copy));
    EXPECT_EQ(readText(copy), "version 1");
    ASSERT_TRUE(client->downloadFile(third, copy));
    EXPECT_EQ(readText(copy), "version 3");
}

TEST_P(PlatformContract, ATakenProjectOrFolderNameIsRefused)
{
    login();
    const std::string house = client->createAsset("House");
    client->createFolder("Plans", house);
    EXPECT_NE(thrownMessage([&] { client->createAsset("House"); }).find("\"House\" already exists"),
              std::string::npos);
    EXPECT_NE(thrownMessage([&] { client->createFolder("Plans", house); }).find("\"Plans\" already exists"),
              std::string::npos);
}

TEST_P(PlatformContract, DownloadOfAnUnknownIdIsFalseAndLeavesTheFileAlone)
{
    login();
    const std::string house = client->createAsset("House");
    const std::string target = platform->scratchFile("target.xsp");
    writeText(target, "precious");
    EXPECT_FALSE(client->downloadFile("no-such-id", target));
    EXPECT_FALSE(client->downloadFile(house, target)) << "a project is no file";
    EXPECT_EQ(readText(target), "precious");
}

TEST_P(PlatformContract, NonAsciiAndSpecialNamesRoundTrip)
{
    login();
    const std::string assetName = "Müller Haus";
    const std::string folderName = "Grundriß #1 & Co";
    const std::string fileName = "plan ü€ 50% ?.xsp";
    const std::string house = client->createAsset(assetName);
    const std::string folder = client->createFolder(folderName, house);
    const std::string plan = client->importFile(platform->localFile(fileName, "Inhalt ä"), folder);

    EXPECT_EQ(namesOf(client->getAssets()), std::vector<std::string>{assetName});
    EXPECT_EQ(namesOf(client->getFolders(house)), std::vector<std::string>{folderName});
    const auto resources = client->getResources(folder);
    ASSERT_EQ(namesOf(resources), std::vector<std::string>{fileName});
    EXPECT_EQ(resources.front().id, plan);
    const std::string copy = platform->scratchFile("copy");
    ASSERT_TRUE(client->downloadFile(plan, copy)) << client->lastError();
    EXPECT_EQ(readText(copy), "Inhalt ä");
    EXPECT_TRUE(std::filesystem::exists(platform->storage() / assetName / folderName / fileName));

    client->renameResource(plan, "Ärger.xsp");
    EXPECT_EQ(namesOf(client->getResources(folder)), std::vector<std::string>{"Ärger.xsp"});
}

TEST_P(PlatformContract, ADownloadReplacesAnExistingFileWithTheWholeContent)
{
    login();
    const std::string house = client->createAsset("House");
    std::string content(300000, 'k');
    content += "end";
    const std::string plan = client->importFile(platform->localFile("big.xsp", content), house);
    const std::string target = platform->scratchFile("target.xsp");
    writeText(target, "old");
    ASSERT_TRUE(client->downloadFile(plan, target)) << client->lastError();
    EXPECT_EQ(readText(target), content);
    for (const auto& entry : std::filesystem::directory_iterator(platform->scratch()))
        EXPECT_EQ(entry.path().filename().string().find(".kovra-"), std::string::npos) << entry.path();
}

INSTANTIATE_TEST_SUITE_P(BothStores, PlatformContract,
                         ::testing::Values(PlatformKind::Folder, PlatformKind::WebDav),
                         [](const auto& info) { return kindName(info.param); });

} // namespace
