#include "contract/RegistryContract.h"

namespace kadrilo::contract {
namespace {

constexpr auto HKCU = RegistryRoot::CurrentUser;

std::string Expect(bool holds, const std::string& what) { return holds ? std::string() : what; }

std::string Show(const std::optional<RegistryValue>& v) {
    if (!v) return "nothing";
    if (v->kind == RegistryValue::Kind::Dword) return "dword " + std::to_string(v->dword);
    if (v->kind == RegistryValue::Kind::String) return "text '" + v->text + "'";
    return "a value of another type";
}

std::string ExpectValue(RegistryPort& reg, const std::string& key, const std::string& name,
                        const std::optional<RegistryValue>& expected) {
    const std::optional<RegistryValue> got = reg.ReadValue(HKCU, key, name);
    return Expect(got == expected, name + ": expected " + Show(expected) + ", got " + Show(got));
}

}  // namespace

std::vector<RegistryCase> RegistryCases(const std::string& root) {
    const std::string key = root + "\\Kadrilo";
    auto clean = [root](RegistryPort& reg) { reg.DeleteKeyTree(HKCU, root); };
    return {
        {"a missing key reads as nothing",
         [=](RegistryPort& reg) {
             clean(reg);
             std::string r = Expect(!reg.KeyExists(HKCU, key), "the key exists");
             if (r.empty()) r = ExpectValue(reg, key, "WorkMode", std::nullopt);
             if (r.empty()) r = Expect(!reg.DeleteValue(HKCU, key, "WorkMode"), "deleting in a missing key succeeded");
             if (r.empty()) r = Expect(!reg.DeleteKeyTree(HKCU, key), "deleting a missing key succeeded");
             if (r.empty())
                 r = Expect(!reg.WriteValue(HKCU, key, "WorkMode", RegistryValue::Number(1)),
                            "writing into a missing key succeeded");
             return r;
         }},
        {"creating a key makes its parents",
         [=](RegistryPort& reg) {
             clean(reg);
             std::string r = Expect(reg.CreateKey(HKCU, key + "\\Deeper"), "the key was not made");
             if (r.empty()) r = Expect(reg.KeyExists(HKCU, key), "the parent is missing");
             if (r.empty()) r = Expect(reg.CreateKey(HKCU, key), "opening an existing key failed");
             clean(reg);
             return r;
         }},
        {"numbers and texts come back as written",
         [=](RegistryPort& reg) {
             clean(reg);
             reg.CreateKey(HKCU, key);
             const std::pair<const char*, RegistryValue> values[] = {
                 {"Number", RegistryValue::Number(0xFFFFFFFF)},
                 {"Zero", RegistryValue::Number(0)},
                 {"Text", RegistryValue::Text("C:\\Screenshots")},
                 {"Empty", RegistryValue::Text("")},
                 {"Cyrillic", RegistryValue::Text("D:\\Снимки экрана")},
             };
             for (const auto& [name, value] : values)
                 if (!reg.WriteValue(HKCU, key, name, value)) return std::string("writing ") + name + " failed";
             std::string r;
             for (const auto& [name, value] : values)
                 if (r.empty()) r = ExpectValue(reg, key, name, value);
             clean(reg);
             return r;
         }},
        {"names compare without regard to case",
         [=](RegistryPort& reg) {
             clean(reg);
             reg.CreateKey(HKCU, key);
             reg.WriteValue(HKCU, key, "Language", RegistryValue::Number(0));
             std::string r = ExpectValue(reg, key, "LANGUAGE", RegistryValue::Number(0));
             if (r.empty()) r = Expect(reg.KeyExists(HKCU, root + "\\KADRILO"), "the key name is case-sensitive");
             if (r.empty()) r = Expect(reg.DeleteValue(HKCU, key, "language"), "deleting by another case failed");
             if (r.empty()) r = ExpectValue(reg, key, "Language", std::nullopt);
             clean(reg);
             return r;
         }},
        {"writing again replaces the value and its type",
         [=](RegistryPort& reg) {
             clean(reg);
             reg.CreateKey(HKCU, key);
             reg.WriteValue(HKCU, key, "FontSize", RegistryValue::Text("big"));
             reg.WriteValue(HKCU, key, "FontSize", RegistryValue::Number(12));
             std::string r = ExpectValue(reg, key, "FontSize", RegistryValue::Number(12));
             clean(reg);
             return r;
         }},
        {"deleting a key takes everything below it and nothing beside it",
         [=](RegistryPort& reg) {
             clean(reg);
             reg.CreateKey(HKCU, key + "\\Below\\Further");
             reg.CreateKey(HKCU, key + "Other");
             reg.WriteValue(HKCU, key + "\\Below", "X", RegistryValue::Number(1));
             std::string r = Expect(reg.DeleteKeyTree(HKCU, key), "the deletion failed");
             if (r.empty()) r = Expect(!reg.KeyExists(HKCU, key + "\\Below"), "a sub-key remains");
             if (r.empty()) r = Expect(!reg.KeyExists(HKCU, key), "the key remains");
             if (r.empty()) r = Expect(reg.KeyExists(HKCU, key + "Other"), "a key beside it went too");
             if (r.empty()) r = Expect(!reg.DeleteValue(HKCU, key, "X"), "a value of the deleted key remains");
             clean(reg);
             return r;
         }},
    };
}

}  // namespace kadrilo::contract
