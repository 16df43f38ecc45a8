#include "AboutDialog.h"

#include <wx/bitmap.h>
#include <wx/button.h>
#include <wx/ffile.h>
#include <wx/filename.h>
#include <wx/hyperlink.h>
#include <wx/log.h>
#include <wx/notebook.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/statline.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace {

const char* const makerAddress = "https://floorsmith.kovra.example";
const char* const solverAddress = "https://www.scipopt.org";

wxString resourcePath(const char* dir, const char* subdir, const char* file)
{
    wxFileName path("", file);
    path.AppendDir(dir);
    if (subdir)
        path.AppendDir(subdir);
    return path.GetFullPath();
}

wxWindow* textPage(wxNotebook* notebook, const char* file)
{
    auto* page = new wxPanel(notebook, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    auto* text = new wxTextCtrl(page, wxID_ANY, readTextFile(resourcePath("text", nullptr, file)), wxDefaultPosition,
                                wxDefaultSize, wxTE_MULTILINE | wxTE_READONLY);
    sizer->Add(text, 1, wxEXPAND | wxALL, 5);
    page->SetSizer(sizer);
    return page;
}

} // namespace

wxString readTextFile(const wxString& path)
{
    wxLogNull quiet; // a missing text leaves its page empty
    wxFFile file(path, "rb");
    wxString text;
    // The texts ship as UTF-8; reading them with the locale's conversion
    // would garble every non-ASCII letter under a non-UTF-8 locale.
    if (!file.IsOpened() || !file.ReadAll(&text, wxConvUTF8))
        return wxString();
    return text;
}

AboutDialog::AboutDialog(wxWindow* parent)
    : wxDialog(parent, ID_ABOUT_DIALOG, "Info about Kovra Floorsmith", wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER)
{
    SetSize(800, 600);
    auto* sizer = new wxBoxSizer(wxVERTICAL);

    auto* header = new wxFlexGridSizer(2);
    wxBitmap logo;
    {
        wxLogNull quiet; // a missing logo leaves the bitmap empty
        logo.LoadFile(resourcePath("gfx", "misc", "Tolmlogo_farbe-RGB_englisch.png"), wxBITMAP_TYPE_PNG);
    }
    header->Add(new wxStaticBitmap(this, wxID_ANY, logo), 0, wxEXPAND | wxALL, 5);
    auto* credits = new wxBoxSizer(wxVERTICAL);
    credits->Add(new wxStaticText(this, wxID_ANY, "Kovra Design Systems"), 0, wxEXPAND | wxALL, 5);
    credits->Add(new wxStaticText(this, wxID_ANY, "Department of Computational Building Design"), 0,
                 wxEXPAND | wxALL, 5);
    credits->Add(new wxHyperlinkCtrl(this, wxID_ANY, makerAddress, makerAddress), 0, wxEXPAND | wxALL, 5);
    header->Add(credits, 0, wxEXPAND | wxALL, 5);
    sizer->Add(header, 0, wxEXPAND | wxALL, 5);

    sizer->Add(new wxStaticLine(this), 0, wxEXPAND | wxALL, 5);

    auto* tools = new wxBoxSizer(wxHORIZONTAL);
    tools->Add(new wxStaticText(this, wxID_ANY, "Used tools:"), 0, wxEXPAND | wxALL, 5);
    tools->Add(new wxStaticText(this, wxID_ANY, "SCIPoptSuite"), 0, wxEXPAND | wxALL, 5);
    tools->Add(new wxHyperlinkCtrl(this, wxID_ANY, solverAddress, solverAddress), 0, wxEXPAND | wxALL, 5);
    sizer->Add(tools, 0, wxEXPAND | wxALL, 5);

    sizer->Add(new wxStaticLine(this), 0, wxEXPAND | wxALL, 5);

    notebook = new wxNotebook(this, wxID_ANY);
    notebook->AddPage(textPage(notebook, "About.txt"), "About", true);
    notebook->AddPage(textPage(notebook, "Licence.txt"), "Licence");
    notebook->AddPage(textPage(notebook, "Nutzungsbedingungen.txt"), "Nutzungsbedingungen");
    sizer->Add(notebook, 1, wxEXPAND | wxALL, 5);

    // Enter and Escape close it, as the button does.
    auto* close = new wxButton(this, wxID_CLOSE);
    close->SetDefault();
    sizer->Add(close, 0, wxALIGN_RIGHT | wxALL, 5);
    SetAffirmativeId(wxID_CLOSE);
    SetEscapeId(wxID_CLOSE);

    SetSizer(sizer);
    Layout();
    Centre();
    close->SetFocus();
}

AboutDialog::~AboutDialog() = default;
