#include <gtest/gtest.h>

#include "framework/mbstring.h"
#include "state/desktop_setup_file.h"
#include "support/test_support.h"

TEST(DesktopSetupFile, RoundTripsAndPassesOverWhatItCannotRead) {
    fw::DesktopSetup setup;
    setup.monitors = {{L"\\\\?\\DISPLAY#A#1", L"C:\\사진\\바다 1.jpg"}, {L"\\\\?\\DISPLAY#B#2", L""}};
    setup.position = 3;
    setup.background = 0x102030;
    setup.hasBackground = true;
    setup.slideshow = true;
    setup.slides = {{L"D:\\슬라이드 쇼", L"E:\\写真\\\U0001F30A.png"}, true, 600000};
    setup.spotlight = true;
    fw::DesktopSetup read;
    ASSERT_TRUE(ParseDesktopSetup(FormatDesktopSetup(setup), read));
    EXPECT_TRUE(read == setup);

    struct Case {
        const char* text;
        bool parsed;
        int position;
        size_t monitors;
    } cases[] = {
        {"", false, -1, 0},
        {"position=2\nslideshow=1\n", false, -1, 0},  // no monitor: nothing to give back
        {"monitor=\\\\?\\D#1|C:\\a.jpg\nposition=x\nbackground=-5\nslideshow=2\n", true, -1, 1},
        {"monitor=|C:\\a.jpg\nmonitor=no bar\nmonitor=\\\\?\\D#2|\nposition=99\n", true, -1, 1},
        {"garbage\n\xff\xfe\nmonitor=D|p\rposition=4\r\n", true, -1, 1},  // a lone CR ends no line
        {"position=4\r\nmonitor=D|p\r\n", true, 4, 1},
    };
    for (const Case& c : cases) {
        fw::DesktopSetup s;
        EXPECT_EQ(c.parsed, ParseDesktopSetup(c.text, s)) << c.text;
        EXPECT_EQ(c.position, s.position) << c.text;
        EXPECT_EQ(c.monitors, s.monitors.size()) << c.text;
    }

    testing_support::ScratchDir dir;
    const std::string path = dir.File("oriwallsetup.txt");
    EXPECT_FALSE(LoadDesktopSetup(path, read));  // missing
    ASSERT_TRUE(SaveDesktopSetup(path, setup));
    fw::DesktopSetup loaded;
    ASSERT_TRUE(LoadDesktopSetup(path, loaded));
    EXPECT_TRUE(loaded == setup);
    testing_support::WriteFile(path, "monitor=D|p\n" + std::string(100 * 1024, 'x'));
    EXPECT_FALSE(LoadDesktopSetup(path, loaded));  // far larger than any setup: not this program's
}

TEST(DesktopSetupFile, SlideshowAndPictureOfTheDayLinesOfAnOlderFileOrBrokenOnesReadAsNotRunning) {
    struct Case {
        const char* text;
        size_t items;
        bool shuffle;
        unsigned tick;
        bool spotlight;
    } cases[] = {
        // A file of the version before: the same monitors and fit, nothing of a slideshow's own.
        {"position=4\r\nslideshow=1\r\nmonitor=D|p\r\n", 0, false, 0, false},
        {"monitor=D|p\nslideshowitem=\nslideshowshuffle=yes\nslideshowtick=-1\nspotlight=2\n", 0, false, 0, false},
        {"monitor=D|p\nslideshowtick=99999999999\nslideshowtick=12x\nslideshowitem=C:\\a\n", 1, false, 0, false},
        {"slideshowitem=C:\\a\nslideshowitem=C:\\b\nslideshowshuffle=1\nslideshowtick=1800000\nspotlight=1\nmonitor=D|p\n",
         2, true, 1800000, true},
    };
    for (const Case& c : cases) {
        fw::DesktopSetup s;
        ASSERT_TRUE(ParseDesktopSetup(c.text, s)) << c.text;
        EXPECT_EQ(c.items, s.slides.items.size()) << c.text;
        EXPECT_EQ(c.shuffle, s.slides.shuffle) << c.text;
        EXPECT_EQ(c.tick, s.slides.tick) << c.text;
        EXPECT_EQ(c.spotlight, s.spotlight) << c.text;
    }
}
