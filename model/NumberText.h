#pragma once

#include <string>

namespace bg {

// std::stoi and std::stod on text: the number at its start, after optional
// white space. Their exceptions keep their type (std::invalid_argument,
// std::out_of_range) and get a message a user can read:
// <context>: "<text>" is not a number / is out of range.
int parseInt(const std::string& text, const std::string& context);
double parseDouble(const std::string& text, const std::string& context);

} // namespace bg
