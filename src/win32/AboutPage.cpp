#include "win32/AboutPage.h"

#include <windowsx.h>

namespace kadrilo::win32 {
namespace {

using layout::ControlId;
using layout::ControlKind;
using layout::ControlRow;

constexpr int LogoSize = 64;
constexpr UINT_PTR LinkSubclass = 1;

// The context menu's items.
constexpr UINT MenuOpenId = 1;
constexpr UINT MenuCopyId = 2;
constexpr int MenuOpenCaption = 555;
constexpr int MenuCopyCaption = 556;

COLORREF ColourOf(Color c) { return static_cast<COLORREF>(c); }  // both are 0x00BBGGRR

bool IsLinkRow(const ControlRow& row) { return row.kind == ControlKind::LinkLabel; }

}  // namespace

void AboutPage::Create(HINSTANCE instance, TAppMainForm& form) {
    form_ = &form;
    for (const ControlRow& row : layout::FrameControls()) {
        if (const auto text = AboutFixedText(row.id)) ControlTable::SetText(controls_[row.id], std::string(*text));
        if (IsLinkRow(row) && links_.Label(row.id)) {
            // One line, never wrapped at a slash of an address.
            HWND link = controls_[row.id];
            SetWindowLongPtrW(link, GWL_STYLE, (GetWindowLongPtrW(link, GWL_STYLE) & ~SS_TYPEMASK) | SS_LEFTNOWORDWRAP);
            SetWindowSubclass(link, LinkProc, LinkSubclass, reinterpret_cast<DWORD_PTR>(this));
            ShowLook(row.id);
        }
    }
    logo_.reset(ImageList_Create(LogoSize, LogoSize, ILC_COLOR24 | ILC_MASK, 1, 1));
    UniqueBitmap picture(static_cast<HBITMAP>(LoadImageW(instance, L"LOGO", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (logo_ && picture) ImageList_AddMasked(logo_.get(), picture.get(), MaskColour);
    FitLinks();
}

void AboutPage::SetAboutLinkEnabled(bool enabled) {
    LinkLabel* label = links_.Label(ControlId::LinkAbout);
    if (label->Enabled() == enabled) return;
    label->SetEnabled(enabled);
    ShowLook(ControlId::LinkAbout);
}

void AboutPage::FitLinks() {
    for (const ControlRow& row : layout::FrameControls()) {
        if (!IsLinkRow(row) || !links_.Label(row.id)) continue;
        HWND link = controls_[row.id];
        std::wstring text(static_cast<size_t>(GetWindowTextLengthW(link)) + 1, L'\0');
        text.resize(static_cast<size_t>(GetWindowTextW(link, text.data(), static_cast<int>(text.size()))));
        // Measured as the label draws it: on its own device context, in its font.
        HDC dc = GetDC(link);
        if (!dc) continue;
        RECT extent{};
        TEXTMETRICW metrics{};
        {
            ScopedSelectObject font(dc, reinterpret_cast<HFONT>(SendMessageW(link, WM_GETFONT, 0, 0)));
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &extent, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
            GetTextMetricsW(dc, &metrics);
        }
        ReleaseDC(link, dc);
        // Room for one more letter: the label must never cut off the end of its text.
        extent.right += metrics.tmAveCharWidth;
        RECT r{};
        GetClientRect(link, &r);
        SetWindowPos(link, nullptr, 0, 0, extent.right, r.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

bool AboutPage::OnControlColour(HDC dc, HWND control, LRESULT& result) {
    const std::optional<ControlId> id = ControlOfCommand(GetDlgCtrlID(control));
    LinkLabel* label = id ? links_.Label(*id) : nullptr;
    if (!label || controls_[*id] != control) return false;
    SetTextColor(dc, ColourOf(label->Look().colour));
    SetBkMode(dc, TRANSPARENT);
    result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    return true;
}

void AboutPage::DrawLogo(const DRAWITEMSTRUCT& item) {
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    const int x = (item.rcItem.left + item.rcItem.right - LogoSize) / 2;
    const int y = (item.rcItem.top + item.rcItem.bottom - LogoSize) / 2;
    if (logo_) ImageList_Draw(logo_.get(), 0, item.hDC, x, y, ILD_TRANSPARENT);
}

void AboutPage::ShowLook(ControlId id, bool atOnce) {
    HWND link = controls_[id];
    const LinkLabel& label = *links_.Label(id);
    HFONT font = label.Look().underlined ? resources_.linkFont.get() : resources_.font.get();
    if (reinterpret_cast<HFONT>(SendMessageW(link, WM_GETFONT, 0, 0)) != font)
        SendMessageW(link, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    InvalidateRect(link, nullptr, TRUE);
    if (atOnce) UpdateWindow(link);
}

LRESULT CALLBACK AboutPage::LinkProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                     DWORD_PTR self) {
    const std::optional<ControlId> id = ControlOfCommand(GetDlgCtrlID(window));
    if (!id) return DefSubclassProc(window, message, wParam, lParam);
    return reinterpret_cast<AboutPage*>(self)->OnLinkMessage(*id, window, message, wParam, lParam);
}

LRESULT AboutPage::OnLinkMessage(ControlId id, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LinkLabel& label = *links_.Label(id);
    const auto button = [message] {
        switch (message) {
            case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK: case WM_RBUTTONUP: return MouseButton::Right;
            case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: case WM_MBUTTONUP: return MouseButton::Middle;
            default: return MouseButton::Left;
        }
    };
    switch (message) {
        case WM_MOUSEMOVE:
            if (tracked_ != window) {
                TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
                if (TrackMouseEvent(&track)) tracked_ = window;
                label.PointerEnter();
                ShowLook(id);
            }
            return 0;
        case WM_MOUSELEAVE:
            if (tracked_ == window) tracked_ = nullptr;
            label.PointerLeave();
            ShowLook(id);
            return 0;
        case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK:
            // Handled here, so that the label does not report a click on the press.
            SetCapture(window);
            label.ButtonDown(button());
            ShowLook(id, true);
            return 0;
        case WM_LBUTTONUP: case WM_RBUTTONUP: case WM_MBUTTONUP: {
            if (GetCapture() == window) ReleaseCapture();
            RECT r{};
            GetClientRect(window, &r);
            const bool click = label.ButtonUp(button(), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), r.right, r.bottom);
            ShowLook(id);
            if (click) {
                if (id == ControlId::LinkAbout)
                    form_->N8Click();
                else
                    links_.Click(id);
            }
            // The right button's release brings the context menu.
            return message == WM_RBUTTONUP ? DefSubclassProc(window, message, wParam, lParam) : 0;
        }
        case WM_CONTEXTMENU:
            ShowContextMenu(window, lParam);
            return 0;
        case WM_NCDESTROY:
            RemoveWindowSubclass(window, LinkProc, LinkSubclass);
            return DefSubclassProc(window, message, wParam, lParam);
        default:
            return DefSubclassProc(window, message, wParam, lParam);
    }
}

void AboutPage::ShowContextMenu(HWND window, LPARAM at) {
    const std::optional<ControlId> id = ControlOfCommand(GetDlgCtrlID(window));
    if (!id || !links_.ContextMenu(*id)) return;
    ShowLook(*id, true);
    POINT point{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    if (at == -1) {  // from the keyboard: below the link
        RECT r{};
        GetWindowRect(window, &r);
        point = {r.left, r.bottom};
    }
    const UniqueMenu menu(CreatePopupMenu());
    if (!menu) return;
    AppendMenuW(menu.get(), MF_STRING, MenuOpenId, Wide(form_->LoadStrEx(MenuOpenCaption)).c_str());
    AppendMenuW(menu.get(), MF_STRING, MenuCopyId, Wide(form_->LoadStrEx(MenuCopyCaption)).c_str());
    SetMenuDefaultItem(menu.get(), MenuOpenId, FALSE);
    HWND owner = GetAncestor(window, GA_ROOT);
    SetForegroundWindow(owner);
    const UINT chosen = static_cast<UINT>(
        TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, point.x, point.y, 0, owner, nullptr));
    PostMessageW(owner, WM_NULL, 0, 0);
    if (chosen == MenuOpenId) links_.MenuOpen();
    if (chosen == MenuCopyId) links_.MenuCopy();
}

}  // namespace kadrilo::win32
