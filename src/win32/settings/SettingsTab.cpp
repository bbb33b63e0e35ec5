#include "win32/settings/SettingsTab.h"

#include <algorithm>

#include "ui/tabs/SettingsTabs.h"
#include "win32/DibInfo.h"
#include "win32/SystemPorts.h"

namespace kadrilo::win32 {
namespace {

constexpr int LanguageItemHeight = 16;

// What the buttons of the tabs do.
struct ButtonAction {
    layout::ControlId button;
    void (TAppMainForm::*click)();
};
constexpr ButtonAction ButtonActions[] = {
    {layout::ControlId::BitBtn5, &TAppMainForm::BitBtn5Click},  // the autosave folder
    {layout::ControlId::BitBtn8, &TAppMainForm::BitBtn8Click},  // the series folder
    {layout::ControlId::BitBtn6, &TAppMainForm::BitBtn6Click},  // the audio file
    {layout::ControlId::BitBtn7, &TAppMainForm::BitBtn7Click},  // the sound's test
    {layout::ControlId::BitBtn3, &TAppMainForm::BitBtn3Click},  // export to a settings file
    {layout::ControlId::BitBtn4, &TAppMainForm::BitBtn4Click},  // import from one
};

}  // namespace

int32_t SettingsTab::ContentHeight() const {
    int32_t bottom = 0;
    for (const layout::ControlRow& row : Rows()) bottom = std::max(bottom, row.rect.bottom);
    return bottom + 4;
}

void SettingsTab::Create() {
    controls_.CreateRows(Rows(), resources_);
    for (const layout::ControlRow& row : Rows())
        if (HWND control = controls_[row.id]) SetUp(row, control);
}

void SettingsTab::Refresh(TAppMainForm& form) {
    for (const layout::ControlRow& row : Rows()) controls_.Refresh(row, form);
}

bool SettingsTab::OnCommand(TAppMainForm& form, const layout::ControlRow& row, UINT code) {
    if (row.parent != layout_.sheet) return false;
    if (row.kind == layout::ControlKind::Button) {
        if (code != BN_CLICKED) return true;
        for (const ButtonAction& action : ButtonActions)
            if (action.button == row.id) (form.*action.click)();
        return true;
    }
    if (const std::optional<SettingValue> value = controls_.ChangeOf(row, code, form.Settings)) form.SettingChanged(row.setting, *value);
    return true;
}

// ---- Main ---------------------------------------------------------------------------

void MainTab::SetUp(const layout::ControlRow& row, HWND control) {
    if (row.kind != layout::ControlKind::OwnerDrawnCombo) return;
    for (const layout::LanguageItem& item : layout::LanguageItems())
        SendMessageW(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item.text).c_str()));
}

void MainTab::OnMeasureItem(MEASUREITEMSTRUCT& item) {
    item.itemHeight = static_cast<UINT>(layout::Scaled(LanguageItemHeight, controls_.Dpi()));
}

// The picture at (left + 4, top + 1), the text at left + 26.
bool MainTab::OnDrawItem(const layout::ControlRow& row, const DRAWITEMSTRUCT& item) {
    if (row.kind != layout::ControlKind::OwnerDrawnCombo) return false;
    const bool selected = item.itemState & ODS_SELECTED;
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    const auto items = layout::LanguageItems();
    if (item.itemID >= items.size()) return true;
    const layout::LanguageItem& language = items[item.itemID];
    ImageList_Draw(resources_.images.get(), language.image, item.hDC, item.rcItem.left + 4, item.rcItem.top + 1,
                   ILD_TRANSPARENT);
    const std::wstring text = Wide(language.text);
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    TextOutW(item.hDC, item.rcItem.left + ImageSize + 10, item.rcItem.top, text.c_str(), static_cast<int>(text.size()));
    if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
    return true;
}

// ---- Hotkeys ------------------------------------------------------------------------

void HotkeysTab::SetUp(const layout::ControlRow& row, HWND control) {
    // A combination without a modifier is not a shortcut: the editor adds Alt.
    if (row.kind == layout::ControlKind::HotKeyEditor)
        SendMessageW(control, HKM_SETRULES, HKCOMB_NONE, MAKELPARAM(HOTKEYF_ALT, 0));
}

// ---- Inscription --------------------------------------------------------------------

