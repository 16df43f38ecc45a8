#pragma once

// Where the platform lives when the user names no server.

#include <optional>
#include <string>

namespace kovraplatform {

// $HOME, else the account's home folder.
std::string homeFolder();
// The user's documents folder: XDG_DOCUMENTS_DIR of the XDG user-dirs file,
// else ~/Documents.
std::string documentsFolder();
// The platform folder inside the application folder: <documents>/KovraApp/Platform.
std::string defaultPlatformFolder();
// KOVRA_PLATFORM_URL when set, else fallback.
std::string configuredBaseUrl(const std::string& fallback);
// The local folder a base address names (a file:// URL or an absolute path),
// or nothing for a web address.
std::optional<std::string> folderOfBase(const std::string& base);
// The name of the system account running the program.
std::string systemUserName();

} // namespace kovraplatform
