#pragma once
// Pictures leaving the program: encoders by MIME type, the composed wallpaper file, and the
// user's prior wallpaper and desktop colour read from the registry.

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cstdint>
#include <string>

// Index of the GDI+ encoder with exactly this MIME type, its class id in clsid; -1 when none.
int GetEncoderClsid(const wchar_t* mimeType, CLSID* clsid);
// Encodes the image with the encoder of "image/" + format and replaces the file with it in one
// step; false, with the old file kept, when there is no such encoder or the file was not written.
bool SaveImage(Gdiplus::Image& image, const std::string& path, const std::string& format);

// The format word for a file name chosen by the user: its extension lower-cased, jpg as jpeg.
std::string FormatForFileName(const std::string& path);

// Reads and writes values under HKEY_CURRENT_USER; the seam that lets tests feed values.
class IUserRegistry {
public:
    virtual ~IUserRegistry() = default;
    // The value's text as stored, or "" when it cannot be read.
    virtual std::wstring ReadString(const char* key, const char* value) = 0;
    // A DWORD value; false when it is missing or of another type.
    virtual bool ReadNumber(const char* /*key*/, const char* /*value*/, DWORD& /*number*/) { return false; }
    // Sets a DWORD value, making the key when it is missing.
    virtual bool WriteNumber(const char* /*key*/, const char* /*value*/, DWORD /*number*/) { return false; }
};

class RealUserRegistry final : public IUserRegistry {
public:
    std::wstring ReadString(const char* key, const char* value) override;
    bool ReadNumber(const char* key, const char* value, DWORD& number) override;
    bool WriteNumber(const char* key, const char* value, DWORD number) override;
};

// True when the path is Windows' own copy of the wallpaper ("TranscodedWallpaper" in the
// Themes folder), which every new wallpaper overwrites: a slideshow, a picture of the day or
// one set from a photo viewer leaves the registry naming it.
bool IsSystemWallpaperCache(const std::string& path);
// Copies the picture to copyBase plus an extension that names its format (".jpg" unless it is
// a PNG, BMP or GIF), replacing an older copy; answers the copy's path, or "" when it failed.
std::string KeepWallpaperCopy(const std::wstring& picture, const std::string& copyBase);
// "r g b" (runs of blanks allowed) as opaque ARGB; false when fewer than three numbers are given.
bool ParseDesktopColor(const std::string& text, uint32_t& argb);
