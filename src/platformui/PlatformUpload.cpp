#include "PlatformUpload.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <system_error>

void writeCompletely(const std::string& path, const std::string& text)
{
    {
        std::ofstream out(path, std::ios::binary);
        out << text;
        out.close();
        if (!out)
            throw std::runtime_error("The file " + path + " could not be written; nothing was uploaded.");
    }
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (error || size != text.size() || size == 0)
        throw std::runtime_error("The file " + path + " could not be written; nothing was uploaded.");
}

void checkStagedFile(const std::string& path)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error) || std::filesystem::file_size(path, error) == 0 || error)
        throw std::runtime_error("The file " + std::filesystem::path(path).filename().string() +
                                 " could not be written; nothing was uploaded.");
}

Upload upload(KovraClient::cKovraClient& client, const std::string& path, const std::string& wantedName,
              const std::string& parentId, const std::string& replaceId)
{
    Upload result;
    const std::string id = client.importFile(path, parentId);
    result.resource.id = id;
    result.resource.name = std::filesystem::path(path).filename().string();
    try {
        if (!replaceId.empty() && replaceId != id) {
            client.deleteResource(replaceId);
            result.replaced = true;
        }
        result.resource = client.getResource(id);
        if (result.resource.name != wantedName) {
            try {
                client.renameResource(id, wantedName);
            } catch (const std::exception&) {
                // Another file holds the name: keep the free one.
            }
            result.resource = client.getResource(id);
        }
    } catch (const std::exception& error) {
        result.notice = std::string("The file was stored, but the platform then failed: ") + error.what() + "\n";
    }
    result.resource.id = id;
    if (!replaceId.empty() && !result.replaced)
        result.notice += "The older copy was kept.\n";
    if (result.resource.name != wantedName)
        result.notice += "The name \"" + wantedName + "\" is taken there, so the file is named \"" +
                         result.resource.name + "\".";
    return result;
}
