#include "platform/Http.h"

#include "platform/Store.h"

#include <curl/curl.h>

#include <arpa/inet.h>
#include <strings.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>
#include <mutex>

namespace kovraplatform {

namespace {

void initCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct CurlDeleter {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
struct SlistDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// Where a reply goes, and how much of it may arrive; over the cap the
// transfer is aborted (returning less than given ends it).
struct Sink {
    std::string* text = nullptr;
    std::FILE* file = nullptr;
    unsigned long long cap = 0;
    unsigned long long received = 0;
    bool overCap = false;
};

size_t writeToSink(char* data, size_t size, size_t count, void* target)
{
    auto* sink = static_cast<Sink*>(target);
    const size_t n = size * count;
    if (sink->received + n > sink->cap) {
        sink->overCap = true;
        return 0;
    }
    sink->received += n;
    if (sink->text) {
        sink->text->append(data, n);
        return n;
    }
    return std::fwrite(data, 1, n, sink->file);
}

size_t readHeader(char* data, size_t size, size_t count, void* target)
{
    const size_t n = size * count;
    std::string line(data, n);
    if (line.size() > 5 && ::strncasecmp(line.c_str(), "etag:", 5) == 0) {
        std::string value = line.substr(5);
        const auto first = value.find_first_not_of(" \t");
        const auto last = value.find_last_not_of(" \t\r\n");
        *static_cast<std::string*>(target) = first == std::string::npos ? std::string()
                                                                          : value.substr(first, last - first + 1);
    }
    return n;
}

std::string megabytes(unsigned long long bytes)
{
    if (bytes < (1u << 20))
        return std::to_string(bytes / 1024) + " KB";
    return std::to_string(bytes >> 20) + " MB";
}

size_t readFromString(char* buffer, size_t size, size_t count, void* source)
{
    auto* cursor = static_cast<std::pair<const std::string*, size_t>*>(source);
    const size_t n = std::min(size * count, cursor->first->size() - cursor->second);
    std::copy_n(cursor->first->data() + cursor->second, n, buffer);
    cursor->second += n;
    return n;
}

std::string transportMessage(CURLcode code, const std::string& where, const char* detail)
{
    const std::string why = detail && *detail ? detail : curl_easy_strerror(code);
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
        return "Cannot reach the platform at " + where + " (" + why + ").";
    case CURLE_OPERATION_TIMEDOUT:
        return "Cannot reach the platform at " + where + ": it stopped answering (" + why + ").";
    case CURLE_PARTIAL_FILE:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_GOT_NOTHING:
        return "The connection to the platform at " + where + " broke off (" + why + ").";
    default:
        return "Cannot talk to the platform at " + where + " (" + why + ").";
    }
}

} // namespace

HttpResponse perform(const HttpRequest& request, const HttpSettings& settings, const std::string& where)
{
    initCurlOnce();
    std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
    if (!curl)
        throw StoreError(StoreError::Kind::Other, "Cannot start a connection to the platform.");
    CURL* handle = curl.get();
    char errorText[CURL_ERROR_SIZE] = {};
    HttpResponse response;

    curl_easy_setopt(handle, CURLOPT_URL, request.url.c_str());
    curl_easy_setopt(handle, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, settings.connectSeconds);
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, settings.lowSpeedBytes);
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, settings.stallSeconds);
    curl_easy_setopt(handle, CURLOPT_USERAGENT, "Kovra Floorsmith");
    if (request.credentials) {
        curl_easy_setopt(handle, CURLOPT_HTTPAUTH, CURLAUTH_BASIC);
        curl_easy_setopt(handle, CURLOPT_USERNAME, request.credentials->user.c_str());
        curl_easy_setopt(handle, CURLOPT_PASSWORD, request.credentials->password.c_str());
    }

    std::unique_ptr<curl_slist, SlistDeleter> headers;
    for (const std::string& header : request.headers)
        headers.reset(curl_slist_append(headers.release(), header.c_str()));
    // A body of our own needs no "Expect: 100-continue" round trip.
    headers.reset(curl_slist_append(headers.release(), "Expect:"));
    curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers.get());

    std::unique_ptr<std::FILE, FileCloser> upload;
    std::pair<const std::string*, size_t> bodyCursor{&request.body, 0};
    if (!request.uploadFile.empty()) {
        upload.reset(std::fopen(request.uploadFile.c_str(), "rb"));
        if (!upload)
            throw StoreError(StoreError::Kind::Other, "Cannot read the file \"" + request.uploadFile + "\".");
        std::fseek(upload.get(), 0, SEEK_END);
        const long size = std::ftell(upload.get());
        std::rewind(upload.get());
        curl_easy_setopt(handle, CURLOPT_UPLOAD, 1L);
        curl_easy_setopt(handle, CURLOPT_READDATA, upload.get());
        curl_easy_setopt(handle, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(size));
    } else if (request.method == "PUT") {
        curl_easy_setopt(handle, CURLOPT_UPLOAD, 1L);
        curl_easy_setopt(handle, CURLOPT_READFUNCTION, readFromString);
        curl_easy_setopt(handle, CURLOPT_READDATA, &bodyCursor);
        curl_easy_setopt(handle, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(request.body.size()));
    } else if (!request.body.empty() || request.method == "POST") {
        curl_easy_setopt(handle, CURLOPT_POSTFIELDS, request.body.c_str());
        curl_easy_setopt(handle, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body.size()));
    }
    if (request.method == "HEAD")
        curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);
    else if (request.method != "GET" && request.method != "POST" && request.method != "PUT")
        curl_easy_setopt(handle, CURLOPT_CUSTOMREQUEST, request.method.c_str());
    std::unique_ptr<std::FILE, FileCloser> download;
    Sink sink;
    if (!request.downloadFile.empty()) {
        download.reset(std::fopen(request.downloadFile.c_str(), "wb"));
        if (!download)
            throw StoreError(StoreError::Kind::Other, "Cannot write the file \"" + request.downloadFile + "\".");
        sink.file = download.get();
        sink.cap = static_cast<unsigned long long>(settings.downloadBytes);
    } else {
        sink.text = &response.body;
        sink.cap = settings.replyBytes;
    }
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, writeToSink);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &sink);
    curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, readHeader);
    curl_easy_setopt(handle, CURLOPT_HEADERDATA, &response.etag);
    // A reply read into memory is small: it gets a total time. Files move
    // under the low-speed rule alone.
    const bool small = request.downloadFile.empty() && request.uploadFile.empty();
    if (small)
        curl_easy_setopt(handle, CURLOPT_TIMEOUT, settings.replySeconds);

    const CURLcode code = curl_easy_perform(handle);
    if (sink.overCap && download)
        throw StoreError(StoreError::Kind::Other, "The download from the platform at " + where + " was stopped at " +
                                                      megabytes(sink.cap) + ", the largest file Kovra takes.");
    if (sink.overCap)
        throw StoreError(StoreError::Kind::Other, "The platform at " + where + " sent a reply larger than " +
                                                      megabytes(sink.cap) + "; it was not read.");
    if (code == CURLE_OPERATION_TIMEDOUT && small && std::string(errorText).rfind("Operation timed out after", 0) == 0)
        throw StoreError(StoreError::Kind::Unreachable, "The platform at " + where + " did not finish its reply within " +
                                                            std::to_string(settings.replySeconds) + " seconds.");
    if (code != CURLE_OK)
        throw StoreError(StoreError::Kind::Unreachable, transportMessage(code, where, errorText));
    if (download && std::fflush(download.get()) != 0)
        throw StoreError(StoreError::Kind::Other, "Cannot write the file \"" + request.downloadFile + "\".");
    curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &response.status);
    return response;
}

