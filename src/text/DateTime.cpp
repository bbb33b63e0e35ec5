#include "text/DateTime.h"

#include <cstdio>

namespace kadrilo {
namespace {

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

void AppendTwoDigits(std::string& out, int value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d", value);
    out += buffer;
}

}  // namespace

std::string FormatDateTime(std::string_view pattern, const LocalTime& time, std::string_view timeSeparator) {
    std::string out;
    // The last token written; any other letter clears it, separators (every
    // character that is not a letter) leave it, so "hh-mm" reads as the minute.
    std::string_view lastToken;
    for (size_t i = 0; i < pattern.size();) {
        const std::string_view pair = pattern.substr(i, 2);
        int value = -1;
        if (pair == "dd") value = time.day;
        else if (pair == "mm") value = lastToken == "hh" ? time.minute : time.month;
        else if (pair == "yy") value = ((time.year % 100) + 100) % 100;
        else if (pair == "hh") value = time.hour;
        else if (pair == "ss") value = time.second;

        if (value >= 0) {
            AppendTwoDigits(out, value);
            lastToken = pair;
            i += 2;
        } else {
            if (IsAsciiLetter(pattern[i])) lastToken = {};
            if (pattern[i] == ':')
                out += timeSeparator;
            else
                out += pattern[i];
            i += 1;
        }
    }
    return out;
}

}  // namespace kadrilo
