// kadtest.exe: the end-to-end test driver for Kadrilo.
//
// A small console program that runs in the same Wine prefix and on the same
// display as kadrilio.exe. It finds the program's windows, answers its message
// boxes, reads window properties and stands in for a first running instance.
// Everything it prints is UTF-8; structured answers are one JSON object a line.
//
// Exit codes: 0 success, 1 timeout or not found, 2 usage error.
// Every wait polls in 50 ms steps up to the timeout (ms) given on the command line.

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <fcntl.h>
#include <io.h>
#include <string>
#include <vector>

namespace {

constexpr int kExitOk = 0;
constexpr int kExitNotFound = 1;
constexpr int kExitUsage = 2;
constexpr DWORD kPollStepMs = 50;
constexpr UINT_PTR kInstanceMarker = 736218;  // value of the "UID" property

// ---------------------------------------------------------------- text and output

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                   nullptr, 0, nullptr, nullptr);
    std::string out(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                        nullptr, nullptr);
    return out;
}

std::string JsonString(const std::wstring& text) {
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

std::string Number(unsigned long long value) { return std::to_string(value); }
std::string Handle(HWND window) { return Number(reinterpret_cast<UINT_PTR>(window)); }
std::string Bool(bool value) { return value ? "true" : "false"; }

void PrintLine(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void Complain(const std::wstring& message) {
    std::string text = Utf8(message) + "\n";
    std::fwrite(text.data(), 1, text.size(), stderr);
}

// ---------------------------------------------------------------- windows

std::wstring ClassOf(HWND window) {
    wchar_t name[257] = L"";
    GetClassNameW(window, name, 257);
    return name;
}

std::wstring TextOf(HWND window) {
    int length = GetWindowTextLengthW(window);
    std::wstring text(length + 1, L'\0');
    text.resize(GetWindowTextW(window, text.data(), length + 1));
    return text;
}

DWORD ProcessOf(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}

HWND OwnerOf(HWND window) { return GetWindow(window, GW_OWNER); }

std::vector<HWND> TopLevelWindows() {
    std::vector<HWND> windows;
    EnumWindows([](HWND window, LPARAM list) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::vector<HWND> ChildWindows(HWND parent) {
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

HWND FindVisibleDialog(const std::wstring& caption) {
    for (HWND window : TopLevelWindows()) {
        if (IsWindowVisible(window) && ClassOf(window) == L"#32770" && TextOf(window) == caption)
            return window;
    }
    return nullptr;
}

// ---------------------------------------------------------------- message boxes

struct Button {
    int id;
    std::wstring text;
};

const char* ButtonName(int id) {
    switch (id) {
        case IDOK: return "ok";
        case IDCANCEL: return "cancel";
        case IDABORT: return "abort";
        case IDRETRY: return "retry";
        case IDIGNORE: return "ignore";
        case IDYES: return "yes";
        case IDNO: return "no";
        case IDTRYAGAIN: return "tryagain";
        case IDCONTINUE: return "continue";
        default: return "other";
    }
}

// The message text is the static control that is not the icon.
std::wstring MessageTextOf(HWND dialog) {
    for (HWND child : ChildWindows(dialog)) {
        LONG style = GetWindowLongW(child, GWL_STYLE);
        if (ClassOf(child) == L"Static" && (style & SS_TYPEMASK) != SS_ICON) return TextOf(child);
    }
    return {};
}

std::vector<Button> ButtonsOf(HWND dialog) {
    std::vector<Button> buttons;
    for (HWND child : ChildWindows(dialog)) {
        if (ClassOf(child) == L"Button" && IsWindowVisible(child))
            buttons.push_back({GetDlgCtrlID(child), TextOf(child)});
    }
    return buttons;
}

std::string DescribeDialog(HWND dialog) {
    std::string buttons;
    for (const Button& button : ButtonsOf(dialog)) {
        if (!buttons.empty()) buttons += ", ";
        buttons += "{\"id\": " + Number(button.id) + ", \"name\": \"" + ButtonName(button.id) +
                   "\", \"text\": " + JsonString(button.text) + "}";
    }
    return "{\"hwnd\": " + Handle(dialog) + ", \"pid\": " + Number(ProcessOf(dialog)) +
           ", \"owner\": " + Handle(OwnerOf(dialog)) + ", \"text\": " +
           JsonString(MessageTextOf(dialog)) + ", \"buttons\": [" + buttons + "]}";
}

// ---------------------------------------------------------------- subcommands

using Args = std::vector<std::wstring>;  // the subcommand's own arguments

bool ParseMs(const std::wstring& text, DWORD& value) {
    wchar_t* end = nullptr;
    long parsed = std::wcstol(text.c_str(), &end, 10);
    if (text.empty() || *end != L'\0' || parsed < 0) return false;
    value = static_cast<DWORD>(parsed);
    return true;
}

int MsgboxWait(const Args& args, DWORD timeout_ms) {
    HWND dialog = PollFor(timeout_ms, [&] { return FindVisibleDialog(args[0]); });
    if (!dialog) {
        Complain(L"no message box with caption \"" + args[0] + L"\"");
        return kExitNotFound;
    }
    PrintLine(DescribeDialog(dialog));
    return kExitOk;
}

// Clicks the button, prints the box it answered and waits until that box is gone.
int MsgboxAnswer(const Args& args, DWORD timeout_ms) {
    static const struct { const wchar_t* answer; int id; } kAnswers[] = {
        {L"yes", IDYES}, {L"no", IDNO}, {L"ok", IDOK}, {L"cancel", IDCANCEL}};
    int id = 0;
    for (const auto& answer : kAnswers)
        if (args[1] == answer.answer) id = answer.id;
    if (!id) {
        Complain(L"answer must be yes, no, ok or cancel");
        return kExitUsage;
    }
    HWND dialog = PollFor(timeout_ms, [&] { return FindVisibleDialog(args[0]); });
    if (!dialog) {
        Complain(L"no message box with caption \"" + args[0] + L"\"");
        return kExitNotFound;
    }
    std::string description = DescribeDialog(dialog);
    HWND button = GetDlgItem(dialog, id);
    if (!button || !IsWindowVisible(button)) {
        Complain(L"the message box has no " + args[1] + L" button");
        PrintLine(description);
        return kExitNotFound;
    }
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    PrintLine(description);
    bool closed = PollFor(timeout_ms, [&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); });
    if (!closed) {
        Complain(L"the message box did not close");
        return kExitNotFound;
    }
    return kExitOk;
}

int WindowWait(const Args& args, DWORD timeout_ms) {
    HWND window = PollFor(timeout_ms, [&] { return FindWindowW(args[0].c_str(), nullptr); });
    if (!window) return kExitNotFound;
    PrintLine(Handle(window));
    return kExitOk;
}

int WindowGone(const Args& args, DWORD timeout_ms) {
    bool gone = PollFor(timeout_ms, [&] { return !FindWindowW(args[0].c_str(), nullptr); });
    return gone ? kExitOk : kExitNotFound;
}

std::string DescribeWindow(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return "{\"hwnd\": " + Handle(window) + ", \"class\": " + JsonString(ClassOf(window)) +
           ", \"title\": " + JsonString(TextOf(window)) +
           ", \"visible\": " + Bool(IsWindowVisible(window)) +
           ", \"owner\": " + Handle(OwnerOf(window)) + ", \"pid\": " + Number(ProcessOf(window)) +
           ", \"rect\": [" + std::to_string(rect.left) + ", " + std::to_string(rect.top) + ", " +
           std::to_string(rect.right) + ", " + std::to_string(rect.bottom) + "]}";
}

int WindowInfo(const Args& args, DWORD) {
    HWND window = FindWindowW(args[0].c_str(), nullptr);
    if (!window) return kExitNotFound;
    PrintLine(DescribeWindow(window));
    return kExitOk;
}

int PropGet(const Args& args, DWORD) {
    HWND window = FindWindowW(args[0].c_str(), nullptr);
    if (!window) return kExitNotFound;
    PrintLine(Number(reinterpret_cast<UINT_PTR>(GetPropW(window, args[1].c_str()))));
    return kExitOk;
}

int ListWindows(const Args&, DWORD) {
    for (HWND window : TopLevelWindows()) PrintLine(DescribeWindow(window));
    return kExitOk;
}

// ---------------------------------------------------------------- fake first instance

struct FakeInstance {
    std::wstring outfile;
    bool received = false;
};
FakeInstance g_fake;

std::string DescribeCopyData(HWND own, WPARAM wparam, const COPYDATASTRUCT& data) {
    HWND sender = reinterpret_cast<HWND>(wparam);
    bool is_window = IsWindow(sender);
    std::string hex;
    const auto* bytes = static_cast<const unsigned char*>(data.lpData);
    for (DWORD i = 0; bytes && i < data.cbData; ++i) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02x", bytes[i]);
        hex += pair;
    }
    return "{\"wparam\": " + Number(wparam) + ", \"wparam_is_window\": " + Bool(is_window) +
           ", \"wparam_class\": " + JsonString(is_window ? ClassOf(sender) : L"") +
           ", \"wparam_pid\": " + Number(is_window ? ProcessOf(sender) : 0) +
           ", \"own_hwnd\": " + Handle(own) + ", \"own_pid\": " + Number(GetCurrentProcessId()) +
           ", \"dwdata\": " + Number(data.dwData) + ", \"cbdata\": " + Number(data.cbData) +
           ", \"data_hex\": \"" + hex + "\"}";
}

LRESULT CALLBACK FakeInstanceProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_COPYDATA: {
            std::string json =
                DescribeCopyData(window, wparam, *reinterpret_cast<COPYDATASTRUCT*>(lparam));
            if (FILE* file = _wfopen(g_fake.outfile.c_str(), L"wb")) {
                std::fwrite(json.data(), 1, json.size(), file);
                std::fclose(file);
                g_fake.received = true;
            } else {
                Complain(L"cannot write " + g_fake.outfile);
            }
            PostQuitMessage(0);
            return TRUE;
        }
        case WM_TIMER:  // the timeout
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

int FakeInstanceRun(const Args& args, DWORD timeout_ms) {
    g_fake.outfile = args[1];
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = FakeInstanceProc;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = args[0].c_str();
    if (!RegisterClassExW(&window_class)) {
        Complain(L"cannot register the window class");
        return kExitNotFound;
    }
    HWND window = CreateWindowExW(0, args[0].c_str(), L"fake first instance", WS_OVERLAPPED, 0, 0,
                                  0, 0, nullptr, nullptr, window_class.hInstance, nullptr);
    if (!window || !SetPropW(window, L"UID", reinterpret_cast<HANDLE>(kInstanceMarker))) {
        Complain(L"cannot create the marked window");
        return kExitNotFound;
    }
    SetTimer(window, 1, timeout_ms, nullptr);
    PrintLine("ready");
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    RemovePropW(window, L"UID");
    DestroyWindow(window);
    if (!g_fake.received) Complain(L"no WM_COPYDATA arrived");
    return g_fake.received ? kExitOk : kExitNotFound;
}

// ---------------------------------------------------------------- the table

struct Command {
    const wchar_t* name;
    const wchar_t* usage;  // the arguments after the name
    size_t arg_count;      // including the timeout, which is always last when present
    bool has_timeout;
    int (*run)(const Args&, DWORD timeout_ms);
};

const Command kCommands[] = {
    {L"msgbox-wait", L"<caption> <timeout_ms>", 2, true, MsgboxWait},
    {L"msgbox-answer", L"<caption> <yes|no|ok|cancel> <timeout_ms>", 3, true, MsgboxAnswer},
    {L"window-wait", L"<class> <timeout_ms>", 2, true, WindowWait},
    {L"window-gone", L"<class> <timeout_ms>", 2, true, WindowGone},
    {L"window-info", L"<class>", 1, false, WindowInfo},
    {L"prop-get", L"<class> <name>", 2, false, PropGet},
    {L"fake-instance", L"<class> <outfile> <timeout_ms>", 3, true, FakeInstanceRun},
    {L"list-windows", L"", 0, false, ListWindows},
};

int Usage() {
    Complain(L"usage: kadtest <subcommand> [arguments]");
    for (const Command& command : kCommands)
        Complain(std::wstring(L"  ") + command.name + L" " + command.usage);
    return kExitUsage;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    if (argc < 2) return Usage();
    for (const Command& command : kCommands) {
        if (argv[1] != std::wstring(command.name)) continue;
        Args args(argv + 2, argv + argc);
        if (args.size() != command.arg_count) return Usage();
        DWORD timeout_ms = 0;
        if (command.has_timeout && !ParseMs(args.back(), timeout_ms)) return Usage();
        return command.run(args, timeout_ms);
    }
    return Usage();
}
