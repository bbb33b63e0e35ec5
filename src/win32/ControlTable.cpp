#include "win32/ControlTable.h"

#include <algorithm>
#include <vector>

namespace kadrilo::win32 {
namespace {

using layout::ControlId;
using layout::ControlKind;
using layout::ControlRow;

constexpr int TitleFontHeight = -13;  // pixels
constexpr int UiFontHeight = -11;     // 8 points at 96 dots an inch
constexpr int ComboDropHeight = 100;
constexpr int OwnerDrawnItemHeight = 16;  // a list's item drawn with its picture

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
        case ControlKind::Edit: return {L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE};
        case ControlKind::SpinEdit: return {L"EDIT", ES_AUTOHSCROLL | ES_NUMBER | WS_TABSTOP, WS_EX_CLIENTEDGE};
        case ControlKind::TrackBar: return {TRACKBAR_CLASSW, TBS_HORZ | TBS_NOTICKS | WS_TABSTOP, 0};
        case ControlKind::DropDownList: return {WC_COMBOBOXW, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0};
        case ControlKind::ValueLabel:
        case ControlKind::Note:
        case ControlKind::WarningLabel: return {L"STATIC", SS_LEFT | SS_NOPREFIX, 0};
        case ControlKind::InfoIcon: return {L"STATIC", SS_OWNERDRAW, 0};
        case ControlKind::FontList:
            return {WC_COMBOBOXW, CBS_DROPDOWNLIST | CBS_SORT | CBS_HASSTRINGS | WS_VSCROLL | WS_TABSTOP, 0};
        case ControlKind::ColourSwatch: return {L"BUTTON", BS_OWNERDRAW | WS_TABSTOP, 0};
        case ControlKind::Logo: return {L"STATIC", SS_OWNERDRAW, 0};
    }
    return {L"STATIC", 0, 0};
}

// The text of a drop-down list's item.
std::wstring ListItemText(HWND list, size_t index) {
    const LRESULT length = SendMessageW(list, CB_GETLBTEXTLEN, index, 0);
    std::wstring text(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
    SendMessageW(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(std::max<LRESULT>(length, 0)));
    return text;
}

constexpr bool IsList(ControlKind kind) {
    return kind == ControlKind::OwnerDrawnCombo || kind == ControlKind::DropDownList || kind == ControlKind::FontList;
}

// An edit refuses the characters its filter refuses, with the default beep.
LRESULT CALLBACK FilteredEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    if (message == WM_CHAR) {
        const auto filter = static_cast<layout::KeyFilter>(data);
        if (!layout::KeyAccepted(filter, static_cast<char32_t>(wParam))) {
            MessageBeep(0);
            return 0;
        }
    }
    return DefSubclassProc(edit, message, wParam, lParam);
}

std::string TextOf(HWND control) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return Utf8(text);
}

RECT PlaceInParent(HWND control) {
    RECT place{};
    GetWindowRect(control, &place);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&place), 2);
    return place;
}

