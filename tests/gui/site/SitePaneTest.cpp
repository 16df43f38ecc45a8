// The site page in the main window, its map on the loopback tile service.
#include "DialogTesting.h"
#include "GuiSupport.h"

#include "shell/AppSettings.h"
#include "shell/AppState.h"
#include "shell/Events.h"
#include "site/GeocodeDialog.h"
#include "shell/MainFrame.h"
#include "site/SiteEditorCtrl.h"
#include "sitemap/SiteMapMath.h"
#include "site/SitePane.h"

#include "model/Project.h"
#include "model/Site.h"
#include "support/MapServices.h"
#include "support/ModelFixtures.h"

#include <gtest/gtest.h>

#include <wx/aui/auibook.h>
#include <wx/choicdlg.h>
#include <wx/msgdlg.h>
#include <wx/ribbon/bar.h>
#include <wx/ribbon/buttonbar.h>
#include <wx/weakref.h>

#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/listbox.h>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

class SitePaneTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(services.url().empty());
        getAppSettings().tileUrl = services.url() + "/tiles";
        getAppState().project = std::make_shared<bg::Project>("Test");
        frame = new MainFrame();
        frame->SetSize(10, 10, 1100, 760);
        frame->Show();
        pumpEventsUntil([&] { return frame->IsShownOnScreen(); });
    }

    void TearDown() override
    {
        if (frame)
            frame->Destroy();
        pumpEventsUntil([&] { return !frame; });
        getAppState().project.reset();
        getAppSettings().tileUrl = saved.tileUrl;
    }

    // Opens the site's page as the project tree does.
    SitePane* open(const std::shared_ptr<bg::Site>& site)
    {
        getAppState().project->sites.push_back(site);
        postObjectEvent(frame.get(), EVT_OPEN_SITE, site);
        pumpEventsUntil([&] { return getAppState().sitePages[site] != nullptr; });
        auto* page = dynamic_cast<SitePane*>(getAppState().sitePages[site]);
        if (page)
            pumpEventsUntil([&] { return page->map->paintCount > 0; });
        return page;
    }

    std::shared_ptr<bg::Site> siteWithBuilding(double lat, double lon)
    {
        auto site = std::make_shared<bg::Site>();
        site->lat = lat;
        site->lon = lon;
        site->building = kovra_test::makeLShapedBuilding(24, 16, 10, 6);
        return site;
    }

    void click(int id)
    {
        wxRibbonButtonBar* bar = buttonBarWith(frame->getRibbonBar(), id);
        ASSERT_NE(bar, nullptr);
        wxRibbonButtonBarEvent event(wxEVT_RIBBONBUTTONBAR_CLICKED, id, bar);
        event.SetEventObject(bar);
        bar->ProcessWindowEvent(event);
    }

    bool checked(int id)
    {
        wxUpdateUIEvent event(id);
        event.SetEventObject(frame->getRibbonBar());
        frame->getRibbonBar()->ProcessWindowEvent(event);
        return event.GetChecked();
    }

    static wxRibbonButtonBar* buttonBarWith(wxWindow* window, int id)
    {
        if (auto* bar = dynamic_cast<wxRibbonButtonBar*>(window))
            return bar->GetItemById(id) ? bar : nullptr;
        for (wxWindow* child : window->GetChildren()) {
            if (auto* found = buttonBarWith(child, id))
                return found;
        }
        return nullptr;
    }

    void repaint(SiteEditorCtrl* map)
    {
        const int before = map->paintCount;
        map->Refresh();
        ASSERT_TRUE(pumpEventsUntil([&] { return map->paintCount > before; }));
    }

    // A click of the mouse on the ribbon's button as its button bar gets
    // it: the pointer arrives, the button goes down and up at its middle.
    // (Real pointer input would reach whichever test's window lies on top
    // of the display that the GUI tests share.)
    void mouseClick(int id)
    {
        wxRibbonButtonBar* bar = buttonBarWith(frame->getRibbonBar(), id);
        ASSERT_NE(bar, nullptr);
        ASSERT_TRUE(bar->IsShownOnScreen()) << id;
        const wxRect rect = bar->GetItemRect(id);
        ASSERT_FALSE(rect.IsEmpty()) << id;
        const wxPoint middle = rect.GetPosition() + rect.GetSize() / 2;
        for (const wxEventType& type : {wxEVT_ENTER_WINDOW, wxEVT_MOTION, wxEVT_LEFT_DOWN, wxEVT_LEFT_UP}) {
            wxMouseEvent event(type);
            event.SetEventObject(bar);
            event.SetPosition(middle);
            event.m_leftDown = type == wxEVT_LEFT_DOWN;
            bar->ProcessWindowEvent(event);
        }
        pumpEvents(20);
    }

    // The map as its paint draws it now, at the window's size.
    static wxImage drawn(SiteEditorCtrl* map)
    {
        const wxSize size = map->GetClientSize();
        wxBitmap bitmap(size.x, size.y, 24);
        {
            wxMemoryDC dc(bitmap);
            dc.SetFont(map->GetFont());
            map->draw(dc, size);
        }
        return bitmap.ConvertToImage();
    }

    // The box of the building's red outline on the screen, the red cross
    // through the middle left out; empty when no outline shows.
    static wxRect outlineBox(const wxImage& image)
    {
        wxRect box;
        for (int y = 0; y < image.GetHeight(); ++y)
            for (int x = 0; x < image.GetWidth(); ++x)
                if (std::abs(x - image.GetWidth() / 2) > 1 && std::abs(y - image.GetHeight() / 2) > 1 &&
                    image.GetRed(x, y) > 200 && image.GetGreen(x, y) < 40 && image.GetBlue(x, y) < 40)
                    box = box.IsEmpty() ? wxRect(x, y, 1, 1) : box.Union(wxRect(x, y, 1, 1));
        return box;
    }

    // Whether the map draws the tile service's credit at its lower right: a
    // white box with dark letters.
    static bool creditShows(SiteEditorCtrl* map)
    {
        const wxImage image = drawn(map);
        wxClientDC dc(map);
        const wxSize extent = dc.GetTextExtent(wxString::FromUTF8(TILE_CREDIT));
        const wxSize size = map->GetClientSize();
        int white = 0, dark = 0, all = 0;
        for (int y = size.y - extent.y - 1; y < size.y - 1; ++y)
            for (int x = size.x - extent.x - 4; x < size.x - 4; ++x) {
                const int r = image.GetRed(x, y), g = image.GetGreen(x, y), b = image.GetBlue(x, y);
                white += r > 245 && g > 245 && b > 245;
                dark += r < 110 && g < 110 && b < 110;
                ++all;
            }
        return white > all / 2 && dark > 20;
    }

    kovra_test::FakeMapServices services;
    AppSettings saved = getAppSettings();
    wxWeakRef<MainFrame> frame;
};

