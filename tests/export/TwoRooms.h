#pragma once

// Two rooms side by side on a 10 x 8 floor, their outer sides on the walls'
// inner faces (as the optimiser places them): an entrance west, a bedroom
// east, adjacent both ways.

#include "ExportSupport.h"

#include "model/Requirement.h"
#include "support/ModelFixtures.h"

namespace exporttest {

struct TwoRooms {
    TwoRooms(const std::string& eastType = "Bedroom", int eastLevel = 0)
    {
        building = kovra_test::makeRectBuilding(10, 8);
        auto set = kovra_test::makeRequirementSet(
            {kovra_test::makeRequirement(0, "Hall", 36, 0, {1}, "Entrance"),
             kovra_test::makeRequirement(1, "Sleep", 35, eastLevel, {0}, eastType)});
        proposal = kovra_test::makeProposal(building, set, "Pair");
        const auto rooms = proposal->getRooms();
        kovra_test::placeRoom(proposal, rooms[0], {0.26, 0.26}, {4.8, 7.48}, 0);
        kovra_test::placeRoom(proposal, rooms[1], {5.06, 0.26}, {4.68, 7.48}, 0);
        for (const auto& room : rooms)
            room->updateInnerContour();
        project = std::make_shared<bg::Project>("P");
    }

    std::string exportText(int schema = bgexport::schemaIfc4,
                           const bgexport::ExportSettings& settings = bgexport::ExportSettings())
    {
        testsupport::TempFile file(".ifc");
        warnings = exporttest::exportTo(file.path(), project, proposal, schema, settings);
        return kovra_test::readText(file.path());
    }

    std::shared_ptr<bg::Building> building;
    std::shared_ptr<bg::Proposal> proposal;
    std::shared_ptr<bg::Project> project;
    std::vector<std::string> warnings;
};

} // namespace exporttest
