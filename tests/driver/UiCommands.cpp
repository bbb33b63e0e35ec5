// Subcommands of the driver that work the program's user interface: posting
// messages, clicking controls, reading the controls back, the tray menu, and
// holding a hotkey as another program would. See Driver.h.
#include "Driver.h"

#include <commctrl.h>
#include <shellapi.h>
#include <winternl.h>

#include <algorithm>
#include <cwchar>
#include <vector>

namespace kadtest {
namespace {

constexpr DWORD kSendTimeoutMs = 2000;  // a cross-process question to a control

bool ParseNumber(const std::wstring& text, unsigned long long& value) {
    wchar_t* end = nullptr;
    value = std::wcstoull(text.c_str(), &end, 0);  // decimal, or hexadecimal with 0x
    return !text.empty() && *end == L'\0';
}

// A top-level window of the class; a visible one if there is one (Wine keeps
// hidden windows of some classes around).
HWND FindTopLevel(const std::wstring& window_class) {
    HWND hidden = nullptr;
    for (HWND window : TopLevelWindows()) {
        if (ClassOf(window) != window_class) continue;
        if (IsWindowVisible(window)) return window;
        if (!hidden) hidden = window;
    }
    return hidden;
}

// "<class>" names a top-level window, "<class>/<control-id>" a control in it.
HWND FindTarget(const std::wstring& target) {
    const size_t slash = target.rfind(L'/');
    unsigned long long id = 0;
    if (slash == std::wstring::npos || slash == 0 || !ParseNumber(target.substr(slash + 1), id))
        return FindTopLevel(target);
    HWND top = FindTopLevel(target.substr(0, slash));
    if (!top) return nullptr;
    for (HWND child : ChildWindows(top))
        if (static_cast<unsigned long long>(GetDlgCtrlID(child)) == id) return child;
    return nullptr;
}

HWND ControlOf(const std::wstring& window_class, const std::wstring& id_text) {
    return FindTarget(window_class + L"/" + id_text);
}

bool Ask(HWND window, UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
    DWORD_PTR answer = 0;
    const bool answered = SendMessageTimeoutW(window, message, wparam, lparam, SMTO_ABORTIFHUNG,
                                              kSendTimeoutMs, &answer) != 0;
    result = static_cast<LRESULT>(answer);
    return answered;
}

// ---------------------------------------------------------------- post, click

int Post(const Args& args, DWORD) {
    unsigned long long message = 0, wparam = 0, lparam = 0;
    if (!ParseNumber(args[1], message) || !ParseNumber(args[2], wparam) || !ParseNumber(args[3], lparam)) {
        Complain(L"message, wparam and lparam are numbers (0x for hexadecimal)");
        return kExitUsage;
    }
    HWND window = FindTarget(args[0]);
    if (!window) {
        Complain(L"no window " + args[0]);
        return kExitNotFound;
    }
    if (!PostMessageW(window, static_cast<UINT>(message), static_cast<WPARAM>(wparam),
                      static_cast<LPARAM>(lparam))) {
        Complain(L"PostMessage failed");
        return kExitNotFound;
    }
    return kExitOk;
}

// Posted, not sent: what the click sets off may open a message box.
int Click(const Args& args, DWORD) {
    HWND control = ControlOf(args[0], args[1]);
    if (!control) {
        Complain(L"no control " + args[1] + L" in " + args[0]);
        return kExitNotFound;
    }
    if (!PostMessageW(control, BM_CLICK, 0, 0)) return kExitNotFound;
    return kExitOk;
}

// ---------------------------------------------------------------- reading the controls

// The text of a tab: the item is read through memory in the control's process,
// since TCM_GETITEM is not carried between processes.
class RemoteBuffer {
public:
    RemoteBuffer(HWND window, SIZE_T size) : size_(size) {
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                               ProcessOf(window));
        if (process_)
            address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteBuffer() {
        if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        if (process_) CloseHandle(process_);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    explicit operator bool() const { return address_ != nullptr; }
    char* At(SIZE_T offset) const { return static_cast<char*>(address_) + offset; }
    bool Write(SIZE_T offset, const void* data, SIZE_T size) const {
        return offset + size <= size_ && WriteProcessMemory(process_, At(offset), data, size, nullptr);
    }
    bool Read(SIZE_T offset, void* data, SIZE_T size) const {
        return offset + size <= size_ && ReadProcessMemory(process_, At(offset), data, size, nullptr);
    }

private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
    SIZE_T size_;
};

std::string TabItems(HWND tab) {
    LRESULT count = 0;
    if (!Ask(tab, TCM_GETITEMCOUNT, 0, 0, count)) return "null";
    constexpr int kTextChars = 512;
    constexpr SIZE_T kTextOffset = 256;
    RemoteBuffer buffer(tab, kTextOffset + kTextChars * sizeof(wchar_t));
    if (!buffer) return "null";
    std::string items = "[";
    for (LRESULT i = 0; i < count; ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = reinterpret_cast<wchar_t*>(buffer.At(kTextOffset));
        item.cchTextMax = kTextChars;
        const wchar_t none = L'\0';
        LRESULT ok = 0;
        wchar_t text[kTextChars] = L"";
        if (!buffer.Write(0, &item, sizeof item) || !buffer.Write(kTextOffset, &none, sizeof none) ||
            !Ask(tab, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buffer.At(0)), ok) ||
            !ok || !buffer.Read(kTextOffset, text, sizeof text))
            return "null";
        text[kTextChars - 1] = L'\0';
        items += (i ? ", " : "") + JsonString(text);
    }
    return items + "]";
}

// CB_GETLBTEXT is carried between processes.
std::string ComboItems(HWND combo) {
    LRESULT count = 0;
    if (!Ask(combo, CB_GETCOUNT, 0, 0, count) || count < 0) return "null";
    std::string items = "[";
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = 0;
        if (!Ask(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0, length) || length < 0) return "null";
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        LRESULT copied = 0;
        if (!Ask(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()), copied) ||
            copied < 0)
            return "null";
        text.resize(static_cast<size_t>(copied));
        items += (i ? ", " : "") + JsonString(text);
    }
    return items + "]";
}

