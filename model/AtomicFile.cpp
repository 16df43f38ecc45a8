#include "model/AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <system_error>

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

} // namespace

void writeFileAtomically(const std::string& path, const std::string& text)
{
    const fs::path target(path);
    auto fail = [&path](const std::string& cause) {
        throw std::runtime_error("Cannot save \"" + path + "\": " + cause + ".");
    };
    if (target.filename().empty())
        fail("the path names no file");

    const fs::path temporary = temporaryBeside(target);
    std::ofstream out(temporary, std::ios::out | std::ios::trunc);
    if (!out)
        fail(std::strerror(errno));
    errno = 0;
    out << text;
    out.flush();
    const int writeError = errno;
    const bool written = static_cast<bool>(out);
    out.close();
    std::error_code ignored;
    if (!written || out.fail()) {
        fs::remove(temporary, ignored);
        fail(writeError ? std::strerror(writeError) : "the file could not be written completely");
    }

    std::error_code renamed;
    fs::rename(temporary, target, renamed);
    if (renamed) {
        fs::remove(temporary, ignored);
        fail(renamed.message());
    }
}

} // namespace bg
