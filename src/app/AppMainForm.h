// TAppMainForm: the main window's logic. The Windows layer creates the real
// window and calls these handlers; everything the logic needs from the system
// goes through the ports.
#pragma once

#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "platform/Ports.h"
#include "settings/AppSettings.h"

namespace kadrilo {

// The property value that marks the application window of a running instance.
constexpr int32_t InstanceMarker = 736218;

inline constexpr const char* ProgramCaption = "Kadrilo";

class TAppMainForm {
public:
    // `args` are the program's arguments in UTF-8, argument 0 the program's path.
    TAppMainForm(Ports& ports, std::vector<std::string> args);
    virtual ~TAppMainForm() = default;
    TAppMainForm(const TAppMainForm&) = delete;
    TAppMainForm& operator=(const TAppMainForm&) = delete;

    // Start-up, run while the main window is created.
    void FormCreate();
    // Carries out the command-line requests once the message loop runs.
    void Timer3Timer();

    void LoadSettings();
    // Returns only when no other instance runs; otherwise ends the process.
    void CheckRunning();
    // The removal dialogue; true when the settings were removed and reset.
    bool RemoveSettings(bool settingsFound);
    void CheckSystemLanguage();

    // The text of a string id in the current language.
    std::string LoadStrEx(int id) const;
    // Brings the main window forward and shows a message box captioned "Kadrilo".
    MessageAnswer ShowMessage(const std::string& text, unsigned flags);

    // Actions, the mode marks and the settings page, carried out by the action
    // dispatch, the mode check and the main window.
    virtual void MainActions(int slot);
    virtual void CheckMode();
    virtual void OpenProgramSettings();

    const std::vector<std::string>& Arguments() const { return args_; }

    AppSettings Settings;
    CommandLineRequests Requests;
    bool IsNT = false;
    bool IsWin2000OrLater = false;
    bool IsAdmin = false;
    bool OneShotRun = false;
    bool HideOnClose = false;
    bool SettingsSaved = false;
    int CurrentMainPage = 0;

protected:
    Ports& ports_;

private:
    void ApplyStoredLanguage(int64_t language);

    std::vector<std::string> args_;
};

}  // namespace kadrilo
