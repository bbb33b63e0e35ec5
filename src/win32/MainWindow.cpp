#include "win32/MainWindow.h"

#include <vector>

#include "output/Preview.h"
#include "settings/ShortcutText.h"

namespace kadrilo::win32 {
namespace {

using layout::ControlId;
using layout::ControlKind;
using layout::ControlRow;

constexpr DWORD MainStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_BORDER;
constexpr COLORREF TitleColour = RGB(0x58, 0x58, 0x58);
constexpr COLORREF LinkColour = RGB(0, 0, 255);
// The etched frame of the left strip, around the page buttons.
constexpr RECT LeftStripFrame{4, 30, 93, 290};

// Pictures of the page buttons in the 32 x 32 strip: the first is "View" disabled.
constexpr int PageButtonImages[4] = {0, 2, 3, 4};
constexpr int ViewDisabledImage = 1;

// The modifier flags of an accelerator.
constexpr ModifierBits AcceleratorModifiers{FSHIFT, FCONTROL, FALT};

}  // namespace

HWND MainWindow::Create(HINSTANCE instance, HWND owner, TAppMainForm& form) {
    RECT frame{0, 0, layout::ClientWidth, layout::ClientHeight};
    AdjustWindowRectEx(&frame, MainStyle, FALSE, 0);
    const WindowClass cls{.name = ClassName, .icon = LoadIconW(instance, L"MAINICON")};
    if (!CreateOf(instance, cls, 0, Wide(ProgramCaption).c_str(), MainStyle,
                  {CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT + frame.right - frame.left,
                   CW_USEDEFAULT + frame.bottom - frame.top},
                  owner))
        return nullptr;
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    controls_.SetWindow(window_);
    RegisterContainerClass(instance);
    resources_.Load(instance);
    controls_.CreateRows(layout::FrameControls(), resources_);
    settingsPage_.Create(form, [this] { RefreshFrame(); });
    tray_.Attach(form);
    CreateShortcuts();
    form_ = &form;
    return window_;
}

void MainWindow::CreateShortcuts() {
    std::vector<ACCEL> table;
    for (const layout::WindowShortcut& s : layout::WindowShortcuts()) {
        const auto flags = static_cast<BYTE>(FVIRTKEY | RemapModifiers(s.key.value, ShortcutModifiers, AcceleratorModifiers));
        table.push_back({flags, s.key.Key(), static_cast<WORD>(CommandOf(s.control))});
    }
    shortcuts_.reset(CreateAcceleratorTableW(table.data(), static_cast<int>(table.size())));
}

// ---- The port ------------------------------------------------------------------------------

void MainWindow::ShowPage(int page, const std::string& title) {
    page_ = page;
    for (const ControlRow& row : layout::FrameControls()) {
        if (row.onlyOnPage >= 0) ShowWindow(controls_[row.id], row.onlyOnPage == page ? SW_SHOW : SW_HIDE);
        if (row.disabledOnPage >= 0) EnableWindow(controls_[row.id], row.disabledOnPage != page);
    }
    ControlTable::SetText(controls_[ControlId::TopPanel], title);
}

void MainWindow::SetViewButtonEnabled(bool enabled) { EnableWindow(controls_[ControlId::SpeedButton1], enabled); }

void MainWindow::UpdatePreview() { InvalidateRect(controls_[ControlId::ScreenshotPreview], nullptr, FALSE); }

// The frame's captions in the current language; the settings page refreshes its tabs itself.
void MainWindow::RefreshFrame() {
    if (!form_) return;
    for (const ControlRow& row : layout::FrameControls()) controls_.Refresh(row, *form_);
    ControlTable::SetText(controls_[ControlId::TopPanel], form_->PageTitle(page_));
}

void MainWindow::ClosePreviewAndOverlay() {
    viewer_.Close();
    if (IsWindowVisible(w_.allocation)) form_->AllocationFormOnCloseQuery();
}

void MainWindow::SetStayOnTop(bool onTop) {
    SetWindowPos(window_, onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// ---- Messages ------------------------------------------------------------------------------

bool MainWindow::PreTranslateMessage(MSG& message) {
    if (!form_ || (message.hwnd != window_ && !IsChild(window_, message.hwnd))) return false;
    // Esc in an open list closes the list, not the window.
    const bool listOpen = message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE &&
                          SendMessageW(settingsPage_.LanguageList(), CB_GETDROPPEDSTATE, 0, 0);
    if (!listOpen && TranslateAcceleratorW(window_, shortcuts_.get(), &message)) return true;
    return IsDialogMessageW(window_, &message) != 0;
}

LRESULT MainWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!form_) return Default(message, wParam, lParam);
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
        case WM_COMMAND:
            return OnCommand(wParam, lParam) ? 0 : Default(message, wParam, lParam);
        case WM_NOTIFY:
            return settingsPage_.OnNotify(*reinterpret_cast<const NMHDR*>(lParam)) ? 0
                                                                                    : Default(message, wParam, lParam);
        case WM_MEASUREITEM:
            OnMeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_DRAWITEM:
            return OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)) ? TRUE
                                                                               : Default(message, wParam, lParam);
        case WM_CTLCOLORSTATIC:
            if (LRESULT result = 0; OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), result))
                return result;
            return Default(message, wParam, lParam);
        case WM_SETCURSOR:
            return OnSetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam)) ? TRUE
                                                                                : Default(message, wParam, lParam);
        case WM_PAINT:
            PaintFrame();
            return 0;
        default:
            if (message == taskbarCreated_ && taskbarCreated_ != 0) {
                form_->TaskbarCreated();
                return 0;
            }
            return Default(message, wParam, lParam);
    }
}

