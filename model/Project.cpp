#include "model/Project.h"

#include "model/AtomicFile.h"
#include "model/Building.h"
#include "model/Proposal.h"
#include "model/References.h"
#include "model/Requirement.h"
#include "model/Site.h"
#include "model/Xml.h"

#include <tinyxml2.h>

#include <algorithm>
#include <fstream>
#include <iterator>
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
    // The texts are escaped as they are appended (xml::appendText).
    tinyxml2::XMLDocument document(false);
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

// XML cannot carry a NUL; the reader would silently drop everything after it,
// whether it stands in the text as it is or as a character reference.
void refuseNul(const std::string& text, const std::string& source)
{
    std::size_t at = text.find('\0');
    for (std::size_t ref = text.find("&#"); ref != std::string::npos && ref < at; ref = text.find("&#", ref + 2)) {
        std::size_t digit = ref + 2;
        const bool hex = digit < text.size() && (text[digit] == 'x' || text[digit] == 'X');
        if (hex)
            ++digit;
        const std::size_t end = text.find_first_not_of('0', digit);
        if (end != std::string::npos && end > digit && text[end] == ';')
            at = ref;
    }
    if (at == std::string::npos)
        return;
    const auto line = 1 + std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), '\n');
    throw std::runtime_error("Cannot read " + source + ": it holds a NUL character (line " + std::to_string(line) +
                             "), which a project file cannot carry.");
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
    const std::string source = "the project file \"" + path + "\"";
    tinyxml2::XMLDocument document;
    document.LoadFile(path.c_str());
    const auto error = document.ErrorID();
    if (error != tinyxml2::XML_ERROR_FILE_NOT_FOUND && error != tinyxml2::XML_ERROR_FILE_COULD_NOT_BE_OPENED &&
        error != tinyxml2::XML_ERROR_FILE_READ_ERROR) {
        std::ifstream in(path, std::ios::binary);
        refuseNul(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()), source);
    }
    return readDocument(document, source, warnings);
}

std::shared_ptr<Project> Project::loadFromText(const std::string& text, std::vector<std::string>* warnings)
{
    tinyxml2::XMLDocument document;
    document.Parse(text.c_str(), text.size());
    refuseNul(text, "the project");
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