// The width of a control's text in its font.
int TextWidth(HWND control) {
    const std::wstring text = Wide(TextOf(control));
    UniqueScreenDc dc(GetDC(nullptr));
    ScopedSelectObject font(dc.get(), reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE extent{};
    GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &extent);
    return extent.cx;
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

void SharedResources::MakeFonts(int forDpi) {
    dpi = forDpi;
    LOGFONTW description = WindowFontDescription();
    description.lfHeight = layout::Scaled(UiFontHeight, dpi);
    description.lfWidth = 0;
    font.reset(CreateFontIndirectW(&description));
    description.lfUnderline = TRUE;
    linkFont.reset(CreateFontIndirectW(&description));
    titleFont.reset(CreateFontW(layout::Scaled(TitleFontHeight, dpi), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                                DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                DEFAULT_PITCH, L"Arial"));
}

void SharedResources::Load(HINSTANCE instance, int forDpi) {
    MakeFonts(forDpi);
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
        HWND control = CreateWindowExW(cls.exStyle, cls.name, L"", style, 0, 0, 0, 0, HostOf(row),
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(CommandOf(row.id))), instance,
                                       nullptr);
        handles_[static_cast<size_t>(row.id)] = control;
        if (!control) continue;
        if (row.kind == ControlKind::SpinEdit)
            spinners_[static_cast<size_t>(row.id)] = CreateWindowExW(
                0, UPDOWN_CLASSW, L"",
                WS_CHILD | WS_VISIBLE | UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS, 0, 0, 0, 0,
                HostOf(row), nullptr, instance, nullptr);
        SetUp(row, control);
        if (row.kind == ControlKind::GroupBox || row.kind == ControlKind::TabControl)
            // Below the controls that lie over them.
            SetWindowPos(control, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    LayOutRows(rows, resources);
}

// What a control needs once, from its row: ranges, limits, filters, fixed items.
void ControlTable::SetUp(const ControlRow& row, HWND control) {
    switch (row.kind) {
        case ControlKind::Edit:
            if (row.length > 0) SendMessageW(control, EM_LIMITTEXT, static_cast<WPARAM>(row.length), 0);
            if (row.filter != layout::KeyFilter::None)
                SetWindowSubclass(control, FilteredEditProc, 1, static_cast<DWORD_PTR>(row.filter));
            break;
        case ControlKind::SpinEdit: {
            const layout::SpinLimits limits = layout::SpinLimitsOf(row);
            if (limits.digits > 0) SendMessageW(control, EM_LIMITTEXT, static_cast<WPARAM>(limits.digits), 0);
            if (HWND spinner = spinners_[static_cast<size_t>(row.id)])
                SendMessageW(spinner, UDM_SETRANGE32, static_cast<WPARAM>(limits.min), static_cast<LPARAM>(limits.max));
            break;
        }
        case ControlKind::TrackBar:
            if (row.ShowsSetting()) {
                const SettingField& field = Field(row.setting);
                SendMessageW(control, TBM_SETRANGEMIN, FALSE, static_cast<LPARAM>(field.min));
                SendMessageW(control, TBM_SETRANGEMAX, TRUE, static_cast<LPARAM>(field.max));
            }
            break;
        default:
            break;
    }
}

void ControlTable::Place(const ControlRow& row) {
    HWND control = (*this)[row.id];
    if (!control) return;
    const Rect r = layout::Scaled(row.rect, dpi_);
    const int height = r.Height() + (IsList(row.kind) ? layout::Scaled(ComboDropHeight, dpi_) : 0);
    MoveWindow(control, r.left, r.top, r.Width(), height, FALSE);
    if (HWND spinner = spinners_[static_cast<size_t>(row.id)])
        // The up-down control takes the right end of the field's place.
        SendMessageW(spinner, UDM_SETBUDDY, reinterpret_cast<WPARAM>(control), 0);
}

void ControlTable::LayOutRows(std::span<const ControlRow> rows, const SharedResources& resources) {
    for (const ControlRow& row : rows) {
        HWND control = (*this)[row.id];
        if (!control) continue;
        const bool underlined = row.kind == ControlKind::LinkLabel || row.kind == ControlKind::WarningLabel;
        const HFONT font = underlined ? resources.linkFont.get() : resources.font.get();
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (IsList(row.kind))
            SendMessageW(control, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1),
                         layout::Scaled(row.rect.Height(), dpi_) - 6);
        if (row.kind == ControlKind::OwnerDrawnCombo)
            SendMessageW(control, CB_SETITEMHEIGHT, 0, layout::Scaled(OwnerDrawnItemHeight, dpi_));
        if (row.kind != ControlKind::TabSheet) Place(row);
    }
}

void ControlTable::RefreshItems(const ControlRow& row, const TAppMainForm& form) {
    HWND control = (*this)[row.id];
    const std::vector<std::string> items = layout::ControlItems(row, form.Settings.Language);
    // Rebuilt only when the texts changed (a language change); the selection follows the setting.
    bool same = static_cast<size_t>(SendMessageW(control, CB_GETCOUNT, 0, 0)) == items.size();
    for (size_t i = 0; same && i < items.size(); ++i) {
        same = ListItemText(control, i) == Wide(items[i]);
    }
    if (same) return;
    SendMessageW(control, CB_RESETCONTENT, 0, 0);
    for (const std::string& item : items) SendMessageW(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item).c_str()));
}

