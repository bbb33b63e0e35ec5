// TAppMainForm: the main window's logic. The Windows layer creates the real
// window and calls these handlers; each concern lives in a collaborator of its
// own (the registry store, the shot request, the save target, the after-save
// notices, the series, the hotkey slots, priority), which this class owns and
// coordinates. Everything the logic needs from the system goes through the ports.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/hotkeys/HotkeySlots.h"
#include "app/priority/Priority.h"
#include "app/series/Series.h"
#include "capture/inscription/InscriptionPainter.h"
#include "capture/request/ScreenshotRequest.h"
#include "capture/selection/AreaSelection.h"
#include "output/notices/AfterSaveNotices.h"
#include "output/save/SaveTarget.h"
#include "platform/Bitmap.h"
#include "platform/Ports.h"
#include "settings/AppSettings.h"
#include "settings/file/SettingsFile.h"
#include "settings/registry/Autostart.h"
#include "settings/registry/RegistryStore.h"
#include "text/Messages.h"

namespace kadrilo {

// The property value that marks the application window of a running instance.
constexpr int32_t InstanceMarker = 736218;

// The settings tabs, in their order.
enum SettingsTabs : int { SettingsTabMain = 0, SettingsTabHotkeys = 2 };

// The working modes.
enum WorkModes : int32_t { ManualMode = 0, AutosaveMode = 1, ContinuousMode = 2, ClipboardMode = 3 };

// What a control hands over when it changes a setting: a number (booleans 0
// and 1, choices and list indexes, shortcuts as their value) or a text.
using SettingValue = std::variant<int64_t, std::string>;

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

    // ---- The settings file
    void BitBtn3Click();  // export
    void BitBtn4Click();  // import

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
    int32_t HotkeyId(int slot) const { return hotkeySlots_.Id(slot); }
    void BeepEx(uint32_t frequency, uint32_t milliseconds);
    void PriorityChange(bool on) { priority_.PriorityChange(on); }
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
    // The one way a control changes a setting: the value is clamped by the
    // settings table, then the setting's own reaction runs.
    void SettingChanged(SettingId id, const SettingValue& value);
    void HotKeyModeClick(int slot, int32_t mode);
    void HotKeyChange(int slot, Shortcut shortcut);
    void CheckEmptyHotkeys();
    void TrayOptionClick(bool show);
    void StayOnTopClick(bool onTop);
    void LanguageSelect(int32_t language);
    void RadioGroup1Click();  // the working mode chosen on the settings page
    void SettingsPriorityCheck();  // the priority group greyed or enabled by "Enabled"
    void RadioButton21Click();     // manual stop of a series
    void RadioButton22Click();     // automatic stop of a series
    void TranslateProgramInterface();
    // While the hotkey that opens the settings is off, the tray icon is the way
    // back to them: the tray option is ticked and cannot be changed.
    bool TrayOptionLocked() const { return trayOptionLocked_; }

    // ---- The Inscription tab
    // Recomposes the inscription from the settings and the clock and redraws
    // the text preview.
    void UpdateTextFormat();
    // The same, while the main window is visible: what the tab's text, font and
    // date/time controls run on every change.
    void UpdateTextExecute();
    void TabSheet5Show();  // the tab is shown
    void Panel6Click();    // the font colour, from the colour dialog
    void Panel7Click();    // the background colour, likewise
    // The preview's picture, 336 x 48.
    const Bitmap& TextPreview() const { return textPreview_; }

    // ---- Shots
    void CreateScreenshot(int kind);
    virtual void ChooseScreenArea();

    // ---- The selection overlay
    // The mouse messages of every window of the program, taken from the queue
    // while the overlay is visible, at the pointer's screen position.
    enum class OverlayMouse { Move, LeftDown, LeftUp, RightDown };
    void AppMessage(OverlayMouse event, int32_t x, int32_t y);
    void AllocationFormKeyPress();
    void AllocationFormN1Click();  // Apply
    void AllocationFormN2Click();  // Cancel
    // The overlay closes: hidden, the selection reset, the frozen screen
    // released; a command-line shot in a mode other than manual quits then.
    void AllocationFormOnCloseQuery();
    const AreaSelection& Selection() const { return selection_; }
    // The screen as it was when the overlay opened, while it is open.
    const std::optional<Bitmap>& FrozenScreen() const { return frozen_; }

