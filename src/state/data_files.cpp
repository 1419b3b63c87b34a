#include "state/data_files.h"

#include <cwchar>
#include <string_view>

#include "framework/mbstring.h"

namespace data_files {

namespace {

// The wallpaper's name without its leading backslash, split at its extension: a monitor's part
// carries its number between the two.
constexpr std::string_view kWallpaperName = std::string_view(kWallpaper).substr(1);
constexpr std::string_view kWallpaperStem = kWallpaperName.substr(0, kWallpaperName.rfind('.'));
constexpr std::string_view kWallpaperExtension = kWallpaperName.substr(kWallpaperName.rfind('.'));

bool SameOrdinal(const wchar_t* text, const std::wstring& part) {
    return ::CompareStringOrdinal(text, static_cast<int>(part.size()), part.c_str(), static_cast<int>(part.size()),
                                  FALSE) == CSTR_EQUAL;
}

}  // namespace

std::string PreviousMonitorWallpaper(const std::string& dataFolder, size_t monitor) {
    return dataFolder + "\\previous-" + std::to_string(monitor + 1) + std::string(kWallpaperExtension);
}

std::string MonitorWallpaper(const std::string& dataFolder, size_t monitor) {
    return dataFolder + "\\" + std::string(kWallpaperStem) + "-" + std::to_string(monitor + 1) +
           std::string(kWallpaperExtension);
}

bool IsOwnWallpaper(const std::wstring& dataFolder, const std::wstring& picture) {
    if (dataFolder.empty()) return false;
    const std::wstring folder = dataFolder + L"\\";
    const std::wstring stem = mb::Widen(std::string(kWallpaperStem));
    const std::wstring extension = mb::Widen(std::string(kWallpaperExtension));
    if (picture.size() < folder.size() + stem.size() + extension.size()) return false;
    return SameOrdinal(picture.c_str(), folder) &&
           SameOrdinal(picture.c_str() + folder.size(), stem) &&
           SameOrdinal(picture.c_str() + picture.size() - extension.size(), extension) &&
           picture.find(L'\\', folder.size()) == std::wstring::npos;
}

std::string ChosenMaskPath(const std::string& exePath, const std::string& fileName) {
    // Stored lower-cased since the first version; Windows finds the folder in either case.
    return exePath + mb::ToLower(std::string(kMaskFolder)) + "\\" + fileName;
}

void FormatCrashDumpName(const SYSTEMTIME& t, DWORD processId, wchar_t* out) {
    std::swprintf(out, kCrashDumpNameSize, L"Dioramix-crash-%04u%02u%02u-%02u%02u%02u-%lu.dmp", t.wYear, t.wMonth,
                  t.wDay, t.wHour, t.wMinute, t.wSecond, static_cast<unsigned long>(processId));
}

}  // namespace data_files
