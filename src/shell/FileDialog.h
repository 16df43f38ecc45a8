#pragma once

#include <wx/filedlg.h>

// A file dialog whose chosen path is also what was handed to SetPath: GTK's
// chooser reports no path for a file set while it was never shown, which is
// how dialog tests answer it.
class FileDialog : public wxFileDialog {
public:
    using wxFileDialog::wxFileDialog;

    void SetPath(const wxString& path) override
    {
        given = path;
        wxFileDialog::SetPath(path);
    }

    wxString chosenPath() const
    {
        const wxString path = GetPath();
        return path.empty() ? given : path;
    }

private:
    wxString given;
};
