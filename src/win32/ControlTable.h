// The controls of the main window, made, captioned, shown and read by loops
// over the layout tables; the fonts and pictures they share.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <optional>
#include <string>

#include "app/AppMainForm.h"
#include "ui/MainWindowLayout.h"
#include "win32/Handles.h"

namespace kadrilo::win32 {

struct ImageListCloser {
    void operator()(HIMAGELIST h) const { ImageList_Destroy(h); }
};
using UniqueImageList = UniqueHandle<HIMAGELIST, ImageListCloser>;

// The window class of pages and tabs, the windows that hold controls.
constexpr wchar_t ContainerClass[] = L"KadriloPage";

// Control ids are the ControlId plus this.
constexpr int ControlBaseId = 100;
constexpr int ImageSize = 16;
constexpr int PageImageSize = 32;
constexpr COLORREF MaskColour = RGB(255, 0, 255);

int CommandOf(layout::ControlId id);
std::optional<layout::ControlId> ControlOfCommand(int command);

// The fonts and image lists of the main window.
struct SharedResources {
    // Fonts are made for the window's dots an inch.
    int dpi = layout::DesignDpi;
    UniqueFont font;
    UniqueFont titleFont;
    UniqueFont linkFont;
    UniqueImageList images;      // 16 x 16: menu items, flags
    UniqueImageList pageImages;  // 32 x 32: the page buttons
    void Load(HINSTANCE instance, int dpi);
    void MakeFonts(int dpi);
};

class ControlTable {
public:
    HWND operator[](layout::ControlId id) const { return handles_[static_cast<size_t>(id)]; }
    void SetWindow(HWND main) { handles_[0] = main; }

    // Makes the controls of the rows in `host` windows found by their parents.
    void CreateRows(std::span<const layout::ControlRow> rows, const SharedResources& resources);
    // The window's dots an inch: the rows' places are scaled by it.
    void SetDpi(int dpi) { dpi_ = dpi; }
    int Dpi() const { return dpi_; }
    // Puts the rows' controls at their places for the current DPI, with the fonts given.
    void LayOutRows(std::span<const layout::ControlRow> rows, const SharedResources& resources);
    // Captions, enabled state and what the control shows, from the settings and
    // the language. Tab sheets are captioned by the settings page.
    void Refresh(const layout::ControlRow& row, TAppMainForm& form);
    // Sets a text only when it changed, so that a refresh does not flicker.
    static void SetText(HWND control, const std::string& text);
    // The value a control's notification asks its setting to take, if any.
    // `code` is the notification code (a track bar's: its scroll request).
    std::optional<SettingValue> ChangeOf(const layout::ControlRow& row, UINT code, const AppSettings& settings) const;

private:
    HWND HostOf(const layout::ControlRow& row) const;
    void SetUp(const layout::ControlRow& row, HWND control);
    void Place(const layout::ControlRow& row);
    void RefreshItems(const layout::ControlRow& row, const TAppMainForm& form);

    std::array<HWND, static_cast<size_t>(layout::ControlId::Count)> handles_{};
    // The up-down control of each spin field.
    std::array<HWND, static_cast<size_t>(layout::ControlId::Count)> spinners_{};
    int dpi_ = layout::DesignDpi;
};

}  // namespace kadrilo::win32