// Answers the text-entry dialog and remembers what it offered.
class ExpectOrientation : public wxExpectModalBase<wxTextEntryDialog> {
public:
    ExpectOrientation(wxString* offered, const wxString& answer) : offered(offered), answer(answer) {}

protected:
    int OnInvoked(wxTextEntryDialog* dialog) const override
    {
        *offered = dialog->GetValue();
        dialog->SetValue(answer);
        return wxID_OK;
    }

private:
    wxString* offered;
    wxString answer;
};

// Chooses a row of the single-choice dialog and remembers the rows offered.
class ExpectChoice : public wxExpectModalBase<wxSingleChoiceDialog> {
public:
    ExpectChoice(wxArrayString* offered, int row) : offered(offered), row(row) {}

protected:
    int OnInvoked(wxSingleChoiceDialog* dialog) const override
    {
        offered->clear();
        for (wxWindow* child : dialog->GetChildren()) {
            if (auto* list = dynamic_cast<wxListBox*>(child))
                *offered = list->GetStrings();
        }
        dialog->SetSelection(row);
        return wxID_OK;
    }

private:
    wxArrayString* offered;
    int row;
};

// Answers the place search as if the user had chosen a place.
class ExpectPlace : public wxExpectModalBase<GeocodeDialog> {
public:
    ExpectPlace(double lat, double lon) : lat(lat), lon(lon) {}

protected:
    int OnInvoked(GeocodeDialog* dialog) const override
    {
        dialog->resultChosen = true;
        dialog->chosenLatitude = lat;
        dialog->chosenLongitude = lon;
        return wxID_OK;
    }

private:
    double lat, lon;
};

} // namespace

