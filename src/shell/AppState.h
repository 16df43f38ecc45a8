#pragma once

#include <wx/string.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

class wxWindow;

namespace bg {
class Building;
class Project;
class Proposal;
class RequirementSet;
class Site;
} // namespace bg

// The process-wide document state: the open project and which notebook page
// shows which model object. Used on the GUI thread only.
//
// Page maps: a workspace page registers itself at the end of its
// constructor, once nothing in it can throw any more, and registers null from its destructor; a null page means the object has no
// open page. Entries are never erased, so at most one page per object is
// found by looking the map up before opening one.
class AppState {
public:
    void registerPage(const std::shared_ptr<bg::Proposal>& proposal, wxWindow* page);
    void registerPage(const std::shared_ptr<bg::RequirementSet>& requirementSet, wxWindow* page);
    void registerPage(const std::shared_ptr<bg::Site>& site, wxWindow* page);
    void registerPage(const std::shared_ptr<bg::Building>& building, wxWindow* page);

    // Writes the open project to path through a temporary file; throws
    // std::runtime_error (no project open, file not writable), leaving an
    // earlier file at path as it was.
    void saveProject(const wxString& path);
    // Replaces the open project by the one read from path, its rooms' inner
    // outlines derived, and returns what the load mended, one sentence each.
    // Throws when the file cannot be read, holds no project or has a room the
    // outlines cannot be derived from; the open project then stays as it was.
    std::vector<std::string> loadProject(const wxString& path);

    // The platform resource id of the project when it came from the
    // platform; empty otherwise.
    std::string platformResourceId;
    // The open project; empty while none is open.
    std::shared_ptr<bg::Project> project;
    std::map<std::shared_ptr<bg::Proposal>, wxWindow*> proposalPages;
    std::map<std::shared_ptr<bg::RequirementSet>, wxWindow*> requirementSetPages;
    std::map<std::shared_ptr<bg::Site>, wxWindow*> sitePages;
    std::map<std::shared_ptr<bg::Building>, wxWindow*> buildingPages;
};

AppState& getAppState();
