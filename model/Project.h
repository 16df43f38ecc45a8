#pragma once

#include "model/Serializable.h"

#include <list>
#include <memory>
#include <string>

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

    void write(References& references, tinyxml2::XMLElement* element) const override;
    void read(References& references, tinyxml2::XMLElement* element) override;

    std::string name;
    std::list<std::shared_ptr<Proposal>> proposals;
    std::list<std::shared_ptr<Site>> sites;
    std::list<std::shared_ptr<Building>> buildings;
    std::list<std::shared_ptr<RequirementSet>> requirementSets;
};

} // namespace bg
