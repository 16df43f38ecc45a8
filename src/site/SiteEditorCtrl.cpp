#include "SiteEditorCtrl.h"

#include "shell/AppSettings.h"
#include "shell/Events.h"
#include "shell/JoinedThread.h"

#include "model/Building.h"
#include "model/Site.h"

#include <wx/dcbuffer.h>

#include <cmath>

using namespace sitemap;

wxBEGIN_EVENT_TABLE(SiteEditorCtrl, wxControl)
    EVT_PAINT(SiteEditorCtrl::onPaint)
    EVT_MOUSEWHEEL(SiteEditorCtrl::onMouseWheel)
    EVT_COMMAND(wxID_ANY, EVT_TILE_LOADED, SiteEditorCtrl::onTileLoaded)
    EVT_LEFT_DOWN(SiteEditorCtrl::onLeftDown)
    EVT_LEFT_UP(SiteEditorCtrl::onLeftUp)
    EVT_MOTION(SiteEditorCtrl::onMotion)
wxEND_EVENT_TABLE()

SiteEditorCtrl::SiteEditorCtrl(wxWindow* parent)
    : wxControl(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxBORDER_NONE)
{
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    // The download thread decodes with the registered handlers; the list is
    // only changed here, on the GUI thread, before any thread runs.
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler);
    Bind(wxEVT_LEAVE_WINDOW, &SiteEditorCtrl::onLeftUp, this);
}

SiteEditorCtrl::~SiteEditorCtrl()
{
    stopDownloader();
}

void SiteEditorCtrl::stopDownloader()
{
    // The downloader uses our cache and mutex until it has ended.
    stopAndJoin(downloader);
}

void SiteEditorCtrl::setSite(std::shared_ptr<bg::Site> newSite)
{
    site = std::move(newSite);
    if (!site)
        return;
    // The view starts on the site also while it has no building yet: a zoom
    // keeps the point under the view centre and moves the site to its tile,
    // so a view left at the world's corner would zoom the building, once
    // added, out of sight for good.
    const MapView view = viewOnSite(site->lat, site->lon, zoom);
    siteTile = view.siteTile;
    viewCentre = view.viewCentre;
    if (site->building)
        showMap = true;
}

wxString SiteEditorCtrl::tileUrl(int zoom, int column, int row)
{
    return wxString::FromUTF8(sitemap::tileUrl(getAppSettings().tileUrl, zoom, column, row));
}

bool SiteEditorCtrl::downloadsPending()
{
    wxMutexLocker lock(tileMutex);
    return downloader && !downloader->hasEnded();
}

bool SiteEditorCtrl::zoomIn()
{
    const int newZoom = zoomedIn(zoom);
    if (newZoom == zoom)
        return false;
    applyZoom(newZoom);
    return true;
}

bool SiteEditorCtrl::zoomOut()
{
    const int newZoom = zoomedOut(zoom);
    if (newZoom == zoom)
        return false;
    applyZoom(newZoom);
    return true;
}

void SiteEditorCtrl::applyZoom(int newZoom)
{
    const double siteLat = site ? site->lat : latitudeOfRow(siteTile.y, zoom);
    const double siteLon = site ? site->lon : longitudeOfColumn(siteTile.x, zoom);
    const MapView view = zoomedView(viewCentre, siteLat, siteLon, zoom, newZoom);
    zoom = newZoom;
    viewCentre = view.viewCentre;
    siteTile = view.siteTile;
    Refresh(true);
}

void SiteEditorCtrl::moveSiteTo(double latitude, double longitude)
{
    showMap = true;
    if (site) {
        site->lat = latitude;
        site->lon = longitude;
    }
    siteTile = tileOf(latitude, longitude, zoom);
    viewCentre = siteTile;
    Refresh(true);
}

void SiteEditorCtrl::onMouseWheel(wxMouseEvent& event)
{
    if (zoom < MIN_ZOOM || zoom > MAX_ZOOM)
        return;
    applyZoom(wheelZoom(zoom, event.GetWheelRotation()));
}

void SiteEditorCtrl::onTileLoaded(wxCommandEvent&)
{
    Refresh(true);
}

void SiteEditorCtrl::onLeftDown(wxMouseEvent& event)
{
    const MapPoint dragged = editMode == 0 ? viewCentre : siteTile;
    dragStartPosition = {dragged.x * TILE_SIZE, dragged.y * TILE_SIZE};
    dragStartMouse = {double(event.GetX()), double(event.GetY())};
    dragging = true;
    SetFocus();
}

void SiteEditorCtrl::onLeftUp(wxMouseEvent& event)
{
    dragging = false;
    event.Skip();
}

void SiteEditorCtrl::onMotion(wxMouseEvent& event)
{
    if (!dragging)
        return;
    const MapPoint mouse{double(event.GetX()), double(event.GetY())};
    if (editMode == 0) {
        viewCentre = centreInWorld(pannedCentre(dragStartMouse, dragStartPosition, mouse), zoom);
    } else {
        siteTile = siteInWorld(movedSite(dragStartMouse, dragStartPosition, mouse), zoom);
        if (site) {
            site->lat = latitudeOfRow(siteTile.y, zoom);
            site->lon = longitudeOfColumn(siteTile.x, zoom);
        }
    }
    Refresh(true);
}

void SiteEditorCtrl::fetchTile(const wxString& url)
{
    wxMutexLocker lock(tileMutex);
    if (!downloader || downloader->hasEnded()) {
        if (downloader) {
            downloader->Wait(); // it has decided to end and takes the mutex no more
            delete downloader;
            downloader = nullptr;
        }
        downloader = new TileDownloader(this, &tileCache, &tileMutex, &tileFailure);
        if (downloader->Run() != wxTHREAD_NO_ERROR) {
            delete downloader;
            downloader = nullptr;
            return; // the tile stays unrequested; a later paint tries again
        }
    }
    downloader->request(url);
}