TEST_F(SitePaneTest, ASiteWithABuildingShowsItsMapAroundTheSite)
{
    const auto site = siteWithBuilding(47.3769, 8.5417);
    SitePane* page = open(site);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->ribbonPage, RIBBON_PAGE_SITE);
    SiteEditorCtrl* map = page->map;
    EXPECT_TRUE(map->showMap);
    EXPECT_EQ(map->zoom, 16);
    EXPECT_NEAR(map->siteTile.x, sitemap::tileColumn(8.5417, 16), 1e-9);
    EXPECT_DOUBLE_EQ(map->viewCentre.x, map->siteTile.x);
    EXPECT_DOUBLE_EQ(map->viewCentre.y, map->siteTile.y);
}

TEST_F(SitePaneTest, RefusedTilesShowOneNoticeOnTheMap)
{
    getAppSettings().tileUrl = services.url() + "/refuse";
    SitePane* page = open(siteWithBuilding(47.3769, 8.5417));
    ASSERT_NE(page, nullptr);
    SiteEditorCtrl* map = page->map;
    map->Refresh();
    auto failure = [&] {
        wxMutexLocker lock(map->tileMutex);
        return map->tileFailure;
    };
    ASSERT_TRUE(pumpEventsUntil([&] { return !failure().empty(); }));
    EXPECT_NE(failure().find("403"), std::string::npos) << failure();
    const int paints = map->paintCount;
    map->Refresh();
    pumpEventsUntil([&] { return map->paintCount > paints; }, 3000);
    pumpEvents(200);
    takeScreenshot("site-page-tiles-refused");
}

TEST(TileFailureNoticeTest, OneShortLine)
{
    EXPECT_EQ(tileFailureNotice("HTTP status 403"), "Map tiles unavailable: HTTP status 403");
    EXPECT_EQ(tileFailureNotice("first\nsecond"), "Map tiles unavailable: first");
    const std::string notice = tileFailureNotice(std::string(300, 'x'));
    EXPECT_EQ(notice.size(), std::string("Map tiles unavailable: ").size() + 100);
    EXPECT_EQ(notice.substr(notice.size() - 3), "...");
}

TEST_F(SitePaneTest, ZoomButtonsKeepTheCentreAndStopAtTheirLimits)
{
    SitePane* page = open(siteWithBuilding(47.3769, 8.5417));
    ASSERT_NE(page, nullptr);
    SiteEditorCtrl* map = page->map;
    const sitemap::MapPoint centre = map->viewCentre;
    click(ID_ZOOM_IN);
    EXPECT_EQ(map->zoom, 17);
    EXPECT_NEAR(map->viewCentre.x, 2 * centre.x, 1e-6);
    EXPECT_NEAR(map->viewCentre.y, 2 * centre.y, 1e-6);
    click(ID_ZOOM_IN);
    click(ID_ZOOM_IN);
    EXPECT_EQ(map->zoom, 18);
    const sitemap::MapPoint atLimit = map->viewCentre;
    click(ID_ZOOM_IN);
    EXPECT_EQ(map->zoom, 18);
    EXPECT_EQ(map->viewCentre.x, atLimit.x);
    EXPECT_EQ(map->viewCentre.y, atLimit.y);
    repaint(map);
    const int paints = map->paintCount;

    // The wheel at the limit keeps the zoom but still recentres on the
    // point under the centre and repaints.
    map->viewCentre.x += 0.25;
    wxMouseEvent wheel(wxEVT_MOUSEWHEEL);
    wheel.m_wheelRotation = 120;
    map->ProcessWindowEvent(wheel);
    EXPECT_EQ(map->zoom, 18);
    ASSERT_TRUE(pumpEventsUntil([&] { return map->paintCount > paints; }));

    for (int i = 0; i < 20; ++i)
        click(ID_ZOOM_OUT);
    EXPECT_EQ(map->zoom, 1);
    wheel.m_wheelRotation = -120;
    map->ProcessWindowEvent(wheel);
    EXPECT_EQ(map->zoom, 1);
}

