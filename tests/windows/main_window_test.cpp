// The hidden main window run in the test process, on a scratch folder and a fake system: the
// notification area at start and after the shell restarts, the tray menu's own loop, and what
// may arrive while a wallpaper is being made on the worker.

#include <cstring>

#include "app/wallpaper_dlg.h"
#include "framework/mbstring.h"
#include "framework/texts.h"
#include "settings_ui/env_set_dlg.h"
#include "support/catalogue_steps.h"
#include "support/main_window_fixture.h"
#include "windows/page_fixture.h"

#include <dlgs.h>
#include <wtsapi32.h>

using namespace testing_support;
using page_testing::FindOwnedDialog;
using page_testing::InsideModalLoop;

namespace {

const UINT kTaskbarCreated = ::RegisterWindowMessageW(L"TaskbarCreated");

class MainWindow : public MainWindowTest {
protected:
    // Whether the shell holds the program's icon: modifying nothing succeeds only then.
    bool IconInShell() const { return Shell(NIM_MODIFY); }
    bool Shell(DWORD action) const {
        NOTIFYICONDATAW data{};
        data.cbSize = sizeof data;
        data.hWnd = Hwnd();
        data.uID = kTrayIconId;
        return ::Shell_NotifyIconW(action, &data) != FALSE;
    }
    bool Contains(const std::string& file, const std::string& text) const {
        return ReadFile(dir.File(file)).find(text) != std::string::npos;
    }
};

// ---- The notification area at start ---------------------------------------------------------

TEST_F(MainWindow, StartsOnceTheNotificationAreaComesUp) {
    int adds = 0;
    Make().m_trayIcon.SetShellNotify([&adds](DWORD action, NOTIFYICONDATAA* data) -> BOOL {
        if (action == NIM_ADD && ++adds <= 2) return FALSE;  // not there yet
        return ::Shell_NotifyIconA(action, data);
    });
    dlg->m_trayRetryInterval = 100;
    ASSERT_TRUE(dlg->Create());
    EXPECT_FALSE(dlg->IsStarted());
    EXPECT_EQ(0, compositions) << "nothing is loaded or changed without an icon";

    ASSERT_TRUE(PumpUntil(5000, [&] { return dlg->IsStarted(); }));
    Settle();
    EXPECT_EQ(3, adds);
    EXPECT_TRUE(dlg->m_trayIcon.IsEnabled() && IconInShell());
    EXPECT_EQ(1, compositions);
    EXPECT_EQ(1u, system.wallpapers.size());
    EXPECT_EQ(15, dlg->stEnv.changetime);  // the settings were read once started
}

TEST_F(MainWindow, WaitsQuietlyWhileTheNotificationAreaDoesNotComeAndNeverEnds) {
    bool shellUp = false;
    int adds = 0;
    Make().m_trayIcon.SetShellNotify([&](DWORD action, NOTIFYICONDATAA* data) -> BOOL {
        if (action == NIM_ADD) ++adds;
        return shellUp ? ::Shell_NotifyIconA(action, data) : FALSE;
    });
    dlg->m_trayRetryInterval = 50;
    dlg->m_trayRetryAttempts = 4;
    dlg->m_traySlowRetryInterval = 200;
    ASSERT_TRUE(dlg->Create());
    ASSERT_TRUE(PumpUntil(5000, [&] { return adds >= 6; })) << "it goes on trying, more slowly";
    EXPECT_TRUE(dlg->IsWindow()) << "ending would lose the run for good";
    EXPECT_FALSE(dlg->IsStarted());
    EXPECT_EQ(0, compositions);
    EXPECT_TRUE(system.wallpapers.empty()) << "no wallpaper set, not even an empty prior one";
    EXPECT_FALSE(FileExists(dir.File("list.txt")));
    EXPECT_FALSE(Contains("env.ini", "isbackimg")) << "env.ini left as it was";

    // The shell announces its task bar at last: the start does not wait for the next retry.
    shellUp = true;
    Send(kTaskbarCreated);
    EXPECT_TRUE(dlg->IsStarted());
    EXPECT_EQ(1, compositions);
}

TEST_F(MainWindow, AnAddThatTimedOutButReachedTheShellIsTakenOverAndStartUpRunsOnce) {
    ListPhotos("photos", {"one.jpg"});
    WriteSettings("outprogram0=Player\r\n");
    int adds = 0, modifies = 0;
    Make().m_trayIcon.SetShellNotify([&](DWORD action, NOTIFYICONDATAA* data) -> BOOL {
        if (action == NIM_MODIFY) ++modifies;
        if (action != NIM_ADD) return ::Shell_NotifyIconA(action, data);
        // The first add reaches the shell but answers too late; every later one is refused
        // because the icon is there already.
        if (++adds == 1) ::Shell_NotifyIconA(NIM_ADD, data);
        return FALSE;
    });
    dlg->m_trayRetryInterval = 60000;  // no retry tick within the test
    ASSERT_TRUE(dlg->Create());
    Settle();
    EXPECT_TRUE(dlg->IsStarted()) << "the icon in the shell is taken over at once";
    EXPECT_TRUE(dlg->m_trayIcon.IsEnabled() && IconInShell());
    EXPECT_GE(modifies, 1);
    EXPECT_EQ(1, compositions);

    // The shell restarts (or changes DPI) and broadcasts: the icon comes back, nothing loads twice.
    Send(kTaskbarCreated);
    Send(WM_TIMER, TIMER_TRAY_RETRY);
    EXPECT_TRUE(IconInShell());
    EXPECT_EQ(1, compositions);
    EXPECT_EQ(1u, dlg->m_catalogue.FolderEntries().size());
    EXPECT_EQ(OutProgramList{"Player"}, dlg->m_outPrograms);
}

// ---- The shell restarted --------------------------------------------------------------------

TEST_F(MainWindow, IconAddedAgainAfterTheTaskbarCreatedBroadcast) {
    ASSERT_TRUE(Make().Create());
    ASSERT_TRUE(dlg->IsStarted());
    ASSERT_TRUE(IconInShell());
    const HICON picture = dlg->m_trayIcon.Icon();

    // Explorer restarts: its new notification area knows nothing of the icon.
    ASSERT_TRUE(Shell(NIM_DELETE));
    ASSERT_FALSE(IconInShell());

    ::SendNotifyMessageW(HWND_BROADCAST, kTaskbarCreated, 0, 0);
    EXPECT_TRUE(PumpUntil(3000, [&] { return IconInShell(); }));
    EXPECT_TRUE(dlg->m_trayIcon.IsEnabled());
    EXPECT_EQ(picture, dlg->m_trayIcon.Icon()) << "with the picture it had";

    // The same broadcast while the icon is still there (Windows sends it on a DPI change too).
    ::SendMessageW(Hwnd(), kTaskbarCreated, 0, 0);
    EXPECT_TRUE(dlg->m_trayIcon.IsEnabled() && IconInShell());
}

// ---- Windows' own slideshow held back -------------------------------------------------------

TEST_F(MainWindow, AWindowsSlideshowHeldBackIsToldOnceInABalloonAndRunsAgainAtExit) {
    const std::string slides = dir.MakeDir("slides");
    system.hasDesktopInterface = true;
    system.desktop.monitors = {{L"\\\\?\\DISPLAY#1", mb::Widen(dir.File("sea.jpg"))}};
    system.desktop.slideshow = true;
    system.desktop.slides = {{mb::Widen(slides)}, false, 60000};
    std::vector<std::string> balloons;
    Make().m_trayIcon.SetShellNotify([&balloons](DWORD action, NOTIFYICONDATAA* data) -> BOOL {
        if (action == NIM_MODIFY && (data->uFlags & NIF_INFO)) balloons.push_back(data->szInfo);
        return ::Shell_NotifyIconA(action, data);
    });
    ASSERT_TRUE(dlg->Create());
    Settle();
    ASSERT_EQ(1u, balloons.size());
    EXPECT_EQ(mb::Narrow(fw::LoadText(IDS_SLIDESHOW_PAUSED)), balloons[0]);

    // Later changes and the shell's restart tell nothing again.
    Send(WM_TIMER, TIMER_CHANGE);
    Send(kTaskbarCreated);
    Send(WM_TIMER, TIMER_TRAY_RETRY);
    EXPECT_EQ(1u, balloons.size());
    EXPECT_TRUE(system.slideshowsSet.empty());

    dlg->DestroyWindow();
    Pump(0);
    ASSERT_EQ(1u, system.slideshowsSet.size());
    EXPECT_TRUE(system.slideshowsSet[0] == system.desktop.slides);
    dlg.reset();
}

// ---- The tray menu's loop -------------------------------------------------------------------

TEST_F(MainWindow, MenuIsNotReenteredAndWmNullFollowsIt) {
    Start();
    bool menuWasOpen = false;
    LRESULT secondClick = -1;
    InsideModalLoop closeMenu([&] {
        menuWasOpen = ::FindWindowW(L"#32768", nullptr) != nullptr;
        // A second right click while the menu is up must not open another.
        secondClick = ::SendMessageW(Hwnd(), WM_TRAYNOTIFY, kTrayIconId, WM_RBUTTONUP);
        ::EndMenu();
    }, 400);
    ::SendMessageW(Hwnd(), WM_TRAYNOTIFY, kTrayIconId, WM_RBUTTONUP);  // returns when the menu closed
    EXPECT_TRUE(menuWasOpen);
    EXPECT_EQ(0, secondClick);
    EXPECT_TRUE(dlg->m_changeEnabled) << "timed changes go on once the menu is gone";

    bool sawNull = false;
    MSG msg;
    while (::PeekMessageW(&msg, Hwnd(), 0, 0, PM_REMOVE)) sawNull = sawNull || msg.message == WM_NULL;
    EXPECT_TRUE(sawNull) << "WM_NULL must be posted to the owner after TrackPopupMenu";
}

// ---- While the wallpaper is being set -------------------------------------------------------

TEST_F(MainWindow, WhatArrivesDuringACompositionIsMergedAndTheWindowKeepsAnswering) {
    ListPhotos("photos", {"a.jpg", "b.jpg", "c.jpg", "d.jpg"});
    WriteSettings("isforeimg=1\r\n");
    Start();
    ASSERT_EQ(1, compositions);

    // The next photo's share stalls (within the watchdog's limit): the composition waits on the
    // worker, the window does not.
    StalledOpens stall(files, 8000);
    dlg->m_changeEnabled = TRUE;
    ::SendMessageW(Hwnd(), WM_TIMER, TIMER_CHANGE, 0);
    ASSERT_TRUE(PumpUntil(3000, [&] { return stall.Reached(); }));
    ::SendMessageW(Hwnd(), WM_TIMER, TIMER_CHANGE, 0);
    ::SendMessageW(Hwnd(), WM_TRAYNOTIFY, kTrayIconId, WM_LBUTTONDBLCLK);
    ::SendMessageW(Hwnd(), WM_TIMER, TIMER_DATE, 0);
    ::SendMessageW(Hwnd(), WM_COMMAND, ID_TRAY_PAUSE, 0);
    ::SendMessageW(Hwnd(), WM_COMMAND, ID_TRAY_TIDY_SCREEN, 0);
    EXPECT_TRUE(stall.StillHeld()) << "nothing here waits for the photo";
    Pump(100);
    EXPECT_EQ(2, compositions) << "nothing starts while one runs";
    EXPECT_EQ(0, dlg->stEnv.ispause) << "the pause waits for the picture under way";

    stall.Release();
    Settle();
    // The tick and the double click were answered by the picture under way; the pause then
    // kept that picture, and the tidy-up, owed, made one fresh picture more.
    EXPECT_EQ(3, compositions);
    EXPECT_EQ(1, dlg->stEnv.ispause);
    EXPECT_EQ(0, dlg->m_composer.ImageCount()) << "a paused, tidied screen holds no photo";
}

TEST_F(MainWindow, AShutDownDuringAStalledCompositionGivesTheWallpaperBackAtOnceAndForGood) {
    ListPhotos("photos", {"a.jpg"});
    const std::string list = ReadFile(dir.File("list.txt"));
    WriteSettings("isforeimg=1\r\n");
    // A share that answers only after a while, deaf to a cancel.
    StalledOpens stall(files, 5000, false);
    ASSERT_TRUE(Make().Create());
    ASSERT_TRUE(PumpUntil(3000, [&] { return stall.Reached(); }));

    EXPECT_EQ(TRUE, ::SendMessageW(Hwnd(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
    EXPECT_TRUE(stall.StillHeld()) << "answered before the read came back: Windows ends a program that waits";
    ASSERT_FALSE(system.wallpapers.empty());
    EXPECT_EQ(dlg->stEnv.oriwallpath, system.wallpapers.back()) << "the user's wallpaper is back";
    EXPECT_TRUE(Contains("env.ini", "isbackimg")) << "the settings are saved";
    EXPECT_EQ(list, ReadFile(dir.File("list.txt"))) << "the list the worker is using stays whole";

    // The share answers later: the cancelled picture never covers the user's.
    stall.Release();
    ASSERT_TRUE(PumpUntil(5000, [&] { return dlg->CompositionStopped(); }));
    Pump(50);
    EXPECT_EQ(dlg->stEnv.oriwallpath, system.wallpapers.back());

    // The end of the session was called off: the program goes on changing.
    files.onOpen = nullptr;
    dlg->m_changeEnabled = TRUE;
    const size_t shown = system.wallpapers.size();
    Send(WM_TIMER, TIMER_CHANGE);
    EXPECT_EQ(shown + 1, system.wallpapers.size());
}

TEST_F(MainWindow, PictureUnderTheSaveDialogDoesNotChangeAndSavingOverAFileAsksFirst) {
    Start();
    dlg->m_changeEnabled = TRUE;
    ASSERT_NE(nullptr, dlg->m_composer.SavedCanvas());
    Gdiplus::Bitmap* const before = dlg->m_composer.SavedCanvas();
    HWND saveDialog = nullptr;
    int attempts = 0, compositionsInside = -1;
    Gdiplus::Bitmap* canvasInside = nullptr;
    InsideModalLoop poke(200, [&] {
        saveDialog = FindOwnedDialog(Hwnd());
        if (!saveDialog) return ++attempts >= 50;  // not up yet
        // A tick, a double click, the date and a right click (no menu over it) while the user
        // picks a file name.
        ::SendMessageW(Hwnd(), WM_TIMER, TIMER_CHANGE, 0);
        ::SendMessageW(Hwnd(), WM_TRAYNOTIFY, kTrayIconId, WM_LBUTTONDBLCLK);
        ::SendMessageW(Hwnd(), WM_TIMER, TIMER_DATE, 0);
        ::SendMessageW(Hwnd(), WM_TRAYNOTIFY, kTrayIconId, WM_RBUTTONUP);
        compositionsInside = compositions;
        canvasInside = dlg->m_composer.SavedCanvas();
        ::PostMessageW(saveDialog, WM_COMMAND, IDCANCEL, 0);
        return true;
    });
    ::SendMessageW(Hwnd(), WM_COMMAND, ID_TRAY_SAVE_WALLPAPER, 0);  // returns when the dialog closed
    ASSERT_NE(nullptr, saveDialog) << "the save dialog did not come up";
    EXPECT_EQ(1, compositionsInside) << "no change while the save dialog is open";
    EXPECT_EQ(before, canvasInside);
    EXPECT_EQ(nullptr, ::FindWindowW(L"#32768", nullptr));

    // The double click waited for the dialog and is made once; ticks compose again.
    Settle();
    EXPECT_EQ(2, compositions);
    Send(WM_TIMER, TIMER_CHANGE);
    EXPECT_EQ(3, compositions);

    // Saving over an existing file asks first, and "no" keeps the file.
    const std::string mine = dir.File("mine.jpg");
    WriteFile(mine, "the user's own photo");
    for (int answer : {IDNO, IDYES}) {
        // Answers the save dialog with the name of the file, then the replace question with
        // `answer`; a dialog that saves without asking ends the walk with no question seen.
        HWND saveDialog = nullptr;
        bool typed = false, asked = false;
        int ticks = 0;
        InsideModalLoop walk(100, [&] {
            if (++ticks > 100) {  // ten seconds: give up and close whatever is open
                if (saveDialog && ::IsWindow(saveDialog)) ::PostMessageW(saveDialog, WM_COMMAND, IDCANCEL, 0);
                return true;
            }
            if (!saveDialog) {
                saveDialog = FindOwnedDialog(Hwnd());
                return false;
            }
            if (!::IsWindow(saveDialog)) return true;  // closed: saved, with or without a question
            if (!typed) {
                // The name box: a combo box's edit in the newer layout, a plain edit in the older.
                HWND box = ::GetDlgItem(saveDialog, cmb13);
                if (!box) box = ::GetDlgItem(saveDialog, edt1);
                if (!box) return false;
                ::SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(mb::Widen(mine).c_str()));
                ::PostMessageW(saveDialog, WM_COMMAND, IDOK, 0);
                typed = true;
                return false;
            }
            if (asked) {
                if (FindOwnedDialog(saveDialog)) return false;  // the question is still closing
                ::PostMessageW(saveDialog, WM_COMMAND, IDCANCEL, 0);  // "no" leaves the dialog open
                return true;
            }
            HWND question = FindOwnedDialog(saveDialog);
            if (!question) return false;
            asked = true;
            ::PostMessageW(question, WM_COMMAND, answer, 0);
            return answer == IDYES;
        });
        ::SendMessageW(Hwnd(), WM_COMMAND, ID_TRAY_SAVE_WALLPAPER, 0);  // returns when the dialog closed
        ASSERT_NE(nullptr, saveDialog) << "the save dialog did not come up";
        ASSERT_TRUE(typed);
        EXPECT_TRUE(asked) << "an existing file was replaced without a question";
        if (answer == IDNO)
            EXPECT_EQ("the user's own photo", ReadFile(mine).substr(0, 64)) << "\"no\" must keep the file";
        else
            EXPECT_EQ("\xFF\xD8", ReadFile(mine).substr(0, 2)) << "\"yes\" saves the wallpaper over it";
    }
}

// ---- What the user finished is on disk at once -----------------------------------------------

TEST_F(MainWindow, SettingsListAndPositionsAreOnDiskOnceTheSettingsWindowCloses) {
    const std::string photos = dir.MakeDir("photos");
    WriteFile(photos + "\\one.jpg", "not really a picture");
    Start();
    // Edits what the pages and the position editor edit, then closes the settings window as its
    // close box does.
    bool edited = false, savedBeforeClose = false;
    int attempts = 0;
    InsideModalLoop editAndClose(200, [&] {
        if (!dlg->m_pEnvSetDlg || !dlg->m_pEnvSetDlg->IsWindow()) return ++attempts >= 50;
        dlg->stEnv.isframe = 1;
        dlg->m_outPrograms = {"Notepad"};
        AddFolder(dlg->m_catalogue, photos);
        dlg->m_composer.ReplacePositions({RECT{10, 20, 410, 320}});
        edited = true;
        savedBeforeClose = Contains("env.ini", "isframe=1");
        ::PostMessageW(dlg->m_pEnvSetDlg->GetSafeHwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
        return true;
    });
    ::SendMessageW(Hwnd(), WM_COMMAND, ID_TRAY_SETTINGS, 0);  // returns when the window closed
    ASSERT_TRUE(edited) << "the settings window did not come up";
    EXPECT_FALSE(savedBeforeClose);

    // The program goes on running: nothing here came from its shut-down.
    ASSERT_TRUE(dlg->IsWindow());
    EXPECT_TRUE(Contains("env.ini", "isframe=1"));
    EXPECT_TRUE(Contains("env.ini", "outprogram0=Notepad"));
    const auto list = ReadLines(dir.File("list.txt"));
    ASSERT_GE(list.size(), 3u);
    EXPECT_EQ(0u, list[0].find(mb::ToLower(photos) + ",")) << list[0];
    EXPECT_EQ((std::vector<std::string>{"&", mb::ToLower(photos) + "\\one.jpg"}),
              std::vector<std::string>(list.begin() + 1, list.begin() + 3));
    EXPECT_EQ("10,20,410,320\r\n", ReadFile(dir.File("poslist.txt")));

    // The tray's two switches are written as they are flipped.
    Settle();
    ::SendMessageW(Hwnd(), WM_COMMAND, ID_TRAY_PAUSE, 0);
    EXPECT_TRUE(Contains("env.ini", "ispause=1"));
    ::SendMessageW(Hwnd(), WM_COMMAND, ID_TRAY_DESKTOP_ICONS, 0);
    EXPECT_TRUE(Contains("env.ini", "isiconhide=1"));
    ::SendMessageW(Hwnd(), WM_COMMAND, ID_TRAY_DESKTOP_ICONS, 0);  // the desktop as it was
}

// ---- Nobody looking --------------------------------------------------------------------------

// Tells `window` the display went off (0) or on (1), as WM_POWERBROADCAST does.
void SendDisplayState(HWND window, DWORD state) {
    struct {
        POWERBROADCAST_SETTING header;
        BYTE rest[sizeof(DWORD)];
    } m{};
    m.header.PowerSetting = {0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
    m.header.DataLength = sizeof(DWORD);
    std::memcpy(m.header.Data, &state, sizeof state);
    ::SendMessageW(window, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(&m));
}

TEST_F(MainWindow, NoChangesWhileLockedOrDarkAndOneWhenTheUserIsBack) {
    Start();
    ASSERT_EQ(1, compositions);
    dlg->m_changeEnabled = TRUE;
    const auto session = [&](WPARAM change) { ::SendMessageW(Hwnd(), WM_WTSSESSION_CHANGE, change, 0); };
    const auto tick = [&] { ::SendMessageW(Hwnd(), WM_TIMER, TIMER_CHANGE, 0); };
    const auto composedOnce = [&](int total) {
        ASSERT_TRUE(PumpUntil(2000, [&] { return compositions == total; }));
        Settle();
    };

    session(WTS_SESSION_LOCK);
    for (int i = 0; i < 3; ++i) tick();
    Pump(50);
    EXPECT_EQ(1, compositions) << "nothing is made for the lock screen";
    session(WTS_SESSION_UNLOCK);
    ASSERT_TRUE(PumpUntil(2000, [&] { return compositions == 2; })) << "one change when the user is back";
    Pump(100);
    EXPECT_EQ(2, compositions) << "and only one for the three ticks missed";
    Send(WM_TIMER, TIMER_CHANGE);
    EXPECT_EQ(3, compositions) << "ticks compose again";

    // Nothing due meanwhile: coming back makes nothing.
    session(WTS_SESSION_LOCK);
    session(WTS_SESSION_UNLOCK);
    Pump(100);
    EXPECT_EQ(3, compositions);

    // The display off: the same; a tick missed while paused stays undone when it comes back on.
    SendDisplayState(Hwnd(), 0);
    tick();
    EXPECT_EQ(3, compositions);
    SendDisplayState(Hwnd(), 1);
    composedOnce(4);

    dlg->stEnv.ispause = 1;
    SendDisplayState(Hwnd(), 0);
    tick();
    SendDisplayState(Hwnd(), 1);
    Pump(100);
    EXPECT_EQ(4, compositions) << "the held tick obeys the pause like any other";

    // A new day on the calendar while locked shows when the user is back, paused or not.
    dlg->stEnv.iscalender = 1;
    session(WTS_SESSION_LOCK);
    system.today = fw::LocalDate{2026, 12, 9, 3};
    ::SendMessageW(Hwnd(), WM_TIMER, TIMER_DATE, 0);
    EXPECT_EQ(4, compositions);
    session(WTS_SESSION_UNLOCK);
    composedOnce(5);

    // A display change while locked (monitors asleep, a dock) is held like the rest, then made once.
    dlg->m_displayChangeDelay = 10;
    session(WTS_SESSION_LOCK);
    system.SetMonitors({{RECT{0, 0, 800, 600}, RECT{0, 0, 800, 570}, true}});
    ::SendMessageW(Hwnd(), WM_DISPLAYCHANGE, 32, MAKELPARAM(800, 600));
    ::SendMessageW(Hwnd(), WM_DISPLAYCHANGE, 32, MAKELPARAM(800, 600));
    Pump(200);
    EXPECT_EQ(5, compositions) << "nothing is made for the lock screen";
    session(WTS_SESSION_UNLOCK);
    composedOnce(6);
    EXPECT_EQ(6, compositions);
    ASSERT_TRUE(dlg->m_composer.SavedCanvas());
    EXPECT_EQ(800u, dlg->m_composer.SavedCanvas()->GetWidth());
}

TEST_F(MainWindow, ASessionRegistrationRefusedEarlyInTheLogonIsTriedAgainUntilItHolds) {
    system.sessionRegistrationRefusals = 2;
    ASSERT_TRUE(Make().Create());
    EXPECT_EQ(0, system.sessionRegistrations);
    // The retry runs on its own timer; its ticks are sent here rather than waited for.
    Send(WM_TIMER, TIMER_SESSION_RETRY);
    Send(WM_TIMER, TIMER_SESSION_RETRY);
    EXPECT_EQ(1, system.sessionRegistrations);
    Send(WM_TIMER, TIMER_SESSION_RETRY);
    EXPECT_EQ(1, system.sessionRegistrations) << "registered once, not again";
}

// Locked, or disconnected, at start: nothing is composed until the session is back, then once.
TEST_F(MainWindow, ASessionLockedAtStartComposesNothingUntilTheUnlockThenOnce) {
    const struct { bool locked, connected; WPARAM back; } starts[] = {{true, false, WTS_SESSION_UNLOCK},
                                                                      {false, true, WTS_REMOTE_CONNECT}};
    for (const auto& start : starts) {
        SCOPED_TRACE(start.back);
        Close();
        system.session = {start.locked, start.connected};
        compositions = 0;
        const size_t shown = system.wallpapers.size();
        ASSERT_TRUE(Make().Create());
        ASSERT_TRUE(dlg->IsStarted());
        dlg->m_changeEnabled = TRUE;
        for (int i = 0; i < 3; ++i) ::SendMessageW(Hwnd(), WM_TIMER, TIMER_CHANGE, 0);
        Pump(50);
        EXPECT_EQ(0, compositions) << "neither the first picture nor a tick for the lock screen";
        ::SendMessageW(Hwnd(), WM_WTSSESSION_CHANGE, start.back, 0);
        ASSERT_TRUE(PumpUntil(2000, [&] { return compositions == 1; }));
        Settle();
        EXPECT_EQ(1, compositions);
        EXPECT_EQ(shown + 1, system.wallpapers.size());
    }
}

TEST_F(MainWindow, NegativeChangetimeNeverRunsChangesBackToBack) {
    WriteSettings("changetime=-1\r\n");
    ASSERT_TRUE(Make().Create());
    dlg->m_changeEnabled = TRUE;
    Pump(1500);
    EXPECT_EQ(1, compositions) << "only the first wallpaper within 1.5 s: the interval is the default 15 s";
}

// ---- Display changes ------------------------------------------------------------------------

TEST_F(MainWindow, DisplayChangesInARowComposeOnceForTheNewLayout) {
    Make().m_displayChangeDelay = 100;
    ASSERT_TRUE(dlg->Create());
    Settle();
    ASSERT_EQ(1, compositions);
    EXPECT_FALSE(dlg->m_composer.Layout().IsSpanned());

    // A second monitor is docked: the resolution, the layout and the work area change in a row.
    system.SetMonitors({{RECT{0, 0, 1024, 768}, RECT{0, 0, 1024, 738}, true},
                        {RECT{1024, 0, 2304, 1024}, RECT{1024, 0, 2304, 994}, false}});
    ::SendMessageW(Hwnd(), WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768));
    ::SendMessageW(Hwnd(), WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
    Pump(30);
    ::SendMessageW(Hwnd(), WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768));
    ::SendMessageW(Hwnd(), WM_DPICHANGED, MAKEWPARAM(120, 120), 0);
    EXPECT_EQ(1, compositions) << "nothing is composed while the changes go on";
    ASSERT_TRUE(PumpUntil(3000, [&] { return compositions == 2; }));
    Pump(400);
    Settle();
    EXPECT_EQ(2, compositions) << "several changes in a row compose once";
    EXPECT_TRUE(dlg->m_composer.Layout().IsSpanned());
    ASSERT_TRUE(dlg->m_composer.SavedCanvas());
    EXPECT_EQ(2304u, dlg->m_composer.SavedCanvas()->GetWidth());
    EXPECT_EQ(1024u, dlg->m_composer.SavedCanvas()->GetHeight());

    // The wallpaper's own broadcast and other settings are not display changes.
    ::SendMessageW(Hwnd(), WM_SETTINGCHANGE, SPI_SETDESKWALLPAPER, 0);
    ::SendMessageW(Hwnd(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"intl"));
    Pump(400);
    EXPECT_EQ(2, compositions);
}

TEST_F(MainWindow, ATaskBarMoveRedrawsTheCollageANewResolutionStartsItAfresh) {
    // Real 24-bit pictures, one colour each.
    ListPhotos("photos", {"a.bmp", "b.bmp", "c.bmp", "d.bmp"}, [](const std::string& path) {
        page_testing::WritePicture(path, 120, 90, Gdiplus::Color(255, 0x60, 0x60, 0x60), "bmp");
    });
    WriteSettings("isforeimg=1\r\nisoverlap=1\r\nimagepos=2\r\npiccleartotalcnt=10\r\nisrandum=0\r\n");
    Make().m_displayChangeDelay = 10;
    ASSERT_TRUE(dlg->Create());
    Settle();
    dlg->m_changeEnabled = TRUE;
    Send(WM_TIMER, TIMER_CHANGE);
    ASSERT_EQ(2, dlg->m_composer.ImageCount());
    const std::vector<std::string> collage = dlg->m_composer.CurrentImages();
    const size_t shown = system.wallpapers.size();

    // The task bar moves to the top: the same photos, the overlays where the work area is now.
    system.workArea = {0, 30, 1024, 738};
    ::SendMessageW(Hwnd(), WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
    ASSERT_TRUE(PumpUntil(2000, [&] { return system.wallpapers.size() == shown + 1; }));
    Settle();
    EXPECT_EQ(2, dlg->m_composer.ImageCount());
    EXPECT_EQ(collage, dlg->m_composer.CurrentImages()) << "no photo lost, none added";

    // A new resolution: the collage cannot go on.
    system.screenWidth = 800;
    system.screenHeight = 600;
    system.workArea = {0, 0, 800, 570};
    ::SendMessageW(Hwnd(), WM_DISPLAYCHANGE, 32, MAKELPARAM(800, 600));
    ASSERT_TRUE(PumpUntil(2000, [&] { return system.wallpapers.size() == shown + 2; }));
    Settle();
    EXPECT_EQ(1, dlg->m_composer.ImageCount());
}

// A catalogue used up in the last run is refilled on a worker thread: the start does not wait for
// the scan, timed changes are on, and the photos arrive while the window goes on answering.
TEST_F(MainWindow, AUsedUpCatalogueIsRefilledInTheBackground) {
    const std::string photos = dir.MakeDir("photos");
    for (const char* name : {"a.jpg", "b.png", "c.gif"}) WriteFile(photos + "\\" + name, "x");
    WriteFile(dir.File("list.txt"), photos + ",3\n&\n");
    WriteSettings("isforeimg=1\r\n");
    Start();
    EXPECT_EQ(1, compositions);
    EXPECT_TRUE(dlg->m_catalogue.Images().empty()) << "the first change found it used up";
    EXPECT_TRUE(dlg->m_changeEnabled) << "the refill under way brings photos for the timed changes";
    ASSERT_TRUE(PumpUntil(10000, [&] { return dlg->m_catalogue.Images().size() == 3; }));
    EXPECT_EQ(std::vector<std::string>{photos + ",3"}, dlg->m_catalogue.FolderEntries());
    dlg->OnChangeTimer();
    Settle();
    EXPECT_EQ(2, compositions);
    EXPECT_LT(dlg->m_catalogue.Images().size(), 3u) << "the next change took from the refill";
}

// An add handed over by a settings window that closed mid-scan is committed by the main window and
// written to list.txt, never in the middle of a composition, which reads the catalogue.
TEST_F(MainWindow, AnAdoptedFolderEditIsCommittedAfterTheCompositionAndWrittenToTheList) {
    const std::string kept = mb::ToLower(dir.MakeDir("kept")), added = mb::ToLower(dir.MakeDir("added"));
    WriteFile(kept + "\\a.jpg", "x");
    WriteFile(dir.File("list.txt"), kept + ",1\r\n&\r\n" + kept + "\\a.jpg\r\n");
    WriteFile(added + "\\b.jpg", "x");
    WriteFile(added + "\\c.jpg", "x");
    Start();

    FolderEdit edit;
    edit.kind = FolderEditKind::Add;
    edit.folder = added;
    edit.listBefore = dlg->m_catalogue.FolderEntries();
    edit.scan = std::make_unique<BackgroundScan>(std::vector<std::string>{added}, true);
    const BackgroundScan& scan = *edit.scan;
    dlg->AdoptFolderEdit(std::move(edit));
    for (int i = 0; i < 500 && !scan.Finished(); ++i) ::Sleep(10);  // no messages: no commit yet
    ASSERT_TRUE(scan.Finished());

    size_t listedInside = 0;
    system.onSetWallpaper = [&](const std::string&) {
        ::SendMessageW(Hwnd(), WM_TIMER, TIMER_ADOPTED_EDITS, 0);
        listedInside = dlg->m_catalogue.FolderEntries().size();
    };
    ::SendMessageW(Hwnd(), WM_COMMAND, ID_TRAY_TIDY_SCREEN, 0);
    EXPECT_TRUE(dlg->HasAdoptedFolderEdits());
    Settle();
    EXPECT_EQ(2, compositions);
    EXPECT_EQ(1u, listedInside) << "committed in the middle of a composition";

    ASSERT_TRUE(PumpUntil(3000, [&] { return !dlg->HasAdoptedFolderEdits(); }));
    EXPECT_EQ((std::vector<std::string>{kept + ",1", added + ",2"}), dlg->m_catalogue.FolderEntries());
    const auto list = ReadLines(dir.File("list.txt"));
    ASSERT_GE(list.size(), 3u);
    EXPECT_EQ((std::vector<std::string>{kept + ",1", added + ",2", "&"}),
              std::vector<std::string>(list.begin(), list.begin() + 3));
}

}  // namespace