bool MainWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    if (lParam == 0 && tray_.OnCommand(id)) return true;
    const std::optional<ControlId> control = ControlOfCommand(id);
    if (!control) return false;
    if (settingsPage_.Refreshing()) return true;
    const ControlRow& row = layout::Row(*control);
    if (settingsPage_.OnCommand(row, code)) return true;
    const bool fromShortcut = lParam == 0 && code == 1;
    switch (row.kind) {
        case ControlKind::PageButton:
        case ControlKind::Button:
        case ControlKind::LinkLabel:
            if (code == BN_CLICKED || fromShortcut) Click(row.id);
            break;
        case ControlKind::Image:
            if (code == STN_DBLCLK) form_->BitBtn2Click();  // as "View full"
            break;
        default:
            break;
    }
    return true;
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
        case ControlId::BitBtn3: form_->BitBtn3Click(); break;
        case ControlId::BitBtn4: form_->BitBtn4Click(); break;
        default: break;
    }
}

void MainWindow::OnMeasureItem(MEASUREITEMSTRUCT& item) {
    if (item.CtlType == ODT_MENU) {
        tray_.OnMeasureItem(item);
        return;
    }
    if (const std::optional<ControlId> control = ControlOfCommand(static_cast<int>(item.CtlID)))
        settingsPage_.OnMeasureItem(*control, item);
}

bool MainWindow::OnDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.CtlType == ODT_MENU) {
        tray_.DrawMenuImage(item);
        return true;
    }
    const std::optional<ControlId> control = ControlOfCommand(static_cast<int>(item.CtlID));
    if (!control) return false;
    const ControlRow& row = layout::Row(*control);
    switch (row.kind) {
        case ControlKind::Title: DrawTitle(item); return true;
        case ControlKind::Image: DrawPreview(item); return true;
        case ControlKind::PageButton: DrawPageButton(item); return true;
        default: return settingsPage_.OnDrawItem(row, item);
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
    ScopedSelectObject font(item.hDC, resources_.titleFont.get());
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
    ImageList_Draw(resources_.pageImages.get(), image, item.hDC, (r.left + r.right - PageImageSize) / 2 + shift, top,
                   ILD_TRANSPARENT);
    wchar_t text[128] = {};
    GetWindowTextW(item.hwndItem, text, 128);
    RECT textRect{r.left + shift, top + PageImageSize + 3, r.right + shift, r.bottom};
    ScopedSelectObject font(item.hDC, resources_.font.get());
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    DrawTextW(item.hDC, text, -1, &textRect, DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    if (item.itemState & ODS_FOCUS) {
        InflateRect(&r, -3, -3);
        DrawFocusRect(item.hDC, &r);
    }
}

bool MainWindow::OnControlColour(HDC dc, HWND control, LRESULT& result) {
    if (control != controls_[ControlId::LinkAbout]) return false;
    SetTextColor(dc, LinkColour);
    SetBkMode(dc, TRANSPARENT);
    result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    return true;
}

// The link and the page buttons show the hand while the mouse is over them.
bool MainWindow::OnSetCursor(HWND over, UINT hitTest) {
    if (hitTest != HTCLIENT || !IsWindowEnabled(over)) return false;
    const auto id = ControlOfCommand(GetDlgCtrlID(over));
    if (!id || GetParent(over) != window_) return false;
    const ControlKind kind = layout::Row(*id).kind;
    if (kind != ControlKind::LinkLabel && kind != ControlKind::PageButton) return false;
    SetCursor(LoadCursorW(nullptr, IDC_HAND));
    return true;
}

void MainWindow::PaintFrame() {
    const PaintDc paint(window_);
    RECT frame = LeftStripFrame;
    DrawEdge(paint.get(), &frame, EDGE_ETCHED, BF_RECT);
}

}  // namespace kadrilo::win32
