// Subcommands of the driver for the release files: the version resource of an
// executable as Windows reads it. See Driver.h.
#include "Driver.h"

#include <winver.h>

namespace kadtest {
namespace {

std::string Dotted(DWORD high, DWORD low) {
    return std::to_string(HIWORD(high)) + "." + std::to_string(LOWORD(high)) + "." +
           std::to_string(HIWORD(low)) + "." + std::to_string(LOWORD(low));
}

// One string of the first translation the resource lists.
std::wstring StringValue(const std::vector<BYTE>& data, const std::wstring& name) {
    struct Translation {
        WORD language, codepage;
    };
    Translation* translations = nullptr;
    UINT size = 0;
    if (!VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations),
                        &size) ||
        size < sizeof(Translation))
        return {};
    wchar_t path[64];
    swprintf(path, 64, L"\\StringFileInfo\\%04x%04x\\%ls", translations[0].language, translations[0].codepage,
             name.c_str());
    wchar_t* value = nullptr;
    if (!VerQueryValueW(data.data(), path, reinterpret_cast<void**>(&value), &size) || !value) return {};
    return std::wstring(value, size > 0 ? size - 1 : 0);
}

// {"file": "2.1.0.0", "product": "2.1.0.0", "FileVersion": "...", "ProductVersion": "...", ...}:
// the fixed numbers and the strings a user sees in the file's properties.
int FileVersion(const Args& args, DWORD) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(args[0].c_str(), &ignored);
    std::vector<BYTE> data(size);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixed_size = 0;
    if (size == 0 || !GetFileVersionInfoW(args[0].c_str(), 0, size, data.data()) ||
        !VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixed_size) || !fixed) {
        Complain(L"no version resource in " + args[0]);
        return kExitNotFound;
    }
    std::string json = "{\"file\": \"" + Dotted(fixed->dwFileVersionMS, fixed->dwFileVersionLS) +
                       "\", \"product\": \"" + Dotted(fixed->dwProductVersionMS, fixed->dwProductVersionLS) + "\"";
    for (const wchar_t* name : {L"FileVersion", L"ProductVersion", L"ProductName", L"LegalCopyright"})
        json += std::string(", \"") + Utf8(name) + "\": " + JsonString(StringValue(data, name));
    PrintLine(json + "}");
    return kExitOk;
}

}  // namespace

std::vector<Command> PackageCommands() {
    return {
        {L"file-version", L"<path>", 1, false, FileVersion},
    };
}

}  // namespace kadtest
