// What follows a save: the sound notice and the after-save action.
#pragma once

#include <string>

#include "platform/Ports.h"
#include "settings/AppSettings.h"

namespace kadrilo {

// One tone on the speaker; where the speaker cannot be driven, the default
// system sound stands in.
void BeepEx(SoundPort& sound, uint32_t frequency, uint32_t milliseconds);

class AfterSaveNotices {
public:
    AfterSaveNotices(SoundPort& sound, FileSystemPort& files, ShellPort& shell)
        : sound_(sound), files_(files), shell_(shell) {}

    // The sound notice of the settings. A command-line run may quit at once and
    // cut a sound file off: the default sound stands in then.
    void PlaySoundAfterSave(const AppSettings& settings, bool commandLineRun);
    // Opens the folder of the file, the file, or the Open With dialog for it.
    void ExecuteAfterSave(const AppSettings& settings, const std::string& path);

private:
    SoundPort& sound_;
    FileSystemPort& files_;
    ShellPort& shell_;
};

}  // namespace kadrilo
