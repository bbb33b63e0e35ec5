// Fakes of the ports: they record what the core asked and answer as scripted.
#pragma once

#include <deque>
#include <map>
#include <set>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Ports.h"

namespace kadrilo::testing {

// Thrown by FakeSystem::ExitProcess, so that a test sees where the process ended.
struct ProcessExited {
    int code;
};

class FakeRegistry : public RegistryPort {
public:
    // Seeds a value, creating its key and the key's parents.
    void Set(RegistryRoot root, const std::string& path, const std::string& name, RegistryValue value);
    bool HasValue(RegistryRoot root, const std::string& path, const std::string& name);
    // Value names of a key, in their stored spelling.
    std::vector<std::string> ValueNames(RegistryRoot root, const std::string& path);

    bool KeyExists(RegistryRoot root, const std::string& path) override;
    bool CreateKey(RegistryRoot root, const std::string& path) override;
    std::optional<RegistryValue> ReadValue(RegistryRoot root, const std::string& path,
                                           const std::string& name) override;
    bool WriteValue(RegistryRoot root, const std::string& path, const std::string& name,
                    const RegistryValue& value) override;
    bool DeleteValue(RegistryRoot root, const std::string& path, const std::string& name) override;
    bool DeleteKeyTree(RegistryRoot root, const std::string& path) override;

private:
    struct Key {
        std::map<std::string, std::pair<std::string, RegistryValue>> values;  // by lower-case name
    };
    static std::string Id(RegistryRoot root, const std::string& path);
    std::map<std::string, Key> keys_;  // by root and lower-case path
};

class FakeSystem : public SystemPort {
public:
    SystemVersion version;
    bool admin = true;
    std::optional<std::string> windowsDirectory = "C:\\Windows";
    std::string languageName = "English";
    int adminChecks = 0;

    SystemVersion GetVersion() override { return version; }
    bool CheckAdminAccess() override {
        ++adminChecks;
        return admin;
    }
    std::optional<std::string> WindowsDirectory() override { return windowsDirectory; }
    std::string UserLanguageName() override { return languageName; }
    [[noreturn]] void ExitProcess(int code) override { throw ProcessExited{code}; }
    std::vector<std::pair<uint32_t, int>> priorities;
    void SetPriority(uint32_t processClass, int threadPriority) override {
        priorities.emplace_back(processClass, threadPriority);
    }
};

class FakeFiles : public FileSystemPort {
public:
    std::set<std::string> existing;          // files
    std::vector<std::string> directories;    // folders
    std::vector<std::string> creatable;      // folders CreateFolder may make
    std::map<std::string, std::vector<uint8_t>> written;
    std::vector<std::string> unwritable;     // paths whose writing fails
    bool FileExists(const std::string& path) override;
    bool FolderExists(const std::string& path) override;
    bool CreateFolder(const std::string& path) override;
    void WriteFile(const std::string& path, const std::vector<uint8_t>& content) override;
};

class FakeClock : public ClockPort {
public:
    LocalTime now{2026, 12, 5, 14, 7, 9};
    LocalTime Now() override { return now; }
    std::string separator = ":";
    std::string TimeSeparator() override { return separator; }
};

class FakeScreen : public ScreenPort {
public:
    Rect screen{0, 0, 1024, 768};
    std::optional<Rect> foreground = Rect{10, 20, 310, 220};
    bool fail = false;
    struct Capture {
        Rect rect;
        bool useCaptureBlt;
        bool includeCursor;
    };
    std::vector<Capture> captures;
    Bitmap CaptureScreenRect(const Rect& rect, bool useCaptureBlt, bool includeCursor) override;
    std::optional<Rect> ForegroundWindowRect() override { return foreground; }
};

class FakeClipboard : public ClipboardPort {
public:
    std::vector<Bitmap> images;
    bool PutBitmap(const Bitmap& image) override {
        images.push_back(image);
        return true;
    }
    std::vector<std::string> texts;
    bool PutText(const std::string& text) override {
        texts.push_back(text);
        return true;
    }
};

class FakeSound : public SoundPort {
public:
    std::vector<std::string> played;  // "beep" for the default sound, else "freq/ms"
    bool speakerWorks = true;
    void MessageBeep() override { played.push_back("beep"); }
    void PlayFile(const std::string& path) override { played.push_back("file " + path); }
    bool Beep(uint32_t frequency, uint32_t ms) override {
        if (!speakerWorks) return false;
        played.push_back(std::to_string(frequency) + "/" + std::to_string(ms));
        return true;
    }
};

class FakeFonts : public FontPort {
public:
    std::vector<std::string> families{"Courier New", "Arial", "Times New Roman"};
    std::vector<std::string> InstalledFontFamilies() override { return families; }
};

struct ShownMessage {
    std::string text;
    std::string caption;
    unsigned flags;
};

class FakeWindows : public WindowPort {
public:
    std::deque<MessageAnswer> answers;  // the user's answers, in order
    std::vector<ShownMessage> messages;
    std::vector<std::string> calls;     // what was asked, in order
    Rect screen{0, 0, 1024, 768};
    Rect mainWindow{0, 0, 487, 354};

