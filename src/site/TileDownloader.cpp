#include "TileDownloader.h"

#include "shell/AppSettings.h"
#include "shell/Events.h"
#include "sitemap/MapTransfer.h"

#include <wx/log.h>
#include <wx/mstream.h>

#include <curl/curl.h>

namespace {
const char* const TILE_USER_AGENT = "Bravell Design Configurator";
}

TileDownloader::TileDownloader(wxEvtHandler* sink, TileCache* cache, wxMutex* mutex, std::string* failure)
    : wxThread(wxTHREAD_JOINABLE), sink(sink), cache(cache), mutex(mutex), failure(failure)
{
}

TileDownloader::~TileDownloader() = default;

void TileDownloader::request(const wxString& url)
{
    if (cache->count(url))
        return;
    (*cache)[url] = wxImage();
    queue.push_back(url);
}

wxThread::ExitCode TileDownloader::Entry()
{
    CURL* handle = curl_easy_init();
    const std::function<bool()> stopRequested = [this] { return TestDestroy(); };
    mutex->Lock();
    while (!queue.empty() && handle && !TestDestroy()) {
        const wxString url = queue.front();
        queue.pop_front();
        mutex->Unlock();

        const MapTransferResult reply = mapTransfer(handle, url.ToStdString(), TILE_USER_AGENT,
                                                    mapTimeouts(getAppSettings()), stopRequested);
        wxImage image;
        if (reply.ok && !reply.body.empty()) {
            wxLogNull quiet; // a reply that is no image is told on the map, once
            wxMemoryInputStream stream(reply.body.data(), reply.body.size());
            image.LoadFile(stream, wxBITMAP_TYPE_ANY);
        }

        mutex->Lock();
        if (image.IsOk()) {
            (*cache)[url] = image;
            postEvent(sink, EVT_TILE_LOADED);
        } else if (failure) {
            // The map names the latest reason in one notice, not per tile.
            *failure = reply.ok ? "the server's reply is no image" : reply.error;
            postEvent(sink, EVT_TILE_LOADED);
        }
    }
    // Decided under the mutex, so that a paint either sees this thread still
    // serving its queue or knows it must start a new one.
    ended = true;
    mutex->Unlock();
    if (handle)
        curl_easy_cleanup(handle);
    return nullptr;
}
