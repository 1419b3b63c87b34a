#pragma once
// A composer on a scratch program folder with a fake system (1024 x 768), and real pictures
// drawn by GDI+ to feed it.

#include <gtest/gtest.h>

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "composer/composer.h"
#include "composer/output.h"
#include "framework/mbstring.h"
#include "state/catalogue.h"
#include "state/settings.h"
#include "support/canvas.h"
#include "support/fake_system.h"
#include "support/test_support.h"

namespace composer_testing {

// A picture of one colour, saved in the given format ("png", "jpeg", "bmp").
inline void WritePicture(const std::string& path, int w, int h, Gdiplus::Color color,
                         const std::string& format = "png") {
    Gdiplus::Bitmap bitmap(w, h, PixelFormat24bppRGB);
    Gdiplus::Graphics(&bitmap).Clear(color);
    SaveImage(bitmap, path, format);
}

using testing_support::AreColour;
using testing_support::IsColour;
using testing_support::Near;
using testing_support::PixelOf;
using testing_support::Rgb;

inline bool Near(Rgb a, Rgb b) { return testing_support::Near(a, b, 6); }

// Photos' colours, far apart from each other and from the background.
inline const Gdiplus::Color kRed(255, 220, 30, 30), kGreen(255, 30, 200, 40), kBlue(255, 30, 40, 220),
    kYellow(255, 230, 220, 20), kWhite(255, 250, 250, 250);

// A monitor with a task bar `bar` high along its bottom.
inline fw::MonitorInfo Monitor(LONG left, LONG top, LONG width, LONG height, bool primary = false, LONG bar = 30) {
    return {RECT{left, top, left + width, top + height}, RECT{left, top, left + width, top + height - bar}, primary};
}

// The user's registry as a test sets it: the desktop's wallpaper and background colour.
class FakeRegistry : public IUserRegistry {
public:
    std::wstring wallpaper, background;
    std::wstring ReadString(const char* key, const char* value) override {
        const std::string name = std::string(key) + "|" + value;
        if (name == "Control Panel\\Desktop|Wallpaper") return wallpaper;
        return name == "Control Panel\\Colors|Background" ? background : L"";
    }
    std::map<std::string, DWORD> numbers;  // "key\\value"
    int numbersWritten = 0;
    bool ReadNumber(const char* key, const char* value, DWORD& number) override {
        const auto found = numbers.find(std::string(key) + "\\" + value);
        if (found == numbers.end()) return false;
        number = found->second;
        return true;
    }
    bool WriteNumber(const char* key, const char* value, DWORD number) override {
        numbers[std::string(key) + "\\" + value] = number;
        ++numbersWritten;
        return true;
    }
};

class ComposerTest : public ::testing::Test {
protected:
    const Gdiplus::Color kBack{255, 72, 85, 115};  // the default backcolor
    testing_support::ScratchDir dir;
    testing_support::FakeSystem system;
    EnvSettings env;
    OutProgramList programs;
    ImageCatalogue catalogue;
    FakeRegistry registry;
    std::unique_ptr<Composer> composer;
    std::string photos;
    RECT bounds{};  // the virtual screen over the monitors UseMonitors gave

    void SetUp() override {
        ResetSettings(env);
        InitExePath(env, dir.File("Dioramix.exe"));
        LoadSettings(env, programs);  // no env.ini: the defaults
        env.isforeimg = 1;
        env.israndum = 0;
        composer = NewComposer();
        photos = dir.MakeDir("photos");
    }

    // A composer on the same folder, system and registry, as the next run makes it.
    std::unique_ptr<Composer> NewComposer() {
        auto made = std::make_unique<Composer>(env, catalogue, system);
        made->SetRegistry(registry);
        return made;
    }
    void UseMonitors(const std::vector<fw::MonitorInfo>& monitors) {
        system.SetMonitors(monitors);
        bounds = monitors.front().rect;
        for (const fw::MonitorInfo& m : monitors) ::UnionRect(&bounds, &bounds, &m.rect);
    }

    // A picture in the photo folder, appended to the catalogue; the folder is listed.
    std::string AddPhoto(const std::string& name, int w, int h, Gdiplus::Color color,
                         const std::string& format = "png") {
        std::string path = photos + "\\" + name;
        WritePicture(path, w, h, color, format);
        std::vector<std::string> images = catalogue.Images();
        images.push_back(path);
        catalogue.Replace({photos + "," + std::to_string(images.size())}, std::move(images));
        return path;
    }
    // A collage of `count` photos a picture at the given positions, started afresh: red, blue and
    // green photos of 400 x 300 drawn 200 wide, in that order.
    void CollageAt(std::vector<RECT> positions, int count) {
        env.isoverlap = 1;
        env.imagepos = 1;
        env.picmaxsize = 200;
        env.piccleartotalcnt = count;
        composer->ReplacePositions(std::move(positions));
        AddPhoto("red.png", 400, 300, kRed);
        AddPhoto("blue.png", 400, 300, kBlue);
        AddPhoto("green.png", 400, 300, kGreen);
        composer->RequestFreshBackground();
    }
    // A catalogue entry whose file does not exist.
    std::string AddMissing(const std::string& name) {
        std::string path = photos + "\\" + name;
        catalogue.AddImages({path});
        catalogue.Replace({photos + ",1"}, catalogue.Images());
        return path;
    }

    void Compose() { composer->ComposeWallpaper(); }

    // The composed wallpaper file as written by the last composition, copied into memory so
    // that the file stays free for the next one.
    std::unique_ptr<Gdiplus::Bitmap> Wallpaper() { return LoadCopy(dir.File("Dioramix.bmp")); }

    static std::unique_ptr<Gdiplus::Bitmap> LoadCopy(const std::string& file) {
        std::wstring path = mb::Widen(file);
        Gdiplus::Bitmap loaded(path.c_str());
        if (loaded.GetLastStatus() != Gdiplus::Ok) return nullptr;
        int w = static_cast<int>(loaded.GetWidth()), h = static_cast<int>(loaded.GetHeight());
        auto copy = std::make_unique<Gdiplus::Bitmap>(w, h, PixelFormat24bppRGB);
        Gdiplus::Graphics g(copy.get());
        g.DrawImage(&loaded, 0, 0, w, h);
        return copy;
    }
};

}  // namespace composer_testing
