#include "DialogTesting.h"
#include "GuiSupport.h"

#include "proposal/ExportSettingsDialog.h"

#include <gtest/gtest.h>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <cstdlib>
#include <functional>
#include <string>

namespace {

// Runs the dialog modally; `act` runs once the dialog is up and answers it
// through its controls.
int runModal(ExportSettingsDialog& dialog, const std::function<void()>& act)
{
    dialog.CallAfter([&] { act(); });
    return dialog.ShowModal();
}

void press(ExportSettingsDialog& dialog, int id)
{
    auto* button = wxDynamicCast(dialog.FindWindow(id), wxButton);
    ASSERT_NE(button, nullptr);
    wxCommandEvent click(wxEVT_BUTTON, id);
    click.SetEventObject(button);
    button->GetEventHandler()->ProcessEvent(click);
}

void screenshot(wxWindow& window, const std::string& name)
{
    const char* folder = std::getenv("KOVRA_SCREENSHOTS");
    if (!folder)
        return;
    window.Refresh();
    window.Update();
    for (int i = 0; i < 20; ++i)
        wxYield();
    std::system(("import -window root " + std::string(folder) + "/" + name + ".png").c_str());
}

TEST(ExportSettingsDialog, ShowsTheRecord)
{
    bgexport::ExportSettings settings;
    settings.doorUValue = 0.356;
    settings.enableZone = false;
    ExportSettingsDialog dialog(nullptr, &settings);
    EXPECT_EQ(dialog.GetTitle(), "Export Settings");
    EXPECT_EQ(dialog.GetId(), 20170);
    for (std::size_t i = 0; i < dialog.checkBoxes.size(); ++i) {
        EXPECT_EQ(dialog.checkBoxes[i]->GetLabel(), bgexport::settingsFlags()[i].label);
        EXPECT_EQ(dialog.checkBoxes[i]->GetValue(), settings.*(bgexport::settingsFlags()[i].flag)) << i;
    }
    EXPECT_EQ(dialog.fields[0]->GetValue(), "1.00");
    EXPECT_EQ(dialog.fields[5]->GetValue(), "0.36");
}

TEST(ExportSettingsDialog, EnterInAFieldConfirmsAndEscapeCancels)
{
    bgexport::ExportSettings settings;
    ExportSettingsDialog dialog(nullptr, &settings);
    // Enter in a field presses the default button.
    EXPECT_EQ(dialog.GetDefaultItem(), dialog.FindWindow(wxID_OK));
    const int result = runModal(dialog, [&] {
        dialog.fields[1]->ChangeValue("7");
        pressKeyIn(dialog, WXK_ESCAPE);
    });
    EXPECT_EQ(result, wxID_CANCEL);
    EXPECT_DOUBLE_EQ(settings.floorSlabUValue, 1.0);
}

TEST(ExportSettingsDialog, ShowsAllItsControlsWithinTheScreen)
{
    bgexport::ExportSettings settings;
    ExportSettingsDialog dialog(nullptr, &settings);
    dialog.Show();
    pumpEventsUntil([&] { return dialog.IsShownOnScreen(); });
    pumpEvents(200);
    const wxRect inside(wxPoint(0, 0), dialog.GetClientSize());
    for (int id : {wxID_OK, wxID_CANCEL}) {
        wxWindow* button = dialog.FindWindow(id);
        ASSERT_NE(button, nullptr);
        EXPECT_TRUE(inside.Contains(button->GetRect())) << id;
        EXPECT_GE(button->GetSize().y, button->GetBestSize().y) << id;
    }
    for (wxTextCtrl* field : dialog.fields)
        EXPECT_TRUE(inside.Contains(field->GetRect()));
    screenshot(dialog, "export-settings-dialog");
    dialog.Hide();
}

TEST(ExportSettingsDialog, CancelLeavesTheRecordAsItWas)
{
    bgexport::ExportSettings settings;
    ExportSettingsDialog dialog(nullptr, &settings);
    const int result = runModal(dialog, [&] {
        dialog.checkBoxes[0]->SetValue(false);
        dialog.fields[1]->ChangeValue("7");
        press(dialog, wxID_CANCEL);
    });
    EXPECT_EQ(result, wxID_CANCEL);
    EXPECT_TRUE(settings.enableDoorStyles);
    EXPECT_DOUBLE_EQ(settings.floorSlabUValue, 1.0);
}

TEST(ExportSettingsDialog, BadFieldIsNamedAndKeepsTheDialogOpenUntilMended)
{
    bgexport::ExportSettings settings;
    ExportSettingsDialog dialog(nullptr, &settings);
    bool stayedOpen = false;
    std::string shown;
    const int result = runModal(dialog, [&] {
        dialog.checkBoxes[13]->SetValue(true); // "Roundtrip"
        dialog.fields[0]->ChangeValue("0.356");
        dialog.fields[5]->ChangeValue("-");
        press(dialog, wxID_OK);
        stayedOpen = dialog.IsModal();
        shown = dialog.errorText->GetLabel().ToStdString();
        // Nothing of the dialog reached the record yet.
        EXPECT_FALSE(settings.enableRoundtrip);
        EXPECT_DOUBLE_EQ(settings.baseSlabUValue, 1.0);
        screenshot(dialog, "export-settings-dialog-bad-field");
        dialog.fields[5]->ChangeValue("1.5 W");
        press(dialog, wxID_OK);
    });
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(shown.rfind("Door u value", 0), 0u) << shown;
    EXPECT_EQ(result, wxID_OK);
    EXPECT_TRUE(settings.enableRoundtrip);
    EXPECT_DOUBLE_EQ(settings.baseSlabUValue, 0.356);
    EXPECT_DOUBLE_EQ(settings.doorUValue, 1.5);

    ExportSettingsDialog reopened(nullptr, &settings);
    EXPECT_EQ(reopened.fields[0]->GetValue(), "0.36");
}

} // namespace
