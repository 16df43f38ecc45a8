#pragma once

// Reading a WebDAV PROPFIND reply (a multistatus document) into the entries
// of the collection that was listed. The reply is the server's text: every
// href is checked against the collection before it names anything.

#include "platform/Store.h"

#include <string>
#include <vector>

namespace kovraplatform {

struct ListedHref {
    std::string href;  // as sent
    StoreEntry entry;  // name empty; filled by collectionEntries
};

// The responses of a multistatus document. Throws StoreError (Other) when the
// text is no multistatus document.
std::vector<ListedHref> parseMultistatus(const std::string& body);

struct CollectionListing {
    std::vector<StoreEntry> children; // direct children, named by their last segment
    std::optional<StoreEntry> self;   // the listed object itself
};

// Sorts the responses of a PROPFIND of collectionUrl: the object itself, and
// its direct children. An href on another host, outside the collection, or
// deeper than one level is ignored. Names are not checked here: "." or ".."
// reach the caller, which refuses them like any typed name.
CollectionListing collectionEntries(const std::vector<ListedHref>& listed, const std::string& collectionUrl);

} // namespace kovraplatform
