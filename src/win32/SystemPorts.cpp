#include "win32/SystemPorts.h"

#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "win32/Handles.h"

namespace kadrilo::win32 {
namespace {

HKEY RootKey(RegistryRoot root) {
    return root == RegistryRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

UniqueKey OpenKey(RegistryRoot root, const std::string& path, REGSAM access) {
    UniqueKey key;
    if (RegOpenKeyExW(RootKey(root), Wide(path).c_str(), 0, access, key.put()) != ERROR_SUCCESS)
        return UniqueKey();
    return key;
}

}  // namespace

bool Registry::KeyExists(RegistryRoot root, const std::string& path) {
    return static_cast<bool>(OpenKey(root, path, KEY_READ));
}

bool Registry::CreateKey(RegistryRoot root, const std::string& path) {
    UniqueKey key;
    return RegCreateKeyExW(RootKey(root), Wide(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                           nullptr, key.put(), nullptr) == ERROR_SUCCESS;
}

std::optional<RegistryValue> Registry::ReadValue(RegistryRoot root, const std::string& path,
                                                 const std::string& name) {
    UniqueKey key = OpenKey(root, path, KEY_QUERY_VALUE);
    if (!key) return std::nullopt;
    const std::wstring wideName = Wide(name);
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key.get(), wideName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    std::vector<BYTE> data(size + sizeof(wchar_t));
    if (RegQueryValueExW(key.get(), wideName.c_str(), nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;

    RegistryValue value;
    if (type == REG_DWORD && size == sizeof(DWORD)) {
        value.kind = RegistryValue::Kind::Dword;
        value.dword = *reinterpret_cast<const DWORD*>(data.data());
    } else if (type == REG_SZ || type == REG_EXPAND_SZ) {
        value.kind = RegistryValue::Kind::String;
        std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), size / sizeof(wchar_t));
        text.erase(std::find(text.begin(), text.end(), L'\0'), text.end());
        value.text = Utf8(text);
    }
    return value;
}

bool Registry::WriteValue(RegistryRoot root, const std::string& path, const std::string& name,
                          const RegistryValue& value) {
    UniqueKey key = OpenKey(root, path, KEY_SET_VALUE);
    if (!key) return false;
    const std::wstring wideName = Wide(name);
    if (value.kind == RegistryValue::Kind::Dword) {
        const DWORD data = value.dword;
        return RegSetValueExW(key.get(), wideName.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                              sizeof data) == ERROR_SUCCESS;
    }
    const std::wstring text = Wide(value.text);
    return RegSetValueExW(key.get(), wideName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool Registry::DeleteValue(RegistryRoot root, const std::string& path, const std::string& name) {
    UniqueKey key = OpenKey(root, path, KEY_SET_VALUE);
    return key && RegDeleteValueW(key.get(), Wide(name).c_str()) == ERROR_SUCCESS;
}

bool Registry::DeleteKeyTree(RegistryRoot root, const std::string& path) {
    const size_t split = path.rfind('\\');
    const std::string parentPath = split == std::string::npos ? std::string() : path.substr(0, split);
    const std::string keyName = split == std::string::npos ? path : path.substr(split + 1);
    UniqueKey parent = OpenKey(root, parentPath, KEY_ALL_ACCESS);
    if (!parent) return false;
    // Removes the named key itself as well as everything below it.
    return RegDeleteTreeW(parent.get(), Wide(keyName).c_str()) == ERROR_SUCCESS;
}

SystemVersion System::GetVersion() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExW(&info)) return {};
    return {info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion};
}

bool System::CheckAdminAccess() {
    UniqueKernelHandle token;
    if (!OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, token.put())) {
        if (GetLastError() != ERROR_NO_TOKEN) return false;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put())) return false;
    }
    // The buffer grows to what the token needs: a user in many groups would not
    // fit a fixed one and would wrongly count as no administrator.
    DWORD size = 1024;
    std::vector<BYTE> buffer(size);
    if (!GetTokenInformation(token.get(), TokenGroups, buffer.data(), size, &size)) {
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return false;
        buffer.resize(size);
        if (!GetTokenInformation(token.get(), TokenGroups, buffer.data(), size, &size)) return false;
    }
    token.reset();

    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    UniqueSid administrators;
    if (!AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0,
                                  0, 0, 0, administrators.put()))
        return false;
    const auto* groups = reinterpret_cast<const TOKEN_GROUPS*>(buffer.data());
    for (DWORD i = 0; i < groups->GroupCount; ++i) {
        // A group kept only for denying access (an administrator's filtered token)
        // grants no write access to the machine's settings.
        if (groups->Groups[i].Attributes & SE_GROUP_USE_FOR_DENY_ONLY) continue;
        if (EqualSid(groups->Groups[i].Sid, administrators.get())) return true;
    }
    return false;
}