std::string percentEncode(const std::string& segment)
{
    static const char* hex = "0123456789ABCDEF";
    std::string encoded;
    for (unsigned char c : segment) {
        const bool unreserved = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                                c == '-' || c == '.' || c == '_' || c == '~';
        if (unreserved) {
            encoded += static_cast<char>(c);
        } else {
            encoded += '%';
            encoded += hex[c >> 4];
            encoded += hex[c & 15];
        }
    }
    return encoded;
}

std::string percentDecode(const std::string& text)
{
    auto value = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    };
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && value(text[i + 1]) >= 0 && value(text[i + 2]) >= 0) {
            decoded += static_cast<char>(value(text[i + 1]) * 16 + value(text[i + 2]));
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

std::optional<UrlParts> parseUrl(const std::string& url)
{
    initCurlOnce();
    CURLU* handle = curl_url();
    if (!handle)
        return std::nullopt;
    std::optional<UrlParts> parts;
    if (curl_url_set(handle, CURLUPART_URL, url.c_str(), 0) == CURLUE_OK) {
        char* scheme = nullptr;
        char* host = nullptr;
        char* path = nullptr;
        curl_url_get(handle, CURLUPART_SCHEME, &scheme, 0);
        curl_url_get(handle, CURLUPART_HOST, &host, 0);
        curl_url_get(handle, CURLUPART_PATH, &path, 0);
        parts = UrlParts{scheme ? scheme : "", host ? host : "", path ? path : ""};
        curl_free(scheme);
        curl_free(host);
        curl_free(path);
        for (char& c : parts->scheme)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (parts->host.size() >= 2 && parts->host.front() == '[' && parts->host.back() == ']')
            parts->host = parts->host.substr(1, parts->host.size() - 2);
    }
    curl_url_cleanup(handle);
    return parts;
}

bool isLoopbackHost(const std::string& host)
{
    if (host == "localhost" || host == "::1")
        return true;
    in_addr address{};
    if (inet_pton(AF_INET, host.c_str(), &address) == 1)
        return (ntohl(address.s_addr) >> 24) == 127;
    return false;
}

std::string insecureUrlProblem(const std::string& url)
{
    const auto parts = parseUrl(url);
    if (!parts || parts->host.empty())
        return "\"" + url + "\" is not a web address";
    if (parts->scheme == "https")
        return {};
    if (parts->scheme == "http" && isLoopbackHost(parts->host))
        return {};
    if (parts->scheme == "http")
        return "passwords would travel in clear text to \"" + url + "\"; use an https:// address";
    return "\"" + parts->scheme + "\" addresses are not supported";
}

} // namespace kovraplatform
