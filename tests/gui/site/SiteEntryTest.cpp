// What enters the site page (a drag of the site, a pan, a place-search
// reply, a typed orientation, a latitude from the project file) stays within
// the map's range: the site can be saved and opened again, and the map's
// arithmetic never converts out of range.

#include "sitemap/SiteMapMath.h"

#include "model/Project.h"
#include "model/Site.h"
#include "support/FileSupport.h"
#include "support/ModelFixtures.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <sstream>

using namespace sitemap;

namespace {

std::string saveText(const bg::Project& project)
{
    std::stringstream out;
    project.saveToStream(out);
    return out.str();
}

// A project whose one site stands at the given place; saving it and opening
// it again gives the same file, and the site read back.
std::shared_ptr<bg::Site> savedAndOpenedAgain(double lat, double lon, double orientation)
{
    bg::Project project("p");
    auto building = kovra_test::makeRectBuilding(10, 8);
    project.addBuilding(building);
    auto site = std::make_shared<bg::Site>();
    site->building = building;
    site->lat = lat;
    site->lon = lon;
    site->orientation = orientation;
    project.sites.push_back(site);
    const std::string saved = saveText(project);
    const auto reopened = bg::Project::loadFromText(saved);
    EXPECT_EQ(kovra_test::maskIds(saveText(*reopened)), kovra_test::maskIds(saved)); // save, open again: equal
    return reopened->sites.front();
}

// A drag as the site page makes it: press on the site, move the mouse.
struct DragCase {
    const char* name;
    int zoom;
    double startLat, startLon;
    double dx, dy; // mouse pixels
    double lat, lon; // where the site lands
};

const DragCase dragCases[] = {
    {"EastAcross180", 1, 0.0, 0.0, 500.0, 0.0, 0.0, -8.4375}, // 351.5625 before
    {"WestAcrossMinus180", 1, 0.0, -180.0, -256.0, 0.0, 0.0, 0.0},
    {"AboveTheTop", 1, 80.0, 0.0, 0.0, -300.0, MAX_LATITUDE, 0.0},
    {"BelowTheBottom", 3, -80.0, 10.0, 0.0, 5000.0, -MAX_LATITUDE, 10.0},
    {"ManyTurnsEast", 1, 0.0, 0.0, 512.0 * 7 + 128.0, 0.0, 0.0, 90.0},
    {"InsideTheWorld", 2, 10.0, 20.0, 64.0, 0.0, 10.0, 42.5},
};

class SiteDrag : public ::testing::TestWithParam<DragCase> {};

TEST_P(SiteDrag, WrapsLongitudeAndClampsLatitude)
{
    const DragCase& row = GetParam();
    const MapPoint start = tileOf(row.startLat, row.startLon, row.zoom);
    const MapPoint startPosition{start.x * TILE_SIZE, start.y * TILE_SIZE};
    const MapPoint mouse{100.0 + row.dx, 100.0 + row.dy};
    const MapPoint tile = siteInWorld(movedSite({100.0, 100.0}, startPosition, mouse), row.zoom);
    const double lat = latitudeOfRow(tile.y, row.zoom);
    const double lon = longitudeOfColumn(tile.x, row.zoom);
    EXPECT_NEAR(lat, row.lat, 1e-9);
    EXPECT_NEAR(lon, row.lon, 1e-9);
    const auto site = savedAndOpenedAgain(lat, lon, 0.0);
    EXPECT_EQ(site->lat, lat);
    EXPECT_EQ(site->lon, lon);
}

INSTANTIATE_TEST_SUITE_P(Rows, SiteDrag, ::testing::ValuesIn(dragCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Replies of the place search: only whole numbers within the ranges make a
// place.
struct ReplyCase {
    const char* name;
    const char* lat;
    const char* lon;
    bool listed;
};

const ReplyCase replyCases[] = {
    {"LatitudeNinetyFive", "95", "8", false},
    {"LatitudeNan", "nan", "8", false},
    {"LatitudeHuge", "1e9", "8", false},
    {"LatitudeWithLetters", "12abc", "8", false},
    {"LongitudeBeyond180", "47", "180.5", false},
    {"LongitudeInfinite", "47", "-inf", false},
    {"Empty", "", "8", false},
    {"TrailingSpace", "47 ", "8", false},
    {"NorthPole", "90", "0", true},
    {"DateLine", "-12.5", "-180", true},
    {"Ordinary", "47.3769", "8.5417", true},
};

class PlaceReply : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(PlaceReply, KeepsOnlyPlacesAProjectCanCarry)
{
    const ReplyCase& row = GetParam();
    const std::string reply = std::string(R"([{"display_name":"Q","lat":")") + row.lat + R"(","lon":")" + row.lon +
                              R"("},{"display_name":"Ok","lat":"1","lon":"2"}])";
    const auto places = parsePlaces(reply);
    ASSERT_EQ(places.size(), row.listed ? 2u : 1u);
    EXPECT_EQ(places.back().displayName, "Ok");
    if (!row.listed)
        return;
    const Place& place = places.front();
    EXPECT_EQ(place.lat, std::strtod(row.lat, nullptr));
    // The map draws it: the site's row and the scale stay finite.
    const MapPoint tile = tileOf(place.lat, place.lon, 18);
    EXPECT_TRUE(std::isfinite(tile.x) && std::isfinite(tile.y));
    EXPECT_GT(metresPerPixel(tile.y, 18), 1e-3);
    const auto site = savedAndOpenedAgain(place.lat, place.lon, 0.0);
    EXPECT_EQ(site->lat, place.lat);
    EXPECT_EQ(site->lon, place.lon);
}

