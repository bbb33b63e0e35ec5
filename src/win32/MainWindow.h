// The main window: its frame (title, page buttons, bottom strip, pages) from
// the layout table, the settings page, the tray icon and the dialogs. Its
// messages are unpacked here and handed to the core's handlers.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/AppMainForm.h"
#include "ui/MainWindowLayout.h"
#include "win32/AboutPage.h"
#include "win32/ControlTable.h"
#include "win32/Dialogs.h"
#include "win32/Handles.h"
#include "win32/TrayIcon.h"
#include "win32/Viewer.h"
#include "win32/WindowBase.h"
#include "win32/settings/SettingsPage.h"

namespace kadrilo::win32 {

// The program's windows, as the ports need them.
struct ProgramWindows {
    HWND application = nullptr;  // hidden top-level window that owns the main window
    HWND main = nullptr;
    HWND viewer = nullptr;
    HWND allocation = nullptr;
};

struct AcceleratorCloser {
    void operator()(HACCEL h) const { DestroyAcceleratorTable(h); }
};
using UniqueAccelerators = UniqueHandle<HACCEL, AcceleratorCloser>;

class MainWindow : public WindowBase, public MainPagesPort {
public:
    static constexpr wchar_t ClassName[] = L"TAppMainForm";

    MainWindow(const ProgramWindows& w, Viewer& viewer, ShellPort& shell, ClipboardPort& clipboard)
        : w_(w), viewer_(viewer), settingsPage_(controls_, resources_), tray_(w.main, resources_), dialogs_(w.main),
          about_(controls_, resources_, shell, clipboard) {}

    // Makes the window with every control; the handlers run from then on.
    HWND Create(HINSTANCE instance, HWND owner, TAppMainForm& form);
    // Before a message is dispatched: the window shortcuts and the keyboard
    // navigation between the controls. True when the message was used up.
    bool PreTranslateMessage(MSG& message);

    SettingsPage& Settings() { return settingsPage_; }
    TrayIcon& Tray() { return tray_; }
    Dialogs& CommonDialogs() { return dialogs_; }

    void ShowPage(int page, const std::string& title) override;
    void SetViewButtonEnabled(bool enabled) override;
    void UpdatePreview() override;
    void SetStayOnTop(bool onTop) override;
    void ClosePreviewAndOverlay() override;
    void ShowViewer(const Bitmap& image) override { viewer_.Show(image); }
    bool ViewerVisible() override { return viewer_.Visible(); }

private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void CreateShortcuts();
    void RefreshFrame();
    bool OnCommand(WPARAM wParam, LPARAM lParam);
    void Click(layout::ControlId id);
    void OnMeasureItem(MEASUREITEMSTRUCT& item);
    bool OnDrawItem(const DRAWITEMSTRUCT& item);
    void DrawTitle(const DRAWITEMSTRUCT& item);
    void DrawPreview(const DRAWITEMSTRUCT& item);
    void DrawPageButton(const DRAWITEMSTRUCT& item);
    bool OnControlColour(HDC dc, HWND control, LRESULT& result);
    bool OnSetCursor(HWND over, UINT hitTest);
    void PaintFrame();
    // The window's client size and its controls for its dots an inch.
    void FitToDpi(int dpi);
    void OnDpiChanged(int dpi, const RECT& suggested);

    const ProgramWindows& w_;
    Viewer& viewer_;
    TAppMainForm* form_ = nullptr;
    UINT taskbarCreated_ = 0;
    ControlTable controls_;
    SharedResources resources_;
    SettingsPage settingsPage_;
    TrayIcon tray_;
    Dialogs dialogs_;
    UniqueAccelerators shortcuts_;
    AboutPage about_;
    HCURSOR clickCursor_ = nullptr;  // the program's pointing hand
    int page_ = 0;
};

}  // namespace kadrilo::win32
