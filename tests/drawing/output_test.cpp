// Encoders, the save and pause commands, and the prior wallpaper with a fed registry.
#include "drawing/composer_fixture.h"

#include <cstring>
#include <utility>

#include "framework/handles.h"

using namespace composer_testing;
using namespace testing_support;

namespace {

TEST(EncoderTest, FoundByExactMimeTypeWhichFollowsTheExtension) {
    CLSID clsid{};
    EXPECT_GE(GetEncoderClsid(L"image/png", &clsid), 0);
    EXPECT_NE(CLSID{}, clsid);
    EXPECT_GE(GetEncoderClsid(L"image/jpeg", &clsid), 0);
    EXPECT_EQ(-1, GetEncoderClsid(L"image/PNG", &clsid));
    EXPECT_EQ(-1, GetEncoderClsid(L"image/tif", &clsid));
    EXPECT_EQ("jpeg", FormatForFileName("C:\\pics\\Picture.JPG"));
    EXPECT_EQ("png", FormatForFileName("C:\\pics\\a.png"));
    EXPECT_EQ("tif", FormatForFileName("a.tif"));
    EXPECT_EQ("", FormatForFileName("C:\\my.pics\\noext"));
}

class OutputTest : public ComposerTest {
protected:
    void SetRegistry(const std::string& wallpaper, const std::string& background = "37 111 149") {
        SetRegistryWide(mb::Widen(wallpaper), background);
    }
    void SetRegistryWide(const std::wstring& wallpaper, const std::string& background = "37 111 149") {
        registry.wallpaper = wallpaper;
        registry.background = mb::Widen(background);
    }
};

TEST_F(OutputTest, SaveCurrentWallpaperChoosesTheEncoderByExtension) {
    AddPhoto("a.png", 400, 300, Gdiplus::Color(255, 200, 0, 0));
    Compose();
    for (auto [name, start] : {std::pair{"Picture.JPG", "\xFF\xD8"}, std::pair{"p.png", "\x89PNG"},
                               std::pair{"p.bmp", "BM"}, std::pair{"p.gif", "GIF"}}) {
        composer->SaveCurrentWallpaperAs(dir.File(name));
        EXPECT_EQ(start, ReadFile(dir.File(name)).substr(0, std::strlen(start))) << name;
    }
    composer->SaveCurrentWallpaperAs(dir.File("p.tif"));
    EXPECT_FALSE(FileExists(dir.File("p.tif")));
}

TEST_F(OutputTest, SaveWithoutAPictureOrAChangeWithoutAProgramFolderWritesNothing) {
    composer->SaveCurrentWallpaperAs(dir.File("early.png"));
    composer->TogglePause();
    EXPECT_FALSE(FileExists(dir.File("early.png")));
    EXPECT_FALSE(FileExists(dir.File("backimage.png")));
    EXPECT_EQ(1, env.ispause);

    env.m_exePath.clear();
    Compose();
    EXPECT_TRUE(system.wallpapers.empty());
}

TEST_F(OutputTest, PauseSavesThePictureWithoutOverlaysOnEveryToggle) {
    env.ispath = 1;
    AddPhoto("a.png", 400, 300, Gdiplus::Color(255, 200, 0, 0));
    Compose();
    composer->TogglePause();
    EXPECT_EQ(1, env.ispause);
    auto saved = LoadCopy(dir.File("backimage.png"));
    ASSERT_TRUE(saved);
    EXPECT_EQ(1024u, saved->GetWidth());
    EXPECT_TRUE(IsColour(*saved, 512, 384, Gdiplus::Color(255, 200, 0, 0), 6));
    EXPECT_TRUE(IsColour(*saved, 1000, 724, kBack, 6));  // no path bar

    ::DeleteFileA(dir.File("backimage.png").c_str());
    composer->TogglePause();
    EXPECT_EQ(0, env.ispause);
    EXPECT_TRUE(FileExists(dir.File("backimage.png")));
}

TEST_F(OutputTest, PriorWallpaperAndDesktopColourOfThreeNumbersFromTheRegistry) {
    SetRegistry("C:\\users\\me\\beach.bmp");
    composer->LoadPriorWallpaper();
    EXPECT_EQ("C:\\users\\me\\beach.bmp", env.oriwallpath);
    EXPECT_EQ(0xFF256F95u, env.m_desktopColor);

    composer->SavePriorWallpaperPath();
    char kept[260] = {};
    ::GetPrivateProfileStringA("DEFAULT", "oriwallpath", "", kept, sizeof kept, dir.File("env.ini").c_str());
    EXPECT_STREQ("C:\\users\\me\\beach.bmp", kept);

    composer->RestorePriorWallpaper();
    EXPECT_EQ(std::vector<std::string>{"C:\\users\\me\\beach.bmp"}, system.wallpapers);

    SetRegistry("", "  10   20  30 ");
    composer->LoadPriorWallpaper();
    EXPECT_EQ(0xFF0A141Eu, env.m_desktopColor);

    env.m_desktopColor = 0xFF000000;
    SetRegistry("", "10 20");
    composer->LoadPriorWallpaper();
    EXPECT_EQ(0xFF000000u, env.m_desktopColor);
}

TEST_F(OutputTest, OwnPictureStillSetRecoversThePathKeptInEnvIni) {
    WriteFile(dir.File("env.ini"), "[DEFAULT]\r\noriwallpath=C:\\users\\me\\beach.bmp\r\n");
    SetRegistry(dir.File("Dioramix.bmp"));
    composer->LoadPriorWallpaper();
    EXPECT_EQ("C:\\users\\me\\beach.bmp", env.oriwallpath);
    composer->SavePriorWallpaperPath();  // written back unchanged
    EXPECT_NE(std::string::npos, ReadFile(dir.File("env.ini")).find("oriwallpath=C:\\users\\me\\beach.bmp"));

    // Our picture's name in another letter case is the user's own picture.
    const std::string other = dir.File("DIORAMIX.BMP");
    SetRegistry(other);
    composer->LoadPriorWallpaper();
    EXPECT_EQ(other, env.oriwallpath);
}

TEST_F(OutputTest, AWallpaperTheCodePageCannotSpellIsNamedShortOrCopiedNeverBestFit) {
    // Thai has no spelling in the Korean code page; best fit would turn it into question marks
    // or into other letters that may name another picture.
    const std::wstring thai = mb::Widen(dir.path()) + L"\\\u0E01\u0E02.png";
    {
        fw::FileHandle made(::CreateFileW(thai.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
        ASSERT_TRUE(made);
        DWORD written = 0;
        ::WriteFile(made.get(), "\x89PNG-thai", 9, &written, nullptr);
    }
    SetRegistryWide(thai);
    composer->LoadPriorWallpaper();
    ASSERT_FALSE(env.oriwallpath.empty());
    EXPECT_EQ(std::string::npos, env.oriwallpath.find('?')) << env.oriwallpath;
    EXPECT_EQ("\x89PNG-thai", ReadFile(env.oriwallpath)) << "the same picture, by its short name or a copy";

    // Gone: there is nothing to name or copy, and nothing else is restored in its place.
    ::DeleteFileW(thai.c_str());
    SetRegistryWide(mb::Widen(dir.path()) + L"\\\u0E01\u0E03.png");
    composer->LoadPriorWallpaper();
    EXPECT_EQ("", env.oriwallpath);
    composer->RestorePriorWallpaper();
    EXPECT_EQ(std::vector<std::string>{""}, system.wallpapers);
}

TEST_F(OutputTest, NothingIsRestoredOrKeptBeforeThePriorWallpaperWasReadAndNoWallpaperRestoresNone) {
    WriteFile(dir.File("env.ini"), "[DEFAULT]\r\noriwallpath=C:\\kept.bmp\r\n");
    composer->SavePriorWallpaperPath();
    composer->RestorePriorWallpaper();
    EXPECT_TRUE(system.wallpapers.empty());
    EXPECT_NE(std::string::npos, ReadFile(dir.File("env.ini")).find("oriwallpath=C:\\kept.bmp"));

    SetRegistry("");
    composer->LoadPriorWallpaper();
    composer->RestorePriorWallpaper();
    EXPECT_EQ(std::vector<std::string>{""}, system.wallpapers);
}

// A slideshow, a picture of the day or a photo viewer leaves the registry naming Windows' own
// cache, which our first change overwrites: the user's picture is restored from our copy.
TEST_F(OutputTest, PriorWallpaperInWindowsCacheIsRestoredFromACopy) {
    dir.MakeDir("Microsoft");
    dir.MakeDir("Microsoft\\Windows");
    const std::string themes = dir.MakeDir("Microsoft\\Windows\\Themes");
    const std::string cache = themes + "\\TranscodedWallpaper";
    WritePicture(cache, 64, 48, Gdiplus::Color(255, 0, 160, 0), "jpeg");
    const std::string users = ReadFile(cache);
    SetRegistry(cache);

    composer->LoadPriorWallpaper();
    EXPECT_EQ(dir.File("oriwallpaper.jpg"), env.oriwallpath);
    EXPECT_EQ(users, ReadFile(env.oriwallpath));
    composer->SavePriorWallpaperPath();
    EXPECT_NE(std::string::npos, ReadFile(dir.File("env.ini")).find("oriwallpath=" + dir.File("oriwallpaper.jpg")));

    // Setting our picture makes Windows rewrite its cache from it.
    WritePicture(cache, 64, 48, Gdiplus::Color(255, 200, 0, 0), "jpeg");
    composer->RestorePriorWallpaper();
    ASSERT_FALSE(system.wallpapers.empty());
    EXPECT_EQ(dir.File("oriwallpaper.jpg"), system.wallpapers.back());
    EXPECT_EQ(users, ReadFile(system.wallpapers.back()));
}

TEST_F(OutputTest, CacheCopyKeepsItsFormatAndAMissingCacheStaysAsNamed) {
    const std::string themes = dir.MakeDir("Themes");
    WritePicture(themes + "\\TranscodedWallpaper", 32, 32, Gdiplus::Color(255, 1, 2, 3), "png");
    SetRegistry(themes + "\\transcodedwallpaper");  // the path's letter case does not matter
    composer->LoadPriorWallpaper();
    EXPECT_EQ(dir.File("oriwallpaper.png"), env.oriwallpath);

    SetRegistry(dir.File("Gone\\Themes\\TranscodedWallpaper"));
    composer->LoadPriorWallpaper();
    EXPECT_EQ(dir.File("Gone\\Themes\\TranscodedWallpaper"), env.oriwallpath);
}

TEST(WallpaperCache, RecognisedByItsPlaceInTheThemesFolder) {
    EXPECT_TRUE(IsSystemWallpaperCache("C:\\Users\\me\\AppData\\Roaming\\Microsoft\\Windows\\Themes\\TranscodedWallpaper"));
    EXPECT_TRUE(IsSystemWallpaperCache("C:\\Users\\me\\AppData\\Roaming\\Microsoft\\Windows\\Themes\\TranscodedWallpaper.jpg"));
    EXPECT_FALSE(IsSystemWallpaperCache("C:\\pics\\TranscodedWallpaper"));
    EXPECT_FALSE(IsSystemWallpaperCache("C:\\Themes\\TranscodedWallpaper.png.bak"));
    EXPECT_FALSE(IsSystemWallpaperCache(""));
}

}  // namespace
