#include "step/Writer.h"

#include <cctype>
#include <cmath>
#include <iomanip>
#include <locale>
#include <sstream>
#include <stdexcept>

namespace step {

Writer::Writer(std::ostream& stream) : out(&stream), target(&stream)
{
    writeLine("ISO-10303-21;");
    writeLine("HEADER;");
}

Writer::~Writer()
{
    try {
        flush();
    } catch (...) {
        // flush has recorded the failure; a destructor must not throw.
    }
    if (failed)
        return;
    writeLine("ENDSEC;");
    writeLine("END-ISO-10303-21;");
}

std::shared_ptr<Entity> Writer::beginHeaderEntity(const std::string& name)
{
    section = Section::Header;
    flush();
    pending = std::make_shared<Entity>(0, name);
    return pending;
}

std::shared_ptr<Entity> Writer::writeEntity(std::shared_ptr<Entity> entity)
{
    switch (section) {
    case Section::NotStarted:
        return nullptr;
    case Section::Header:
        flush();
        writeLine("ENDSEC;");
        section = Section::Data;
        writeLine("DATA;");
        break;
    case Section::Data:
        flush();
        break;
    }
    pending = std::move(entity);
    return pending;
}

void Writer::flush()
{
    if (!pending)
        return;
    // The line is assembled first so that a refused value leaves no partial
    // line in the file.
    std::ostringstream line;
    line.imbue(std::locale::classic());
    target = &line;
    try {
        if (section != Section::Header)
            line << '#' << pending->id << '=';
        line << toUpper(pending->name) << '(';
        bool first = true;
        for (const std::shared_ptr<Parameter>& parameter : pending->parameters) {
            if (!first)
                visitSeparator();
            first = false;
            parameter->accept(*this);
        }
        line << ");";
    } catch (const std::exception& e) {
        target = out;
        failed = true;
        const std::string what = "Cannot write entity #" + std::to_string(pending->id) + " "
                                 + toUpper(pending->name) + ": " + e.what();
        pending.reset();
        throw std::runtime_error(what);
    }
    target = out;
    writeLine(line.str());
}

void Writer::writeLine(const std::string& line)
{
    *out << line << '\n' << std::flush;
}

void Writer::visitSeparator()
{
    *target << ',';
}

void Writer::beginSelect(const std::shared_ptr<Select>& value)
{
    *target << toUpper(value->typeName) << '(';
}

void Writer::beginSet(const std::shared_ptr<Set>&)
{
    *target << '(';
}

void Writer::beginBag()
{
    *target << '(';
}

void Writer::beginList(const std::shared_ptr<List>&)
{
    *target << '(';
}

void Writer::beginArray(const std::shared_ptr<Array>&)
{
    *target << '(';
}

void Writer::endSelect(const std::shared_ptr<Select>&)
{
    *target << ')';
}

void Writer::endSet(const std::shared_ptr<Set>&)
{
    *target << ')';
}

void Writer::endBag()
{
    *target << ')';
}

void Writer::endList(const std::shared_ptr<List>&)
{
    *target << ')';
}

void Writer::endArray(const std::shared_ptr<Array>&)
{
    *target << ')';
}

void Writer::visitLogical(const std::shared_ptr<Logical>& value)
{
    *target << (value->value == 0 ? ".T." : value->value == 1 ? ".F." : ".U.");
}

void Writer::visitBoolean(const std::shared_ptr<Boolean>& value)
{
    *target << (value->value ? ".T." : ".F.");
}

void Writer::visitReference(const std::shared_ptr<Reference>& value)
{
    *target << '#' << value->id;
}

void Writer::visitNumber(const std::shared_ptr<Real>&)
{
}

void Writer::visitEnumeration(const std::shared_ptr<Enumeration>& value)
{
    *target << '.' << value->value << '.';
}

void Writer::visitOmitted(const std::shared_ptr<Omitted>&)
{
    *target << '*';
}

void Writer::visitNull(const std::shared_ptr<Null>&)
{
    *target << '$';
}

void Writer::visitReal(const std::shared_ptr<Real>& value)
{
    *target << formatReal(value->value);
}

void Writer::visitInteger(const std::shared_ptr<Integer>& value)
{
    *target << value->value;
}

void Writer::visitBinary(const std::shared_ptr<String>& value)
{
    *target << '"' << encodeString(value->value) << '"';
}

void Writer::visitString(const std::shared_ptr<String>& value)
{
    *target << '\'' << encodeString(value->value) << '\'';
}

std::string toUpper(const std::string& text)
{
    std::string result = text;
    for (char& c : result)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return result;
}

std::string formatReal(double value)
{
    if (!std::isfinite(value)) {
        std::ostringstream text;
        text.imbue(std::locale::classic());
        text << value;
        throw std::invalid_argument("the real value " + text.str()
                                    + " is not a finite number and cannot be written");
    }
    std::ostringstream stream;
    stream.imbue(std::locale::classic());
    stream << std::setprecision(17) << value;
    std::string text = stream.str();

    if (text.find_first_not_of("0123456789-") == std::string::npos)
        return text + ".";
    const std::string::size_type e = text.find_first_of("eE");
    if (e == std::string::npos)
        return text;
    text[e] = 'E';
    if (text.find('.') == std::string::npos)
        text.insert(e, ".");
    return text;
}

namespace {

bool isHighSurrogate(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(char16_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

void writeHex(std::ostream& out, unsigned long value, int digits)
{
    static const char hex[] = "0123456789ABCDEF";
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4)
        out << hex[(value >> shift) & 0xF];
}

} // namespace

void encodeCodeUnit(std::ostream& out, char16_t unit)
{
    // Only 32 to 126 may stand for themselves; control characters such as a
    // tab or a line break pasted into a name must be escaped like any other.
    if (unit >= 0x20 && unit < 0x7F) {
        if (unit == '\\')
            out << "\\\\";
        else if (unit == '\'')
            out << "''";
        else
            out << static_cast<char>(unit);
        return;
    }
    if (isHighSurrogate(unit) || isLowSurrogate(unit))
        unit = 0xFFFD;
    out << "\\X2\\";
    writeHex(out, unit, 4);
    out << "\\X0\\";
}

std::string encodeString(const std::string& utf8)
{
    const std::u16string units = utf8ToWide(utf8);
    std::ostringstream out;
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t unit = units[i];
        // \X2\ carries two-octet characters only; a pair of surrogates is one
        // character beyond the basic plane and takes the four-octet form.
        if (isHighSurrogate(unit) && i + 1 < units.size() && isLowSurrogate(units[i + 1])) {
            const unsigned long codePoint = 0x10000 + ((unit - 0xD800ul) << 10) + (units[i + 1] - 0xDC00ul);
            out << "\\X4\\";
            writeHex(out, codePoint, 8);
            out << "\\X0\\";
            ++i;
            continue;
        }
        encodeCodeUnit(out, unit);
    }
    return out.str();
}

std::u16string utf8ToWide(const std::string& utf8)
{
    std::u16string result;
    result.reserve(utf8.size());
    const std::size_t n = utf8.size();
    std::size_t i = 0;
    while (i < n) {
        const unsigned char lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            result.push_back(lead);
            ++i;
            continue;
        }
        std::size_t length;
        char32_t codePoint;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            codePoint = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            codePoint = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            codePoint = lead & 0x07;
        } else {
            result.push_back(0xFFFD);
            ++i;
            continue;
        }
        // The second byte's range excludes overlong forms, encoded surrogates
        // and code points above U+10FFFF.
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
        else if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
        std::size_t j = 1;
        for (; j < length && i + j < n; ++j) {
            const unsigned char c = static_cast<unsigned char>(utf8[i + j]);
            if (c < (j == 1 ? low : 0x80) || c > (j == 1 ? high : 0xBF))
                break;
            codePoint = (codePoint << 6) | (c & 0x3F);
        }
        if (j < length) {
            result.push_back(0xFFFD);
            i += j;
            continue;
        }
        i += length;
        if (codePoint >= 0x10000) {
            codePoint -= 0x10000;
            result.push_back(static_cast<char16_t>(0xD800 + (codePoint >> 10)));
            result.push_back(static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF)));
        } else {
            result.push_back(static_cast<char16_t>(codePoint));
        }
    }
    return result;
}

} // namespace step
