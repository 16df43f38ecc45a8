#pragma once

// One HTTP GET of a map service on a libcurl easy handle that the caller
// reuses for a run of transfers. Free of wx, so that both download threads
// share it.

#include <functional>
#include <string>

typedef void CURL;

struct MapTransferResult {
    bool ok = false;      // transferred, and the status was not an error
    std::string body;     // the reply's bytes, as received
    std::string error;    // why not ok, readable
};

// How long a transfer may wait for its connection and take in all (ms), so
// that a silent server can neither hang a search nor the end of a page.
struct MapTransferTimeouts {
    long connectMs = 10000;
    long totalMs = 30000;
};

// Gets url with the user agent, the time-outs given and libcurl's peer
// verification; follows no redirection. stopRequested is asked while the
// transfer runs; when it holds, the transfer is aborted.
MapTransferResult mapTransfer(CURL* handle, const std::string& url, const std::string& userAgent,
                              const MapTransferTimeouts& timeouts,
                              const std::function<bool()>& stopRequested);
