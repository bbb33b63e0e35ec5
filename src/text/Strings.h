// The program's string table and the language choice.
//
// Every text the user sees has a Russian id (1..999); its English text has the
// id plus 1000. An id without a text gives empty text.
#pragma once

#include <string>
#include <string_view>

namespace kadrilo {

enum Language : int { Russian = 0, English = 1 };

// The text of a full id (Russian 1..999, English 1001..1999).
std::string_view StringText(int fullId);

// The text of a Russian id in the given language.
std::string LoadStrEx(int language, int id);

// The language for the English name of the user's language ("Russian" gives
// Russian, anything else English).
int LanguageFromSystemName(std::string_view englishName);

}  // namespace kadrilo
