// Measures how fast the running program's main window answers while it changes the wallpaper.
//   answer-probe ping SECONDS [compose]
// Finds the window by its mark, optionally asks for a change (the tray icon's double click), then
// sends WM_NULL every 10 ms for SECONDS and prints the slowest answer and the 99th percentile.
// Exit code 0 when every answer came within 250 ms, 1 otherwise, 2 without a running copy.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/tray_icon.h"

namespace {

// The property the running copy's main window carries (kMainWindowMark).
constexpr wchar_t kMark[] = L"Dioramix.MainWindow";

struct Search {
    HWND found = nullptr;
};

BOOL CALLBACK FindMarked(HWND window, LPARAM lp) {
    if (!::GetPropW(window, kMark)) return TRUE;
    reinterpret_cast<Search*>(lp)->found = window;
    return FALSE;
}

HWND MainWindow() {
    Search search;
    ::EnumWindows(FindMarked, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || std::strcmp(argv[1], "ping") != 0) {
        std::fprintf(stderr, "usage: answer-probe ping SECONDS [compose]\n");
        return 2;
    }
    const DWORD span = static_cast<DWORD>(std::atof(argv[2]) * 1000);
    HWND window = MainWindow();
    if (!window) {
        std::printf("answer-probe: no running copy\n");
        return 2;
    }
    if (argc > 3 && !std::strcmp(argv[3], "compose"))
        ::PostMessageW(window, WM_TRAYNOTIFY, kTrayIconId, WM_LBUTTONDBLCLK);
    std::vector<DWORD> answers;
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < span) {
        const DWORD before = ::GetTickCount();
        DWORD_PTR result = 0;
        ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
        answers.push_back(::GetTickCount() - before);
        ::Sleep(10);
    }
    if (answers.empty()) return 2;
    std::sort(answers.begin(), answers.end());
    const DWORD slowest = answers.back();
    const DWORD p99 = answers[answers.size() * 99 / 100];
    std::printf("answer-probe: %zu answers, slowest %lu ms, 99th percentile %lu ms\n", answers.size(),
                static_cast<unsigned long>(slowest), static_cast<unsigned long>(p99));
    return slowest <= 250 ? 0 : 1;
}
