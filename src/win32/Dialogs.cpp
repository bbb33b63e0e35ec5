#include "win32/Dialogs.h"

#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>

#include "win32/Handles.h"

namespace kadrilo::win32 {

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

}  // namespace kadrilo::win32
