#include "export/IfcExporter.h"

#include "export/IfcStoryExporter.h"
#include "ifc/Writer2x3.h"
#include "ifc/Writer4.h"
#include "model/AtomicFile.h"
#include "model/Building.h"
#include "model/Project.h"
#include "model/Proposal.h"
#include "model/Site.h"
#include "step/Writer.h"

#include <climits>
#include <cmath>
#include <ctime>
#include <functional>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>

namespace bgexport {

namespace {

std::string storeyName(int level)
{
    return level == 0 ? "EG" : std::to_string(level) + ".OG";
}

std::string today()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
}

// Refuses what the export cannot write, before anything is touched.
void checkExportable(int schema, const std::shared_ptr<bg::Proposal>& proposal)
{
    if (schema != schemaIfc2x3 && schema != schemaIfc4)
        throw std::logic_error("Unsupported IFC schema (no writer available).");
    if (!proposal)
        throw std::runtime_error("There is no proposal to export.");
    const auto& building = proposal->building;
    if (!building)
        throw std::runtime_error("The proposal \"" + proposal->name + "\" has no building to export.");
    // Every storey between the lowest and the highest is written from its
    // floor: a missing level has no height, elevation or outline.
    std::set<int> levels;
    for (const auto& floor : building->floors)
        levels.insert(floor->level);
    // Neighbours are compared in a wider type: levels may lie at the limits
    // of int.
    for (auto level = levels.begin(); level != levels.end() && std::next(level) != levels.end(); ++level)
        if (static_cast<long long>(*std::next(level)) - *level != 1)
            throw std::runtime_error("The building \"" + building->name + "\" has no floor on level " +
                                     std::to_string(static_cast<long long>(*level) + 1) +
                                     "; its floors must follow each other without a gap.");
}

} // namespace

void IfcExporter::write(const std::string& path, const std::shared_ptr<bg::Project>& project,
                        const std::shared_ptr<bg::Proposal>& proposal, const std::string& author)
{
    const std::string text = fileText(project, proposal, author);
    try {
        bg::writeFileAtomically(path, text);
    } catch (const std::exception&) {
        throw std::runtime_error("Could not open file " + path);
    }
}

