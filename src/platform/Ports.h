// The ports: what the core asks of the operating system. The Windows program
// implements them with real calls (src/win32); the unit tests with fakes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Types.h"

namespace kadrilo {

// ---- Registry --------------------------------------------------------------

enum class RegistryRoot { CurrentUser, LocalMachine };

struct RegistryValue {
    enum class Kind { Dword, String, Other };
    Kind kind = Kind::Other;
    uint32_t dword = 0;
    std::string text;  // UTF-8

    static RegistryValue Number(uint32_t v) { return {Kind::Dword, v, {}}; }
    static RegistryValue Text(std::string s) { return {Kind::String, 0, std::move(s)}; }
    friend bool operator==(const RegistryValue&, const RegistryValue&) = default;
};

// Paths are below the root, with backslashes ("Software\\Kadrilo"). Key names
// and value names compare without regard to case, as in the Windows registry.
class RegistryPort {
public:
    virtual ~RegistryPort() = default;
    virtual bool KeyExists(RegistryRoot root, const std::string& path) = 0;
    // Opens the key, creating it (and its parents) when needed.
    virtual bool CreateKey(RegistryRoot root, const std::string& path) = 0;
    // Nothing when the key or the value does not exist.
    virtual std::optional<RegistryValue> ReadValue(RegistryRoot root, const std::string& path,
                                                   const std::string& name) = 0;
    // The key must exist; false when the value could not be written.
    virtual bool WriteValue(RegistryRoot root, const std::string& path, const std::string& name,
                            const RegistryValue& value) = 0;
    // True when the value existed and is gone.
    virtual bool DeleteValue(RegistryRoot root, const std::string& path, const std::string& name) = 0;
    // Deletes the key with everything below it; true when it existed and is gone.
    virtual bool DeleteKeyTree(RegistryRoot root, const std::string& path) = 0;
};

// ---- The system ------------------------------------------------------------

struct SystemVersion {
    uint32_t platformId = 2;  // 2: the NT family
    uint32_t major = 10;
    uint32_t minor = 0;
};

class SystemPort {
public:
    virtual ~SystemPort() = default;
    virtual SystemVersion GetVersion() = 0;
    // True when the user's access token holds the built-in Administrators group;
    // any failure reads as false.
    virtual bool CheckAdminAccess() = 0;
    // The Windows folder, or nothing when it cannot be read.
    virtual std::optional<std::string> WindowsDirectory() = 0;
    // The English name of the user's language ("Russian", "English", ...).
    virtual std::string UserLanguageName() = 0;
    // Ends the process at once.
    [[noreturn]] virtual void ExitProcess(int code) = 0;
    // Sets the priority class of the process and the priority of the calling
    // thread (the Windows values); failures are ignored.
    virtual void SetPriority(uint32_t processClass, int threadPriority) = 0;
};

class FileSystemPort {
public:
    virtual ~FileSystemPort() = default;
    virtual bool FileExists(const std::string& path) = 0;
    // True when the path exists and is a folder.
    virtual bool FolderExists(const std::string& path) = 0;
    // Creates one folder (not its parents); false when it could not be made,
    // also when it exists already.
    virtual bool CreateFolder(const std::string& path) = 0;
    // Writes the whole file or nothing: an existing file is replaced only once
    // the new content is complete. Throws std::runtime_error when it fails.
    virtual void WriteFile(const std::string& path, const std::vector<uint8_t>& content) = 0;
};

struct LocalTime {
    int year = 2000, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

class ClockPort {
public:
    virtual ~ClockPort() = default;
    virtual LocalTime Now() = 0;
    // The user's time separator (":" in most locales).
    virtual std::string TimeSeparator() = 0;
};

// A font to measure and draw text in.
struct TextFont {
    std::string face;
    int32_t points = 10;
    bool bold = false, italic = false, underline = false, strikeOut = false;
};

struct TextExtent {
    int32_t width = 0, height = 0;
};

// Text on images.
class TextPort {
public:
    virtual ~TextPort() = default;
    // The extent of the text (UTF-8) as one line in the font.
    virtual TextExtent MeasureText(const std::string& text, const TextFont& font) = 0;
    // Draws the text as one line with its top-left corner at (x, y) onto the
    // image, in `color`, on a box of `background` or transparent; only the
    // image's edges clip it. Throws std::runtime_error when it cannot.
    virtual void PaintText(Bitmap& image, int32_t x, int32_t y, const std::string& text, const TextFont& font,
                          Color color, std::optional<Color> background) = 0;
};

class FontPort {
public:
    virtual ~FontPort() = default;
    // The names of the installed font families, in the system's order.
    virtual std::vector<std::string> InstalledFontFamilies() = 0;
};

// ---- Windows of the program and of others -----------------------------------

// Message box flags and answers, with the values the Windows API gives them.
namespace MessageFlags {
constexpr unsigned Ok = 0x0;
constexpr unsigned YesNo = 0x4;
constexpr unsigned IconStop = 0x10;
constexpr unsigned IconQuestion = 0x20;
constexpr unsigned IconExclamation = 0x30;
}  // namespace MessageFlags

enum class MessageAnswer { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

class WindowPort {
public:
    virtual ~WindowPort() = default;
    virtual void BringMainToForeground() = 0;
    // A modal message box owned by the main window.
    virtual MessageAnswer ShowMessageBox(const std::string& text, const std::string& caption,
                                         unsigned flags) = 0;
    virtual Rect ScreenRect() = 0;               // the primary screen
    virtual Rect MainWindowRect() = 0;           // outer frame, screen coordinates
    virtual void MoveMainWindow(int32_t left, int32_t top) = 0;
    // Restores the application if minimised, shows the main window and brings
    // it to the foreground.
    virtual void ShowMainWindow() = 0;
    virtual void HideMainWindow() = 0;
    virtual bool MainWindowVisible() = 0;
    // True while the keyboard focus is in one of the hotkey editors.
    virtual bool HotkeyEditorFocused() = 0;
    // True while the preview window or the selection overlay is visible.
    virtual bool PreviewOrOverlayVisible() = 0;
    // Ends the message loop once the current message is handled.
    virtual void EndMessageLoop() = 0;
};

// The main window's pages, and the two windows that open over everything else.
class MainPagesPort {
public:
    virtual ~MainPagesPort() = default;
    // Shows one page (0 preview, 1 settings, 2 about) with its title and the
    // bottom buttons and link that go with it.
    virtual void ShowPage(int page, const std::string& title) = 0;
    virtual void SetViewButtonEnabled(bool enabled) = 0;
    // Draws the held image (or nothing, once it is released) in the preview.
    virtual void UpdatePreview() = 0;
    virtual void SetStayOnTop(bool onTop) = 0;
    // Hides the preview window and closes the selection overlay when they are open.
    virtual void ClosePreviewAndOverlay() = 0;
    // The preview window: opens it with a copy of the image.
    virtual void ShowViewer(const Bitmap& image) = 0;
    virtual bool ViewerVisible() = 0;
};

// The settings page: its tabs and the controls that mirror the settings.
class SettingsPagePort {
public:
    virtual ~SettingsPagePort() = default;
    // Brings every control up to date with the settings (choices, editors,
    // which controls are enabled) and the captions with the language.
    virtual void Refresh() = 0;
    // Makes one settings tab the active one (0 "Main" ... 5 "Continuous shooting").
    virtual void SelectSettingsTab(int tab) = 0;
    virtual int ActiveSettingsTab() = 0;
    // True while one of the five "User-defined:" choice buttons has the keyboard focus.
    virtual bool UserDefinedChoiceFocused() = 0;
    // Gives the keyboard focus to the settings' tab control.
    virtual void FocusSettingsTabs() = 0;
    // The Inscription tab's text preview: the size of its picture in pixels
    // (336 x 48 on a display of 96 dots an inch), and the picture it shows.
    virtual Rect TextPreviewArea() = 0;
    virtual void ShowTextPreview(const Bitmap& preview) = 0;
};

// The tray icon and its menu.
class TrayPort {
public:
    virtual ~TrayPort() = default;
    // False when the shell refused.
    virtual bool AddTrayIcon() = 0;
    virtual void DeleteTrayIcon() = 0;
    // Opens the tray menu at the mouse pointer; returns when it is closed.
    virtual void ShowTrayMenu() = 0;
    // Marks the working mode (0 to 3) as the current one in the tray menu's
    // "Mode" submenu; any other value changes nothing.
    virtual void MarkWorkMode(int mode) = 0;
};

// The common dialogs, owned by the main window.
class DialogPort {
public:
    virtual ~DialogPort() = default;
    // The picture save dialog, opening with a file name and a filter index
    // (1 BMP, 2 JPEG, 3 PNG, 4 TIFF): the confirmed name and filter index, or
    // nothing when the user cancelled. It neither asks about existing files nor
    // adds an extension of its own.
    struct SaveChoice {
        std::string path;
        int32_t filterIndex;
    };
    virtual std::optional<SaveChoice> SavePictureDialog(const std::string& fileName, int32_t filterIndex) = 0;
    // The shell's folder browser: the chosen folder, or empty when the user cancelled.
    virtual std::string BrowseForFolder(const std::string& title) = 0;
    // Filters are "Name|pattern|Name|pattern" texts, as in the string table.
    // The settings window's open dialog, shared by the settings import and the
    // sound-file browser: it hides the read-only box, can be resized and starts
    // from the file name it last held. The chosen file, or nothing on cancel.
    virtual std::optional<std::string> OpenFileDialog(const std::string& filter) = 0;
    // The settings window's save dialog: it asks before overwriting an existing
    // file, hides the read-only box and can be resized.
    virtual std::optional<std::string> SaveFileDialog(const std::string& fileName, const std::string& filter) = 0;
    // The colour dialog shared by both inscription swatches: it opens with the
    // colour last confirmed in it (black at first).
    virtual std::optional<Color> ChooseColour() = 0;
};

// The selection overlay: a top-most window over the whole primary screen that
// shows the frozen screen and the selection the core keeps.
class OverlayPort {
public:
    virtual ~OverlayPort() = default;
    // Shows the overlay over everything, brings it to the front and makes it
    // the foreground window.
    virtual void ShowOverlay() = 0;
    virtual void HideOverlay() = 0;
    virtual bool OverlayVisible() = 0;
    // Paints the overlay anew where the selection's frame was and is.
    virtual void UpdateOverlay(const Rect& before, const Rect& after) = 0;
    // Opens the overlay's menu (Apply, Cancel) at the pointer; returns when it is closed.
    virtual void ShowOverlayMenu() = 0;
    // True while the key is held down.
    virtual bool KeyDown(int virtualKey) = 0;
};

// Global hotkeys of the main window.
class HotkeyPort {
public:
    virtual ~HotkeyPort() = default;
    // The global atom of the name (the same value on every call).
    virtual int32_t GlobalAtom(const std::string& name) = 0;
    // modifiers: 1 Alt, 2 Ctrl, 4 Shift; false when the system refuses.
    virtual bool RegisterHotKey(int32_t id, uint32_t modifiers, uint32_t virtualKey) = 0;
    virtual void UnregisterHotKey(int32_t id) = 0;
    // The system's name of a key, or empty when it has none.
    virtual std::string KeyName(uint8_t virtualKey) = 0;
};

// The single-instance check: a marker on the application window of the running
// instance, and the one message a second instance sends it.
class InstancePort {
public:
    virtual ~InstancePort() = default;
    // The application window of another running instance that carries the marker,
    // or nothing after marking this instance's own application window.
    virtual std::optional<WindowId> FindRunningInstance(int32_t marker) = 0;
    // Sends the text (UTF-8, with its terminating zero) to the other instance.
    virtual void SendCommandLine(WindowId target, const std::string& text) = 0;
    // Restores the other instance's main window if minimised and brings it forward.
    virtual void ActivateInstance(WindowId target) = 0;
};

// ---- Screen, clipboard and sound ----------------------------------------------

class ScreenPort {
public:
    virtual ~ScreenPort() = default;
    // Copies a rectangle of the screen at the display's colour depth, the cursor
    // drawn in when asked. The image always has the rectangle's full size; what
    // lies off the screen is black. Throws std::runtime_error when it fails.
    virtual Bitmap CaptureScreenRect(const Rect& rect, bool useCaptureBlt, bool includeCursor) = 0;
    // The outer rectangle of the foreground window, or nothing when there is none.
    virtual std::optional<Rect> ForegroundWindowRect() = 0;
};

class ClipboardPort {
public:
    virtual ~ClipboardPort() = default;
    // Puts the image on the clipboard as a bitmap (with its palette, if any).
    virtual bool PutBitmap(const Bitmap& image) = 0;
    // Puts the text (UTF-8) on the clipboard as plain text.
    virtual bool PutText(const std::string& text) = 0;
};

class SoundPort {
public:
    virtual ~SoundPort() = default;
    // The default system sound.
    virtual void MessageBeep() = 0;
    // One tone; false when the tone could not be played.
    virtual bool Beep(uint32_t frequency, uint32_t milliseconds) = 0;
    // Starts playing a sound file and returns at once; a sound still playing
    // from an earlier call ends first.
    virtual void PlayFile(const std::string& path) = 0;
};

// Opening things with the shell.
class ShellPort {
public:
    virtual ~ShellPort() = default;
    // ShellExecute owned by the application window, no working folder; the
    // result is not checked. verb may be empty.
    virtual void Execute(const std::string& verb, const std::string& file, const std::string& parameters,
                         int showCommand) = 0;
    // Opens a web or mail address: ShellExecute owned by the main window, no
    // verb, no parameters, no working folder, show command 0; the result is not
    // checked.
    virtual void OpenLink(const std::string& address) = 0;
};

enum class TimerId { Timer1 = 1, Timer2 = 2, Timer3 = 3 };

class TimerPort {
public:
    virtual ~TimerPort() = default;
    virtual void StartTimer(TimerId id, uint32_t intervalMs) = 0;
    virtual void StopTimer(TimerId id) = 0;
};

// ---- Profile files --------------------------------------------------------------

// Files of "[section]" headers and "key=value" lines, read and updated with the
// system's profile functions. Paths, section and key names are UTF-8; section
// and key names compare without regard to case.
class ProfilePort {
public:
    // A value read back holds at most this many characters (UTF-16 units).
    static constexpr size_t ValueLimit = 2047;

