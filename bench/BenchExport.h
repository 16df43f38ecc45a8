#pragma once

// The export row: a solved three-floor, thirty-room proposal written as
// IFC4 and as IFC2X3, timed, with the file's size and entity count.

#include <string>

namespace bench {

// Prints the table; returns 0, or 1 when the proposal fails the layout
// checker or an export throws. repeats: exports per schema, the fastest
// reported. keepFolder, when not empty, receives the files.
int runExportBench(int repeats, const std::string& keepFolder);

} // namespace bench
