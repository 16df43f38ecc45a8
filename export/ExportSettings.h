#pragma once

// The options of the IFC export: one process-wide record with built-in
// defaults, never saved. The settings dialog edits it; every export works on
// a copy of it, so what an export switches off for itself (door and window
// types, layer colours in IFC4) never reaches the user's ticks.

#include <array>
#include <string>
#include <vector>

namespace bgexport {

struct ExportSettings {
    std::string name;
    // The first fifteen flags are the dialog's check boxes, in its order.
    bool enableDoorStyles = true;
    bool enableWindowStyles = true;
    bool enableMappedItems = true;
    bool enableLayerColor = true;
    bool enableGeometryColor = true;
    bool enableCeiledMappedItems = true;
    bool enableSpaceTypes = true;
    bool enableSpaceBoundary1st = true;
    bool enableSpaceBoundary2nd = true;
    bool enableMaterial = false;
    bool enableZone = true;
    bool enableSystem = true;
    bool enableBuildingSystem = true;
    bool enableRoundtrip = false;
    bool enableExternalSpatialElement = true;
    bool enableNewIfc4SpaceBoundary = true;
    double innerWallUValue = 1.0;
    double outerWallUValue = 1.0;
    double roofSlabUValue = 1.0;
    double floorSlabUValue = 1.0;
    double baseSlabUValue = 1.0;
    double doorUValue = 1.0;
    double windowUValue = 1.0;
    int scaleFactor = 1; // index into scales
    std::vector<int> scales{50, 100, 200, 500, 1000};
};

// The process-wide record, made with the defaults on first use.
ExportSettings* getExportSettings();

// The dialog's fifteen check boxes: label and flag, in the dialog's order.
struct SettingsFlag {
    const char* label;
    bool ExportSettings::*flag;
};
const std::array<SettingsFlag, 15>& settingsFlags();

// The dialog's seven U-value fields, in the order they are read.
struct SettingsUValue {
    const char* label; // with its trailing blank
    double ExportSettings::*value;
};
const std::array<SettingsUValue, 7>& settingsUValues();

// A U-value as the dialog shows it: two decimals.
std::string formatUValue(double value);

// Parses the seven field texts (in settingsUValues order) into the record's
// U-values. A text is read as std::stod reads it (leading blanks skipped, the
// longest number prefix taken, the rest ignored); it must also be finite and
// not negative. On the first field that fails nothing is stored, and the
// result names the field ("Door u value: " ...) with the reason; on success
// the result is empty. badField, when given, receives the failing field's
// index (-1 on success).
std::string parseUValues(const std::array<std::string, 7>& texts, ExportSettings& settings,
                         int* badField = nullptr);

} // namespace bgexport
