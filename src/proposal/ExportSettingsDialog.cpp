#include "ExportSettingsDialog.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/valtext.h>

#include <algorithm>
#include <exception>

namespace {

// The check boxes of each grid row, by their index in settingsFlags; -1
// leaves the cell empty.
const int rowFlags[8][2] = {{0, 1}, {2, 3}, {4, 5}, {6, 9}, {7, 8}, {10, 11}, {12, 13}, {14, -1}};

} // namespace

ExportSettingsDialog::ExportSettingsDialog(wxWindow* parent, bgexport::ExportSettings* settings)
    : wxDialog(parent, 20170, "Export Settings", wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX | wxRESIZE_BORDER),
      settings(settings)
{
    auto* box = new wxBoxSizer(wxVERTICAL);
    auto* grid = new wxFlexGridSizer(4, 0, 0);

    for (std::size_t i = 0; i < checkBoxes.size(); ++i)
        checkBoxes[i] = new wxCheckBox(this, wxID_ANY, bgexport::settingsFlags()[i].label);
    wxTextValidator numberOnly(wxFILTER_INCLUDE_CHAR_LIST);
    numberOnly.SetCharIncludes("0123456789.,-+eE ");
    std::array<wxStaticText*, 7> labels{};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        labels[i] = new wxStaticText(this, wxID_ANY, bgexport::settingsUValues()[i].label);
        fields[i] = new wxTextCtrl(this, wxID_ANY,
                                   bgexport::formatUValue(settings->*(bgexport::settingsUValues()[i].value)),
                                   wxDefaultPosition, wxDefaultSize, 0, numberOnly);
    }

    for (int row = 0; row < 8; ++row) {
        for (int column = 0; column < 2; ++column) {
            const int flag = rowFlags[row][column];
            if (flag >= 0)
                grid->Add(checkBoxes[static_cast<std::size_t>(flag)], 0, wxALL, 5);
            else
                grid->AddSpacer(0);
        }
        if (row < 7) {
            grid->Add(labels[static_cast<std::size_t>(row)], 0, wxALL, 5);
            grid->Add(fields[static_cast<std::size_t>(row)], 0, wxALL, 5);
        }
    }
    box->Add(grid, 0, wxALL, 5);
    errorText = new wxStaticText(this, wxID_ANY, "");
    errorText->SetForegroundColour(*wxRED);
    box->Add(errorText, 0, wxLEFT | wxRIGHT | wxEXPAND, 10);
    auto* buttons = new wxStdDialogButtonSizer();
    buttons->AddButton(new wxButton(this, wxID_CANCEL));
    auto* ok = new wxButton(this, wxID_OK);
    ok->SetDefault(); // Enter confirms, Escape cancels
    buttons->AddButton(ok);
    buttons->Realize();
    box->Add(buttons, 0, wxALL | wxALIGN_RIGHT, 5);
    SetSizer(box);

    for (std::size_t i = 0; i < checkBoxes.size(); ++i)
        checkBoxes[i]->SetValue(settings->*(bgexport::settingsFlags()[i].flag));
    Bind(wxEVT_BUTTON, &ExportSettingsDialog::onOk, this, wxID_OK);
    // The inside of the window fits what it holds: a window manager's frame
    // comes on top of that, so sizing the outside would cut off the buttons.
    box->SetSizeHints(this);
    const wxSize best = GetClientSize();
    SetClientSize(std::max(600, best.x), best.y);
    Centre(wxBOTH);
}

void ExportSettingsDialog::onOk(wxCommandEvent&)
{
    try {
        std::array<std::string, 7> texts;
        for (std::size_t i = 0; i < fields.size(); ++i)
            texts[i] = fields[i]->GetValue().ToStdString();
        bgexport::ExportSettings edited = *settings;
        int badField = -1;
        const std::string error = bgexport::parseUValues(texts, edited, &badField);
        if (!error.empty()) {
            errorText->SetLabel(error);
            Layout();
            if (badField >= 0)
                fields[static_cast<std::size_t>(badField)]->SetFocus();
            return;
        }
        for (std::size_t i = 0; i < checkBoxes.size(); ++i)
            edited.*(bgexport::settingsFlags()[i].flag) = checkBoxes[i]->GetValue();
        *settings = edited;
        EndModal(wxID_OK);
    } catch (const std::exception& e) {
        errorText->SetLabel(e.what());
        Layout();
    }
}
