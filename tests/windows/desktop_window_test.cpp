// The foreground check over real windows. The virtual desktop has windows of its own (the
// taskbar), so the walk is the real z-order walk restricted to the windows a test made.

#include "app/desktop.h"
#include "windows/page_fixture.h"

namespace {

class RealWindows : public ::testing::Test {
protected:
    page_testing::TopWindows mine;
    OutProgramList exceptions;
    // Says which windows the window manager has cloaked.
    class CloakingSystem : public testing_support::FakeSystem {
    public:
        std::vector<HWND> cloaked;
        bool IsWindowCloaked(HWND w) override { return std::find(cloaked.begin(), cloaked.end(), w) != cloaked.end(); }
    } system;

    std::vector<TopWindowRecord> MyWalk() {
        std::vector<TopWindowRecord> walk;
        for (const TopWindowRecord& r : WalkTopLevelWindows([this](HWND w) { return DescribeWindow(w, system); }))
            if (mine.Holds(r.hwnd)) walk.push_back(r);
        return walk;
    }
    bool Active() { return IsOtherProgramActive(MyWalk(), exceptions); }
};

TEST_F(RealWindows, WalkSeesEveryWindowMadeInZOrder) {
    HWND first = mine.Make(L"first");
    HWND second = mine.Make(L"second");
    ::SetWindowPos(first, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    std::vector<TopWindowRecord> walk = MyWalk();
    ASSERT_EQ(2u, walk.size());
    EXPECT_EQ(first, walk[0].hwnd);
    EXPECT_EQ(second, walk[1].hwnd);
}

// Each window alone, beside a hidden owner: whether it holds the changes, and that the walk met it.
TEST_F(RealWindows, OnlyVisibleTitledUnownedWindowsAndTheStartMenuBlock) {
    HWND owner = mine.Make(L"", nullptr, SW_HIDE);
    const struct { std::wstring title; bool owned; int show; bool blocks; } windows[] = {
        {L"Report - editor", false, SW_SHOWNOACTIVATE, true},
        {fw::LoadText(IDS_START_MENU_TITLE), true, SW_SHOWNOACTIVATE, true},
        {L"Minimised editor", false, SW_SHOWMINNOACTIVE, false},
        {L"Owned tool window", true, SW_SHOWNOACTIVATE, false},
        {L"", false, SW_SHOWNOACTIVATE, false},
        {L"Hidden editor", false, SW_HIDE, false},
        {L"Program Manager", false, SW_SHOWNOACTIVATE, false}};
    for (const auto& w : windows) {
        HWND made = mine.Make(w.title.c_str(), w.owned ? owner : nullptr, w.show);
        EXPECT_EQ(2u, MyWalk().size()) << mb::Narrow(w.title);
        EXPECT_EQ(w.blocks, Active()) << mb::Narrow(w.title);
        mine.Destroy(made);
    }
}

TEST_F(RealWindows, ExactExceptionTitleDoesNotBlockButNearMissesDo) {
    exceptions = {"Movie Player", mb::Narrow(L"\uBA54\uBAA8\uC7A5")};  // 메모장
    HWND exact = mine.Make(L"Movie Player");
    mine.Make(L"\uBA54\uBAA8\uC7A5");
    EXPECT_FALSE(Active());

    HWND oneCharacter = mine.Make(L"Movie Playe");
    EXPECT_TRUE(Active());
    mine.Destroy(oneCharacter);
    EXPECT_FALSE(Active());

    ::SetWindowTextW(exact, L"movie player");
    EXPECT_TRUE(Active());
}

TEST_F(RealWindows, CloakedWindowsDoNotBlockAndTheRealQueryFindsNoneHere) {
    HWND settings = mine.Make(L"Settings");
    HWND otherDesktop = mine.Make(L"Mail - other desktop");
    system.cloaked = {settings, otherDesktop};
    EXPECT_FALSE(Active());
    // A closed Start menu, cloaked too.
    HWND startMenu = mine.Make(fw::LoadText(IDS_START_MENU_TITLE).c_str(), settings);
    system.cloaked.push_back(startMenu);
    EXPECT_FALSE(Active());
    system.cloaked = {settings, startMenu};
    EXPECT_TRUE(Active());  // the window brought back into sight counts again

    // The real query finds nothing cloaked here.
    fw::RealSystem real;
    EXPECT_FALSE(real.IsWindowCloaked(settings));
    EXPECT_FALSE(real.IsWindowCloaked(nullptr));
}

TEST_F(RealWindows, ToolOverlayAndEmptyWindowsDoNotBlockWhileAPlainOneDoes) {
    HWND tool = mine.Make(L"Palette");
    ::SetWindowLongPtrW(tool, GWL_EXSTYLE, ::GetWindowLongPtrW(tool, GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
    HWND quiet = mine.Make(L"Widget");
    ::SetWindowLongPtrW(quiet, GWL_EXSTYLE, ::GetWindowLongPtrW(quiet, GWL_EXSTYLE) | WS_EX_NOACTIVATE);
    HWND overlay = mine.Make(L"Overlay");
    ::SetWindowLongPtrW(overlay, GWL_EXSTYLE,
                        ::GetWindowLongPtrW(overlay, GWL_EXSTYLE) | WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOPMOST);
    ::SetLayeredWindowAttributes(overlay, 0, 128, LWA_ALPHA);
    HWND empty = mine.Make(L"Empty");
    // A popup: a framed window is held to the smallest size a user could drag it to.
    ::SetWindowLongPtrW(empty, GWL_STYLE, WS_POPUP | WS_VISIBLE);
    ::SetWindowPos(empty, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    std::vector<TopWindowRecord> walk = MyWalk();
    ASSERT_EQ(4u, walk.size());
    for (const TopWindowRecord& r : walk) EXPECT_TRUE(IsOutOfUsersWay(r)) << r.title;
    EXPECT_FALSE(Active()) << "changes go on under them";

    mine.Make(L"Report - editor");
    EXPECT_TRUE(Active());
}

// Other programs reorder and close windows while the walk describes them: every window that
// was there is met exactly once, in the order at the start, and the walk ends.
TEST_F(RealWindows, ZOrderChangingDuringTheWalkSkipsNothingAndNeverLoops) {
    HWND doomed = mine.Make(L"closes during the walk");  // the lowest: closed before it is met
    for (int i = 0; i < 5; ++i) mine.Make((L"window " + std::to_wstring(i)).c_str());
    std::vector<HWND> before;
    for (HWND w : TopLevelWindowsInZOrder())
        if (mine.Holds(w)) before.push_back(w);
    ASSERT_EQ(6u, before.size());
    ASSERT_EQ(doomed, before.back());

    std::vector<HWND> met;
    int calls = 0;
    std::vector<TopWindowRecord> walk = WalkTopLevelWindows([&](HWND w) {
        if (++calls > 10000) ADD_FAILURE() << "the walk does not end";
        if (mine.Holds(w)) {
            met.push_back(w);
            // The window just described drops to the bottom and the first one met comes back to
            // the top: a walk by next-window steps would end here or go round for ever.
            ::SetWindowPos(w, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            ::SetWindowPos(met.front(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            if (doomed && w != doomed) {
                mine.Destroy(doomed);
                doomed = nullptr;
            }
        }
        return DescribeWindow(w, system);
    });
    EXPECT_LE(calls, 10000);
    std::vector<HWND> expected;
    for (HWND w : before)
        if (mine.Holds(w)) expected.push_back(w);
    // The closed window is met (as gone: not visible) or not at all; every other exactly once.
    std::vector<HWND> metAlive;
    for (HWND w : met)
        if (mine.Holds(w)) metAlive.push_back(w);
    EXPECT_EQ(expected, metAlive);
    const HWND closed = before.back();
    ASSERT_FALSE(::IsWindow(closed));
    for (const TopWindowRecord& r : walk)
        if (r.hwnd == closed) {
            EXPECT_FALSE(r.visible) << "a closed window never counts";
        }
}

// The shell's icon view, as Windows 8 to 11 keep it once the desktop has been animated: in a
// "WorkerW" window, not in "Progman".
class DesktopIconView : public ::testing::Test {
protected:
    static LRESULT CALLBACK Plain(HWND h, UINT m, WPARAM w, LPARAM l) { return ::DefWindowProcW(h, m, w, l); }
    static void Register(const wchar_t* name) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Plain;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = name;
        ::RegisterClassW(&wc);
    }
    HWND worker = nullptr, emptyWorker = nullptr, view = nullptr, list = nullptr;
    void SetUp() override {
        Register(L"WorkerW");
        Register(L"SHELLDLL_DefView");
        if (HWND progman = ::FindWindowW(L"Progman", nullptr)) {
            ASSERT_EQ(nullptr, ::FindWindowExW(progman, nullptr, L"SHELLDLL_DefView", nullptr))
                << "this desktop has the view in Progman";
        }
        emptyWorker = ::CreateWindowExW(0, L"WorkerW", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        worker = ::CreateWindowExW(0, L"WorkerW", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        view = ::CreateWindowExW(0, L"SHELLDLL_DefView", L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, worker, nullptr,
                                 nullptr, nullptr);
        ASSERT_NE(nullptr, view);
        list = ::CreateWindowExW(0, L"SysListView32", L"FolderView", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, view, nullptr,
                                 nullptr, nullptr);
        ASSERT_NE(nullptr, list);
        ::SetWindowPos(emptyWorker, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    void TearDown() override {
        ::DestroyWindow(worker);
        ::DestroyWindow(emptyWorker);
    }
};

bool Visible(HWND w) { return (::GetWindowLongW(w, GWL_STYLE) & WS_VISIBLE) != 0; }

TEST_F(DesktopIconView, FoundInAWorkerWAndOnlyItsIconListHiddenAndShown) {
    EXPECT_EQ(view, FindDesktopIconView());
    EXPECT_EQ(list, FindDesktopIconList());
    EnvSettings env;
    ResetSettings(env);
    ToggleDesktopIcons(env);
    EXPECT_EQ(1, env.isiconhide);
    EXPECT_FALSE(Visible(list));
    EXPECT_TRUE(Visible(view)) << "the desktop keeps its view and with it its context menu";
    // Shut-down shows them again, leaving the flag set.
    ShowDesktopIcons();
    EXPECT_TRUE(Visible(list));
    EXPECT_EQ(1, env.isiconhide);
    ::ShowWindow(list, SW_HIDE);
    ToggleDesktopIcons(env);
    EXPECT_EQ(0, env.isiconhide);
    EXPECT_TRUE(Visible(list));
    EXPECT_TRUE(Visible(view));

    // A restarted shell's new desktop: hidden again once its list is there.
    EXPECT_TRUE(HideDesktopIcons());
    EXPECT_FALSE(Visible(list));
    ::DestroyWindow(list);
    EXPECT_FALSE(HideDesktopIcons()) << "not there yet";
}

}  // namespace