void ControlTable::Refresh(const ControlRow& row, TAppMainForm& form) {
    HWND control = (*this)[row.id];
    const AppSettings& settings = form.Settings;
    if (row.kind == ControlKind::TabSheet || !control) return;
    if (row.caption != 0) SetText(control, layout::ControlCaption(row, settings.Language));
    if (row.enabled.Any()) {
        const bool enabled = layout::ControlEnabled(row, settings, {form.IsAdmin, form.TrayOptionLocked()});
        EnableWindow(control, enabled);
        if (HWND spinner = spinners_[static_cast<size_t>(row.id)]) EnableWindow(spinner, enabled);
    }
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
        case ControlKind::DropDownList:
            RefreshItems(row, form);
            SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(layout::ControlSelection(row, settings)), 0);
            break;
        case ControlKind::Edit:
            if (row.ShowsSetting() && Field(row.setting).type == FieldType::Text)
                SetText(control, Field(row.setting).Text(settings));
            break;
        case ControlKind::SpinEdit:
            if (row.ShowsSetting()) {
                SetText(control, std::to_string(Field(row.setting).Number(settings)));
                // Only when it differs: setting the position writes the field's text anew,
                // which would put the caret of a field being typed in back to its start.
                const auto value = static_cast<int>(Field(row.setting).Number(settings));
                HWND spinner = spinners_[static_cast<size_t>(row.id)];
                BOOL failed = FALSE;
                if (spinner && (SendMessageW(spinner, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)) != value || failed))
                    SendMessageW(spinner, UDM_SETPOS32, 0, value);
            }
            break;
        case ControlKind::TrackBar:
            SendMessageW(control, TBM_SETPOS, TRUE, layout::ControlPosition(row, settings));
            break;
        case ControlKind::ValueLabel:
            SetText(control, layout::ControlValueText(row, settings));
            break;
        case ControlKind::FontList:
            if (row.ShowsSetting()) {
                const std::wstring name = Wide(Field(row.setting).Text(settings));
                const LRESULT index = SendMessageW(control, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                   reinterpret_cast<LPARAM>(name.c_str()));
                if (SendMessageW(control, CB_GETCURSEL, 0, 0) != index) SendMessageW(control, CB_SETCURSEL, index, 0);
            }
            break;
        case ControlKind::ColourSwatch:
            InvalidateRect(control, nullptr, FALSE);
            break;
        default:
            break;
    }
    if (row.kind == ControlKind::WarningLabel) {
        // As wide as its text, so that the line it begins goes on right after it.
        const RECT place = PlaceInParent(control);
        const int width = std::max(TextWidth(control), 1);
        if (width != place.right - place.left) MoveWindow(control, place.left, place.top, width, place.bottom - place.top, TRUE);
    }
    if (row.follows != ControlId::Window) {
        // Starts where the label before it ends (the texts differ in length by language).
        HWND before = (*this)[row.follows];
        const RECT mine = PlaceInParent(control);
        const int left = PlaceInParent(before).left + TextWidth(before);
        if (left != mine.left)
            MoveWindow(control, left, mine.top, std::max<LONG>(mine.right - left, 1), mine.bottom - mine.top, TRUE);
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

std::optional<SettingValue> ControlTable::ChangeOf(const ControlRow& row, UINT code, const AppSettings& settings) const {
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
        case ControlKind::DropDownList:
            if (code == CBN_SELCHANGE) return int64_t{SendMessageW(control, CB_GETCURSEL, 0, 0)};
            break;
        case ControlKind::HotKeyEditor:
            if (code == EN_CHANGE) {
                const auto value = static_cast<uint16_t>(SendMessageW(control, HKM_GETHOTKEY, 0, 0));
                return int64_t{layout::ShortcutFromHotkeyEditor(value).value};
            }
            break;
        case ControlKind::Edit:
            if (code == EN_CHANGE) return TextOf(control);
            break;
        case ControlKind::FontList:
            if (code == CBN_SELCHANGE) {
                const LRESULT index = SendMessageW(control, CB_GETCURSEL, 0, 0);
                if (index != CB_ERR) return Utf8(ListItemText(control, static_cast<size_t>(index)));
            }
            break;
        case ControlKind::SpinEdit:
            if (code == EN_CHANGE || code == EN_KILLFOCUS) {
                const std::optional<int64_t> value = layout::SpinValue(row, TextOf(control), code == EN_KILLFOCUS);
                // A field left empty or holding what it cannot take shows its setting again.
                if (!value && code == EN_KILLFOCUS) return Field(row.setting).Number(settings);
                if (value) return *value;
            }
            break;
        case ControlKind::TrackBar:
            if (code != TB_ENDTRACK)
                return layout::SettingOfPosition(row, static_cast<int32_t>(SendMessageW(control, TBM_GETPOS, 0, 0)));
            break;
        default:
            break;
    }
    return std::nullopt;
}

}  // namespace kadrilo::win32
