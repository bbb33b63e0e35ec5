#include "output/FileNaming.h"

#include <array>
#include <cstdio>

namespace kadrilo {
namespace {

constexpr int32_t kLastAutosaveNumber = 99999;
constexpr const char* kDefaultNameText = "Screenshot-";
constexpr const char* kDateFirstPattern = "dd,mm,yy(hh-mm-ss)";
constexpr const char* kTimeFirstPattern = "hh-mm-ss(dd,mm,yy)";

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    return true;
}

// "X:\..." with X a letter: an absolute path on a drive.
bool StartsWithDriveRoot(const std::string& text) {
    return text.size() >= 3 && IsAsciiLetter(text[0]) && text[1] == ':' && text[2] == '\\';
}

std::string ResolveFolder(const std::string& folder, const std::string& programFolder,
                          FileSystemPort& files) {
    if (folder.empty()) return programFolder;
    if (files.FolderExists(folder)) return folder;
    // A short text ("D:", "D:\", "abc") and a drive path are created as they stand,
    // one level only.
    if (folder.size() <= 3 || StartsWithDriveRoot(folder))
        return files.CreateFolder(folder) ? folder : programFolder;
    // Anything else is relative to the program folder, joined as it stands: the
    // text supplies its own leading backslash, if any. The joined folder must be
    // new; one that exists already fails to be created, like any other failure.
    const std::string joined = programFolder + folder;
    return files.CreateFolder(joined) ? joined : programFolder;
}

// The position where the extension of a name starts, or npos when it has none:
// the last "." after the last "\" or ":".
size_t ExtensionStart(const std::string& name) {
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos) return std::string::npos;
    const size_t separator = name.find_last_of("\\:");
    if (separator != std::string::npos && separator > dot) return std::string::npos;
    return dot;
}

bool IsKnownImageExtension(std::string_view extension) {
    constexpr std::array<std::string_view, 6> known{".bmp", ".jpg", ".jpeg", ".png", ".tif", ".tiff"};
    for (std::string_view k : known)
        if (EqualsIgnoringCase(extension, k)) return true;
    return false;
}

bool IsKnownFormatIndex(int formatIndex) { return formatIndex >= 1 && formatIndex <= 4; }

}  // namespace

std::string ProgramFolder(std::string_view executablePath) {
    const size_t slash = executablePath.rfind('\\');
    if (slash == std::string_view::npos) return {};
    std::string folder(executablePath.substr(0, slash));
    if (folder.size() == 2 && folder[1] == ':') folder += '\\';  // a drive root keeps its backslash
    return folder;
}

std::string AutosaveFilePart(int nameFormat, const std::string& text, int32_t& number, const LocalTime& now) {
    if (nameFormat == 0) return FormatDateTime(kDateFirstPattern, now);
    if (nameFormat == 1) return FormatDateTime(kTimeFirstPattern, now);
    // Format 2, and any value the settings window cannot produce (an edited
    // registry): 2 is the default name format and the only one that needs no clock.
    std::string part = (text.empty() ? std::string(kDefaultNameText) : text) + std::to_string(number);
    // 99999 wraps to 0; so does a number outside 0..99999, which would otherwise
    // run past five characters (or overflow).
    number = (number >= 0 && number < kLastAutosaveNumber) ? number + 1 : 0;
    return part;
}

std::string CheckDirExists(const std::string& folder, const std::string& programFolder, FileSystemPort& files) {
    // Any failure, a throwing file system included, gives the program folder:
    // the caller saves into the result without asking.
    try {
        return ResolveFolder(folder, programFolder, files);
    } catch (...) {
        return programFolder;
    }
}

const char* FormatExtension(int formatIndex) {
    switch (formatIndex) {
        case 1: return ".bmp";
        case 2: return ".jpg";
        case 3: return ".png";
        case 4: return ".tif";
        default: return "";  // no format, no extension: see WithFormatExtension
    }
}

std::string WithFormatExtension(const std::string& name, int formatIndex) {
    // An index outside 1..4 names no format: the name is left exactly as it is,
    // rather than stripped of an extension that nothing replaces or given one
    // that may not match what is written.
    if (!IsKnownFormatIndex(formatIndex)) return name;
    std::string result = name;
    const size_t start = ExtensionStart(result);
    if (start != std::string::npos && IsKnownImageExtension(std::string_view(result).substr(start)))
        result.erase(start);
    return result + FormatExtension(formatIndex);
}

std::string NumberedName(const std::string& base, int n, int formatIndex) {
    return base + "(" + std::to_string(n) + ")" + FormatExtension(formatIndex);
}

bool FolderKeyAccepted(char32_t typed) {
    switch (typed) {
        case U'/': case U'*': case U'|': case U'?': case U'"': case U'<': case U'>':
            return false;
        default:
            return true;
    }
}

bool NameKeyAccepted(char32_t typed) {
    return typed != U'\\' && typed != U':' && FolderKeyAccepted(typed);
}

}  // namespace kadrilo
