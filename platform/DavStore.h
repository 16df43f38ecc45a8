#pragma once

#include "platform/Http.h"
#include "platform/Store.h"

namespace kovraplatform {

// A store in a WebDAV collection, reached with Basic authentication.
class DavStore : public Store {
public:
    // base: the collection's address; credentials: the account.
    DavStore(std::string base, Credentials credentials, HttpSettings settings);

    std::string address() const override { return base_; }
    std::vector<StoreEntry> list(const std::string& path) override;
    std::optional<StoreEntry> stat(const std::string& path) override;
    void makeFolder(const std::string& path) override;
    std::string upload(const std::string& localFile, const std::string& path) override;
    void download(const std::string& path, const std::string& localFile) override;
    void move(const std::string& from, const std::string& to) override;
    void remove(const std::string& path) override;

    // Status of a PROPFIND of the collection itself: 207 when the account
    // is accepted, 401 when refused.
    long checkAccount();

private:
    std::string url(const std::string& path, bool folder) const;
    HttpResponse send(HttpRequest request);
    std::vector<StoreEntry> propfind(const std::string& path, bool folder, const char* depth, long& status);
    // Throws the StoreError that fits an unexpected status.
    [[noreturn]] void fail(long status, const std::string& what, const std::string& path) const;

    std::string base_; // ends with "/"
    Credentials credentials_;
    HttpSettings settings_;
};

} // namespace kovraplatform
