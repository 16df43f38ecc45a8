// The names and folders of the file dialogs, without a window.
#include "shell/FileChoice.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(FileChoiceTest, NameGetsTheFiltersExtensionWhenItHasNone)
{
    struct Case {
        const char* path;
        const char* extension;
        const char* expected;
    };
    const Case cases[] = {
        {"/home/a/house", ".xsp", "/home/a/house.xsp"},
        {"/home/a/house.xsp", ".xsp", "/home/a/house.xsp"},
        {"/home/a/house.XSP", ".xsp", "/home/a/house.XSP"},
        {"/home/a/house.", ".xsp", "/home/a/house.xsp"},
        // A dot in the name is no extension the open dialog would list.
        {"/home/a/Villa 1.2", ".xsp", "/home/a/Villa 1.2.xsp"},
        {"/home/a/rooms.xsp", ".csv", "/home/a/rooms.xsp.csv"},
        {"/home/my.folder/rooms", ".csv", "/home/my.folder/rooms.csv"},
        {"C:\\plans\\layout", ".ifc", "C:\\plans\\layout.ifc"},
        {"layout", ".gml", "layout.gml"},
        {"/home/a/house", "", "/home/a/house"},
        {"/home/a/", ".xsp", "/home/a/"},
    };
    for (const Case& row : cases)
        EXPECT_EQ(withExtension(row.path, row.extension), row.expected)
            << "path \"" << row.path << "\", extension \"" << row.extension << "\"";
}

TEST(FileChoiceTest, ExtensionComesFromTheChosenFilter)
{
    const std::string exports = "IFC4 files (*.ifc)|*.ifc|IFC2X3 files (*.ifc)|*.ifc|GML files (*.gml)|*.gml";
    struct Case {
        std::string wildcard;
        int index;
        const char* expected;
    };
    const Case cases[] = {
        {"Project files (*.xsp)|*.xsp", 0, ".xsp"},
        {exports, 0, ".ifc"},
        {exports, 1, ".ifc"},
        {exports, 2, ".gml"},
        {exports, 3, ""},
        {exports, -1, ""},
        {"Tables (*.csv;*.txt)|*.csv;*.txt", 0, ".csv"},
        {"All files (*)|*", 0, ""},
        {"All files (*.*)|*.*", 0, ""},
        {"*.csv", 0, ".csv"},
        {"", 0, ""},
    };
    for (const Case& row : cases)
        EXPECT_EQ(filterExtension(row.wildcard, row.index), row.expected)
            << "wildcard \"" << row.wildcard << "\", index " << row.index;
}

TEST(FileChoiceTest, EachKindOpensWhereItWasLastUsed)
{
    FileFolders folders;
    EXPECT_EQ(folders.folderFor(FileKind::Project, "/home/a/Documents"), "/home/a/Documents");
    folders.remember(FileKind::Project, "/work/jobs/house.xsp");
    folders.remember(FileKind::Requirements, "/data/rooms.csv");
    folders.remember(FileKind::Export, "/out.ifc");
    EXPECT_EQ(folders.folderFor(FileKind::Project, "/home/a/Documents"), "/work/jobs");
    EXPECT_EQ(folders.folderFor(FileKind::Requirements, "/home/a/Documents"), "/data");
    EXPECT_EQ(folders.folderFor(FileKind::Export, "/home/a/Documents"), "/");
    EXPECT_EQ(folders.folderFor(FileKind::Download, "/home/a/Documents"), "/home/a/Documents");
    folders.remember(FileKind::Project, "/other/villa.xsp");
    EXPECT_EQ(folders.folderFor(FileKind::Project, ""), "/other");
}

TEST(FileChoiceTest, DownloadDialogFitsTheFilesKind)
{
    struct Case {
        const char* name;
        const char* title;
        const char* wildcard;
        const char* fileName;
    };
    const Case cases[] = {
        {"house.xsp", "Save project", "Project files (*.xsp)|*.xsp", "house.xsp"},
        {"Layout-A.IFC", "Save IFC file", "IFC files (*.ifc)|*.ifc", "Layout-A.IFC"},
        {"rooms.csv", "Save requirement set", "Requirement Set (*.csv)|*.csv", "rooms.csv"},
        {"site.gml", "Save GML file", "GML files (*.gml)|*.gml", "site.gml"},
        {"plan.pdf", "Save file", "All files (*)|*", "plan.pdf"},
        {"../../etc/passwd.ifc", "Save IFC file", "IFC files (*.ifc)|*.ifc", "passwd.ifc"},
    };
    for (const Case& row : cases) {
        const DownloadChoice choice = downloadChoiceFor(row.name);
        EXPECT_EQ(choice.title, row.title) << row.name;
        EXPECT_EQ(choice.wildcard, row.wildcard) << row.name;
        EXPECT_EQ(choice.fileName, row.fileName) << row.name;
    }
}

} // namespace
