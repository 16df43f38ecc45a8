#pragma once

// The IFC building export: one proposal of a project written as an IFC4 or
// IFC2X3 file.

#include "export/ExportSettings.h"

#include <memory>
#include <string>
#include <vector>

namespace bg {
class Project;
class Proposal;
} // namespace bg

namespace bgexport {

class Exporter {
public:
    virtual ~Exporter() = default;
    virtual void write(const std::string& path, const std::shared_ptr<bg::Project>& project,
                       const std::shared_ptr<bg::Proposal>& proposal, const std::string& author) = 0;
};

// Schema codes of IfcExporter.
constexpr int schemaIfc2x3 = 0;
constexpr int schemaIfc4 = 1;

class IfcExporter : public Exporter {
public:
    explicit IfcExporter(int schema) : schema(schema) {}

    // Builds the whole file in memory and only then replaces the file at
    // path, so a failed export leaves an earlier file as it was. Throws:
    // std::logic_error "Unsupported IFC schema (no writer available)." for a
    // schema other than 0 and 1, and std::runtime_error for a proposal
    // without a building or with a gap in its floor levels (all before the
    // file is touched), and "Could not open file " + path when the file
    // cannot be written. The options are read from a copy of *settings (the
    // process-wide record when null): what an export switches off for itself
    // never reaches the record.
    void write(const std::string& path, const std::shared_ptr<bg::Project>& project,
               const std::shared_ptr<bg::Proposal>& proposal, const std::string& author) override;

    // The text write puts into the file, built in memory; throws as write
    // except for the file's own failure.
    std::string fileText(const std::shared_ptr<bg::Project>& project, const std::shared_ptr<bg::Proposal>& proposal,
                         const std::string& author);

    ExportSettings* settings = nullptr; // not owned
    int schema;
    // What the last write skipped or mended, one sentence each.
    std::vector<std::string> warnings;
};

// The export command of the proposal page: writes the proposal as an IFC
// file with schema schemaIfc4 or schemaIfc2x3, reading the options from a
// copy of settings, and returns the warnings to log. The project gives the
// site (latitude, longitude, true north); it may be null. Throws as
// IfcExporter::write.
std::vector<std::string> exportProposal(const std::shared_ptr<bg::Project>& project,
                                        const std::shared_ptr<bg::Proposal>& proposal, const std::string& path,
                                        int schema, const ExportSettings& settings, const std::string& author);

} // namespace bgexport
