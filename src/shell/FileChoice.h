#pragma once

// What the file dialogs do to the names and folders a user picks, without a
// window: the extension a filter asks for, and the folder each kind of file
// was last read from or written to.

#include <map>
#include <string>

// The kinds of file a dialog reads or writes; each keeps its own folder.
enum class FileKind { Project, Requirements, Export, Download, Upload };

// The extension (".xsp") of the first pattern of the filter at filterIndex of
// a wx wildcard ("Project files (*.xsp)|*.xsp|..."); empty for a pattern with
// none ("*" or "*.*") or an index out of range.
std::string filterExtension(const std::string& wildcard, int filterIndex);

// path with extension appended unless its file name already ends with it
// (in any case): a file saved as "house" is listed by the "*.xsp" filter
// that opens it again. An empty extension or file name leaves path alone.
std::string withExtension(const std::string& path, const std::string& extension);

// The folder each kind of file was last used in, for the process's lifetime.
class FileFolders {
public:
    // The folder of the last file of this kind, else fallback.
    std::string folderFor(FileKind kind, const std::string& fallback) const;
    // Keeps the folder of path (its part before the last separator).
    void remember(FileKind kind, const std::string& path);

private:
    std::map<FileKind, std::string> folders;
};

// The title, filter and offered name of the dialog that saves a downloaded
// file, after the kind its name says (".xsp", ".csv", ".ifc", ".gml"; any
// other file is saved under all files). The offered name is the file name
// alone: a name from a server never names a folder.
struct DownloadChoice {
    std::string title;
    std::string wildcard;
    std::string fileName;
};
DownloadChoice downloadChoiceFor(const std::string& name);
