// Shared by the driver's subcommands: text output, finding windows, polling.
#pragma once

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace kadtest {

constexpr int kExitOk = 0;
constexpr int kExitNotFound = 1;
constexpr int kExitUsage = 2;
constexpr DWORD kPollStepMs = 50;
constexpr UINT_PTR kInstanceMarker = 736218;  // value of the "UID" property

// ---------------------------------------------------------------- text and output

inline std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                   nullptr, 0, nullptr, nullptr);
    std::string out(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                        nullptr, nullptr);
    return out;
}

inline std::string JsonString(const std::wstring& text) {
    std::string out = "\"";
    for (unsigned char c : Utf8(text)) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                    out += escaped;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

inline std::string Number(unsigned long long value) { return std::to_string(value); }
inline std::string Handle(HWND window) { return Number(reinterpret_cast<UINT_PTR>(window)); }
inline std::string Bool(bool value) { return value ? "true" : "false"; }

inline void PrintLine(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

inline void Complain(const std::wstring& message) {
    std::string text = Utf8(message) + "\n";
    std::fwrite(text.data(), 1, text.size(), stderr);
}

// ---------------------------------------------------------------- windows

inline std::wstring ClassOf(HWND window) {
    wchar_t name[257] = L"";
    GetClassNameW(window, name, 257);
    return name;
}

// A window's text as the window itself gives it: an edit's contents too, which
// the caption read from another process would not show.
inline std::wstring TextOf(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) return {};
    constexpr DWORD_PTR kMostChars = 1 << 20;
    if (length > kMostChars) length = kMostChars;
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                             2000, &copied))
        return {};
    text.resize(static_cast<size_t>(copied < length ? copied : length));
    return text;
}

inline DWORD ProcessOf(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}

inline HWND OwnerOf(HWND window) { return GetWindow(window, GW_OWNER); }

inline std::vector<HWND> TopLevelWindows() {
    std::vector<HWND> windows;
    EnumWindows([](HWND window, LPARAM list) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

inline std::vector<HWND> ChildWindows(HWND parent) {
    std::vector<HWND> windows;
    EnumChildWindows(parent, [](HWND window, LPARAM list) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

// Calls find() every 50 ms until it returns something true (a window, true) or the
// timeout runs out; returns the last result.
template <typename Find>
auto PollFor(DWORD timeout_ms, Find find) {
    DWORD start = GetTickCount();
    for (;;) {
        auto found = find();
        if (found || GetTickCount() - start >= timeout_ms) return found;
        Sleep(kPollStepMs);
    }
}

// A dialog that waits on a box of its own is disabled: the box is the one found.
inline HWND FindVisibleDialog(const std::wstring& caption) {
    for (HWND window : TopLevelWindows()) {
        if (IsWindowVisible(window) && IsWindowEnabled(window) && ClassOf(window) == L"#32770" &&
            TextOf(window) == caption)
            return window;
    }
    return nullptr;
}

using Args = std::vector<std::wstring>;  // the subcommand's own arguments

struct Command {
    const wchar_t* name;
    const wchar_t* usage;  // the arguments after the name
    size_t arg_count;      // including the timeout, which is always last when present
    bool has_timeout;
    int (*run)(const Args&, DWORD timeout_ms);
};

// Subcommands kept in files of their own.
std::vector<Command> ShotCommands();
std::vector<Command> UiCommands();
std::vector<Command> PackageCommands();

}  // namespace kadtest
