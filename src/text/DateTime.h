// Dates and times written by a pattern: file names and the inscription.
#pragma once

#include <string>
#include <string_view>

#include "platform/Ports.h"

namespace kadrilo {

// Formats a local time with the tokens "dd" (day), "mm" (month; the minute when
// it follows "hh" with only separators between), "yy" (two-digit year), "hh"
// (hour 00-23) and "ss" (seconds); a ':' of the pattern becomes
// `timeSeparator`; every other character is copied.
std::string FormatDateTime(std::string_view pattern, const LocalTime& time, std::string_view timeSeparator = ":");

}  // namespace kadrilo
