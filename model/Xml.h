#pragma once

#include "geometry/Polygon.h"

#include <string>
#include <vector>

namespace tinyxml2 {
class XMLElement;
}

// Small helpers for the elements of the project file: every value is the text
// of a child element, numbers in fixed printf formats.
//
// Texts are stored already escaped (escapeText), so that they read back
// exactly; the document must be printed without entity processing
// (tinyxml2::XMLDocument(false)).
namespace bg::xml {

// The text as XML character data that reads back to exactly the same text:
// markup characters as entities, control characters, carriage returns and the
// characters of a text of white space only as character references. A NUL,
// which XML cannot carry, raises std::invalid_argument.
std::string escapeText(const std::string& text);

tinyxml2::XMLElement* appendElement(tinyxml2::XMLElement* parent, const char* name);
// A child holding the text, escaped (escapeText).
void appendText(tinyxml2::XMLElement* parent, const char* name, const std::string& text);
void appendInt(tinyxml2::XMLElement* parent, const char* name, int value);
void appendUnsigned(tinyxml2::XMLElement* parent, const char* name, unsigned long long value);
// "%.17g": every double reads back exactly.
void appendDouble(tinyxml2::XMLElement* parent, const char* name, double value);
void appendPoint(tinyxml2::XMLElement* parent, const char* name, const Vec2& point);
void appendContour(tinyxml2::XMLElement* parent, const std::vector<Vec2>& contour);

// The first child of that name, or nullptr.
tinyxml2::XMLElement* child(tinyxml2::XMLElement* parent, const char* name);
// Every child of that name, in document order.
std::vector<tinyxml2::XMLElement*> children(tinyxml2::XMLElement* parent, const char* name);
// The first child of that name; a missing one throws std::runtime_error.
tinyxml2::XMLElement* requiredChild(tinyxml2::XMLElement* parent, const char* name);
// The element's text; an element without text gives "".
std::string text(const tinyxml2::XMLElement* element);
// The text of a required child.
std::string requiredText(tinyxml2::XMLElement* parent, const char* name);

// How the numbers of an element are read. Both take the number at the start
// of the text after optional white space; lenient (the C library's atoi and
// atof) reads text without a number as 0, strict (std::stoi, parseDouble)
// raises std::invalid_argument or std::out_of_range, with a message naming
// the element and its line. Either way a double is finite: "nan", "inf" and
// numbers beyond the largest double raise those exceptions too.
enum class Numbers { lenient, strict };

// Numbers of a required child.
int readAtoi(tinyxml2::XMLElement* parent, const char* name);
double readAtof(tinyxml2::XMLElement* parent, const char* name);
int readStoi(tinyxml2::XMLElement* parent, const char* name);
double readStod(tinyxml2::XMLElement* parent, const char* name);
// A lenient double whose magnitude is at most bound (kMaximumExtent for a
// length, kMaximumArea for an area); beyond it std::out_of_range names the
// element and its line, and the caller stores nothing.
double readAtofWithin(tinyxml2::XMLElement* parent, const char* name, double bound);
// Strict double, truncated toward zero ("2.7" reads as 2).
int readTruncatedInt(tinyxml2::XMLElement* parent, const char* name);

// The first "x" and "y" children, each within kMaximumExtent (else
// std::out_of_range naming the element).
Vec2 readPoint(tinyxml2::XMLElement* pointElement, Numbers numbers = Numbers::lenient);
// Every "position" child, in document order; empty for a null element.
std::vector<Vec2> readContour(tinyxml2::XMLElement* contourElement, Numbers numbers = Numbers::lenient);

} // namespace bg::xml
