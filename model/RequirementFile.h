#pragma once

#include <istream>
#include <memory>
#include <string>
#include <vector>

namespace bg {

class Requirement;
class RequirementSet;

// Requirement files (".csv") carry the requirements of one set as text: a
// header line of 18 column names, one line per requirement in set order and
// a closing line "End". Fields are separated by ";" without quoting; numbers
// are written "%f", or in the shortest exact form where "%f" would turn a
// value that is not zero into zero. Orientation, lock and expected position are not
// stored.

// Writes the set's requirements to path through a temporary file that
// replaces the target only when complete. Throws std::runtime_error, before
// anything is written, for a requirement whose name, room type or boundary
// wish holds ";" or a line break (the format cannot carry them, and other
// readers of it know no quoting), and when the file cannot be written; an
// earlier file at path then stays as it was.
void exportRequirementsCsv(const std::shared_ptr<RequirementSet>& set, const std::string& path);
// The text exportRequirementsCsv writes; throws as it does for what the file
// cannot carry (also a number that is not finite).
std::string requirementsCsvText(const RequirementSet& set);

// New requirements in file order, read up to the first line whose first field
// is "End" (or the end of the file). Each gets orientation "horizontal", lock
// 0, no expected position (noExpectedPosition) and the aspect-ratio limits
// minLength / maxWidth and maxLength / minWidth; an empty boundary field
// reads as "whatever", an empty adjacency field or "-1" as {-1}, an empty
// level as anyFloor. Windows line ends are accepted and empty lines skipped.
// A number that is not finite, a maximum length over the minimum width that
// overflows, a NUL character anywhere and a carriage return within a line
// are refused like other bad fields.
// Indices and adjacency lists are taken as they are.
//
// Throws, naming the file and the line: std::runtime_error when the file
// cannot be read or has no header line, for a line without exactly 18
// fields, and for a width that is zero or negative or a length that is
// negative (the aspect-ratio limits would be infinite or undefined);
// std::invalid_argument or std::out_of_range, naming the column too, for a
// number that does not convert. Nothing is returned then.
// lineNumbers, when given, receives the line each requirement stands on.
std::vector<std::shared_ptr<Requirement>> importRequirementsCsv(const std::string& path,
                                                                std::vector<int>* lineNumbers = nullptr);
// The same from a stream; path only names the source in messages.
std::vector<std::shared_ptr<Requirement>> readRequirementsCsv(std::istream& in, const std::string& path,
                                                              std::vector<int>* lineNumbers = nullptr);

// What a file may hold and the check before a run refuses, one sentence for
// each problem, beginning with the requirement's line ("Line 3: Room 1
// \"Bath\": the area is negative (-6)."): a negative area, an index an earlier
// line has, a minimum area above the maximum, a door to a room the file does
// not have, and, when floorLevels is given, a level other than anyFloor that
// none of them is. Empty when there is none.
std::vector<std::string> requirementFileProblems(const std::vector<std::shared_ptr<Requirement>>& requirements,
                                                 const std::vector<int>& lineNumbers,
                                                 const std::vector<int>* floorLevels);

} // namespace bg