void InscriptionTab::SetUp(const layout::ControlRow& row, HWND control) {
    if (row.kind != layout::ControlKind::FontList) return;
    for (const std::string& family : Fonts{}.InstalledFontFamilies())
        SendMessageW(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(family).c_str()));
}

void InscriptionTab::Refresh(TAppMainForm& form) {
    settings_ = &form.Settings;
    SettingsTab::Refresh(form);
}

bool InscriptionTab::OnCommand(TAppMainForm& form, const layout::ControlRow& row, UINT code) {
    using layout::ControlId;
    if (row.id == ControlId::Panel6 || row.id == ControlId::Panel7) {
        if (code == BN_CLICKED) row.id == ControlId::Panel6 ? form.Panel6Click() : form.Panel7Click();
        return true;
    }
    if (row.id == ControlId::PreviewTextImage) {
        if (code == STN_CLICKED || code == STN_DBLCLK) form.UpdateTextExecute();
        return true;
    }
    // The text and the size redraw the preview also when the field is entered or left.
    if ((row.id == ControlId::Edit3 || row.id == ControlId::SpinEdit5) && (code == EN_SETFOCUS || code == EN_KILLFOCUS))
        form.UpdateTextExecute();
    return SettingsTab::OnCommand(form, row, code);
}

void InscriptionTab::ShowPreview(const Bitmap& preview) {
    preview_ = preview;
    if (HWND image = controls_[layout::ControlId::PreviewTextImage]) InvalidateRect(image, nullptr, FALSE);
}

bool InscriptionTab::OnDrawItem(const layout::ControlRow& row, const DRAWITEMSTRUCT& item) {
    if (row.kind == layout::ControlKind::ColourSwatch) {
        DrawSwatch(row, item);
        return true;
    }
    if (row.id != layout::ControlId::PreviewTextImage) return false;
    const RECT& area = item.rcItem;
    if (preview_.Empty()) {
        FillRect(item.hDC, &area, GetSysColorBrush(COLOR_BTNFACE));
        return true;
    }
    const DibInfo info = DibInfoOf(preview_);
    StretchDIBits(item.hDC, area.left, area.top, preview_.width, preview_.height, 0, 0, preview_.width,
                  preview_.height, preview_.pixels.data(), info.get(), DIB_RGB_COLORS, SRCCOPY);
    return true;
}

// The swatch's colour inside its bevels: each bevel `width` rings of light
// above and left and shadow below and right (raised), or the other way round.
void InscriptionTab::DrawSwatch(const layout::ControlRow& row, const DRAWITEMSTRUCT& item) const {
    const bool enabled = !(item.itemState & ODS_DISABLED);
    const layout::SwatchLook look = layout::ColourSwatchLook(enabled, item.itemState & ODS_SELECTED);
    const COLORREF colour = settings_ ? static_cast<COLORREF>(Field(row.setting).Number(*settings_) & 0xFFFFFF) : 0;
    RECT area = item.rcItem;
    const UniqueBrush fill(CreateSolidBrush(colour));
    FillRect(item.hDC, &area, fill.get());
    const HBRUSH light = GetSysColorBrush(COLOR_BTNHIGHLIGHT);
    const HBRUSH shadow = GetSysColorBrush(COLOR_BTNSHADOW);
    for (layout::Bevel bevel : {look.outer, look.inner}) {
        if (bevel == layout::Bevel::None) continue;
        const bool raised = bevel == layout::Bevel::Raised;
        for (int ring = 0; ring < look.width; ++ring) {
            const RECT top{area.left, area.top, area.right, area.top + 1};
            const RECT left{area.left, area.top, area.left + 1, area.bottom};
            const RECT bottom{area.left, area.bottom - 1, area.right, area.bottom};
            const RECT right{area.right - 1, area.top, area.right, area.bottom};
            FillRect(item.hDC, &top, raised ? light : shadow);
            FillRect(item.hDC, &left, raised ? light : shadow);
            FillRect(item.hDC, &bottom, raised ? shadow : light);
            FillRect(item.hDC, &right, raised ? shadow : light);
            InflateRect(&area, -1, -1);
        }
    }
    if (item.itemState & ODS_FOCUS) {
        RECT focus = item.rcItem;
        InflateRect(&focus, -1, -1);
        DrawFocusRect(item.hDC, &focus);
    }
}

}  // namespace kadrilo::win32
