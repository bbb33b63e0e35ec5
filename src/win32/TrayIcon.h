// The tray icon and its menu, made anew from the texts of the current language
// each time it opens; its pictures are drawn by the main window (WM_DRAWITEM).
#pragma once

#include <windows.h>

#include "app/AppMainForm.h"
#include "ui/MainWindowLayout.h"
#include "win32/ControlTable.h"

namespace kadrilo::win32 {

class TrayIcon : public TrayPort {
public:
    // Tray menu commands are the TrayCommand plus this.
    static constexpr int CommandBaseId = 1000;

    TrayIcon(const HWND& main, const SharedResources& resources) : main_(main), resources_(resources) {}
    void Attach(TAppMainForm& form) { form_ = &form; }

    bool AddTrayIcon() override;
    void DeleteTrayIcon() override;
    void ShowTrayMenu() override;
    void MarkWorkMode(int mode) override;

    // A menu command: true when it was one of the tray menu's.
    bool OnCommand(int id);
    void OnMeasureItem(MEASUREITEMSTRUCT& item);
    void DrawMenuImage(const DRAWITEMSTRUCT& item);

private:
    const HWND& main_;
    const SharedResources& resources_;
    TAppMainForm* form_ = nullptr;
    int markedMode_ = -1;
};

}  // namespace kadrilo::win32
