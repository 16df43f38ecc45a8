#pragma once

// Accounts for plain WebDAV servers, read from the user's netrc file, the file
// curl, ftp and git read as well.

#include <optional>
#include <string>

namespace kovraplatform {

struct NetrcAccount {
    std::string login;
    std::string password;
};

// KOVRA_NETRC when set, else ~/.netrc.
std::string netrcPath();
// The account of the "machine" entry for host, else of the "default" entry;
// nothing when the file has neither or cannot be read.
std::optional<NetrcAccount> netrcAccount(const std::string& path, const std::string& host);

} // namespace kovraplatform
