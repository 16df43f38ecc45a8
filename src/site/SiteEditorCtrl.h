#pragma once

#include "sitemap/SiteMapMath.h"
#include "TileDownloader.h"

#include <wx/control.h>

#include <memory>

namespace bg {
class Site;
}

// The map of the site page: the tiles around the site, the building's
// outline turned by the site's orientation and drawn to scale, the location
// line, a scale bar and a cross through the middle. Dragging pans the map
// (editMode 0) or moves the site (editMode 1); the wheel zooms.
class SiteEditorCtrl : public wxControl {
public:
    explicit SiteEditorCtrl(wxWindow* parent);
    ~SiteEditorCtrl() override;

    void setSite(std::shared_ptr<bg::Site> newSite);
    // One zoom step keeping the point under the view centre; false (and
    // nothing happens) when the ribbon's step would leave 1 .. 18.
    bool zoomIn();
    bool zoomOut();
    // Places the site at a found place and centres the map on it.
    void moveSiteTo(double latitude, double longitude);
    // The address of a tile on the tile service of the settings.
    static wxString tileUrl(int zoom, int column, int row);
    // Whether a download thread still serves requested tiles.
    bool downloadsPending();
    // Draws the map as a paint does, into dc of the given size (the paint
    // handler's device is the window; a test's may be a bitmap). Asks for
    // the tiles it lacks.
    void draw(wxDC& dc, const wxSize& size);

    std::shared_ptr<bg::Site> site;
    int zoom = 16;
    sitemap::MapPoint viewCentre;     // middle of the window, tile coordinates
    sitemap::MapPoint siteTile;       // the site, tile coordinates
    double metresPerPixel = 0.1;
    bool showMap = false;
    int editMode = 0;                 // 0 pans the map, 1 moves the site
    bool dragging = false;
    sitemap::MapPoint dragStartMouse;
    sitemap::MapPoint dragStartPosition; // tile coordinates times 256

    TileCache tileCache;
    wxMutex tileMutex;
    // Why the latest tile that failed has no image; empty while none failed.
    std::string tileFailure;
    TileDownloader* downloader = nullptr; // owned; at most one
    int paintCount = 0;                   // paints so far, to wait for the next picture

private:
    void onPaint(wxPaintEvent& event);
    void onMouseWheel(wxMouseEvent& event);
    void onTileLoaded(wxCommandEvent& event);
    void onLeftDown(wxMouseEvent& event);
    void onLeftUp(wxMouseEvent& event);
    void onMotion(wxMouseEvent& event);

    void applyZoom(int newZoom);
    void paintTiles(wxDC& dc, const wxSize& size);
    void fetchTile(const wxString& url);
    void stopDownloader();

    wxDECLARE_EVENT_TABLE();
};
