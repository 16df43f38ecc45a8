#include "model/NumberText.h"

#include <stdexcept>

namespace bg {

namespace {

template <class Convert>
auto convert(const std::string& text, const std::string& context, Convert toNumber) -> decltype(toNumber(text))
{
    try {
        return toNumber(text);
    } catch (const std::invalid_argument&) {
        throw std::invalid_argument(context + ": \"" + text + "\" is not a number");
    } catch (const std::out_of_range&) {
        throw std::out_of_range(context + ": \"" + text + "\" is out of range");
    }
}

} // namespace

int parseInt(const std::string& text, const std::string& context)
{
    return convert(text, context, [](const std::string& value) { return std::stoi(value); });
}

double parseDouble(const std::string& text, const std::string& context)
{
    return convert(text, context, [](const std::string& value) { return std::stod(value); });
}

} // namespace bg
