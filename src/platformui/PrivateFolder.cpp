#include "PrivateFolder.h"

#include "platform/Names.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <system_error>
#include <vector>

#include <stdlib.h>

PrivateFolder::PrivateFolder()
{
    std::error_code error;
    const std::filesystem::path base = std::filesystem::temp_directory_path(error);
    if (error)
        throw std::runtime_error("No folder for temporary files: " + error.message());
    std::string pattern = (base / "kovra-XXXXXX").string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    // mkdtemp makes the folder with mode 0700 under a name nobody held.
    if (!::mkdtemp(name.data()))
        throw std::runtime_error("Cannot make a temporary folder in " + base.string() + ": " + std::strerror(errno));
    path_ = name.data();
}

PrivateFolder::~PrivateFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string PrivateFolder::file(const std::string& name) const
{
    const std::string problem = kovraplatform::nameProblem(name);
    if (!problem.empty())
        throw std::invalid_argument("Cannot stage the file \"" + name + "\": " + problem + ".");
    return (std::filesystem::path(path_) / name).string();
}
