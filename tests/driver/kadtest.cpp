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

#include "Driver.h"

namespace kadtest {
namespace {

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

// The number of pixels of the captured icon that the icon drawn on the same
// background does not reproduce.
int IconDifference(HDC captured, HICON candidate, int width, int height) {
    HDC drawn = CreateCompatibleDC(captured);
    HBITMAP bitmap = CreateCompatibleBitmap(captured, width, height);
    HGDIOBJ old = SelectObject(drawn, bitmap);
    HBRUSH background = CreateSolidBrush(GetPixel(captured, 0, 0));
    RECT all{0, 0, width, height};
    FillRect(drawn, &all, background);
    DeleteObject(background);
    DrawIconEx(drawn, 0, 0, candidate, width, height, 0, nullptr, DI_NORMAL);
    int different = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) different += GetPixel(drawn, x, y) != GetPixel(captured, x, y);
    SelectObject(drawn, old);
    DeleteObject(bitmap);
    DeleteDC(drawn);
    return different;
}

// The standard icon of a message box, told by its pixels on the screen: each
// of the four is drawn on the box's own background and the one that matches is
// named ("unknown" when none does within a second, null for a box without one).
std::string IconOf(HWND dialog) {
    HWND icon = nullptr;
    for (HWND child : ChildWindows(dialog))
        if (ClassOf(child) == L"Static" && (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) icon = child;
    if (!icon) return "null";
    static const struct { const char* name; LPCWSTR id; } kIcons[] = {
        {"stop", IDI_HAND}, {"question", IDI_QUESTION}, {"warning", IDI_EXCLAMATION}, {"information", IDI_ASTERISK}};
    const int width = GetSystemMetrics(SM_CXICON), height = GetSystemMetrics(SM_CYICON);
    const char* found = PollFor(1000, [&]() -> const char* {
        RECT rect{};
        GetWindowRect(icon, &rect);
        HDC screen = GetDC(nullptr);
        HDC captured = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
        HGDIOBJ old = SelectObject(captured, bitmap);
        BitBlt(captured, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
        const char* match = nullptr;
        for (const auto& candidate : kIcons)
            if (IconDifference(captured, LoadIconW(nullptr, candidate.id), width, height) <= width * height / 64)
                match = candidate.name;
        SelectObject(captured, old);
        DeleteObject(bitmap);
        DeleteDC(captured);
        ReleaseDC(nullptr, screen);
        return match;
    });
    return std::string("\"") + (found ? found : "unknown") + "\"";
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
           JsonString(MessageTextOf(dialog)) + ", \"icon\": " + IconOf(dialog) + ", \"buttons\": [" + buttons + "]}";
}

// ---------------------------------------------------------------- subcommands


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

std::string ClientSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return ", \"client\": [" + std::to_string(client.right) + ", " + std::to_string(client.bottom) + "]";
}

std::string DescribeWindow(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return "{\"hwnd\": " + Handle(window) + ", \"class\": " + JsonString(ClassOf(window)) +
           ", \"title\": " + JsonString(TextOf(window)) +
           ", \"visible\": " + Bool(IsWindowVisible(window)) +
           ", \"topmost\": " + Bool((GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0) +
           ", \"owner\": " + Handle(OwnerOf(window)) + ", \"pid\": " + Number(ProcessOf(window)) +
           ", \"rect\": [" + std::to_string(rect.left) + ", " + std::to_string(rect.top) + ", " +
           std::to_string(rect.right) + ", " + std::to_string(rect.bottom) + "]" + ClientSize(window) + "}";
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

std::vector<Command> AllCommands() {
    std::vector<Command> all(std::begin(kCommands), std::end(kCommands));
    for (const auto& more : {ShotCommands(), UiCommands(), PackageCommands()}) all.insert(all.end(), more.begin(), more.end());
    return all;
}

int Usage() {
    Complain(L"usage: kadtest <subcommand> [arguments]");
    for (const Command& command : AllCommands())
        Complain(std::wstring(L"  ") + command.name + L" " + command.usage);
    return kExitUsage;
}

}  // namespace
}  // namespace kadtest

using namespace kadtest;

int wmain(int argc, wchar_t** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    if (argc < 2) return Usage();
    for (const Command& command : AllCommands()) {
        if (argv[1] != std::wstring(command.name)) continue;
        Args args(argv + 2, argv + argc);
        if (args.size() != command.arg_count) return Usage();
        DWORD timeout_ms = 0;
        if (command.has_timeout && !ParseMs(args.back(), timeout_ms)) return Usage();
        return command.run(args, timeout_ms);
    }
    return Usage();
}
