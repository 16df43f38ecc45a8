#include "platform/DavStore.h"

#include "platform/DavListing.h"

#include <cstring>

namespace kovraplatform {

namespace {

const char* propfindBody =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
    "<D:propfind xmlns:D=\"DAV:\"><D:prop><D:resourcetype/><D:getlastmodified/><D:getcontentlength/>"
    "<D:getetag/></D:prop></D:propfind>";

bool success(long status)
{
    return status >= 200 && status < 300;
}

} // namespace

DavStore::DavStore(std::string base, Credentials credentials, HttpSettings settings)
    : base_(std::move(base)), credentials_(std::move(credentials)), settings_(settings)
{
    if (base_.empty() || base_.back() != '/')
        base_ += '/';
}

std::string DavStore::url(const std::string& path, bool folder) const
{
    std::string url = base_;
    std::size_t start = 0;
    while (start < path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        url += percentEncode(path.substr(start, end - start));
        if (end < path.size())
            url += '/';
        start = end + 1;
    }
    if (folder && !path.empty())
        url += '/';
    return url;
}

HttpResponse DavStore::send(HttpRequest request)
{
    request.credentials = credentials_;
    return perform(request, settings_, base_);
}

void DavStore::fail(long status, const std::string& what, const std::string& path) const
{
    const std::string name = "\"" + baseName(path) + "\"";
    switch (status) {
    case 401:
    case 403:
        throw StoreError(StoreError::Kind::Refused,
                         "The platform at " + base_ + " refused the account (HTTP " + std::to_string(status) + ").");
    case 404:
    case 409:
    case 410:
        throw StoreError(StoreError::Kind::NotFound, name + " no longer exists on the platform.");
    case 412:
        throw StoreError(StoreError::Kind::Exists, name + " already exists on the platform.");
    case 507:
        throw StoreError(StoreError::Kind::Other, "The platform has no room left to " + what + " " + name + ".");
    default:
        throw StoreError(StoreError::Kind::Other, "The platform at " + base_ + " could not " + what + " " + name +
                                                      " (HTTP " + std::to_string(status) + ").");
    }
}

std::vector<StoreEntry> DavStore::propfind(const std::string& path, bool folder, const char* depth, long& status)
{
    HttpRequest request;
    request.method = "PROPFIND";
    request.url = url(path, folder);
    request.headers = {std::string("Depth: ") + depth, "Content-Type: application/xml; charset=utf-8"};
    request.body = propfindBody;
    const HttpResponse response = send(request);
    status = response.status;
    if (status != 207)
        return {};
    CollectionListing listing = collectionEntries(parseMultistatus(response.body), request.url);
    if (std::strcmp(depth, "0") == 0)
        return listing.self ? std::vector<StoreEntry>{*listing.self} : std::vector<StoreEntry>{};
    return listing.children;
}

long DavStore::checkAccount()
{
    long status = 0;
    propfind("", true, "0", status);
    return status;
}

std::vector<StoreEntry> DavStore::list(const std::string& path)
{
    long status = 0;
    std::vector<StoreEntry> entries = propfind(path, true, "1", status);
    if (status != 207)
        fail(status, "list", path);
    return entries;
}

std::optional<StoreEntry> DavStore::stat(const std::string& path)
{
    long status = 0;
    std::vector<StoreEntry> entries = propfind(path, false, "0", status);
    if (status == 404)
        return std::nullopt;
    if (status != 207)
        fail(status, "find", path);
    if (entries.empty())
        return std::nullopt;
    entries.front().name = baseName(path);
    return entries.front();
}

void DavStore::makeFolder(const std::string& path)
{
    HttpRequest request;
    request.method = "MKCOL";
    request.url = url(path, true);
    const long status = send(request).status;
    if (status == 405)
        fail(412, "create", path);
    if (!success(status))
        fail(status, "create", path);
}

std::string DavStore::upload(const std::string& localFile, const std::string& path)
{
    // If-None-Match makes the server refuse to replace; the look first covers
    // servers that ignore it.
    if (stat(path))
        fail(412, "store", path);
    HttpRequest request;
    request.method = "PUT";
    request.url = url(path, false);
    request.headers = {"If-None-Match: *", "Content-Type: application/octet-stream"};
    request.uploadFile = localFile;
    const HttpResponse response = send(request);
    if (!success(response.status))
        fail(response.status, "store", path);
    return response.etag;
}

void DavStore::download(const std::string& path, const std::string& localFile)
{
    HttpRequest request;
    request.url = url(path, false);
    request.downloadFile = localFile;
    const long status = send(request).status;
    if (status != 200)
        fail(status, "send", path);
}

void DavStore::move(const std::string& from, const std::string& to)
{
    HttpRequest request;
    request.method = "MOVE";
    request.url = url(from, false);
    request.headers = {"Destination: " + url(to, false), "Overwrite: F"};
    const long status = send(request).status;
    if (status == 412)
        fail(412, "rename", to);
    if (!success(status))
        fail(status, "rename", from);
}

void DavStore::remove(const std::string& path)
{
    HttpRequest request;
    request.method = "DELETE";
    request.url = url(path, false);
    const long status = send(request).status;
    if (!success(status))
        fail(status, "delete", path);
}

} // namespace kovraplatform
