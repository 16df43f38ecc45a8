#include "AppSettings.h"

#include <wx/app.h>
#include <wx/log.h>
#include <wx/stdpaths.h>

#include <cstdlib>

AppSettings::AppSettings(const wxFileName& executableDir, const wxFileName& documentsDir, const wxString& appName)
    : resourceDir(resourceDirFor(executableDir)), userDir(documentsDir)
{
    userDir.AppendDir(appName);
    if (!userDir.DirExists()) {
        wxLogNull quiet; // a folder we cannot make is no reason to stop
        userDir.Mkdir(0777, wxPATH_MKDIR_FULL);
    }
    if (const char* url = std::getenv("KOVRA_TILE_URL"); url && *url)
        tileUrl = url;
    if (const char* url = std::getenv("KOVRA_GEOCODE_URL"); url && *url)
        geocodeUrl = url;
}

wxFileName resourceDirFor(const wxFileName& executableDir)
{
    wxFileName dir = executableDir;
    if (wxFileName(dir.GetPath(), "kovra.sln").FileExists())
        dir.AppendDir("kovra");
    return dir;
}

AppSettings& getAppSettings()
{
    static AppSettings settings(wxFileName::DirName(wxPathOnly(wxStandardPaths::Get().GetExecutablePath())),
                                wxFileName::DirName(wxStandardPaths::Get().GetDocumentsDir()),
                                wxTheApp ? wxTheApp->GetAppName() : wxString("KovraApp"));
    return settings;
}

MapTransferTimeouts mapTimeouts(const AppSettings& settings)
{
    return {settings.connectTimeoutMs, settings.transferTimeoutMs};
}