std::string IfcExporter::fileText(const std::shared_ptr<bg::Project>& project,
                                  const std::shared_ptr<bg::Proposal>& proposal, const std::string& author)
{
    warnings.clear();
    checkExportable(schema, proposal);
    ExportSettings options = settings ? *settings : *getExportSettings();
    const std::shared_ptr<bg::Building> building = proposal->building;

    std::shared_ptr<bg::Site> site;
    if (project)
        for (const auto& candidate : project->sites)
            if (candidate && candidate->building == building)
                site = candidate;

    std::ostringstream buffer;
    {
        step::Writer out(buffer);
        std::unique_ptr<ifc::Writer> writer;
        if (schema == schemaIfc4)
            writer = std::make_unique<ifc::Writer4>(out);
        else
            writer = std::make_unique<ifc::Writer2x3>(out);

        writer->writeHeader("", author, "Tolm-Brix", "Kovra Roomwright " + today());
        writer->writeOwnerHistory();
        writer->writeWorldCoordinateSystem();
        writer->writeUnits();
        // The writer negates y, so the file's true north is (-sin a, cos a):
        // the site map's north turned by the site's orientation.
        const double orientation = site ? site->orientation : 0.0;
        writer->writeRepresentationContexts({-std::sin(orientation), -std::cos(orientation)});
        if (schema == schemaIfc4)
            options.enableLayerColor = false;

        step::Factory values;
        const auto profileName = values.createSelect(std::make_shared<step::String>(options.name));
        auto profileProperties = std::make_shared<step::Set>();
        profileProperties->add(std::make_shared<step::Reference>(
            writer->writePropertySingleValue("Name", profileName, nullptr)));
        const ifc::EntityPtr exportProfile = writer->writePropertySet("Kovra_Export_Profile", profileProperties);

        writer->writeSite("Site " + proposal->name, site ? site->lat : 0.0, site ? site->lon : 0.0);
        writer->writeBuilding("Building " + building->name);

        int lowest = INT_MAX;
        int highest = INT_MIN;
        for (const auto& floor : building->floors) {
            lowest = std::min(lowest, floor->level);
            highest = std::max(highest, floor->level);
        }
        // Plan contexts come before the project, which lists them.
        if (options.enableRoundtrip)
            writer->writePlanContexts(highest, lowest,
                                      1.0 / static_cast<double>(options.scales.at(options.scaleFactor)));
        writer->writeProject("Proposal " + proposal->name);
        writer->writeRelAggregates(writer->project, {writer->site});
        writer->writeRelDefinesByProperties({writer->project}, exportProfile);

        {
            IfcStoryExporter storeys(writer.get(), building);
            storeys.proposal = proposal;
            storeys.settings = &options;
            storeys.settings->enableDoorStyles = false;
            storeys.settings->enableWindowStyles = false;
            bool anySpace = false;
            for (const auto& room : proposal->getRooms())
                anySpace = anySpace || (room->level >= lowest && room->level <= highest &&
                                        IfcStoryExporter::getsSpace(*room));
            if (options.enableSystem && anySpace)
                storeys.writeSystems();
            storeys.writeMaterials();
            storeys.writeElementTypes();
            if (options.enableExternalSpatialElement) {
                storeys.airElement = writer->writeExternalSpatialElement("Air", 0);
                storeys.earthElement = writer->writeExternalSpatialElement("Earth", 1);
            }

            const double roofThickness = building->parameters.roofSlab;
            // The levels that have floors, from the top down (the check
            // above leaves no gap between them); of several floors on one
            // level the last in the list is written.
            std::map<int, std::shared_ptr<bg::Floor>, std::greater<int>> floorsByLevel;
            for (const auto& candidate : building->floors)
                floorsByLevel[candidate->level] = candidate;
            for (const auto& [level, floor] : floorsByLevel) {
                storeys.currentFloor = floor;
                const std::string name = storeyName(level);
                const double elevation = floor->elevation;
                storeys.storeyElevations.insert(name, elevation);
                const ifc::EntityPtr storey = writer->writeBuildingStorey(name, {0.0, 0.0, elevation});
                storeys.addStorey(level, storey);
                storeys.currentStorey = storey;

                if (level == highest)
                    storeys.writeSlab(1, roofThickness + floor->height, floor);
                storeys.writeSlab(level == lowest ? 3 : 0, 0.0, floor);
                storeys.writeExteriorWalls(floor);
                storeys.writeInteriorWalls(proposal, floor);
                storeys.writeDoorsAndWindows(floor);
                writer->currentSurfaceStyle = storeys.roomStyle;
                for (const auto& room : proposal->getRooms())
                    if (room->level == level)
                        storeys.writeSpace(proposal->requirementSet, room);
            }
            // Zones and systems with their members: IFC2X3 requires every
            // group to be assigned objects.
            storeys.assignGroupMembers();
            storeys.connectWalls();
            if (options.enableSpaceBoundary1st) {
                storeys.writeFirstLevelSlabBoundaries();
                storeys.writeFirstLevelWallBoundaries();
                storeys.writeFirstLevelDoorBoundaries();
                storeys.writeFirstLevelWindowBoundaries();
            }
            if (options.enableSpaceBoundary2nd) {
                storeys.writeSecondLevelSlabBoundaries();
                storeys.writeSecondLevelWallBoundaries();
                storeys.writeSecondLevelDoorBoundaries();
                storeys.writeSecondLevelWindowBoundaries();
            }
            storeys.reportSlivers();
            storeys.aggregateBuilding();
            storeys.aggregateStoreys();
            storeys.containElements();
            storeys.associateMaterials();
            storeys.aggregateSpaces();
            warnings = storeys.warnings;
        }
        writer.reset();
    } // closing the STEP writer ends the file
    return buffer.str();
}

std::vector<std::string> exportProposal(const std::shared_ptr<bg::Project>& project,
                                        const std::shared_ptr<bg::Proposal>& proposal, const std::string& path,
                                        int schema, const ExportSettings& settings, const std::string& author)
{
    ExportSettings copy = settings;
    IfcExporter exporter(schema);
    exporter.settings = &copy;
    exporter.write(path, project, proposal, author);
    return exporter.warnings;
}

} // namespace bgexport
