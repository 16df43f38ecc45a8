#include "ProposalDialog.h"

#include "AppState.h"

#include "model/Building.h"
#include "model/Project.h"
#include "model/Requirement.h"

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/valtext.h>

#include <iterator>

ProposalDialog::ProposalDialog(wxWindow* parent, const wxString& initialName) : name(initialName)
{
    Create(parent, ID_PROPOSAL_DIALOG, "New Proposal", wxDefaultPosition, wxDefaultSize, wxDEFAULT_DIALOG_STYLE);
    SetWindowStyle(wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER);
    SetSize(500, 300);

    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->SetMinSize(800, 600);
    auto* grid = new wxFlexGridSizer(2, 0, 0);
    grid->AddGrowableCol(1);
    auto addRow = [&](const char* label, wxWindow* control) {
        grid->Add(new wxStaticText(this, wxID_ANY, label), 0, wxALIGN_CENTER_VERTICAL | wxALL, 5);
        grid->Add(control, 0, wxEXPAND | wxALL, 5);
    };
    addRow("Name", new wxTextCtrl(this, ID_NAME, wxEmptyString, wxDefaultPosition, wxDefaultSize, 0,
                                  wxTextValidator(wxFILTER_EMPTY, &name)));
    buildingChoice = new wxChoice(this, ID_BUILDING);
    addRow("Building", buildingChoice);
    requirementSetChoice = new wxChoice(this, ID_REQUIREMENT_SET);
    requirementSetChoice->SetMinSize(wxSize(300, -1));
    addRow("Requirement set", requirementSetChoice);
    sizer->Add(grid, 1, wxEXPAND | wxALL, 5);

    auto* buttons = new wxStdDialogButtonSizer;
    auto* confirm = new wxButton(this, wxID_OK, "Confirm");
    confirm->SetDefault(); // Enter confirms, Escape cancels
    buttons->AddButton(confirm);
    buttons->AddButton(new wxButton(this, wxID_CANCEL, "Cancel"));
    buttons->Realize();
    sizer->Add(buttons, 0, wxALIGN_RIGHT | wxALL, 5);

    Bind(wxEVT_CHOICE, &ProposalDialog::onBuildingChosen, this, ID_BUILDING);
    Bind(wxEVT_CHOICE, &ProposalDialog::onRequirementSetChosen, this, ID_REQUIREMENT_SET);
    fillRequirementSets();
    fillBuildings();

    SetSizer(sizer);
    Centre(wxBOTH);
    Layout();
}

ProposalDialog::~ProposalDialog() = default;

void ProposalDialog::fillRequirementSets()
{
    requirementSetChoice->Clear();
    requirementSet.reset();
    const auto& project = getAppState().project;
    if (!project || project->requirementSets.empty())
        return;
    for (const auto& set : project->requirementSets)
        requirementSetChoice->Append(wxString::FromUTF8(set->name), set.get());
    requirementSet = project->requirementSets.front();
    requirementSetChoice->SetSelection(0);
}

void ProposalDialog::fillBuildings()
{
    buildingChoice->Clear();
    building.reset();
    const auto& project = getAppState().project;
    if (!project || project->buildings.empty())
        return;
    for (const auto& each : project->buildings)
        buildingChoice->Append(wxString::FromUTF8(each->name));
    building = project->buildings.front();
    buildingChoice->SetSelection(0);
}

void ProposalDialog::onBuildingChosen(wxCommandEvent& event)
{
    const int n = event.GetInt();
    const auto& project = getAppState().project;
    if (n < 0)
        return;
    if (project && static_cast<std::size_t>(n) < project->buildings.size())
        building = *std::next(project->buildings.begin(), n);
    else
        building.reset();
}

void ProposalDialog::onRequirementSetChosen(wxCommandEvent& event)
{
    const int n = event.GetInt();
    if (n < 0 || static_cast<unsigned>(n) >= requirementSetChoice->GetCount())
        return;
    auto* set = static_cast<bg::RequirementSet*>(requirementSetChoice->GetClientData(static_cast<unsigned>(n)));
    requirementSet = set ? set->shared_from_this() : nullptr;
}
