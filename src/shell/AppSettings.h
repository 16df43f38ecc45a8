#pragma once

#include "sitemap/MapTransfer.h"

#include <wx/filename.h>

#include <string>

// The process-wide settings, fixed once built. No configuration file is read
// or written.
class AppSettings {
public:
    // Settings with the resource folder derived from the executable's folder
    // and the user folder documentsDir/appName, created (with its parents)
    // when missing. A folder that cannot be created is kept by name.
    AppSettings(const wxFileName& executableDir, const wxFileName& documentsDir, const wxString& appName);

    // Extents along y and x of the rectangle a floor without contour gets (m).
    double defaultWidth = 15.0;
    double defaultLength = 15.0;
    // The application's data folder.
    wxFileName resourceDir;
    // The user's folder of the application: default folder of file dialogs.
    wxFileName userDir;

    // The map services of the site page; the environment variables
    // KOVRA_TILE_URL and KOVRA_GEOCODE_URL replace the public defaults.
    std::string tileUrl = "https://tile.openstreetmap.org";
    std::string geocodeUrl = "https://nominatim.openstreetmap.org";
    // Time-outs of every map transfer (ms), so that a silent server can
    // neither hang a search nor the end of a page.
    long connectTimeoutMs = 10000;
    long transferTimeoutMs = 30000;
    // The least time between the starts of two place searches (ms), as the
    // public search service asks of its users.
    long geocodeIntervalMs = 1000;
};

// The resource folder of an executable in executableDir: that folder, or its
// subfolder "kovra" when a file "kovra.sln" lies beside the executable.
wxFileName resourceDirFor(const wxFileName& executableDir);

// The map transfers' time-outs of these settings.
MapTransferTimeouts mapTimeouts(const AppSettings& settings);

// Built on the first call from the standard paths; the application name
// must be set before.
AppSettings& getAppSettings();
