// The foreground check over real windows. The virtual desktop has windows of its own (the
// taskbar), so the walk is the real z-order walk restricted to the windows a test made.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/desktop.h"
#include "framework/mbstring.h"

namespace {

class RealWindows : public ::testing::Test {
protected:
    std::vector<HWND> mine;
    OutProgramList exceptions;

    HWND Make(const wchar_t* title, HWND owner = nullptr, int show = SW_SHOWNOACTIVATE) {
        HWND w = ::CreateWindowExW(0, L"STATIC", title, WS_OVERLAPPEDWINDOW, 40, 40, 200, 120, owner, nullptr,
                                   ::GetModuleHandleW(nullptr), nullptr);
        if (w) {
            ::ShowWindow(w, show);
            mine.push_back(w);
        }
        Pump();
        return w;
    }
    static void Pump() {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    }
    std::vector<TopWindowRecord> MyWalk() {
        std::vector<TopWindowRecord> walk;
        for (const TopWindowRecord& r : WalkTopLevelWindows(mine.empty() ? ::GetDesktopWindow() : mine.front()))
            if (std::find(mine.begin(), mine.end(), r.hwnd) != mine.end()) walk.push_back(r);
        return walk;
    }
    bool Active() { return IsOtherProgramActive(MyWalk(), exceptions); }
    void TearDown() override {
        for (auto it = mine.rbegin(); it != mine.rend(); ++it) ::DestroyWindow(*it);
    }
};

TEST_F(RealWindows, WalkSeesEveryWindowMadeInZOrder) {
    HWND first = Make(L"first");
    HWND second = Make(L"second");
    ::SetWindowPos(first, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    std::vector<TopWindowRecord> walk = MyWalk();
    ASSERT_EQ(2u, walk.size());
    EXPECT_EQ(first, walk[0].hwnd);
    EXPECT_EQ(second, walk[1].hwnd);
}

TEST_F(RealWindows, VisibleTitledWindowBlocks) {
    Make(L"Report - editor");
    EXPECT_TRUE(Active());
}

TEST_F(RealWindows, MinimisedOwnedUntitledAndHiddenWindowsDoNotBlock) {
    Make(L"Minimised editor", nullptr, SW_SHOWMINNOACTIVE);
    HWND owner = Make(L"", nullptr, SW_HIDE);
    Make(L"Owned tool window", owner);
    Make(L"");
    Make(L"Hidden editor", nullptr, SW_HIDE);
    std::vector<TopWindowRecord> walk = MyWalk();
    ASSERT_EQ(5u, walk.size());
    EXPECT_FALSE(Active());
}

TEST_F(RealWindows, OwnedStartMenuBlocks) {
    HWND owner = Make(L"", nullptr, SW_HIDE);
    Make(L"\uC2DC\uC791 \uBA54\uB274", owner);  // 시작 메뉴
    EXPECT_TRUE(Active());
}

TEST_F(RealWindows, ExactExceptionTitleDoesNotBlockButNearMissesDo) {
    exceptions = {"Movie Player", mb::Narrow(L"\uBA54\uBAA8\uC7A5")};  // 메모장
    HWND exact = Make(L"Movie Player");
    Make(L"\uBA54\uBAA8\uC7A5");
    EXPECT_FALSE(Active());

    HWND oneCharacter = Make(L"Movie Playe");
    EXPECT_TRUE(Active());
    ::DestroyWindow(oneCharacter);
    mine.erase(std::find(mine.begin(), mine.end(), oneCharacter));
    EXPECT_FALSE(Active());

    ::SetWindowTextW(exact, L"movie player");
    EXPECT_TRUE(Active());
}

TEST_F(RealWindows, DesktopTitleDoesNotBlock) {
    Make(L"Program Manager");
    EXPECT_FALSE(Active());
}

}  // namespace
