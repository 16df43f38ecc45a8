// The site map's arithmetic, without a window.
#include "sitemap/SiteMapMath.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

using namespace sitemap;

namespace {

struct MercatorCase {
    double lat, lon;
    int zoom;
    double column, row;
};

const MercatorCase mercatorCases[] = {
    {0.0, 0.0, 1, 1.0, 1.0},
    {0.0, -180.0, 3, 0.0, 4.0},
    {85.0511287798066, 180.0, 2, 4.0, 0.0},
    {-85.0511287798066, 0.0, 2, 2.0, 4.0},
    {47.3769, 8.5417, 16, 34322.97, 22949.77},
};

} // namespace

TEST(SiteMapMath, WebMercatorTilesAndBack)
{
    for (const auto& c : mercatorCases) {
        SCOPED_TRACE(testing::Message() << c.lat << ", " << c.lon << " at zoom " << c.zoom);
        const MapPoint tile = tileOf(c.lat, c.lon, c.zoom);
        EXPECT_NEAR(tile.x, c.column, 0.1);
        EXPECT_NEAR(tile.y, c.row, 0.1);
        EXPECT_NEAR(latitudeOfRow(tile.y, c.zoom), c.lat, 1e-9);
        EXPECT_NEAR(longitudeOfColumn(tile.x, c.zoom), c.lon, 1e-9);
    }
}

TEST(SiteMapMath, ScaleAtTheEquatorAtZoom16)
{
    const double metres = metresPerPixel(tileRow(0.0, 16), 16);
    EXPECT_NEAR(metres, 2.0 * PI * 6372798.2 / std::pow(2.0, 24), 1e-12);
    EXPECT_NEAR(metres, 2.3867, 1e-4);
    EXPECT_EQ(scaleText(metres), "610.984 m");
    // Further north a pixel covers less ground.
    EXPECT_LT(metresPerPixel(tileRow(60.0, 16), 16), metres * 0.51);
}

TEST(SiteMapMath, LocationLine)
{
    EXPECT_EQ(locationText(47.5, 8.25, 0.5), "Location: 47.5, 8.25 | Orientation: 0.5");
}

TEST(SiteMapMath, RibbonZoomStopsAtItsLimits)
{
    EXPECT_EQ(zoomedIn(16), 17);
    EXPECT_EQ(zoomedIn(18), 18);
    EXPECT_EQ(zoomedOut(2), 1);
    EXPECT_EQ(zoomedOut(1), 1);
}

TEST(SiteMapMath, WheelZoomsOneStepWithinLimits)
{
    struct Case {
        int zoom, rotation, expected;
    } cases[] = {{16, 120, 17}, {16, -120, 15}, {16, 0, 16}, {18, 120, 18}, {1, -120, 1}, {1, 120, 2}};
    for (const auto& c : cases)
        EXPECT_EQ(wheelZoom(c.zoom, c.rotation), c.expected) << c.zoom << " turned " << c.rotation;
}

TEST(SiteMapMath, ZoomingKeepsThePointUnderTheCentre)
{
    const MapPoint centre = tileOf(47.3769, 8.5417, 16);
    const MapView in = rezoom(centre, 10.0, 20.0, 16, 17);
    EXPECT_NEAR(in.viewCentre.x, 2.0 * centre.x, 1e-6);
    EXPECT_NEAR(in.viewCentre.y, 2.0 * centre.y, 1e-6);
    EXPECT_NEAR(in.siteTile.x, tileColumn(20.0, 17), 1e-9);
    EXPECT_NEAR(in.siteTile.y, tileRow(10.0, 17), 1e-9);
    const MapView out = rezoom(in.viewCentre, 10.0, 20.0, 17, 16);
    EXPECT_NEAR(out.viewCentre.x, centre.x, 1e-6);
    EXPECT_NEAR(out.viewCentre.y, centre.y, 1e-6);
}

