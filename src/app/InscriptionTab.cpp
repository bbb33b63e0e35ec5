// The Inscription tab's own reactions: the live text preview and the colours.
#include "app/AppMainForm.h"

namespace kadrilo {

void TAppMainForm::UpdateTextFormat() {
    textPreview_ = inscription_.RenderPreview(Settings);
    ports_.settingsPage.ShowTextPreview(textPreview_);
}

void TAppMainForm::UpdateTextExecute() {
    if (ports_.windows.MainWindowVisible()) UpdateTextFormat();
}

void TAppMainForm::TabSheet5Show() { UpdateTextFormat(); }

void TAppMainForm::Panel6Click() { ChooseInscriptionColour(SettingId::InscriptionFontColor); }

void TAppMainForm::Panel7Click() { ChooseInscriptionColour(SettingId::InscriptionBackGroundColor); }

void TAppMainForm::ChooseInscriptionColour(SettingId swatch) {
    const std::optional<Color> colour = ports_.dialogs.ChooseColour();
    if (!colour) return;
    Field(swatch).SetNumber(Settings, *colour);
    ports_.settingsPage.Refresh();
    UpdateTextFormat();
}

}  // namespace kadrilo
