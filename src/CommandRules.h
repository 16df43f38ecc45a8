#pragma once

// When the main window's ribbon commands are enabled; the frame's update-UI
// handlers apply these to the open project.

namespace bg {
class Project;
}

// "New Building": a project is open.
bool canAddBuilding(const bg::Project* project);
// "New Requirement Set", "Import Requirement Set", "New Site": the project
// has a building.
bool canAddWithBuilding(const bg::Project* project);
// "New Proposal": the project has a building and a requirement set.
bool canAddProposal(const bg::Project* project);
// The platform's "Save Project": logged in and a project is open.
bool canSaveToPlatform(const bg::Project* project, bool connected);