TEST_F(SitePaneTest, AChosenPlaceMovesTheSiteAndShowsTheMap)
{
    auto site = std::make_shared<bg::Site>();
    SitePane* page = open(site);
    ASSERT_NE(page, nullptr);
    ASSERT_FALSE(page->map->showMap);
    wxTEST_DIALOG(click(ID_SEARCH_LOCATION), ExpectPlace(-33.75, 151.125));
    EXPECT_DOUBLE_EQ(site->lat, -33.75);
    EXPECT_DOUBLE_EQ(site->lon, 151.125);
    EXPECT_TRUE(page->map->showMap);
    EXPECT_NEAR(page->map->siteTile.x, sitemap::tileColumn(151.125, 16), 1e-9);
    EXPECT_DOUBLE_EQ(page->map->viewCentre.y, page->map->siteTile.y);

    // Cancel changes nothing.
    wxTEST_DIALOG(click(ID_SEARCH_LOCATION), wxExpectDismissableModal<GeocodeDialog>(wxID_CANCEL));
    EXPECT_DOUBLE_EQ(site->lat, -33.75);
}

TEST_F(SitePaneTest, TranslateButtonsAreOppositeAndChooseWhatADragMoves)
{
    SitePane* page = open(siteWithBuilding(0.0, 0.0));
    ASSERT_NE(page, nullptr);
    SiteEditorCtrl* map = page->map;
    EXPECT_TRUE(checked(ID_TRANSLATE_MAP));
    EXPECT_FALSE(checked(ID_TRANSLATE_BUILDING));
    click(ID_TRANSLATE_BUILDING);
    EXPECT_EQ(map->editMode, 1);
    EXPECT_TRUE(checked(ID_TRANSLATE_BUILDING));
    EXPECT_FALSE(checked(ID_TRANSLATE_MAP));

    // A drag of 256 pixels to the right moves the site one column east.
    const sitemap::MapPoint before = map->siteTile;
    const double lonBefore = page->site->lon;
    wxMouseEvent down(wxEVT_LEFT_DOWN);
    down.m_x = 100;
    down.m_y = 100;
    map->ProcessWindowEvent(down);
    wxMouseEvent move(wxEVT_MOTION);
    move.m_x = 356;
    move.m_y = 100;
    move.m_leftDown = true;
    map->ProcessWindowEvent(move);
    EXPECT_NEAR(map->siteTile.x, before.x + 1, 1e-9);
    EXPECT_NEAR(page->site->lon - lonBefore, 360.0 / 65536.0, 1e-9);

    // Leaving the window ends the drag; coming back does not resume it.
    wxMouseEvent leave(wxEVT_LEAVE_WINDOW);
    map->ProcessWindowEvent(leave);
    EXPECT_FALSE(map->dragging);
    move.m_x = 600;
    map->ProcessWindowEvent(move);
    EXPECT_NEAR(map->siteTile.x, before.x + 1, 1e-9);

    click(ID_TRANSLATE_MAP);
    EXPECT_EQ(map->editMode, 0);
}

TEST_F(SitePaneTest, SetOrientationOffersDegreesAndStoresRadians)
{
    auto site = siteWithBuilding(0.0, 0.0);
    site->orientation = sitemap::PI / 2;
    SitePane* page = open(site);
    ASSERT_NE(page, nullptr);
    wxString offered;
    wxTEST_DIALOG(click(ID_SET_ORIENTATION), ExpectOrientation(&offered, "180"));
    EXPECT_EQ(offered, "90");
    EXPECT_DOUBLE_EQ(site->orientation, sitemap::PI);
    wxTEST_DIALOG(click(ID_SET_ORIENTATION), ExpectOrientation(&offered, "north"));
    EXPECT_DOUBLE_EQ(site->orientation, sitemap::PI);
}

