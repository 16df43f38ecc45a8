#include "GeocodeDownloader.h"

#include "shell/AppSettings.h"
#include "shell/Events.h"
#include "sitemap/MapTransfer.h"
#include "sitemap/SiteMapMath.h"

#include <curl/curl.h>

#include <chrono>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace {

const char* const GEOCODE_USER_AGENT = "Kovra Floorsmith";

std::mutex lastSearchMutex;
std::chrono::steady_clock::time_point lastSearch; // start of the last request sent

// Waits until the last search started at least the settings' interval ago,
// then claims the present as the last start; false when asked to stop first.
bool waitForTurn(const std::function<bool()>& stopRequested)
{
    const auto interval = std::chrono::milliseconds(getAppSettings().geocodeIntervalMs);
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(lastSearchMutex);
            const auto now = std::chrono::steady_clock::now();
            if (lastSearch.time_since_epoch().count() == 0 || now - lastSearch >= interval) {
                lastSearch = now;
                return true;
            }
        }
        if (stopRequested())
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

} // namespace

GeocodeDownloader::GeocodeDownloader(wxEvtHandler* dialog, const wxString& query, wxMutex* mutex,
                                     std::vector<GeocodeResult>* results, int searchNumber)
    : wxThread(wxTHREAD_JOINABLE), dialog(dialog), query(query), mutex(mutex), results(results),
      searchNumber(searchNumber)
{
}

GeocodeDownloader::~GeocodeDownloader() = default;

wxThread::ExitCode GeocodeDownloader::Entry()
{
    wxString failure;
    std::vector<GeocodeResult> found;
    const std::function<bool()> stopRequested = [this] { return TestDestroy(); };
    if (!waitForTurn(stopRequested))
        return nullptr;
    CURL* handle = curl_easy_init();
    if (!handle) {
        failure = "the transfer library could not start";
    } else {
        const wxScopedCharBuffer utf8 = query.utf8_str();
        char* escaped = curl_easy_escape(handle, utf8.data(), int(utf8.length()));
        const std::string url = sitemap::geocodeUrl(getAppSettings().geocodeUrl, escaped ? escaped : "");
        curl_free(escaped);
        // The whole reply is decoded at once, so that a character split
        // between two received chunks arrives whole.
        const MapTransferResult reply =
            mapTransfer(handle, url, GEOCODE_USER_AGENT, mapTimeouts(getAppSettings()), stopRequested);
        curl_easy_cleanup(handle);
        if (!reply.ok) {
            failure = wxString::FromUTF8(reply.error);
        } else {
            try {
                for (const sitemap::Place& place : sitemap::parsePlaces(reply.body))
                    found.push_back({wxString::FromUTF8(place.displayName), place.lat, place.lon});
            } catch (const std::exception& error) {
                failure = wxString::FromUTF8(error.what());
            }
        }
    }
    if (TestDestroy())
        return nullptr; // a newer search or the dialog's end; nobody waits for this one
    {
        wxMutexLocker lock(*mutex);
        results->swap(found); // a failed search clears the list too
    }
    auto* event = new wxThreadEvent(EVT_GEOCODE_DONE, -1);
    event->SetInt(searchNumber);
    event->SetString(failure);
    dialog->QueueEvent(event);
    return nullptr;
}
