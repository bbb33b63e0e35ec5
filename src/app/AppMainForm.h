// TAppMainForm: the main window's logic. The Windows layer creates the real
// window and calls these handlers; everything the logic needs from the system
// goes through the ports.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/CommandLine.h"
#include "platform/Bitmap.h"
#include "platform/Ports.h"
#include "settings/AppSettings.h"

namespace kadrilo {

// The property value that marks the application window of a running instance.
constexpr int32_t InstanceMarker = 736218;

inline constexpr const char* ProgramCaption = "Kadrilo";

// The settings tabs, in their order.
enum SettingsTabs : int { SettingsTabMain = 0, SettingsTabHotkeys = 2 };

// The working modes.
enum WorkModes : int32_t { ManualMode = 0, AutosaveMode = 1, ContinuousMode = 2, ClipboardMode = 3 };

// The rectangle of a running selected-area series: left, top, width, height.
struct SeriesRectangle {
    int32_t left = 0, top = 0, width = 0, height = 0;
};

class TAppMainForm {
public:
    // `args` are the program's arguments in UTF-8, argument 0 the program's path.
    TAppMainForm(Ports& ports, std::vector<std::string> args);
    virtual ~TAppMainForm() = default;
    TAppMainForm(const TAppMainForm&) = delete;
    TAppMainForm& operator=(const TAppMainForm&) = delete;

    // ---- Start-up and the command line
    void FormCreate();
    void Timer3Timer();
    // Returns only when no other instance runs; otherwise ends the process.
    void CheckRunning();
    // The removal dialogue; true when the settings were removed and reset.
    bool RemoveSettings(bool settingsFound);
    void CheckSystemLanguage();

    // ---- Settings in the registry
    void LoadSettings();
    // Writes every value and reconciles the autostart entries, while the stored
    // settings may be out of date (SettingsSaved false).
    void SaveSettings();
    // Writes WorkMode, NumberAutosave and NumberSerial (the short save of a quit
    // after a command-line shot).
    void SaveCounters();

    // ---- Actions, modes and hotkeys
    void WMHotKey(int32_t id);
    virtual void MainActions(int slot);
    void StopSeries();
    // One tick of a running series: the next shot.
    void Timer2Timer();
    virtual void CheckMode();
    // The tray menu's mode commands: 0 preview, 1 autosave, 2 continuous, 3 clipboard.
    void SetWorkModeFromMenu(int32_t mode);
    void RegHotKeys(bool registerKeys);
    int32_t HotkeyId(int slot) const { return hotkeyIds_[slot - 1]; }
    void BeepEx(uint32_t frequency, uint32_t milliseconds);
    void PriorityChange(bool on);
    virtual void OpenProgramSettings();
    virtual void SelectMainPage(int page);
    // "Kadrilo - " and the name of the page (0 preview, 1 settings, 2 about).
    std::string PageTitle(int page) const;
    void QuitEx();

    // ---- The main window, the tray icon and quitting
    void N8Click();             // about
    void SpeedButton1Click();   // view
    void SpeedButton3Click();   // close
    void SpeedButton4Click();   // quit, with the confirmation
    void TrayIconCheckOption();
    void Timer1Timer();
    // The shell's taskbar was made anew (the shell restarted): the icon comes back at once.
    void TaskbarCreated();
    void WMTrayIcon(uint32_t mouseMessage);
    void CheckFormStyle();
    // A close request (close box, Esc, "Close", every way of quitting): true
    // when the window may close, that is when the program quits.
    bool FormCloseQuery();
    void FormClose();
    // A close request that ends the program when it is allowed.
    void CloseRequest();
    // The end of the Windows session: true, the session may end.
    bool WMQueryEndSession();
    void FormDestroy();

    // ---- Reactions of the settings controls
    void HotKeyModeClick(int slot, int32_t mode);
    void HotKeyChange(int slot, Shortcut shortcut);
    void CheckEmptyHotkeys();
    void TrayOptionClick(bool show);
    void StayOnTopClick(bool onTop);
    // A check box of the settings page that shows the boolean `setting` was
    // clicked; `checked` is the state the user asked for.
    void SettingCheckBoxClick(std::string_view setting, bool checked);
    void LanguageSelect(int32_t language);
    void TranslateProgramInterface();

    // ---- Shots
    void CreateScreenshot(int kind);
    virtual void ChooseScreenArea();

    // ---- Saving
    void AutosaveScreenshot();
    void AutosaveSerial();
    void SaveScreenshot(const std::string& name, int formatIndex);
    // The existing-file rule: the path, or empty when it must not be written.
    std::string CheckFileExists(const std::string& path);
    void EndSave();
    void SaveError(const std::string& path);
    // The folder browser: a folder, or empty when cancelled.
    std::string SelectDir();
    void BitBtn5Click();  // browse for the autosave folder
    void BitBtn8Click();  // browse for the series folder
    // The save dialog of the preview page; a confirmed name is saved.
    virtual void SaveFileDialog();
    void BitBtn1Click();  // "Save"
    void BitBtn2Click();  // "View full", and a double click on the preview
    virtual void PlaySoundAfterSave();
    virtual void ExecuteAfterSave(const std::string& path);

    // ---- Text
    // The text of a string id in the current language.
    std::string LoadStrEx(int id) const;
    // Brings the main window forward and shows a message box captioned "Kadrilo".
    MessageAnswer ShowMessage(const std::string& text, unsigned flags);

    const std::vector<std::string>& Arguments() const { return args_; }
    bool SeriesRunning() const { return timer2Running_; }

    AppSettings Settings;
    CommandLineRequests Requests;
    bool IsNT = false;
    bool IsWin2000OrLater = false;
    bool IsAdmin = false;
    bool OneShotRun = false;
    bool HideOnClose = false;
    bool SettingsSaved = false;
    int CurrentMainPage = 0;
    // The current screenshot, from its capture until its handling ends.
    std::optional<Bitmap> HeldImage;
    SeriesRectangle SeriesRect;
    int32_t SeriesCounter = 0;

protected:
    Ports& ports_;

private:
    void ApplyStoredLanguage(int64_t language);
    void ApplyStoredValues();
    void ReadAutostartState();
    void ReconcileRunEntry(RegistryRoot root, int32_t target);
    void BringUpMainWindow(bool stopQuits);
    void CentreMainWindow();
    void ApplySlot4TrayRule();
    void WriteSettingsValues();
    bool PriorityRuleApplies() const;
    void StartSeries(int kind);
    void ChangeMode();
    void StartTimer2(uint32_t intervalMs, int kind);
    void StopTimer2();
    void HandOver();
    void NotRegHotkeyMessage(const std::string& shortcutText);
    std::vector<uint8_t> Encode(int formatIndex) const;
    std::string NumberedTarget(const std::string& base, int formatIndex);

    std::vector<std::string> args_;
    int32_t hotkeyIds_[5] = {};
    bool timer2Running_ = false;
    int timer2Kind_ = 0;
    bool quitting_ = false;
    bool closed_ = false;
    bool trayHandlerAttached_ = false;
    bool hotkeyHandlersAttached_ = false;
};

}  // namespace kadrilo