bool IsCheckable(HWND button) {
    switch (GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK) {
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
        case BS_3STATE:
        case BS_AUTO3STATE:
            return true;
        default:
            return false;
    }
}

// The parts of a control that only some classes have.
std::string ClassDetails(HWND control, const std::wstring& control_class) {
    LRESULT value = 0;
    if (lstrcmpiW(control_class.c_str(), L"Button") == 0 && IsCheckable(control))
        return ", \"checked\": " + Bool(Ask(control, BM_GETCHECK, 0, 0, value) && value == BST_CHECKED);
    if (lstrcmpiW(control_class.c_str(), WC_TABCONTROLW) == 0) {
        const bool answered = Ask(control, TCM_GETCURSEL, 0, 0, value);
        return ", \"items\": " + TabItems(control) +
               ", \"selected\": " + (answered ? std::to_string(value) : "null");
    }
    if (lstrcmpiW(control_class.c_str(), WC_COMBOBOXW) == 0) {
        const bool answered = Ask(control, CB_GETCURSEL, 0, 0, value);
        return ", \"items\": " + ComboItems(control) +
               ", \"selected\": " + (answered ? std::to_string(value) : "null");
    }
    if (lstrcmpiW(control_class.c_str(), HOTKEY_CLASSW) == 0)
        return ", \"hotkey\": " + (Ask(control, HKM_GETHOTKEY, 0, 0, value) ? std::to_string(value) : "null");
    if (lstrcmpiW(control_class.c_str(), TRACKBAR_CLASSW) == 0)
        return ", \"position\": " + (Ask(control, TBM_GETPOS, 0, 0, value) ? std::to_string(value) : "null");
    return {};
}

// Where a control lies in the client area of its top-level window.
std::string RectIn(HWND control, HWND top) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, top, reinterpret_cast<POINT*>(&rect), 2);
    char text[64] = {};
    std::snprintf(text, sizeof text, "[%ld, %ld, %ld, %ld]", rect.left, rect.top, rect.right, rect.bottom);
    return text;
}

