// Starts the real Dioramix.exe (copied into a scratch folder, so its files land there) and
// checks single instance, "-exit" and the files written at shut-down.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/application.h"
#include "framework/mbstring.h"
#include "program/program_fixture.h"
#include "support/test_support.h"

using testing_support::ReadLines;

namespace {

using namespace program_testing;

class RunningProgram : public ProgramTest {
protected:
    std::vector<std::string> IniKeys() const {
        std::vector<std::string> keys;
        for (const auto& line : ReadLines(dir.File("env.ini")))
            if (auto eq = line.find('='); eq != std::string::npos) keys.push_back(line.substr(0, eq));
        return keys;
    }

    std::string IniValue(const std::string& key) const {
        for (const auto& line : ReadLines(dir.File("env.ini")))
            if (line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
        return "<absent>";
    }
};

TEST_F(RunningProgram, SecondCopyEndsAtOnceAndExitInAnyCaseClosesTheFirst) {
    fw::KernelHandle first = Start();
    ASSERT_TRUE(first);
    HWND window = WaitForMainWindow(20000);
    ASSERT_NE(nullptr, window);

    fw::KernelHandle second = Start();
    ASSERT_TRUE(second);
    EXPECT_TRUE(Ended(second, 10000)) << "a second normal start must end at once";

    // "-exit" followed by more text is refused: it ends at once and touches nothing.
    fw::KernelHandle notExit = Start("-exit now");
    EXPECT_TRUE(Ended(notExit, 10000));
    DWORD code = 0;
    ::GetExitCodeProcess(notExit.get(), &code);
    EXPECT_EQ(static_cast<DWORD>(kExitRefused), code);
    EXPECT_FALSE(Ended(first, 0)) << "the first copy must be left untouched";
    EXPECT_EQ(window, FindRunningCopyMainWindow());

    fw::KernelHandle closer = Start("-EXIT");
    EXPECT_TRUE(Ended(closer, 20000));
    // "-exit" returns only once the copy has ended: an installer replaces its files next.
    EXPECT_TRUE(Ended(first, 0)) << "-EXIT must close the running copy and wait for it";

    // Shut-down wrote every key; oriwallpath came first, at start.
    std::vector<std::string> keys = IniKeys();
    ASSERT_FALSE(keys.empty());
    EXPECT_EQ("oriwallpath", keys.front());
    EXPECT_EQ(testing_support::SavedSettingsKeys(), std::vector<std::string>(keys.begin() + 1, keys.end()));

    // With no env.ini at start, the defaults are what the program holds and writes.
    using KeyValue = std::pair<const char*, const char*>;
    for (auto [key, value] : {KeyValue{"picmaxsize", "400"}, KeyValue{"changetime", "15"}, KeyValue{"min_sec", "1000"},
                              KeyValue{"isweekday", "1"}, KeyValue{"isforeimg", "0"}, KeyValue{"ymfontname", "Georgia"},
                              KeyValue{"backcolor", "7558472"}})
        EXPECT_EQ(value, IniValue(key)) << key;

    // list.txt holds the single separator line of an empty catalogue.
    EXPECT_EQ(std::vector<std::string>{"&"}, ReadLines(dir.File("list.txt")));
}

// The desktop's wallpaper as the registry names it.
std::wstring RegisteredWallpaper() {
    wchar_t path[1024] = {};
    DWORD size = sizeof path;
    ::RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"Wallpaper", RRF_RT_REG_SZ, nullptr, path, &size);
    return path;
}

void RegisterWallpaper(const std::wstring& path) {
    ::RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"Wallpaper", REG_SZ, path.c_str(),
                      static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
}

// A 1 x 1 24-bit BMP.
std::string TinyBmp() {
    const unsigned char bytes[58] = {'B', 'M', 58, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0,
                                     1, 0, 24, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                     0x30, 0x60, 0x90, 0};
    return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

TEST_F(RunningProgram, ExitWithNoCopyRunningGivesBackOnlyWhatAKilledRunLeft) {
    const std::wstring before = RegisteredWallpaper();
    fw::KernelHandle closer = Start("-exit");
    ASSERT_TRUE(closer);
    EXPECT_TRUE(Ended(closer, 10000));
    EXPECT_FALSE(testing_support::FileExists(dir.File("env.ini")));
    EXPECT_EQ(before, RegisteredWallpaper()) << "the desktop shows nothing of ours: nothing is touched";

    // A run killed while its picture was the wallpaper: env.ini kept the user's.
    const std::string users = dir.File("mine.bmp");
    testing_support::WriteFile(users, TinyBmp());
    testing_support::WriteFile(dir.File("Dioramix.bmp"), TinyBmp());
    testing_support::WriteFile(dir.File("env.ini"), "[DEFAULT]\r\noriwallpath=" + users + "\r\n");
    RegisterWallpaper(mb::Widen(dir.File("Dioramix.bmp")));
    closer = Start("-exit");
    EXPECT_TRUE(Ended(closer, 20000));
    EXPECT_EQ(mb::Widen(users), RegisteredWallpaper());
    EXPECT_EQ(nullptr, FindRunningCopyMainWindow()) << "no run of its own";
    RegisterWallpaper(before);
}

TEST_F(RunningProgram, EndOfSessionSavesAndLeavesTheProgramUsable) {
    testing_support::WriteFile(dir.File("env.ini"), "[DEFAULT]\r\nchangetime=9\r\nisStretch=0\r\n");
    fw::KernelHandle first;
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(StartUntilStartedUp(first, window));

    DWORD_PTR answer = 0;
    ASSERT_TRUE(::SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 10000, &answer));
    EXPECT_EQ(1u, answer) << "the program never vetoes the end of a session";
    EXPECT_EQ("9", IniValue("changetime"));
    EXPECT_EQ("0", IniValue("isstretch")) << testing_support::ReadFile(dir.File("env.ini"));
    EXPECT_FALSE(Ended(first, 500)) << "a cancelled session end leaves the program running";

    // The session end was cancelled; the real exit later saves again.
    ::DeleteFileA(dir.File("env.ini").c_str());
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(Ended(first, 15000));
    EXPECT_EQ("9", IniValue("changetime"));
}

// "-exit" while other windows titled "Dioramix" lie above the main window in z-order: a message
// box of that caption and an unrelated window (on Windows, a folder window of the program's
// own folder). Only the program ends; the others stay open.
TEST_F(RunningProgram, ExitClosesTheProgramAndNoOtherWindowOfItsTitle) {
    fw::KernelHandle first;
    HWND window = nullptr;
    ASSERT_NO_FATAL_FAILURE(StartUntilStartedUp(first, window));

    HWND folder = ::CreateWindowExW(0, L"STATIC", L"Dioramix", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 200,
                                    nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    HWND unownedDialog = ::CreateWindowExW(0, L"#32770", L"Dioramix", WS_POPUP | WS_CAPTION | WS_VISIBLE, 80, 80, 200,
                                           100, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, folder);
    ASSERT_NE(nullptr, unownedDialog);
    HWND box = nullptr;
    std::thread messageBox([] { ::MessageBoxW(nullptr, L"A message", L"Dioramix", MB_OK); });
    for (int i = 0; i < 100 && !box; ++i) {
        ::Sleep(50);
        for (HWND w = ::FindWindowW(L"#32770", L"Dioramix"); w; w = ::FindWindowExW(nullptr, w, L"#32770", L"Dioramix"))
            if (w != unownedDialog && w != window) box = w;
    }
    ASSERT_NE(nullptr, box);
    // All three are above the program's window: a lookup by title alone would take one of them.
    ASSERT_NE(window, ::FindWindowW(nullptr, L"Dioramix"));
    EXPECT_EQ(window, FindRunningCopyMainWindow());

    fw::KernelHandle closer = Start("-exit");
    EXPECT_TRUE(Ended(closer, 10000));
    EXPECT_TRUE(Ended(first, 15000)) << "the running copy must end";
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    EXPECT_TRUE(::IsWindow(box) && ::IsWindowVisible(box)) << "the message box stays";
    EXPECT_TRUE(::IsWindow(folder));
    EXPECT_TRUE(::IsWindow(unownedDialog));
    EXPECT_EQ(nullptr, FindRunningCopyMainWindow());

    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    messageBox.join();
    ::DestroyWindow(unownedDialog);
    ::DestroyWindow(folder);
}

}  // namespace
