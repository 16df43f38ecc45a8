#pragma once

// The project platform client: projects, folders and files kept on a WebDAV
// server or in a local folder, with the login chosen by the server.
//
// Mapping: the top-level folders under the base address are the projects
// (assets), folders beneath them are folders, files are resources. Files
// lying directly under the base address belong to no project and are not
// shown. Children come in name order.
//
// Ids are opaque tokens handed out by the client and valid for its life: the
// same object gets the same id on every listing, a rename keeps the ids of
// the object and of everything beneath it, a delete retires them. Logging
// out forgets them all.
//
// Every call blocks until the platform answers (or a time-out ends it).
// Failures other than those of autorizationRequest and downloadFile are
// exceptions derived from std::exception with a text for the user.

#include "platform/Http.h"

#include <memory>
#include <string>
#include <vector>

namespace KovraClient {

struct KovraUser {
    std::string name; // the login name
};

struct KovraAsset {
    std::string id;
    std::string name;
    std::string description; // always empty: WebDAV keeps none
    std::string date;        // last change, "YYYY-MM-DD HH:MM" local time
};

struct KovraFolder {
    std::string id;
    std::string name;
    std::string description;
    std::string date;
};

struct KovraResource {
    std::string id;
    std::string name;
    std::string description; // "symbolic link" for a link of a folder platform, else empty
    std::string date;
};

class cKovraClient {
public:
    // Not logged in. The default base address is KOVRA_PLATFORM_URL when set,
    // else the folder "KovraApp/Platform" in the user's documents folder.
    cKovraClient();
    // As above, with fallbackBase (a folder path or URL) in place of the
    // documents folder; KOVRA_PLATFORM_URL still comes first.
    explicit cKovraClient(std::string fallbackBase);
    virtual ~cKovraClient();

    cKovraClient(const cKovraClient&) = delete;
    cKovraClient& operator=(const cKovraClient&) = delete;

    // Starts a login at baseUrl (the default base address when empty): an
    // https:// server, an http:// server on this machine, a file:// URL or
    // a folder path. True: loginUrl is the address to open in the web
    // browser. False: the address cannot be used; lastError says why.
    bool autorizationRequest(const std::string& baseUrl, const std::string& userName, std::string& loginUrl);
    // Completes the started login once the user has confirmed it in the
    // browser. Returns isConnected(); lastError says why not.
    bool tokenRequest();
    bool isConnected() const;
    // Ends the login (a browser login's app password is revoked) and forgets
    // every id. Never throws.
    void logout();

    // The logged-in user; an empty name while logged out.
    KovraUser getLogginUser() const;
    // Only the logged-in user: WebDAV has no user directory.
    std::vector<KovraUser> getUsers();

    std::vector<KovraAsset> getAssets();
    std::string createAsset(const std::string& name);
    std::vector<KovraFolder> getFolders(const std::string& parentId);
    std::vector<KovraResource> getResources(const std::string& parentId);
    std::string createFolder(const std::string& name, const std::string& parentId);
    KovraResource getResource(const std::string& id);

    // Nothing on the platform is ever replaced: a name that is taken throws.
    void renameAsset(const std::string& id, const std::string& newName);
    void renameFolder(const std::string& id, const std::string& newName);
    void renameResource(const std::string& id, const std::string& newName);

    // Removes the object with everything beneath it. An object that is
    // already gone counts as removed.
    void deleteAsset(const std::string& id);
    void deleteFolder(const std::string& id);
    void deleteResource(const std::string& id);

    // Uploads the file beneath the parent, named after the local file; a
    // taken name gets " (2)", " (3)" ... before its extension. The new id.
    std::string importFile(const std::string& localPath, const std::string& parentId);
    // As importFile, the file named name on the platform whatever the local
    // file is called, so that a staged copy's name never comes from the user.
    std::string importFileAs(const std::string& localPath, const std::string& parentId, const std::string& name);
    // Writes the resource to localPath, replacing that file only once the
    // whole content has arrived. False (the file left as it was) when the
    // id is unknown or the transfer fails.
    bool downloadFile(const std::string& resourceId, const std::string& localPath);

    // Beyond the names the dialogs use:

    // Why the file stored by importFile(As) under id is not the bytes sent,
    // or "" when it is: it must be listed, as a file of exactly bytes bytes,
    // and, when the server gave the upload an ETag, with that ETag. Read
    // before an older copy is given up.
    std::string storedCopyProblem(const std::string& id, long long bytes);
    // How many listed entries were left out since the last call because their
    // names cannot be platform names ("..", "." or holding "/", control
    // characters): a listing never leads outside what it lists.
    int takeRefusedNames();

    // The base address autorizationRequest takes for an empty one.
    std::string defaultBaseUrl() const;
    // Why the last autorizationRequest, tokenRequest or downloadFile failed.
    std::string lastError() const;
    // Seconds to wait for a connection, and for a stalled transfer to move
    // again, before a request fails (defaults 10 and 30).
    void setTimeouts(long connectSeconds, long stallSeconds);
    // All bounds of requests at once (platform/Limits.h gives the defaults
    // and their reasons); for tests that need small ones. Takes effect at
    // the next login.
    void setRequestLimits(const kovraplatform::HttpSettings& limits);

private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace KovraClient
