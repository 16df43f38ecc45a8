#pragma once

#include "platform/Store.h"

namespace kovraplatform {

// A store in a local folder (or a mounted share).
class FolderStore : public Store {
public:
    explicit FolderStore(std::string root);

    std::string address() const override { return root_; }
    std::vector<StoreEntry> list(const std::string& path) override;
    std::optional<StoreEntry> stat(const std::string& path) override;
    void makeFolder(const std::string& path) override;
    std::string upload(const std::string& localFile, const std::string& path) override;
    void download(const std::string& path, const std::string& localFile) override;
    void move(const std::string& from, const std::string& to) override;
    void remove(const std::string& path) override;

private:
    std::string full(const std::string& path) const;
    // Throws when a folder on the way to path is a symbolic link (and path
    // itself when itself), so nothing is read, written or deleted through a
    // link out of the platform folder.
    void refuseLinks(const std::string& path, bool itself) const;
    // Throws Unreachable when the base folder itself is gone (an unmounted
    // share), NotFound otherwise.
    [[noreturn]] void missing(const std::string& path) const;

    std::string root_;
};

} // namespace kovraplatform
