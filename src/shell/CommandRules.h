#pragma once

// Rules of the main window's commands apart from the window: when a ribbon
// command is enabled, and how an imported requirement set is named.

#include <cstddef>
#include <string>
#include <vector>

namespace bg {
class Project;
}

// What the enabling rules look at.
struct CommandContext {
    bool projectOpen = false;
    std::size_t buildings = 0;
    std::size_t requirementSets = 0;
    bool connected = false; // logged in to the platform
};

CommandContext commandContext(const bg::Project* project, bool connected);

// Whether the main window enables the ribbon command id: "New Building"
// needs a project; "New Requirement Set", "Import Requirement Set" and "New
// Site" a building; "New Proposal" a building and a requirement set; the
// platform's "Save Project" a login and a project. Other commands are
// always enabled.
bool isCommandEnabled(int id, const CommandContext& context);

// The name of a requirement set imported from the file at path: the file's
// name up to its first "." ("rooms.old.csv" gives "rooms"); folders, also
// dotted ones, play no part. A name that would be empty (".csv") is the
// whole file name.
std::string requirementSetNameFor(const std::string& path);

// The main window's first size on a work area of the given size: two thirds
// of it, but no less than the pages need to show their controls (1200 x 760),
// and never more than the work area.
struct FrameSize {
    int width = 0;
    int height = 0;
};
FrameSize initialFrameSize(int areaWidth, int areaHeight);

// The keys of the project commands, with Ctrl: New, Open and Save.
struct CommandKey {
    int key;
    int id;
};
const std::vector<CommandKey>& projectCommandKeys();
