#include "app/AppMainForm.h"

#include "settings/SettingsStore.h"
#include "ui/Strings.h"

namespace kadrilo {

TAppMainForm::TAppMainForm(Ports& ports, std::vector<std::string> args)
    : ports_(ports), args_(std::move(args)) {}

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
    const bool trayShown = !(OneShotRun && Settings.WorkMode != ManualMode);
    if (trayShown) {
        trayHandlerAttached_ = true;
        TrayIconCheckOption();
    }

    ports_.form.SelectSettingsTab(SettingsTabMain);
    CheckMode();

    SettingsSaved = true;
    CurrentMainPage = 0;
    SelectMainPage(0);

    HideOnClose = true;
    TranslateProgramInterface();

    if (!Settings.Coordinates) CentreMainWindow();

    ApplySlot4TrayRule();
    hotkeyHandlersAttached_ = true;

    RegHotKeys(false);
    RegHotKeys(true);

    if (Settings.PriorityChange && !Settings.PriorityAutoChange) PriorityChange(true);

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
    if (Settings.WorkMode == 0) OneShotRun = false;

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

std::string TAppMainForm::LoadStrEx(int id) const { return kadrilo::LoadStrEx(Settings.Language, id); }

MessageAnswer TAppMainForm::ShowMessage(const std::string& text, unsigned flags) {
    ports_.windows.BringMainToForeground();
    return ports_.windows.ShowMessageBox(text, ProgramCaption, flags);
}


}  // namespace kadrilo
