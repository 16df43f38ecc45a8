#pragma once

// The path-based store beneath the client: a WebDAV collection or a local
// folder. Paths are relative to the store's base, segments joined by "/",
// "" is the base itself. Stores never replace an existing object.

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace kovraplatform {

// A failure of a store operation; the text suits the user.
class StoreError : public std::runtime_error {
public:
    enum class Kind {
        NotFound,    // the object (or its parent) does not exist
        Exists,      // the target name is taken
        Unreachable, // no connection, or the server stopped answering
        Refused,     // the server refused the account
        Other,
    };
    StoreError(Kind kind, const std::string& message) : std::runtime_error(message), kind_(kind) {}
    Kind kind() const { return kind_; }

private:
    Kind kind_;
};

struct StoreEntry {
    std::string name;
    bool folder = false;
    std::string modified; // "YYYY-MM-DD HH:MM", local time; empty when unknown
    long long size = -1;  // bytes of a file; -1 when unknown
    std::string etag;     // the server's version tag, quotes kept; empty when none
    bool link = false;    // a symbolic link of a folder platform, never followed
};

class Store {
public:
    virtual ~Store() = default;

    // Where the store lives, for messages ("Cannot reach the platform at ...").
    virtual std::string address() const = 0;
    // Direct children of a folder, in no particular order.
    virtual std::vector<StoreEntry> list(const std::string& path) = 0;
    // The object at path, or nothing when there is none.
    virtual std::optional<StoreEntry> stat(const std::string& path) = 0;
    // Throws Exists when the name is taken.
    virtual void makeFolder(const std::string& path) = 0;
    // Throws Exists when the name is taken; never replaces. The ETag the
    // server gave the stored file, empty when none.
    virtual std::string upload(const std::string& localFile, const std::string& path) = 0;
    // Writes the object's content to localFile (created or emptied first);
    // throws on any failure, including a transfer cut short.
    virtual void download(const std::string& path, const std::string& localFile) = 0;
    // Throws Exists when the target is taken; never replaces.
    virtual void move(const std::string& from, const std::string& to) = 0;
    // Removes the object and everything beneath it; throws NotFound when gone.
    virtual void remove(const std::string& path) = 0;
};

// The last segment of a path.
std::string baseName(const std::string& path);
// The path without its last segment ("" for a top-level object).
std::string parentPath(const std::string& path);
// parent + "/" + name, or name for the base.
std::string childPath(const std::string& parent, const std::string& name);
// "YYYY-MM-DD HH:MM" of a time in the local time zone.
std::string formatDate(long long secondsSinceEpoch);

} // namespace kovraplatform
