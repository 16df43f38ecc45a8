#include "platform/Store.h"

#include <ctime>

namespace kovraplatform {

std::string baseName(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string parentPath(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string childPath(const std::string& parent, const std::string& name)
{
    return parent.empty() ? name : parent + "/" + name;
}

std::string formatDate(long long secondsSinceEpoch)
{
    const std::time_t time = static_cast<std::time_t>(secondsSinceEpoch);
    std::tm local{};
    if (!localtime_r(&time, &local))
        return {};
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
    return text;
}

} // namespace kovraplatform
