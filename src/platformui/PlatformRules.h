#pragma once

// Naming rules of the platform dialogs, kept apart from the windows so that
// they are tested headless.

#include <string>

// The text after the last point of a platform file name; the whole name when
// it has no point. Compared case-sensitively by the callers.
std::string lastExtension(const std::string& name);
// A file that "Open Project" loads: its last extension is exactly "xsp".
bool isProjectFileName(const std::string& name);
// A file that a requirement set imports: its last extension is exactly "csv".
bool isRequirementFileName(const std::string& name);
// The name up to, not including, its first point; the whole name without one.
std::string nameBeforeFirstPoint(const std::string& name);
// Why a file name made from a project's or set's name cannot be stored on
// the platform, or "" when it can: the platform's own rules, and no leading
// point (".." and hidden names). Project names are free text and come
// verbatim from project files.
std::string savedNameProblem(const std::string& name);
