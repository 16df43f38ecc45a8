#pragma once

#include <string>

namespace bg {

// Writes text (in text mode) to a temporary file in the target's folder and
// renames it onto the target once it is complete, so that a failed save
// leaves any earlier file at path as it was. Throws std::runtime_error naming
// the path and the cause when any step fails.
void writeFileAtomically(const std::string& path, const std::string& text);

} // namespace bg
