#include "win32/MainWindow.h"

#include "output/Preview.h"

#include <shellapi.h>
#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <optional>
#include <vector>

namespace kadrilo::win32 {
namespace {

using layout::ControlId;
using layout::ControlKind;
using layout::ControlRow;
using layout::TrayCommand;

constexpr wchar_t ContainerClass[] = L"KadriloPage";
constexpr wchar_t Title[] = L"Kadrilo";

// Control ids are the ControlId plus this; tray menu commands the TrayCommand plus the other.
constexpr int ControlBaseId = 100;
constexpr int TrayCommandBaseId = 1000;

constexpr COLORREF MaskColour = RGB(255, 0, 255);
constexpr COLORREF TitleColour = RGB(0x58, 0x58, 0x58);
constexpr COLORREF LinkColour = RGB(0, 0, 255);
constexpr int UiFontHeight = -11;     // 8 points at 96 dots an inch
constexpr int TitleFontHeight = -13;  // pixels
constexpr int ImageSize = 16;
constexpr int PageImageSize = 32;
constexpr int MenuImageMargin = 2;  // beside a menu item's picture
constexpr int LanguageItemHeight = 16;
constexpr int ComboDropHeight = 100;
constexpr int LinesPerWheelNotch = 3;
// The etched frame of the left strip, around the page buttons.
constexpr RECT LeftStripFrame{4, 30, 93, 290};

// Pictures of the page buttons in the 32 x 32 strip: the first is "View" disabled.
constexpr int PageButtonImages[4] = {0, 2, 3, 4};
constexpr int ViewDisabledImage = 1;

int CommandOf(ControlId id) { return ControlBaseId + static_cast<int>(id); }

std::optional<ControlId> ControlOfCommand(int command) {
    const int index = command - ControlBaseId;
    if (index <= 0 || index >= static_cast<int>(ControlId::Count)) return std::nullopt;
    return static_cast<ControlId>(index);
}

// ---- Pages and tabs: windows that hold controls -------------------------------------

SCROLLINFO ScrollInfo(UINT mask) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = mask;
    return info;
}

// Moves the controls themselves (ScrollWindowEx leaves them where they are
// while the tab is hidden, under Wine).
void MoveChildren(HWND parent, int dy) {
    HDWP batch = BeginDeferWindowPos(16);
    for (HWND child = GetWindow(parent, GW_CHILD); child && batch; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
        batch = DeferWindowPos(batch, child, nullptr, r.left, r.top + dy, 0, 0,
                               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (batch) EndDeferWindowPos(batch);
}

void ScrollTabTo(HWND tab, int position) {
    SCROLLINFO info = ScrollInfo(SIF_ALL);
    if (!GetScrollInfo(tab, SB_VERT, &info)) info = ScrollInfo(SIF_ALL);
    const int last = std::max(0, info.nMax - static_cast<int>(info.nPage) + 1);
    position = std::clamp(position, 0, last);
    if (position == info.nPos) return;
    SetScrollPos(tab, SB_VERT, position, TRUE);
    MoveChildren(tab, info.nPos - position);
    // Group boxes do not paint their inside: the whole tab is painted anew.
    RedrawWindow(tab, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void OnTabScroll(HWND tab, WORD request) {
    SCROLLINFO info = ScrollInfo(SIF_ALL);
    GetScrollInfo(tab, SB_VERT, &info);
    int position = info.nPos;
    switch (request) {
        case SB_LINEUP: position -= layout::ScrollStep; break;
        case SB_LINEDOWN: position += layout::ScrollStep; break;
        case SB_PAGEUP: position -= static_cast<int>(info.nPage); break;
        case SB_PAGEDOWN: position += static_cast<int>(info.nPage); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: position = info.nTrackPos; break;
        case SB_TOP: position = 0; break;
        case SB_BOTTOM: position = info.nMax; break;
        default: return;
    }
    ScrollTabTo(tab, position);
}

bool IsForwarded(UINT message) {
    return message == WM_COMMAND || message == WM_NOTIFY || message == WM_DRAWITEM || message == WM_MEASUREITEM ||
           (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC);
}

// Pages and tabs pass what their controls tell them on to the main window.
LRESULT CALLBACK ContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (IsForwarded(message)) return SendMessageW(GetAncestor(window, GA_ROOT), message, wParam, lParam);
    switch (message) {
        case WM_VSCROLL:
            OnTabScroll(window, LOWORD(wParam));
            return 0;
        case WM_MOUSEWHEEL: {
            const int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
            ScrollTabTo(window, GetScrollPos(window, SB_VERT) - notches * LinesPerWheelNotch * layout::ScrollStep);
            return 0;
        }
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

void RegisterContainerClass(HINSTANCE instance) {
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof cls;
    cls.hInstance = instance;
    cls.lpfnWndProc = ContainerProc;
    cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    cls.lpszClassName = ContainerClass;
    RegisterClassExW(&cls);  // a second registration fails harmlessly
}

// ---- Fonts and pictures ----------------------------------------------------------------

// The interface is Russian or English on any system code page: the window font
// must hold Cyrillic letters.
bool HasCyrillicFace(const wchar_t* face) {
    LOGFONTW wanted{};
    wanted.lfCharSet = RUSSIAN_CHARSET;
    lstrcpynW(wanted.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    UniqueScreenDc dc(GetDC(nullptr));
    EnumFontFamiliesExW(
        dc.get(), &wanted,
        [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) -> int {
            *reinterpret_cast<bool*>(found) = true;
            return 0;
        },
        reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

// "MS Sans Serif" 8 pt where the system has it with Cyrillic letters, else the
// system's message font.
LOGFONTW WindowFontDescription() {
    LOGFONTW font{};
    if (HasCyrillicFace(L"MS Sans Serif")) {
        font.lfHeight = UiFontHeight;
        font.lfWeight = FW_NORMAL;
        font.lfCharSet = RUSSIAN_CHARSET;
        lstrcpynW(font.lfFaceName, L"MS Sans Serif", LF_FACESIZE);
        return font;
    }
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    return metrics.lfMessageFont;
}

HIMAGELIST LoadImageStrip(HINSTANCE instance, const wchar_t* name, int size) {
    HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, 16, 4);
    UniqueBitmap strip(static_cast<HBITMAP>(LoadImageW(instance, name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (list && strip) ImageList_AddMasked(list, strip.get(), MaskColour);
    return list;
}

// ---- What each kind of control is made of -------------------------------------------------

struct ControlClass {
    const wchar_t* name;
    DWORD style;
    DWORD exStyle;
};

ControlClass ClassOf(ControlKind kind) {
    switch (kind) {
        case ControlKind::Title: return {L"STATIC", SS_OWNERDRAW, 0};
        case ControlKind::PageButton: return {L"BUTTON", BS_OWNERDRAW | WS_TABSTOP, 0};
        case ControlKind::Button: return {L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
        case ControlKind::LinkLabel: return {L"STATIC", SS_NOTIFY | SS_LEFT, 0};
        case ControlKind::Panel: return {ContainerClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT};
        case ControlKind::Image: return {L"STATIC", SS_OWNERDRAW | SS_NOTIFY, WS_EX_STATICEDGE};
        case ControlKind::TabControl: return {WC_TABCONTROLW, TCS_MULTILINE | WS_CLIPSIBLINGS | WS_TABSTOP, 0};
        case ControlKind::TabSheet: return {ContainerClass, 0, WS_EX_CONTROLPARENT};
        case ControlKind::GroupBox: return {L"BUTTON", BS_GROUPBOX | WS_CLIPSIBLINGS, 0};
        case ControlKind::Label: return {L"STATIC", SS_LEFT, 0};
        case ControlKind::Radio: return {L"BUTTON", BS_RADIOBUTTON, 0};
        case ControlKind::CheckBox: return {L"BUTTON", BS_CHECKBOX | WS_TABSTOP, 0};
        case ControlKind::OwnerDrawnCombo:
            return {WC_COMBOBOXW, CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | WS_VSCROLL | WS_TABSTOP, 0};
        case ControlKind::HotKeyEditor: return {HOTKEY_CLASSW, WS_TABSTOP, WS_EX_CLIENTEDGE};
    }
    return {L"STATIC", 0, 0};
}

// Shown from the start: everything but the pages and buttons of one page, and all tabs but the first.
bool StartsVisible(const ControlRow& row) {
    return row.onlyOnPage < 0 && !(row.kind == ControlKind::TabSheet && row.id != ControlId::TabSheet1);
}

int32_t ContentHeight(ControlId tab) {
    int32_t bottom = 0;
    for (const ControlRow& row : layout::MainWindowControls())
        if (row.parent == tab) bottom = std::max(bottom, row.rect.bottom);
    return bottom + 4;
}

}  // namespace

// ---- Making the controls -------------------------------------------------------------------

void MainWindow::CreateControls(HINSTANCE instance, TAppMainForm& form) {
    form_ = &form;
    controls_[0] = w_.main;
    RegisterContainerClass(instance);
    CreateResources(instance);
    bool previousWasRadio = false;
    for (const ControlRow& row : layout::MainWindowControls()) {
        const bool isRadio = row.kind == ControlKind::Radio;
        controls_[static_cast<size_t>(row.id)] = CreateControl(row, !(isRadio && previousWasRadio));
        previousWasRadio = isRadio;
        SetUpControl(row);
    }
    CreateShortcuts();
    LayOutTabs();
}

void MainWindow::CreateResources(HINSTANCE instance) {
    LOGFONTW description = WindowFontDescription();
    font_.reset(CreateFontIndirectW(&description));
    description.lfUnderline = TRUE;
    linkFont_.reset(CreateFontIndirectW(&description));
    titleFont_.reset(CreateFontW(TitleFontHeight, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Arial"));
    images_.reset(LoadImageStrip(instance, L"MAINIMAGES", ImageSize));
    UniqueBitmap info(static_cast<HBITMAP>(LoadImageW(instance, L"INFOCL", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (images_ && info) ImageList_AddMasked(images_.get(), info.get(), MaskColour);
    pageImages_.reset(LoadImageStrip(instance, L"PAGEBUTTONS", PageImageSize));
}

HWND MainWindow::HostOf(const ControlRow& row) const {
    // A tab sheet lies over its tab control, beside it in the tab control's page.
    if (row.kind == ControlKind::TabSheet) return HostOf(layout::Row(row.parent));
    return Control(row.parent);
}

HWND MainWindow::CreateControl(const ControlRow& row, bool startsGroup) {
    const ControlClass cls = ClassOf(row.kind);
    DWORD style = WS_CHILD | cls.style | (StartsVisible(row) ? WS_VISIBLE : 0) | (row.startsEnabled ? 0 : WS_DISABLED);
    if (startsGroup) style |= WS_GROUP | (row.kind == ControlKind::Radio ? WS_TABSTOP : 0);
    const Rect r = row.rect;
    const int height = r.Height() + (row.kind == ControlKind::OwnerDrawnCombo ? ComboDropHeight : 0);
    return CreateWindowExW(cls.exStyle, cls.name, L"", style, r.left, r.top, r.Width(), height, HostOf(row),
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(CommandOf(row.id))),
                           reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(w_.main, GWLP_HINSTANCE)), nullptr);
}

void MainWindow::SetUpControl(const ControlRow& row) {
    HWND control = Control(row.id);
    if (!control) return;
    HFONT font = row.kind == ControlKind::LinkLabel ? linkFont_.get() : font_.get();
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    switch (row.kind) {
        case ControlKind::TabSheet: {
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = const_cast<wchar_t*>(L"");
            TabCtrl_InsertItem(Control(row.parent), static_cast<int>(tabCount_), &item);
            tabs_[tabCount_] = row.id;
            tabContentHeights_[tabCount_++] = ContentHeight(row.id);
            SetWindowPos(control, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            break;
        }
        case ControlKind::GroupBox:
        case ControlKind::TabControl:
            // Below the controls that lie over them.
            SetWindowPos(control, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            break;
        case ControlKind::OwnerDrawnCombo:
            for (const layout::LanguageItem& item : layout::LanguageItems())
                SendMessageW(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item.text).c_str()));
            break;
        case ControlKind::HotKeyEditor:
            // A combination without a modifier is not a shortcut: the editor adds Alt.
            SendMessageW(control, HKM_SETRULES, HKCOMB_NONE, MAKELPARAM(HOTKEYF_ALT, 0));
            break;
        default:
            break;
    }
}

void MainWindow::CreateShortcuts() {
    std::vector<ACCEL> table;
    for (const layout::WindowShortcut& s : layout::WindowShortcuts()) {
        BYTE flags = FVIRTKEY;
        if (s.key.value & Shortcut::Ctrl) flags |= FCONTROL;
        if (s.key.value & Shortcut::Shift) flags |= FSHIFT;
        if (s.key.value & Shortcut::Alt) flags |= FALT;
        table.push_back({flags, s.key.Key(), static_cast<WORD>(CommandOf(s.control))});
    }
    shortcuts_.reset(CreateAcceleratorTableW(table.data(), static_cast<int>(table.size())));
}

// The tabs take the tab control's page; their rows of tabs depend on the captions.
void MainWindow::LayOutTabs() {
    HWND tabControl = Control(ControlId::PageControl);
    RECT area{};
    GetClientRect(tabControl, &area);
    TabCtrl_AdjustRect(tabControl, FALSE, &area);
    MapWindowPoints(tabControl, GetParent(tabControl), reinterpret_cast<POINT*>(&area), 2);
    if (EqualRect(&area, &tabArea_)) return;  // a tab keeps its scroll position
    tabArea_ = area;
    for (size_t i = 0; i < tabCount_; ++i) {
        HWND tab = Control(tabs_[i]);
        ScrollTabTo(tab, 0);
        MoveWindow(tab, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
        SCROLLINFO info = ScrollInfo(SIF_RANGE | SIF_PAGE);
        info.nMax = tabContentHeights_[i] - 1;
        info.nPage = static_cast<UINT>(area.bottom - area.top);
        SetScrollInfo(tab, SB_VERT, &info, TRUE);
    }
}

void MainWindow::ShowTab(int index) {
    for (size_t i = 0; i < tabCount_; ++i) {
        HWND tab = Control(tabs_[i]);
        if (static_cast<int>(i) == index && layout::ScrollsToTopWhenShown(tabs_[i])) ScrollTabTo(tab, 0);
        ShowWindow(tab, static_cast<int>(i) == index ? SW_SHOW : SW_HIDE);
    }
}

// ---- The port ------------------------------------------------------------------------------

std::optional<MainFormPort::SaveChoice> MainWindow::SavePictureDialog(const std::string& fileName,
                                                                     int32_t filterIndex) {
    static constexpr wchar_t Filter[] =
        L"Windows Bitmap (*.bmp)\0*.bmp\0JPEG Image File (*.jpg)\0*.jpg\0"
        L"PNG Image File (*.png)\0*.png\0TIFF Image File (*.tif)\0*.tif\0";
    std::wstring buffer = Wide(fileName);
    buffer.resize(std::max<size_t>(buffer.size() + 1, 32768), L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = w_.main;
    dialog.lpstrFilter = Filter;
    dialog.nFilterIndex = static_cast<DWORD>(std::clamp(filterIndex, 1, 4));
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = static_cast<DWORD>(buffer.size());
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_ENABLESIZING;
    if (!GetSaveFileNameW(&dialog)) return std::nullopt;
    return SaveChoice{Utf8(buffer.c_str()), static_cast<int32_t>(dialog.nFilterIndex)};
}

std::string MainWindow::BrowseForFolder(const std::string& title) {
    const std::wstring wideTitle = Wide(title);
    BROWSEINFOW info{};
    info.hwndOwner = w_.main;
    info.lpszTitle = wideTitle.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
    if (!chosen) return {};
    wchar_t path[MAX_PATH] = {};
    const bool ok = SHGetPathFromIDListW(chosen, path);
    CoTaskMemFree(chosen);
    return ok ? Utf8(path) : std::string();
}

int MainWindow::ActiveSettingsTab() { return TabCtrl_GetCurSel(Control(ControlId::PageControl)); }

bool MainWindow::UserDefinedChoiceFocused() {
    const HWND focus = GetFocus();
    for (const ControlRow& row : layout::MainWindowControls())
        if (row.kind == ControlKind::Radio && row.slot != 0 && row.value == 1 && Control(row.id) == focus) return true;
    return false;
}

void MainWindow::FocusSettingsTabs() { SetFocus(Control(ControlId::PageControl)); }

void MainWindow::SelectSettingsTab(int tab) {
    if (tab < 0 || static_cast<size_t>(tab) >= tabCount_) return;
    TabCtrl_SetCurSel(Control(ControlId::PageControl), tab);
    ShowTab(tab);
}

void MainWindow::ShowPage(int page, const std::string& title) {
    page_ = page;
    for (const ControlRow& row : layout::MainWindowControls()) {
        if (row.onlyOnPage >= 0) ShowWindow(Control(row.id), row.onlyOnPage == page ? SW_SHOW : SW_HIDE);
        if (row.disabledOnPage >= 0) EnableWindow(Control(row.id), row.disabledOnPage != page);
    }
    SetText(Control(ControlId::TopPanel), title);
}

void MainWindow::SetViewButtonEnabled(bool enabled) { EnableWindow(Control(ControlId::SpeedButton1), enabled); }

void MainWindow::UpdatePreview() { InvalidateRect(Control(ControlId::ScreenshotPreview), nullptr, FALSE); }

// Mirrors the settings into the controls and sets every caption in the current language.
void MainWindow::Refresh() {
    if (!form_) return;
    refreshing_ = true;
    for (const ControlRow& row : layout::MainWindowControls()) RefreshControl(row);
    SetText(Control(ControlId::TopPanel), form_->PageTitle(page_));
    LayOutTabs();
    refreshing_ = false;
}

void MainWindow::RefreshControl(const ControlRow& row) {
    HWND control = Control(row.id);
    const AppSettings& settings = form_->Settings;
    if (row.kind == ControlKind::TabSheet) {
        const std::wstring text = Wide(form_->LoadStrEx(row.caption));
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(text.c_str());
        const auto index = std::find(tabs_.begin(), tabs_.end(), row.id) - tabs_.begin();
        TabCtrl_SetItem(Control(row.parent), static_cast<int>(index), &item);
        return;
    }
    if (row.caption != 0) SetText(control, form_->LoadStrEx(row.caption));
    if (!row.enabled.setting.empty()) EnableWindow(control, layout::ControlEnabled(row, settings));
    switch (row.kind) {
        case ControlKind::Radio:
        case ControlKind::CheckBox:
            SendMessageW(control, BM_SETCHECK, layout::ControlChecked(row, settings) ? BST_CHECKED : BST_UNCHECKED, 0);
            break;
        case ControlKind::HotKeyEditor:
            SendMessageW(control, HKM_SETHOTKEY, layout::HotkeyEditorValue(layout::ControlShortcut(row, settings)), 0);
            break;
        case ControlKind::OwnerDrawnCombo:
            SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(layout::ControlSelection(row, settings)), 0);
            break;
        default:
            break;
    }
}

// Only a changed text is set, so that a refresh does not make the window flicker.
void MainWindow::SetText(HWND control, const std::string& text) {
    const std::wstring wanted = Wide(text);
    std::wstring current(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    current.resize(static_cast<size_t>(GetWindowTextW(control, current.data(), static_cast<int>(current.size()))));
    if (current == wanted) return;
    SetWindowTextW(control, wanted.c_str());
    InvalidateRect(control, nullptr, TRUE);
}

void MainWindow::ClosePreviewAndOverlay() {
    viewer_.Close();
    ShowWindow(w_.allocation, SW_HIDE);
}

bool MainWindow::AddTrayIcon() {
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V1_SIZE;
    data.hWnd = w_.main;
    data.uID = 0;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_USER;
    data.hIcon = LoadIconW(GetModuleHandleW(nullptr), L"MAINICON");
    lstrcpynW(data.szTip, Title, 64);
    return Shell_NotifyIconW(NIM_ADD, &data) != 0;
}

void MainWindow::DeleteTrayIcon() {
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V1_SIZE;
    data.hWnd = w_.main;
    data.uID = 0;
    Shell_NotifyIconW(NIM_DELETE, &data);  // failures are ignored: the timer repairs a lost icon
}

void MainWindow::SetStayOnTop(bool onTop) {
    SetWindowPos(w_.main, onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void MainWindow::MarkWorkMode(int mode) {
    if (mode >= 0 && mode <= 3) markedMode_ = mode;
}

// The menu is made anew each time, from the texts of the current language and
// the mode last marked; its pictures are drawn by the main window (WM_DRAWITEM).
void MainWindow::ShowTrayMenu() {
    if (!form_) return;
    UniqueMenu menu(CreatePopupMenu());
    HMENU modeMenu = CreatePopupMenu();
    for (const layout::TrayMenuItem& item : layout::TrayMenuItems()) {
        HMENU target = item.inModeMenu ? modeMenu : menu.get();
        const UINT id = TrayCommandBaseId + static_cast<UINT>(item.command);
        if (item.command == TrayCommand::Separator) {
            AppendMenuW(target, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        const int mode = layout::TrayCommandMode(item.command);
        std::wstring text = Wide(form_->LoadStrEx(item.caption));
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_STRING | MIIM_BITMAP | MIIM_DATA;
        info.wID = id;
        info.dwTypeData = text.data();
        info.hbmpItem = HBMMENU_CALLBACK;
        info.dwItemData = static_cast<ULONG_PTR>(mode >= 0 ? layout::ModeImage(mode, mode == markedMode_) : item.image);
        if (item.command == TrayCommand::Mode) {
            info.fMask |= MIIM_SUBMENU;
            info.hSubMenu = modeMenu;  // destroyed with the menu
        }
        InsertMenuItemW(target, GetMenuItemCount(target), TRUE, &info);
        if (item.command == TrayCommand::Settings || (mode >= 0 && mode == markedMode_))
            SetMenuDefaultItem(target, id, FALSE);
    }
    POINT at{};
    GetCursorPos(&at);
    SetForegroundWindow(w_.main);
    TrackPopupMenu(menu.get(), TPM_RIGHTBUTTON, at.x, at.y, 0, w_.main, nullptr);
    PostMessageW(w_.main, WM_NULL, 0, 0);
}

// ---- Messages ------------------------------------------------------------------------------

bool MainWindow::PreTranslateMessage(MSG& message) {
    if (!form_ || (message.hwnd != w_.main && !IsChild(w_.main, message.hwnd))) return false;
    // Esc in an open list closes the list, not the window.
    const bool listOpen = message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE &&
                          SendMessageW(Control(ControlId::ComboBox4), CB_GETDROPPEDSTATE, 0, 0);
    if (!listOpen && TranslateAcceleratorW(w_.main, shortcuts_.get(), &message)) return true;
    return IsDialogMessageW(w_.main, &message) != 0;
}

bool MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (!form_) return false;
    result = 0;
    switch (message) {
        case WM_COMMAND:
            return OnCommand(wParam, lParam);
        case WM_NOTIFY:
            return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
        case WM_MEASUREITEM:
            OnMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
            result = TRUE;
            return true;
        case WM_DRAWITEM:
            result = TRUE;
            return OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        case WM_CTLCOLORSTATIC:
            return OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), result);
        case WM_SETCURSOR:
            result = TRUE;
            return OnSetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam));
        case WM_PAINT:
            PaintFrame();
            return true;
        default:
            return false;
    }
}

bool MainWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    if (id >= TrayCommandBaseId && lParam == 0) {
        RunTrayCommand(static_cast<TrayCommand>(id - TrayCommandBaseId));
        return true;
    }
    const std::optional<ControlId> control = ControlOfCommand(id);
    if (!control) return false;
    OnControlCommand(layout::Row(*control), code, lParam == 0 && code == 1);
    return true;
}

void MainWindow::OnControlCommand(const ControlRow& row, UINT code, bool fromShortcut) {
    if (refreshing_) return;
    HWND control = Control(row.id);
    switch (row.kind) {
        case ControlKind::PageButton:
        case ControlKind::Button:
        case ControlKind::LinkLabel:
            if (code == BN_CLICKED || fromShortcut) Click(row.id);
            break;
        case ControlKind::Radio:
            if (code == BN_CLICKED) form_->HotKeyModeClick(row.slot, row.value);
            break;
        case ControlKind::CheckBox:
            if (code == BN_CLICKED)
                form_->SettingCheckBoxClick(row.setting, SendMessageW(control, BM_GETCHECK, 0, 0) != BST_CHECKED);
            break;
        case ControlKind::OwnerDrawnCombo:
            if (code == CBN_SELCHANGE)
                form_->LanguageSelect(static_cast<int32_t>(SendMessageW(control, CB_GETCURSEL, 0, 0)));
            break;
        case ControlKind::Image:
            if (code == STN_DBLCLK) form_->BitBtn2Click();  // as "View full"
            break;
        case ControlKind::HotKeyEditor:
            if (code == EN_CHANGE) {
                const auto value = static_cast<uint16_t>(SendMessageW(control, HKM_GETHOTKEY, 0, 0));
                form_->HotKeyChange(row.slot, layout::ShortcutFromHotkeyEditor(value));
            }
            break;
        default:
            break;
    }
}

void MainWindow::Click(ControlId id) {
    switch (id) {
        case ControlId::SpeedButton1: form_->SpeedButton1Click(); break;
        case ControlId::SpeedButton2: form_->OpenProgramSettings(); break;
        case ControlId::SpeedButton3: form_->SpeedButton3Click(); break;
        case ControlId::SpeedButton4: form_->SpeedButton4Click(); break;
        case ControlId::LinkAbout: form_->N8Click(); break;
        case ControlId::BitBtn1: form_->BitBtn1Click(); break;
        case ControlId::BitBtn2: form_->BitBtn2Click(); break;
        default: break;
    }
}

void MainWindow::RunTrayCommand(TrayCommand command) {
    const int mode = layout::TrayCommandMode(command);
    if (mode >= 0) {
        form_->SetWorkModeFromMenu(mode);
        return;
    }
    switch (command) {
        case TrayCommand::Settings: form_->OpenProgramSettings(); break;
        case TrayCommand::About: form_->N8Click(); break;
        case TrayCommand::Quit: form_->SpeedButton4Click(); break;
        default: break;
    }
}

bool MainWindow::OnNotify(const NMHDR& header) {
    if (header.hwndFrom != Control(ControlId::PageControl) || header.code != TCN_SELCHANGE) return false;
    ShowTab(TabCtrl_GetCurSel(header.hwndFrom));
    return true;
}

void MainWindow::OnMeasureItem(MEASUREITEMSTRUCT& item) {
    if (item.CtlType == ODT_MENU) {
        item.itemWidth = ImageSize + 2 * MenuImageMargin;
        item.itemHeight = ImageSize;
    } else {
        item.itemHeight = LanguageItemHeight;
    }
}

bool MainWindow::OnDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.CtlType == ODT_MENU) {
        DrawMenuImage(item);
        return true;
    }
    const std::optional<ControlId> control = ControlOfCommand(static_cast<int>(item.CtlID));
    if (!control) return false;
    switch (layout::Row(*control).kind) {
        case ControlKind::Title: DrawTitle(item); return true;
        case ControlKind::Image: DrawPreview(item); return true;
        case ControlKind::PageButton: DrawPageButton(item); return true;
        case ControlKind::OwnerDrawnCombo: DrawLanguageItem(item); return true;
        default: return false;
    }
}

void MainWindow::DrawPreview(const DRAWITEMSTRUCT& item) {
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    if (!form_ || !form_->HeldImage || form_->HeldImage->Empty()) return;
    const Bitmap& image = *form_->HeldImage;
    const Rect at = PreviewPlacement(image.width, image.height, item.rcItem.right - item.rcItem.left,
                                     item.rcItem.bottom - item.rcItem.top);
    DrawBitmap(item.hDC, image,
               {item.rcItem.left + at.left, item.rcItem.top + at.top, item.rcItem.left + at.right,
                item.rcItem.top + at.bottom});
}

void MainWindow::DrawTitle(const DRAWITEMSTRUCT& item) {
    RECT r = item.rcItem;
    FillRect(item.hDC, &r, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(item.hDC, &r, EDGE_ETCHED, BF_BOTTOM);
    wchar_t text[256] = {};
    GetWindowTextW(item.hwndItem, text, 256);
    ScopedSelectObject font(item.hDC, titleFont_.get());
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, TitleColour);
    r.left += 10;
    DrawTextW(item.hDC, text, -1, &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void MainWindow::DrawPageButton(const DRAWITEMSTRUCT& item) {
    RECT r = item.rcItem;
    FillRect(item.hDC, &r, GetSysColorBrush(COLOR_BTNFACE));
    const bool pressed = item.itemState & ODS_SELECTED;
    const bool disabled = item.itemState & ODS_DISABLED;
    if (pressed) DrawEdge(item.hDC, &r, BDR_SUNKENOUTER, BF_RECT);
    const auto index = static_cast<int>(*ControlOfCommand(static_cast<int>(item.CtlID))) -
                       static_cast<int>(ControlId::SpeedButton1);
    const int image = disabled && index == 0 ? ViewDisabledImage : PageButtonImages[index];
    const int shift = pressed ? 1 : 0;
    const int top = r.top + 6 + shift;
    ImageList_Draw(pageImages_.get(), image, item.hDC, (r.left + r.right - PageImageSize) / 2 + shift, top,
                   ILD_TRANSPARENT);
    wchar_t text[128] = {};
    GetWindowTextW(item.hwndItem, text, 128);
    RECT textRect{r.left + shift, top + PageImageSize + 3, r.right + shift, r.bottom};
    ScopedSelectObject font(item.hDC, font_.get());
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    DrawTextW(item.hDC, text, -1, &textRect, DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    if (item.itemState & ODS_FOCUS) {
        InflateRect(&r, -3, -3);
        DrawFocusRect(item.hDC, &r);
    }
}

// The picture at (left + 4, top + 1), the text at left + 26.
void MainWindow::DrawLanguageItem(const DRAWITEMSTRUCT& item) {
    const bool selected = item.itemState & ODS_SELECTED;
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    const auto items = layout::LanguageItems();
    if (item.itemID >= items.size()) return;
    const layout::LanguageItem& language = items[item.itemID];
    ImageList_Draw(images_.get(), language.image, item.hDC, item.rcItem.left + 4, item.rcItem.top + 1,
                   ILD_TRANSPARENT);
    const std::wstring text = Wide(language.text);
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    TextOutW(item.hDC, item.rcItem.left + ImageSize + 10, item.rcItem.top, text.c_str(), static_cast<int>(text.size()));
    if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
}

void MainWindow::DrawMenuImage(const DRAWITEMSTRUCT& item) {
    const int left = (item.rcItem.left + item.rcItem.right - ImageSize) / 2;
    const int top = (item.rcItem.top + item.rcItem.bottom - ImageSize) / 2;
    ImageList_Draw(images_.get(), static_cast<int>(item.itemData), item.hDC, left, top, ILD_TRANSPARENT);
}

bool MainWindow::OnControlColour(HDC dc, HWND control, LRESULT& result) {
    if (control != Control(ControlId::LinkAbout)) return false;
    SetTextColor(dc, LinkColour);
    SetBkMode(dc, TRANSPARENT);
    result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    return true;
}

// The link and the page buttons show the hand while the mouse is over them.
bool MainWindow::OnSetCursor(HWND over, UINT hitTest) {
    if (hitTest != HTCLIENT || !IsWindowEnabled(over)) return false;
    const auto id = ControlOfCommand(GetDlgCtrlID(over));
    if (!id || GetParent(over) != w_.main) return false;
    const ControlKind kind = layout::Row(*id).kind;
    if (kind != ControlKind::LinkLabel && kind != ControlKind::PageButton) return false;
    SetCursor(LoadCursorW(nullptr, IDC_HAND));
    return true;
}

void MainWindow::PaintFrame() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(w_.main, &paint);
    RECT frame = LeftStripFrame;
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    EndPaint(w_.main, &paint);
}

}  // namespace kadrilo::win32
