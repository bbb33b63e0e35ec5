// The ports that need no window: registry, system facts, files and fonts.
#pragma once

#include "platform/Ports.h"

namespace kadrilo::win32 {

class Registry : public RegistryPort {
public:
    bool KeyExists(RegistryRoot root, const std::string& path) override;
    bool CreateKey(RegistryRoot root, const std::string& path) override;
    std::optional<RegistryValue> ReadValue(RegistryRoot root, const std::string& path,
                                           const std::string& name) override;
    bool WriteValue(RegistryRoot root, const std::string& path, const std::string& name,
                    const RegistryValue& value) override;
    bool DeleteValue(RegistryRoot root, const std::string& path, const std::string& name) override;
    bool DeleteKeyTree(RegistryRoot root, const std::string& path) override;
};

class System : public SystemPort {
public:
    SystemVersion GetVersion() override;
    bool CheckAdminAccess() override;
    std::optional<std::string> WindowsDirectory() override;
    std::string UserLanguageName() override;
    [[noreturn]] void ExitProcess(int code) override;
    void SetPriority(uint32_t processClass, int threadPriority) override;
};

class FileSystem : public FileSystemPort {
public:
    bool FileExists(const std::string& path) override;
    bool FolderExists(const std::string& path) override;
    bool CreateFolder(const std::string& path) override;
    void WriteFile(const std::string& path, const std::vector<uint8_t>& content) override;
};

class Clock : public ClockPort {
public:
    LocalTime Now() override;
    std::string TimeSeparator() override;
};

class Sound : public SoundPort {
public:
    void MessageBeep() override;
    bool Beep(uint32_t frequency, uint32_t milliseconds) override;
    void PlayFile(const std::string& path) override;
};

class Fonts : public FontPort {
public:
    std::vector<std::string> InstalledFontFamilies() override;
};

}  // namespace kadrilo::win32
