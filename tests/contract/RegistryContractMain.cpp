// Runs the contract cases against the real system and prints a summary line:
// "kadcontract" runs every set, "kadcontract registry" or "kadcontract
// profile" one of them.
#include <windows.h>

#include <cstdio>
#include <string>

#include "contract/ProfileContract.h"
#include "contract/RegistryContract.h"
#include "win32/Handles.h"
#include "win32/ProfileFile.h"
#include "win32/SystemPorts.h"

namespace {

int passed = 0, failed = 0;

void Report(const char* name, const std::string& failure) {
    if (failure.empty()) {
        ++passed;
        std::printf("ok: %s\n", name);
    } else {
        ++failed;
        std::printf("FAILED: %s: %s\n", name, failure.c_str());
    }
}

void RunRegistryCases() {
    kadrilo::win32::Registry registry;
    for (const kadrilo::contract::RegistryCase& c : kadrilo::contract::RegistryCases("Software\\KadriloContract"))
        Report(c.name, c.run(registry));
}

// Each case gets a new folder below the temporary folder, removed afterwards.
void RunProfileCases() {
    using kadrilo::win32::Wide;
    wchar_t temporary[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, temporary);
    kadrilo::win32::ProfileFile profile;
    int number = 0;
    for (const kadrilo::contract::ProfileCase& c : kadrilo::contract::ProfileCases()) {
        const std::wstring folder = std::wstring(temporary) + L"kadcontract-" + std::to_wstring(GetCurrentProcessId()) +
                                    L"-" + std::to_wstring(++number);
        CreateDirectoryW(folder.c_str(), nullptr);
        const kadrilo::contract::ProfileFolder where{
            kadrilo::win32::Utf8(folder), [&](const std::string& name, const std::string& text) {
                // In the system's code page, as the profile functions of earlier versions wrote it.
                const std::wstring wide = Wide(text);
                std::string bytes(static_cast<size_t>(wide.size() * 4 + 1), '\0');
                const int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                                     bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr);
                bytes.resize(static_cast<size_t>(size > 0 ? size : 0));
                const HANDLE file = CreateFileW((folder + L"\\" + Wide(name)).c_str(), GENERIC_WRITE, 0, nullptr,
                                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
                DWORD written = 0;
                WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
                CloseHandle(file);
            }};
        Report(c.name, c.run(profile, where));
        WIN32_FIND_DATAW found{};
        const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do DeleteFileW((folder + L"\\" + found.cFileName).c_str());
            while (FindNextFileW(search, &found));
            FindClose(search);
        }
        RemoveDirectoryW(folder.c_str());
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring set = argc > 1 ? argv[1] : L"";
    if (set.empty() || set == L"registry") RunRegistryCases();
    if (set.empty() || set == L"profile") RunProfileCases();
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 && passed > 0 ? 0 : 1;
}