    // ---- Saving
    void AutosaveScreenshot(const Bitmap& image);
    void AutosaveSerial(const Bitmap& image);
    void SaveScreenshot(const Bitmap& image, const std::string& name, int formatIndex);
    // The existing-file rule: the path, or empty when it must not be written.
    std::string CheckFileExists(const std::string& path);
    void EndSave();
    void SaveError(const std::string& path);
    // The folder browser: a folder, or empty when cancelled.
    std::string SelectDir();
    void BitBtn5Click();  // browse for the autosave folder
    void BitBtn8Click();  // browse for the series folder
    void BitBtn6Click();  // browse for the audio file
    void BitBtn7Click();  // test the sound notice
    // The save dialog of the preview page; a confirmed name is saved.
    virtual void SaveFileDialog();
    void BitBtn1Click();  // "Save"
    void BitBtn2Click();  // "View full", and a double click on the preview
    virtual void PlaySoundAfterSave();
    virtual void ExecuteAfterSave(const std::string& path);

    // ---- Text
    // The text of a string id in the current language.
    std::string LoadStrEx(int id) const { return messages_.Text(id); }
    // Brings the main window forward and shows a message box captioned "Kadrilo".
    MessageAnswer ShowMessage(const std::string& text, unsigned flags) { return messages_.Show(text, flags); }

    const std::vector<std::string>& Arguments() const { return args_; }
    bool SeriesRunning() const { return series_.Running(); }
    int32_t SeriesCounter() const { return series_.Counter(); }
    SeriesRectangle& SeriesRect() { return series_.Rect; }

    AppSettings Settings;
    CommandLineRequests Requests;
    bool IsNT = false;
    bool IsWin2000OrLater = false;
    bool IsAdmin = false;
    bool OneShotRun = false;
    bool HideOnClose = false;
    bool SettingsSaved = false;
    int CurrentMainPage = 0;
    // The shot that waits on the preview page for the manual save.
    std::optional<Bitmap> HeldImage;

protected:
    Ports& ports_;

private:
    // A command-line shot in a mode other than manual: the program quits once
    // the handling of its shot ends.
    bool CommandLineRunQuits() const { return OneShotRun && Settings.WorkMode != ManualMode; }
    void ShotHandlingEnded();
    // Stops a running series: the timer, the sound when asked, the priority,
    // and, unless told otherwise, the quit of a command-line run.
    void EndSeries(bool sound, bool mayQuit = true);
    void ApplyStoredLanguage(int64_t language);
    void BringUpMainWindow(bool stopQuits);
    void CentreMainWindow();
    void ApplySlot4TrayRule();
    void StartSeries(int kind);
    void ChangeMode();
    // Lays the inscription over the shot when it is on, then hands it over.
    void HandOver(Bitmap image);
    // The image of a selected-area shot: the crop of the frozen screen, or a
    // series tick's live copy; nothing when there is none to take.
    std::optional<Bitmap> SelectedAreaShotImage();
    void StartAreaSeries(const Rect& area);
    void CloseOverlay(bool mayQuit);
    void AllocationFormGetPresKeys();
    void NotRegHotkeyMessage(const std::string& shortcutText);
    // A swatch takes the colour confirmed in the colour dialog.
    void ChooseInscriptionColour(SettingId swatch);
    void SaveFinished(const std::string& target);
    void ImportSettingsFile(const std::string& path);
    void ImportReactions(const AppSettings& before, const std::vector<SettingId>& applied);

    std::vector<std::string> args_;
    Messages messages_;
    HotkeySlots hotkeySlots_;
    RegistryStore store_;
    SettingsFile settingsFile_;
    Autostart autostart_;
    Priority priority_;
    Series series_;
    ScreenshotRequest shotRequest_;
    InscriptionPainter inscription_;
    SaveTarget saveTarget_;
    AfterSaveNotices notices_;
    AreaSelection selection_{0, 0};
    std::optional<Bitmap> frozen_;
    Bitmap textPreview_;
    bool quitting_ = false;
    bool closed_ = false;
    bool trayHandlerAttached_ = false;
    bool hotkeyHandlersAttached_ = false;
    bool trayOptionLocked_ = false;
};

}  // namespace kadrilo
