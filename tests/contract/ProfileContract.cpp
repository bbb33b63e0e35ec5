#include "contract/ProfileContract.h"

namespace kadrilo::contract {
namespace {

constexpr const char* Section = "Kadrilo Settings";

std::string Expect(bool holds, const std::string& what) { return holds ? std::string() : what; }

std::string Join(const std::vector<std::string>& names) {
    std::string joined;
    for (const std::string& name : names) joined += (joined.empty() ? "" : ",") + name;
    return "[" + joined + "]";
}

std::string ExpectRead(ProfilePort& profile, const std::string& path, const std::string& section,
                       const std::string& key, const std::string& expected) {
    const std::string got = profile.ReadString(path, section, key, "<fallback>");
    return Expect(got == expected, key + ": expected '" + expected + "', got '" + got + "'");
}

std::string ExpectKeys(ProfilePort& profile, const std::string& path, const std::string& section,
                       const std::vector<std::string>& expected) {
    const std::vector<std::string> got = profile.KeyNames(path, section);
    return Expect(got == expected, section + ": expected keys " + Join(expected) + ", got " + Join(got));
}

}  // namespace

std::vector<ProfileCase> ProfileCases() {
    return {
        {"an absent file reads as the fallback and has no keys",
         [](ProfilePort& profile, const ProfileFolder& folder) {
             const std::string path = folder.path + "\\absent.ini";
             std::string r = ExpectRead(profile, path, Section, "WorkMode", "<fallback>");
             if (r.empty()) r = ExpectKeys(profile, path, Section, {});
             return r;
         }},
        {"a new file keeps its keys in the order written",
         [](ProfilePort& profile, const ProfileFolder& folder) {
             const std::string path = folder.path + "\\new.ini";
             for (const char* key : {"AppVersion", "WorkMode", "TrayIconEnabled"})
                 if (!profile.WriteString(path, Section, key, "1")) return std::string("writing ") + key + " failed";
             std::string r = ExpectKeys(profile, path, Section, {"AppVersion", "WorkMode", "TrayIconEnabled"});
             if (r.empty()) r = ExpectRead(profile, path, Section, "WorkMode", "1");
             return r;
         }},
        {"section and key names compare without regard to case",
         [](ProfilePort& profile, const ProfileFolder& folder) {
             const std::string path = folder.path + "\\case.ini";
             profile.WriteString(path, Section, "WorkMode", "3");
             std::string r = ExpectRead(profile, path, "KADRILO settings", "workmode", "3");
             if (r.empty()) profile.WriteString(path, "kadrilo SETTINGS", "WORKMODE", "2");
             if (r.empty()) r = ExpectKeys(profile, path, Section, {"WorkMode"});
             if (r.empty()) r = ExpectRead(profile, path, Section, "WorkMode", "2");
             return r;
         }},
        {"an update in place keeps the other keys and sections",
         [](ProfilePort& profile, const ProfileFolder& folder) {
             folder.writeFile("older.ini",
                              "[Other]\r\nKeep=this\r\n\r\n[Kadrilo Settings]\r\nAppVersion=20\r\nUserHotKey2=Ctrl + A\r\n"
                              "WorkMode=1\r\n[Last]\r\nX=1\r\n");
             const std::string path = folder.path + "\\older.ini";
             if (!profile.WriteString(path, Section, "WorkMode", "2")) return std::string("the update failed");
             profile.WriteString(path, Section, "AppVersion", "21");
             profile.WriteString(path, Section, "FontSize", "12");
             std::string r = ExpectKeys(profile, path, Section, {"AppVersion", "UserHotKey2", "WorkMode", "FontSize"});
             if (r.empty()) r = ExpectRead(profile, path, Section, "UserHotKey2", "Ctrl + A");
             if (r.empty()) r = ExpectRead(profile, path, Section, "WorkMode", "2");
             if (r.empty()) r = ExpectRead(profile, path, Section, "AppVersion", "21");
             if (r.empty()) r = ExpectRead(profile, path, "Other", "Keep", "this");
             if (r.empty()) r = ExpectKeys(profile, path, "Last", {"X"});
             return r;
         }},
        {"a section without keys holds none",
         [](ProfilePort& profile, const ProfileFolder& folder) {
             folder.writeFile("empty.ini", "[Kadrilo Settings]\r\n\r\n[Other]\r\nKey=1\r\n");
             const std::string path = folder.path + "\\empty.ini";
             std::string r = ExpectKeys(profile, path, Section, {});
             if (r.empty()) r = ExpectRead(profile, path, Section, "AppVersion", "<fallback>");
             if (r.empty()) r = ExpectKeys(profile, path, "Missing", {});
             return r;
         }},
        {"a value reads back without its surrounding blanks and enclosing quotes",
         [](ProfilePort& profile, const ProfileFolder& folder) {
             folder.writeFile("quotes.ini",
                              "[Kadrilo Settings]\r\nA=  padded\t \r\nB=\"double\"\r\nC='single'\r\nD=\"open\r\n"
                              "E=\"  kept  \"\r\nF=\r\nG=a=b\r\n");
             const std::string path = folder.path + "\\quotes.ini";
             const std::pair<const char*, const char*> expected[] = {
                 {"A", "padded"}, {"B", "double"}, {"C", "single"}, {"D", "\"open"},
                 {"E", "  kept  "}, {"F", ""}, {"G", "a=b"}};
             std::string r;
             for (const auto& [key, value] : expected)
                 if (r.empty()) r = ExpectRead(profile, path, Section, key, value);
             return r;
         }},
        {"a long value reads back as its first 2047 characters",
         [](ProfilePort& profile, const ProfileFolder& folder) {
             const std::string path = folder.path + "\\long.ini";
             const std::string ascii(3000, 'x');
             std::string cyrillic;
             for (int i = 0; i < 2100; ++i) cyrillic += "ж";
             profile.WriteString(path, Section, "Ascii", ascii);
             profile.WriteString(path, Section, "Cyrillic", cyrillic);
             profile.WriteString(path, Section, "Exact", ascii.substr(0, 2047));
             std::string r = ExpectRead(profile, path, Section, "Ascii", ascii.substr(0, 2047));
             if (r.empty()) r = ExpectRead(profile, path, Section, "Cyrillic", cyrillic.substr(0, 2047 * 2));
             if (r.empty()) r = ExpectRead(profile, path, Section, "Exact", ascii.substr(0, 2047));
             return r;
         }},
        {"every character comes back, also in a file that began in the code page",
         [](ProfilePort& profile, const ProfileFolder& folder) {
             folder.writeFile("ansi.ini", "[Other]\r\nKeep=plain\r\n[Kadrilo Settings]\r\nNameAutosave=Shot-\r\n");
             const std::string path = folder.path + "\\ansi.ini";
             const std::string cyrillic = "C:\\Снимки экрана", chinese = "截图 文件";
             if (!profile.WriteString(path, Section, "DirAutosave", cyrillic))
                 return std::string("writing the Cyrillic folder failed");
             profile.WriteString(path, Section, "LastSavePath", chinese);
             profile.WriteString(path, Section, "NameSerial", "plain");
             std::string r = ExpectRead(profile, path, Section, "DirAutosave", cyrillic);
             if (r.empty()) r = ExpectRead(profile, path, Section, "LastSavePath", chinese);
             if (r.empty()) r = ExpectRead(profile, path, Section, "NameAutosave", "Shot-");
             if (r.empty()) r = ExpectRead(profile, path, "Other", "Keep", "plain");
             if (r.empty()) r = ExpectKeys(profile, path, Section, {"NameAutosave", "DirAutosave", "LastSavePath", "NameSerial"});
             const std::string fresh = folder.path + "\\unicode.ini";
             if (r.empty()) profile.WriteString(fresh, Section, "InscriptionText", "Ünïcödé ✓");
             if (r.empty()) r = ExpectRead(profile, fresh, Section, "InscriptionText", "Ünïcödé ✓");
             return r;
         }},
    };
}

}  // namespace kadrilo::contract
