#include "FileChoice.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace {

std::vector<std::string> split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::string::size_type start = 0;
    for (;;) {
        const auto end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            return parts;
        start = end + 1;
    }
}

bool endsWithIgnoringCase(const std::string& text, const std::string& tail)
{
    if (tail.size() > text.size())
        return false;
    return std::equal(tail.rbegin(), tail.rend(), text.rbegin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
}

std::string::size_type nameStart(const std::string& path)
{
    const auto slash = path.find_last_of("/\\");
    return slash == std::string::npos ? 0 : slash + 1;
}

} // namespace

std::string filterExtension(const std::string& wildcard, int filterIndex)
{
    const std::vector<std::string> parts = split(wildcard, '|');
    // Descriptions and patterns alternate; a bare pattern is its own filter.
    const std::size_t at = parts.size() == 1 ? 0 : 2 * static_cast<std::size_t>(filterIndex) + 1;
    if (filterIndex < 0 || at >= parts.size() || (parts.size() == 1 && filterIndex != 0))
        return {};
    const std::string pattern = split(parts[at], ';').front();
    if (pattern.rfind("*.", 0) != 0)
        return {};
    const std::string extension = pattern.substr(1);
    if (extension.size() < 2 || extension.find_first_of("*?") != std::string::npos)
        return {};
    return extension;
}

std::string withExtension(const std::string& path, const std::string& extension)
{
    const std::string name = path.substr(nameStart(path));
    if (extension.empty() || name.empty() || endsWithIgnoringCase(name, extension))
        return path;
    // "house." already has the dot the extension brings.
    if (name.back() == '.')
        return path + extension.substr(1);
    return path + extension;
}

std::string FileFolders::folderFor(FileKind kind, const std::string& fallback) const
{
    const auto found = folders.find(kind);
    return found == folders.end() ? fallback : found->second;
}

void FileFolders::remember(FileKind kind, const std::string& path)
{
    const auto start = nameStart(path);
    if (start == 0)
        return;
    // The root keeps its separator: "/" rather than an empty folder.
    folders[kind] = path.substr(0, start == 1 ? 1 : start - 1);
}

DownloadChoice downloadChoiceFor(const std::string& name)
{
    struct Kind {
        const char* extension;
        const char* title;
        const char* wildcard;
    };
    static const Kind kinds[] = {
        {".xsp", "Save project", "Project files (*.xsp)|*.xsp"},
        {".csv", "Save requirement set", "Requirement Set (*.csv)|*.csv"},
        {".ifc", "Save IFC file", "IFC files (*.ifc)|*.ifc"},
        {".gml", "Save GML file", "GML files (*.gml)|*.gml"},
    };
    const std::string fileName = name.substr(nameStart(name));
    for (const Kind& kind : kinds)
        if (endsWithIgnoringCase(fileName, kind.extension))
            return {kind.title, kind.wildcard, fileName};
    return {"Save file", "All files (*)|*", fileName};
}
