// Actions and working modes: the hotkey message, the action dispatch, series
// start and stop, the mode cycle and hotkey registration.
#include "app/AppMainForm.h"

namespace kadrilo {
namespace {

// The tone of each working mode, sounded when the mode cycle reaches it.
constexpr uint32_t ModeTones[4] = {500, 800, 1100, 1400};
constexpr uint32_t ModeToneMs = 30;

}  // namespace

void TAppMainForm::WMHotKey(int32_t id) {
    WindowPort& windows = ports_.windows;
    if (windows.MainWindowVisible() && windows.HotkeyEditorFocused()) return;
    if (windows.PreviewOrOverlayVisible()) return;
    if (const int slot = hotkeySlots_.SlotOf(id)) MainActions(slot);
}

void TAppMainForm::MainActions(int slot) {
    const bool seriesWasRunning = series_.Running();
    if (seriesWasRunning) StopSeries();
    switch (slot) {
        case 1:
        case 2:
            if (seriesWasRunning) return;
            if (Settings.WorkMode == ContinuousMode)
                StartSeries(slot - 1);
            else
                CreateScreenshot(slot - 1);
            return;
        case 3:
            if (!seriesWasRunning) ChooseScreenArea();
            return;
        case 4:
            SelectMainPage(1);
            ports_.windows.ShowMainWindow();
            return;
        case 5:
            ChangeMode();
            return;
        default:
            return;
    }
}

void TAppMainForm::StopSeries() { EndSeries(true); }

void TAppMainForm::EndSeries(bool sound, bool mayQuit) {
    series_.Stop();
    if (sound) ports_.sound.MessageBeep();
    priority_.SeriesEnded();
    if (mayQuit) ShotHandlingEnded();
}

void TAppMainForm::ShotHandlingEnded() {
    if (CommandLineRunQuits()) QuitEx();
}

void TAppMainForm::Timer2Timer() {
    if (series_.Tick(Settings)) EndSeries(false);
    // Also the tick that ended the series takes its shot.
    CreateScreenshot(series_.Kind());
}

void TAppMainForm::StartSeries(int kind) {
    priority_.SeriesStarted();
    series_.Start(kind, 1, 1);
}

void TAppMainForm::ChangeMode() {
    const int32_t next = Settings.WorkMode >= ManualMode && Settings.WorkMode < ClipboardMode ? Settings.WorkMode + 1
                                                                                                : ManualMode;
    Settings.WorkMode = next;
    BeepEx(ModeTones[next], ModeToneMs);
    CheckMode();
    SettingsSaved = false;
}

void TAppMainForm::SetWorkModeFromMenu(int32_t mode) {
    Settings.WorkMode = mode;
    CheckMode();
    SettingsSaved = false;
}

void TAppMainForm::BeepEx(uint32_t frequency, uint32_t milliseconds) {
    kadrilo::BeepEx(ports_.sound, frequency, milliseconds);
}

void TAppMainForm::RegHotKeys(bool registerKeys) {
    if (!registerKeys) {
        hotkeySlots_.Unregister();
        return;
    }
    hotkeySlots_.Register(Settings, [this](const std::string& text) { NotRegHotkeyMessage(text); });
}

void TAppMainForm::NotRegHotkeyMessage(const std::string& shortcutText) {
    if (CommandLineRunQuits()) return;
    ShowMessage(LoadStrEx(810) + shortcutText + LoadStrEx(811), MessageFlags::Ok | MessageFlags::IconStop);
    SelectMainPage(1);
    ports_.settingsPage.SelectSettingsTab(SettingsTabHotkeys);
    ports_.windows.ShowMainWindow();
}

void TAppMainForm::CheckMode() { ports_.tray.MarkWorkMode(Settings.WorkMode); }


}  // namespace kadrilo
