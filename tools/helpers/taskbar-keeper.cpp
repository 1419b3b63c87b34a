// Keeps the Wine virtual desktop's task bar on the screen for the run and screenshot scripts.
// Wine paints a new desktop wallpaper over the task bar (and the tray icons in it) without
// repainting them; this helper repaints them after every wallpaper change.
//   taskbar-keeper wait        waits until the task bar is shown and the work area excludes it
//   taskbar-keeper keep TITLE  repaints the task bar after each wallpaper change while a window
//                              titled TITLE exists (it ends a little after that window is gone)
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr UINT_PTR kRepaintSoon = 1, kRepaintLater = 2, kWatch = 3;
std::wstring g_title;
bool g_seen = false;
int g_idleTicks = 0;

void RepaintTaskbar() {
    if (HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr))
        RedrawWindow(tray, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

LRESULT CALLBACK KeeperProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_SETTINGCHANGE:
        case WM_DISPLAYCHANGE:
            // The desktop repaints itself after the broadcast: repaint the bar once it is done.
            SetTimer(hwnd, kRepaintSoon, 100, nullptr);
            SetTimer(hwnd, kRepaintLater, 700, nullptr);
            return 0;
        case WM_TIMER:
            if (wp == kWatch) {
                const bool exists = FindWindowW(nullptr, g_title.c_str()) != nullptr;
                g_seen = g_seen || exists;
                g_idleTicks = exists ? 0 : g_idleTicks + 1;
                // Gone after it was seen, or never came within a minute.
                if ((g_seen && g_idleTicks > 2) || (!g_seen && g_idleTicks > 30)) PostQuitMessage(0);
                RepaintTaskbar();  // a slow safety net besides the broadcast
                return 0;
            }
            KillTimer(hwnd, wp);
            RepaintTaskbar();
            return 0;
        default:
            return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

bool TaskbarReady() {
    HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr);
    if (!tray || !IsWindowVisible(tray)) return false;
    RECT bar{}, work{};
    GetWindowRect(tray, &bar);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work.bottom <= bar.top;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"wait") {
        for (int i = 0; i < 600; ++i) {  // a fresh prefix takes a while
            if (TaskbarReady()) return 0;
            Sleep(100);
        }
        std::puts("taskbar-keeper: the task bar did not appear");
        return 1;
    }
    if (mode != L"keep" || argc < 3) {
        std::puts("usage: taskbar-keeper wait | keep TITLE");
        return 2;
    }
    g_title = argv[2];
    WNDCLASSW wc{};
    wc.lpfnWndProc = KeeperProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"DioramixTaskbarKeeper";
    RegisterClassW(&wc);
    // A hidden top-level window: broadcasts of setting changes reach it.
    HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                wc.hInstance, nullptr);
    if (!hwnd) return 1;
    SetTimer(hwnd, kWatch, 2000, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}
