#include "composer/output.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "framework/handles.h"
#include "framework/mbstring.h"
#include "framework/registry.h"
#include "framework/safe_file.h"

int GetEncoderClsid(const wchar_t* mimeType, CLSID* clsid) {
    UINT count = 0, size = 0;
    Gdiplus::GetImageEncodersSize(&count, &size);
    if (size == 0) return -1;
    std::vector<BYTE> buffer(size);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (Gdiplus::GetImageEncoders(count, size, codecs) != Gdiplus::Ok) return -1;
    for (UINT i = 0; i < count; ++i) {
        if (codecs[i].MimeType && std::wcscmp(codecs[i].MimeType, mimeType) == 0) {
            *clsid = codecs[i].Clsid;
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool SaveImage(Gdiplus::Image& image, const std::string& path, const std::string& format) {
    std::wstring mime = mb::Widen("image/" + format);
    CLSID clsid{};
    // Without an encoder the save could only fail, and some GDI+ builds leave an empty file.
    if (GetEncoderClsid(mime.c_str(), &clsid) < 0) return false;
    return fw::ReplaceFileSafely(path, [&](const std::string& temporary) {
        return image.Save(mb::Widen(temporary).c_str(), &clsid, nullptr) == Gdiplus::Ok;
    });
}

std::string FormatForFileName(const std::string& path) {
    size_t slash = mb::FindLastBackslash(path);
    size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < nameStart) return "";
    std::string ext = mb::ToLower(std::string_view(path).substr(dot + 1));
    return ext == "jpg" ? "jpeg" : ext;
}

std::wstring RealUserRegistry::ReadString(const char* key, const char* value) {
    const std::optional<fw::RegValue> read = fw::UserRegistry().Read(mb::Widen(key), mb::Widen(value));
    return read ? fw::TextOf(*read) : std::wstring();
}

bool RealUserRegistry::ReadNumber(const char* key, const char* value, DWORD& number) {
    const std::optional<fw::RegValue> read = fw::UserRegistry().Read(mb::Widen(key), mb::Widen(value));
    const std::optional<DWORD> found = read ? fw::NumberOf(*read) : std::nullopt;
    if (found) number = *found;
    return found.has_value();
}

bool RealUserRegistry::WriteNumber(const char* key, const char* value, DWORD number) {
    return fw::UserRegistry().Write(mb::Widen(key), mb::Widen(value), fw::NumberValue(number));
}

bool IsSystemWallpaperCache(const std::string& path) {
    const std::string lowered = mb::ToLower(path);
    for (const char* tail : {"\\themes\\transcodedwallpaper", "\\themes\\transcodedwallpaper.jpg"}) {
        const std::string t = tail;
        if (lowered.size() >= t.size() && lowered.compare(lowered.size() - t.size(), t.size(), t) == 0) return true;
    }
    return false;
}

std::string KeepWallpaperCopy(const std::wstring& picture, const std::string& copyBase) {
    char head[8] = {};
    {
        fw::FileHandle file(::CreateFileW(picture.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return "";
        DWORD read = 0;
        ::ReadFile(file.get(), head, sizeof head, &read, nullptr);
    }
    const char* extension = ".jpg";
    if (std::memcmp(head, "\x89PNG", 4) == 0) extension = ".png";
    else if (std::memcmp(head, "BM", 2) == 0) extension = ".bmp";
    else if (std::memcmp(head, "GIF8", 4) == 0) extension = ".gif";
    const std::string copy = copyBase + extension;
    if (!::CopyFileW(picture.c_str(), mb::Widen(copy).c_str(), FALSE)) return "";
    return copy;
}

bool ParseDesktopColor(const std::string& text, uint32_t& argb) {
    long rgb[3] = {};
    int found = 0;
    size_t pos = 0;
    while (found < 3) {
        size_t start = text.find_first_not_of(' ', pos);
        if (start == std::string::npos) break;
        size_t end = text.find(' ', start);
        rgb[found++] = std::atol(text.substr(start, end - start).c_str());
        if (end == std::string::npos) break;
        pos = end;
    }
    if (found < 3) return false;
    argb = 0xFF000000u | (static_cast<uint32_t>(rgb[0] & 0xFF) << 16) | (static_cast<uint32_t>(rgb[1] & 0xFF) << 8) |
           static_cast<uint32_t>(rgb[2] & 0xFF);
    return true;
}
