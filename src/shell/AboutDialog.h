#pragma once

#include <wx/dialog.h>

class wxNotebook;

// The modal "About" dialog: logo and credits, the solver suite the program
// uses, and three pages with the texts of text/About.txt, text/Licence.txt
// and text/Nutzungsbedingungen.txt (read relative to the working folder).
class AboutDialog : public wxDialog {
public:
    enum { ID_ABOUT_DIALOG = 20019 };

    explicit AboutDialog(wxWindow* parent);
    ~AboutDialog() override;

    wxNotebook* notebook = nullptr;
};

// The whole content of a UTF-8 text file; empty when it cannot be read.
wxString readTextFile(const wxString& path);
