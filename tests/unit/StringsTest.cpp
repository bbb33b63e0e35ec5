#include <gtest/gtest.h>

#include "text/Strings.h"

namespace kadrilo {
namespace {

TEST(Strings, LookupByLanguage) {
    EXPECT_EQ(LoadStrEx(English, 805), "Application Kadrilo is already running.");
    EXPECT_EQ(LoadStrEx(Russian, 805), "Программа Kadrilo уже запущена.");
    EXPECT_EQ(StringText(1805), "Application Kadrilo is already running.");
    EXPECT_EQ(LoadStrEx(English, 810), "Can't register hotkey \"");
    EXPECT_EQ(LoadStrEx(English, 850), "Audiofiles (WAVE/MP3/WMA)|*.wav;*.mp3;*.wma");
    EXPECT_EQ(LoadStrEx(Russian, 92), " Черезмерный уровень компрессии может");
    EXPECT_TRUE(LoadStrEx(English, 811).starts_with("\",\ncorrect work of program is impossible. \n"));
}

TEST(Strings, MissingTextsAreEmpty) {
    for (int id : {170, 258, 290}) {
        EXPECT_FALSE(LoadStrEx(Russian, id).empty()) << id;
        EXPECT_EQ(LoadStrEx(English, id), "") << id;
    }
    EXPECT_EQ(LoadStrEx(English, 7), "");     // an id that is not in use
    EXPECT_EQ(LoadStrEx(7, 805), "");         // a language the program does not have
    EXPECT_EQ(StringText(0), "");
    EXPECT_EQ(StringText(2805), "");
    EXPECT_EQ(StringText(-195), "");
}

TEST(Strings, EveryIdHasBothLanguages) {
    int count = 0;
    for (int id = 1; id < 1000; ++id) {
        if (StringText(id).empty()) continue;
        ++count;
        if (id != 170 && id != 258 && id != 290) {
            EXPECT_FALSE(StringText(id + 1000).empty()) << id;
        }
    }
    EXPECT_EQ(count, 201);
}

TEST(Strings, LanguageFromTheSystem) {
    EXPECT_EQ(LanguageFromSystemName("Russian"), Russian);
    EXPECT_EQ(LanguageFromSystemName("RUSSIAN"), Russian);
    EXPECT_EQ(LanguageFromSystemName("English"), English);
    EXPECT_EQ(LanguageFromSystemName("Ukrainian"), English);
    EXPECT_EQ(LanguageFromSystemName("Russian (Moldova)"), English);
    EXPECT_EQ(LanguageFromSystemName(""), English);
}

}  // namespace
}  // namespace kadrilo
