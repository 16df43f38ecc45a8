#include "platform/FolderStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace kovraplatform {

namespace {

// A symbolic link is listed as what it is, never as what it points to: a
// link may lead out of the platform folder or back into it (a loop).
std::optional<StoreEntry> entryOf(const std::string& fullPath, const std::string& name)
{
    struct stat info {};
    if (::lstat(fullPath.c_str(), &info) != 0)
        return std::nullopt;
    StoreEntry entry;
    entry.name = name;
    entry.folder = S_ISDIR(info.st_mode);
    entry.modified = formatDate(info.st_mtime);
    if (S_ISLNK(info.st_mode))
        entry.link = true;
    else if (S_ISREG(info.st_mode))
        entry.size = static_cast<long long>(info.st_size);
    else if (!S_ISDIR(info.st_mode))
        return std::nullopt;
    return entry;
}

// Copies in to the newly created file out; false on any read or write error.
bool copyInto(const std::string& in, int out)
{
    const int source = ::open(in.c_str(), O_RDONLY | O_CLOEXEC);
    if (source < 0)
        return false;
    char buffer[65536];
    bool ok = true;
    for (;;) {
        const ssize_t n = ::read(source, buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ok = false;
            break;
        }
        for (ssize_t written = 0; written < n;) {
            const ssize_t w = ::write(out, buffer + written, static_cast<size_t>(n - written));
            if (w < 0 && errno == EINTR)
                continue;
            if (w <= 0) {
                ok = false;
                break;
            }
            written += w;
        }
        if (!ok)
            break;
    }
    ::close(source);
    return ok;
}

std::string systemText(int error)
{
    return std::strerror(error);
}

} // namespace

FolderStore::FolderStore(std::string root) : root_(std::move(root))
{
    while (root_.size() > 1 && root_.back() == '/')
        root_.pop_back();
}

std::string FolderStore::full(const std::string& path) const
{
    return path.empty() ? root_ : root_ + "/" + path;
}

void FolderStore::refuseLinks(const std::string& path, bool itself) const
{
    std::size_t end = 0;
    while (end != std::string::npos) {
        end = path.find('/', end + 1);
        if (end == std::string::npos && !itself)
            break;
        const std::string part = path.substr(0, end);
        struct stat info {};
        if (!part.empty() && ::lstat(full(part).c_str(), &info) == 0 && S_ISLNK(info.st_mode))
            throw StoreError(StoreError::Kind::Other, "\"" + baseName(part) +
                                                          "\" is a symbolic link; Kovra does not follow links in "
                                                          "the platform folder.");
    }
}

void FolderStore::missing(const std::string& path) const
{
    std::error_code error;
    if (!fs::is_directory(root_, error))
        throw StoreError(StoreError::Kind::Unreachable, "Cannot reach the platform at " + root_ + ".");
    throw StoreError(StoreError::Kind::NotFound, "\"" + baseName(path) + "\" no longer exists on the platform.");
}

std::vector<StoreEntry> FolderStore::list(const std::string& path)
{
    refuseLinks(path, true);
    std::error_code error;
    fs::directory_iterator it(full(path), error);
    if (error)
        missing(path);
    std::vector<StoreEntry> entries;
    for (; it != fs::directory_iterator(); it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (auto entry = entryOf(it->path().string(), name))
            entries.push_back(*entry);
    }
    if (error)
        missing(path);
    return entries;
}

std::optional<StoreEntry> FolderStore::stat(const std::string& path)
{
    std::error_code error;
    if (!fs::is_directory(root_, error))
        missing(path);
    refuseLinks(path, false);
    return entryOf(full(path), baseName(path));
}

void FolderStore::makeFolder(const std::string& path)
{
    refuseLinks(path, false);
    if (::mkdir(full(path).c_str(), 0777) == 0)
        return;
    const int error = errno;
    if (error == EEXIST)
        throw StoreError(StoreError::Kind::Exists, "\"" + baseName(path) + "\" already exists on the platform.");
    if (error == ENOENT)
        missing(parentPath(path));
    throw StoreError(StoreError::Kind::Other,
                     "Cannot create \"" + baseName(path) + "\" on the platform: " + systemText(error) + ".");
}

std::string FolderStore::upload(const std::string& localFile, const std::string& path)
{
    refuseLinks(path, false);
    if (::access(localFile.c_str(), R_OK) != 0)
        throw StoreError(StoreError::Kind::Other, "Cannot read the file \"" + localFile + "\".");
    const std::string target = full(path);
    // O_EXCL: the name is claimed atomically, so nothing is ever replaced.
    const int out = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (out < 0) {
        const int error = errno;
        if (error == EEXIST)
            throw StoreError(StoreError::Kind::Exists, "\"" + baseName(path) + "\" already exists on the platform.");
        if (error == ENOENT)
            missing(parentPath(path));
        throw StoreError(StoreError::Kind::Other,
                         "Cannot store \"" + baseName(path) + "\" on the platform: " + systemText(error) + ".");
    }
    const bool copied = copyInto(localFile, out);
    const bool closed = ::close(out) == 0;
    if (!copied || !closed) {
        ::unlink(target.c_str());
        throw StoreError(StoreError::Kind::Other, "Cannot store \"" + baseName(path) + "\" on the platform.");
    }
    return {};
}

void FolderStore::download(const std::string& path, const std::string& localFile)
{
    refuseLinks(path, true);
    const std::string source = full(path);
    struct stat info {};
    if (::lstat(source.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
        missing(path);
    const int out = ::open(localFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (out < 0)
        throw StoreError(StoreError::Kind::Other, "Cannot write the file \"" + localFile + "\".");
    const bool copied = copyInto(source, out);
    if (::close(out) != 0 || !copied)
        throw StoreError(StoreError::Kind::Other, "Cannot copy \"" + baseName(path) + "\" from the platform.");
}

void FolderStore::move(const std::string& from, const std::string& to)
{
    // A link itself may be renamed, as it may be deleted: neither reaches
    // what it points to.
    refuseLinks(from, false);
    refuseLinks(to, false);
    // RENAME_NOREPLACE makes the check for a taken name and the rename one step.
    if (::renameat2(AT_FDCWD, full(from).c_str(), AT_FDCWD, full(to).c_str(), RENAME_NOREPLACE) == 0)
        return;
    int error = errno;
    if (error == EINVAL || error == ENOSYS) {
        // A file system without RENAME_NOREPLACE: check, then rename.
        std::error_code ignored;
        if (fs::exists(full(to), ignored))
            error = EEXIST;
        else if (::rename(full(from).c_str(), full(to).c_str()) == 0)
            return;
        else
            error = errno;
    }
    if (error == EEXIST || error == ENOTEMPTY)
        throw StoreError(StoreError::Kind::Exists, "\"" + baseName(to) + "\" already exists on the platform.");
    if (error == ENOENT)
        missing(from);
    throw StoreError(StoreError::Kind::Other,
                     "Cannot rename \"" + baseName(from) + "\" on the platform: " + systemText(error) + ".");
}

void FolderStore::remove(const std::string& path)
{
    refuseLinks(path, false);
    const std::string target = full(path);
    struct stat info {};
    if (::lstat(target.c_str(), &info) != 0)
        missing(path);
    // remove_all deletes a link, never what it points to.
    std::error_code error;
    fs::remove_all(target, error);
    if (error)
        throw StoreError(StoreError::Kind::Other,
                         "Cannot delete \"" + baseName(path) + "\" on the platform: " + error.message() + ".");
}

} // namespace kovraplatform