TEST_F(SitePaneTest, AddBuildingOffersTheProjectsBuildings)
{
    auto site = std::make_shared<bg::Site>();
    SitePane* page = open(site);
    ASSERT_NE(page, nullptr);
    EXPECT_FALSE(page->map->showMap);

    // Without buildings there is nothing to choose; the user is told so.
    wxTEST_DIALOG(click(ID_ADD_BUILDING), wxExpectModal<wxMessageDialog>(wxID_OK));
    EXPECT_FALSE(site->building);

    auto first = kovra_test::makeRectBuilding(10, 8);
    first->name = "House";
    auto second = kovra_test::makeRectBuilding(12, 9);
    second->name = "Barn";
    getAppState().project->buildings.push_back(first);
    getAppState().project->buildings.push_back(second);
    wxArrayString offered;
    wxTEST_DIALOG(click(ID_ADD_BUILDING), ExpectChoice(&offered, 1));
    EXPECT_EQ(offered, wxArrayString(2, std::array<wxString, 2>{"House", "Barn"}.data()));
    EXPECT_EQ(site->building, second);
    ASSERT_EQ(page->buildingChoices.size(), 2u);
    EXPECT_FALSE(page->map->showMap);
}

TEST_F(SitePaneTest, ExportGpxOnlyShowsItsMessage)
{
    SitePane* page = open(siteWithBuilding(0.0, 0.0));
    ASSERT_NE(page, nullptr);
    wxTEST_DIALOG(click(ID_EXPORT_GPX), wxExpectModal<wxMessageDialog>(wxID_OK));
}

TEST_F(SitePaneTest, ScreenshotOfATurnedBuildingOnLoopbackTiles)
{
    auto site = siteWithBuilding(47.3769, 8.5417);
    site->orientation = 30.0 * sitemap::PI / 180.0;
    SitePane* page = open(site);
    ASSERT_NE(page, nullptr);
    SiteEditorCtrl* map = page->map;
    click(ID_ZOOM_IN);
    click(ID_ZOOM_IN);
    repaint(map);
    ASSERT_TRUE(pumpEventsUntil([&] { return !map->downloadsPending(); }, 60000));
    repaint(map);
    EXPECT_EQ(map->zoom, 18);
    takeScreenshot("site-page");
}

