// Composing through the bad-picture corpus (tools/make-bad-pictures) with every effect on: each
// change leaves a whole wallpaper of the screen's size, whatever the photograph was.
#include "drawing/composer_fixture.h"
#include "support/catalogue_steps.h"

#include <chrono>
#include <cstdio>

using namespace composer_testing;

namespace {

class BadPictureTest : public ComposerTest {
protected:
    std::string corpus = testing_support::BinDir() + "\\bad-pictures";
    std::vector<std::string> pictures;

    void SetUp() override {
        ComposerTest::SetUp();
        if (::GetFileAttributesA(corpus.c_str()) == INVALID_FILE_ATTRIBUTES) return;
        ImageCatalogue scan;
        testing_support::ScanFolder(scan, corpus);
        pictures = scan.Images();

        env.isframe = env.isshadow = env.isrotate = 1;
        env.isbackgray = env.isoverlap = 1;
        env.iscalender = env.ispath = 1;
        env.imagepos = 2;  // random places
        env.piccleartotalcnt = 4;
        composer->LoadMasks(testing_support::BinDir() + "\\Masks");
    }

    // Composes once with the picture as the only photograph (and as the background image), and
    // checks the wallpaper that was set.
    void ComposeThrough(const std::string& picture) {
        SCOPED_TRACE(picture);
        catalogue.Replace({corpus + ",1"}, {picture});
        env.isbackimg = 1;
        env.backimagename = picture;
        const size_t before = system.wallpapers.size();
        const auto start = std::chrono::steady_clock::now();
        Compose();
        const auto ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
        std::printf("  %6lld ms  %s\n", static_cast<long long>(ms), picture.substr(corpus.size() + 1).c_str());

        ASSERT_EQ(before + 1, system.wallpapers.size());
        EXPECT_EQ(dir.File("Dioramix.bmp"), system.wallpapers.back());
        auto shot = Wallpaper();
        ASSERT_NE(nullptr, shot);
        EXPECT_EQ(1024u, shot->GetWidth());
        EXPECT_EQ(768u, shot->GetHeight());
    }
};

TEST_F(BadPictureTest, EveryPictureLeavesAWholeWallpaperWithFrameShadowAndRotationAndThroughRandomMasks) {
    if (pictures.empty()) GTEST_SKIP() << "no bad-picture corpus: run tools/make-bad-pictures";
    EXPECT_GE(pictures.size(), 30u);
    for (const std::string& picture : pictures) ComposeThrough(picture);

    env.ismask = env.isrndmask = 1;
    env.notstrech = 0;  // the tiny and thin pictures are enlarged too
    for (const std::string& picture : pictures) ComposeThrough(picture);
}

}  // namespace

namespace {

// Writes of the composed and saved pictures that cannot complete.
class FailedPictureWriteTest : public ComposerTest {};

TEST_F(FailedPictureWriteTest, AWallpaperNotWrittenWholeIsNeverSet) {
    AddPhoto("a.png", 400, 300, Gdiplus::Color(255, 200, 0, 0));
    // A folder where the picture should be: nothing can be written.
    dir.MakeDir("Dioramix.bmp");
    Compose();
    EXPECT_TRUE(system.wallpapers.empty());
    EXPECT_NE(0u, ::GetFileAttributesA(dir.File("Dioramix.bmp").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    ::RemoveDirectoryA(dir.File("Dioramix.bmp").c_str());

    // A read-only picture keeps its old content and the desktop its old picture.
    Compose();
    ASSERT_EQ(1u, system.wallpapers.size());
    const std::string before = testing_support::ReadFile(dir.File("Dioramix.bmp"));
    ::SetFileAttributesA(dir.File("Dioramix.bmp").c_str(), FILE_ATTRIBUTE_READONLY);
    env.backcolor = 0xFF102030;
    Compose();
    ::SetFileAttributesA(dir.File("Dioramix.bmp").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(1u, system.wallpapers.size());
    EXPECT_EQ(before, testing_support::ReadFile(dir.File("Dioramix.bmp")));

    // Writable again: the next change is written and set.
    Compose();
    EXPECT_EQ(2u, system.wallpapers.size());
    EXPECT_NE(before, testing_support::ReadFile(dir.File("Dioramix.bmp")));
}

TEST_F(FailedPictureWriteTest, SavedPicturesReplaceTheOldFileOnlyWhenWrittenWhole) {
    AddPhoto("a.png", 400, 300, Gdiplus::Color(255, 200, 0, 0));
    Compose();
    testing_support::WriteFile(dir.File("mine.png"), "the user's own file");
    ::SetFileAttributesA(dir.File("mine.png").c_str(), FILE_ATTRIBUTE_READONLY);
    composer->SaveCurrentWallpaperAs(dir.File("mine.png"));
    ::SetFileAttributesA(dir.File("mine.png").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ("the user's own file", testing_support::ReadFile(dir.File("mine.png")));

    composer->SaveCurrentWallpaperAs(dir.File("mine.png"));
    EXPECT_EQ("\x89PNG", testing_support::ReadFile(dir.File("mine.png")).substr(0, 4));

    // The paused background, with a folder in its way: the toggle still happens.
    dir.MakeDir("backimage.png");
    composer->TogglePause();
    EXPECT_EQ(1, env.ispause);
    EXPECT_NE(0u, ::GetFileAttributesA(dir.File("backimage.png").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace
