#include "export/ExportSettings.h"

#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace bgexport {

ExportSettings* getExportSettings()
{
    // Never freed: the record lives as long as the process.
    static ExportSettings* settings = new ExportSettings();
    return settings;
}

const std::array<SettingsFlag, 15>& settingsFlags()
{
    static const std::array<SettingsFlag, 15> flags{{
        {"Door Style", &ExportSettings::enableDoorStyles},
        {"Window Style", &ExportSettings::enableWindowStyles},
        {"Mapped Item", &ExportSettings::enableMappedItems},
        {"Layer Color", &ExportSettings::enableLayerColor},
        {"Geometry Color", &ExportSettings::enableGeometryColor},
        {"Ceiled Mapped Item", &ExportSettings::enableCeiledMappedItems},
        {"Space Types", &ExportSettings::enableSpaceTypes},
        {"Space Boundary 1st Level", &ExportSettings::enableSpaceBoundary1st},
        {"Space Boundary 2nd Level", &ExportSettings::enableSpaceBoundary2nd},
        {"Material", &ExportSettings::enableMaterial},
        {"Zone", &ExportSettings::enableZone},
        {"System", &ExportSettings::enableSystem},
        {"Building System", &ExportSettings::enableBuildingSystem},
        {"Roundtrip", &ExportSettings::enableRoundtrip},
        {"External Space", &ExportSettings::enableExternalSpatialElement},
    }};
    return flags;
}

const std::array<SettingsUValue, 7>& settingsUValues()
{
    static const std::array<SettingsUValue, 7> values{{
        {"Base slab u value: ", &ExportSettings::baseSlabUValue},
        {"Floor slab u value: ", &ExportSettings::floorSlabUValue},
        {"Roof slab u value: ", &ExportSettings::roofSlabUValue},
        {"Inner wall u value: ", &ExportSettings::innerWallUValue},
        {"Outer wall u value: ", &ExportSettings::outerWallUValue},
        {"Door u value: ", &ExportSettings::doorUValue},
        {"Window u value: ", &ExportSettings::windowUValue},
    }};
    return values;
}

std::string formatUValue(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

std::string parseUValues(const std::array<std::string, 7>& texts, ExportSettings& settings, int* badField)
{
    if (badField)
        *badField = -1;
    std::array<double, 7> parsed{};
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::string field = settingsUValues()[i].label;
        const std::string name = field.substr(0, field.find(':'));
        if (badField)
            *badField = static_cast<int>(i);
        try {
            parsed[i] = std::stod(texts[i]);
        } catch (const std::out_of_range&) {
            return name + ": the number is out of range.";
        } catch (const std::exception&) {
            return name + ": \"" + texts[i] + "\" is not a number.";
        }
        if (!std::isfinite(parsed[i]) || parsed[i] < 0.0)
            return name + ": a U-value must be a number of zero or more.";
    }
    if (badField)
        *badField = -1;
    // All fields parsed: only now does the record change.
    for (std::size_t i = 0; i < texts.size(); ++i)
        settings.*(settingsUValues()[i].value) = parsed[i];
    return "";
}

} // namespace bgexport
