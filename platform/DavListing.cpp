#include "platform/DavListing.h"

#include "platform/Http.h"

#include <curl/curl.h>
#include <tinyxml2.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace kovraplatform {

namespace {

// Servers choose their own namespace prefixes; every element read here is in
// the DAV: namespace, so the local name identifies it.
const char* localName(const tinyxml2::XMLElement* element)
{
    const char* name = element->Name();
    const char* colon = std::strrchr(name, ':');
    return colon ? colon + 1 : name;
}

const tinyxml2::XMLElement* child(const tinyxml2::XMLElement* parent, const char* name)
{
    for (auto* element = parent ? parent->FirstChildElement() : nullptr; element;
         element = element->NextSiblingElement())
        if (std::strcmp(localName(element), name) == 0)
            return element;
    return nullptr;
}

std::string unreadable()
{
    return "The platform sent a listing that cannot be read.";
}

struct Place {
    std::string host; // empty for an href without one
    std::string path; // decoded, no trailing slash ("/" for the root)
};

// The host and decoded path of an href or URL; nothing when it has no path.
std::optional<Place> placeOf(const std::string& href)
{
    Place place;
    std::string path = href;
    if (path.compare(0, 7, "http://") == 0 || path.compare(0, 8, "https://") == 0) {
        const auto parts = parseUrl(href);
        if (!parts)
            return std::nullopt;
        place.host = parts->host;
        path = parts->path;
    }
    const std::size_t query = path.find_first_of("?#");
    if (query != std::string::npos)
        path.resize(query);
    path = percentDecode(path);
    if (path.empty() || path.front() != '/')
        return std::nullopt;
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    place.path = path;
    return place;
}

} // namespace

std::vector<ListedHref> parseMultistatus(const std::string& body)
{
    tinyxml2::XMLDocument document;
    if (document.Parse(body.data(), body.size()) != tinyxml2::XML_SUCCESS)
        throw StoreError(StoreError::Kind::Other, unreadable());
    const tinyxml2::XMLElement* root = document.RootElement();
    if (!root || std::strcmp(localName(root), "multistatus") != 0)
        throw StoreError(StoreError::Kind::Other, unreadable());
    std::vector<ListedHref> listed;
    for (auto* response = root->FirstChildElement(); response; response = response->NextSiblingElement()) {
        if (std::strcmp(localName(response), "response") != 0)
            continue;
        const tinyxml2::XMLElement* href = child(response, "href");
        if (!href || !href->GetText())
            continue;
        ListedHref item;
        item.href = href->GetText();
        for (auto* propstat = response->FirstChildElement(); propstat; propstat = propstat->NextSiblingElement()) {
            if (std::strcmp(localName(propstat), "propstat") != 0)
                continue;
            const tinyxml2::XMLElement* status = child(propstat, "status");
            if (status && status->GetText() && !std::strstr(status->GetText(), " 200"))
                continue;
            const tinyxml2::XMLElement* prop = child(propstat, "prop");
            if (const tinyxml2::XMLElement* type = child(prop, "resourcetype"))
                item.entry.folder = child(type, "collection") != nullptr;
            if (const tinyxml2::XMLElement* modified = child(prop, "getlastmodified");
                modified && modified->GetText()) {
                const time_t time = curl_getdate(modified->GetText(), nullptr);
                if (time != -1)
                    item.entry.modified = formatDate(time);
            }
            if (const tinyxml2::XMLElement* length = child(prop, "getcontentlength"); length && length->GetText()) {
                const char* text = length->GetText();
                char* end = nullptr;
                errno = 0;
                const long long size = std::strtoll(text, &end, 10);
                if (errno == 0 && end != text && *end == '\0' && size >= 0)
                    item.entry.size = size;
            }
            if (const tinyxml2::XMLElement* etag = child(prop, "getetag"); etag && etag->GetText())
                item.entry.etag = etag->GetText();
        }
        listed.push_back(std::move(item));
    }
    return listed;
}

CollectionListing collectionEntries(const std::vector<ListedHref>& listed, const std::string& collectionUrl)
{
    CollectionListing listing;
    const auto own = placeOf(collectionUrl);
    if (!own)
        return listing;
    const std::string prefix = own->path == "/" ? "/" : own->path + "/";
    for (const ListedHref& item : listed) {
        const auto place = placeOf(item.href);
        if (!place || (!place->host.empty() && place->host != own->host))
            continue;
        if (place->path == own->path) {
            listing.self = item.entry;
            continue;
        }
        if (place->path.size() <= prefix.size() || place->path.compare(0, prefix.size(), prefix) != 0)
            continue;
        const std::string name = place->path.substr(prefix.size());
        if (name.find('/') != std::string::npos)
            continue;
        StoreEntry entry = item.entry;
        entry.name = name;
        listing.children.push_back(std::move(entry));
    }
    return listing;
}

} // namespace kovraplatform
