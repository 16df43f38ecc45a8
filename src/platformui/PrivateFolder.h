#pragma once

// A folder of the temporary directory that only this user can enter (mode
// 0700), made with a fresh unique name and removed with everything in it
// when the object goes, on error paths too. The platform commands stage
// their uploads and downloads here, so no other account can read a project
// or slip a file in under a predictable name.

#include <string>

class PrivateFolder {
public:
    // Throws std::runtime_error when the folder cannot be made.
    PrivateFolder();
    ~PrivateFolder();
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;

    const std::string& path() const { return path_; }
    // The path of a file named name inside the folder (not created). Throws
    // std::invalid_argument for a name that would reach outside it (empty,
    // "." or "..", or holding "/", "\\" or control characters).
    std::string file(const std::string& name) const;

private:
    std::string path_;
};
