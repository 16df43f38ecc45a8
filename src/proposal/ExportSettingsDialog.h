#pragma once

#include "export/ExportSettings.h"

#include <wx/dialog.h>

#include <array>

class wxCheckBox;
class wxStaticText;
class wxTextCtrl;

// The options of the IFC export: fifteen check boxes and seven U-values.
// OK writes them back only when every U-value field holds a number; a bad
// field is named below the grid and the dialog stays open. Cancel and the
// close box leave the record as it was.
class ExportSettingsDialog : public wxDialog {
public:
    ExportSettingsDialog(wxWindow* parent, bgexport::ExportSettings* settings);

    bgexport::ExportSettings* settings; // edited, not owned
    std::array<wxCheckBox*, 15> checkBoxes{}; // in the order of bgexport::settingsFlags
    std::array<wxTextCtrl*, 7> fields{};      // in the order of bgexport::settingsUValues
    wxStaticText* errorText = nullptr;        // why OK did not close the dialog

private:
    void onOk(wxCommandEvent& event);
};
