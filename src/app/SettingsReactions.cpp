// How the settings controls change the settings: one entry point, the value
// clamped by the settings table, and the reaction that belongs to the setting.
#include <algorithm>
#include <array>

#include "app/AppMainForm.h"

namespace kadrilo {
namespace {

int64_t NumberOf(const SettingValue& value) {
    const int64_t* number = std::get_if<int64_t>(&value);
    return number ? *number : 0;
}

// A setting takes a control's value, clamped by the settings table.
void Assign(AppSettings& settings, SettingId id, const SettingValue& value) {
    const SettingField& field = Field(id);
    if (field.type == FieldType::Text) {
        if (const std::string* text = std::get_if<std::string>(&value)) field.Text(settings) = *text;
    } else if (const int64_t* number = std::get_if<int64_t>(&value)) {
        field.SetNumber(settings, field.Clamp(*number));
    }
}

// The reaction of a setting to its control's change, and whether the controls
// are brought up to date afterwards (the reactions that change what other
// controls show do it themselves; a shortcut editor keeps what is being typed).
// A setting without a reaction takes the clamped value, then the controls show it.
struct Reaction {
    SettingId id;
    void (*react)(TAppMainForm& form, const SettingValue& value);
    bool refreshAfter = false;
};

// A setting the inscription is drawn with: the text preview follows it (the
// date/time list and the background swatch are enabled by their check boxes
// through the refresh).
template <SettingId Id>
constexpr Reaction TextPreviewReaction() {
    return {Id,
            [](TAppMainForm& f, const SettingValue& v) {
                Assign(f.Settings, Id, v);
                f.UpdateTextExecute();
            },
            true};
}

template <int Slot>
constexpr Reaction HotkeyModeReaction() {
    return {HotKeyModeSetting(Slot), [](TAppMainForm& f, const SettingValue& v) {
                f.HotKeyModeClick(Slot, static_cast<int32_t>(NumberOf(v)));
            }};
}

template <int Slot>
constexpr Reaction UserHotkeyReaction() {
    return {UserHotKeySetting(Slot), [](TAppMainForm& f, const SettingValue& v) {
                f.HotKeyChange(Slot, Shortcut{static_cast<uint16_t>(NumberOf(v))});
            }};
}

constexpr std::array Reactions{
    Reaction{SettingId::TrayIconEnabled,
             [](TAppMainForm& f, const SettingValue& v) { f.TrayOptionClick(NumberOf(v) != 0); }, true},
    Reaction{SettingId::StayOnTop,
             [](TAppMainForm& f, const SettingValue& v) { f.StayOnTopClick(NumberOf(v) != 0); }, true},
    Reaction{SettingId::Language,
             [](TAppMainForm& f, const SettingValue& v) { f.LanguageSelect(static_cast<int32_t>(NumberOf(v))); }},
    Reaction{SettingId::WorkMode,
             [](TAppMainForm& f, const SettingValue& v) {
                 f.Settings.WorkMode = static_cast<int32_t>(Field(SettingId::WorkMode).Clamp(NumberOf(v)));
                 f.RadioGroup1Click();
             },
             true},
    HotkeyModeReaction<1>(), HotkeyModeReaction<2>(), HotkeyModeReaction<3>(), HotkeyModeReaction<4>(),
    HotkeyModeReaction<5>(), UserHotkeyReaction<1>(), UserHotkeyReaction<2>(), UserHotkeyReaction<3>(),
    UserHotkeyReaction<4>(), UserHotkeyReaction<5>(),
    // The Main, Autosave, Events and Continuous shooting tabs
    Reaction{SettingId::PriorityChange,
             [](TAppMainForm& f, const SettingValue& v) {
                 f.Settings.PriorityChange = NumberOf(v) != 0;
                 f.SettingsPriorityCheck();
             }},
    Reaction{SettingId::ManualSerial,
             [](TAppMainForm& f, const SettingValue& v) {
                 if (NumberOf(v) != 0)
                     f.RadioButton21Click();
                 else
                     f.RadioButton22Click();
             }},

    // The Inscription tab
    TextPreviewReaction<SettingId::InscriptionText>(), TextPreviewReaction<SettingId::EnableDateTime>(),
    TextPreviewReaction<SettingId::DateTimeFormat>(), TextPreviewReaction<SettingId::FontName>(),
    TextPreviewReaction<SettingId::FontSize>(), TextPreviewReaction<SettingId::InscriptionStyleBold>(),
    TextPreviewReaction<SettingId::InscriptionStyleItalic>(), TextPreviewReaction<SettingId::InscriptionStyleUnderline>(),
    TextPreviewReaction<SettingId::InscriptionStyleStrikeOut>(), TextPreviewReaction<SettingId::InscriptionTransporent>(),

};

}  // namespace

void TAppMainForm::SettingChanged(SettingId id, const SettingValue& value) {
    const auto reaction = std::find_if(Reactions.begin(), Reactions.end(), [id](const Reaction& r) { return r.id == id; });
    if (reaction != Reactions.end()) {
        reaction->react(*this, value);
        if (reaction->refreshAfter) ports_.settingsPage.Refresh();
        return;
    }
    Assign(Settings, id, value);
    ports_.settingsPage.Refresh();  // the control shows what the setting became
}

void TAppMainForm::ApplySlot4TrayRule() {
    // While the hotkey that opens the settings is disabled, the tray icon is the
    // only way back to them: it is forced on (and the option greyed). The default
    // key or a typed one frees the option; "User-defined:" with no key yet keeps
    // the slot's registration, and the option stays as it was.
    const bool hasKey = hotkeySlots_.HasKey(Settings.UserHotKey4);
    if (Settings.HotKey4Mode == 0 || (Settings.HotKey4Mode == 1 && hasKey)) trayOptionLocked_ = false;
    if (Settings.HotKey4Mode != 2) return;
    trayOptionLocked_ = true;
    if (!Settings.TrayIconEnabled) {
        Settings.TrayIconEnabled = true;
        if (trayHandlerAttached_) TrayIconCheckOption();
    }
}

void TAppMainForm::HotKeyModeClick(int slot, int32_t mode) {
    if (slot < 1 || slot > HotkeySlotCount || mode < 0 || mode > 2) return;
    Field(HotKeyModeSetting(slot)).SetNumber(Settings, mode);
    if (!hotkeyHandlersAttached_) return;
    if (mode != 1 || hotkeySlots_.HasKey(Field(UserHotKeySetting(slot)).Key(Settings))) {
        RegHotKeys(false);
        RegHotKeys(true);
    }
    if (slot == 4) ApplySlot4TrayRule();
    ports_.settingsPage.Refresh();
}

void TAppMainForm::HotKeyChange(int slot, Shortcut shortcut) {
    if (slot < 1 || slot > HotkeySlotCount) return;
    Field(UserHotKeySetting(slot)).Key(Settings) = shortcut;
    if (!hotkeySlots_.HasKey(shortcut)) return;
    RegHotKeys(false);
    RegHotKeys(true);
    if (slot == 4 && Settings.HotKey4Mode == 1 && trayOptionLocked_) {
        ApplySlot4TrayRule();
        ports_.settingsPage.Refresh();
    }
}

void TAppMainForm::CheckEmptyHotkeys() {
    if (ports_.windows.MainWindowVisible() && ports_.settingsPage.UserDefinedChoiceFocused())
        ports_.settingsPage.FocusSettingsTabs();
    for (int slot = 1; slot <= HotkeySlotCount; ++slot) {
        const bool empty = !hotkeySlots_.HasKey(Field(UserHotKeySetting(slot)).Key(Settings));
        if (SettingNumber(Settings, HotKeyModeSetting(slot)) == 1 && empty) HotKeyModeClick(slot, 2);
    }
}

void TAppMainForm::TrayOptionClick(bool show) {
    if (trayOptionLocked_) show = true;  // the option is greyed then
    Settings.TrayIconEnabled = show;
    if (trayHandlerAttached_) TrayIconCheckOption();
}

void TAppMainForm::StayOnTopClick(bool onTop) {
    Settings.StayOnTop = onTop;
    CheckFormStyle();
}

void TAppMainForm::LanguageSelect(int32_t language) {
    if (language != Russian && language != English) return;
    Settings.Language = language;
    TranslateProgramInterface();
}

void TAppMainForm::RadioGroup1Click() { CheckMode(); }

// The priority group's choices and list follow the "Enabled" box (their enable rules).
void TAppMainForm::SettingsPriorityCheck() { ports_.settingsPage.Refresh(); }

// Manual stop greys the quantity and its label; automatic stop enables them.
void TAppMainForm::RadioButton21Click() {
    Settings.ManualSerial = true;
    ports_.settingsPage.Refresh();
}

void TAppMainForm::RadioButton22Click() {
    Settings.ManualSerial = false;
    ports_.settingsPage.Refresh();
}

void TAppMainForm::TranslateProgramInterface() { ports_.settingsPage.Refresh(); }

}  // namespace kadrilo
