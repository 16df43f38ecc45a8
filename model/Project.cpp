#include "model/Project.h"

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

} // namespace bg

#include "model/References.h"
#include "model/Site.h"
#include "model/Xml.h"

#include <tinyxml2.h>

namespace bg {

void Project::write(References& references, tinyxml2::XMLElement* element) const
{
    xml::appendText(element, "name", name);
    for (const auto& site : sites)
        site->write(references, xml::appendElement(element, "site"));
}

void Project::read(References& references, tinyxml2::XMLElement* element)
{
    name = xml::requiredText(element, "name");
    for (auto* child = element->FirstChildElement("site"); child; child = child->NextSiblingElement("site")) {
        auto site = std::make_shared<Site>();
        site->read(references, child);
        sites.push_back(site);
    }
}

} // namespace bg
