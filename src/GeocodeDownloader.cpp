#include "GeocodeDownloader.h"

#include "AppSettings.h"
#include "Events.h"
#include "MapTransfer.h"
#include "SiteMapMath.h"

#include <curl/curl.h>

#include <stdexcept>

namespace {
const char* const GEOCODE_USER_AGENT = "Kovra Floorsmith";
}

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
            mapTransfer(handle, url, GEOCODE_USER_AGENT, [this] { return TestDestroy(); });
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
