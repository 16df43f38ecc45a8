#pragma once

#include "geometry/Polygon.h"

#include <string>
#include <vector>

namespace tinyxml2 {
class XMLElement;
}

// Small helpers for the elements of the project file: every value is the text
// of a child element, numbers in fixed printf formats.
namespace bg::xml {

tinyxml2::XMLElement* appendElement(tinyxml2::XMLElement* parent, const char* name);
void appendText(tinyxml2::XMLElement* parent, const char* name, const std::string& text);
void appendInt(tinyxml2::XMLElement* parent, const char* name, int value);
void appendUnsigned(tinyxml2::XMLElement* parent, const char* name, unsigned long long value);
// "%.17g": every double reads back exactly.
void appendDouble(tinyxml2::XMLElement* parent, const char* name, double value);
void appendPoint(tinyxml2::XMLElement* parent, const char* name, const Vec2& point);
void appendContour(tinyxml2::XMLElement* parent, const std::vector<Vec2>& contour);

// The first child of that name, or nullptr.
tinyxml2::XMLElement* child(tinyxml2::XMLElement* parent, const char* name);
// The first child of that name; a missing one throws std::runtime_error.
tinyxml2::XMLElement* requiredChild(tinyxml2::XMLElement* parent, const char* name);
// The element's text; an element without text gives "".
std::string text(const tinyxml2::XMLElement* element);
// The text of a required child.
std::string requiredText(tinyxml2::XMLElement* parent, const char* name);

// The C library's lenient readers (no number reads as 0) and the standard
// library's strict ones (std::invalid_argument, std::out_of_range).
int readAtoi(tinyxml2::XMLElement* parent, const char* name);
double readAtof(tinyxml2::XMLElement* parent, const char* name);
int readStoi(tinyxml2::XMLElement* parent, const char* name);
double readStod(tinyxml2::XMLElement* parent, const char* name);

Vec2 readPoint(tinyxml2::XMLElement* pointElement);
std::vector<Vec2> readContour(tinyxml2::XMLElement* contourElement);

} // namespace bg::xml