// The ribbon's zoom buttons from the view a page opens with: every click
// that can zoom moves one level, and the site stays at the window's middle
// (for a new site, at 0, 0, as for one placed anywhere on the map), so its
// building never leaves the view.
TEST(SiteMapMath, ZoomButtonsFromTheOpeningViewKeepTheSiteInTheMiddle)
{
    struct Case {
        const char* name;
        double lat, lon;
        int zoom;
        const char* clicks; // '+' zoom in, '-' zoom out
        int finalZoom;
    };
    const Case cases[] = {
        {"new site, twice in", 0.0, 0.0, 16, "++", 18},
        {"new site, in at the limit", 0.0, 0.0, 16, "+++", 18},
        {"new site, out and in", 0.0, 0.0, 16, "--+", 15},
        {"new site, out to the limit", 0.0, 0.0, 3, "---", 1},
        {"a town", 47.3769, 8.5417, 16, "++", 18},
        {"date line east", -33.75, 180.0, 16, "++", 18},
        {"date line west", 12.5, -180.0, 2, "-++", 3},
        {"far north", 85.0, 0.0, 10, "++-", 11},
        {"northern edge", MAX_LATITUDE, 0.0, 16, "+-", 16},
    };
    const int width = 1090, height = 520;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int zoom = c.zoom;
        MapView view = viewOnSite(c.lat, c.lon, zoom);
        for (const char* click = c.clicks; *click; ++click) {
            const int before = zoom;
            const int wanted = *click == '+' ? zoomedIn(zoom) : zoomedOut(zoom);
            if (wanted == zoom)
                continue;
            view = zoomedView(view.viewCentre, c.lat, c.lon, zoom, wanted);
            zoom = wanted;
            EXPECT_EQ(std::abs(zoom - before), 1);
            const MapPoint site = windowPosition(view.siteTile, view.viewCentre, width, height);
            EXPECT_NEAR(site.x, width / 2.0, 1e-3) << "after click " << (click - c.clicks + 1);
            EXPECT_NEAR(site.y, height / 2.0, 1e-3) << "after click " << (click - c.clicks + 1);
        }
        EXPECT_EQ(zoom, c.finalZoom);
        EXPECT_NEAR(view.siteTile.x, tileColumn(c.lon, zoom), 1e-9);
        EXPECT_NEAR(view.siteTile.y, tileRow(c.lat, zoom), 1e-9);
    }
}

TEST(SiteMapMath, DragOf256PixelsMovesOneTile)
{
    const MapPoint start{100.0, 100.0};
    const MapPoint position{40.0 * 256, 30.0 * 256};
    const MapPoint mouse{356.0, 100.0};
    const MapPoint site = movedSite(start, position, mouse);
    EXPECT_DOUBLE_EQ(site.x, 41.0);
    EXPECT_DOUBLE_EQ(site.y, 30.0);
    EXPECT_NEAR(longitudeOfColumn(site.x, 16) - longitudeOfColumn(40.0, 16), 360.0 / 65536.0, 1e-12);
    const MapPoint centre = pannedCentre(start, position, mouse);
    EXPECT_DOUBLE_EQ(centre.x, 39.0);
    EXPECT_DOUBLE_EQ(centre.y, 30.0);
}

TEST(SiteMapMath, OutlineTurnsClockwiseWithTheOrientation)
{
    struct Case {
        double x, y, orientation;
        int px, py;
    } cases[] = {
        {10.0, 0.0, 0.0, 110, 200},      // east is right
        {0.0, 10.0, 0.0, 100, 190},      // north is up
        {10.0, 0.0, PI / 2, 100, 210},   // east turned a quarter clockwise points down
        {0.0, 10.0, PI / 2, 110, 200},
    };
    for (const auto& c : cases) {
        const PixelPoint p = outlinePoint(c.x, c.y, c.orientation, 1.0, {100.0, 200.0});
        EXPECT_EQ(p.x, c.px) << c.x << ", " << c.y << " turned " << c.orientation;
        EXPECT_EQ(p.y, c.py) << c.x << ", " << c.y << " turned " << c.orientation;
    }
}

TEST(SiteMapMath, WindowPositionPutsTheCentreInTheMiddle)
{
    const MapPoint p = windowPosition({10.5, 20.0}, {10.0, 20.0}, 800, 600);
    EXPECT_DOUBLE_EQ(p.x, 528.0);
    EXPECT_DOUBLE_EQ(p.y, 300.0);
}

