#include "platform/Paths.h"

#include "platform/Http.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

namespace kovraplatform {

std::string homeFolder()
{
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd* account = getpwuid(getuid()); account && account->pw_dir)
        return account->pw_dir;
    return "/";
}

std::string documentsFolder()
{
    const std::string home = homeFolder();
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    const std::string config = configHome && *configHome ? configHome : home + "/.config";
    std::ifstream dirs(config + "/user-dirs.dirs");
    std::string line;
    while (std::getline(dirs, line)) {
        const std::string key = "XDG_DOCUMENTS_DIR=";
        if (line.compare(0, key.size(), key) != 0)
            continue;
        std::string value = line.substr(key.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        if (value.compare(0, 5, "$HOME") == 0)
            value = home + value.substr(5);
        while (value.size() > 1 && value.back() == '/')
            value.pop_back();
        if (!value.empty() && value.front() == '/')
            return value;
    }
    return home + "/Documents";
}

std::string defaultPlatformFolder()
{
    return documentsFolder() + "/KovraApp/Platform";
}

std::string configuredBaseUrl(const std::string& fallback)
{
    if (const char* url = std::getenv("KOVRA_PLATFORM_URL"); url && *url)
        return url;
    return fallback;
}

std::optional<std::string> folderOfBase(const std::string& base)
{
    if (!base.empty() && base.front() == '/')
        return base;
    const std::string scheme = "file://";
    if (base.compare(0, scheme.size(), scheme) != 0)
        return std::nullopt;
    std::string rest = base.substr(scheme.size());
    const std::string localhost = "localhost";
    if (rest.compare(0, localhost.size(), localhost) == 0)
        rest = rest.substr(localhost.size());
    if (rest.empty() || rest.front() != '/')
        return std::nullopt;
    return percentDecode(rest);
}

std::string systemUserName()
{
    if (const passwd* account = getpwuid(geteuid()); account && account->pw_name)
        return account->pw_name;
    if (const char* user = std::getenv("USER"); user && *user)
        return user;
    return std::to_string(geteuid());
}

} // namespace kovraplatform
