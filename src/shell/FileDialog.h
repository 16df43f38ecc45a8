#pragma once

#include "FileChoice.h"

#include <wx/filedlg.h>

// A file dialog for one kind of file: it opens in the folder that kind was
// last used in (else the user's documents folder), and a name saved without
// the chosen filter's extension gets it.
class FileDialog : public wxFileDialog {
public:
    FileDialog(wxWindow* parent, FileKind kind, const wxString& title, const wxString& wildcard, long style,
               const wxString& defaultName = wxEmptyString);

    // GTK's chooser reports no path for a file set while it was never shown,
    // which is how dialog tests answer it: the path handed to SetPath counts.
    void SetPath(const wxString& path) override;

    // Shows the dialog; the chosen path then has its extension, and its
    // folder is kept for the kind. False when the user cancelled, also when
    // the name the extension made is of a file the user chose not to replace.
    bool choose();

    wxString chosenPath() const { return chosen; }

private:
    FileKind kind;
    wxString given;
    wxString chosen;
};

// The folders of the file dialogs of this process.
FileFolders& fileFolders();
