#pragma once
// A settings page on its own: the context built around a scratch program folder (with a Masks
// folder of small GIFs made here) and the fake system, and a plain parent window to hold the page.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <objidl.h>
#include <gdiplus.h>

#include <functional>
#include <map>
#include <tuple>
#include <string>
#include <vector>

#include "composer/composer.h"
#include "composer/output.h"
#include "settings_ui/settings_context.h"
#include "support/recording_owner.h"
#include "support/fake_system.h"
#include "support/gif_writer.h"
#include "support/test_support.h"

namespace settings_testing {

using testing_support::RecordingOwner;

// A W x H GIF: the left half black, the rest white, so a thumbnail shows where the mask went.
inline void WriteMask(const std::string& path, int w, int h) {
    testing_support::WriteTwoColourGif(path, w, h, {255, 255, 255}, {0, 0, 0},
                                       [w](int x, int) { return x < w / 2; });
}

inline void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// Runs `step` from inside whatever modal loop is running, once, after `delayMs`.
class InsideModalLoop {
public:
    InsideModalLoop(std::function<void()> step, UINT delayMs = 50) {
        m_timer = ::SetTimer(nullptr, 0, delayMs, &InsideModalLoop::Fire);
        Steps()[m_timer] = std::move(step);
    }
    ~InsideModalLoop() {
        ::KillTimer(nullptr, m_timer);
        Steps().erase(m_timer);
    }
    InsideModalLoop(const InsideModalLoop&) = delete;
    InsideModalLoop& operator=(const InsideModalLoop&) = delete;

private:
    static std::map<UINT_PTR, std::function<void()>>& Steps() {
        static std::map<UINT_PTR, std::function<void()>> steps;
        return steps;
    }
    static void CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD) {
        ::KillTimer(nullptr, id);
        auto found = Steps().find(id);
        if (found == Steps().end()) return;
        auto step = std::move(found->second);
        Steps().erase(found);
        if (step) step();
    }
    UINT_PTR m_timer = 0;
};

// The top-level dialog box (#32770) of this thread other than `except`, if one exists (a modal
// loop shows its dialog only once its queue is empty: it may still be hidden).
inline HWND FindThreadDialog(HWND except = nullptr) {
    struct Search { HWND except; HWND found; } search{except, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), [](HWND hwnd, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        wchar_t cls[16] = {};
        ::GetClassNameW(hwnd, cls, 16);
        if (hwnd != s->except && std::wstring(cls) == L"#32770") {
            s->found = hwnd;
            return FALSE;
        }
        return TRUE;
    }, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

inline std::wstring WindowText(HWND hwnd) {
    wchar_t text[512] = {};
    ::GetWindowTextW(hwnd, text, 512);
    return text;
}

class PageFixture : public ::testing::Test {
protected:
    testing_support::ScratchDir dir;
    testing_support::FakeSystem system;
    EnvSettings env;
    OutProgramList outPrograms;
    ImageCatalogue catalogue;
    Composer composer{env, catalogue, system};
    RecordingOwner owner;
    int lastPage = 0;
    SettingsContext context{env, outPrograms, catalogue, composer, system, owner, lastPage};
    HWND parent = nullptr;

    void SetUp() override {
        ::InitCommonControls();
        env.m_exePath = dir.path();
        env.framesize = 7;
        env.rotatevalue = 90;
        parent = ::CreateWindowExW(0, L"STATIC", L"page parent", WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE | WS_CLIPCHILDREN, 20, 20,
                                   640, 420, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(nullptr, parent);
    }
    void TearDown() override {
        if (parent) ::DestroyWindow(parent);
    }

    // Masks folder with the given files (name, width, height), listed as the main window lists them.
    void MakeMasks(const std::vector<std::tuple<std::string, int, int>>& masks) {
        std::string folder = dir.MakeDir("Masks");
        for (const auto& [name, w, h] : masks) WriteMask(folder + "\\" + name, w, h);
        composer.LoadMasks(folder);
    }

    // Shows a created page filling the parent's client area.
    static void Place(HWND page, HWND parent) {
        RECT client{};
        ::GetClientRect(parent, &client);
        ::MoveWindow(page, 0, 0, client.right, client.bottom, TRUE);
        ::ShowWindow(page, SW_SHOW);
        Pump();
    }

    static bool Checked(HWND page, int id) {
        return ::SendMessageW(::GetDlgItem(page, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    static bool Enabled(HWND page, int id) { return ::IsWindowEnabled(::GetDlgItem(page, id)) != FALSE; }
    static void Click(HWND page, int id) { ::SendMessageW(::GetDlgItem(page, id), BM_CLICK, 0, 0); }
};

}  // namespace settings_testing