TEST(SiteMapMath, VisibleTilesOnlyThoseThatExist)
{
    struct Case {
        const char* what;
        MapPoint centre;
        int zoom;
        TileRange expected;
    } cases[] = {
        {"inside", {100.5, 200.5}, 16, {98, 103, 199, 202}},
        {"north-west corner", {0.3, 0.3}, 1, {0, 1, 0, 1}},
        {"south-east corner", {3.9, 3.9}, 2, {2, 3, 2, 3}},
    };
    for (const auto& c : cases) {
        const TileRange r = visibleTiles(c.centre, 800, 600, c.zoom);
        EXPECT_EQ(r.firstColumn, c.expected.firstColumn) << c.what;
        EXPECT_EQ(r.lastColumn, c.expected.lastColumn) << c.what;
        EXPECT_EQ(r.firstRow, c.expected.firstRow) << c.what;
        EXPECT_EQ(r.lastRow, c.expected.lastRow) << c.what;
    }
    const TileRange beyond = visibleTiles({-10.0, 1.0}, 800, 600, 2);
    EXPECT_GT(beyond.firstColumn, beyond.lastColumn);
    const TileRange farAway = visibleTiles({1e12, 1.0}, 800, 600, 2);
    EXPECT_GT(farAway.firstColumn, farAway.lastColumn);
}

TEST(SiteMapMath, ServiceAddresses)
{
    EXPECT_EQ(tileUrl("http://tiles.example/", 3, 5, 7), "http://tiles.example/3/5/7.png");
    EXPECT_EQ(tileUrl("http://127.0.0.1:8080/tiles", 16, 34323, 22938),
              "http://127.0.0.1:8080/tiles/16/34323/22938.png");
    EXPECT_EQ(geocodeUrl("https://search.example", "Z%C3%BCrich"),
              "https://search.example/search?q=Z%C3%BCrich&format=json&accept-language=en-US");
}

TEST(SiteMapMath, OrientationInDegrees)
{
    EXPECT_EQ(orientationDegreesText(PI / 2), "90");
    EXPECT_EQ(orientationDegreesText(0.0), "0");
    double orientation = 1.0;
    ASSERT_TRUE(parseOrientationDegrees("180", orientation));
    EXPECT_DOUBLE_EQ(orientation, PI);
    ASSERT_TRUE(parseOrientationDegrees("-30.5", orientation));
    EXPECT_DOUBLE_EQ(orientation, -30.5 * PI / 180.0);
    for (const char* text : {"", "abc", "12abc", "1e999"}) {
        orientation = 1.0;
        EXPECT_FALSE(parseOrientationDegrees(text, orientation)) << text;
        EXPECT_EQ(orientation, 1.0) << text;
    }
}

TEST(SiteMapMath, PlacesOfASearchReply)
{
    struct Case {
        const char* reply;
        std::vector<std::string> names;
    } cases[] = {
        {"[]", {}},
        {R"([{"display_name":"A","lat":"1.5","lon":"2"},{"display_name":"B","lon":"3"},)"
         R"({"display_name":"C","lat":"-4","lon":"5"}])",
         {"A", "C"}},
        {R"({"error":"Unable to geocode","code":"400"})", {}},
        {R"([{"display_name":"N","lat":1.5,"lon":"2"}])", {}},
        {R"([{"display_name":"X","lat":"north","lon":"2"}, 7, "text"])", {}},
        {"null", {}},
        {R"([{"display_name":"Z\u00fcrich","lat":"47.37","lon":"8.54","class":"place"}])", {"Z\xC3\xBCrich"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> names;
        for (const Place& place : parsePlaces(c.reply))
            names.push_back(place.displayName);
        EXPECT_EQ(names, c.names) << c.reply;
    }
    const auto places = parsePlaces(R"([{"display_name":"A","lat":"1.5","lon":"-2.25"}])");
    ASSERT_EQ(places.size(), 1u);
    EXPECT_DOUBLE_EQ(places[0].lat, 1.5);
    EXPECT_DOUBLE_EQ(places[0].lon, -2.25);
    EXPECT_THROW(parsePlaces("[{\"display_name\": "), std::runtime_error);
    EXPECT_THROW(parsePlaces(""), std::runtime_error);
}
