#pragma once

// A storey exporter on a writer whose project frame is written, for tests
// that call its operations one by one and read its records.

#include "export/IfcStoryExporter.h"
#include "ifc/Writer4.h"
#include "model/Building.h"
#include "step/Writer.h"

#include <memory>
#include <sstream>
#include <string>

namespace exporttest {

struct StoreyHarness {
    explicit StoreyHarness(const std::shared_ptr<bg::Building>& building)
    {
        writer.writeHeader("", "Ada", "Tolm-Brix", "test");
        writer.writeOwnerHistory();
        writer.writeWorldCoordinateSystem();
        writer.writeUnits();
        writer.writeRepresentationContexts({0.0, -1.0});
        writer.writeSite("Site", 0.0, 0.0);
        writer.writeBuilding("Building");
        writer.writeProject("Project");
        exporter = std::make_unique<bgexport::IfcStoryExporter>(&writer, building);
        exporter->settings = &settings;
        exporter->writeMaterials();
    }

    // Writes the floor's storey and makes it the current one.
    void beginStorey(const std::shared_ptr<bg::Floor>& floor)
    {
        const std::string name = floor->level == 0 ? "EG" : std::to_string(floor->level) + ".OG";
        const auto storey = writer.writeBuildingStorey(name, {0.0, 0.0, floor->elevation});
        exporter->addStorey(floor->level, storey);
        exporter->currentStorey = storey;
        exporter->currentFloor = floor;
    }

    std::ostringstream out;
    step::Writer step{out};
    ifc::Writer4 writer{step};
    bgexport::ExportSettings settings;
    std::unique_ptr<bgexport::IfcStoryExporter> exporter;
};

} // namespace exporttest
