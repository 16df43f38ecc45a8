#include "MapTransfer.h"

#include <curl/curl.h>

namespace {

size_t appendChunk(char* data, size_t size, size_t count, void* buffer)
{
    static_cast<std::string*>(buffer)->append(data, size * count);
    return size * count;
}

int abortWhenStopped(void* stopRequested, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    const auto& stop = *static_cast<const std::function<bool()>*>(stopRequested);
    return stop && stop() ? 1 : 0;
}

} // namespace

MapTransferResult mapTransfer(CURL* handle, const std::string& url, const std::string& userAgent,
                              const MapTransferTimeouts& timeouts,
                              const std::function<bool()>& stopRequested)
{
    MapTransferResult result;
    curl_easy_reset(handle);
    curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
    curl_easy_setopt(handle, CURLOPT_USERAGENT, userAgent.c_str());
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, appendChunk);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &result.body);
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, timeouts.connectMs);
    curl_easy_setopt(handle, CURLOPT_TIMEOUT_MS, timeouts.totalMs);
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, abortWhenStopped);
    curl_easy_setopt(handle, CURLOPT_XFERINFODATA, &stopRequested);
    const CURLcode code = curl_easy_perform(handle);
    if (code != CURLE_OK) {
        result.error = curl_easy_strerror(code);
        result.body.clear();
        return result;
    }
    long status = 0;
    curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
    if (status >= 300) {
        result.error = "the server answered with HTTP status " + std::to_string(status);
        result.body.clear();
        return result;
    }
    result.ok = true;
    return result;
}
