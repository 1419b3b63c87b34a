#pragma once
// The names of the program's own files, spelled here and nowhere else. A name starts with '\' and
// follows a folder: the data folder (EnvSettings::FilePath) or, for what is installed with the
// program, its own folder (EnvSettings::InstalledFilePath).

#include <windows.h>

#include <cstddef>
#include <string>

namespace data_files {

// The user's files, read at start and written as they change.
inline constexpr char kSettings[] = "\\env.ini";
inline constexpr char kFolderList[] = "\\list.txt";
inline constexpr char kPositionList[] = "\\poslist.txt";
inline constexpr char kSpecialDayList[] = "\\xdaylist.txt";
inline constexpr char kBanList[] = "\\banlist.txt";
inline constexpr char kKeepList[] = "\\keeplist.txt";

// What the program writes for itself.
inline constexpr char kWallpaper[] = "\\Dioramix.bmp";
inline constexpr char kPreviousWallpaper[] = "\\previous.bmp";  // what the back command puts back
inline constexpr char kPausedPicture[] = "\\backimage.png";     // the picture a pause froze
inline constexpr char kUserSetup[] = "\\oriwallsetup.txt";
// The copy of a prior wallpaper that Windows would overwrite; its extension names its format.
inline constexpr char kPriorWallpaperCopy[] = "\\oriwallpaper";
inline constexpr wchar_t kLog[] = L"\\Dioramix.log";
inline constexpr wchar_t kOldLog[] = L"\\Dioramix.old.log";
// The folder below the user's local application data where a program that cannot write beside
// itself keeps its files.
inline constexpr char kDataFolderName[] = "\\Dioramix";

// Installed with the program.
inline constexpr char kShadowPicture[] = "\\effects\\dropshadow.png";
inline constexpr char kCalendarMarker[] = "\\effects\\red.png";
inline constexpr char kMaskFolder[] = "\\Masks";

// The user's files that move with the program's data: read at start, written at shut-down.
inline constexpr const char* kUserFiles[] = {kSettings, kFolderList, kPositionList, kSpecialDayList, kBanList,
                                             kKeepList};

// One monitor's part of a picture over several monitors (index 0 is the first monitor).
std::string MonitorWallpaper(const std::string& dataFolder, size_t monitor);
// The back command's copy of a monitor's own picture, beside it.
std::string PreviousMonitorWallpaper(const std::string& dataFolder, size_t monitor);
// True for the wallpaper file or a monitor's part of it in the data folder, as the program names them.
bool IsOwnWallpaper(const std::wstring& dataFolder, const std::wstring& picture);

// A chosen mask as env.ini has always kept it: the program's folder, "masks", the file name.
std::string ChosenMaskPath(const std::string& exePath, const std::string& fileName);

// "Dioramix-crash-YYYYMMDD-HHMMSS-PID.dmp" into `out` (at least kCrashDumpNameSize characters);
// no allocation, as a crashing process calls it.
inline constexpr std::size_t kCrashDumpNameSize = 64;
void FormatCrashDumpName(const SYSTEMTIME& time, DWORD processId, wchar_t* out);

}  // namespace data_files
