#include "win32/Dialogs.h"

#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>

#include "win32/Handles.h"

namespace kadrilo::win32 {
namespace {

// "Name|pattern|..." as the dialogs want it: each part ended by a zero, the
// whole by a second one.
std::wstring DialogFilter(const std::string& filter) {
    std::wstring result = Wide(filter);
    std::replace(result.begin(), result.end(), L'|', L'\0');
    result.push_back(L'\0');
    return result;
}

constexpr size_t FileNameBuffer = 32768;

// The extension of the filter's first pattern ("Files INI|*.ini" gives "ini"), or empty.
std::wstring FirstExtension(const std::string& filter) {
    const size_t bar = filter.find('|');
    if (bar == std::string::npos || filter.compare(bar + 1, 2, "*.") != 0) return {};
    const size_t start = bar + 3;
    const std::string extension = filter.substr(start, filter.find_first_of(";|", start) - start);
    return extension.find_first_of("*?") == std::string::npos ? Wide(extension) : std::wstring();
}

}  // namespace

std::optional<DialogPort::SaveChoice> Dialogs::SavePictureDialog(const std::string& fileName, int32_t filterIndex) {
    static constexpr wchar_t Filter[] =
        L"Windows Bitmap (*.bmp)\0*.bmp\0JPEG Image File (*.jpg)\0*.jpg\0"
        L"PNG Image File (*.png)\0*.png\0TIFF Image File (*.tif)\0*.tif\0";
    std::wstring buffer = Wide(fileName);
    buffer.resize(std::max<size_t>(buffer.size() + 1, 32768), L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner_;
    dialog.lpstrFilter = Filter;
    dialog.nFilterIndex = static_cast<DWORD>(std::clamp(filterIndex, 1, 4));
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = static_cast<DWORD>(buffer.size());
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_ENABLESIZING;
    if (!GetSaveFileNameW(&dialog)) return std::nullopt;
    return SaveChoice{Utf8(buffer.c_str()), static_cast<int32_t>(dialog.nFilterIndex)};
}

std::string Dialogs::BrowseForFolder(const std::string& title) {
    const std::wstring wideTitle = Wide(title);
    BROWSEINFOW info{};
    info.hwndOwner = owner_;
    info.lpszTitle = wideTitle.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
    if (!chosen) return {};
    wchar_t path[MAX_PATH] = {};
    const bool ok = SHGetPathFromIDListW(chosen, path);
    CoTaskMemFree(chosen);
    return ok ? Utf8(path) : std::string();
}

namespace {

// Runs an open or save dialog with the "Name|pattern" filter, starting from the
// file name: the confirmed file name, or nothing when cancelled.
std::optional<std::wstring> RunFileDialog(HWND owner, const std::string& filter, const std::wstring& fileName,
                                          DWORD flags, BOOL(WINAPI* run)(OPENFILENAMEW*),
                                          const std::wstring& defaultExtension = {}) {
    const std::wstring filterText = DialogFilter(filter);
    std::wstring buffer = fileName;
    buffer.resize(std::max(buffer.size() + 1, FileNameBuffer), L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filterText.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = static_cast<DWORD>(buffer.size());
    dialog.lpstrDefExt = defaultExtension.empty() ? nullptr : defaultExtension.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | flags;
    if (!run(&dialog)) return std::nullopt;
    return std::wstring(buffer.c_str());
}

}  // namespace

std::optional<std::string> Dialogs::OpenFileDialog(const std::string& filter) {
    const std::optional<std::wstring> chosen = RunFileDialog(owner_, filter, openFileName_, 0, GetOpenFileNameW);
    if (!chosen) return std::nullopt;
    openFileName_ = *chosen;
    return Utf8(openFileName_);
}

std::optional<std::string> Dialogs::SaveFileDialog(const std::string& fileName, const std::string& filter) {
    // A name typed without an extension takes the filter's, so that the question
    // before overwriting is about the file that will be written.
    const std::wstring extension = FirstExtension(filter);
    const std::optional<std::wstring> chosen =
        RunFileDialog(owner_, filter, Wide(fileName), OFN_OVERWRITEPROMPT, GetSaveFileNameW, extension);
    return chosen ? std::optional<std::string>(Utf8(*chosen)) : std::nullopt;
}

std::optional<Color> Dialogs::ChooseColour() {
    CHOOSECOLORW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner_;
    dialog.rgbResult = lastColour_;
    dialog.lpCustColors = customColours_;
    dialog.Flags = CC_RGBINIT;
    if (!ChooseColorW(&dialog)) return std::nullopt;
    lastColour_ = dialog.rgbResult;
    return static_cast<Color>(lastColour_);
}

}  // namespace kadrilo::win32
