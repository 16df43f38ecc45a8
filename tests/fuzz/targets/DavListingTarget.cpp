#include "FuzzTargets.h"

#include "platform/DavListing.h"

namespace kovra_fuzz {

namespace {

const char* collection = "http://127.0.0.1:8080/dav/Project/";

} // namespace

void davListing(const std::uint8_t* data, std::size_t size)
{
    std::vector<kovraplatform::ListedHref> listed;
    try {
        listed = kovraplatform::parseMultistatus(std::string(reinterpret_cast<const char*>(data), size));
    } catch (const kovraplatform::StoreError&) {
        return;
    }
    for (const auto& item : listed) {
        if (item.entry.size < -1)
            throw Finding("a listed size below -1: " + std::to_string(item.entry.size));
    }
    const kovraplatform::CollectionListing listing = kovraplatform::collectionEntries(listed, collection);
    if (listing.children.size() > listed.size())
        throw Finding("more children than responses");
    for (const auto& child : listing.children) {
        // A child names one object directly beneath the collection: its name
        // is one segment, never the collection itself.
        if (child.name.empty())
            throw Finding("a child with an empty name");
        if (child.name.find('/') != std::string::npos)
            throw Finding("a child name holding a slash: " + child.name);
    }
}

} // namespace kovra_fuzz
