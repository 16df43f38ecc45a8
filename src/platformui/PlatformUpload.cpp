#include "PlatformUpload.h"

#include "PlatformRules.h"

#include "platform/Store.h"

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
    if (const std::string problem = savedNameProblem(wantedName); !problem.empty())
        throw std::runtime_error("Nothing was stored: the file name \"" + wantedName + "\" cannot be used (" +
                                 problem + "). Rename the project or set first.");
    std::error_code sizeError;
    const auto bytes = static_cast<long long>(std::filesystem::file_size(path, sizeError));
    if (sizeError)
        throw std::runtime_error("The file " + std::filesystem::path(path).filename().string() +
                                 " could not be read; nothing was uploaded.");
    Upload result;
    const std::string id = client.importFileAs(path, parentId, wantedName);
    result.resource.id = id;
    result.resource.name = wantedName;

    // The new copy is read back before anything is given up for it: a server
    // may answer a store with success and keep nothing, or a fragment.
    std::string problem;
    try {
        problem = client.storedCopyProblem(id, bytes);
    } catch (const std::exception& error) {
        problem = error.what();
    }
    if (!problem.empty()) {
        bool removed = false;
        try {
            client.deleteResource(id);
            removed = true;
        } catch (const std::exception&) {
            // Said below; the older copy is what matters.
        }
        throw std::runtime_error("The platform did not keep the file as sent: " + problem + ". " +
                                 (replaceId.empty() ? std::string() : "The older copy was kept. ") +
                                 (removed ? "The faulty new copy was removed."
                                          : "The faulty new copy may still be on the platform."));
    }

    try {
        if (!replaceId.empty() && replaceId != id) {
            client.deleteResource(replaceId);
            result.replaced = true;
        }
        result.resource = client.getResource(id);
        if (result.resource.name != wantedName) {
            try {
                client.renameResource(id, wantedName);
            } catch (const kovraplatform::StoreError& error) {
                // Another file holds the name: keep the free one. Any other
                // failure is said as it is.
                if (error.kind() != kovraplatform::StoreError::Kind::Exists)
                    result.notice += "The file could not be renamed to \"" + wantedName + "\": " + error.what() + "\n";
            }
            result.resource = client.getResource(id);
        }
    } catch (const std::exception& error) {
        result.notice += std::string("The file was stored, but the platform then failed: ") + error.what() + "\n";
    }
    result.resource.id = id;
    if (!replaceId.empty() && !result.replaced)
        result.notice += "The older copy was kept.\n";
    if (result.resource.name != wantedName && result.notice.find("could not be renamed") == std::string::npos)
        result.notice += "The name \"" + wantedName + "\" is taken there, so the file is named \"" +
                         result.resource.name + "\".";
    return result;
}
