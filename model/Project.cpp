#include "model/Project.h"

#include "model/Building.h"
#include "model/Proposal.h"
#include "model/References.h"
#include "model/Requirement.h"
#include "model/Site.h"
#include "model/Xml.h"

namespace bg {

Project::Project(const std::string& projectName) : name(projectName) {}

void Project::addBuilding(const std::shared_ptr<Building>& building)
{
    buildings.push_back(building);
}

void Project::addRequirementSet(const std::shared_ptr<RequirementSet>& requirementSet)
{
    requirementSets.push_back(requirementSet);
}

// ---------------------------------------------------------------------------
// Project file

namespace {

template <class T>
void writeAll(References& references, tinyxml2::XMLElement* element, const char* name,
              const std::list<std::shared_ptr<T>>& objects)
{
    for (const auto& object : objects)
        object->write(references, xml::appendElement(element, name));
}

} // namespace

void Project::write(References& references, tinyxml2::XMLElement* element) const
{
    xml::appendText(element, "name", name);
    writeAll(references, element, "building", buildings);
    writeAll(references, element, "site", sites);
    writeAll(references, element, "requirement_set", requirementSets);
    writeAll(references, element, "proposal", proposals);
}

void Project::read(References& references, tinyxml2::XMLElement* element)
{
    name = xml::requiredText(element, "name");
    // This order, whatever the order in the file, lets sites and proposals
    // find their buildings, and proposals and rooms their requirements.
    for (tinyxml2::XMLElement* child : xml::children(element, "building")) {
        auto building = std::make_shared<Building>("Building");
        building->read(references, child);
        buildings.push_back(building);
    }
    for (tinyxml2::XMLElement* child : xml::children(element, "site")) {
        auto site = std::make_shared<Site>();
        site->read(references, child);
        sites.push_back(site);
    }
    for (tinyxml2::XMLElement* child : xml::children(element, "requirement_set")) {
        auto requirementSet = std::make_shared<RequirementSet>();
        requirementSet->read(references, child);
        requirementSets.push_back(requirementSet);
    }
    for (tinyxml2::XMLElement* child : xml::children(element, "proposal")) {
        auto proposal = Proposal::create("");
        proposal->read(references, child);
        proposals.push_back(proposal);
    }
}

} // namespace bg