std::optional<std::string> System::WindowsDirectory() {
    wchar_t buffer[MAX_PATH];
    const UINT n = GetWindowsDirectoryW(buffer, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return std::nullopt;
    return Utf8(std::wstring_view(buffer, n));
}

std::string System::UserLanguageName() {
    const int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SENGLANGUAGE, nullptr, 0);
    if (n <= 0) return {};
    std::wstring name(static_cast<size_t>(n), L'\0');
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SENGLANGUAGE, name.data(), n) <= 0) return {};
    name.resize(static_cast<size_t>(n - 1));
    return Utf8(name);
}

void System::ExitProcess(int code) { ::ExitProcess(static_cast<UINT>(code)); }

void System::SetPriority(uint32_t processClass, int threadPriority) {
    // Failures are ignored: the shot goes on at whatever priority it has.
    UniqueKernelHandle process(OpenProcess(PROCESS_SET_INFORMATION, FALSE, GetCurrentProcessId()));
    if (process) SetPriorityClass(process.get(), processClass);
    SetThreadPriority(GetCurrentThread(), threadPriority);
}

bool FileSystem::FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileSystem::FolderExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileSystem::CreateFolder(const std::string& path) {
    return CreateDirectoryW(Wide(path).c_str(), nullptr) != 0;
}

void FileSystem::WriteFile(const std::string& path, const std::vector<uint8_t>& content) {
    // The content goes to a temporary file beside the target first, so that a
    // failed write never leaves a partial image under the shot's name.
    const std::wstring target = Wide(path);
    const std::wstring temporary = target + L".kadrilo-part";
    const HANDLE created = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr);
    if (created == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create " + path);
    UniqueKernelHandle file(created);
    size_t done = 0;
    bool ok = true;
    while (ok && done < content.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(content.size() - done, 1u << 30));
        DWORD written = 0;
        ok = ::WriteFile(file.get(), content.data() + done, chunk, &written, nullptr) && written == chunk;
        done += written;
    }
    ok = ok && FlushFileBuffers(file.get());
    file.reset();
    if (!ok || !MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileW(temporary.c_str());
        throw std::runtime_error("cannot write " + path);
    }
}

LocalTime Clock::Now() {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

std::string Clock::TimeSeparator() {
    wchar_t separator[8] = {};
    const int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STIME, separator, 8);
    return n > 1 ? Utf8(std::wstring_view(separator, static_cast<size_t>(n - 1))) : std::string(":");
}

void Sound::MessageBeep() { ::MessageBeep(0); }

void Sound::PlayFile(const std::string& path) {
    // The media control strings; their results are not checked: a sound that
    // cannot be played is simply not heard.
    mciSendStringW(L"close KadriloSound", nullptr, 0, nullptr);
    const std::wstring open = L"open \"" + Wide(path) + L"\" alias KadriloSound";
    mciSendStringW(open.c_str(), nullptr, 0, nullptr);
    mciSendStringW(L"play KadriloSound", nullptr, 0, nullptr);
}

bool Sound::Beep(uint32_t frequency, uint32_t milliseconds) {
    return ::Beep(frequency, milliseconds) != 0;
}

std::vector<std::string> Fonts::InstalledFontFamilies() {
    std::vector<std::string> families;
    UniqueScreenDc dc(GetDC(nullptr));
    if (!dc) return families;
    LOGFONTW filter{};
    filter.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExW(
        dc.get(), &filter,
        [](const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM param) -> int {
            auto& list = *reinterpret_cast<std::vector<std::string>*>(param);
            if (font->lfFaceName[0] == L'@') return 1;  // vertical variants
            std::string name = Utf8(font->lfFaceName);
            if (std::find(list.begin(), list.end(), name) == list.end()) list.push_back(std::move(name));
            return 1;
        },
        reinterpret_cast<LPARAM>(&families), 0);
    return families;
}

}  // namespace kadrilo::win32
