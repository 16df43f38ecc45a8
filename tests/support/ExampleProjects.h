#pragma once

// The example projects under examples/: a bungalow, an L-shaped house and a
// two-storey house with stairs and a room that may go on either floor. Each
// holds its building, its requirement set and one unsolved proposal, so that
// it opens in the application ready for "Start". The files are written from
// these builders (see ExampleProjectsTest) and committed.

#include "model/Project.h"

#include <memory>
#include <string>
#include <vector>

namespace kovra_test {

struct ExampleInfo {
    const char* file; // under examples/
    const char* what; // one line for the README
};

const std::vector<ExampleInfo>& examples();

// The project the example's file holds; throws std::invalid_argument for a
// file that is not an example.
std::shared_ptr<bg::Project> makeExampleProject(const std::string& file);

} // namespace kovra_test