    void BringMainToForeground() override { calls.push_back("foreground"); }
    MessageAnswer ShowMessageBox(const std::string& text, const std::string& caption,
                                 unsigned flags) override;
    Rect ScreenRect() override { return screen; }
    Rect MainWindowRect() override { return mainWindow; }
    void MoveMainWindow(int32_t left, int32_t top) override;
    bool mainVisible = false;
    bool editorFocused = false;
    bool popupVisible = false;
    bool loopEnded = false;
    void ShowMainWindow() override {
        mainVisible = true;
        calls.push_back("show");
    }
    void HideMainWindow() override {
        mainVisible = false;
        calls.push_back("hide");
    }
    bool MainWindowVisible() override { return mainVisible; }
    bool HotkeyEditorFocused() override { return editorFocused; }
    bool PreviewOrOverlayVisible() override { return popupVisible; }
    void EndMessageLoop() override { loopEnded = true; }
};

// The main window's surface: its pages, settings page, tray and dialogs.
class FakeMainForm : public MainPagesPort, public SettingsPagePort, public TrayPort, public DialogPort {
public:
    std::vector<std::string> calls;
    bool trayIcon = false;
    bool viewEnabled = false;
    int page = -1;
    std::string title;
    void ShowPage(int p, const std::string& t) override {
        page = p;
        title = t;
        calls.push_back("page " + std::to_string(p));
    }
    void SetViewButtonEnabled(bool enabled) override { viewEnabled = enabled; }
    int previewUpdates = 0;
    void UpdatePreview() override { ++previewUpdates; }
    void Refresh() override { calls.push_back("refresh"); }
    void ClosePreviewAndOverlay() override {
        viewerOpen = false;
        calls.push_back("close popups");
    }
    bool viewerOpen = false;
    int viewerShows = 0;
    void ShowViewer(const Bitmap&) override {
        viewerOpen = true;
        ++viewerShows;
    }
    bool ViewerVisible() override { return viewerOpen; }
    bool AddTrayIcon() override {
        trayIcon = true;
        calls.push_back("add icon");
        return true;
    }
    void DeleteTrayIcon() override {
        trayIcon = false;
        calls.push_back("delete icon");
    }
    void ShowTrayMenu() override { calls.push_back("menu"); }
    void SetStayOnTop(bool onTop) override { calls.push_back(onTop ? "on top" : "not on top"); }
    std::deque<std::optional<SaveChoice>> saveChoices;  // the user's answers to the save dialog
    std::vector<std::pair<std::string, int32_t>> saveDialogs;  // how it opened each time
    std::optional<SaveChoice> SavePictureDialog(const std::string& fileName, int32_t filterIndex) override {
        saveDialogs.emplace_back(fileName, filterIndex);
        if (saveChoices.empty()) return std::nullopt;
        std::optional<SaveChoice> choice = saveChoices.front();
        saveChoices.pop_front();
        return choice;
    }
    std::string browsedFolder;
    std::string browseTitle;
    std::string BrowseForFolder(const std::string& title) override {
        browseTitle = title;
        return browsedFolder;
    }
    // The open and save dialogs: the filters they were shown with, and what
    // they answer (nothing: cancelled).
    std::vector<std::string> openFilters;
    std::optional<std::string> openedFile;
    std::optional<std::string> OpenFileDialog(const std::string& filter) override {
        openFilters.push_back(filter);
        return openedFile;
    }
    std::vector<std::pair<std::string, std::string>> saveFileDialogs;  // file name, filter
    std::optional<std::string> savedFile;
    std::optional<std::string> SaveFileDialog(const std::string& fileName, const std::string& filter) override {
        saveFileDialogs.emplace_back(fileName, filter);
        return savedFile;
    }
    int colourDialogs = 0;
    std::optional<Color> chosenColour;
    std::optional<Color> ChooseColour() override {
        ++colourDialogs;
        return chosenColour;
    }
    int settingsTab = -1;
    void SelectSettingsTab(int tab) override { settingsTab = tab; }
    int ActiveSettingsTab() override { return settingsTab; }
    bool userDefinedFocused = false;
    bool UserDefinedChoiceFocused() override { return userDefinedFocused; }
    std::vector<Bitmap> textPreviews;
    Rect TextPreviewArea() override { return {0, 0, 336, 48}; }
    void ShowTextPreview(const Bitmap& preview) override { textPreviews.push_back(preview); }
    void FocusSettingsTabs() override {
        userDefinedFocused = false;
        calls.push_back("focus tabs");
    }
    int markedMode = -1;  // the mode marked in the tray menu
    void MarkWorkMode(int mode) override { markedMode = mode; }
};

class FakeOverlay : public OverlayPort {
public:
    bool visible = false;
    int shows = 0, updates = 0, menus = 0;
    std::set<int> keysDown;
    void ShowOverlay() override {
        visible = true;
        ++shows;
    }
    void HideOverlay() override { visible = false; }
    bool OverlayVisible() override { return visible; }
    void UpdateOverlay(const Rect&, const Rect&) override { ++updates; }
    void ShowOverlayMenu() override { ++menus; }
    bool KeyDown(int virtualKey) override { return keysDown.count(virtualKey) != 0; }
};

// Measures every character as 7 x 13 pixels and records what it draws.
class FakeText : public TextPort {
public:
    struct Drawn {
        int32_t x, y;
        std::string text;
        TextFont font;
        Color color;
        std::optional<Color> background;
    };
    std::vector<Drawn> drawn;
    TextExtent MeasureText(const std::string& text, const TextFont&) override {
        return {static_cast<int32_t>(7 * text.size()), 13};
    }
    void PaintText(Bitmap&, int32_t x, int32_t y, const std::string& text, const TextFont& font, Color color,
                  std::optional<Color> background) override {
        drawn.push_back({x, y, text, font, color, background});
    }
};

class FakeShell : public ShellPort {
public:
    std::vector<std::string> executed;  // "verb|file|parameters|show"
    void Execute(const std::string& verb, const std::string& file, const std::string& parameters,
                 int showCommand) override {
        executed.push_back(verb + "|" + file + "|" + parameters + "|" + std::to_string(showCommand));
    }
    std::vector<std::string> links;  // the addresses opened
    void OpenLink(const std::string& address) override { links.push_back(address); }
};

class FakeHotkeys : public HotkeyPort {
public:
    std::map<int32_t, std::pair<uint32_t, uint32_t>> registered;  // id -> modifiers, key
    std::vector<std::pair<uint32_t, uint32_t>> takenElsewhere;     // refused combinations
    int32_t GlobalAtom(const std::string& name) override;
    bool RegisterHotKey(int32_t id, uint32_t modifiers, uint32_t virtualKey) override;
    void UnregisterHotKey(int32_t id) override { registered.erase(id); }
    std::string KeyName(uint8_t virtualKey) override { return virtualKey == 0x2C ? "Prnt Scrn" : ""; }
};

class FakeInstance : public InstancePort {
public:
    std::optional<WindowId> runningInstance;
    bool marked = false;
    std::vector<std::pair<WindowId, std::string>> sent;
    std::vector<WindowId> activated;

