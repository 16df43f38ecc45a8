#pragma once

// wxTEST_DIALOG for GoogleTest: a modal dialog that was not expected, or an
// expected one that did not come, fails the running test (the library's own
// hook only prints when its assertions are off).

#include <gtest/gtest.h>

#include <wx/dialog.h>
#include <wx/filedlg.h>
#include <wx/modalhook.h>
#include <wx/string.h>
#include <wx/textdlg.h>

#include <string>

class GTestModalHook;
#undef wxTEST_DIALOG_HOOK_CLASS
#define wxTEST_DIALOG_HOOK_CLASS GTestModalHook
#include <wx/testing.h>

class GTestModalHook : public wxTestingModalHook {
public:
    GTestModalHook(const char* file = nullptr, int line = 0, const char* func = nullptr)
        : wxTestingModalHook(file, line, func), file(file ? file : __FILE__), line(line)
    {
    }

    void ReportFailure(const wxString& message) override
    {
        ADD_FAILURE_AT(file, line) << message.utf8_string();
    }

private:
    const char* file;
    int line;
};

// Answers a text-entry dialog: types the text and presses OK (or the button
// given).
class ExpectTextEntry : public wxExpectModalBase<wxTextEntryDialog> {
public:
    explicit ExpectTextEntry(const wxString& text, int button = wxID_OK) : text(text), button(button) {}

protected:
    int OnInvoked(wxTextEntryDialog* dialog) const override
    {
        dialog->SetValue(text);
        return button;
    }

private:
    wxString text;
    int button;
};

// What a file dialog offered when it was shown.
struct OfferedFile {
    std::string title;
    std::string wildcard;
    std::string directory;
    std::string name;
};

// Answers a file dialog with a path, keeping what the dialog offered.
class ExpectFile : public wxExpectModalBase<wxFileDialog> {
public:
    ExpectFile(const std::string& path, OfferedFile* offered, int filterIndex = 0)
        : path(path), offered(offered), filterIndex(filterIndex)
    {
    }

protected:
    int OnInvoked(wxFileDialog* dialog) const override
    {
        // GTK's chooser keeps its title to itself; the message is the title given.
        *offered = {dialog->GetMessage().utf8_string(), dialog->GetWildcard().utf8_string(),
                    dialog->GetDirectory().utf8_string(), dialog->GetFilename().utf8_string()};
        dialog->SetFilterIndex(filterIndex);
        dialog->SetPath(wxString::FromUTF8(path));
        return wxID_OK;
    }

private:
    std::string path;
    OfferedFile* offered;
    int filterIndex;
};

// Sends `key` to the dialog as its window sees a key before any control
// (what a press with the focus anywhere inside does), without the display's
// keyboard, which parallel tests share.
inline void pressKeyIn(wxDialog& dialog, int key)
{
    wxKeyEvent event(wxEVT_CHAR_HOOK);
    event.m_keyCode = key;
    event.SetEventObject(&dialog);
    dialog.GetEventHandler()->ProcessEvent(event);
}
