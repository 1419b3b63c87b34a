#pragma once
// The settings record and its file env.ini (section "DEFAULT", private-profile syntax).

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/system.h"

struct EnvSettings {
    uint32_t m_desktopColor = 0xFF000000;  // ARGB, from the registry; not stored
    uint32_t backcolor = 0xFF000000;       // ARGB, alpha always 255
    COLORREF framecolor = 0;
    COLORREF whitedaycolor = 0;
    COLORREF bluedaycolor = 0;
    COLORREF reddaycolor = 0;
    COLORREF yymmcolor = 0;

    std::string oriwallpath;
    std::string m_exePath;  // no trailing backslash
    std::string m_exeFile;
    std::string maskfilename;
    std::string backimagename;
    std::string ymfontname;
    std::string ddfontname;

    uint8_t ispause = 0, isbackimg = 0, isforeimg = 0, isframe = 0, isrotate = 0, ismask = 0, isshadow = 0,
            ispath = 0, iscalender = 0, notstrech = 0, maxwinstop = 0, israndum = 0, isbackcolor = 0,
            isstretch = 0, isiptooltip = 0, isweekday = 0, isbold1 = 0, isbold2 = 0, isitalic1 = 0,
            isitalic2 = 0, isrndmask = 0, isbackgray = 0, isoverlap = 0, isiconhide = 0,
            multimonitor = 0,
            cloudphotos = 0,  // cloud-only photos are downloaded to be shown
            favoritesonly = 0;

    int32_t min_sec = 0, imagepos = 0, rememory = 0, changetime = 0, picmaxsize = 0, framesize = 0,
            rotatevalue = 0, piccleartotalcnt = 0, showtime = 0;
    // The verbs' hotkeys (state/hotkeys.h).
    int32_t hotkeynext = 0, hotkeyback = 0, hotkeypause = 0, hotkeyban = 0, hotkeykeep = 0;

    // Where the files the program writes live (env.ini, the lists, the composed pictures): the
    // program's folder, or a folder of the user's when that one cannot be written. Empty: the
    // program's folder.
    std::string m_dataPath;

    const std::string& DataFolder() const { return m_dataPath.empty() ? m_exePath : m_dataPath; }
    // Full path of one of the program's own files, name starting with '\': DataFolder() + name.
    std::string FilePath(const char* name) const { return DataFolder() + name; }
    // Full path of a file installed with the program (effects, masks): m_exePath + name; "" when
    // the program's folder has no narrow name (the name alone would be the drive's root).
    std::string InstalledFilePath(const char* name) const { return m_exePath.empty() ? std::string() : m_exePath + name; }
};

using OutProgramList = std::vector<std::string>;

constexpr int kMaxOutPrograms = 3;
// The largest photo side `picmaxsize` takes; the composer's layers grow with it.
constexpr int kLargestPicture = 10000;

// Empties the strings, clears the flags and zeroes the integers; colours are left alone.
void ResetSettings(EnvSettings& env);
// m_exeFile and m_exePath from a module file name (the running executable's by default).
void InitExePath(EnvSettings& env, const std::string& moduleFileName);
void InitExePath(EnvSettings& env);
// Reads every key but oriwallpath from m_exePath\env.ini; fills the exception programs.
void LoadSettings(EnvSettings& env, OutProgramList& outPrograms);
// Writes every key but oriwallpath, in the file's key order.
// Replaces env.ini in one step; false, with the old file kept, when it could not be written whole.
bool SaveSettings(const EnvSettings& env, const OutProgramList& outPrograms);

// What env.ini keeps of the user's own wallpaper for a run that ends without giving it back, apart
// from the settings: the picture (oriwallpath), and while one picture spans several monitors the
// user's wallpaper style (oriwallstyle, oritilewall). Written at once, each in one safe edit.
bool KeepPriorWallpaper(const EnvSettings& env);
bool KeepWallpaperStyle(const EnvSettings& env, const fw::WallpaperStyle& style);
// The kept style; an empty style when none was kept.
fw::WallpaperStyle KeptWallpaperStyle(const EnvSettings& env);
// The wallpaper to restore at exit. When the registry still names our own picture in the folder,
// an earlier run ended without restoring, and the path it kept in env.ini is the user's.
std::string ResolvePriorWallpaper(const std::string& registryWallpaper, const std::string& dataFolder);

// Colour conversions between COLORREF (0x00BBGGRR) and opaque ARGB (0xFFRRGGBB).
uint32_t ColorRefToArgb(COLORREF c);
COLORREF ArgbToColorRef(uint32_t argb);
// The C runtime's atoi on a profile value (leading blanks, sign, digits).
int ParseInt(const std::string& text);
