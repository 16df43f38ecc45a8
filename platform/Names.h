#pragma once

// Rules for the names of platform objects, shared by both stores.

#include <string>

namespace kovraplatform {

// Why name cannot be used, or "" when it can: empty, "." and "..", and names
// holding "/", "\" or control characters are refused, so that no name can
// reach outside its parent folder.
std::string nameProblem(const std::string& name);
// Throws std::invalid_argument with a text for the user when nameProblem.
void checkName(const std::string& name);

// The n-th candidate for a file name that is taken: "plan.xsp", "plan (2).xsp",
// "plan (3).xsp" ... (n counts from 1). A leading point does not start an
// extension (".xsp" becomes ".xsp (2)").
std::string numberedName(const std::string& name, int n);

// The order of children in listings: case-insensitive for ASCII letters,
// byte order between names that differ only in case.
bool nameLess(const std::string& a, const std::string& b);

} // namespace kovraplatform
