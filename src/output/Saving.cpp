// Saving a shot: the names of automatic saves, the existing-file rules, the
// encoders and the end of every save.
#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "app/AppMainForm.h"
#include "output/Encoders.h"
#include "output/FileNaming.h"

namespace kadrilo {
namespace {

constexpr int LastNumberedName = 99999;

// The extension of a path in lower case, from its last dot after the last
// backslash; empty when it has none.
std::string LowerExtension(const std::string& path) {
    const size_t dot = path.rfind('.');
    const size_t slash = path.rfind('\\');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string extension = path.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

// A folder and a file part joined with one backslash (a drive root such as
// "C:\" brings its own).
std::string JoinPath(const std::string& folder, const std::string& filePart) {
    if (!folder.empty() && folder.back() == '\\') return folder + filePart;
    return folder + "\\" + filePart;
}

}  // namespace

void TAppMainForm::AutosaveScreenshot() {
    Settings.DirAutosave = CheckDirExists(Settings.DirAutosave, ProgramFolder(args_.at(0)), ports_.files);
    const std::string filePart = AutosaveFilePart(Settings.FNameFormatAutosave, Settings.NameAutosave,
                                                  Settings.NumberAutosave, ports_.clock.Now());
    SaveScreenshot(JoinPath(Settings.DirAutosave, filePart), Settings.GraphFormatAutosave + 1);
}

void TAppMainForm::AutosaveSerial() {
    Settings.DirSaveSerial = CheckDirExists(Settings.DirSaveSerial, ProgramFolder(args_.at(0)), ports_.files);
    const std::string filePart = AutosaveFilePart(Settings.FNameFormatSerial, Settings.NameSerial,
                                                  Settings.NumberSerial, ports_.clock.Now());
    SaveScreenshot(JoinPath(Settings.DirSaveSerial, filePart), Settings.GraphFormatSerial + 1);
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

std::string TAppMainForm::NumberedTarget(const std::string& base, int formatIndex) {
    for (int n = 1; n <= LastNumberedName; ++n) {
        std::string candidate = CheckFileExists(NumberedName(base, n, formatIndex));
        if (!candidate.empty()) return candidate;
    }
    return {};
}

void TAppMainForm::SaveScreenshot(const std::string& name, int formatIndex) {
    const std::string candidate = WithFormatExtension(name, formatIndex);
    std::string target = CheckFileExists(candidate);
    if (target.empty()) {
        const int32_t mode = Settings.WorkMode;
        if (mode == ManualMode) {
            SaveFileDialog();
            return;
        }
        if (mode != AutosaveMode && mode != ContinuousMode) return;
        const bool rename = mode == AutosaveMode ? Settings.RenameAutosave : Settings.RenameSerial;
        if (!rename) {
            EndSave();
            return;
        }
        const std::string base = candidate.substr(0, candidate.size() - std::string(FormatExtension(formatIndex)).size());
        target = NumberedTarget(base, formatIndex);
        if (target.empty()) {
            if (timer2Running_) StopTimer2();
            ShowMessage(LoadStrEx(835) + candidate + LoadStrEx(836) + std::to_string(LastNumberedName + 1) +
                            LoadStrEx(837),
                        MessageFlags::Ok | MessageFlags::IconStop);
            EndSave();
            return;
        }
    }

    try {
        ports_.files.WriteFile(target, Encode(formatIndex));
    } catch (const std::exception&) {
        SaveError(target);
        if (Settings.WorkMode == ManualMode)
            SaveFileDialog();
        else
            EndSave();
        return;
    }

    PlaySoundAfterSave();
    if (Settings.WorkMode != ContinuousMode || Settings.QuantityOfScreenshots + 1 == SeriesCounter)
        ExecuteAfterSave(target);
    EndSave();
    if (ports_.windows.MainWindowVisible()) {
        if (CurrentMainPage == 1)
            ports_.form.SetViewButtonEnabled(false);
        else
            CloseRequest();
    }
}

std::vector<uint8_t> TAppMainForm::Encode(int formatIndex) const {
    if (!HeldImage) throw EncodeError("no image to save");
    const int position = std::clamp(100 - Settings.QualityJPEG, 0, 100);
    switch (formatIndex) {
        case 1:
            return EncodeBmp(*HeldImage);
        case 2:
            return EncodeJpeg(*HeldImage, JpegQualityForPosition(position));
        case 3:
            return EncodePng(*HeldImage, PngLevelForPosition(position));
        case 4:
            return EncodeTiff(*HeldImage);
        default:
            throw EncodeError("this image format cannot be written yet");
    }
}

void TAppMainForm::EndSave() {
    HeldImage.reset();
    ports_.form.UpdatePreview();
    if (PriorityRuleApplies()) PriorityChange(false);
    if (OneShotRun && Settings.WorkMode != ManualMode && Settings.WorkMode != ContinuousMode) QuitEx();
}

void TAppMainForm::SaveError(const std::string& path) {
    if (timer2Running_) StopTimer2();
    ShowMessage(LoadStrEx(840) + path + LoadStrEx(841), MessageFlags::Ok | MessageFlags::IconStop);
    ports_.windows.BringMainToForeground();
    if (OneShotRun && Settings.WorkMode != ManualMode) QuitEx();
}

std::string TAppMainForm::SelectDir() { return ports_.form.BrowseForFolder(LoadStrEx(802)); }

void TAppMainForm::BitBtn5Click() {
    if (std::string folder = SelectDir(); !folder.empty()) Settings.DirAutosave = folder;
}

void TAppMainForm::BitBtn8Click() {
    if (std::string folder = SelectDir(); !folder.empty()) Settings.DirSaveSerial = folder;
}

void TAppMainForm::SaveFileDialog() {
    const std::optional<MainFormPort::SaveChoice> choice =
        ports_.form.SavePictureDialog(Settings.LastSavePath, Settings.LastSaveFormat);
    if (!choice) return;  // cancelled: the shot stays on the preview page
    Settings.LastSavePath = choice->path;
    Settings.LastSaveFormat = choice->filterIndex;
    SaveScreenshot(choice->path, choice->filterIndex);
}

void TAppMainForm::BitBtn2Click() {
    if (ports_.form.ViewerVisible() || !HeldImage) return;
    ports_.form.ShowViewer(*HeldImage);
}

void TAppMainForm::BitBtn1Click() {
    if (!HeldImage) {
        ports_.sound.MessageBeep();  // nothing to save
        return;
    }
    SaveFileDialog();
}
void TAppMainForm::PlaySoundAfterSave() {
    if (!Settings.SoundEvent) return;
    SoundPort& sound = ports_.sound;
    switch (Settings.SoundMode) {
        case 0:
            sound.MessageBeep();
            return;
        case 1: {
            const std::string& file = Settings.AudioFilePath;
            const std::string extension = LowerExtension(file);
            // A command-line run may quit at once and cut the sound off: the
            // default sound stands in, as for a file that cannot be played.
            if (!ports_.files.FileExists(file) || (extension != ".mp3" && extension != ".wav" && extension != ".wma") ||
                OneShotRun) {
                sound.MessageBeep();
                return;
            }
            sound.PlayFile(file);
            return;
        }
        case 2:
            for (uint32_t frequency : {600u, 900u, 1200u, 1575u}) BeepEx(frequency, 45);
            return;
        default:
            return;
    }
}

void TAppMainForm::ExecuteAfterSave(const std::string& path) {
    if (!Settings.ExecuteAfterSaving) return;
    constexpr int ShowRestore = 9, ShowNormal = 1;
    switch (Settings.ExecuteMode) {
        case 0:
            ports_.shell.Execute("", path.substr(0, path.rfind('\\') + 1), "", ShowRestore);
            return;
        case 1:
            ports_.shell.Execute("", path, "", ShowRestore);
            return;
        case 2:
            ports_.shell.Execute("open", "rundll32.exe", "shell32.dll,OpenAs_RunDLL " + path, ShowNormal);
            return;
        default:
            return;
    }
}

}  // namespace kadrilo
