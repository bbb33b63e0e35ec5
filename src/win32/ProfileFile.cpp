#include "win32/ProfileFile.h"

#include <windows.h>

#include "win32/Handles.h"

namespace kadrilo::win32 {
namespace {

constexpr char ByteOrderMark[] = {'\xFF', '\xFE'};

// True when the text survives the way to the system's code page and back.
bool FitsCodePage(const std::wstring& text) {
    if (text.empty()) return true;
    const int length = static_cast<int>(text.size());
    const int size = WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return false;
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), length, bytes.data(), size, nullptr, nullptr);
    const int back = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
    std::wstring again(static_cast<size_t>(back), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, again.data(), back);
    return again == text;
}

// The whole file; nothing when it cannot be read, `missing` set when it does not exist.
std::optional<std::string> ReadWholeFile(const std::wstring& path, bool& missing) {
    missing = false;
    const HANDLE opened = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) {
        missing = GetLastError() == ERROR_FILE_NOT_FOUND;
        return std::nullopt;
    }
    UniqueKernelHandle file(opened);
    std::string content;
    char chunk[65536];
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file.get(), chunk, sizeof chunk, &read, nullptr)) return std::nullopt;  // never half a file
        if (read == 0) return content;
        content.append(chunk, read);
    }
}

// Writes the file beside its place first, so that a failure leaves the old one whole.
bool ReplaceWholeFile(const std::wstring& path, const std::string& content) {
    const std::wstring temporary = path + L".kadrilo-part";
    const HANDLE created = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr);
    if (created == INVALID_HANDLE_VALUE) return false;
    UniqueKernelHandle file(created);
    DWORD written = 0;
    bool ok = WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
              written == content.size() && FlushFileBuffers(file.get());
    file.reset();
    ok = ok && MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
    if (!ok) DeleteFileW(temporary.c_str());
    return ok;
}

// Makes the file a UTF-16 file with its byte-order mark, keeping what it holds
// (a file that does not exist yet is made empty); false when it cannot.
bool MakeUnicode(const std::wstring& path) {
    bool missing = false;
    const std::optional<std::string> content = ReadWholeFile(path, missing);
    if (!content) return missing && ReplaceWholeFile(path, std::string(ByteOrderMark, 2));
    if (content->size() >= 2 && ((*content)[0] == '\xFF' && (*content)[1] == '\xFE')) return true;
    if (content->size() >= 2 && ((*content)[0] == '\xFE' && (*content)[1] == '\xFF')) return true;

    // A file with the UTF-8 mark is read as UTF-8; any other as the system's code page.
    UINT codePage = CP_ACP;
    size_t start = 0;
    if (content->rfind("\xEF\xBB\xBF", 0) == 0) {
        codePage = CP_UTF8;
        start = 3;
    }
    const int size = static_cast<int>(content->size() - start);
    std::wstring text;
    if (size > 0) {
        const int length = MultiByteToWideChar(codePage, 0, content->data() + start, size, nullptr, 0);
        if (length <= 0) return false;
        text.resize(static_cast<size_t>(length));
        MultiByteToWideChar(codePage, 0, content->data() + start, size, text.data(), length);
    }
    std::string unicode(ByteOrderMark, 2);
    unicode.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    return ReplaceWholeFile(path, unicode);
}

}  // namespace

std::string ProfileFile::ReadString(const std::string& path, const std::string& section, const std::string& key,
                                    const std::string& fallback) {
    std::wstring buffer(ValueLimit + 1, L'\0');
    const DWORD n = GetPrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), Wide(fallback).c_str(),
                                             buffer.data(), static_cast<DWORD>(buffer.size()), Wide(path).c_str());
    return Utf8(std::wstring_view(buffer.data(), n));
}

bool ProfileFile::WriteString(const std::string& path, const std::string& section, const std::string& key,
                              const std::string& value) {
    const std::wstring widePath = Wide(path), wideSection = Wide(section), wideKey = Wide(key),
                       wideValue = Wide(value);
    const bool fits = FitsCodePage(wideSection) && FitsCodePage(wideKey) && FitsCodePage(wideValue);
    if (!fits && !MakeUnicode(widePath)) return false;
    return WritePrivateProfileStringW(wideSection.c_str(), wideKey.c_str(), wideValue.c_str(), widePath.c_str()) != 0;
}

std::vector<std::string> ProfileFile::KeyNames(const std::string& path, const std::string& section) {
    const std::wstring widePath = Wide(path), wideSection = Wide(section);
    // The names come one after another, each ended by a zero; a buffer too
    // small for all of them is filled up to two characters before its end.
    std::wstring buffer(4096, L'\0');
    DWORD n = 0;
    for (;;) {
        n = GetPrivateProfileStringW(wideSection.c_str(), nullptr, L"", buffer.data(),
                                     static_cast<DWORD>(buffer.size()), widePath.c_str());
        if (n + 2 < buffer.size()) break;
        buffer.assign(buffer.size() * 2, L'\0');
    }
    std::vector<std::string> names;
    for (size_t at = 0; at < n;) {
        const size_t end = buffer.find(L'\0', at);
        if (end == at || end == std::wstring::npos) break;
        names.push_back(Utf8(std::wstring_view(buffer.data() + at, end - at)));
        at = end + 1;
    }
    return names;
}

}  // namespace kadrilo::win32
