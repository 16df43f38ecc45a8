#pragma once

#include <string>

namespace bg {

// The number at the start of text, after optional white space (std::stoi,
// std::strtod). Failures raise std::invalid_argument or std::out_of_range with
// a message a user can read: <context>: "<text>" is not a number / is out of
// range. parseDouble takes only finite numbers: "nan" is not a number,
// "inf" and values beyond the largest double are out of range; a value too
// small for a normal double reads as the nearest double (a subnormal or 0),
// so that every double written with "%.17g" reads back.
int parseInt(const std::string& text, const std::string& context);
double parseDouble(const std::string& text, const std::string& context);

} // namespace bg
