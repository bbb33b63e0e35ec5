#include "win32/settings/SettingsTab.h"

#include <algorithm>

namespace kadrilo::win32 {
namespace {

constexpr int LanguageItemHeight = 16;

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
    if (row.kind == layout::ControlKind::Button) return false;  // a command: the main window carries it out
    if (const std::optional<SettingValue> value = controls_.ChangeOf(row, code)) form.SettingChanged(row.setting, *value);
    return true;
}

// ---- Main ---------------------------------------------------------------------------

void MainTab::SetUp(const layout::ControlRow& row, HWND control) {
    if (row.kind != layout::ControlKind::OwnerDrawnCombo) return;
    for (const layout::LanguageItem& item : layout::LanguageItems())
        SendMessageW(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item.text).c_str()));
}

void MainTab::OnMeasureItem(MEASUREITEMSTRUCT& item) { item.itemHeight = LanguageItemHeight; }

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

}  // namespace kadrilo::win32