// One JSON line a control, in the order of the window's child list.
int ChildTexts(const Args& args, DWORD) {
    HWND window = FindTopLevel(args[0]);
    if (!window) {
        Complain(L"no window " + args[0]);
        return kExitNotFound;
    }
    for (HWND child : ChildWindows(window)) {
        const std::wstring child_class = ClassOf(child);
        PrintLine("{\"id\": " + std::to_string(GetDlgCtrlID(child)) + ", \"hwnd\": " + Handle(child) +
                  ", \"class\": " + JsonString(child_class) + ", \"text\": " + JsonString(TextOf(child)) +
                  ", \"enabled\": " + Bool(IsWindowEnabled(child)) +
                  ", \"visible\": " + Bool(IsWindowVisible(child)) + ", \"rect\": " + RectIn(child, window) +
                  ClassDetails(child, child_class) + "}");
    }
    return kExitOk;
}

// ---------------------------------------------------------------- tabs

// Clicks a tab of a tab control as the mouse would: a press and a release
// posted at the middle of the tab's item.
int TabClick(const Args& args, DWORD) {
    HWND tab = ControlOf(args[0], args[1]);
    unsigned long long index = 0;
    if (!tab || !ParseNumber(args[2], index)) {
        Complain(L"no tab control " + args[1] + L" in " + args[0]);
        return kExitNotFound;
    }
    RemoteBuffer buffer(tab, sizeof(RECT));
    LRESULT ok = 0;
    RECT item{};
    if (!buffer || !Ask(tab, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.At(0)), ok) ||
        !ok || !buffer.Read(0, &item, sizeof item)) {
        Complain(L"no such tab");
        return kExitNotFound;
    }
    const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    PostMessageW(tab, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(tab, WM_LBUTTONUP, 0, at);
    return kExitOk;
}

// Sends a message whose lParam points at a rectangle (WM_DPICHANGED, WM_SIZING):
// the rectangle is written into the window's process first.
int SendRect(const Args& args, DWORD) {
    HWND window = FindTarget(args[0]);
    unsigned long long message = 0, wparam = 0, edges[4] = {};
    bool numbers = ParseNumber(args[1], message) && ParseNumber(args[2], wparam);
    for (int i = 0; i < 4; ++i) numbers = numbers && ParseNumber(args[3 + i], edges[i]);
    if (!window || !numbers) {
        Complain(L"no window " + args[0] + L", or not numbers");
        return kExitNotFound;
    }
    const RECT rect{static_cast<LONG>(edges[0]), static_cast<LONG>(edges[1]), static_cast<LONG>(edges[2]),
                    static_cast<LONG>(edges[3])};
    RemoteBuffer buffer(window, sizeof rect);
    LRESULT result = 0;
    if (!buffer || !buffer.Write(0, &rect, sizeof rect) ||
        !Ask(window, static_cast<UINT>(message), static_cast<WPARAM>(wparam), reinterpret_cast<LPARAM>(buffer.At(0)),
             result)) {
        Complain(L"the message was not answered");
        return kExitNotFound;
    }
    return kExitOk;
}

// ---------------------------------------------------------------- popup menus

HWND VisibleMenu() {
    for (HWND window : TopLevelWindows())
        if (IsWindowVisible(window) && ClassOf(window) == L"#32768") return window;
    return nullptr;
}

// Waits until a popup menu is open (then prints it) or until none is.
int MenuWait(const Args& args, DWORD timeout_ms) {
    const bool want_open = args[0] == L"open";
    if (!want_open && args[0] != L"closed") {
        Complain(L"say open or closed");
        return kExitUsage;
    }
    HWND menu = nullptr;
    const bool reached = PollFor(timeout_ms, [&] {
        menu = VisibleMenu();
        return want_open == (menu != nullptr);
    });
    if (!reached) return kExitNotFound;
    if (menu) {
        RECT rect{};
        GetWindowRect(menu, &rect);
        PrintLine("{\"hwnd\": " + Handle(menu) + ", \"pid\": " + Number(ProcessOf(menu)) + ", \"rect\": [" +
                  std::to_string(rect.left) + ", " + std::to_string(rect.top) + ", " +
                  std::to_string(rect.right) + ", " + std::to_string(rect.bottom) + "]}");
    }
    return kExitOk;
}

// ---------------------------------------------------------------- another program's hotkey

