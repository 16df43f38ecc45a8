#include "model/Project.h"

#include "model/AtomicFile.h"
#include "model/Building.h"
#include "model/Proposal.h"
#include "model/References.h"
#include "model/Requirement.h"
#include "model/Site.h"
#include "model/Xml.h"

#include <tinyxml2.h>

#include <stdexcept>

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

std::string documentText(const Project& project)
{
    tinyxml2::XMLDocument document;
    document.Parse("<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
    tinyxml2::XMLElement* element = document.NewElement("project");
    document.InsertEndChild(element);
    References references;
    project.write(references, element);
    tinyxml2::XMLPrinter printer;
    document.Print(&printer);
    return printer.CStr();
}

// What went wrong, in words for the user.
std::string describeError(const tinyxml2::XMLDocument& document)
{
    switch (document.ErrorID()) {
    case tinyxml2::XML_ERROR_FILE_NOT_FOUND:
        return "the file does not exist";
    case tinyxml2::XML_ERROR_FILE_COULD_NOT_BE_OPENED:
        return "the file cannot be opened";
    case tinyxml2::XML_ERROR_FILE_READ_ERROR:
        return "the file cannot be read";
    case tinyxml2::XML_ERROR_EMPTY_DOCUMENT:
        return "it is empty";
    default:
        return std::string("it is not well-formed XML (") + document.ErrorName() + " at line " +
               std::to_string(document.ErrorLineNum()) + ")";
    }
}

std::shared_ptr<Project> readDocument(tinyxml2::XMLDocument& document, const std::string& source,
                                      std::vector<std::string>* warnings)
{
    if (document.Error())
        throw std::runtime_error("Cannot read " + source + ": " + describeError(document) + ".");
    tinyxml2::XMLElement* element = document.FirstChildElement("project");
    if (!element)
        throw std::runtime_error("Cannot read " + source + ": it holds no \"project\" element.");
    References references;
    auto project = std::make_shared<Project>(xml::requiredText(element, "name"));
    project->read(references, element);
    if (warnings)
        warnings->insert(warnings->end(), references.warnings.begin(), references.warnings.end());
    return project;
}

} // namespace

std::shared_ptr<Project> Project::load(const std::string& path, std::vector<std::string>* warnings)
{
    tinyxml2::XMLDocument document;
    document.LoadFile(path.c_str());
    return readDocument(document, "the project file \"" + path + "\"", warnings);
}

std::shared_ptr<Project> Project::loadFromText(const std::string& text, std::vector<std::string>* warnings)
{
    tinyxml2::XMLDocument document;
    document.Parse(text.c_str(), text.size());
    return readDocument(document, "the project", warnings);
}

void Project::saveToStream(std::stringstream& out) const
{
    out.str(documentText(*this));
}

void Project::saveToFile(const std::string& path) const
{
    writeFileAtomically(path, documentText(*this));
}

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
