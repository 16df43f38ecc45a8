#pragma once

// wxTEST_DIALOG for GoogleTest: a modal dialog that was not expected, or an
// expected one that did not come, fails the running test (the library's own
// hook only prints when its assertions are off).

#include <gtest/gtest.h>

#include <wx/modalhook.h>
#include <wx/string.h>
#include <wx/textdlg.h>

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