    std::optional<WindowId> FindRunningInstance(int32_t marker) override;
    void SendCommandLine(WindowId target, const std::string& text) override {
        sent.emplace_back(target, text);
    }
    void ActivateInstance(WindowId target) override { activated.push_back(target); }
};

class FakeTimers : public TimerPort {
public:
    std::map<TimerId, uint32_t> running;
    std::vector<std::string> calls;
    void StartTimer(TimerId id, uint32_t intervalMs) override;
    void StopTimer(TimerId id) override;
};

// Profile files in memory, read back as the system's profile functions read them.
class FakeProfile : public ProfilePort {
public:
    // A whole file as text ("[section]" and "key=value" lines), as a user or an
    // earlier version wrote it.
    void SetFile(const std::string& path, const std::string& text);
    bool HasFile(const std::string& path) const { return files_.count(Lower(path)) > 0; }
    // Every write, "key=value", in order; the write of this index and all after it fail.
    std::vector<std::string> writes;
    std::optional<size_t> failingWrite;

    std::string ReadString(const std::string& path, const std::string& section, const std::string& key,
                           const std::string& fallback) override;
    bool WriteString(const std::string& path, const std::string& section, const std::string& key,
                     const std::string& value) override;
    std::vector<std::string> KeyNames(const std::string& path, const std::string& section) override;

private:
    struct Entry {
        std::string key, value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };
    using File = std::vector<Section>;
    static std::string Lower(std::string s);
    static Section* Find(File& file, const std::string& section);
    std::map<std::string, File> files_;  // by lower-case path
};

// All fakes together, with the ports handed to the core.
struct FakePorts {
    FakeRegistry registry;
    FakeSystem system;
    FakeFiles files;
    FakeFonts fonts;
    FakeWindows windows;
    FakeInstance instance;
    FakeTimers timers;
    FakeScreen screen;
    FakeClipboard clipboard;
    FakeSound sound;
    FakeClock clock;
    FakeHotkeys hotkeys;
    FakeMainForm form;
    FakeOverlay overlay;
    FakeText text;
    FakeShell shell;
    FakeProfile profile;
    Ports ports{registry, system,  files, fonts, windows, instance, timers,  screen, clipboard, sound,
                clock,    hotkeys, form,  form,  form,    form,     overlay, text,   shell,     profile};
};

}  // namespace kadrilo::testing
