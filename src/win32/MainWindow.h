// The main window's surface: every control of the layout table, made, shown,
// captioned and read by loops over that table; the tray icon and its menu.
// Control notifications are unpacked here and handed to the core's handlers.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <string>

#include "app/AppMainForm.h"
#include "win32/Viewer.h"
#include "ui/MainWindowLayout.h"
#include "win32/Handles.h"

namespace kadrilo::win32 {

// The program's windows, as the ports need them.
struct ProgramWindows {
    HWND application = nullptr;  // hidden top-level window that owns the main window
    HWND main = nullptr;
    HWND viewer = nullptr;
    HWND allocation = nullptr;
};

struct ImageListCloser {
    void operator()(HIMAGELIST h) const { ImageList_Destroy(h); }
};
struct AcceleratorCloser {
    void operator()(HACCEL h) const { DestroyAcceleratorTable(h); }
};
struct MenuCloser {
    void operator()(HMENU h) const { DestroyMenu(h); }
};
using UniqueFont = UniqueHandle<HFONT, GdiObjectCloser>;
using UniqueImageList = UniqueHandle<HIMAGELIST, ImageListCloser>;
using UniqueAccelerators = UniqueHandle<HACCEL, AcceleratorCloser>;
using UniqueMenu = UniqueHandle<HMENU, MenuCloser>;

class MainWindow : public MainFormPort {
public:
    MainWindow(const ProgramWindows& w, Viewer& viewer) : w_(w), viewer_(viewer) {}

    // Makes every control of the layout inside the main window; `form` gives the
    // texts and the settings the controls show and takes their notifications.
    void CreateControls(HINSTANCE instance, TAppMainForm& form);
    // A message of the main window (or forwarded to it by a page or a tab) that
    // concerns the controls: true when it was handled, with its result.
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Before a message is dispatched: the window shortcuts and the keyboard
    // navigation between the controls. True when the message was used up.
    bool PreTranslateMessage(MSG& message);

    void ShowPage(int page, const std::string& title) override;
    void SetViewButtonEnabled(bool enabled) override;
    void UpdatePreview() override;
    void Refresh() override;
    void ClosePreviewAndOverlay() override;
    void ShowViewer(const Bitmap& image) override { viewer_.Show(image); }
    bool ViewerVisible() override { return viewer_.Visible(); }
    bool AddTrayIcon() override;
    void DeleteTrayIcon() override;
    void ShowTrayMenu() override;
    void SetStayOnTop(bool onTop) override;
    void SelectSettingsTab(int tab) override;
    int ActiveSettingsTab() override;
    bool UserDefinedChoiceFocused() override;
    void FocusSettingsTabs() override;
    std::string BrowseForFolder(const std::string& title) override;
    std::optional<SaveChoice> SavePictureDialog(const std::string& fileName, int32_t filterIndex) override;
    void MarkWorkMode(int mode) override;

private:
    HWND Control(layout::ControlId id) const { return controls_[static_cast<size_t>(id)]; }
    HWND HostOf(const layout::ControlRow& row) const;
    void CreateResources(HINSTANCE instance);
    HWND CreateControl(const layout::ControlRow& row, bool startsGroup);
    void SetUpControl(const layout::ControlRow& row);
    void CreateShortcuts();
    void LayOutTabs();
    void ShowTab(int index);
    void RefreshControl(const layout::ControlRow& row);
    void SetText(HWND control, const std::string& text);

    bool OnCommand(WPARAM wParam, LPARAM lParam);
    void OnControlCommand(const layout::ControlRow& row, UINT code, bool fromShortcut);
    void Click(layout::ControlId id);
    void RunTrayCommand(layout::TrayCommand command);
    bool OnNotify(const NMHDR& header);
    void OnMeasureItem(MEASUREITEMSTRUCT& item);
    bool OnDrawItem(const DRAWITEMSTRUCT& item);
    void DrawTitle(const DRAWITEMSTRUCT& item);
    void DrawPreview(const DRAWITEMSTRUCT& item);
    void DrawPageButton(const DRAWITEMSTRUCT& item);
    void DrawLanguageItem(const DRAWITEMSTRUCT& item);
    void DrawMenuImage(const DRAWITEMSTRUCT& item);
    bool OnControlColour(HDC dc, HWND control, LRESULT& result);
    bool OnSetCursor(HWND over, UINT hitTest);
    void PaintFrame();

    const ProgramWindows& w_;

    Viewer& viewer_;
    TAppMainForm* form_ = nullptr;
    // By ControlId; entry 0 (Window) is the main window itself.
    std::array<HWND, static_cast<size_t>(layout::ControlId::Count)> controls_{};
    std::array<layout::ControlId, 6> tabs_{};  // the tab sheets, in the tab control's order
    std::array<int32_t, 6> tabContentHeights_{};
    size_t tabCount_ = 0;
    RECT tabArea_{};  // where the tabs lie in the tab control's page
    UniqueFont font_;
    UniqueFont titleFont_;
    UniqueFont linkFont_;
    UniqueImageList images_;       // 16 x 16: menu items, flags
    UniqueImageList pageImages_;   // 32 x 32: the page buttons
    UniqueAccelerators shortcuts_;
    int page_ = 0;
    int markedMode_ = -1;
    bool refreshing_ = false;
};

}  // namespace kadrilo::win32
