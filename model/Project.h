#pragma once

#include "model/Serializable.h"

#include <list>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace bg {

class Building;
class Proposal;
class RequirementSet;
class Site;

// Everything the user works on: buildings, sites, requirement sets and
// proposals, each list in the order the objects were added.
class Project : public Serializable<References> {
public:
    explicit Project(const std::string& name);

    void addBuilding(const std::shared_ptr<Building>& building);
    void addRequirementSet(const std::shared_ptr<RequirementSet>& requirementSet);

    // Reads a project file (".xsp"). Throws std::runtime_error naming the file
    // when it cannot be read, is not well-formed XML or has no "project"
    // element, and naming the element when a required one is missing or a
    // number is malformed, not finite or out of its range (std::invalid_argument,
    // std::out_of_range; a latitude lies within -90..90, a longitude within
    // -180..180), and std::runtime_error for a NUL character, which XML
    // cannot carry (as it is or as a character reference); nothing
    // half-read is returned. Damage the load mended (a link to an object the
    // file does not hold, stored levels that disagree with the floors) is
    // appended to warnings, one sentence each.
    static std::shared_ptr<Project> load(const std::string& path, std::vector<std::string>* warnings = nullptr);
    // The same from the text of a project file.
    static std::shared_ptr<Project> loadFromText(const std::string& text,
                                                 std::vector<std::string>* warnings = nullptr);
    // Replaces the text of out with the project file's document. Every save
    // hands out new ids. Texts are written so that they read back exactly;
    // a text holding a NUL or a number that is not finite raises
    // std::invalid_argument, and nothing is written then.
    void saveToStream(std::stringstream& out) const;
    // Writes the project file to path through a temporary file in the same
    // folder that replaces the target only when complete (see
    // writeFileAtomically for links, modes and special files); throws
    // std::runtime_error when the file cannot be written, leaving any earlier
    // file at path as it was.
    void saveToFile(const std::string& path) const;

    void write(References& references, tinyxml2::XMLElement* element) const override;
    void read(References& references, tinyxml2::XMLElement* element) override;

    std::string name;
    std::list<std::shared_ptr<Proposal>> proposals;
    std::list<std::shared_ptr<Site>> sites;
    std::list<std::shared_ptr<Building>> buildings;
    std::list<std::shared_ptr<RequirementSet>> requirementSets;
};

} // namespace bg