// Registers the hotkey from a window of its own, prints "ready" and keeps it
// for the given seconds (0: gives it back at once). A failed registration
// (someone else holds the hotkey) prints "taken" and ends with 1.
int HoldHotkey(const Args& args, DWORD) {
    unsigned long long modifiers = 0, key = 0, seconds = 0;
    if (!ParseNumber(args[0], modifiers) || !ParseNumber(args[1], key) || !ParseNumber(args[2], seconds)) {
        Complain(L"modifiers, key and seconds are numbers");
        return kExitUsage;
    }
    HWND window = CreateWindowExW(0, L"STATIC", L"kadtest hotkey holder", WS_POPUP, 0, 0, 0, 0, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!window) {
        Complain(L"cannot create a window");
        return kExitNotFound;
    }
    constexpr int kHotkeyId = 1;
    if (!RegisterHotKey(window, kHotkeyId, static_cast<UINT>(modifiers), static_cast<UINT>(key))) {
        PrintLine("taken");
        DestroyWindow(window);
        return kExitNotFound;
    }
    PrintLine("ready");
    const UINT_PTR timer = SetTimer(nullptr, 0, static_cast<UINT>(seconds * 1000), nullptr);
    MSG message;
    while (seconds > 0 && GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER && message.wParam == timer) break;
        if (message.message == WM_HOTKEY) PrintLine("hotkey");
        DispatchMessageW(&message);
    }
    KillTimer(nullptr, timer);
    UnregisterHotKey(window, kHotkeyId);
    DestroyWindow(window);
    return kExitOk;
}

// ---------------------------------------------------------------- process and control facts

// A control's rectangle in screen coordinates: [left, top, right, bottom].
int ControlRect(const Args& args, DWORD) {
    HWND control = ControlOf(args[0], args[1]);
    RECT r{};
    if (!control || !GetWindowRect(control, &r)) {
        Complain(L"no control " + args[1] + L" in " + args[0]);
        return kExitNotFound;
    }
    char line[96];
    std::snprintf(line, sizeof line, "[%ld, %ld, %ld, %ld]", r.left, r.top, r.right, r.bottom);
    PrintLine(line);
    return kExitOk;
}

// The priority class of the process that owns the window, read from here.
int PriorityClassOf(const Args& args, DWORD) {
    HWND window = FindTopLevel(args[0]);
    HANDLE process = window ? OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, ProcessOf(window)) : nullptr;
    if (!process) {
        Complain(L"cannot open the process of " + args[0]);
        return kExitNotFound;
    }
    const DWORD value = GetPriorityClass(process);
    CloseHandle(process);
    if (!value) return kExitNotFound;
    PrintLine(Number(value));
    return kExitOk;
}

// Appends the text as a line to the file: a stand-in handler that shows what
// another program was asked to open.
int RecordText(const Args& args, DWORD) {
    FILE* file = _wfopen(args[0].c_str(), L"ab");
    if (!file) return kExitNotFound;
    std::string line = Utf8(args[1]);
    line.push_back('\n');
    std::fwrite(line.data(), 1, line.size(), file);
    std::fclose(file);
    return kExitOk;
}

// ---------------------------------------------------------------- common file dialogs

// The file-name field of a common file dialog: a combo box in the explorer
// style, an edit in the old one.
HWND FileNameField(HWND dialog) {
    for (int id : {0x47C /* cmb13 */, 0x480 /* edt1 */})
        if (HWND field = GetDlgItem(dialog, id); field && IsWindowVisible(field)) return field;
    return nullptr;
}

