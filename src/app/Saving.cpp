// Saving a shot: the names of automatic saves, the existing-file rules, the
// encoders and the end of every save.
#include <stdexcept>

#include "app/AppMainForm.h"
#include "output/Encoders.h"
#include "output/FileNaming.h"

namespace kadrilo {

void TAppMainForm::AutosaveScreenshot(const Bitmap& image) {
    const std::string name = saveTarget_.AutomaticName(Settings.DirAutosave, Settings.FNameFormatAutosave,
                                                       Settings.NameAutosave, Settings.NumberAutosave,
                                                       ports_.clock.Now());
    SaveScreenshot(image, name, Settings.GraphFormatAutosave + 1);
}

void TAppMainForm::AutosaveSerial(const Bitmap& image) {
    const std::string name = saveTarget_.AutomaticName(Settings.DirSaveSerial, Settings.FNameFormatSerial,
                                                       Settings.NameSerial, Settings.NumberSerial, ports_.clock.Now());
    SaveScreenshot(image, name, Settings.GraphFormatSerial + 1);
}

std::string TAppMainForm::CheckFileExists(const std::string& path) {
    switch (Settings.WorkMode) {
        case ManualMode:
            if (!ports_.files.FileExists(path)) return path;
            return ShowMessage(path + LoadStrEx(800), MessageFlags::YesNo | MessageFlags::IconExclamation) ==
                           MessageAnswer::Yes
                       ? path
                       : std::string();
        case AutosaveMode:
        case ContinuousMode:
            return ports_.files.FileExists(path) ? std::string() : path;
        default:
            return {};
    }
}

void TAppMainForm::SaveScreenshot(const Bitmap& image, const std::string& name, int formatIndex) {
    const std::string candidate = WithFormatExtension(name, formatIndex);
    std::string target;
    switch (Settings.WorkMode) {
        case ManualMode:
            target = CheckFileExists(candidate);
            if (target.empty()) {
                SaveFileDialog();  // the user declined to overwrite: another name
                return;
            }
            break;
        case AutosaveMode:
        case ContinuousMode: {
            const bool rename = Settings.WorkMode == AutosaveMode ? Settings.RenameAutosave : Settings.RenameSerial;
            const SaveTarget::Decision decision = saveTarget_.ForAutomaticSave(candidate, formatIndex, rename);
            if (decision.outcome == SaveTarget::Outcome::Skip) {
                EndSave();
                return;
            }
            if (decision.outcome == SaveTarget::Outcome::Exhausted) {
                if (series_.Running()) series_.Stop();
                ShowMessage(LoadStrEx(835) + candidate + LoadStrEx(836) +
                                std::to_string(SaveTarget::LastNumberedName + 1) + LoadStrEx(837),
                            MessageFlags::Ok | MessageFlags::IconStop);
                EndSave();
                return;
            }
            target = decision.path;
            break;
        }
        default:
            return;
    }

    try {
        ports_.files.WriteFile(target, EncodeForFormat(image, formatIndex, Settings.QualityJPEG));
    } catch (const std::exception&) {
        SaveError(target);
        if (Settings.WorkMode == ManualMode)
            SaveFileDialog();
        else
            EndSave();
        return;
    }
    SaveFinished(target);
}

void TAppMainForm::SaveFinished(const std::string& target) {
    PlaySoundAfterSave();
    if (Settings.WorkMode != ContinuousMode || series_.AtLastShot(Settings)) ExecuteAfterSave(target);
    EndSave();
    if (ports_.windows.MainWindowVisible()) {
        if (CurrentMainPage == 1)
            ports_.pages.SetViewButtonEnabled(false);
        else
            CloseRequest();
    }
}

void TAppMainForm::EndSave() {
    HeldImage.reset();
    ports_.pages.UpdatePreview();
    priority_.ShotHandlingEnded();
    // A series goes on after each of its shots: it quits when it ends.
    if (Settings.WorkMode != ContinuousMode) ShotHandlingEnded();
}

void TAppMainForm::SaveError(const std::string& path) {
    if (series_.Running()) series_.Stop();
    ShowMessage(LoadStrEx(840) + path + LoadStrEx(841), MessageFlags::Ok | MessageFlags::IconStop);
    ports_.windows.BringMainToForeground();
    ShotHandlingEnded();
}

std::string TAppMainForm::SelectDir() { return ports_.dialogs.BrowseForFolder(LoadStrEx(802)); }

void TAppMainForm::BitBtn5Click() {
    if (std::string folder = SelectDir(); !folder.empty()) SettingChanged(SettingId::DirAutosave, folder);
}

void TAppMainForm::BitBtn8Click() {
    if (std::string folder = SelectDir(); !folder.empty()) SettingChanged(SettingId::DirSaveSerial, folder);
}

// The open dialog asks for audio files here; the settings file's dialogs give their own filter.
void TAppMainForm::BitBtn6Click() {
    if (const std::optional<std::string> path = ports_.dialogs.OpenFileDialog(LoadStrEx(850)))
        SettingChanged(SettingId::AudioFilePath, *path);
}

void TAppMainForm::BitBtn7Click() { PlaySoundAfterSave(); }

void TAppMainForm::SaveFileDialog() {
    if (!HeldImage) return;
    const std::optional<DialogPort::SaveChoice> choice =
        ports_.dialogs.SavePictureDialog(Settings.LastSavePath, Settings.LastSaveFormat);
    if (!choice) return;  // cancelled: the shot stays on the preview page
    Settings.LastSavePath = choice->path;
    Settings.LastSaveFormat = choice->filterIndex;
    // The held image stays held until the save ends; a copy would double the memory.
    const Bitmap& image = *HeldImage;
    SaveScreenshot(image, choice->path, choice->filterIndex);
}

void TAppMainForm::BitBtn2Click() {
    if (ports_.pages.ViewerVisible() || !HeldImage) return;
    ports_.pages.ShowViewer(*HeldImage);
}

void TAppMainForm::BitBtn1Click() {
    if (!HeldImage) {
        ports_.sound.MessageBeep();  // nothing to save
        return;
    }
    SaveFileDialog();
}

void TAppMainForm::PlaySoundAfterSave() { notices_.PlaySoundAfterSave(Settings, OneShotRun); }

void TAppMainForm::ExecuteAfterSave(const std::string& path) { notices_.ExecuteAfterSave(Settings, path); }

}  // namespace kadrilo
