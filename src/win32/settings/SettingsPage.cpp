#include "win32/settings/SettingsPage.h"

#include <algorithm>

#include "win32/WindowBase.h"

namespace kadrilo::win32 {
namespace {

using layout::ControlId;
using layout::ControlKind;
using layout::ControlRow;

constexpr int LinesPerWheelNotch = 3;

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

int ScrollStepOf(HWND tab) {
    const int dpi = static_cast<int>(GetDpiForWindow(tab));
    return layout::Scaled(layout::ScrollStep, dpi > 0 ? dpi : layout::DesignDpi);
}

void OnTabScroll(HWND tab, WORD request) {
    SCROLLINFO info = ScrollInfo(SIF_ALL);
    GetScrollInfo(tab, SB_VERT, &info);
    int position = info.nPos;
    switch (request) {
        case SB_LINEUP: position -= ScrollStepOf(tab); break;
        case SB_LINEDOWN: position += ScrollStepOf(tab); break;
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

bool IsForwarded(UINT message, LPARAM lParam) {
    // A track bar's WM_HSCROLL names it; the tab's own scroll bar sends none.
    if (message == WM_HSCROLL) return lParam != 0;
    return message == WM_COMMAND || message == WM_NOTIFY || message == WM_DRAWITEM || message == WM_MEASUREITEM ||
           (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC);
}

LRESULT CALLBACK ContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (IsForwarded(message, lParam)) return SendMessageW(GetAncestor(window, GA_ROOT), message, wParam, lParam);
    switch (message) {
        case WM_VSCROLL:
            OnTabScroll(window, LOWORD(wParam));
            return 0;
        case WM_MOUSEWHEEL: {
            const int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
            ScrollTabTo(window, GetScrollPos(window, SB_VERT) - notches * LinesPerWheelNotch * ScrollStepOf(window));
            return 0;
        }
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

template <class Tab>
std::unique_ptr<SettingsTab> Make(const layout::SettingsTabLayout& layout, ControlTable& controls,
                                  const SharedResources& resources) {
    return std::make_unique<Tab>(layout, controls, resources);
}

}  // namespace

void RegisterContainerClass(HINSTANCE instance) { RegisterWindowClass(instance, {.name = ContainerClass}, ContainerProc); }

void SettingsPage::Create(TAppMainForm& form, std::function<void()> refreshFrame) {
    form_ = &form;
    refreshFrame_ = std::move(refreshFrame);
    using Factory = std::unique_ptr<SettingsTab> (*)(const layout::SettingsTabLayout&, ControlTable&,
                                                     const SharedResources&);
    // In the tab control's order: Main, Autosave, Hotkeys, Inscription, Events and notices, Continuous shooting.
    constexpr Factory factories[] = {Make<MainTab>,        Make<AutosaveTab>, Make<HotkeysTab>,
                                     Make<InscriptionTab>, Make<EventsTab>,   Make<SeriesTab>};
    const auto layouts = layout::SettingsTabLayouts();
    for (size_t i = 0; i < layouts.size() && i < std::size(factories); ++i) {
        tabs_.push_back(factories[i](layouts[i], controls_, resources_));
        SettingsTab& tab = *tabs_.back();
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(L"");
        TabCtrl_InsertItem(TabControl(), static_cast<int>(i), &item);
        SetWindowPos(tab.SheetWindow(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        tab.Create();
    }
    LayOutTabs();
}

SettingsTab* SettingsPage::TabOf(ControlId parent) {
    for (const auto& tab : tabs_)
        if (tab->Sheet() == parent) return tab.get();
    return nullptr;
}

bool SettingsPage::OnCommand(const ControlRow& row, UINT code) {
    SettingsTab* tab = TabOf(row.parent);
    return tab && form_ && tab->OnCommand(*form_, row, code);
}

bool SettingsPage::OnNotify(const NMHDR& header) {
    if (header.hwndFrom != TabControl() || header.code != TCN_SELCHANGE) return false;
    ShowTab(TabCtrl_GetCurSel(header.hwndFrom));
    return true;
}

bool SettingsPage::OnMeasureItem(ControlId control, MEASUREITEMSTRUCT& item) {
    SettingsTab* tab = TabOf(layout::Row(control).parent);
    if (!tab) return false;
    tab->OnMeasureItem(item);
    return true;
}

bool SettingsPage::OnDrawItem(const ControlRow& row, const DRAWITEMSTRUCT& item) {
    if (row.kind == ControlKind::InfoIcon) {
        FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
        ImageList_Draw(resources_.images.get(), layout::Images::About, item.hDC, item.rcItem.left, item.rcItem.top,
                       ILD_TRANSPARENT);
        return true;
    }
    SettingsTab* tab = TabOf(row.parent);
    return tab && tab->OnDrawItem(row, item);
}

void SettingsPage::LayOutTabs() {
    HWND tabControl = TabControl();
    RECT area{};
    GetClientRect(tabControl, &area);
    TabCtrl_AdjustRect(tabControl, FALSE, &area);
    MapWindowPoints(tabControl, GetParent(tabControl), reinterpret_cast<POINT*>(&area), 2);
    if (EqualRect(&area, &tabArea_)) return;  // a tab keeps its scroll position
    tabArea_ = area;
    for (const auto& tab : tabs_) {
        HWND sheet = tab->SheetWindow();
        ScrollTabTo(sheet, 0);
        MoveWindow(sheet, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
        SCROLLINFO info = ScrollInfo(SIF_RANGE | SIF_PAGE);
        info.nMax = layout::Scaled(tab->ContentHeight(), controls_.Dpi()) - 1;
        info.nPage = static_cast<UINT>(area.bottom - area.top);
        SetScrollInfo(sheet, SB_VERT, &info, TRUE);
    }
}

void SettingsPage::LayOutForDpi() {
    for (const auto& tab : tabs_) {
        ScrollTabTo(tab->SheetWindow(), 0);
        controls_.LayOutRows(tab->Rows(), resources_);
    }
    tabArea_ = {};
    LayOutTabs();
    Refresh();  // the labels that follow others take their places anew
}

void SettingsPage::ShowTab(int index) {
    for (size_t i = 0; i < tabs_.size(); ++i) {
        HWND sheet = tabs_[i]->SheetWindow();
        const bool shown = static_cast<int>(i) == index;
        if (shown && layout::ScrollsToTopWhenShown(tabs_[i]->Sheet())) ScrollTabTo(sheet, 0);
        ShowWindow(sheet, shown ? SW_SHOW : SW_HIDE);
        if (shown && form_) tabs_[i]->OnShown(*form_);
    }
}

void SettingsPage::Refresh() {
    if (!form_) return;
    refreshing_ = true;
    if (refreshFrame_) refreshFrame_();
    for (size_t i = 0; i < tabs_.size(); ++i) {
        const std::wstring text = Wide(form_->LoadStrEx(layout::Row(tabs_[i]->Sheet()).caption));
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(text.c_str());
        TabCtrl_SetItem(TabControl(), static_cast<int>(i), &item);
        tabs_[i]->Refresh(*form_);
    }
    LayOutTabs();
    refreshing_ = false;
}

void SettingsPage::SelectSettingsTab(int tab) {
    if (tab < 0 || static_cast<size_t>(tab) >= tabs_.size()) return;
    TabCtrl_SetCurSel(TabControl(), tab);
    ShowTab(tab);
}

int SettingsPage::ActiveSettingsTab() { return TabCtrl_GetCurSel(TabControl()); }

bool SettingsPage::UserDefinedChoiceFocused() {
    const HWND focus = GetFocus();
    for (const auto& tab : tabs_)
        for (const ControlRow& row : tab->Rows())
            if (row.kind == ControlKind::Radio && row.slot != 0 && row.value == 1 && controls_[row.id] == focus)
                return true;
    return false;
}

void SettingsPage::FocusSettingsTabs() { SetFocus(TabControl()); }

Rect SettingsPage::TextPreviewArea() {
    RECT client{};
    GetClientRect(controls_[ControlId::PreviewTextImage], &client);
    return {0, 0, client.right, client.bottom};
}

void SettingsPage::ShowTextPreview(const Bitmap& preview) {
    if (SettingsTab* tab = TabOf(ControlId::TabSheet5)) static_cast<InscriptionTab*>(tab)->ShowPreview(preview);
}

}  // namespace kadrilo::win32
