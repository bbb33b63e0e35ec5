#include "win32/Program.h"

#include <objbase.h>

#include <commctrl.h>
#include <shellapi.h>

#include "win32/Handles.h"

namespace kadrilo::win32 {
namespace {

constexpr wchar_t MarkerProperty[] = L"UID";
constexpr wchar_t Title[] = L"Kadrilo";

// How often, and how far apart, the program's first windows are tried.
constexpr int WindowAttempts = 50;
constexpr DWORD WindowRetryMs = 200;

// How long a second instance waits for the first to take its command line.
constexpr UINT ForwardTimeoutMs = 5000;

HWND ToWindow(WindowId id) { return reinterpret_cast<HWND>(id); }

}  // namespace

// ---- Ports that act on windows ----------------------------------------------

void Windows::BringMainToForeground() { SetForegroundWindow(w_.main); }

MessageAnswer Windows::ShowMessageBox(const std::string& text, const std::string& caption, unsigned flags) {
    return static_cast<MessageAnswer>(MessageBoxW(w_.main, Wide(text).c_str(), Wide(caption).c_str(), flags));
}

Rect Windows::ScreenRect() { return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

Rect Windows::MainWindowRect() {
    RECT r{};
    GetWindowRect(w_.main, &r);
    return {r.left, r.top, r.right, r.bottom};
}

void Windows::MoveMainWindow(int32_t left, int32_t top) {
    SetWindowPos(w_.main, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Windows::ShowMainWindow() {
    if (IsIconic(w_.application)) ShowWindow(w_.application, SW_RESTORE);
    ShowWindow(w_.main, SW_SHOW);
    SetForegroundWindow(w_.main);
}

void Windows::HideMainWindow() { ShowWindow(w_.main, SW_HIDE); }

bool Windows::MainWindowVisible() { return IsWindowVisible(w_.main) != 0; }

bool Windows::HotkeyEditorFocused() {
    HWND focus = GetFocus();
    wchar_t className[64] = {};
    return focus && IsChild(w_.main, focus) && GetClassNameW(focus, className, 64) &&
           lstrcmpiW(className, HOTKEY_CLASSW) == 0;
}

bool Windows::PreviewOrOverlayVisible() {
    return IsWindowVisible(w_.viewer) || IsWindowVisible(w_.allocation);
}

void Windows::EndMessageLoop() { PostQuitMessage(0); }

int32_t Hotkeys::GlobalAtom(const std::string& name) { return GlobalAddAtomW(Wide(name).c_str()); }

bool Hotkeys::RegisterHotKey(int32_t id, uint32_t modifiers, uint32_t virtualKey) {
    return ::RegisterHotKey(w_.main, id, modifiers, virtualKey) != 0;
}

void Hotkeys::UnregisterHotKey(int32_t id) { ::UnregisterHotKey(w_.main, id); }  // failures are ignored

std::string Hotkeys::KeyName(uint8_t virtualKey) {
    const UINT scanCode = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
    if (scanCode == 0) return {};
    wchar_t name[64] = {};
    const int n = GetKeyNameTextW(static_cast<LONG>(scanCode << 16), name, 64);
    return n > 0 ? Utf8(std::wstring_view(name, static_cast<size_t>(n))) : std::string();
}

std::optional<WindowId> Instance::FindRunningInstance(int32_t marker) {
    wchar_t className[257] = {};
    GetClassNameW(w_.application, className, 256);
    for (HWND other = FindWindowExW(nullptr, nullptr, className, nullptr); other;
         other = FindWindowExW(nullptr, other, className, nullptr)) {
        if (reinterpret_cast<intptr_t>(GetPropW(other, MarkerProperty)) == marker)
            return reinterpret_cast<WindowId>(other);
    }
    SetPropW(w_.application, MarkerProperty, reinterpret_cast<HANDLE>(static_cast<intptr_t>(marker)));
    return std::nullopt;
}

void Instance::SendCommandLine(WindowId target, const std::string& text) {
    COPYDATASTRUCT data{};
    data.dwData = 0;
    data.cbData = static_cast<DWORD>(text.size() + 1);
    data.lpData = const_cast<char*>(text.c_str());
    // A first instance that hangs must not hang the second one too.
    DWORD_PTR result = 0;
    SendMessageTimeoutW(ToWindow(target), WM_COPYDATA, reinterpret_cast<WPARAM>(w_.application),
                        reinterpret_cast<LPARAM>(&data), SMTO_NORMAL | SMTO_ABORTIFHUNG, ForwardTimeoutMs, &result);
}

void Instance::ActivateInstance(WindowId target) {
    HWND window = reinterpret_cast<HWND>(GetWindowLongPtrW(ToWindow(target), GWLP_HWNDPARENT));
    if (!window) return;
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    SetForegroundWindow(window);
}

void Shell::Execute(const std::string& verb, const std::string& file, const std::string& parameters,
                    int showCommand) {
    ShellExecuteW(w_.application, verb.empty() ? nullptr : Wide(verb).c_str(), Wide(file).c_str(),
                  parameters.empty() ? nullptr : Wide(parameters).c_str(), nullptr, showCommand);
}

void Shell::OpenLink(const std::string& address) {
    ShellExecuteW(w_.main, nullptr, Wide(address).c_str(), nullptr, nullptr, 0);
}

void Timers::StartTimer(TimerId id, uint32_t intervalMs) {
    SetTimer(w_.main, static_cast<UINT_PTR>(id), intervalMs, nullptr);
}

void Timers::StopTimer(TimerId id) { KillTimer(w_.main, static_cast<UINT_PTR>(id)); }

// ---- The program --------------------------------------------------------------

std::vector<std::string> ProgramArguments() {
    std::vector<std::string> args;
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    args.push_back(Utf8(path));

    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (argv) {
        for (int i = 1; i < count; ++i) args.push_back(Utf8(argv[i]));
        LocalFree(argv);
    }
    return args;
}

HWND ApplicationWindow::Create(HINSTANCE instance) {
    const WindowClass cls{.name = ClassName, .icon = LoadIconW(instance, L"MAINICON")};
    return CreateOf(instance, cls, WS_EX_TOOLWINDOW, Title, WS_POPUP, {0, 0, 0, 0}, nullptr);
}

Program::Program(HINSTANCE instance) : instance_(instance) {}

int Program::Run() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    // The shell's folder browser needs COM on this thread, apartment-threaded.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    struct ComUser {
        bool initialised;
        ~ComUser() {
            if (initialised) CoUninitialize();
        }
    } comUser{SUCCEEDED(com)};

    form_ = std::make_unique<TAppMainForm>(ports_, ProgramArguments());
    // Started with the session (the Run entry), the program may come before
    // the desktop is ready to take windows: it tries again for a while.
    for (int attempt = 0; attempt < WindowAttempts && !(windows_.application && windows_.main); ++attempt) {
        if (attempt > 0) Sleep(WindowRetryMs);
        if (!windows_.application) windows_.application = application_.Create(instance_);
        if (windows_.application && !windows_.main)
            windows_.main = mainWindow_.Create(instance_, windows_.application, *form_);
    }
    if (!windows_.application || !windows_.main) return 0;
    form_->FormCreate();

    windows_.viewer = viewer_.Create(instance_, windows_.application, *form_);
    windows_.allocation = overlay_.Create(instance_, windows_.application, *form_);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        overlay_.AppMessage(message);
        if (mainWindow_.PreTranslateMessage(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    form_->FormDestroy();
    return 0;
}

}  // namespace kadrilo::win32
