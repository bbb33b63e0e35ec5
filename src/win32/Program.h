// The Windows program: its windows, the ports that act on them, and the
// message loop. Window procedures only unpack messages and call the core.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/AppMainForm.h"
#include "win32/MainWindow.h"
#include "win32/Overlay.h"
#include "win32/TextDrawing.h"
#include "win32/ScreenCapture.h"
#include "win32/ProfileFile.h"
#include "win32/SystemPorts.h"

namespace kadrilo::win32 {

class Windows : public WindowPort {
public:
    explicit Windows(const ProgramWindows& w) : w_(w) {}
    void BringMainToForeground() override;
    MessageAnswer ShowMessageBox(const std::string& text, const std::string& caption, unsigned flags) override;
    Rect ScreenRect() override;
    Rect MainWindowRect() override;
    void MoveMainWindow(int32_t left, int32_t top) override;
    void ShowMainWindow() override;
    void HideMainWindow() override;
    bool MainWindowVisible() override;
    bool HotkeyEditorFocused() override;
    bool PreviewOrOverlayVisible() override;
    void EndMessageLoop() override;

private:
    const ProgramWindows& w_;
};

class Hotkeys : public HotkeyPort {
public:
    explicit Hotkeys(const ProgramWindows& w) : w_(w) {}
    int32_t GlobalAtom(const std::string& name) override;
    bool RegisterHotKey(int32_t id, uint32_t modifiers, uint32_t virtualKey) override;
    void UnregisterHotKey(int32_t id) override;
    std::string KeyName(uint8_t virtualKey) override;

private:
    const ProgramWindows& w_;
};

class Instance : public InstancePort {
public:
    explicit Instance(const ProgramWindows& w) : w_(w) {}
    std::optional<WindowId> FindRunningInstance(int32_t marker) override;
    void SendCommandLine(WindowId target, const std::string& text) override;
    void ActivateInstance(WindowId target) override;

private:
    const ProgramWindows& w_;
};

class Shell : public ShellPort {
public:
    explicit Shell(const ProgramWindows& w) : w_(w) {}
    void Execute(const std::string& verb, const std::string& file, const std::string& parameters,
                 int showCommand) override;
    void OpenLink(const std::string& address) override;

private:
    const ProgramWindows& w_;
};

class Timers : public TimerPort {
public:
    explicit Timers(const ProgramWindows& w) : w_(w) {}
    void StartTimer(TimerId id, uint32_t intervalMs) override;
    void StopTimer(TimerId id) override;

private:
    const ProgramWindows& w_;
};

// The hidden top-level window that owns the others and carries the
// single-instance marker.
class ApplicationWindow : public WindowBase {
public:
    static constexpr wchar_t ClassName[] = L"TKadriloApplication";
    HWND Create(HINSTANCE instance);
};

class Program {
public:
    explicit Program(HINSTANCE instance);
    // Creates the windows, runs start-up and the message loop; the exit code.
    int Run();

private:
    HINSTANCE instance_;
    ProgramWindows windows_;
    ApplicationWindow application_;
    Overlay overlay_;
    TextDrawing text_;
    Registry registry_;
    System system_;
    FileSystem files_;
    Fonts fonts_;
    Windows windowPort_{windows_};
    Instance instancePort_{windows_};
    Timers timers_{windows_};
    Screen screen_;
    Clipboard clipboard_{windows_.main};
    Sound sound_;
    Clock clock_;
    Hotkeys hotkeys_{windows_};
    Viewer viewer_;
    Shell shell_{windows_};
    ProfileFile profile_;
    MainWindow mainWindow_{windows_, viewer_, shell_, clipboard_};
    Ports ports_{registry_, system_,  files_,      fonts_,  windowPort_, instancePort_,
                 timers_,   screen_,  clipboard_,  sound_,  clock_,      hotkeys_,
                 mainWindow_, mainWindow_.Settings(), mainWindow_.Tray(), mainWindow_.CommonDialogs(), overlay_, text_, shell_, profile_};
    std::unique_ptr<TAppMainForm> form_;
};

// The program's arguments in UTF-8; argument 0 is the full path of the executable.
std::vector<std::string> ProgramArguments();

}  // namespace kadrilo::win32
