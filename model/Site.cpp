#include "model/Site.h"

#include "model/References.h"
#include "model/Xml.h"

#include <tinyxml2.h>

#include <cmath>
#include <stdexcept>
#include <string>

namespace bg {

namespace {
// Degrees per radian as stored in project files; kept exactly so that files
// written elsewhere read back to the same angle.
constexpr double degreesPerRadian = 57.2957795131;

// A latitude or longitude in degrees, strictly read and within +-limit.
double readAngle(tinyxml2::XMLElement* element, const char* name, double limit)
{
    const double degrees = xml::readStod(element, name);
    if (!(std::fabs(degrees) <= limit)) {
        tinyxml2::XMLElement* angle = xml::child(element, name);
        throw std::out_of_range("Element \"" + std::string(name) + "\" (line " +
                                std::to_string(angle->GetLineNum()) + "): " + xml::text(angle) +
                                " degrees lies outside -" + std::to_string(static_cast<int>(limit)) + " to " +
                                std::to_string(static_cast<int>(limit)) + ".");
    }
    return degrees;
}
} // namespace

void Site::write(References& references, tinyxml2::XMLElement* element) const
{
    xml::appendText(element, "name", name);
    xml::appendDouble(element, "lat", lat);
    xml::appendDouble(element, "lon", lon);
    xml::appendDouble(element, "orientation", orientation * degreesPerRadian);
    xml::appendText(element, "building", references.getId(building));
}

void Site::read(References& references, tinyxml2::XMLElement* element)
{
    name = xml::requiredText(element, "name");
    lat = readAngle(element, "lat", 90.0);
    lon = readAngle(element, "lon", 180.0);
    orientation = xml::readAtof(element, "orientation") / degreesPerRadian;
    building = references.resolveBuilding(xml::requiredText(element, "building"), nullptr);
}

} // namespace bg
