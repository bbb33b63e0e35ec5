#include "fakes/Fakes.h"

#include <algorithm>
#include <cctype>

namespace kadrilo::testing {
namespace {

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

}  // namespace

std::string FakeRegistry::Id(RegistryRoot root, const std::string& path) {
    return (root == RegistryRoot::CurrentUser ? "hkcu\\" : "hklm\\") + Lower(path);
}

void FakeRegistry::Set(RegistryRoot root, const std::string& path, const std::string& name,
                       RegistryValue value) {
    CreateKey(root, path);
    WriteValue(root, path, name, value);
}

bool FakeRegistry::HasValue(RegistryRoot root, const std::string& path, const std::string& name) {
    return ReadValue(root, path, name).has_value();
}

std::vector<std::string> FakeRegistry::ValueNames(RegistryRoot root, const std::string& path) {
    std::vector<std::string> names;
    auto key = keys_.find(Id(root, path));
    if (key != keys_.end())
        for (const auto& [lower, entry] : key->second.values) names.push_back(entry.first);
    return names;
}

bool FakeRegistry::KeyExists(RegistryRoot root, const std::string& path) {
    return keys_.count(Id(root, path)) > 0;
}

bool FakeRegistry::CreateKey(RegistryRoot root, const std::string& path) {
    for (size_t pos = 0; pos != std::string::npos;) {
        pos = path.find('\\', pos + 1);
        keys_[Id(root, path.substr(0, pos))];
    }
    return true;
}

std::optional<RegistryValue> FakeRegistry::ReadValue(RegistryRoot root, const std::string& path,
                                                     const std::string& name) {
    auto key = keys_.find(Id(root, path));
    if (key == keys_.end()) return std::nullopt;
    auto value = key->second.values.find(Lower(name));
    if (value == key->second.values.end()) return std::nullopt;
    return value->second.second;
}

bool FakeRegistry::WriteValue(RegistryRoot root, const std::string& path, const std::string& name,
                              const RegistryValue& value) {
    auto key = keys_.find(Id(root, path));
    if (key == keys_.end()) return false;
    key->second.values[Lower(name)] = {name, value};
    return true;
}

bool FakeRegistry::DeleteValue(RegistryRoot root, const std::string& path, const std::string& name) {
    auto key = keys_.find(Id(root, path));
    return key != keys_.end() && key->second.values.erase(Lower(name)) > 0;
}

bool FakeRegistry::DeleteKeyTree(RegistryRoot root, const std::string& path) {
    const std::string id = Id(root, path);
    if (!keys_.count(id)) return false;
    std::erase_if(keys_, [&](const auto& entry) {
        return entry.first == id || entry.first.rfind(id + "\\", 0) == 0;
    });
    return true;
}

bool FakeFiles::FileExists(const std::string& path) { return existing.count(path) > 0; }

bool FakeFiles::FolderExists(const std::string& path) {
    return std::find(directories.begin(), directories.end(), path) != directories.end();
}

bool FakeFiles::CreateFolder(const std::string& path) {
    if (FolderExists(path) || std::find(creatable.begin(), creatable.end(), path) == creatable.end())
        return false;
    directories.push_back(path);
    return true;
}

void FakeFiles::WriteFile(const std::string& path, const std::vector<uint8_t>& content) {
    if (std::find(unwritable.begin(), unwritable.end(), path) != unwritable.end())
        throw std::runtime_error("cannot write " + path);
    written[path] = content;
    existing.insert(path);
}

Bitmap FakeScreen::CaptureScreenRect(const Rect& rect, bool useCaptureBlt, bool includeCursor) {
    captures.push_back({rect, useCaptureBlt, includeCursor});
    if (fail) throw std::runtime_error("capture failed");
    return Bitmap::Blank(rect.Width(), rect.Height(), 32);
}

MessageAnswer FakeWindows::ShowMessageBox(const std::string& text, const std::string& caption,
                                          unsigned flags) {
    messages.push_back({text, caption, flags});
    calls.push_back("message");
    if (answers.empty()) throw std::logic_error("unexpected message box: " + text);
    MessageAnswer answer = answers.front();
    answers.pop_front();
    return answer;
}

void FakeWindows::MoveMainWindow(int32_t left, int32_t top) {
    calls.push_back("move " + std::to_string(left) + "," + std::to_string(top));
    mainWindow = {left, top, left + mainWindow.Width(), top + mainWindow.Height()};
}

int32_t FakeHotkeys::GlobalAtom(const std::string& name) {
    return 0xC000 + static_cast<int32_t>(name.back() - '0');
}

bool FakeHotkeys::RegisterHotKey(int32_t id, uint32_t modifiers, uint32_t virtualKey) {
    const std::pair<uint32_t, uint32_t> combination{modifiers, virtualKey};
    if (std::find(takenElsewhere.begin(), takenElsewhere.end(), combination) != takenElsewhere.end()) return false;
    for (const auto& [otherId, other] : registered)
        if (otherId != id && other == combination) return false;
    registered[id] = combination;
    return true;
}

std::optional<WindowId> FakeInstance::FindRunningInstance(int32_t) {
    if (runningInstance) return runningInstance;
    marked = true;
    return std::nullopt;
}

void FakeTimers::StartTimer(TimerId id, uint32_t intervalMs) {
    running[id] = intervalMs;
    calls.push_back("start " + std::to_string(static_cast<int>(id)));
}

void FakeTimers::StopTimer(TimerId id) {
    running.erase(id);
    calls.push_back("stop " + std::to_string(static_cast<int>(id)));
}

// ---- Profile files ----------------------------------------------------------------

namespace {

constexpr std::string_view Blanks = " \t";

std::string_view Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(Blanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(Blanks) - first + 1);
}

// The first `limit` UTF-16 units of a UTF-8 text, never half a character.
std::string FirstUnits(const std::string& text, size_t limit) {
    size_t units = 0, at = 0;
    while (at < text.size()) {
        const auto lead = static_cast<unsigned char>(text[at]);
        const size_t bytes = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        const size_t width = bytes == 4 ? 2 : 1;
        if (units + width > limit) break;
        units += width;
        at += bytes;
    }
    return text.substr(0, at);
}

}  // namespace

