#include "win32/ControlTable.h"

namespace kadrilo::win32 {
namespace {

using layout::ControlId;
using layout::ControlKind;
using layout::ControlRow;

constexpr int TitleFontHeight = -13;  // pixels
constexpr int UiFontHeight = -11;     // 8 points at 96 dots an inch
constexpr int ComboDropHeight = 100;

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
        case ControlKind::Logo: return {L"STATIC", SS_OWNERDRAW, 0};
    }
    return {L"STATIC", 0, 0};
}

// Shown from the start: everything but the pages and buttons of one page, and all tabs but the first.
bool StartsVisible(const ControlRow& row) {
    return row.onlyOnPage < 0 && !(row.kind == ControlKind::TabSheet && row.id != ControlId::TabSheet1);
}

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

}  // namespace

int CommandOf(ControlId id) { return ControlBaseId + static_cast<int>(id); }

std::optional<ControlId> ControlOfCommand(int command) {
    const int index = command - ControlBaseId;
    if (index <= 0 || index >= static_cast<int>(ControlId::Count)) return std::nullopt;
    return static_cast<ControlId>(index);
}

void SharedResources::Load(HINSTANCE instance) {
    LOGFONTW description = WindowFontDescription();
    font.reset(CreateFontIndirectW(&description));
    description.lfUnderline = TRUE;
    linkFont.reset(CreateFontIndirectW(&description));
    titleFont.reset(CreateFontW(TitleFontHeight, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Arial"));
    images.reset(LoadImageStrip(instance, L"MAINIMAGES", ImageSize));
    UniqueBitmap info(static_cast<HBITMAP>(LoadImageW(instance, L"INFOCL", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (images && info) ImageList_AddMasked(images.get(), info.get(), MaskColour);
    pageImages.reset(LoadImageStrip(instance, L"PAGEBUTTONS", PageImageSize));
}

HWND ControlTable::HostOf(const ControlRow& row) const {
    // A tab sheet lies over its tab control, beside it in the tab control's page.
    if (row.kind == ControlKind::TabSheet) return HostOf(layout::Row(row.parent));
    return (*this)[row.parent];
}

void ControlTable::CreateRows(std::span<const ControlRow> rows, const SharedResources& resources) {
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(handles_[0], GWLP_HINSTANCE));
    bool previousWasRadio = false;
    for (const ControlRow& row : rows) {
        const bool isRadio = row.kind == ControlKind::Radio;
        const bool startsGroup = !(isRadio && previousWasRadio);
        previousWasRadio = isRadio;
        const ControlClass cls = ClassOf(row.kind);
        DWORD style = WS_CHILD | cls.style | (StartsVisible(row) ? WS_VISIBLE : 0) | (row.startsEnabled ? 0 : WS_DISABLED);
        if (startsGroup) style |= WS_GROUP | (isRadio ? WS_TABSTOP : 0);
        const Rect r = row.rect;
        const int height = r.Height() + (row.kind == ControlKind::OwnerDrawnCombo ? ComboDropHeight : 0);
        HWND control = CreateWindowExW(cls.exStyle, cls.name, L"", style, r.left, r.top, r.Width(), height,
                                       HostOf(row), reinterpret_cast<HMENU>(static_cast<INT_PTR>(CommandOf(row.id))),
                                       instance, nullptr);
        handles_[static_cast<size_t>(row.id)] = control;
        if (!control) continue;
        HFONT font = row.kind == ControlKind::LinkLabel ? resources.linkFont.get() : resources.font.get();
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (row.kind == ControlKind::GroupBox || row.kind == ControlKind::TabControl)
            // Below the controls that lie over them.
            SetWindowPos(control, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void ControlTable::Refresh(const ControlRow& row, TAppMainForm& form) {
    HWND control = (*this)[row.id];
    const AppSettings& settings = form.Settings;
    if (row.kind == ControlKind::TabSheet) return;
    if (row.caption != 0) SetText(control, form.LoadStrEx(row.caption));
    if (row.enabled.setting != layout::NoSetting) EnableWindow(control, layout::ControlEnabled(row, settings));
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

void ControlTable::SetText(HWND control, const std::string& text) {
    const std::wstring wanted = Wide(text);
    std::wstring current(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    current.resize(static_cast<size_t>(GetWindowTextW(control, current.data(), static_cast<int>(current.size()))));
    if (current == wanted) return;
    SetWindowTextW(control, wanted.c_str());
    InvalidateRect(control, nullptr, TRUE);
}

std::optional<SettingValue> ControlTable::ChangeOf(const ControlRow& row, UINT code) const {
    if (!row.ShowsSetting()) return std::nullopt;
    HWND control = (*this)[row.id];
    switch (row.kind) {
        case ControlKind::Radio:
            if (code == BN_CLICKED) return int64_t{row.value};
            break;
        case ControlKind::CheckBox:
            // A plain check box does not check itself: the setting decides what it shows.
            if (code == BN_CLICKED) return int64_t{SendMessageW(control, BM_GETCHECK, 0, 0) != BST_CHECKED};
            break;
        case ControlKind::OwnerDrawnCombo:
            if (code == CBN_SELCHANGE) return int64_t{SendMessageW(control, CB_GETCURSEL, 0, 0)};
            break;
        case ControlKind::HotKeyEditor:
            if (code == EN_CHANGE) {
                const auto value = static_cast<uint16_t>(SendMessageW(control, HKM_GETHOTKEY, 0, 0));
                return int64_t{layout::ShortcutFromHotkeyEditor(value).value};
            }
            break;
        default:
            break;
    }
    return std::nullopt;
}

}  // namespace kadrilo::win32
