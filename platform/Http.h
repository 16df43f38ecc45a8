#pragma once

// HTTP through libcurl, as the WebDAV store and the browser login use it, and
// the address helpers they share.

#include "platform/Limits.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace kovraplatform {

// The bounds of every request; the defaults and their reasons are in
// Limits.h. Tests set small ones.
struct HttpSettings {
    long connectSeconds = limits::connectSeconds; // to wait for a connection
    long stallSeconds = limits::stallSeconds;     // slower than lowSpeedBytes a second for this long: given up
    long lowSpeedBytes = limits::lowSpeedBytes;
    long replySeconds = limits::replySeconds;      // total time of a request whose reply is read into memory
    std::size_t replyBytes = limits::replyBytes;   // largest reply read into memory
    long long downloadBytes = limits::downloadBytes; // largest file written by a download
};

struct Credentials {
    std::string user;
    std::string password;
};

struct HttpRequest {
    std::string method = "GET";
    std::string url;
    std::vector<std::string> headers; // "Name: value"
    std::string body;
    std::string uploadFile;   // when set, the body is read from this file
    std::string downloadFile; // when set, the response body goes to this file
    std::optional<Credentials> credentials;
};

struct HttpResponse {
    long status = 0;
    std::string body; // empty when it went to downloadFile
    std::string etag; // the ETag header, quotes kept; empty when none
};

// Performs the request. Redirects are not followed, so credentials go to no
// other server. A transport failure throws StoreError (Unreachable) naming
// where, the address the user knows the platform by; so does a reply over
// the bounds of settings (size or time), saying which bound it was.
HttpResponse perform(const HttpRequest& request, const HttpSettings& settings, const std::string& where);

// One path segment percent-encoded (everything but unreserved characters).
std::string percentEncode(const std::string& segment);
std::string percentDecode(const std::string& text);

struct UrlParts {
    std::string scheme; // lower case
    std::string host;   // without IPv6 brackets
    std::string path;   // percent-encoded, as given
};
std::optional<UrlParts> parseUrl(const std::string& url);

bool isLoopbackHost(const std::string& host);
// Why credentials must not be sent to url, or "" when they may: only https,
// and plain http to this machine's own loopback addresses.
std::string insecureUrlProblem(const std::string& url);

} // namespace kovraplatform
