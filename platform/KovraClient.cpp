#include "platform/KovraClient.h"

#include "platform/DavStore.h"
#include "platform/FolderStore.h"
#include "platform/Http.h"
#include "platform/LoginFlow.h"
#include "platform/Names.h"
#include "platform/Netrc.h"
#include "platform/Paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <random>
#include <thread>

namespace fs = std::filesystem;
using namespace kovraplatform;

namespace KovraClient {

namespace {

// The user confirms in the browser before answering the dialog, so the
// confirmation is normally there at the first poll; a few more cover a
// server that records it a moment late.
constexpr int loginPolls = 5;
constexpr std::chrono::milliseconds loginPollInterval{400};

constexpr int maxNumberedNames = 1000;

enum class Kind { Asset, Folder, Resource, Container };

const char* kindWord(Kind kind)
{
    switch (kind) {
    case Kind::Asset:
        return "a project";
    case Kind::Folder:
        return "a folder";
    case Kind::Resource:
        return "a file";
    case Kind::Container:
        return "a project or folder";
    }
    return "";
}

std::string htmlEscape(const std::string& text)
{
    std::string escaped;
    for (char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

std::string fileUrl(const std::string& path)
{
    std::string url = "file://";
    std::size_t start = 1;
    while (start <= path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        url += "/" + percentEncode(path.substr(start, end - start));
        start = end + 1;
    }
    return url;
}

std::string randomPrefix()
{
    std::random_device device;
    char text[16];
    std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(device()));
    return text;
}

} // namespace

class cKovraClient::Impl {
public:
    explicit Impl(std::string fallback) : fallback(std::move(fallback)), idPrefix(randomPrefix()) {}

    enum class Server { None, Folder, Dav, BrowserLogin };

    std::string fallback;
    HttpSettings settings;
    std::string lastError;

    // A login started by autorizationRequest, completed by tokenRequest.
    Server pending = Server::None;
    std::string pendingBase; // the folder, the DAV collection or the browser-login server
    LoginFlow flow;

    bool connected = false;
    std::unique_ptr<Store> store;
    std::string user;
    // A browser login's app password, revoked at logout.
    std::optional<std::pair<std::string, Credentials>> appPassword;
    std::string loginPage; // the page written for logins without a browser step

    struct Object {
        std::string path;
        bool folder = false;
    };
    std::map<std::string, Object> objects;   // by id
    std::map<std::string, std::string> ids; // by path
    std::string idPrefix; // so ids of two clients never look alike
    std::map<std::string, std::string> uploadedEtags; // by id, as the server answered the upload
    int refusedNames = 0;
    unsigned long long nextId = 1;

    Store& requireStore()
    {
        if (!connected || !store)
            throw std::runtime_error("Not logged in to the platform.");
        return *store;
    }

    std::string idFor(const std::string& path, bool folder)
    {
        const auto it = ids.find(path);
        if (it != ids.end() && objects[it->second].folder == folder)
            return it->second;
        if (it != ids.end())
            objects.erase(it->second); // the path now holds another kind of object
        const std::string id = idPrefix + "-" + std::to_string(nextId++);
        ids[path] = id;
        objects[id] = Object{path, folder};
        return id;
    }

    const Object* find(const std::string& id) const
    {
        const auto it = objects.find(id);
        return it == objects.end() ? nullptr : &it->second;
    }

    static bool fits(const Object& object, Kind kind)
    {
        const bool topLevel = object.path.find('/') == std::string::npos;
        switch (kind) {
        case Kind::Asset:
            return object.folder && topLevel;
        case Kind::Folder:
            return object.folder && !topLevel;
        case Kind::Resource:
            return !object.folder;
        case Kind::Container:
            return object.folder;
        }
        return false;
    }

    Object object(const std::string& id, Kind kind) const
    {
        const Object* found = find(id);
        if (!found)
            throw std::runtime_error("This item is no longer on the platform; refresh the list.");
        if (!fits(*found, kind))
            throw std::invalid_argument("\"" + baseName(found->path) + "\" is not " + kindWord(kind) + ".");
        return *found;
    }

    static bool within(const std::string& path, const std::string& root)
    {
        return path == root || (path.size() > root.size() && path.compare(0, root.size(), root) == 0 &&
                                path[root.size()] == '/');
    }

