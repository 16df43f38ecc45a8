#pragma once

// The benchmark's cases: six proposals, each kept as a project file under
// bench/data/ so that it opens in the application as well. The files are
// written once by writeCaseFiles; every run reads them back, so the bench
// measures what the file holds, not what the generator meant.

#include "model/Project.h"

#include <memory>
#include <string>
#include <vector>

namespace bench {

struct CaseInfo {
    const char* id;   // short name for the table and the command line
    const char* file; // file name under the data folder
    const char* what; // one line for the README and --list
};

// The six cases in table order.
const std::vector<CaseInfo>& cases();

// The scale cases (kovra_bench --scale): 6 to 24 rooms on one and on two
// floors, with corridors and doors, made by the same generator.
const std::vector<CaseInfo>& scaleCases();

// The case with this id or 1-based number (scale cases by id only); null
// when there is none.
const CaseInfo* findCase(const std::string& idOrNumber);

// A project holding the case's building, requirement set and one proposal.
std::shared_ptr<bg::Project> makeCaseProject(const CaseInfo& info);

// Writes every case's project file into the folder; returns the paths.
std::vector<std::string> writeCaseFiles(const std::string& folder);

// The project of the case's file, checked as loadCase checks it.
std::shared_ptr<bg::Project> loadCaseProject(const std::string& folder, const CaseInfo& info);

// The proposal of the case's file. Throws std::runtime_error naming the file
// when it cannot be read, holds no proposal or loads with warnings.
std::shared_ptr<bg::Proposal> loadCase(const std::string& folder, const CaseInfo& info);

} // namespace bench
