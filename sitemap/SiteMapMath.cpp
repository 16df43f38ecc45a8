#include "SiteMapMath.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace sitemap {

const double TWO_PI = 2.0 * std::acos(-1.0);
const double PI = TWO_PI / 2.0;

namespace {

double tilesAcross(int zoom)
{
    return std::ldexp(1.0, zoom);
}

std::string format(const char* pattern, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

void replaceAll(std::string& text, const std::string& from, const std::string& to)
{
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

std::string withoutTrailingSlash(std::string url)
{
    while (!url.empty() && url.back() == '/')
        url.pop_back();
    return url;
}

// A reply's coordinate: the whole text one finite number within +-limit.
bool wholeNumber(const std::string& text, double limit, double& value)
{
    const char* begin = text.c_str();
    char* end = nullptr;
    const double read = std::strtod(begin, &end);
    if (end == begin || *end != '\0' || end != begin + text.size())
        return false;
    if (!(read >= -limit && read <= limit)) // also refuses "nan"
        return false;
    value = read;
    return true;
}

} // namespace

double clampedLatitude(double latitude)
{
    if (std::isnan(latitude))
        return 0.0;
    return std::clamp(latitude, -MAX_LATITUDE, MAX_LATITUDE);
}

double wrappedLongitude(double longitude)
{
    if (!std::isfinite(longitude))
        return 0.0;
    if (longitude >= -180.0 && longitude <= 180.0)
        return longitude;
    double wrapped = std::fmod(longitude + 180.0, 360.0);
    if (wrapped < 0.0)
        wrapped += 360.0;
    return wrapped - 180.0;
}

MapPoint siteInWorld(MapPoint siteTile, int zoom)
{
    const double across = tilesAcross(zoom);
    MapPoint kept = siteTile;
    if (!std::isfinite(kept.x))
        kept.x = across / 2.0;
    else if (kept.x < 0.0 || kept.x > across) {
        kept.x = std::fmod(kept.x, across);
        if (kept.x < 0.0)
            kept.x += across;
    }
    kept.y = std::isnan(kept.y) ? across / 2.0 : std::clamp(kept.y, 0.0, across);
    return kept;
}

MapPoint centreInWorld(MapPoint viewCentre, int zoom)
{
    const double across = tilesAcross(zoom);
    auto keep = [&](double value) { return std::isnan(value) ? across / 2.0 : std::clamp(value, 0.0, across); };
    return {keep(viewCentre.x), keep(viewCentre.y)};
}

double tileColumn(double longitude, int zoom)
{
    return (longitude + 180.0) / 360.0 * tilesAcross(zoom);
}

double tileRow(double latitude, int zoom)
{
    const double phi = TWO_PI * clampedLatitude(latitude) / 360.0;
    return (1.0 - std::log(std::tan(phi) + 1.0 / std::cos(phi)) / PI) / 2.0 * tilesAcross(zoom);
}

MapPoint tileOf(double latitude, double longitude, int zoom)
{
    return {tileColumn(longitude, zoom), tileRow(latitude, zoom)};
}

double latitudeOfRow(double row, int zoom)
{
    const double t = PI - TWO_PI * row / tilesAcross(zoom);
    return std::atan((std::exp(t) - std::exp(-t)) / 2.0) * 180.0 / PI;
}

double longitudeOfColumn(double column, int zoom)
{
    return column / tilesAcross(zoom) * 360.0 - 180.0;
}

MapPoint windowPosition(MapPoint point, MapPoint centre, int width, int height)
{
    return {(point.x - centre.x) * TILE_SIZE + width * 0.5, (point.y - centre.y) * TILE_SIZE + height * 0.5};
}

double metresPerPixel(double siteRow, int zoom)
{
    const double phi = latitudeOfRow(siteRow, zoom) * PI / 180.0;
    return std::cos(phi) * TWO_PI * EARTH_RADIUS / std::ldexp(1.0, zoom + 8);
}

std::string scaleText(double metresPerPixel)
{
    return format("%g m", metresPerPixel * TILE_SIZE);
}

std::string locationText(double latitude, double longitude, double orientation)
{
    char text[160];
    std::snprintf(text, sizeof text, "Location: %g, %g | Orientation: %g", latitude, longitude, orientation);
    return text;
}

int zoomedIn(int zoom)
{
    return zoom >= MAX_ZOOM ? zoom : zoom + 1;
}

int zoomedOut(int zoom)
{
    return zoom < 2 ? zoom : zoom - 1;
}

int wheelZoom(int zoom, int rotation)
{
    if (zoom < MIN_ZOOM || zoom > MAX_ZOOM)
        return zoom;
    if (rotation > 0)
        return std::min(zoom + 1, MAX_ZOOM);
    if (rotation < 0)
        return std::max(zoom - 1, MIN_ZOOM);
    return zoom;
}

MapView rezoom(MapPoint viewCentre, double siteLatitude, double siteLongitude, int oldZoom, int newZoom)
{
    const double latitude = latitudeOfRow(viewCentre.y, oldZoom);
    const double longitude = longitudeOfColumn(viewCentre.x, oldZoom);
    return {tileOf(latitude, longitude, newZoom), tileOf(siteLatitude, siteLongitude, newZoom)};
}

MapView viewOnSite(double siteLatitude, double siteLongitude, int zoom)
{
    const MapPoint site = tileOf(siteLatitude, siteLongitude, zoom);
    return {site, site};
}

MapView zoomedView(MapPoint viewCentre, double siteLatitude, double siteLongitude, int oldZoom, int newZoom)
{
    MapView view = rezoom(viewCentre, siteLatitude, siteLongitude, oldZoom, newZoom);
    view.viewCentre = centreInWorld(view.viewCentre, newZoom);
    return view;
}

MapPoint pannedCentre(MapPoint dragStartMouse, MapPoint dragStartPosition, MapPoint mouse)
{
    return {(dragStartMouse.x - mouse.x + dragStartPosition.x) / TILE_SIZE,
            (dragStartMouse.y - mouse.y + dragStartPosition.y) / TILE_SIZE};
}

MapPoint movedSite(MapPoint dragStartMouse, MapPoint dragStartPosition, MapPoint mouse)
{
    return {(mouse.x - dragStartMouse.x + dragStartPosition.x) / TILE_SIZE,
            (mouse.y - dragStartMouse.y + dragStartPosition.y) / TILE_SIZE};
}

PixelPoint outlinePoint(double x, double y, double orientation, double metresPerPixel, MapPoint sitePixel)
{
    const double c = std::cos(orientation);
    const double s = std::sin(orientation);
    // Far beyond any window, yet a quarter of int's range, so that the
    // drawing's own sums do not overflow either.
    const double limit = std::ldexp(1.0, 30);
    auto pixel = [&](double value) {
        return std::isnan(value) ? 0 : static_cast<int>(std::clamp(value, -limit, limit));
    };
    return {pixel(sitePixel.x + (x * c + y * s) / metresPerPixel), pixel(sitePixel.y + (x * s - y * c) / metresPerPixel)};
}

TileRange visibleTiles(MapPoint viewCentre, int width, int height, int zoom)
{
    // Computed in doubles first: a view far beyond an edge must not
    // overflow an int before the clamp.
    const double last = tilesAcross(zoom) - 1.0;
    const double firstRow = std::floor(viewCentre.y - height * 0.5 / TILE_SIZE);
    const double lastRow = std::ceil(viewCentre.y + (height - 1 - height * 0.5) / TILE_SIZE);
    const double firstColumn = std::floor(viewCentre.x - width * 0.5 / TILE_SIZE);
    const double lastColumn = std::ceil(viewCentre.x + (width - 1 - width * 0.5) / TILE_SIZE);
    TileRange range;
    if (!(lastRow >= 0.0 && firstRow <= last && lastColumn >= 0.0 && firstColumn <= last))
        return range; // also for a centre that is not a number
    range.firstRow = static_cast<int>(std::max(firstRow, 0.0));
    range.lastRow = static_cast<int>(std::min(lastRow, last));
    range.firstColumn = static_cast<int>(std::max(firstColumn, 0.0));
    range.lastColumn = static_cast<int>(std::min(lastColumn, last));
    return range;
}

std::string tileUrl(const std::string& baseUrl, int zoom, int column, int row)
{
    std::string path = "/%ZOOM%/%X%/%Y%.png";
    replaceAll(path, "%ZOOM%", std::to_string(zoom));
    replaceAll(path, "%X%", std::to_string(column));
    replaceAll(path, "%Y%", std::to_string(row));
    return withoutTrailingSlash(baseUrl) + path;
}

std::string geocodeUrl(const std::string& baseUrl, const std::string& escapedQuery)
{
    return withoutTrailingSlash(baseUrl) + "/search?q=" + escapedQuery + "&format=json&accept-language=en-US";
}

std::string orientationDegreesText(double orientation)
{
    return format("%g", orientation * (180.0 / PI));
}

bool parseOrientationDegrees(const std::string& text, double& orientation)
{
    const char* begin = text.c_str();
    char* end = nullptr;
    const double degrees = std::strtod(begin, &end);
    if (end == begin || !std::isfinite(degrees))
        return false;
    while (*end == ' ')
        ++end;
    if (*end != '\0')
        return false;
    double turn = std::fmod(degrees, 360.0);
    if (turn > 180.0)
        turn -= 360.0;
    else if (turn <= -180.0)
        turn += 360.0;
    orientation = turn / (180.0 / PI);
    return true;
}

std::vector<Place> parsePlaces(const std::string& reply)
{
    nlohmann::json parsed;
    try {
        parsed = nlohmann::json::parse(reply);
    } catch (const nlohmann::json::exception& error) {
        throw std::runtime_error(std::string("the reply is not JSON (") + error.what() + ")");
    }
    std::vector<nlohmann::json> elements;
    if (parsed.is_array() || parsed.is_object()) {
        for (const auto& element : parsed)
            elements.push_back(element);
    } else if (!parsed.is_null()) {
        elements.push_back(parsed);
    }
    std::vector<Place> places;
    for (const auto& element : elements) {
        try {
            Place place;
            place.displayName = element.at("display_name").get<std::string>();
            if (!wholeNumber(element.at("lat").get<std::string>(), 90.0, place.lat) ||
                !wholeNumber(element.at("lon").get<std::string>(), 180.0, place.lon))
                continue;
            places.push_back(std::move(place));
        } catch (const std::exception&) {
            // an element without a usable place; the others still count
        }
    }
    return places;
}

} // namespace sitemap

std::string tileFailureNotice(const std::string& reason)
{
    std::string line = reason.substr(0, reason.find('\n'));
    if (line.size() > 100)
        line = line.substr(0, 97) + "...";
    return "Map tiles unavailable: " + line;
}
