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

// Gets url with the user agent, the time-outs of the application's settings
// and libcurl's peer verification; follows no redirection. stopRequested is
// asked while the transfer runs; when it holds, the transfer is aborted.
MapTransferResult mapTransfer(CURL* handle, const std::string& url, const std::string& userAgent,
                              const std::function<bool()>& stopRequested);
