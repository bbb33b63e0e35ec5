// The Inscription tab's own reactions: the live text preview and the colours.
#include <exception>

#include "app/AppMainForm.h"

namespace kadrilo {

void TAppMainForm::UpdateTextFormat() {
    const Rect area = ports_.settingsPage.TextPreviewArea();
    try {
        textPreview_ = inscription_.RenderPreview(Settings, area.Width(), area.Height());
    } catch (const std::exception&) {
        return;  // the text cannot be drawn now: the preview keeps what it showed
    }
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
