#include "model/AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace bg {

namespace fs = std::filesystem;

namespace {

// A name beside the target that no other save picks at the same time.
fs::path temporaryBeside(const fs::path& target)
{
    static const char digits[] = "0123456789abcdef";
    std::random_device random;
    std::string suffix;
    for (int i = 0; i < 8; ++i)
        suffix += digits[random() % 16];
    return target.parent_path() / ("." + target.filename().string() + "." + suffix + ".tmp");
}

[[noreturn]] void fail(const std::string& path, const std::string& cause)
{
    throw std::runtime_error("Cannot save \"" + path + "\": " + cause + ".");
}

// The file a save at path changes: symbolic links are followed to their
// target (which need not exist yet), as an editor saves through them.
fs::path resolveLinks(const std::string& path)
{
    fs::path target(path);
    for (int depth = 0;; ++depth) {
        std::error_code error;
        const fs::file_status status = fs::symlink_status(target, error);
        if (error || !fs::is_symlink(status))
            return target;
        if (depth == 40)
            fail(path, std::strerror(ELOOP));
        const fs::path link = fs::read_symlink(target, error);
        if (error)
            fail(path, error.message());
        target = link.is_absolute() ? link : target.parent_path() / link;
    }
}

// Writes all of text to the descriptor; errno tells why when false.
bool writeAll(int descriptor, const std::string& text)
{
    const char* data = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        const ssize_t written = ::write(descriptor, data, left);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return true;
}

std::string readAll(int descriptor)
{
    std::string text;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(descriptor, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return text;
        text.append(buffer, static_cast<std::size_t>(got));
    }
}

// A file with several hard links is one file under several names; replacing
// it would part the names, so it is overwritten in place. Its old text is
// kept in memory and written back when the new one cannot be written whole.
void overwriteInPlace(const std::string& path, const fs::path& target, const std::string& text)
{
    const int descriptor = ::open(target.c_str(), O_RDWR | O_CLOEXEC);
    if (descriptor < 0)
        fail(path, std::strerror(errno));
    const std::string old = readAll(descriptor);
    auto replaceBy = [descriptor](const std::string& content) {
        return ::lseek(descriptor, 0, SEEK_SET) == 0 && writeAll(descriptor, content) &&
               ::ftruncate(descriptor, static_cast<off_t>(content.size())) == 0 && ::fsync(descriptor) == 0;
    };
    if (!replaceBy(text)) {
        const int cause = errno;
        replaceBy(old);
        ::close(descriptor);
        fail(path, cause ? std::strerror(cause) : "the file could not be written completely");
    }
    if (::close(descriptor) != 0)
        fail(path, std::strerror(errno));
}

} // namespace

void writeFileAtomically(const std::string& path, const std::string& text)
{
    if (fs::path(path).filename().empty())
        fail(path, "the path names no file");
    const fs::path target = resolveLinks(path);

    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    if (!exists && errno != ENOENT)
        fail(path, std::strerror(errno));
    // Never opened: a FIFO would block, a device would take the text.
    if (exists && !S_ISREG(existing.st_mode))
        fail(path, "it is not a regular file");
    if (exists && existing.st_nlink > 1) {
        overwriteInPlace(path, target, text);
        return;
    }

    const fs::path temporary = temporaryBeside(target);
    const int descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor < 0)
        fail(path, std::strerror(errno));
    auto discard = [&](int cause) {
        ::close(descriptor);
        ::unlink(temporary.c_str());
        fail(path, cause ? std::strerror(cause) : "the file could not be written completely");
    };
    if (!writeAll(descriptor, text) || ::fsync(descriptor) != 0)
        discard(errno);
    // The replacement keeps what the user gave the old file: its mode and,
    // where allowed, its owner.
    if (exists) {
        if (::fchmod(descriptor, existing.st_mode & 07777) != 0)
            discard(errno);
        if (::fchown(descriptor, existing.st_uid, existing.st_gid) != 0 && errno != EPERM)
            discard(errno);
    }
    if (::close(descriptor) != 0) {
        const int cause = errno;
        ::unlink(temporary.c_str());
        fail(path, std::strerror(cause));
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        const int cause = errno;
        ::unlink(temporary.c_str());
        fail(path, std::strerror(cause));
    }
}

} // namespace bg