// Waits for a file dialog with the title (one that no box of its own covers),
// prints its file name and the items of its type list, then types the path
// into the name field and confirms it, or cancels the dialog with "-".
int FileDialog(const Args& args, DWORD timeout_ms) {
    HWND dialog = PollFor(timeout_ms, [&]() -> HWND {
        for (HWND window : TopLevelWindows())
            if (IsWindowVisible(window) && IsWindowEnabled(window) && ClassOf(window) == L"#32770" &&
                TextOf(window) == args[0] && FileNameField(window))
                return window;
        return nullptr;
    });
    if (!dialog) {
        Complain(L"no file dialog \"" + args[0] + L"\"");
        return kExitNotFound;
    }
    HWND field = FileNameField(dialog);
    HWND types = GetDlgItem(dialog, 0x470 /* cmb1 */);
    PrintLine("{\"hwnd\": " + Handle(dialog) + ", \"pid\": " + Number(ProcessOf(dialog)) +
              ", \"name\": " + JsonString(TextOf(field)) + ", \"types\": " + (types ? ComboItems(types) : "null") +
              "}");
    if (args[1] == L"-") {
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return kExitOk;
    }
    DWORD_PTR done = 0;
    if (!SendMessageTimeoutW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(args[1].c_str()), SMTO_ABORTIFHUNG,
                             kSendTimeoutMs, &done)) {
        Complain(L"cannot set the file name");
        return kExitNotFound;
    }
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    return kExitOk;
}

// ---------------------------------------------------------------- the tray

// Whether the window of the class has its icon (id 0) in the tray: the shell
// refuses to modify an icon it does not hold. Prints "shown" or "hidden".
int TrayIconState(const Args& args, DWORD) {
    HWND window = FindTopLevel(args[0]);
    if (!window) {
        Complain(L"no window " + args[0]);
        return kExitNotFound;
    }
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V1_SIZE;
    data.hWnd = window;
    data.uID = 0;
    data.uFlags = 0;
    PrintLine(Shell_NotifyIconW(NIM_MODIFY, &data) ? "shown" : "hidden");
    return kExitOk;
}

// ---- What a process holds --------------------------------------------------

// Wine answers GetGuiResources with ERROR_CALL_NOT_IMPLEMENTED and
// GetProcessHandleCount with 0; then the counts come from where the system
// keeps the objects, and the answer names that source.

// The GDI objects in the process's GDI handle table (the PEB's
// GdiSharedHandleTable: 65536 entries of 16 bytes, a used one with a type).
long long GdiTableCount(HANDLE process) {
    using QueryProcess = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<QueryProcess>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    if (!query || query(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0) return -1;
    constexpr size_t kTableOffset = 0xF8;  // in the 64-bit PEB
    UINT_PTR table = 0;
    SIZE_T read = 0;
    if (!ReadProcessMemory(process, static_cast<BYTE*>(static_cast<void*>(basic.PebBaseAddress)) + kTableOffset,
                           &table, sizeof table, &read) || !table)
        return -1;
    constexpr size_t kEntries = 0x10000, kEntryBytes = 16, kTypeByte = 14;
    std::vector<BYTE> entries(kEntries * kEntryBytes);
    if (!ReadProcessMemory(process, reinterpret_cast<void*>(table), entries.data(), entries.size(), &read)) return -1;
    long long used = 0;
    for (size_t i = 0; i < kEntries; ++i) used += entries[i * kEntryBytes + kTypeByte] != 0;
    return used;
}

// The handles of the process in the system's handle list.
long long HandleListCount(DWORD pid) {
    struct Entry {
        PVOID object;
        ULONG_PTR processId, handle;
        ULONG access;
        USHORT backTrace, typeIndex;
        ULONG attributes, reserved;
    };
    struct List {
        ULONG_PTR count, reserved;
        Entry entries[1];
    };
    using QuerySystem = NTSTATUS(NTAPI*)(ULONG, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<QuerySystem>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    constexpr ULONG kExtendedHandleInformation = 64;
    constexpr NTSTATUS kTooSmall = static_cast<NTSTATUS>(0xC0000004);
    std::vector<BYTE> buffer(1 << 20);
    NTSTATUS status = kTooSmall;
    while (query && (status = query(kExtendedHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()),
                                    nullptr)) == kTooSmall)
        buffer.resize(buffer.size() * 2);
    if (status != 0) return -1;
    const auto* list = reinterpret_cast<const List*>(buffer.data());
    long long count = 0;
    for (ULONG_PTR i = 0; i < list->count; ++i) count += list->entries[i].processId == pid;
    return count;
}

// The windows of the process, top-level and children.
long long WindowCount(DWORD pid) {
    long long count = 0;
    for (HWND window : TopLevelWindows()) {
        if (ProcessOf(window) != pid) continue;
        count += 1 + static_cast<long long>(ChildWindows(window).size());
    }
    return count;
}

// The GDI and USER objects and the handles of the process that owns the
// window: {"pid": ..., "gdi": n, "gdi_from": "system"|"table", "user": n,
// "user_from": "system"|"windows", "handles": n, "handles_from": "system"|"list"}.
int ProcessCounts(const Args& args, DWORD) {
    HWND window = FindTopLevel(args[0]);
    const DWORD pid = window ? ProcessOf(window) : 0;
    HANDLE process = pid ? OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid) : nullptr;
    if (!process) {
        Complain(L"cannot open the process of " + args[0]);
        return kExitNotFound;
    }
    const auto counted = [](long long value) { return value < 0 ? std::string("null") : std::to_string(value); };
    std::string gdiFrom = "system", userFrom = "system", handlesFrom = "system";
    long long gdi = GetGuiResources(process, GR_GDIOBJECTS);
    if (gdi == 0) gdi = GdiTableCount(process), gdiFrom = "table";
    long long user = GetGuiResources(process, GR_USEROBJECTS);
    if (user == 0) user = WindowCount(pid), userFrom = "windows";
    DWORD handleCount = 0;
    long long handles = GetProcessHandleCount(process, &handleCount) ? handleCount : 0;
    if (handles == 0) handles = HandleListCount(pid), handlesFrom = "list";
    CloseHandle(process);
    PrintLine("{\"pid\": " + Number(pid) + ", \"gdi\": " + counted(gdi) + ", \"gdi_from\": \"" + gdiFrom +
              "\", \"user\": " + counted(user) + ", \"user_from\": \"" + userFrom + "\", \"handles\": " +
              counted(handles) + ", \"handles_from\": \"" + handlesFrom + "\"}");
    return kExitOk;
}

