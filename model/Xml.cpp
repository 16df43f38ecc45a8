#include "model/Xml.h"

#include "model/NumberText.h"

#include "geometry/LayoutGeometry.h"

#include <tinyxml2.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace bg::xml {

using tinyxml2::XMLElement;

XMLElement* appendElement(XMLElement* parent, const char* name)
{
    return parent->InsertNewChildElement(name);
}

std::string escapeText(const std::string& text)
{
    if (text.find('\0') != std::string::npos)
        throw std::invalid_argument("The text \"" + std::string(text.c_str()) +
                                    "...\" holds a NUL character, which a project file cannot carry.");
    // A reader drops a text of white space only and turns every CR into LF,
    // so such characters go as references; references to control characters
    // keep the file printable.
    const bool whiteOnly = text.find_first_not_of(" \t\n\r") == std::string::npos;
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        default:
            if (byte < 0x20 && (whiteOnly || c != '\n'))
                escaped += "&#" + std::to_string(byte) + ";";
            else if (c == ' ' && whiteOnly)
                escaped += "&#32;";
            else
                escaped += c;
        }
    }
    return escaped;
}

void appendText(XMLElement* parent, const char* name, const std::string& text)
{
    appendElement(parent, name)->SetText(escapeText(text).c_str());
}

void appendInt(XMLElement* parent, const char* name, int value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%d", value);
    appendText(parent, name, buffer);
}

void appendUnsigned(XMLElement* parent, const char* name, unsigned long long value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%llu", value);
    appendText(parent, name, buffer);
}

void appendDouble(XMLElement* parent, const char* name, double value)
{
    // The reader refuses what is not finite, so the writer never writes it.
    if (!std::isfinite(value))
        throw std::invalid_argument(std::string("The value of \"") + name + "\" in \"" + parent->Name() +
                                    "\" is not a finite number, which a project file cannot carry.");
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    appendText(parent, name, buffer);
}

void appendPoint(XMLElement* parent, const char* name, const Vec2& point)
{
    XMLElement* element = appendElement(parent, name);
    appendDouble(element, "x", point.x);
    appendDouble(element, "y", point.y);
}

void appendContour(XMLElement* parent, const std::vector<Vec2>& contour)
{
    XMLElement* element = appendElement(parent, "contour");
    for (const Vec2& point : contour)
        appendPoint(element, "position", point);
}

XMLElement* child(XMLElement* parent, const char* name)
{
    return parent ? parent->FirstChildElement(name) : nullptr;
}

std::vector<XMLElement*> children(XMLElement* parent, const char* name)
{
    std::vector<XMLElement*> found;
    for (XMLElement* element = child(parent, name); element; element = element->NextSiblingElement(name))
        found.push_back(element);
    return found;
}

XMLElement* requiredChild(XMLElement* parent, const char* name)
{
    XMLElement* element = child(parent, name);
    if (!element) {
        const char* parentName = parent ? parent->Name() : "document";
        throw std::runtime_error(std::string("Missing element \"") + name + "\" in \"" + parentName + "\" (line " +
                                 std::to_string(parent ? parent->GetLineNum() : 0) + ")");
    }
    return element;
}

std::string text(const XMLElement* element)
{
    const char* value = element ? element->GetText() : nullptr;
    return value ? std::string(value) : std::string();
}

std::string requiredText(XMLElement* parent, const char* name)
{
    return text(requiredChild(parent, name));
}

int readAtoi(XMLElement* parent, const char* name)
{
    return std::atoi(requiredText(parent, name).c_str());
}

namespace {

std::string describe(const XMLElement* element)
{
    return std::string("Element \"") + element->Name() + "\" (line " + std::to_string(element->GetLineNum()) + ")";
}

} // namespace

double readAtof(XMLElement* parent, const char* name)
{
    XMLElement* element = requiredChild(parent, name);
    const std::string value = text(element);
    const char* start = value.c_str();
    char* end = nullptr;
    std::strtod(start, &end);
    // Text without a number reads as 0, but a number is always a finite one.
    return end == start ? 0.0 : parseDouble(value, describe(element));
}

namespace {

double within(XMLElement* parent, const char* name, double value, double bound)
{
    if (std::fabs(value) > bound) {
        XMLElement* element = requiredChild(parent, name);
        char limit[32];
        std::snprintf(limit, sizeof limit, "%g", bound);
        throw std::out_of_range(describe(element) + ": \"" + text(element) + "\" lies beyond the limit of " +
                                limit + ", far beyond any building");
    }
    return value;
}

} // namespace

double readAtofWithin(XMLElement* parent, const char* name, double bound)
{
    return within(parent, name, readAtof(parent, name), bound);
}

int readStoi(XMLElement* parent, const char* name)
{
    XMLElement* element = requiredChild(parent, name);
    return parseInt(text(element), describe(element));
}

double readStod(XMLElement* parent, const char* name)
{
    XMLElement* element = requiredChild(parent, name);
    return parseDouble(text(element), describe(element));
}

int readTruncatedInt(XMLElement* parent, const char* name)
{
    XMLElement* element = requiredChild(parent, name);
    const double value = std::trunc(readStod(parent, name));
    if (!(value >= INT_MIN && value <= INT_MAX))
        throw std::out_of_range(describe(element) + ": \"" + text(element) + "\" is out of range");
    return static_cast<int>(value);
}

Vec2 readPoint(XMLElement* pointElement, Numbers numbers)
{
    auto read = [&](const char* name) {
        const double value = numbers == Numbers::strict ? readStod(pointElement, name) : readAtof(pointElement, name);
        return within(pointElement, name, value, kMaximumExtent);
    };
    const double x = read("x");
    return {x, read("y")};
}

std::vector<Vec2> readContour(XMLElement* contourElement, Numbers numbers)
{
    std::vector<Vec2> contour;
    for (XMLElement* position : children(contourElement, "position"))
        contour.push_back(readPoint(position, numbers));
    return contour;
}

} // namespace bg::xml
