#include "FuzzTargets.h"

#include "sitemap/SiteMapMath.h"

#include <cmath>
#include <cstring>

namespace kovra_fuzz {

// A place-search reply: every place listed lies within the ranges a project
// file accepts, and the map converts it (at every zoom) without leaving
// finite numbers. The first bytes also serve as raw doubles for the drag
// and pan clamps.
void placeReply(const std::uint8_t* data, std::size_t size)
{
    using namespace sitemap;
    if (size >= 16) {
        double raw[2];
        std::memcpy(raw, data, sizeof raw);
        for (int zoom = MIN_ZOOM; zoom <= MAX_ZOOM; zoom += 17) {
            const double across = std::ldexp(1.0, zoom);
            const MapPoint site = siteInWorld({raw[0], raw[1]}, zoom);
            const MapPoint centre = centreInWorld({raw[0], raw[1]}, zoom);
            for (const MapPoint& p : {site, centre})
                if (!(p.x >= 0.0 && p.x <= across && p.y >= 0.0 && p.y <= across))
                    throw Finding("a dragged or panned point left the world");
            const double lat = latitudeOfRow(site.y, zoom), lon = longitudeOfColumn(site.x, zoom);
            if (!(std::fabs(lat) <= 90.0 && std::fabs(lon) <= 180.0))
                throw Finding("a dragged site lies outside the ranges of a project file");
            const PixelPoint corner = outlinePoint(raw[0], raw[1], raw[0], metresPerPixel(site.y, zoom), {0.0, 0.0});
            (void)corner; // the sanitizer watches the conversion
        }
    }
    std::vector<Place> places;
    try {
        places = parsePlaces(std::string(reinterpret_cast<const char*>(data), size));
    } catch (const std::runtime_error&) {
        return;
    }
    for (const Place& place : places) {
        if (!(place.lat >= -90.0 && place.lat <= 90.0 && place.lon >= -180.0 && place.lon <= 180.0))
            throw Finding("a listed place lies outside -90 .. 90 / -180 .. 180");
        for (int zoom = MIN_ZOOM; zoom <= MAX_ZOOM; ++zoom) {
            const MapPoint tile = tileOf(place.lat, place.lon, zoom);
            const double scale = metresPerPixel(tile.y, zoom);
            if (!std::isfinite(tile.x) || !std::isfinite(tile.y) || !(scale > 0.0))
                throw Finding("the map cannot place a listed place");
            outlinePoint(1e4, -1e4, 0.5, scale, windowPosition(tile, tile, 800, 600));
        }
    }
}

} // namespace kovra_fuzz
