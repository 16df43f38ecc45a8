#pragma once

#include <wx/dialog.h>

#include <memory>

class wxChoice;

namespace bg {
class Building;
class RequirementSet;
} // namespace bg

// The modal "New Proposal" dialog: a name, and the building and requirement
// set of the open project the proposal pairs. Results, read after ShowModal
// returned wxID_OK: name, building, requirementSet. A choice without items
// (a project without buildings or sets) leaves its result empty.
class ProposalDialog : public wxDialog {
public:
    enum { ID_PROPOSAL_DIALOG = 20162, ID_NAME = 20163, ID_BUILDING = 20164, ID_REQUIREMENT_SET = 20165 };

    ProposalDialog(wxWindow* parent, const wxString& initialName);
    ~ProposalDialog() override;

    void fillRequirementSets();
    void fillBuildings();

    // Edited by the "Name" field through a not-empty validator.
    wxString name;
    std::shared_ptr<bg::Building> building;
    std::shared_ptr<bg::RequirementSet> requirementSet;
    wxChoice* buildingChoice = nullptr;
    wxChoice* requirementSetChoice = nullptr;

private:
    void onBuildingChosen(wxCommandEvent& event);
    void onRequirementSetChosen(wxCommandEvent& event);
};
