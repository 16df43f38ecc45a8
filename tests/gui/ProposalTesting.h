#pragma once

// Stand-ins for the user at the dialogs on a proposal's road: the
// new-proposal dialog, the progress dialog while the optimiser runs, and the
// message boxes the page shows.

#include "DialogTesting.h"
#include "GuiSupport.h"

#include "proposal/ProgressDialog.h"
#include "shell/ProposalDialog.h"

#include <gtest/gtest.h>

#include <wx/generic/msgdlgg.h>
#include <wx/msgdlg.h>

#include <cstdlib>

#include <functional>
#include <string>
#include <utility>

namespace kovra_test {

// Confirms the new-proposal dialog with a name, the building and requirement
// set left as it offers them.
class ExpectProposalDialog : public wxExpectModalBase<ProposalDialog> {
public:
    explicit ExpectProposalDialog(const wxString& name) : name(name) {}

protected:
    int OnInvoked(ProposalDialog* dialog) const override
    {
        dialog->name = name;
        return wxID_OK;
    }

private:
    wxString name;
};

// Stands in for the user while the progress dialog is up: shows it, waits
// until `stopWhen` holds (or the worker has ended by itself), presses "Stop"
// and waits until the worker has reported back.
class RunProgress : public wxExpectModalBase<ProgressDialog> {
public:
    explicit RunProgress(std::function<bool()> stopWhen) : stopWhen(std::move(stopWhen)) {}

protected:
    int OnInvoked(ProgressDialog* dialog) const override
    {
        constexpr int patience = 240000; // ms; sanitized builds on a busy machine are slow
        dialog->Show();
        pumpEventsUntil([&] { return dialog->thread == nullptr || stopWhen(); }, patience);
        if (dialog->thread) {
            wxCommandEvent press(wxEVT_BUTTON, wxID_CANCEL);
            press.SetEventObject(dialog);
            dialog->GetEventHandler()->ProcessEvent(press);
        }
        EXPECT_TRUE(pumpEventsUntil([&] { return dialog->thread == nullptr; }, patience));
        dialog->Hide();
        return wxID_CANCEL;
    }

private:
    std::function<bool()> stopWhen;
};

// Answers a message box with `button` and keeps its text. With a screenshot
// name (and KOVRA_SCREENSHOTS set) the box is first shown as wxWidgets' own
// message box with the same text, caption and buttons, and the screen taken:
// the toolkit's box never appears under the test hooks.
class KeepMessage : public wxExpectModalBase<wxMessageDialog> {
public:
    explicit KeepMessage(std::string* text, int button = wxID_OK, std::string screenshot = {})
        : text(text), button(button), screenshot(std::move(screenshot))
    {
    }

protected:
    int OnInvoked(wxMessageDialog* dialog) const override
    {
        *text = dialog->GetMessage().utf8_string();
        if (!screenshot.empty() && std::getenv("KOVRA_SCREENSHOTS"))
            showForScreenshot(dialog);
        return button;
    }

private:
    class ShownBox : public wxGenericMessageDialog {
    public:
        using wxGenericMessageDialog::wxGenericMessageDialog;
        void build() { DoCreateMsgdialog(); }
    };

    void showForScreenshot(wxMessageDialog* dialog) const
    {
        ShownBox box(dialog->GetParent(), dialog->GetMessage(), dialog->GetCaption(),
                     dialog->GetMessageDialogStyle());
        box.build();
        box.Centre();
        box.Show();
        pumpEventsUntil([&] { return box.IsShownOnScreen(); });
        pumpEvents(300);
        takeScreenshot(screenshot);
        box.Hide();
    }

    std::string* text;
    int button;
    std::string screenshot;
};

} // namespace kovra_test
