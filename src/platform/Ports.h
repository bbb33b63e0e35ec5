// The ports: what the core asks of the operating system. The Windows program
// implements them with real calls (src/win32); the unit tests with fakes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

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
};

class FileSystemPort {
public:
    virtual ~FileSystemPort() = default;
    virtual bool FileExists(const std::string& path) = 0;
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

enum class TimerId { Timer1 = 1, Timer2 = 2, Timer3 = 3 };

class TimerPort {
public:
    virtual ~TimerPort() = default;
    virtual void StartTimer(TimerId id, uint32_t intervalMs) = 0;
    virtual void StopTimer(TimerId id) = 0;
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
};

}  // namespace kadrilo
