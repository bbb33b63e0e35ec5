#include <gtest/gtest.h>

#include "app/CommandLine.h"

namespace kadrilo {
namespace {

struct SwitchCase {
    const char* name;
    std::vector<std::string> args;  // without argument 0
    CommandLineRequests expected;
};

void PrintTo(const SwitchCase& c, std::ostream* os) { *os << c.name; }

CommandLineRequests Make(std::initializer_list<bool CommandLineRequests::*> flags) {
    CommandLineRequests r;
    for (auto f : flags) r.*f = true;
    return r;
}

using R = CommandLineRequests;

class SwitchTable : public ::testing::TestWithParam<SwitchCase> {};

TEST_P(SwitchTable, SetsExactlyTheNamedRequests) {
    std::vector<std::string> args{"C:\\Program Files\\Kadrilo\\kadrilio.exe"};
    args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
    EXPECT_EQ(Check_cmd_Params(args), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Switches, SwitchTable,
    ::testing::Values(
        SwitchCase{"None", {}, {}},
        SwitchCase{"EverySwitchWithSlash",
                   {"/uninstall", "/screenshot_full", "/screenshot_actwin", "/screenshot_selected",
                    "/open_settings", "/mode1", "/mode2", "/mode3", "/mode4"},
                   Make({&R::RemoveSettingsRequested, &R::ShotFullScreen, &R::ShotActiveWindow,
                         &R::ShotSelectedArea, &R::OpenSettingsRequested, &R::Mode1, &R::Mode2,
                         &R::Mode3, &R::Mode4})},
        SwitchCase{"DashPrefix", {"-del_settings", "-mode3"}, Make({&R::RemoveSettingsRequested, &R::Mode3})},
        SwitchCase{"RemovalSynonyms", {"/delete_settings"}, Make({&R::RemoveSettingsRequested})},
        SwitchCase{"CapitalsAndBlanks", {"  /MODE2 ", "\t-Screenshot_Full"}, Make({&R::Mode2, &R::ShotFullScreen})},
        SwitchCase{"NearMisses",
                   {"/mode", "/mode22", "mode2", "//mode2", "/mode 2", "/screenshot", "/", "-", ""},
                   {}},
        SwitchCase{"RepeatsChangeNothing", {"/mode1", "/mode1", "-MODE1"}, Make({&R::Mode1})},
        SwitchCase{"NonAsciiIgnored", {"/режим", "\xff\xfe", "/mode4"}, Make({&R::Mode4})}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CommandLine, ArgumentZeroIsNeverASwitch) {
    EXPECT_EQ(Check_cmd_Params({"/mode2"}), CommandLineRequests{});
}

TEST(CommandLine, DeferredRequests) {
    EXPECT_FALSE(Make({&R::RemoveSettingsRequested}).AnyDeferred());
    EXPECT_TRUE(Make({&R::Mode1}).AnyDeferred());
    EXPECT_TRUE(Make({&R::ShotSelectedArea}).AnyShot());
    EXPECT_FALSE(Make({&R::OpenSettingsRequested}).AnyShot());
}

struct QuoteCase {
    const char* name;
    std::vector<std::string> args;
    std::string expected;
};

void PrintTo(const QuoteCase& c, std::ostream* os) { *os << c.name; }

class QuotedCommandLine : public ::testing::TestWithParam<QuoteCase> {};

TEST_P(QuotedCommandLine, BlankThenQuotedArgument) {
    EXPECT_EQ(BuildQuotedCommandLine(GetParam().args), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Forwarding, QuotedCommandLine,
    ::testing::Values(
        QuoteCase{"ProgramOnly", {"C:\\k.exe"}, R"( "C:\k.exe")"},
        QuoteCase{"InnerQuotesDoubled", {"k", R"(a "b" c)"}, R"( "k" "a ""b"" c")"},
        QuoteCase{"EmptyArgument", {"k", "", "/mode2"}, R"( "k" "" "/mode2")"},
        QuoteCase{"LeadingBlankKept", {"k", " lead"}, R"( "k" " lead")"},
        QuoteCase{"OnlyAQuote", {"k", "\""}, R"( "k" """")"},
        QuoteCase{"NonAsciiUnchanged", {"k", "пример"}, " \"k\" \"пример\""}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kadrilo
