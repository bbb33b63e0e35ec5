// The about page's controls and every link label of the main window: their
// fixed texts, their looks as the mouse moves over them and presses them, their
// clicks and context menus, and the logo.
#pragma once

#include <windows.h>

#include "ui/AboutPage.h"
#include "win32/ControlTable.h"

namespace kadrilo::win32 {

class AboutPage {
public:
    AboutPage(ControlTable& controls, const SharedResources& resources, ShellPort& shell, ClipboardPort& clipboard)
        : controls_(controls), resources_(resources), links_(shell, clipboard) {}

    // After the frame's controls exist: the fixed texts, the logo and the link
    // labels' mouse handling.
    void Create(HINSTANCE instance, TAppMainForm& form);
    // The "About..." label's switch (off while the about page shows).
    void SetAboutLinkEnabled(bool enabled);
    // Link labels as wide as their texts, after the captions changed.
    void FitLinks();
    // The colour of a link label's text; false for any other control.
    bool OnControlColour(HDC dc, HWND control, LRESULT& result);
    void DrawLogo(const DRAWITEMSTRUCT& item);

private:
    static LRESULT CALLBACK LinkProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR self);
    LRESULT OnLinkMessage(layout::ControlId id, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void ShowLook(layout::ControlId id, bool atOnce = false);
    void ShowContextMenu(HWND window, LPARAM at);

    ControlTable& controls_;
    const SharedResources& resources_;
    AboutPageLinks links_;
    TAppMainForm* form_ = nullptr;
    UniqueImageList logo_;
    HWND tracked_ = nullptr;  // the link the pointer is over, told when the pointer leaves it
};

}  // namespace kadrilo::win32
