// The selection overlay (TAllocationForm): the frozen screen shown one to one
// over the primary monitor, the selection's dotted frame inverting the pixels
// under it, the cursor of the zone under the pointer and the Apply / Cancel menu.
// What the selection is and does lives in the core; this window draws it and
// hands its keys and menu commands on.
#pragma once

#include <windows.h>

#include "app/AppMainForm.h"
#include "win32/Handles.h"
#include "win32/WindowBase.h"

namespace kadrilo::win32 {

class Overlay : public WindowBase, public OverlayPort {
public:
    static constexpr wchar_t ClassName[] = L"TAllocationForm";
    // How long the overlay tries to take the foreground back before it closes.
    static constexpr DWORD ForegroundAttemptsMs = 2000;

    HWND Create(HINSTANCE instance, HWND owner, TAppMainForm& form);

    void ShowOverlay() override;
    void HideOverlay() override;
    bool OverlayVisible() override { return window_ && IsWindowVisible(window_); }
    void UpdateOverlay(const Rect& before, const Rect& after) override;
    void ShowOverlayMenu() override;
    bool KeyDown(int virtualKey) override { return GetKeyState(virtualKey) < 0; }

    // The program's message loop: a message taken from the queue, before it is
    // dispatched. Mouse messages of any of the program's windows go to the
    // selection while the overlay is visible; nothing is consumed.
    void AppMessage(const MSG& message);

private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Paint();
    bool OnSetCursor();
    // Takes the foreground back from another window, within ForegroundAttemptsMs.
    bool BringWindowToForeground();
    void ReleaseBuffers();

    TAppMainForm* form_ = nullptr;
    HCURSOR rectCursor_ = nullptr;
    UniqueDc frozenDc_;  // the frozen screen, selected into its own context
    UniqueBitmap frozenBitmap_;
    HGDIOBJ frozenPrevious_ = nullptr;
    UniqueDc backDc_;    // the back buffer every paint is composed in
    UniqueBitmap backBitmap_;
    HGDIOBJ backPrevious_ = nullptr;
    bool takingForeground_ = false;
};

}  // namespace kadrilo::win32
