// Actions and working modes: the hotkey message, the action dispatch, series
// start and stop, the mode cycle, hotkey registration, priority and quitting.
#include <algorithm>

#include "app/AppMainForm.h"
#include "settings/SettingsStore.h"
#include "settings/ShortcutText.h"

namespace kadrilo {
namespace {

constexpr uint32_t VirtualKeyPrintScreen = 0x2C;
constexpr uint32_t ModAlt = 1, ModControl = 2, ModShift = 4;

struct DefaultHotkey {
    uint32_t modifiers;
    const char* text;  // as the failure report names it
};
constexpr DefaultHotkey DefaultHotkeys[5] = {
    {0, "PrintScreen"},
    {ModAlt, "Alt + PrintScreen"},
    {ModControl, "Ctrl + PrintScreen"},
    {ModShift, "Shift + PrintScreen"},
    {ModControl | ModShift, "Ctrl + Shift + PrintScreen"},
};

// The tone of each working mode, sounded when the mode cycle reaches it.
constexpr uint32_t ModeTones[4] = {500, 800, 1100, 1400};
constexpr uint32_t ModeToneMs = 30;

// Priority pairs by priority class: process class, thread priority.
constexpr std::pair<uint32_t, int> PriorityPairs[3] = {{0x80, 2}, {0x20, 0}, {0x40, -15}};
constexpr std::pair<uint32_t, int> NormalPriority = PriorityPairs[1];

}  // namespace

void TAppMainForm::WMHotKey(int32_t id) {
    WindowPort& windows = ports_.windows;
    if (windows.MainWindowVisible() && windows.HotkeyEditorFocused()) return;
    if (windows.PreviewOrOverlayVisible()) return;
    for (int slot = 1; slot <= 5; ++slot) {
        if (id == HotkeyId(slot)) {
            MainActions(slot);
            return;
        }
    }
}

void TAppMainForm::MainActions(int slot) {
    const bool seriesWasRunning = timer2Running_;
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

void TAppMainForm::StopSeries() {
    StopTimer2();
    ports_.sound.MessageBeep();
    PriorityChange(false);
    if (OneShotRun && Settings.WorkMode != ManualMode) QuitEx();
}

void TAppMainForm::Timer2Timer() {
    Settings.IntervalOfTime = std::clamp(Settings.IntervalOfTime, 1, 9999);
    ports_.timers.StartTimer(TimerId::Timer2, static_cast<uint32_t>(Settings.IntervalOfTime) * 100);
    if (!Settings.ManualSerial) {
        ++SeriesCounter;
        if (Settings.QuantityOfScreenshots < SeriesCounter) {
            StopTimer2();
            PriorityChange(false);
            if (OneShotRun && Settings.WorkMode != ManualMode) QuitEx();
        }
    }
    // Also the tick that ended the series takes its shot.
    CreateScreenshot(timer2Kind_);
}

void TAppMainForm::StartSeries(int kind) {
    SeriesCounter = 1;
    PriorityChange(true);
    StartTimer2(1, kind);
}

void TAppMainForm::StartTimer2(uint32_t intervalMs, int kind) {
    timer2Kind_ = kind;
    timer2Running_ = true;
    ports_.timers.StartTimer(TimerId::Timer2, intervalMs);
}

void TAppMainForm::StopTimer2() {
    timer2Running_ = false;
    ports_.timers.StopTimer(TimerId::Timer2);
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
    // Where the speaker cannot be driven, the default system sound stands in.
    if (!ports_.sound.Beep(frequency, milliseconds)) ports_.sound.MessageBeep();
}

void TAppMainForm::PriorityChange(bool on) {
    if (!on) {
        ports_.system.SetPriority(NormalPriority.first, NormalPriority.second);
        return;
    }
    if (Settings.PriorityClass < 0 || Settings.PriorityClass > 2) return;
    const auto& [processClass, threadPriority] = PriorityPairs[Settings.PriorityClass];
    ports_.system.SetPriority(processClass, threadPriority);
}

void TAppMainForm::RegHotKeys(bool registerKeys) {
    HotkeyPort& hotkeys = ports_.hotkeys;
    if (!registerKeys) {
        for (int32_t id : hotkeyIds_)
            if (id != 0) hotkeys.UnregisterHotKey(id);
        return;
    }
    const SystemKeyNames keyNames = [&](uint8_t key) { return hotkeys.KeyName(key); };
    for (int slot = 1; slot <= 5; ++slot)
        hotkeyIds_[slot - 1] = hotkeys.GlobalAtom("KadrilioHotkey" + std::to_string(slot));
    const int32_t modes[5] = {Settings.HotKey1Mode, Settings.HotKey2Mode, Settings.HotKey3Mode, Settings.HotKey4Mode,
                              Settings.HotKey5Mode};
    const Shortcut userKeys[5] = {Settings.UserHotKey1, Settings.UserHotKey2, Settings.UserHotKey3,
                                  Settings.UserHotKey4, Settings.UserHotKey5};
    for (int i = 0; i < 5; ++i) {
        if (modes[i] == 1) {
            const Shortcut key = userKeys[i];
            const uint32_t modifiers = ((key.value & Shortcut::Shift) ? ModShift : 0) |
                                       ((key.value & Shortcut::Alt) ? ModAlt : 0) |
                                       ((key.value & Shortcut::Ctrl) ? ModControl : 0);
            if (!hotkeys.RegisterHotKey(hotkeyIds_[i], modifiers, key.Key()))
                NotRegHotkeyMessage(ShortcutText(key, keyNames));
        } else if (modes[i] == 0) {
            if (!hotkeys.RegisterHotKey(hotkeyIds_[i], DefaultHotkeys[i].modifiers, VirtualKeyPrintScreen))
                NotRegHotkeyMessage(DefaultHotkeys[i].text);
        }
    }
}

void TAppMainForm::NotRegHotkeyMessage(const std::string& shortcutText) {
    if (OneShotRun && Settings.WorkMode != ManualMode) return;
    ShowMessage(LoadStrEx(810) + shortcutText + LoadStrEx(811), MessageFlags::Ok | MessageFlags::IconStop);
    SelectMainPage(1);
    ports_.form.SelectSettingsTab(SettingsTabHotkeys);
    ports_.windows.ShowMainWindow();
}

void TAppMainForm::CheckMode() { ports_.form.MarkWorkMode(Settings.WorkMode); }

void TAppMainForm::ChooseScreenArea() {}

}  // namespace kadrilo