void SiteEditorCtrl::paintTiles(wxDC& dc, const wxSize& size)
{
    const TileRange range = visibleTiles(viewCentre, size.x, size.y, zoom);
    for (int row = range.firstRow; row <= range.lastRow; ++row) {
        for (int column = range.firstColumn; column <= range.lastColumn; ++column) {
            const wxString url = tileUrl(zoom, column, row);
            wxImage image;
            {
                wxMutexLocker lock(tileMutex);
                const auto found = tileCache.find(url);
                if (found != tileCache.end())
                    image = found->second;
            }
            const MapPoint at = windowPosition({double(column), double(row)}, viewCentre, size.x, size.y);
            const int x = static_cast<int>(at.x);
            const int y = static_cast<int>(at.y);
            if (image.IsOk()) {
                dc.DrawBitmap(wxBitmap(image), x, y);
                continue;
            }
            dc.SetPen(*wxLIGHT_GREY_PEN);
            dc.SetBrush(*wxLIGHT_GREY_BRUSH);
            dc.DrawRectangle(x, y, TILE_SIZE, TILE_SIZE);
            fetchTile(url);
        }
    }
}

void SiteEditorCtrl::onPaint(wxPaintEvent&)
{
    wxAutoBufferedPaintDC dc(this);
    draw(dc, GetClientSize());
    ++paintCount;
}

void SiteEditorCtrl::draw(wxDC& dc, const wxSize& size)
{
    const wxPen defaultPen = dc.GetPen();
    const wxBrush defaultBrush = dc.GetBrush();
    dc.SetPen(*wxBLACK_PEN);
    dc.SetBrush(*wxWHITE_BRUSH);
    dc.DrawRectangle(0, 0, size.x, size.y);

    if (showMap)
        paintTiles(dc, size);

    if (site) {
        metresPerPixel = sitemap::metresPerPixel(siteTile.y, zoom);
        dc.DrawText(wxString::FromUTF8(locationText(site->lat, site->lon, site->orientation)), 5, 5);
        const auto floor = site->building ? site->building->root : nullptr;
        if (site->building && floor) {
            const MapPoint sitePixel = windowPosition(siteTile, viewCentre, size.x, size.y);
            std::vector<wxPoint> points;
            for (const Vec2& corner : floor->getContour()) {
                const PixelPoint p = outlinePoint(corner.x, corner.y, site->orientation, metresPerPixel, sitePixel);
                points.emplace_back(p.x, p.y);
            }
            if (points.size() >= 2) {
                dc.SetPen(*wxRED_PEN);
                dc.SetBrush(*wxRED_BRUSH);
                dc.DrawPolygon(int(points.size()), points.data(), 0, 0, wxODDEVEN_RULE);
            }
        } else if (!site->building) {
            const wxString text = "Please add a building";
            const wxFont font = dc.GetFont();
            const wxColour colour = dc.GetTextForeground();
            const int h = dc.GetTextExtent(text).y;
            dc.SetFont(wxFont(wxFontInfo(30).Family(wxFONTFAMILY_DEFAULT).Bold().Underlined()));
            dc.SetTextForeground(*wxRED);
            dc.DrawText(text, 5, h + 10);
            dc.SetFont(font);
            dc.SetTextForeground(colour);
        }
    }

    const wxString scale = wxString::FromUTF8(scaleText(metresPerPixel));
    const int th = dc.GetTextExtent(scale).y;
    const int h = size.y;
    dc.SetPen(*wxWHITE_PEN);
    dc.SetBrush(*wxWHITE_BRUSH);
    dc.DrawRectangle(0, h - 1 - th, TILE_SIZE, th);
    dc.SetPen(*wxBLACK_PEN);
    dc.DrawLine(0, h - 1, 0, h - 1 - th);
    dc.DrawLine(TILE_SIZE, h - 1, TILE_SIZE, h - 1 - th);
    dc.DrawLine(0, h - 1, TILE_SIZE, h - 1);
    dc.DrawText(scale, 0, h - 1 - th);

    std::string failure;
    {
        wxMutexLocker lock(tileMutex);
        failure = tileFailure;
    }
    if (showMap && !failure.empty()) {
        const wxString notice = wxString::FromUTF8(tileFailureNotice(failure));
        const wxSize extent = dc.GetTextExtent(notice);
        const int x = std::max(4, (size.x - extent.x) / 2);
        const int y = 4 + extent.y + 8;
        dc.SetPen(*wxBLACK_PEN);
        dc.SetBrush(wxBrush(wxColour(255, 255, 225)));
        dc.DrawRectangle(x - 4, y - 2, extent.x + 8, extent.y + 4);
        dc.DrawText(notice, x, y);
    }

    if (showMap) {
        // The tile service's licence asks for its credit wherever its tiles show.
        const wxString credit = wxString::FromUTF8(TILE_CREDIT);
        const wxSize extent = dc.GetTextExtent(credit);
        const int x = size.x - extent.x - 4;
        const int y = size.y - extent.y - 2;
        dc.SetPen(*wxWHITE_PEN);
        dc.SetBrush(*wxWHITE_BRUSH);
        dc.DrawRectangle(x - 2, y, extent.x + 4, extent.y + 2);
        dc.DrawText(credit, x, y);
    }

    dc.SetPen(*wxRED_PEN);
    dc.DrawLine(0, h / 2, size.x, h / 2);
    dc.DrawLine(size.x / 2, 0, size.x / 2, h);
    dc.SetPen(defaultPen);
    dc.SetBrush(defaultBrush);
}
