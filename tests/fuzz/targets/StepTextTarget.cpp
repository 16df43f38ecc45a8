#include "FuzzTargets.h"

#include "ifc/Attributes.h"
#include "step/Writer.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace kovra_fuzz {

namespace {

unsigned long hexValue(const std::string& text, std::size_t pos, std::size_t digits)
{
    if (pos + digits > text.size())
        throw Finding("a hex group runs past the end: " + text);
    unsigned long value = 0;
    for (std::size_t i = pos; i < pos + digits; ++i) {
        const char c = text[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            throw Finding("not an upper-case hex digit in: " + text);
        value = value * 16 + static_cast<unsigned long>(digit);
    }
    return value;
}

// The string encoding read back to UTF-16 code units: '' and \\ for the
// apostrophe and the backslash, \X2\hhhh...\X0\ and \X4\hhhhhhhh...\X0\.
std::u16string decode(const std::string& encoded)
{
    std::u16string units;
    std::size_t i = 0;
    while (i < encoded.size()) {
        const char c = encoded[i];
        if (c == '\'') {
            if (i + 1 >= encoded.size() || encoded[i + 1] != '\'')
                throw Finding("a lone apostrophe in: " + encoded);
            units.push_back(u'\'');
            i += 2;
        } else if (c != '\\') {
            units.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
            ++i;
        } else if (encoded.compare(i, 2, "\\\\") == 0) {
            units.push_back(u'\\');
            i += 2;
        } else if (encoded.compare(i, 4, "\\X2\\") == 0 || encoded.compare(i, 4, "\\X4\\") == 0) {
            const std::size_t digits = encoded[i + 2] == '2' ? 4 : 8;
            i += 4;
            while (encoded.compare(i, 4, "\\X0\\") != 0) {
                const unsigned long value = hexValue(encoded, i, digits);
                if (digits == 4) {
                    units.push_back(static_cast<char16_t>(value));
                } else {
                    if (value < 0x10000 || value > 0x10FFFF)
                        throw Finding("\\X4\\ carries no supplementary character in: " + encoded);
                    units.push_back(static_cast<char16_t>(0xD800 + ((value - 0x10000) >> 10)));
                    units.push_back(static_cast<char16_t>(0xDC00 + ((value - 0x10000) & 0x3FF)));
                }
                i += digits;
            }
            i += 4;
        } else {
            throw Finding("a backslash that starts no escape in: " + encoded);
        }
    }
    return units;
}

void checkString(const std::string& text)
{
    const std::string encoded = step::encodeString(text);
    for (const char c : encoded)
        if (c < 0x20 || c > 0x7E)
            throw Finding("the string encoding holds a character that is not printable ASCII: " + encoded);
    if (decode(encoded) != step::utf8ToWide(text))
        throw Finding("the string encoding does not decode to the input: " + encoded);
}

void checkReal(double value)
{
    if (!std::isfinite(value)) {
        try {
            step::formatReal(value);
        } catch (const std::invalid_argument&) {
            return;
        }
        throw Finding("a real that is not finite was formatted");
    }
    const std::string text = step::formatReal(value);
    if (text.find('.') == std::string::npos)
        throw Finding("a real without a point: " + text);
    if (std::strtod(text.c_str(), nullptr) != value)
        throw Finding("a real does not read back: " + text);
}

void checkAngle(double degrees)
{
    const bool representable = std::fabs(degrees) <= static_cast<double>(INT_MAX);
    try {
        ifc::toCompoundPlaneAngle(degrees);
    } catch (const std::invalid_argument&) {
        if (representable)
            throw Finding("a representable angle was refused: " + std::to_string(degrees));
        return;
    }
    if (!representable)
        throw Finding("an angle beyond the integers was converted");
}

} // namespace

void stepText(const std::uint8_t* data, std::size_t size)
{
    checkString(std::string(reinterpret_cast<const char*>(data), size));
    if (size >= sizeof(double)) {
        double value;
        std::memcpy(&value, data, sizeof value);
        checkReal(value);
        checkAngle(value);
    }
}

} // namespace kovra_fuzz
