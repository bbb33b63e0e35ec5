// The main window's pages, the tray icon, closing and quitting.
#include "app/AppMainForm.h"

namespace kadrilo {
namespace {

constexpr uint32_t TrayDoubleClick = 0x203;   // WM_LBUTTONDBLCLK
constexpr uint32_t TrayRightButton = 0x204;   // WM_RBUTTONDOWN
constexpr unsigned IconInformation = 0x40;    // MB_ICONINFORMATION
constexpr uint32_t TrayRefreshMs = 60000;

}  // namespace

std::string TAppMainForm::PageTitle(int page) const {
    static constexpr int Titles[3] = {10, 11, 12};
    if (page < 0 || page > 2) return ProgramCaption;
    return std::string(ProgramCaption) + " - " + LoadStrEx(Titles[page]);
}

void TAppMainForm::SelectMainPage(int page) {
    if (page < 0 || page > 2) return;
    CurrentMainPage = page == 1 ? 1 : 0;
    if (page == 1) SettingsSaved = false;
    ports_.pages.ShowPage(page, PageTitle(page));
}

void TAppMainForm::BringUpMainWindow(bool stopQuits) {
    if (ports_.windows.MainWindowVisible()) return;
    if (series_.Running()) EndSeries(true, stopQuits);
    ports_.windows.ShowMainWindow();
}

void TAppMainForm::OpenProgramSettings() {
    SelectMainPage(1);
    BringUpMainWindow(true);
}

void TAppMainForm::N8Click() {
    SelectMainPage(2);
    BringUpMainWindow(false);
}

void TAppMainForm::SpeedButton1Click() {
    if (!HeldImage) {
        ports_.sound.MessageBeep();
        return;
    }
    SelectMainPage(0);
}

void TAppMainForm::SpeedButton3Click() { CloseRequest(); }

void TAppMainForm::SpeedButton4Click() {
    if (Settings.ConfirmationOnClose &&
        ShowMessage(LoadStrEx(825), MessageFlags::YesNo | IconInformation) != MessageAnswer::Yes)
        return;
    HideOnClose = false;
    SettingsSaved = false;
    ports_.windows.HideMainWindow();
    ports_.pages.ClosePreviewAndOverlay();
    CloseRequest();
}

void TAppMainForm::QuitEx() {
    if (quitting_) return;
    quitting_ = true;
    ports_.windows.HideMainWindow();
    ports_.pages.ClosePreviewAndOverlay();
    SettingsSaved = true;
    HideOnClose = false;
    CloseRequest();
    SaveCounters();
}

void TAppMainForm::TrayIconCheckOption() {
    if (Settings.TrayIconEnabled) {
        ports_.tray.AddTrayIcon();  // an icon that still exists fails harmlessly
        ports_.timers.StartTimer(TimerId::Timer1, TrayRefreshMs);
    } else {
        ports_.tray.DeleteTrayIcon();
        ports_.timers.StopTimer(TimerId::Timer1);
    }
}

void TAppMainForm::Timer1Timer() { TrayIconCheckOption(); }

void TAppMainForm::TaskbarCreated() {
    if (trayHandlerAttached_ && Settings.TrayIconEnabled) ports_.tray.AddTrayIcon();
}

void TAppMainForm::WMTrayIcon(uint32_t mouseMessage) {
    if (mouseMessage == TrayDoubleClick) {
        if (ports_.windows.MainWindowVisible()) {
            ports_.windows.HideMainWindow();
        } else {
            SelectMainPage(1);
            BringUpMainWindow(false);
        }
    } else if (mouseMessage == TrayRightButton) {
        if (ports_.windows.MainWindowVisible() && CurrentMainPage == 1 &&
            ports_.settingsPage.ActiveSettingsTab() == SettingsTabMain)
            ports_.settingsPage.FocusSettingsTabs();
        ports_.windows.BringMainToForeground();
        ports_.tray.ShowTrayMenu();
    }
}

void TAppMainForm::CheckFormStyle() {
    // The tray icon and the hotkeys belong to the window: withdrawn around the change.
    if (Settings.TrayIconEnabled) {
        ports_.timers.StopTimer(TimerId::Timer1);
        ports_.tray.DeleteTrayIcon();
    }
    RegHotKeys(false);
    ports_.pages.SetStayOnTop(Settings.StayOnTop);
    if (Settings.TrayIconEnabled) {
        ports_.timers.StartTimer(TimerId::Timer1, TrayRefreshMs);
        ports_.tray.AddTrayIcon();
    }
    RegHotKeys(true);
}

void TAppMainForm::CentreMainWindow() {
    const Rect screen = ports_.windows.ScreenRect();
    const Rect window = ports_.windows.MainWindowRect();
    ports_.windows.MoveMainWindow(screen.Width() / 2 - window.Width() / 2,
                                  screen.Height() / 2 - window.Height() / 2);
}

bool TAppMainForm::FormCloseQuery() {
    CheckEmptyHotkeys();
    if (ports_.windows.PreviewOrOverlayVisible()) {
        ports_.pages.ClosePreviewAndOverlay();
        return false;
    }
    bool canClose = true;
    if (ports_.windows.MainWindowVisible() || HideOnClose) {
        canClose = false;
        ports_.windows.HideMainWindow();
    }
    if (!OneShotRun) EndSave();
    ports_.pages.SetViewButtonEnabled(false);
    if (!HideOnClose && Settings.TrayIconEnabled) ports_.tray.DeleteTrayIcon();
    SaveSettings();
    if (!Settings.Coordinates) CentreMainWindow();
    return canClose;
}

void TAppMainForm::FormClose() {
    RegHotKeys(false);
    priority_.ProgramClosing();
}

void TAppMainForm::CloseRequest() {
    if (closed_ || !FormCloseQuery()) return;
    closed_ = true;
    FormClose();
    ports_.windows.EndMessageLoop();
}

bool TAppMainForm::WMQueryEndSession() {
    CloseRequest();
    SettingsSaved = false;
    ports_.windows.HideMainWindow();
    ports_.pages.ClosePreviewAndOverlay();
    HideOnClose = false;
    CloseRequest();
    return true;
}

void TAppMainForm::FormDestroy() {
    for (TimerId id : {TimerId::Timer1, TimerId::Timer2, TimerId::Timer3}) ports_.timers.StopTimer(id);
    series_.Forget();
    // Work that went on after the quick quit (the last shot of a series) may
    // have advanced a number since the counters were written.
    if (quitting_) SaveCounters();
}

}  // namespace kadrilo
