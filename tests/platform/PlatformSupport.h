#pragma once

// The two platforms the client's tests run against, a local folder and
// Apache's WebDAV share on loopback, behind one face.

#include "platform/KovraClient.h"
#include "support/FileSupport.h"
#include "support/PlatformServers.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace kovra_test {

enum class PlatformKind { Folder, WebDav };

inline std::string kindName(PlatformKind kind)
{
    return kind == PlatformKind::Folder ? "Folder" : "WebDav";
}

class TestPlatform {
public:
    explicit TestPlatform(PlatformKind kind) : kind_(kind)
    {
        if (kind == PlatformKind::Folder) {
            std::filesystem::create_directories(scratch_.path() / "platform");
            return;
        }
        dav_ = std::make_unique<DavServer>();
        useNetrc(dav_->netrcLine());
    }
    ~TestPlatform()
    {
        if (dav_ && ::testing::Test::HasFailure())
            dav_->keep();
    }

    // Points the client's netrc file at one holding line.
    void useNetrc(const std::string& line) const
    {
        writeText(scratch_.file("netrc"), line);
        ::setenv("KOVRA_NETRC", scratch_.file("netrc").c_str(), 1);
    }

    std::string base() const
    {
        return dav_ ? dav_->filesUrl() : "file://" + scratch_.file("platform");
    }
    // Where the platform's files lie on this machine.
    std::filesystem::path storage() const
    {
        return dav_ ? std::filesystem::path(dav_->shareFolder()) : scratch_.path() / "platform";
    }

    void login(KovraClient::cKovraClient& client) const
    {
        std::string loginUrl;
        ASSERT_TRUE(client.autorizationRequest(base(), "", loginUrl)) << client.lastError();
        ASSERT_TRUE(client.tokenRequest()) << client.lastError();
        ASSERT_TRUE(client.isConnected());
    }

    // A local file with content, named name, in the scratch folder.
    std::string localFile(const std::string& name, const std::string& content) const
    {
        std::filesystem::create_directories(scratch_.path() / "local");
        const std::string path = (scratch_.path() / "local" / name).string();
        writeText(path, content);
        return path;
    }
    std::string scratchFile(const std::string& name) const { return scratch_.file(name); }
    const std::filesystem::path& scratch() const { return scratch_.path(); }

    DavServer* dav() const { return dav_.get(); }
    PlatformKind kind() const { return kind_; }

private:
    PlatformKind kind_;
    ScratchFolder scratch_;
    std::unique_ptr<DavServer> dav_;
};

// Names of listed records, in their order.
template <typename Record>
std::vector<std::string> namesOf(const std::vector<Record>& records)
{
    std::vector<std::string> names;
    for (const Record& record : records)
        names.push_back(record.name);
    return names;
}

// The message of the exception thrown by call, or "" when it throws none.
template <typename Call>
std::string thrownMessage(Call&& call)
{
    try {
        call();
    } catch (const std::exception& error) {
        return error.what();
    }
    return {};
}

} // namespace kovra_test
