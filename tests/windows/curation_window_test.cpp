// The verbs reaching the running main window as another copy hands them over (WM_COPYDATA):
// each acts on the monitor asked or under the pointer, and what arrives during a composition,
// while paused or while nobody looks is made afterwards, once each.
#include <gtest/gtest.h>

#include <objidl.h>
#include <gdiplus.h>
#include <wtsapi32.h>

#include <atomic>
#include <string>

#include "app/wallpaper_dlg.h"
#include "composer/output.h"
#include "support/main_window_fixture.h"

using namespace testing_support;

namespace {

class CurationWindow : public MainWindowTest {
protected:
    std::vector<std::string> photos;

    void SetUp() override {
        const Gdiplus::Color colours[] = {{255, 200, 0, 0}, {255, 0, 200, 0}, {255, 0, 0, 200},
                                          {255, 200, 200, 0}, {255, 0, 200, 200}, {255, 200, 0, 200}};
        int next = 0;
        photos = ListPhotos("photos", {"p0.png", "p1.png", "p2.png", "p3.png", "p4.png", "p5.png"},
                            [&](const std::string& path) {
                                Gdiplus::Bitmap bitmap(64, 48, PixelFormat24bppRGB);
                                Gdiplus::Graphics(&bitmap).Clear(colours[next++]);
                                SaveImage(bitmap, path, "png");
                            });
        WriteSettings("isforeimg=1\r\nisrandum=0\r\n");
        system.SetMonitors({{{0, 0, 1024, 768}, {0, 0, 1024, 738}, true}, {{1024, 0, 2048, 768}, {1024, 0, 2048, 738}, false}});
    }
    std::string Photo(int i) const { return photos.at(static_cast<size_t>(i)); }
    // As a second copy sends it.
    void Verb(Verb verb, int displayNumber = 0) {
        VerbMessage message{static_cast<int32_t>(verb), displayNumber};
        COPYDATASTRUCT data{kVerbCopyData, sizeof message, &message};
        ASSERT_EQ(TRUE, ::SendMessageW(Hwnd(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)));
    }
    std::string On(size_t monitor) const { return dlg->m_composer.Pictures().at(monitor).path; }
};

TEST_F(CurationWindow, EachVerbActsOnTheMonitorAskedOrUnderThePointer) {
    Start();
    ASSERT_EQ(1, compositions);
    ASSERT_EQ(Photo(0), On(0));
    ASSERT_EQ(Photo(1), On(1));

    Verb(Verb::Next, 2);
    Settle();
    EXPECT_EQ(2, compositions);
    EXPECT_EQ(Photo(0), On(0)) << "the other monitor keeps its photo";
    EXPECT_EQ(Photo(2), On(1));

    system.cursor = {1500, 300};  // on the second monitor
    Verb(Verb::Ban);
    Settle();
    EXPECT_EQ(3, compositions);
    EXPECT_EQ(Photo(0), On(0));
    EXPECT_NE(Photo(2), On(1));
    EXPECT_NE(std::string::npos, ReadFile(dir.File("banlist.txt")).find(Photo(2)));
    EXPECT_TRUE(FileExists(Photo(2)));

    Verb(Verb::Keep, 1);
    Settle();
    EXPECT_EQ(3, compositions) << "a favourite changes nothing on the screen";
    EXPECT_EQ(Photo(0) + "\r\n", ReadFile(dir.File("keeplist.txt")));

    const std::string afterBan = On(1);
    Verb(Verb::Back);
    Settle();
    EXPECT_EQ(afterBan, On(1)) << "going back never brings a banned photo up again";
    Verb(Verb::Next, 2);
    Settle();
    const std::string newer = On(1);
    Verb(Verb::Back);
    Settle();
    EXPECT_EQ(afterBan, On(1)) << "the picture before the change";
    EXPECT_EQ(Photo(0), On(0));
    Verb(Verb::Back);
    Settle();
    EXPECT_EQ(newer, On(1)) << "and forth again";

    Verb(Verb::Pause);
    Settle();
    EXPECT_EQ(1, dlg->stEnv.ispause);
    Verb(Verb::Pause);
    EXPECT_EQ(1, dlg->stEnv.ispause) << "pause is a state, not a toggle";
    Verb(Verb::Resume);
    EXPECT_EQ(0, dlg->stEnv.ispause);
    EXPECT_NE(std::string::npos, ReadFile(dir.File("env.ini")).find("ispause=0"));

    // Nothing and nowhere: a display that does not exist, an unknown verb.
    const int before = compositions;
    Verb(Verb::Next, 7);
    VerbMessage bad{99, 0};
    COPYDATASTRUCT data{kVerbCopyData, sizeof bad, &bad};
    EXPECT_EQ(FALSE, ::SendMessageW(Hwnd(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)));
    Settle();
    EXPECT_EQ(before, compositions);
}

TEST_F(CurationWindow, VerbsDuringACompositionOrWhileNobodyLooksAreMadeAfterwardsOnceEach) {
    Start();
    system.cursor = {100, 100};
    // The next photo stalls: the composition waits on the worker, the verbs do not.
    StalledOpens stall(files, 8000);  // within the watchdog's limit
    Verb(Verb::Next, 1);
    ASSERT_TRUE(PumpUntil(3000, [&] { return stall.Reached(); }));
    Verb(Verb::Ban);  // the photo the user sees now, not the one coming
    Verb(Verb::Ban);
    Verb(Verb::Back);
    Verb(Verb::Back);  // back and forth again: nothing
    Verb(Verb::Pause);
    Verb(Verb::Resume);
    Verb(Verb::Pause);
    Pump(50);
    EXPECT_EQ(2, compositions);
    stall.Release();
    Settle();
    EXPECT_EQ(3, compositions) << "the next, then the ban's recomposition";
    EXPECT_EQ(Photo(0) + "\r\n", ReadFile(dir.File("banlist.txt"))) << "the banned photo was the one shown";
    EXPECT_EQ(1, dlg->stEnv.ispause) << "the last of the pause and resume counts";
    EXPECT_NE(Photo(0), On(0));

    // Nobody looking: held, then made once the user is back.
    ::SendMessageW(Hwnd(), WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, 0);
    Verb(Verb::Next, 2);
    Verb(Verb::Next, 2);
    Pump(50);
    EXPECT_EQ(3, compositions);
    ::SendMessageW(Hwnd(), WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 0);
    ASSERT_TRUE(PumpUntil(2000, [&] { return compositions == 4; }));
    Settle();
    Pump(50);
    EXPECT_EQ(4, compositions) << "two nexts asked while away make one";
}

// The worker has set the new picture, but the window has not yet taken in the composition's end:
// a ban or keep then names a photo of the picture the user sees, the new one.
TEST_F(CurationWindow, ABanOrKeepAfterTheNewPictureIsSetNamesItBeforeItsEndIsTakenIn) {
    Start();
    system.cursor = {100, 100};
    std::string setOnLeft;  // written on the worker before `sets` counts it
    std::atomic<int> sets{0};
    dlg->m_composer.ObservePhases([&](ComposePhase phase) {
        if (phase != ComposePhase::WallpaperSet) return;
        setOnLeft = dlg->m_composer.Pictures().at(0).path;
        ++sets;
    });
    // Waits for the worker without pumping, so that the composition's end stays in the queue.
    auto nextAndWaitForItsPicture = [&] {
        const int before = sets;
        Verb(Verb::Next, 1);
        for (int i = 0; i < 1000 && sets == before; ++i) ::Sleep(5);
        ASSERT_EQ(before + 1, sets.load());
    };
    for (const ::Verb verb : {Verb::Ban, Verb::Keep}) {
        SCOPED_TRACE(verb == Verb::Ban ? "ban" : "keep");
        const std::string shownBefore = On(0);
        nextAndWaitForItsPicture();
        const std::string shownNow = setOnLeft;  // a ban's own change sets another after it
        ASSERT_NE(shownBefore, shownNow);
        Verb(verb);
        Settle();
        const std::string list = ReadFile(dir.File(verb == Verb::Ban ? "banlist.txt" : "keeplist.txt"));
        EXPECT_EQ(shownNow + "\r\n", list) << "not the picture before, " << shownBefore;
    }
}

TEST_F(CurationWindow, HotkeysAreRegisteredAHeldOneIsTakenAndEachActsAsItsVerb) {
    // Another program holds Ctrl+Alt+B (a window of this process stands in for it).
    HWND other = ::CreateWindowExW(0, L"STATIC", L"other", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(::RegisterHotKey(other, 1, MOD_CONTROL | MOD_ALT, 'B'));
    Start();
    EXPECT_FALSE(dlg->HotkeyTaken(HotkeyVerb::Next));
    EXPECT_TRUE(dlg->HotkeyTaken(HotkeyVerb::Back));
    EXPECT_EQ(0x642, dlg->stEnv.hotkeyback) << "kept in the settings all the same";
    EXPECT_FALSE(::RegisterHotKey(other, 2, MOD_CONTROL | MOD_ALT, 'N')) << "the program holds its default";

    ::SendMessageW(Hwnd(), WM_HOTKEY, kHotkeyIdBase + static_cast<int>(HotkeyVerb::PauseOrResume), 0);
    EXPECT_EQ(1, dlg->stEnv.ispause);
    ::SendMessageW(Hwnd(), WM_HOTKEY, kHotkeyIdBase + static_cast<int>(HotkeyVerb::PauseOrResume), 0);
    EXPECT_EQ(0, dlg->stEnv.ispause);
    ::SendMessageW(Hwnd(), WM_HOTKEY, kHotkeyIdBase + static_cast<int>(HotkeyVerb::Next), 0);
    Settle();
    EXPECT_EQ(2, compositions);

    // Released when the program ends.
    Close();
    EXPECT_TRUE(::RegisterHotKey(other, 3, MOD_CONTROL | MOD_ALT, 'N'));
    ::UnregisterHotKey(other, 1);
    ::UnregisterHotKey(other, 3);
    ::DestroyWindow(other);
}

}  // namespace
