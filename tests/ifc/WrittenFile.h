#pragma once

// Drives an IFC writer into a string and reads the result back as lines and
// entity instances, for tests.

#include "ifc/Writer.h"
#include "ifc/Writer2x3.h"
#include "ifc/Writer4.h"
#include "step/Writer.h"

#include <map>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace ifctest {

// A schema writer with its protected state in view.
template <class SchemaWriter>
struct Probe : SchemaWriter {
    using SchemaWriter::SchemaWriter;
    using ifc::Writer::contexts;
    using ifc::Writer::doorPanels;
    using ifc::Writer::elementQuantities;
    using ifc::Writer::materialLayers;
    using ifc::Writer::ownerHistory;
    using ifc::Writer::planContexts;
    using ifc::Writer::properties;
    using ifc::Writer::relations;
    using ifc::Writer::space;
    using ifc::Writer::spacePlacement;
    using ifc::Writer::waitingForOwner;
    using ifc::Writer::worldCoordinateSystem;
    using ifc::Writer::currentElement;
    using ifc::Writer::doorType;
};

// One data line "#id=NAME(attributes);" taken apart.
struct Instance {
    std::uint64_t id = 0;
    std::string name;
    std::string attributes; // between the outer parentheses
    std::string line;
    // Top-level attributes, split at commas outside parentheses and strings.
    std::vector<std::string> split() const;
};

inline std::vector<std::string> Instance::split() const
{
    std::vector<std::string> parts;
    std::string current;
    int depth = 0;
    bool inString = false;
    for (char c : attributes) {
        if (inString) {
            current += c;
            if (c == '\'')
                inString = false; // a doubled apostrophe reopens at once
            continue;
        }
        if (c == '\'')
            inString = true;
        else if (c == '(')
            ++depth;
        else if (c == ')')
            --depth;
        else if (c == ',' && depth == 0) {
            parts.push_back(current);
            current.clear();
            continue;
        }
        current += c;
    }
    if (!attributes.empty())
        parts.push_back(current);
    return parts;
}

// An IFC file written into memory by a writer of the given schema.
template <class SchemaWriter>
class WrittenFile {
public:
    WrittenFile() : step(std::make_unique<step::Writer>(out)), writer(std::make_unique<Probe<SchemaWriter>>(*step))
    {
    }

    Probe<SchemaWriter>& operator*() { return *writer; }
    Probe<SchemaWriter>* operator->() { return writer.get(); }

    // Ends the file (the last entity is written when the writers go) and
    // returns its lines.
    const std::vector<std::string>& finish()
    {
        if (step) {
            writer.reset();
            step.reset();
            std::istringstream in(out.str());
            std::string line;
            static const std::regex data(R"re(^#(\d+)=([A-Z0-9_]+)\((.*)\);$)re");
            std::smatch match;
            while (std::getline(in, line)) {
                lines_.push_back(line);
                if (std::regex_match(line, match, data)) {
                    Instance instance{std::stoull(match[1]), match[2], match[3], line};
                    order_.push_back(instance.id);
                    instances_[instance.id] = instance;
                }
            }
        }
        return lines_;
    }

    // The data entities in file order.
    const std::vector<std::uint64_t>& order()
    {
        finish();
        return order_;
    }

    const Instance& instance(std::uint64_t id)
    {
        finish();
        return instances_.at(id);
    }

    bool has(std::uint64_t id)
    {
        finish();
        return instances_.count(id) != 0;
    }

    // The data lines in file order.
    std::vector<std::string> dataLines()
    {
        std::vector<std::string> result;
        for (std::uint64_t id : order())
            result.push_back(instances_.at(id).line);
        return result;
    }

    std::vector<std::string> namesInOrder()
    {
        std::vector<std::string> result;
        for (std::uint64_t id : order())
            result.push_back(instances_.at(id).name);
        return result;
    }

private:
    std::ostringstream out;
    std::unique_ptr<step::Writer> step;
    std::unique_ptr<Probe<SchemaWriter>> writer;
    std::vector<std::string> lines_;
    std::vector<std::uint64_t> order_;
    std::map<std::uint64_t, Instance> instances_;
};

// The GlobalId in the line replaced by "G", for golden comparisons.
inline std::string withoutGlobalIds(const std::string& line)
{
    static const std::regex globalId(R"re('[0-3][0-9a-zA-Z_$]{21}')re");
    return std::regex_replace(line, globalId, "G");
}

} // namespace ifctest
