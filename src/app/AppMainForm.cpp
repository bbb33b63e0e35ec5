// Start-up, the command line, the single instance and the settings in the registry.
#include "app/AppMainForm.h"

#include "output/FileNaming.h"
#include "settings/SettingsStore.h"

namespace kadrilo {

TAppMainForm::TAppMainForm(Ports& ports, std::vector<std::string> args)
    : ports_(ports),
      args_(std::move(args)),
      messages_(ports.windows, Settings.Language),
      hotkeySlots_(ports.hotkeys),
      store_(ports.registry, hotkeySlots_.KeyNames()),
      settingsFile_(ports.profile, hotkeySlots_.KeyNames()),
      autostart_(ports.registry),
      priority_(ports.system, Settings),
      series_(ports.timers),
      shotRequest_(ports.screen, ports.windows),
      inscription_(ports.text, ports.clock),
      saveTarget_(ports.files, ProgramFolder(args_.at(0))),
      notices_(ports.sound, ports.files, ports.shell) {}

void TAppMainForm::FormCreate() {
    // The three timers exist from here on, stopped, until something starts them.

    const SystemVersion version = ports_.system.GetVersion();
    IsNT = version.platformId == 2;
    IsWin2000OrLater = version.major > 4;
    IsAdmin = IsNT ? ports_.system.CheckAdminAccess() : true;

    Requests = Check_cmd_Params(args_);
    OneShotRun = Requests.AnyShot();

    LoadSettings();

    // A command-line shot in a mode that quits afterwards shows no tray icon.
    if (!CommandLineRunQuits()) {
        trayHandlerAttached_ = true;
        TrayIconCheckOption();
    }
    // A stored "Stay on top window" takes effect as the settings are loaded;
    // the hotkeys are not registered yet, so only the style changes.
    if (Settings.StayOnTop) ports_.pages.SetStayOnTop(true);

    ports_.settingsPage.SelectSettingsTab(SettingsTabMain);
    SettingsPriorityCheck();
    CheckMode();

    SettingsSaved = true;
    CurrentMainPage = 0;
    SelectMainPage(0);

    HideOnClose = true;
    TranslateProgramInterface();

    if (!Settings.Coordinates) CentreMainWindow();

    ApplySlot4TrayRule();
    ports_.settingsPage.Refresh();  // the tray option as the rule left it
    hotkeyHandlersAttached_ = true;

    RegHotKeys(false);
    RegHotKeys(true);

    priority_.ProgramStarted();

    if (Requests.AnyDeferred()) ports_.timers.StartTimer(TimerId::Timer3, 1);
}

void TAppMainForm::Timer3Timer() {
    ports_.timers.StopTimer(TimerId::Timer3);

    const bool CommandLineRequests::*modes[] = {&CommandLineRequests::Mode1, &CommandLineRequests::Mode2,
                                                &CommandLineRequests::Mode3, &CommandLineRequests::Mode4};
    for (int mode = 0; mode < 4; ++mode) {
        if (Requests.*modes[mode]) {
            Settings.WorkMode = mode;
            CheckMode();
        }
    }
    if (Settings.WorkMode == ManualMode) OneShotRun = false;

    if (Requests.ShotFullScreen) MainActions(1);
    if (Requests.ShotActiveWindow) MainActions(2);
    if (Requests.ShotSelectedArea) MainActions(3);

    if (Requests.OpenSettingsRequested) OpenProgramSettings();
}

void TAppMainForm::CheckRunning() {
    InstancePort& instance = ports_.instance;
    const std::optional<WindowId> other = instance.FindRunningInstance(InstanceMarker);
    if (!other) return;

    instance.SendCommandLine(*other, BuildQuotedCommandLine(args_));
    instance.ActivateInstance(*other);
    ShowMessage(LoadStrEx(805), MessageFlags::Ok | MessageFlags::IconStop);
    ports_.system.ExitProcess(0);
}

bool TAppMainForm::RemoveSettings(bool settingsFound) {
    if (!Requests.RemoveSettingsRequested) return false;

    if (!settingsFound) {
        if (ShowMessage(LoadStrEx(808), MessageFlags::YesNo | MessageFlags::IconQuestion) ==
            MessageAnswer::No)
            ports_.system.ExitProcess(0);
        return false;
    }

    if (ShowMessage(LoadStrEx(806), MessageFlags::YesNo | MessageFlags::IconExclamation) !=
        MessageAnswer::Yes)
        return false;
    DeleteOldSettings(ports_.registry, IsAdmin);
    if (ShowMessage(LoadStrEx(807), MessageFlags::YesNo | MessageFlags::IconQuestion) ==
        MessageAnswer::No)
        ports_.system.ExitProcess(0);
    SetDefaultSettings(Settings, ports_.system, ports_.files, ports_.fonts);
    return true;
}

void TAppMainForm::CheckSystemLanguage() {
    Settings.Language = LanguageFromSystemName(ports_.system.UserLanguageName());
}

// ---- Settings in the registry ---------------------------------------------------------

void TAppMainForm::LoadSettings() {
    if (!store_.KeyExists()) {
        CheckSystemLanguage();
        CheckRunning();
        RemoveSettings(false);
        SetDefaultSettings(Settings, ports_.system, ports_.files, ports_.fonts);
        Settings.Autostart = autostart_.ReadChoice(Settings.Autostart);
        return;
    }

    if (std::optional<int64_t> language = store_.StoredNumber(SettingId::Language)) ApplyStoredLanguage(*language);
    CheckRunning();

    if (RemoveSettings(true)) return;

    bool deleteStored = false;
    switch (store_.CheckVersion()) {
        case StoredVersion::Current:
            break;
        case StoredVersion::Missing:
            deleteStored = true;
            break;
        case StoredVersion::Older:
        case StoredVersion::Newer: {
            const int message = store_.CheckVersion() == StoredVersion::Older ? 830 : 829;
            deleteStored = ShowMessage(LoadStrEx(message), MessageFlags::YesNo | MessageFlags::IconExclamation) ==
                           MessageAnswer::Yes;
            break;
        }
    }

    if (!deleteStored) {
        store_.ApplyStoredValues(Settings, ports_.fonts);
        if (Settings.Coordinates) ports_.windows.MoveMainWindow(Settings.Left, Settings.Top);
        Settings.Autostart = autostart_.ReadChoice(Settings.Autostart);
        return;
    }
    DeleteOldSettings(ports_.registry, IsAdmin);
    CheckSystemLanguage();
    SetDefaultSettings(Settings, ports_.system, ports_.files, ports_.fonts);
}

void TAppMainForm::ApplyStoredLanguage(int64_t language) {
    // A language the program does not have (an edited registry) falls back to
    // the system's, so that every text can still be read.
    if (language == Russian || language == English)
        Settings.Language = static_cast<int32_t>(language);
    else
        CheckSystemLanguage();
}

void TAppMainForm::SaveSettings() {
    if (SettingsSaved) return;
    ports_.settingsPage.SelectSettingsTab(SettingsTabMain);
    const Rect window = ports_.windows.MainWindowRect();
    AppSettings saved = Settings;
    saved.Left = window.left;
    saved.Top = window.top;
    if (store_.WriteAll(saved)) {
        Settings.Left = saved.Left;
        Settings.Top = saved.Top;
    }
    autostart_.Reconcile(Settings.Autostart, args_.at(0), IsAdmin);
    SettingsSaved = true;
}

void TAppMainForm::SaveCounters() { store_.SaveCounters(Settings); }

}  // namespace kadrilo
