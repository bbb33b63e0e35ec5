#include "win32/Program.h"

#include <commctrl.h>
#include <shellapi.h>

#include "win32/Handles.h"

namespace kadrilo::win32 {
namespace {

constexpr wchar_t ApplicationClass[] = L"TKadriloApplication";
constexpr wchar_t MainFormClass[] = L"TAppMainForm";
constexpr wchar_t AllocationFormClass[] = L"TAllocationForm";
constexpr wchar_t MarkerProperty[] = L"UID";
constexpr wchar_t Title[] = L"Kadrilo";

constexpr DWORD MainStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_BORDER;

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

Program::Program(HINSTANCE instance) : instance_(instance) {}

void Program::RegisterClasses() {
    const HICON icon = LoadIconW(instance_, L"MAINICON");
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof cls;
    cls.hInstance = instance_;
    cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    cls.hIcon = icon;
    cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);

    cls.lpfnWndProc = DefWindowProcW;
    cls.lpszClassName = ApplicationClass;
    RegisterClassExW(&cls);

    cls.lpfnWndProc = MainWindowProc;
    cls.lpszClassName = MainFormClass;
    RegisterClassExW(&cls);

    cls.lpfnWndProc = DefWindowProcW;
    cls.lpszClassName = AllocationFormClass;
    RegisterClassExW(&cls);
}

void Program::CreateMainWindow() {
    RECT frame{0, 0, layout::ClientWidth, layout::ClientHeight};
    AdjustWindowRectEx(&frame, MainStyle, FALSE, 0);
    windows_.main = CreateWindowExW(0, MainFormClass, Title, MainStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                                    frame.right - frame.left, frame.bottom - frame.top, windows_.application,
                                    nullptr, instance_, this);
    if (windows_.main) surface_.CreateControls(instance_, *form_);
}

int Program::Run() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    RegisterClasses();
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");

    form_ = std::make_unique<TAppMainForm>(ports_, ProgramArguments());
    // Started with the session (the Run entry), the program may come before
    // the desktop is ready to take windows: it tries again for a while.
    for (int attempt = 0; attempt < WindowAttempts && !(windows_.application && windows_.main); ++attempt) {
        if (attempt > 0) Sleep(WindowRetryMs);
        if (!windows_.application)
            windows_.application = CreateWindowExW(WS_EX_TOOLWINDOW, ApplicationClass, Title, WS_POPUP, 0, 0, 0, 0,
                                                   nullptr, nullptr, instance_, nullptr);
        if (windows_.application && !windows_.main) CreateMainWindow();
    }
    if (!windows_.application || !windows_.main) return 0;
    form_->FormCreate();

    windows_.viewer = viewer_.Create(instance_, windows_.application, *form_);
    windows_.allocation = CreateWindowExW(WS_EX_TOPMOST, AllocationFormClass, Title, WS_POPUP, 0, 0, 0, 0,
                                          windows_.application, nullptr, instance_, nullptr);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (surface_.PreTranslateMessage(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    form_->FormDestroy();
    return 0;
}

LRESULT CALLBACK Program::MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* program = reinterpret_cast<Program*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!program || !program->form_) return DefWindowProcW(window, message, wParam, lParam);
    return program->HandleMainMessage(window, message, wParam, lParam);
}

LRESULT Program::HandleMainMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER:
            if (wParam == static_cast<WPARAM>(TimerId::Timer1)) form_->Timer1Timer();
            if (wParam == static_cast<WPARAM>(TimerId::Timer2)) form_->Timer2Timer();
            if (wParam == static_cast<WPARAM>(TimerId::Timer3)) form_->Timer3Timer();
            return 0;
        case WM_HOTKEY:
            form_->WMHotKey(static_cast<int32_t>(wParam));
            return 0;
        case WM_CLOSE:
            form_->CloseRequest();
            return 0;
        case WM_USER:
            form_->WMTrayIcon(static_cast<uint32_t>(lParam));
            return 0;
        case WM_QUERYENDSESSION:
            return form_->WMQueryEndSession() ? TRUE : FALSE;
        default:
            if (message == taskbarCreated_ && taskbarCreated_ != 0) {
                form_->TaskbarCreated();
                return 0;
            }
            // The controls' notifications, drawing and colours.
            if (LRESULT result = 0; surface_.HandleMessage(message, wParam, lParam, result)) return result;
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace kadrilo::win32
