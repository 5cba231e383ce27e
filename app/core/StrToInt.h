#pragma once
// Whole numbers read from the program's files the way its run-time library converts them:
// an optional sign and decimal digits (or '$' and hexadecimal digits), within 32 bits;
// anything else is not a number and is reported with InvalidIntegerMessage.

#include <optional>
#include <string>

std::optional<int> StrToInt(const std::string& text);

// "'<text>' is not a valid integer value"
std::string InvalidIntegerMessage(const std::string& text);
