// The main window's pages, the tray icon, closing and quitting.
#include "app/AppMainForm.h"
#include "settings/ShortcutText.h"
#include "ui/Strings.h"

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
    ports_.form.ShowPage(page, PageTitle(page));
}

void TAppMainForm::BringUpMainWindow(bool stopQuits) {
    if (ports_.windows.MainWindowVisible()) return;
    if (timer2Running_) {
        StopTimer2();
        ports_.sound.MessageBeep();
        PriorityChange(false);
        if (stopQuits && OneShotRun && Settings.WorkMode != ManualMode) QuitEx();
    }
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
    ports_.form.ClosePreviewAndOverlay();
    CloseRequest();
}

void TAppMainForm::QuitEx() {
    if (quitting_) return;
    quitting_ = true;
    ports_.windows.HideMainWindow();
    ports_.form.ClosePreviewAndOverlay();
    SettingsSaved = true;
    HideOnClose = false;
    CloseRequest();
    SaveCounters();
}

void TAppMainForm::TrayIconCheckOption() {
    if (Settings.TrayIconEnabled) {
        ports_.form.AddTrayIcon();  // an icon that still exists fails harmlessly
        ports_.timers.StartTimer(TimerId::Timer1, TrayRefreshMs);
    } else {
        ports_.form.DeleteTrayIcon();
        ports_.timers.StopTimer(TimerId::Timer1);
    }
}

void TAppMainForm::Timer1Timer() { TrayIconCheckOption(); }

void TAppMainForm::TaskbarCreated() {
    if (trayHandlerAttached_ && Settings.TrayIconEnabled) ports_.form.AddTrayIcon();
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
            ports_.form.ActiveSettingsTab() == SettingsTabMain)
            ports_.form.FocusSettingsTabs();
        ports_.windows.BringMainToForeground();
        ports_.form.ShowTrayMenu();
    }
}

void TAppMainForm::CheckFormStyle() {
    // The tray icon and the hotkeys belong to the window: withdrawn around the change.
    if (Settings.TrayIconEnabled) {
        ports_.timers.StopTimer(TimerId::Timer1);
        ports_.form.DeleteTrayIcon();
    }
    RegHotKeys(false);
    ports_.form.SetStayOnTop(Settings.StayOnTop);
    if (Settings.TrayIconEnabled) {
        ports_.timers.StartTimer(TimerId::Timer1, TrayRefreshMs);
        ports_.form.AddTrayIcon();
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
        ports_.form.ClosePreviewAndOverlay();
        return false;
    }
    bool canClose = true;
    if (ports_.windows.MainWindowVisible() || HideOnClose) {
        canClose = false;
        ports_.windows.HideMainWindow();
    }
    if (!OneShotRun) EndSave();
    ports_.form.SetViewButtonEnabled(false);
    if (!HideOnClose && Settings.TrayIconEnabled) ports_.form.DeleteTrayIcon();
    SaveSettings();
    if (!Settings.Coordinates) CentreMainWindow();
    return canClose;
}

void TAppMainForm::FormClose() {
    RegHotKeys(false);
    if (Settings.PriorityChange && !Settings.PriorityAutoChange) PriorityChange(false);
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
    ports_.form.ClosePreviewAndOverlay();
    HideOnClose = false;
    CloseRequest();
    return true;
}

void TAppMainForm::FormDestroy() {
    for (TimerId id : {TimerId::Timer1, TimerId::Timer2, TimerId::Timer3}) ports_.timers.StopTimer(id);
    timer2Running_ = false;
    // Work that went on after the quick quit (the last shot of a series) may
    // have advanced a number since the counters were written.
    if (quitting_) SaveCounters();
}

// ---- Reactions of the settings controls ------------------------------------------

void TAppMainForm::ApplySlot4TrayRule() {
    // While the hotkey that opens the settings is disabled, the tray icon is the
    // only way back to them: it is forced on (and the option greyed).
    if (Settings.HotKey4Mode == 2 && !Settings.TrayIconEnabled) {
        Settings.TrayIconEnabled = true;
        if (trayHandlerAttached_) TrayIconCheckOption();
    }
}