INSTANTIATE_TEST_SUITE_P(Rows, PlaceReply, ::testing::ValuesIn(replyCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A latitude the file may hold, up to the poles: the map clamps it to its
// projection's range, and the outline converts to pixels without overflow.
TEST(SiteAtAPole, MapClampsAndOutlinePixelsStayInRange)
{
    for (double lat : {90.0, -90.0, 89.9999999, MAX_LATITUDE}) {
        const auto site = savedAndOpenedAgain(lat, 0.0, 0.3);
        for (int zoom : {MIN_ZOOM, MAX_ZOOM}) {
            const MapPoint tile = tileOf(site->lat, site->lon, zoom);
            ASSERT_TRUE(std::isfinite(tile.y)) << lat;
            EXPECT_GE(tile.y, -1e-6); // the edge, up to rounding
            EXPECT_LE(tile.y, std::ldexp(1.0, zoom) + 1e-6);
            const double scale = metresPerPixel(tile.y, zoom);
            EXPECT_NEAR(scale, metresPerPixel(tileRow(MAX_LATITUDE, zoom), zoom), 1e-9) << lat;
            const PixelPoint corner = outlinePoint(1e7, -1e7, site->orientation, scale, {400.0, 300.0});
            EXPECT_LT(std::abs(static_cast<long long>(corner.x)), INT_MAX / 2);
            EXPECT_LT(std::abs(static_cast<long long>(corner.y)), INT_MAX / 2);
        }
    }
    // The conversion itself, given a scale near zero or not a number.
    for (double scale : {4.8e-12, 1e-300, 0.0, std::nan("")}) {
        const PixelPoint p = outlinePoint(12.0, -7.0, 0.0, scale, {0.0, 0.0});
        EXPECT_LE(std::abs(static_cast<long long>(p.x)), 1LL << 30) << scale;
        EXPECT_LE(std::abs(static_cast<long long>(p.y)), 1LL << 30) << scale;
    }
}

// A typed orientation is normalised to one turn.
struct OrientationCase {
    const char* text;
    double degrees;
};

const OrientationCase orientationCases[] = {
    {"1.7976931348623157e308", 128.0}, // the largest double is 128 past a whole number of turns
    {"-1e300", 0.0},
    {"540", 180.0},
    {"-180", 180.0},
    {"720", 0.0},
    {"-30.5", -30.5},
    {"359", -1.0},
};

TEST(TypedOrientation, IsNormalisedToOneTurnAndSavesAndOpensEqual)
{
    for (const OrientationCase& row : orientationCases) {
        SCOPED_TRACE(row.text);
        double orientation = 0.0;
        ASSERT_TRUE(parseOrientationDegrees(row.text, orientation));
        const double degrees = orientation * 180.0 / PI;
        EXPECT_NEAR(degrees, row.degrees, 1e-9);
        EXPECT_GT(degrees, -180.0);
        EXPECT_LE(degrees, 180.0);
        const auto site = savedAndOpenedAgain(0.0, 0.0, orientation);
        EXPECT_NEAR(site->orientation, orientation, 1e-15);
    }
}

// Panning keeps the world in reach, and a wheel turn afterwards zooms about
// a point of the world.
struct PanCase {
    const char* name;
    int zoom;
    double dx, dy;
    double x, y; // the centre in tiles
};

const PanCase panCases[] = {
    {"EightTilesBelow", 1, 0.0, -8.0 * 256.0, 1.0, 2.0},
    {"FarAbove", 1, 0.0, 1e6, 1.0, 0.0},
    {"FarWest", 4, 1e9, 0.0, 0.0, 8.0},
    {"FarEast", 4, -1e9, 0.0, 16.0, 8.0},
    {"Inside", 2, -128.0, 64.0, 2.5, 1.75},
};

class Pan : public ::testing::TestWithParam<PanCase> {};

TEST_P(Pan, KeepsTheWorldInReach)
{
    const PanCase& row = GetParam();
    const double half = std::ldexp(1.0, row.zoom) / 2.0;
    const MapPoint start{half * TILE_SIZE, half * TILE_SIZE};
    const MapPoint centre = centreInWorld(pannedCentre({0.0, 0.0}, start, {row.dx, row.dy}), row.zoom);
    EXPECT_DOUBLE_EQ(centre.x, row.x);
    EXPECT_DOUBLE_EQ(centre.y, row.y);
    const TileRange tiles = visibleTiles(centre, 800, 600, row.zoom);
    EXPECT_LE(tiles.firstRow, tiles.lastRow);
    EXPECT_LE(tiles.firstColumn, tiles.lastColumn);
    // The wheel: zoomed in and out again, the centre is back in the world.
    const int in = wheelZoom(row.zoom, 120);
    const MapView zoomedView = rezoom(centre, 0.0, 0.0, row.zoom, in);
    const MapPoint after = centreInWorld(zoomedView.viewCentre, in);
    EXPECT_TRUE(std::isfinite(after.x) && std::isfinite(after.y));
    const TileRange again = visibleTiles(after, 800, 600, in);
    EXPECT_LE(again.firstRow, again.lastRow);
    const auto site = savedAndOpenedAgain(latitudeOfRow(after.y, in), longitudeOfColumn(after.x, in), 0.0);
    EXPECT_LE(std::fabs(site->lat), MAX_LATITUDE + 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Rows, Pan, ::testing::ValuesIn(panCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
