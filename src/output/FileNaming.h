// File names and folders of the automatic saves.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/Ports.h"
#include "text/DateTime.h"

namespace kadrilo {

// The folder of the program's executable: its path up to the last backslash,
// without the backslash unless it is a drive root ("C:\").
std::string ProgramFolder(std::string_view executablePath);

// The file part of an automatic save by name format (0 date first, 1 time
// first, 2 text and number). For format 2 the number advances: 99999 wraps to 0.
std::string AutosaveFilePart(int nameFormat, const std::string& text, int32_t& number, const LocalTime& now);

// Resolves, and if needed creates (one level), the folder of an automatic save.
// Never fails: a folder that cannot be used gives the program folder.
std::string CheckDirExists(const std::string& folder, const std::string& programFolder, FileSystemPort& files);

// The extension rule of a save: a known image extension (.bmp, .jpg, .jpeg,
// .png, .tif, .tiff, any case) is removed; then the format's extension is added.
// formatIndex: 1 BMP, 2 JPEG, 3 PNG, 4 TIFF.
std::string WithFormatExtension(const std::string& name, int formatIndex);
const char* FormatExtension(int formatIndex);  // ".bmp", ".jpg", ".png", ".tif"

// The n-th numbered name: base "(" n ")" extension, e.g. Screenshot-7(1).jpg.
std::string NumberedName(const std::string& base, int n, int formatIndex);

// The key filters of the folder fields and of the name text fields: true when
// the typed character is accepted.
bool FolderKeyAccepted(char32_t typed);
bool NameKeyAccepted(char32_t typed);

}  // namespace kadrilo