void TAppMainForm::HotKeyModeClick(int slot, int32_t mode) {
    if (slot < 1 || slot > 5 || mode < 0 || mode > 2) return;
    int32_t* modes[5] = {&Settings.HotKey1Mode, &Settings.HotKey2Mode, &Settings.HotKey3Mode, &Settings.HotKey4Mode,
                         &Settings.HotKey5Mode};
    const Shortcut keys[5] = {Settings.UserHotKey1, Settings.UserHotKey2, Settings.UserHotKey3, Settings.UserHotKey4,
                              Settings.UserHotKey5};
    *modes[slot - 1] = mode;
    if (!hotkeyHandlersAttached_) return;
    const bool hasKey = !ShortcutText(keys[slot - 1], [this](uint8_t k) { return ports_.hotkeys.KeyName(k); }).empty();
    if (mode != 1 || hasKey) {
        RegHotKeys(false);
        RegHotKeys(true);
    }
    if (slot == 4) ApplySlot4TrayRule();
    ports_.form.Refresh();
}

void TAppMainForm::HotKeyChange(int slot, Shortcut shortcut) {
    if (slot < 1 || slot > 5) return;
    Shortcut* keys[5] = {&Settings.UserHotKey1, &Settings.UserHotKey2, &Settings.UserHotKey3, &Settings.UserHotKey4,
                         &Settings.UserHotKey5};
    *keys[slot - 1] = shortcut;
    if (ShortcutText(shortcut, [this](uint8_t k) { return ports_.hotkeys.KeyName(k); }).empty()) return;
    RegHotKeys(false);
    RegHotKeys(true);
}

void TAppMainForm::CheckEmptyHotkeys() {
    if (ports_.windows.MainWindowVisible() && ports_.form.UserDefinedChoiceFocused()) ports_.form.FocusSettingsTabs();
    const int32_t modes[5] = {Settings.HotKey1Mode, Settings.HotKey2Mode, Settings.HotKey3Mode, Settings.HotKey4Mode,
                              Settings.HotKey5Mode};
    const Shortcut keys[5] = {Settings.UserHotKey1, Settings.UserHotKey2, Settings.UserHotKey3, Settings.UserHotKey4,
                              Settings.UserHotKey5};
    for (int slot = 1; slot <= 5; ++slot) {
        const bool empty =
            ShortcutText(keys[slot - 1], [this](uint8_t k) { return ports_.hotkeys.KeyName(k); }).empty();
        if (modes[slot - 1] == 1 && empty) HotKeyModeClick(slot, 2);
    }
}

void TAppMainForm::TrayOptionClick(bool show) {
    if (Settings.HotKey4Mode == 2) show = true;  // the option is greyed then
    Settings.TrayIconEnabled = show;
    if (trayHandlerAttached_) TrayIconCheckOption();
}

void TAppMainForm::StayOnTopClick(bool onTop) {
    Settings.StayOnTop = onTop;
    CheckFormStyle();
}

void TAppMainForm::SettingCheckBoxClick(std::string_view setting, bool checked) {
    if (setting == "TrayIconEnabled") {
        TrayOptionClick(checked);
    } else if (setting == "StayOnTop") {
        StayOnTopClick(checked);
    } else if (const SettingField* field = FindSettingField(setting);
               field && field->type == FieldType::Boolean && field->control == Control::CheckBox) {
        field->SetNumber(Settings, checked ? 1 : 0);
    }
    ports_.form.Refresh();  // the box shows what the setting became
}

void TAppMainForm::LanguageSelect(int32_t language) {
    if (language != Russian && language != English) return;
    Settings.Language = language;
    TranslateProgramInterface();
}

void TAppMainForm::TranslateProgramInterface() { ports_.form.Refresh(); }

}  // namespace kadrilo