// Waits, looking every 2 ms, for a visible top-level window of the class and
// prints the moment it was seen as Unix time in milliseconds (the same clock
// as the host's), so that a script can time another program's start from
// outside without this process's own start in the figure.
int VisibleWait(const Args& args, DWORD timeout_ms) {
    const ULONGLONG deadline = GetTickCount64() + timeout_ms;
    do {
        for (HWND window : TopLevelWindows()) {
            if (!IsWindowVisible(window) || ClassOf(window) != args[0]) continue;
            FILETIME now{};
            GetSystemTimePreciseAsFileTime(&now);
            const ULONGLONG ticks = (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
            constexpr ULONGLONG kUnixEpoch = 116444736000000000ULL;  // 1970-01-01 in 100 ns steps since 1601
            const ULONGLONG tenths = (ticks - kUnixEpoch) / 1000;   // 0.1 ms
            PrintLine(Number(tenths / 10) + "." + Number(tenths % 10));
            return kExitOk;
        }
        Sleep(2);
    } while (GetTickCount64() < deadline);
    return kExitNotFound;
}

}  // namespace

std::vector<Command> UiCommands() {
    return {
        {L"post", L"<class>[/<control-id>] <message> <wparam> <lparam>", 4, false, Post},
        {L"click", L"<class> <control-id>", 2, false, Click},
        {L"child-texts", L"<class>", 1, false, ChildTexts},
        {L"menu-wait", L"<open|closed> <timeout_ms>", 2, true, MenuWait},
        {L"hold-hotkey", L"<modifiers> <vk> <seconds>", 3, false, HoldHotkey},
        {L"control-rect", L"<class> <control-id>", 2, false, ControlRect},
        {L"priority-class", L"<class>", 1, false, PriorityClassOf},
        {L"record", L"<file> <text>", 2, false, RecordText},
        {L"tab-click", L"<class> <control-id> <index>", 3, false, TabClick},
        {L"send-rect", L"<class> <message> <wparam> <left> <top> <right> <bottom>", 7, false, SendRect},
        {L"file-dialog", L"<title> <path|-> <timeout_ms>", 3, true, FileDialog},
        {L"tray-icon", L"<class>", 1, false, TrayIconState},
        {L"process-counts", L"<class>", 1, false, ProcessCounts},
        {L"visible-wait", L"<class> <timeout_ms>", 2, true, VisibleWait},
    };
}

}  // namespace kadtest