    // After a rename the ids of the object and of everything beneath it
    // follow it to its new path.
    void moved(const std::string& from, const std::string& to)
    {
        std::vector<std::pair<std::string, std::string>> changed;
        for (const auto& [path, id] : ids)
            if (within(path, from))
                changed.emplace_back(path, id);
        for (const auto& [path, id] : changed)
            ids.erase(path);
        for (const auto& [path, id] : changed) {
            const std::string newPath = to + path.substr(from.size());
            // An id left at the new place by an object removed behind the
            // client's back must not come to name the moved object.
            if (const auto stale = ids.find(newPath); stale != ids.end()) {
                objects.erase(stale->second);
                ids.erase(stale);
            }
            ids[newPath] = id;
            objects[id].path = newPath;
        }
    }

    // After a delete the ids are retired: an object made later at the same
    // path is another object.
    void retired(const std::string& root)
    {
        for (auto it = ids.begin(); it != ids.end();) {
            if (within(it->first, root)) {
                objects.erase(it->second);
                it = ids.erase(it);
            } else {
                ++it;
            }
        }
    }

    std::vector<StoreEntry> children(const std::string& path, bool folders)
    {
        std::vector<StoreEntry> entries = requireStore().list(path);
        entries.erase(std::remove_if(entries.begin(), entries.end(),
                                     [&](const StoreEntry& entry) { return entry.folder != folders; }),
                      entries.end());
        // A listed name passes the rules of a typed one: ".." or "." would
        // make a delete or rename reach outside, or list a folder as its own
        // child without end.
        const auto refused = std::remove_if(entries.begin(), entries.end(),
                                            [](const StoreEntry& entry) { return !nameProblem(entry.name).empty(); });
        refusedNames += static_cast<int>(entries.end() - refused);
        entries.erase(refused, entries.end());
        std::sort(entries.begin(), entries.end(),
                  [](const StoreEntry& a, const StoreEntry& b) { return nameLess(a.name, b.name); });
        return entries;
    }

    void rename(const std::string& id, const std::string& newName, Kind kind)
    {
        Store& platform = requireStore();
        checkName(newName);
        const Object current = object(id, kind);
        if (baseName(current.path) == newName)
            return;
        const std::string target = childPath(parentPath(current.path), newName);
        platform.move(current.path, target);
        moved(current.path, target);
    }

    void remove(const std::string& id, Kind kind)
    {
        Store& platform = requireStore();
        const Object current = object(id, kind);
        try {
            platform.remove(current.path);
        } catch (const StoreError& error) {
            if (error.kind() != StoreError::Kind::NotFound)
                throw;
        }
        retired(current.path);
    }

    void forget()
    {
        connected = false;
        store.reset();
        user.clear();
        objects.clear();
        ids.clear();
    }

    std::string writeLoginPage(const std::string& title, const std::string& body)
    {
        if (loginPage.empty())
            loginPage = (fs::temp_directory_path() / ("kovra-login-" + std::to_string(::getpid()) + "-" + idPrefix +
                                                      ".html"))
                            .string();
        std::ofstream page(loginPage, std::ios::binary | std::ios::trunc);
        page << "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" << htmlEscape(title)
             << "</title></head>\n<body><h1>" << htmlEscape(title) << "</h1>\n" << body
             << "\n<p>Return to Kovra Floorsmith and confirm the login.</p></body></html>\n";
        if (!page)
            return {};
        return fileUrl(loginPage);
    }

