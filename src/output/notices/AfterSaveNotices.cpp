#include "output/notices/AfterSaveNotices.h"

#include <algorithm>
#include <cctype>

namespace kadrilo {
namespace {

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

constexpr uint32_t Melody[] = {600, 900, 1200, 1575};
constexpr uint32_t MelodyNoteMs = 45;

}  // namespace

void BeepEx(SoundPort& sound, uint32_t frequency, uint32_t milliseconds) {
    if (!sound.Beep(frequency, milliseconds)) sound.MessageBeep();
}

void AfterSaveNotices::PlaySoundAfterSave(const AppSettings& settings, bool commandLineRun) {
    if (!settings.SoundEvent) return;
    switch (settings.SoundMode) {
        case 0:
            sound_.MessageBeep();
            return;
        case 1: {
            const std::string& file = settings.AudioFilePath;
            const std::string extension = LowerExtension(file);
            if (!files_.FileExists(file) || (extension != ".mp3" && extension != ".wav" && extension != ".wma") ||
                commandLineRun) {
                sound_.MessageBeep();
                return;
            }
            sound_.PlayFile(file);
            return;
        }
        case 2:
            for (uint32_t frequency : Melody) BeepEx(sound_, frequency, MelodyNoteMs);
            return;
        default:
            return;
    }
}

void AfterSaveNotices::ExecuteAfterSave(const AppSettings& settings, const std::string& path) {
    if (!settings.ExecuteAfterSaving) return;
    constexpr int ShowRestore = 9, ShowNormal = 1;
    switch (settings.ExecuteMode) {
        case 0:
            shell_.Execute("", path.substr(0, path.rfind('\\') + 1), "", ShowRestore);
            return;
        case 1:
            shell_.Execute("", path, "", ShowRestore);
            return;
        case 2:
            shell_.Execute("open", "rundll32.exe", "shell32.dll,OpenAs_RunDLL " + path, ShowNormal);
            return;
        default:
            return;
    }
}

}  // namespace kadrilo
