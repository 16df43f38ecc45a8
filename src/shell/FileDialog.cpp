#include "FileDialog.h"

#include <wx/filename.h>
#include <wx/msgdlg.h>
#include <wx/stdpaths.h>

FileFolders& fileFolders()
{
    static FileFolders folders;
    return folders;
}

FileDialog::FileDialog(wxWindow* parent, FileKind kind, const wxString& title, const wxString& wildcard, long style,
                       const wxString& defaultName)
    : wxFileDialog(parent, title,
                   wxString::FromUTF8(fileFolders().folderFor(
                       kind, wxStandardPaths::Get().GetDocumentsDir().utf8_string())),
                   defaultName, wildcard, style),
      kind(kind)
{
}

void FileDialog::SetPath(const wxString& path)
{
    given = path;
    wxFileDialog::SetPath(path);
}

bool FileDialog::choose()
{
    if (ShowModal() != wxID_OK)
        return false;
    const wxString path = GetPath().empty() ? given : GetPath();
    chosen = path;
    if (HasFdFlag(wxFD_SAVE)) {
        chosen = wxString::FromUTF8(
            withExtension(path.utf8_string(), filterExtension(GetWildcard().utf8_string(), GetFilterIndex())));
        // The dialog asked about the name as typed, not the one it became.
        if (chosen != path && HasFdFlag(wxFD_OVERWRITE_PROMPT) && wxFileName::FileExists(chosen)
            && wxMessageBox(wxString::Format("\"%s\" already exists. Replace it?", wxFileName(chosen).GetFullName()),
                            GetTitle(), wxYES_NO | wxNO_DEFAULT | wxICON_QUESTION, GetParent())
                   != wxYES)
            return false;
    }
    fileFolders().remember(kind, chosen.utf8_string());
    return true;
}
