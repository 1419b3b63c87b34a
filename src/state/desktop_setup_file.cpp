#include "state/desktop_setup_file.h"

#include <windows.h>

#include <cstdlib>

#include "framework/handles.h"
#include "framework/mbstring.h"
#include "framework/safe_file.h"

namespace {

constexpr DWORD kLargestFile = 64 * 1024;  // dozens of monitors' paths, with room to spare

bool ParseNumber(const std::string& text, long long& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    value = std::strtoll(text.c_str(), &end, 10);
    return end && *end == '\0';
}

void ParseLine(const std::string& key, const std::string& value, fw::DesktopSetup& setup) {
    long long number = 0;
    if (key == "monitor") {
        const size_t bar = value.find('|');
        if (bar == std::string::npos || bar == 0) return;
        setup.monitors.push_back({mb::Widen(value.substr(0, bar), CP_UTF8), mb::Widen(value.substr(bar + 1), CP_UTF8)});
    } else if (key == "position" && ParseNumber(value, number) && number >= -1 && number <= 16) {
        setup.position = static_cast<int>(number);
    } else if (key == "background" && ParseNumber(value, number) && number >= 0 && number <= 0xFFFFFF) {
        setup.background = static_cast<COLORREF>(number);
        setup.hasBackground = true;
    } else if (key == "slideshow" && (value == "0" || value == "1")) {
        setup.slideshow = value == "1";
    } else if (key == "slideshowitem" && !value.empty()) {
        setup.slides.items.push_back(mb::Widen(value, CP_UTF8));
    } else if (key == "slideshowshuffle" && (value == "0" || value == "1")) {
        setup.slides.shuffle = value == "1";
    } else if (key == "slideshowtick" && ParseNumber(value, number) && number >= 0 && number <= 0xFFFFFFFFLL) {
        setup.slides.tick = static_cast<unsigned>(number);
    } else if (key == "spotlight" && (value == "0" || value == "1")) {
        setup.spotlight = value == "1";
    }
}

std::string Flag(bool on) { return on ? "1" : "0"; }

}  // namespace

std::string FormatDesktopSetup(const fw::DesktopSetup& setup) {
    std::string text = "position=" + std::to_string(setup.position) + "\r\n";
    if (setup.hasBackground) text += "background=" + std::to_string(setup.background) + "\r\n";
    text += "slideshow=" + Flag(setup.slideshow) + "\r\n";
    for (const std::wstring& item : setup.slides.items) text += "slideshowitem=" + mb::Narrow(item, CP_UTF8) + "\r\n";
    text += "slideshowshuffle=" + Flag(setup.slides.shuffle) + "\r\n";
    text += "slideshowtick=" + std::to_string(setup.slides.tick) + "\r\n";
    text += "spotlight=" + Flag(setup.spotlight) + "\r\n";
    for (const fw::MonitorWallpaper& m : setup.monitors)
        text += "monitor=" + mb::Narrow(m.monitor, CP_UTF8) + "|" + mb::Narrow(m.picture, CP_UTF8) + "\r\n";
    return text;
}

bool ParseDesktopSetup(const std::string& text, fw::DesktopSetup& setup) {
    fw::DesktopSetup read;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        start = end + 1;
        const size_t equals = line.find('=');
        if (equals != std::string::npos) ParseLine(line.substr(0, equals), line.substr(equals + 1), read);
    }
    if (read.monitors.empty()) return false;
    setup = std::move(read);
    return true;
}

bool SaveDesktopSetup(const std::string& path, const fw::DesktopSetup& setup) {
    return fw::ReplaceFileContentSafely(path, FormatDesktopSetup(setup));
}

bool LoadDesktopSetup(const std::string& path, fw::DesktopSetup& setup) {
    fw::FileHandle file(::CreateFileW(mb::Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart > kLargestFile) return false;
    std::string text(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!text.empty() && !::ReadFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &read, nullptr))
        return false;
    text.resize(read);
    return ParseDesktopSetup(text, setup);
}
