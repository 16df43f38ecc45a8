// The map control's tiles from the loopback stand-in of the tile service.
#include "GuiSupport.h"

#include "shell/AppSettings.h"
#include "site/SiteEditorCtrl.h"
#include "sitemap/SiteMapMath.h"

#include "model/Site.h"
#include "support/MapServices.h"
#include "support/ModelFixtures.h"

#include <gtest/gtest.h>

#include <wx/frame.h>
#include <wx/weakref.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>

namespace {

class TileDownloadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(services.url().empty());
        saved = getAppSettings();
        getAppSettings().connectTimeoutMs = 5000;
        getAppSettings().transferTimeoutMs = 20000;
        frame = new wxFrame(nullptr, wxID_ANY, "map", wxDefaultPosition, wxSize(700, 500));
        map = new SiteEditorCtrl(frame);
        frame->Show();
        pumpEventsUntil([&] { return frame->IsShownOnScreen() && map->paintCount > 0; });
    }

    void TearDown() override
    {
        if (frame)
            frame->Destroy();
        pumpEventsUntil([&] { return !frame; });
        getAppSettings().tileUrl = saved.tileUrl;
        getAppSettings().connectTimeoutMs = saved.connectTimeoutMs;
        getAppSettings().transferTimeoutMs = saved.transferTimeoutMs;
    }

    void useTiles(const std::string& prefix) { getAppSettings().tileUrl = services.url() + prefix; }

    // Shows the map around lat, lon at zoom.
    void showAt(double lat, double lon, int zoomLevel)
    {
        site = std::make_shared<bg::Site>();
        site->building = kovra_test::makeRectBuilding(20, 12);
        site->lat = lat;
        site->lon = lon;
        map->zoom = zoomLevel;
        map->setSite(site);
        repaint();
    }

    // Waits for a paint after now.
    void repaint()
    {
        const int before = map->paintCount;
        map->Refresh();
        ASSERT_TRUE(pumpEventsUntil([&] { return map->paintCount > before; }));
    }

    // Waits until the download thread has served every request; the events
    // of the tiles it stored have been handled then too.
    void waitForDownloads()
    {
        ASSERT_TRUE(pumpEventsUntil([&] { return !map->downloadsPending(); }, 60000));
        wxTheApp->ProcessPendingEvents();
        wxYield();
    }

    // The tile addresses of the current view, as the paint asks for them.
    std::set<std::string> visibleTilePaths()
    {
        const wxSize size = map->GetClientSize();
        const sitemap::TileRange r = sitemap::visibleTiles(map->viewCentre, size.x, size.y, map->zoom);
        std::set<std::string> paths;
        for (int row = r.firstRow; row <= r.lastRow; ++row)
            for (int column = r.firstColumn; column <= r.lastColumn; ++column)
                paths.insert(SiteEditorCtrl::tileUrl(map->zoom, column, row).ToStdString().substr(services.url().size()));
        return paths;
    }

    std::map<std::string, int> requestCounts()
    {
        std::map<std::string, int> counts;
        for (const std::string& path : services.requestedPaths())
            ++counts[path];
        return counts;
    }

    std::size_t loadedTiles()
    {
        wxMutexLocker lock(map->tileMutex);
        return std::size_t(std::count_if(map->tileCache.begin(), map->tileCache.end(),
                                         [](const auto& entry) { return entry.second.IsOk(); }));
    }

    kovra_test::FakeMapServices services;
    AppSettings saved = getAppSettings();
    wxWeakRef<wxFrame> frame;
    SiteEditorCtrl* map = nullptr;
    std::shared_ptr<bg::Site> site;
};

} // namespace

TEST_F(TileDownloadTest, EveryVisibleTileIsRequestedOnceAndASecondPaintRequestsNothing)
{
    useTiles("/tiles");
    showAt(47.3769, 8.5417, 16);
    const std::set<std::string> visible = visibleTilePaths();
    ASSERT_GE(visible.size(), 6u);
    waitForDownloads();
    EXPECT_EQ(loadedTiles(), visible.size());

    repaint();
    waitForDownloads();
    const auto counts = requestCounts();
    EXPECT_EQ(counts.size(), visible.size());
    for (const std::string& path : visible)
        EXPECT_EQ(counts.count(path) ? counts.at(path) : 0, 1) << path;
    for (const std::string& request : services.requests())
        EXPECT_EQ(request.substr(request.rfind('|') + 1), "Bravell Design Configurator");
}

