#include "model/Xml.h"

#include <tinyxml2.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace bg::xml {

using tinyxml2::XMLElement;

XMLElement* appendElement(XMLElement* parent, const char* name)
{
    return parent->InsertNewChildElement(name);
}

void appendText(XMLElement* parent, const char* name, const std::string& text)
{
    appendElement(parent, name)->SetText(text.c_str());
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

double readAtof(XMLElement* parent, const char* name)
{
    return std::atof(requiredText(parent, name).c_str());
}

int readStoi(XMLElement* parent, const char* name)
{
    return std::stoi(requiredText(parent, name));
}

double readStod(XMLElement* parent, const char* name)
{
    return std::stod(requiredText(parent, name));
}

Vec2 readPoint(XMLElement* pointElement)
{
    return {readAtof(pointElement, "x"), readAtof(pointElement, "y")};
}

std::vector<Vec2> readContour(XMLElement* contourElement)
{
    std::vector<Vec2> contour;
    if (!contourElement)
        return contour;
    for (XMLElement* position = contourElement->FirstChildElement("position"); position;
         position = position->NextSiblingElement("position"))
        contour.push_back(readPoint(position));
    return contour;
}

} // namespace bg::xml