// A new site, made with "New Site" (no place, no building), gets its
// building and then two clicks of the mouse on "Zoom in": the zoom goes up
// one level per click, the map stays centred on the site and the building's
// outline shows at the middle, at the scale of the zoom. Also for a new site
// placed by the place search, whose tiles then come from the loopback server.
TEST_F(SitePaneTest, TwoZoomInClicksOnANewSiteKeepTheBuildingInView)
{
    for (const bool searched : {false, true}) {
        SCOPED_TRACE(searched ? "placed by the search" : "no place");
        getAppState().project = std::make_shared<bg::Project>("New");
        auto house = kovra_test::makeLShapedBuilding(24, 16, 10, 6);
        house->name = "House";
        getAppState().project->buildings.push_back(house);
        wxTEST_DIALOG(click(ID_NEW_SITE), ExpectTextEntry("Plot"));
        ASSERT_EQ(getAppState().project->sites.size(), 1u);
        const auto site = getAppState().project->sites.front();
        auto* page = dynamic_cast<SitePane*>(getAppState().sitePages[site]);
        ASSERT_NE(page, nullptr);
        SiteEditorCtrl* map = page->map;
        ASSERT_TRUE(pumpEventsUntil([&] { return map->paintCount > 0; }));
        if (searched)
            wxTEST_DIALOG(click(ID_SEARCH_LOCATION), ExpectPlace(-33.75, 151.125));
        wxArrayString offered;
        wxTEST_DIALOG(click(ID_ADD_BUILDING), ExpectChoice(&offered, 0));
        ASSERT_EQ(site->building, house);
        repaint(map);
        EXPECT_EQ(map->zoom, 16);

        for (const int expected : {17, 18}) {
            SCOPED_TRACE(expected);
            const int paints = map->paintCount;
            mouseClick(ID_ZOOM_IN);
            ASSERT_TRUE(pumpEventsUntil([&] { return map->zoom != expected - 1 && map->paintCount > paints; }));
            EXPECT_EQ(map->zoom, expected);
            EXPECT_NEAR(map->viewCentre.x, map->siteTile.x, 1e-6);
            EXPECT_NEAR(map->viewCentre.y, map->siteTile.y, 1e-6);
            EXPECT_NEAR(map->siteTile.x, sitemap::tileColumn(site->lon, expected), 1e-6);
            EXPECT_NEAR(map->siteTile.y, sitemap::tileRow(site->lat, expected), 1e-6);
            // The outline (24 m east, 16 m north of the site) at the window's
            // middle, as wide as 24 m are at this zoom.
            const wxSize size = map->GetClientSize();
            const double metres = sitemap::metresPerPixel(map->siteTile.y, expected);
            const wxRect box = outlineBox(drawn(map));
            EXPECT_NEAR(box.x, size.x / 2, 3) << "the building's outline is in view at the middle";
            EXPECT_NEAR(box.GetBottom(), size.y / 2, 3);
            EXPECT_NEAR(box.width, 24 / metres, 3);
        }
        if (searched) {
            ASSERT_TRUE(pumpEventsUntil([&] { return !map->downloadsPending(); }, 60000));
            const sitemap::MapPoint tile = map->siteTile;
            const std::string path = "/tiles/18/" + std::to_string(int(tile.x)) + "/" +
                                     std::to_string(int(tile.y)) + ".png";
            const auto paths = services.requestedPaths();
            EXPECT_NE(std::find(paths.begin(), paths.end(), path), paths.end()) << path;
            repaint(map);
            takeScreenshot("site-page-new-site-zoomed-in-twice");
        }
        frame->getNotebook()->DeleteAllPages();
        pumpEvents(20);
    }
}

// The tile service's credit shows as soon as the map shows tiles the first
// time: on a page opened with its building, on a new site placed by the
// search, and on a new site that got its building before its place.
TEST_F(SitePaneTest, TheCreditShowsWithTheFirstTiles)
{
    enum Road { Opened, Searched, BuildingThenSearched };
    for (const Road road : {Opened, Searched, BuildingThenSearched}) {
        SCOPED_TRACE(road);
        SitePane* page = nullptr;
        if (road == Opened) {
            page = open(siteWithBuilding(47.3769, 8.5417));
        } else {
            wxTEST_DIALOG(click(ID_NEW_SITE), ExpectTextEntry("Plot"));
            const auto site = getAppState().project->sites.back();
            page = dynamic_cast<SitePane*>(getAppState().sitePages[site]);
        }
        ASSERT_NE(page, nullptr);
        SiteEditorCtrl* map = page->map;
        ASSERT_TRUE(pumpEventsUntil([&] { return map->paintCount > 0; }));
        if (road == BuildingThenSearched) {
            getAppState().project->buildings.push_back(kovra_test::makeRectBuilding(12, 9));
            wxArrayString offered;
            wxTEST_DIALOG(click(ID_ADD_BUILDING), ExpectChoice(&offered, 0));
            repaint(map);
            EXPECT_FALSE(map->showMap);
            pumpEvents(100);
            EXPECT_FALSE(creditShows(map)) << "no tiles, no credit";
        }
        if (road != Opened)
            wxTEST_DIALOG(click(ID_SEARCH_LOCATION), ExpectPlace(-33.75, 151.125));
        ASSERT_TRUE(map->showMap);
        ASSERT_TRUE(pumpEventsUntil([&] {
            wxMutexLocker lock(map->tileMutex);
            for (const auto& [url, image] : map->tileCache)
                if (image.IsOk())
                    return true;
            return false;
        }, 30000)) << "no tile arrived";
        repaint(map);
        EXPECT_TRUE(creditShows(map));
        takeScreenshot("site-page-credit-" + std::to_string(int(road)));
        frame->getNotebook()->DeleteAllPages();
        pumpEvents(20);
    }
}
