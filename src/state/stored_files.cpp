#include "state/stored_files.h"

#include "framework/handles.h"
#include "framework/mbstring.h"
#include "framework/safe_file.h"
#include "state/data_files.h"

namespace {

// A stored file beyond this is no file of the program's; it is left alone.
constexpr LONGLONG kLargestStoredFile = 256LL * 1024 * 1024;

bool ReadWholeFile(const std::wstring& path, std::string& content) {
    fw::FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.get(), &size) || size.QuadPart > kLargestStoredFile) return false;
    content.assign(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    return content.empty() ||
           (::ReadFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &read, nullptr) &&
            read == content.size());
}

// The untouched original beside the file, made once: a copy from an earlier conversion is the
// oldest version and stays.
bool KeepBackup(const std::wstring& path) {
    if (::CopyFileW(path.c_str(), (path + L".bak").c_str(), TRUE)) return true;
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
}

}  // namespace

UINT LegacyCodePage() {
    UINT codePage = 0;
    if (::GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                         reinterpret_cast<LPWSTR>(&codePage), sizeof codePage / sizeof(wchar_t)) &&
        codePage != 0 && codePage != CP_UTF8)
        return codePage;
    return 1252;
}

std::string LegacyLinesToUtf8(const std::string& text, UINT legacyCodePage) {
    std::string out;
    out.reserve(text.size() + text.size() / 2);
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end + 1;
        const std::string_view line(text.data() + start, end - start);
        out += mb::IsValidUtf8(line) ? std::string(line) : mb::Recode(line, legacyCodePage, CP_UTF8);
        start = end;
    }
    return out;
}

Migration MigrateToUtf8(const std::string& path, UINT legacyCodePage) {
    const std::wstring wide = mb::Widen(path);
    if (::GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES) return Migration::Missing;
    std::string content;
    if (!ReadWholeFile(wide, content)) return Migration::Failed;
    if (mb::IsValidUtf8(content)) return Migration::AlreadyUtf8;
    const std::string converted = LegacyLinesToUtf8(content, legacyCodePage);
    if (!KeepBackup(wide)) return Migration::Failed;
    return fw::ReplaceFileContentSafely(path, converted) ? Migration::Converted : Migration::Failed;
}

void MigrateStoredFiles(const std::string& folder, UINT legacyCodePage) {
    if (folder.empty() || !mb::IsUtf8CodePage()) return;
    for (const char* name : data_files::kUserFiles) MigrateToUtf8(folder + name, legacyCodePage);
}
