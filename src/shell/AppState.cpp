#include "AppState.h"

#include "proposal/InnerContours.h"

#include "model/Project.h"

#include <stdexcept>

void AppState::registerPage(const std::shared_ptr<bg::Proposal>& proposal, wxWindow* page)
{
    proposalPages[proposal] = page;
}

void AppState::registerPage(const std::shared_ptr<bg::RequirementSet>& requirementSet, wxWindow* page)
{
    requirementSetPages[requirementSet] = page;
}

void AppState::registerPage(const std::shared_ptr<bg::Site>& site, wxWindow* page)
{
    sitePages[site] = page;
}

void AppState::registerPage(const std::shared_ptr<bg::Building>& building, wxWindow* page)
{
    buildingPages[building] = page;
}

void AppState::saveProject(const wxString& path)
{
    if (!project)
        throw std::runtime_error("There is no open project to save.");
    project->saveToFile(std::string(path.fn_str()));
}

std::vector<std::string> AppState::loadProject(const wxString& path)
{
    std::vector<std::string> warnings;
    auto loaded = bg::Project::load(std::string(path.fn_str()), &warnings);
    if (!loaded)
        throw std::runtime_error("The file " + path.ToStdString() + " holds no project.");
    // Whatever can still fail is done before the open project is replaced,
    // so that a failure leaves the window and the state on the same project.
    recomputeInnerContours(loaded.get());
    project = loaded;
    return warnings;
}

AppState& getAppState()
{
    static AppState state;
    return state;
}