TEST_F(TileDownloadTest, AFailedTileStaysGreyAndAZoomLevelSeenBeforeComesFromTheCache)
{
    useTiles("/mixed");
    showAt(47.3769, 8.5417, 16);
    const std::set<std::string> visible = visibleTilePaths();
    waitForDownloads();
    const std::size_t loadedAtFirst = loadedTiles();
    EXPECT_GT(loadedAtFirst, 0u);
    EXPECT_LT(loadedAtFirst, visible.size());
    const std::size_t requestsAtFirst = services.requests().size();

    // In and back out: the first level's tiles, loaded or failed, are not
    // asked for again.
    ASSERT_TRUE(map->zoomIn());
    repaint();
    waitForDownloads();
    ASSERT_TRUE(map->zoomOut());
    repaint();
    waitForDownloads();
    repaint();
    waitForDownloads();

    const auto counts = requestCounts();
    for (const std::string& path : visible)
        EXPECT_EQ(counts.at(path), 1) << path;
    EXPECT_EQ(visibleTilePaths(), visible);
    EXPECT_GT(services.requests().size(), requestsAtFirst); // the level in between
    wxMutexLocker lock(map->tileMutex);
    for (const std::string& path : visible) {
        const bool failed = path.find("/16/") != std::string::npos &&
                            (std::stoi(path.substr(path.find("/16/") + 4)) % 2 == 1 ||
                             std::stoi(path.substr(path.rfind('/') + 1)) % 2 == 1);
        EXPECT_EQ(map->tileCache.at(services.url() + path).IsOk(), !failed) << path;
    }
}

TEST_F(TileDownloadTest, TilesRequestedWhileTheThreadEndsAllArrive)
{
    useTiles("/tiles");
    showAt(10.0, 10.0, 14);
    // Many small pans, each painted at once: requests meet the thread busy,
    // ending, and ended.
    for (int step = 0; step < 25; ++step) {
        map->viewCentre.x += 0.7;
        map->viewCentre.y += step % 2 ? 0.9 : -0.4;
        repaint();
    }
    waitForDownloads();
    wxMutexLocker lock(map->tileMutex);
    ASSERT_GT(map->tileCache.size(), 40u);
    for (const auto& [url, image] : map->tileCache)
        EXPECT_TRUE(image.IsOk()) << url;
    const auto counts = requestCounts();
    EXPECT_EQ(counts.size(), map->tileCache.size());
    for (const auto& [path, count] : counts)
        EXPECT_EQ(count, 1) << path;
}

TEST_F(TileDownloadTest, NearTheNorthWestEdgeOnlyExistingTilesAreAskedFor)
{
    useTiles("/tiles");
    site = std::make_shared<bg::Site>();
    site->building = kovra_test::makeRectBuilding(20, 12);
    map->zoom = 1;
    map->setSite(site);
    map->viewCentre = {0.3, 0.2};
    repaint();
    waitForDownloads();
    const std::set<std::string> expected = {"/tiles/1/0/0.png", "/tiles/1/1/0.png", "/tiles/1/0/1.png",
                                            "/tiles/1/1/1.png"};
    const auto paths = services.requestedPaths();
    EXPECT_EQ(std::set<std::string>(paths.begin(), paths.end()), expected);
    EXPECT_EQ(loadedTiles(), 4u);

    // A view wholly beyond the world asks for nothing.
    map->viewCentre = {-5.0, -5.0};
    repaint();
    EXPECT_FALSE(map->downloadsPending());
    EXPECT_EQ(services.requests().size(), paths.size());
}

TEST_F(TileDownloadTest, DestroyingTheMapWhileTheServerIsSilentReturns)
{
    getAppSettings().transferTimeoutMs = 600000; // only the stop may end the transfer
    useTiles("/silent");
    showAt(47.3769, 8.5417, 16);
    ASSERT_TRUE(pumpEventsUntil([&] { return !services.requests().empty(); }));
    EXPECT_TRUE(map->downloadsPending());
    delete frame.get();
    EXPECT_FALSE(frame);
}
