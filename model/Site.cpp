#include "model/Site.h"

#include "model/References.h"
#include "model/Xml.h"

namespace bg {

namespace {
// Degrees per radian as stored in project files; kept exactly so that files
// written elsewhere read back to the same angle.
constexpr double degreesPerRadian = 57.2957795131;
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
    lat = xml::readAtof(element, "lat");
    lon = xml::readAtof(element, "lon");
    orientation = xml::readAtof(element, "orientation") / degreesPerRadian;
    building = references.resolveBuilding(xml::requiredText(element, "building"), nullptr);
}

} // namespace bg
