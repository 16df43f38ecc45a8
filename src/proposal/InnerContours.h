#pragma once

namespace bg {
class Project;
}

// Derives the inner contour of every placed room of every proposal of the
// project (after a load, where inner contours are not stored): each room on
// a level from its building's lowest to its highest floor level with a
// contour gets that contour inset by half the default inner wall thickness.
// Other rooms keep theirs. Nothing happens for a null project.
void recomputeInnerContours(bg::Project* project);

// The same for the open project.
void recomputeInnerContours();