    virtual ~ProfilePort() = default;
    // The key's value without the blanks around it and without one pair of
    // quotes (' or ") that encloses it; `fallback` when the file, the section or
    // the key does not exist.
    virtual std::string ReadString(const std::string& path, const std::string& section, const std::string& key,
                                   const std::string& fallback) = 0;
    // Sets the key's value, creating the file, the section or the key when
    // needed; the other keys and sections keep what they had. Whatever its
    // characters, the value reads back as written (a file whose code page
    // cannot hold it becomes a Unicode file). False when it could not be written.
    virtual bool WriteString(const std::string& path, const std::string& section, const std::string& key,
                             const std::string& value) = 0;
    // The section's key names in the file's order: empty when the file or the
    // section does not exist or the section holds no keys.
    virtual std::vector<std::string> KeyNames(const std::string& path, const std::string& section) = 0;
};

// Everything the core needs from the outside, handed over at construction.
struct Ports {
    RegistryPort& registry;
    SystemPort& system;
    FileSystemPort& files;
    FontPort& fonts;
    WindowPort& windows;
    InstancePort& instance;
    TimerPort& timers;
    ScreenPort& screen;
    ClipboardPort& clipboard;
    SoundPort& sound;
    ClockPort& clock;
    HotkeyPort& hotkeys;
    MainPagesPort& pages;
    SettingsPagePort& settingsPage;
    TrayPort& tray;
    DialogPort& dialogs;
    OverlayPort& overlay;
    TextPort& text;
    ShellPort& shell;
    ProfilePort& profile;
};

}  // namespace kadrilo
