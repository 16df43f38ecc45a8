#include "platform/Names.h"

#include <algorithm>
#include <stdexcept>

namespace kovraplatform {

std::string nameProblem(const std::string& name)
{
    if (name.empty())
        return "a name cannot be empty";
    if (name == "." || name == "..")
        return "\"" + name + "\" is not a name";
    for (unsigned char c : name) {
        if (c == '/' || c == '\\')
            return "a name cannot contain \"/\" or \"\\\"";
        if (c < 0x20 || c == 0x7f)
            return "a name cannot contain control characters";
    }
    return {};
}

void checkName(const std::string& name)
{
    const std::string problem = nameProblem(name);
    if (!problem.empty())
        throw std::invalid_argument("The name \"" + name + "\" cannot be used: " + problem + ".");
}

std::string numberedName(const std::string& name, int n)
{
    if (n <= 1)
        return name;
    const std::size_t dot = name.rfind('.');
    const bool hasExtension = dot != std::string::npos && dot > 0;
    const std::string stem = hasExtension ? name.substr(0, dot) : name;
    const std::string extension = hasExtension ? name.substr(dot) : std::string();
    return stem + " (" + std::to_string(n) + ")" + extension;
}

bool nameLess(const std::string& a, const std::string& b)
{
    auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c; };
    const bool less = std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
        [&](char x, char y) { return lower(x) < lower(y); });
    const bool greater = std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(),
        [&](char x, char y) { return lower(x) < lower(y); });
    if (less || greater)
        return less;
    return a < b;
}

} // namespace kovraplatform
