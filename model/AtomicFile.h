#pragma once

#include <string>

namespace bg {

// Writes text to a temporary file in the target's folder and renames it onto
// the target once it is complete, so that a failed save leaves any earlier
// file at path as it was. As careful editors do, a symbolic link is followed
// and its target written (the link stays), the replacement keeps the old
// file's mode (and owner where allowed), a file with several hard links is
// overwritten in place (its old text written back when that fails) so that
// its names stay one file, and a target that is not a regular file (a
// folder, FIFO or device) is refused untouched. Throws std::runtime_error
// naming the path and the cause when any step fails.
void writeFileAtomically(const std::string& path, const std::string& text);

} // namespace bg
