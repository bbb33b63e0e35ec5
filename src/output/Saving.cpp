// Saving a shot: the names of automatic saves, the existing-file rules, the
// encoders and the end of every save.
#include <algorithm>
#include <stdexcept>

#include "app/AppMainForm.h"
#include "output/Encoders.h"
#include "output/FileNaming.h"

namespace kadrilo {
namespace {

constexpr int LastNumberedName = 99999;

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

void TAppMainForm::SaveFileDialog() {}
void TAppMainForm::PlaySoundAfterSave() {}
void TAppMainForm::ExecuteAfterSave(const std::string&) {}

}  // namespace kadrilo
