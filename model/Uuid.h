#pragma once

#include <string>

namespace bg {

// A random version-4 uuid text: 36 lowercase characters, 8-4-4-4-12 hex
// digits, "4" opening the third group, one of "89ab" opening the fourth.
std::string generateUuid();

} // namespace bg
