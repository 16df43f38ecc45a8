#pragma once

// The arithmetic of the site map, free of any window: Web Mercator tiles,
// zoom and drags, the scale and the building outline's transform, the
// addresses of the two map services and the place-search reply. At zoom z
// the world is 2^z by 2^z tiles of 256 pixels; columns grow eastward from
// longitude -180, rows southward from the northern edge.

#include <string>
#include <vector>

namespace sitemap {

extern const double TWO_PI; // twice the arc cosine of -1
extern const double PI;

constexpr int TILE_SIZE = 256;
constexpr int MIN_ZOOM = 1;
constexpr int MAX_ZOOM = 18;
constexpr double EARTH_RADIUS = 6372798.2; // metres

// A point in tile coordinates (fractional column, fractional row), or in
// window pixels.
struct MapPoint {
    double x = 0.0;
    double y = 0.0;
};

struct PixelPoint {
    int x = 0;
    int y = 0;
};

// The map's projection reaches this far north and south (the latitude whose
// row is the world's top edge); nearer the poles its scale is infinite.
constexpr double MAX_LATITUDE = 85.0511287798066;

// A latitude within -MAX_LATITUDE .. MAX_LATITUDE (0 for one that is not a
// number) and a longitude turned into -180 .. 180 (180 itself stays).
double clampedLatitude(double latitude);
double wrappedLongitude(double longitude);

// Where a dragged site lands: its column wrapped around the world, its row
// clamped to the world's top and bottom edges, so that its latitude and
// longitude stay ones a project file can carry.
MapPoint siteInWorld(MapPoint siteTile, int zoom);
// The view centre kept within the world (0 .. 2^zoom both ways), so that a
// pan never leaves the map out of reach.
MapPoint centreInWorld(MapPoint viewCentre, int zoom);

// The row of a latitude is taken at the latitude clamped to the projection's
// range.
double tileColumn(double longitude, int zoom);
double tileRow(double latitude, int zoom);
MapPoint tileOf(double latitude, double longitude, int zoom);
double latitudeOfRow(double row, int zoom);
double longitudeOfColumn(double column, int zoom);

// Where a tile-coordinate point lies in a window of width by height whose
// middle shows centre.
MapPoint windowPosition(MapPoint point, MapPoint centre, int width, int height);

// Ground metres per pixel on the row siteRow.
double metresPerPixel(double siteRow, int zoom);
// The scale bar's text: the length of 256 pixels, "%g m".
std::string scaleText(double metresPerPixel);
// The location line drawn at the top left (orientation in radians).
std::string locationText(double latitude, double longitude, double orientation);

// The zoom after the ribbon's "Zoom in" / "Zoom out": the same zoom when
// the step would leave 1 .. 18 (nothing is to happen then).
int zoomedIn(int zoom);
int zoomedOut(int zoom);
// The zoom after a wheel turn: one step towards rotation's sign, within
// 1 .. 18.
int wheelZoom(int zoom, int rotation);

// The view centre and site after a zoom change that keeps the geographic
// point under the view centre.
struct MapView {
    MapPoint viewCentre;
    MapPoint siteTile;
};
MapView rezoom(MapPoint viewCentre, double siteLatitude, double siteLongitude, int oldZoom, int newZoom);
// The view of a site as a page opens it: the site's tile at the window's
// middle.
MapView viewOnSite(double siteLatitude, double siteLongitude, int zoom);
// One zoom change as the map applies it: rezoom, with the view centre kept
// within the world at the new zoom.
MapView zoomedView(MapPoint viewCentre, double siteLatitude, double siteLongitude, int oldZoom, int newZoom);

// Dragging: dragStartPosition is the dragged point at the press in tile
// coordinates times 256. Panning moves the map with the mouse, so the view
// centre goes the other way; moving the site follows the mouse.
MapPoint pannedCentre(MapPoint dragStartMouse, MapPoint dragStartPosition, MapPoint mouse);
MapPoint movedSite(MapPoint dragStartMouse, MapPoint dragStartPosition, MapPoint mouse);

// A contour point (x east, y north, metres) in window pixels, turned
// clockwise by orientation (radians) around the site drawn at sitePixel.
// Pixels beyond what a window can draw are clamped to +-2^30.
PixelPoint outlinePoint(double x, double y, double orientation, double metresPerPixel, MapPoint sitePixel);

// The tiles a window shows, both ends included, clamped to the tiles that
// exist (0 .. 2^zoom - 1); empty (first > last) when the view lies wholly
// beyond an edge of the world.
struct TileRange {
    int firstColumn = 0;
    int lastColumn = -1;
    int firstRow = 0;
    int lastRow = -1;
};
TileRange visibleTiles(MapPoint viewCentre, int width, int height, int zoom);

// The address of a tile below the tile service's base address.
std::string tileUrl(const std::string& baseUrl, int zoom, int column, int row);
// The place-search request for an already percent-escaped query.
std::string geocodeUrl(const std::string& baseUrl, const std::string& escapedQuery);

// Orientation in radians as the degrees offered for editing ("%g"), and the
// edited text back in radians, normalised to one turn (-180 < degrees <= 180);
// false when the text holds no number.
std::string orientationDegreesText(double orientation);
bool parseOrientationDegrees(const std::string& text, double& orientation);

struct Place {
    std::string displayName; // UTF-8
    double lat = 0.0;
    double lon = 0.0;
};
// The places of a place-search reply (UTF-8 JSON), in reply order. An
// element that is not an object with the string members "display_name",
// "lat" and "lon", the latter two wholly decimal numbers within -90 .. 90
// and -180 .. 180, is skipped. Throws
// std::runtime_error when the reply is not JSON.
std::vector<Place> parsePlaces(const std::string& reply);

} // namespace sitemap

// The credit the tile service's licence asks for wherever its tiles show
// (UTF-8).
constexpr const char* TILE_CREDIT = "\xC2\xA9 OpenStreetMap contributors";

// The one notice a map shows when its tiles fail: "Map tiles unavailable: "
// and the reason's first line, cut to 100 characters.
std::string tileFailureNotice(const std::string& reason);
