#include "model/NumberText.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <stdexcept>

namespace bg {

int parseInt(const std::string& text, const std::string& context)
{
    try {
        return std::stoi(text);
    } catch (const std::invalid_argument&) {
        throw std::invalid_argument(context + ": \"" + text + "\" is not a number");
    } catch (const std::out_of_range&) {
        throw std::out_of_range(context + ": \"" + text + "\" is out of range");
    }
}

double parseDouble(const std::string& text, const std::string& context)
{
    const char* start = text.c_str();
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(start, &end);
    if (end == start || std::isnan(value))
        throw std::invalid_argument(context + ": \"" + text + "\" is not a number");
    // Underflow gives the nearest double (a subnormal or zero), which is the
    // value a writer of "%.17g" meant; only overflow and infinity are refused.
    if (std::isinf(value))
        throw std::out_of_range(context + ": \"" + text + "\" is out of range");
    return value;
}

} // namespace bg