std::string FakeProfile::Lower(std::string s) { return testing::Lower(std::move(s)); }

FakeProfile::Section* FakeProfile::Find(File& file, const std::string& section) {
    for (Section& s : file)
        if (Lower(s.name) == Lower(section)) return &s;
    return nullptr;
}

void FakeProfile::SetFile(const std::string& path, const std::string& text) {
    File& file = files_[Lower(path)];
    file.clear();
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string_view line = Trimmed(std::string_view(text).substr(start, end - start));
        if (!line.empty() && line.back() == '\r') line = Trimmed(line.substr(0, line.size() - 1));
        start = end + 1;
        if (line.empty()) continue;
        if (line.front() == '[') {
            const size_t close = line.find(']');
            file.push_back({std::string(line.substr(1, close == std::string_view::npos ? line.npos : close - 1)), {}});
        } else if (const size_t equals = line.find('='); equals != line.npos && !file.empty()) {
            file.back().entries.push_back({std::string(Trimmed(line.substr(0, equals))),
                                           std::string(line.substr(equals + 1))});
        }
    }
}

std::string FakeProfile::ReadString(const std::string& path, const std::string& section, const std::string& key,
                                    const std::string& fallback) {
    auto file = files_.find(Lower(path));
    if (file == files_.end()) return fallback;
    Section* found = Find(file->second, section);
    if (!found) return fallback;
    for (const Entry& entry : found->entries) {
        if (Lower(entry.key) != Lower(key)) continue;
        std::string_view value = Trimmed(entry.value);
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        return FirstUnits(std::string(value), ValueLimit);
    }
    return fallback;
}

bool FakeProfile::WriteString(const std::string& path, const std::string& section, const std::string& key,
                              const std::string& value) {
    writes.push_back(key + "=" + value);
    if (failingWrite && writes.size() > *failingWrite) return false;
    File& file = files_[Lower(path)];
    Section* found = Find(file, section);
    if (!found) {
        file.push_back({section, {}});
        found = &file.back();
    }
    for (Entry& entry : found->entries) {
        if (Lower(entry.key) == Lower(key)) {
            entry.value = value;
            return true;
        }
    }
    found->entries.push_back({key, value});
    return true;
}

std::vector<std::string> FakeProfile::KeyNames(const std::string& path, const std::string& section) {
    std::vector<std::string> names;
    auto file = files_.find(Lower(path));
    if (file == files_.end()) return names;
    if (Section* found = Find(file->second, section))
        for (const Entry& entry : found->entries) names.push_back(entry.key);
    return names;
}

}  // namespace kadrilo::testing
