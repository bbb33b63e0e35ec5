#include "text/Strings.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace kadrilo {
namespace {

struct Entry {
    int id;
    std::string_view russian;
    std::string_view english;
};

#define KADRILO_STRING(id, russian, english) Entry{id, russian, english},
constexpr std::array kStrings{
#include "text/StringTable.inc"
};
#undef KADRILO_STRING

static_assert(std::is_sorted(kStrings.begin(), kStrings.end(),
                             [](const Entry& a, const Entry& b) { return a.id < b.id; }),
              "the string table is kept in id order");

}  // namespace

std::string_view StringText(int fullId) {
    const int id = fullId % 1000;
    const int language = fullId / 1000;
    if (fullId <= 0 || language > English) return {};
    auto it = std::lower_bound(kStrings.begin(), kStrings.end(), id,
                               [](const Entry& e, int key) { return e.id < key; });
    if (it == kStrings.end() || it->id != id) return {};
    return language == Russian ? it->russian : it->english;
}

std::string LoadStrEx(int language, int id) {
    return std::string(StringText(language == Russian ? id : language * 1000 + id));
}

int LanguageFromSystemName(std::string_view englishName) {
    std::string lower(englishName);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower == "russian" ? Russian : English;
}

}  // namespace kadrilo