    bool startLogin(const std::string& base, std::string& loginUrl);
    bool completeLogin();
};

bool cKovraClient::Impl::startLogin(const std::string& base, std::string& loginUrl)
{
    if (const auto folder = folderOfBase(base)) {
        std::error_code error;
        if (folderOfBase(fallback) == folder)
            fs::create_directories(*folder, error);
        if (!fs::is_directory(*folder, error)) {
            lastError = "The platform folder " + *folder + " does not exist.";
            return false;
        }
        pending = Server::Folder;
        pendingBase = *folder;
        loginUrl = writeLoginPage("Kovra platform in a folder",
                                  "<p>The platform is the folder <code>" + htmlEscape(*folder) +
                                      "</code> on this computer. No login is needed: you work as the account <code>" +
                                      htmlEscape(systemUserName()) + "</code>.</p>");
        if (loginUrl.empty()) {
            lastError = "Cannot write the login page.";
            return false;
        }
        return true;
    }

    const std::string problem = insecureUrlProblem(base);
    if (!problem.empty()) {
        lastError = "Cannot use the platform address: " + problem + ".";
        return false;
    }
    try {
        if (auto started = startLoginFlow(base, settings)) {
            const std::string pollProblem = insecureUrlProblem(started->pollEndpoint);
            if (!pollProblem.empty()) {
                lastError = "The platform's login cannot be used: " + pollProblem + ".";
                return false;
            }
            // The server names the page the browser opens: only a web page of
            // the platform's own host, never a file or another program's scheme.
            const auto page = parseUrl(started->loginUrl);
            const auto own = parseUrl(base);
            if (!insecureUrlProblem(started->loginUrl).empty() || !page || !own || page->host != own->host) {
                lastError = "The platform's login page cannot be opened: \"" + started->loginUrl +
                            "\" is not an https:// page of " + (own ? own->host : base) + ".";
                return false;
            }
            pending = Server::BrowserLogin;
            pendingBase = base;
            flow = *started;
            loginUrl = flow.loginUrl;
            return true;
        }
    } catch (const StoreError& error) {
        lastError = error.what();
        return false;
    }

    // A plain WebDAV server: the account comes from the netrc file.
    const auto parts = parseUrl(base);
    const std::string host = parts ? parts->host : base;
    const std::string netrc = netrcPath();
    const auto account = netrcAccount(netrc, host);
    std::string body;
    if (account)
        body = "<p>Kovra logs in to <code>" + htmlEscape(base) + "</code> as <code>" + htmlEscape(account->login) +
               "</code>, the account for <code>" + htmlEscape(host) + "</code> in <code>" + htmlEscape(netrc) +
               "</code>.</p>";
    else
        body = "<p>There is no account for <code>" + htmlEscape(host) + "</code> in <code>" + htmlEscape(netrc) +
               "</code>. Add a line</p>\n<pre>machine " + htmlEscape(host) +
               " login YOUR-NAME password YOUR-PASSWORD</pre>\n<p>to that file (readable only by you: "
               "<code>chmod 600</code>).</p>";
    pending = Server::Dav;
    pendingBase = base;
    loginUrl = writeLoginPage("Kovra platform on a WebDAV server", body);
    if (loginUrl.empty()) {
        lastError = "Cannot write the login page.";
        return false;
    }
    return true;
}

bool cKovraClient::Impl::completeLogin()
{
    switch (pending) {
    case Server::None:
        lastError = connected ? std::string() : "No login has been started.";
        return connected;

    case Server::Folder: {
        std::error_code error;
        if (!fs::is_directory(pendingBase, error)) {
            lastError = "The platform folder " + pendingBase + " does not exist.";
            return false;
        }
        forget();
        store = std::make_unique<FolderStore>(pendingBase);
        user = systemUserName();
        break;
    }

    case Server::Dav: {
        const auto parts = parseUrl(pendingBase);
        const std::string host = parts ? parts->host : pendingBase;
        const auto account = netrcAccount(netrcPath(), host);
        if (!account) {
            lastError = "There is no account for " + host + " in " + netrcPath() + ".";
            return false;
        }
        auto dav = std::make_unique<DavStore>(pendingBase, Credentials{account->login, account->password}, settings);
        const long status = dav->checkAccount();
        if (status == 401 || status == 403) {
            lastError = "The platform at " + pendingBase + " refused the account \"" + account->login + "\".";
            return false;
        }
        if (status != 207) {
            lastError = "The platform at " + pendingBase + " is not a WebDAV folder (HTTP " +
                        std::to_string(status) + ").";
            return false;
        }
        forget();
        store = std::move(dav);
        user = account->login;
        break;
    }

    case Server::BrowserLogin: {
        std::optional<AppPassword> password;
        for (int poll = 0; poll < loginPolls && !password; ++poll) {
            if (poll > 0)
                std::this_thread::sleep_for(loginPollInterval);
            password = pollLoginFlow(flow, settings);
        }
        if (!password) {
            lastError = "The login has not been confirmed in the web browser.";
            return false;
        }
        const std::string problem = insecureUrlProblem(password->server);
        if (!problem.empty()) {
            lastError = "The platform's files cannot be used: " + problem + ".";
            return false;
        }
        const Credentials credentials{password->loginName, password->appPassword};
        auto dav = std::make_unique<DavStore>(filesAddress(*password), credentials, settings);
        const long status = dav->checkAccount();
        if (status != 207) {
            lastError = "The platform did not accept its own login (HTTP " + std::to_string(status) + ").";
            return false;
        }
        forget();
        store = std::move(dav);
        user = password->loginName;
        appPassword.emplace(pendingBase, credentials);
        break;
    }
    }
    pending = Server::None;
    connected = true;
    lastError.clear();
    return true;
}

cKovraClient::cKovraClient() : cKovraClient(defaultPlatformFolder()) {}

cKovraClient::cKovraClient(std::string fallbackBase) : impl_(std::make_unique<Impl>(std::move(fallbackBase))) {}

cKovraClient::~cKovraClient()
{
    logout();
    if (!impl_->loginPage.empty())
        ::unlink(impl_->loginPage.c_str());
}

bool cKovraClient::autorizationRequest(const std::string& baseUrl, const std::string& /*userName*/,
                                       std::string& loginUrl)
{
    impl_->lastError.clear();
    impl_->pending = Impl::Server::None;
    loginUrl.clear();
    try {
        return impl_->startLogin(baseUrl.empty() ? defaultBaseUrl() : baseUrl, loginUrl);
    } catch (const std::exception& error) {
        impl_->lastError = error.what();
        return false;
    }
}

bool cKovraClient::tokenRequest()
{
    try {
        return impl_->completeLogin();
    } catch (const std::exception& error) {
        impl_->lastError = error.what();
        return impl_->connected;
    }
}

bool cKovraClient::isConnected() const
{
    return impl_->connected;
}

void cKovraClient::logout()
{
    if (impl_->appPassword) {
        try {
            revokeAppPassword(impl_->appPassword->first, impl_->appPassword->second, impl_->settings);
        } catch (const std::exception&) {
            // The login ends here all the same; an unreachable server keeps an
            // app password the user can revoke in its web interface.
        }
        impl_->appPassword.reset();
    }
    impl_->pending = Impl::Server::None;
    impl_->forget();
}

KovraUser cKovraClient::getLogginUser() const
{
    return KovraUser{impl_->connected ? impl_->user : std::string()};
}

std::vector<KovraUser> cKovraClient::getUsers()
{
    impl_->requireStore();
    return {KovraUser{impl_->user}};
}

std::vector<KovraAsset> cKovraClient::getAssets()
{
    std::vector<KovraAsset> assets;
    for (const StoreEntry& entry : impl_->children("", true))
        assets.push_back(KovraAsset{impl_->idFor(entry.name, true), entry.name, "", entry.modified});
    return assets;
}

std::string cKovraClient::createAsset(const std::string& name)
{
    Store& platform = impl_->requireStore();
    checkName(name);
    platform.makeFolder(name);
    return impl_->idFor(name, true);
}

std::vector<KovraFolder> cKovraClient::getFolders(const std::string& parentId)
{
    impl_->requireStore();
    const std::string parent = impl_->object(parentId, Kind::Container).path;
    std::vector<KovraFolder> folders;
    for (const StoreEntry& entry : impl_->children(parent, true))
        folders.push_back(
            KovraFolder{impl_->idFor(childPath(parent, entry.name), true), entry.name, "", entry.modified});
    return folders;
}

std::vector<KovraResource> cKovraClient::getResources(const std::string& parentId)
{
    impl_->requireStore();
    const std::string parent = impl_->object(parentId, Kind::Container).path;
    std::vector<KovraResource> resources;
    for (const StoreEntry& entry : impl_->children(parent, false))
        resources.push_back(
            KovraResource{impl_->idFor(childPath(parent, entry.name), false), entry.name,
                          entry.link ? "symbolic link" : "", entry.modified});
    return resources;
}

std::string cKovraClient::createFolder(const std::string& name, const std::string& parentId)
{
    Store& platform = impl_->requireStore();
    checkName(name);
    const std::string path = childPath(impl_->object(parentId, Kind::Container).path, name);
    platform.makeFolder(path);
    return impl_->idFor(path, true);
}

KovraResource cKovraClient::getResource(const std::string& id)
{
    Store& platform = impl_->requireStore();
    const std::string path = impl_->object(id, Kind::Resource).path;
    const auto entry = platform.stat(path);
    if (!entry || entry->folder)
        throw StoreError(StoreError::Kind::NotFound, "\"" + baseName(path) + "\" no longer exists on the platform.");
    return KovraResource{id, entry->name, entry->link ? "symbolic link" : "", entry->modified};
}

std::string cKovraClient::storedCopyProblem(const std::string& id, long long bytes)
{
    Store& platform = impl_->requireStore();
    const std::string path = impl_->object(id, Kind::Resource).path;
    const auto entry = platform.stat(path);
    if (!entry || entry->folder || entry->link)
        return "the platform does not list the new copy \"" + baseName(path) + "\"";
    if (entry->size != bytes)
        return "the platform lists the new copy with " +
               (entry->size < 0 ? std::string("no size") : std::to_string(entry->size) + " bytes") + ", not the " +
               std::to_string(bytes) + " bytes sent";
    const auto sent = impl_->uploadedEtags.find(id);
    if (sent != impl_->uploadedEtags.end() && !sent->second.empty() && !entry->etag.empty() &&
        sent->second != entry->etag)
        return "the platform lists the new copy with another version tag than it gave the upload";
    return {};
}

int cKovraClient::takeRefusedNames()
{
    const int count = impl_->refusedNames;
    impl_->refusedNames = 0;
    return count;
}

void cKovraClient::renameAsset(const std::string& id, const std::string& newName)
{
    impl_->rename(id, newName, Kind::Asset);
}

void cKovraClient::renameFolder(const std::string& id, const std::string& newName)
{
    impl_->rename(id, newName, Kind::Folder);
}

void cKovraClient::renameResource(const std::string& id, const std::string& newName)
{
    impl_->rename(id, newName, Kind::Resource);
}

void cKovraClient::deleteAsset(const std::string& id)
{
    impl_->remove(id, Kind::Asset);
}

void cKovraClient::deleteFolder(const std::string& id)
{
    impl_->remove(id, Kind::Folder);
}

void cKovraClient::deleteResource(const std::string& id)
{
    impl_->remove(id, Kind::Resource);
}

std::string cKovraClient::importFile(const std::string& localPath, const std::string& parentId)
{
    return importFileAs(localPath, parentId, fs::path(localPath).filename().string());
}

std::string cKovraClient::importFileAs(const std::string& localPath, const std::string& parentId,
                                       const std::string& name)
{
    Store& platform = impl_->requireStore();
    const std::string parent = impl_->object(parentId, Kind::Container).path;
    struct stat info {};
    if (::stat(localPath.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || ::access(localPath.c_str(), R_OK) != 0)
        throw std::runtime_error("Cannot read the file \"" + localPath + "\".");
    checkName(name);
    for (int n = 1; n <= maxNumberedNames; ++n) {
        const std::string path = childPath(parent, numberedName(name, n));
        try {
            const std::string etag = platform.upload(localPath, path);
            const std::string id = impl_->idFor(path, false);
            impl_->uploadedEtags[id] = etag;
            return id;
        } catch (const StoreError& error) {
            if (error.kind() != StoreError::Kind::Exists)
                throw;
        }
    }
    throw std::runtime_error("Too many files named like \"" + name + "\" on the platform.");
}

bool cKovraClient::downloadFile(const std::string& resourceId, const std::string& localPath)
{
    Store& platform = impl_->requireStore();
    const Impl::Object* object = impl_->find(resourceId);
    if (!object || object->folder) {
        impl_->lastError = "This file is not on the platform.";
        return false;
    }
    const std::string source = object->path;

    // The file is replaced only by a complete copy: the content goes to a
    // file beside it first, which then takes its place in one step.
    const fs::path target(localPath);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::string temporary = (folder / ("." + target.filename().string() + ".kovra-XXXXXX")).string();
    const int descriptor = ::mkstemp(temporary.data());
    if (descriptor < 0) {
        impl_->lastError = "Cannot write into the folder " + folder.string() + ".";
        return false;
    }
    ::close(descriptor);
    try {
        platform.download(source, temporary);
        // mkstemp creates the file for its owner only; a download gets the
        // permissions of any new file.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::chmod(temporary.c_str(), 0666 & ~mask);
        if (std::rename(temporary.c_str(), localPath.c_str()) != 0)
            throw std::runtime_error("Cannot write the file \"" + localPath + "\".");
    } catch (const std::exception& error) {
        ::unlink(temporary.c_str());
        impl_->lastError = error.what();
        return false;
    }
    return true;
}

std::string cKovraClient::defaultBaseUrl() const
{
    return configuredBaseUrl(impl_->fallback);
}

std::string cKovraClient::lastError() const
{
    return impl_->lastError;
}

void cKovraClient::setTimeouts(long connectSeconds, long stallSeconds)
{
    impl_->settings.connectSeconds = connectSeconds;
    impl_->settings.stallSeconds = stallSeconds;
}

void cKovraClient::setRequestLimits(const kovraplatform::HttpSettings& limits)
{
    impl_->settings = limits;
}

} // namespace KovraClient
