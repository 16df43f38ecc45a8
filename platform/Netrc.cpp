#include "platform/Netrc.h"

#include "platform/Paths.h"

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

namespace kovraplatform {

namespace {

// Whitespace-separated tokens; a token may be double-quoted with backslash
// escapes, as curl reads it. A "macdef" body (up to an empty line) is skipped.
std::vector<std::string> tokens(const std::string& text)
{
    std::vector<std::string> result;
    std::size_t i = 0;
    while (i < text.size()) {
        if (std::isspace(static_cast<unsigned char>(text[i]))) {
            ++i;
            continue;
        }
        std::string token;
        if (text[i] == '"') {
            for (++i; i < text.size() && text[i] != '"'; ++i) {
                if (text[i] == '\\' && i + 1 < text.size())
                    ++i;
                token += text[i];
            }
            ++i;
        } else {
            while (i < text.size() && !std::isspace(static_cast<unsigned char>(text[i])))
                token += text[i++];
        }
        if (token == "macdef") {
            const std::size_t end = text.find("\n\n", i);
            i = end == std::string::npos ? text.size() : end + 2;
            continue;
        }
        result.push_back(token);
    }
    return result;
}

} // namespace

std::string netrcPath()
{
    if (const char* path = std::getenv("KOVRA_NETRC"); path && *path)
        return path;
    return homeFolder() + "/.netrc";
}

std::optional<NetrcAccount> netrcAccount(const std::string& path, const std::string& host)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    const std::vector<std::string> words = tokens(text.str());

    std::optional<NetrcAccount> machine;
    std::optional<NetrcAccount> fallback;
    std::optional<NetrcAccount>* current = nullptr;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word == "machine" && i + 1 < words.size()) {
            // The first matching entry counts, as for curl.
            const std::string& name = words[++i];
            current = !machine && name == host ? &machine : nullptr;
            if (current)
                machine.emplace();
        } else if (word == "default") {
            current = !fallback ? &fallback : nullptr;
            if (current)
                fallback.emplace();
        } else if ((word == "login" || word == "password" || word == "account") && i + 1 < words.size()) {
            const std::string& value = words[++i];
            if (current && word == "login")
                (*current)->login = value;
            else if (current && word == "password")
                (*current)->password = value;
        }
    }
    if (machine)
        return machine;
    return fallback;
}

} // namespace kovraplatform
