#pragma once
// What every window test of the settings pages and their dialogs stands on, with the headers they
// share: the settings context around a scratch program folder and the fake system, a plain dialog
// window standing in for the settings window, and the helpers that pump messages, read and press
// controls and answer the modal loops the pages open.

// The window layer's own test template (the resource script reads these lines too).
#define IDD_FW_PROBE     9001
#define IDC_FW_PLAIN     9011
#define IDC_FW_BOUND     9012
#define IDC_FW_RANGE_A   9013
#define IDC_FW_RANGE_B   9014
#define IDC_FW_EDIT      9015

#ifndef RC_INVOKED

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <ostream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "composer/composer.h"
#include "composer/output.h"
#include "framework/handles.h"
#include "framework/mbstring.h"
#include "framework/registry.h"
#include "framework/texts.h"
#include "resource.h"
#include "settings_ui/prompts.h"
#include "settings_ui/settings_context.h"
#include "state/catalogue.h"
#include "state/settings.h"
#include "support/canvas.h"
#include "support/fake_system.h"
#include "support/gif_writer.h"
#include "support/message_pump.h"
#include "support/test_support.h"

// Rectangles compared and printed whole, so that a failure shows both.
inline bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline void PrintTo(const RECT& r, std::ostream* os) {
    *os << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

namespace page_testing {

using testing_support::Canvas;
using testing_support::ScratchDir;
using testing_support::TopDownBitmapInfo;

// The program's face as the settings windows see it, recording what they ask of it.
class RecordingOwner : public ISettingsOwner {
public:
    HWND window = nullptr;
    int tipUpdates = 0;
    int iconUpdates = 0;
    HWND MainWindow() const override { return window; }
    void UpdateTrayTip() override { ++tipUpdates; }
    void UpdateTrayIcon() override { ++iconUpdates; }
    std::vector<HotkeyVerb> takenHotkeys;
    bool HotkeyTaken(HotkeyVerb verb) const override {
        return std::find(takenHotkeys.begin(), takenHotkeys.end(), verb) != takenHotkeys.end();
    }
    // Edits handed over by a window that closed; a test commits them as the main window does.
    AdoptedFolderEdits adopted;
    int adoptions = 0;
    void AdoptFolderEdit(FolderEdit edit) override {
        ++adoptions;
        adopted.Adopt(std::move(edit));
    }
};

// What the settings windows ask the user, recorded and answered as a test sets it up. With
// `realMessages` the message boxes are shown for real (and still recorded).
class FakePrompts : public IPrompts {
public:
    struct Message {
        HWND owner;
        std::wstring text;
        std::wstring caption;
        UINT type;
        bool operator==(const Message&) const = default;
        friend void PrintTo(const Message& m, std::ostream* os) {
            *os << m.owner << " \"" << mb::Narrow(m.text) << "\" \"" << mb::Narrow(m.caption) << "\" " << m.type;
        }
    };
    std::vector<Message> messages;
    bool realMessages = false;
    // The colours offered to the colour dialog, and its answer: a colour on OK, none to cancel.
    std::vector<COLORREF> offeredColors;
    std::vector<HWND> colorOwners;
    std::optional<COLORREF> colorAnswer;
    // The folder browser's and the file dialog's answers (none: cancelled), and their owners.
    std::optional<std::string> folderAnswer;
    std::optional<std::string> imageFileAnswer;
    std::vector<HWND> chooserOwners;

    int ShowMessage(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) override {
        messages.push_back({owner, text, caption, type});
        return realMessages ? SystemPrompts().ShowMessage(owner, text, caption, type) : IDOK;
    }
    bool PickColor(HWND owner, COLORREF& color) override {
        offeredColors.push_back(color);
        colorOwners.push_back(owner);
        if (!colorAnswer) {
            color = RGB(1, 1, 1);  // a dialog may scribble on a cancelled choice: it must not count
            return false;
        }
        color = *colorAnswer;
        return true;
    }
    bool BrowseForFolder(HWND owner, std::string& folder) override { return Answer(owner, folderAnswer, folder); }
    bool ChooseImageFile(HWND owner, std::string& path) override { return Answer(owner, imageFileAnswer, path); }

    std::vector<std::wstring> MessageTexts() const {
        std::vector<std::wstring> texts;
        for (const Message& m : messages) texts.push_back(m.text);
        return texts;
    }

private:
    bool Answer(HWND owner, const std::optional<std::string>& answer, std::string& out) {
        chooserOwners.push_back(owner);
        if (!answer) return false;
        out = *answer;
        return true;
    }
};

// ---- Messages ---------------------------------------------------------------------------------

// The messages waiting for this thread (posted requests, paints); for about `ms` milliseconds, so
// the desktop can place and paint what was shown; or until `done` says so (false when `ms` passed
// first).
inline void Pump() { testing_support::Pump(0); }
inline void PumpFor(DWORD ms) { testing_support::Pump(ms); }
inline bool PumpUntil(const std::function<bool()>& done, DWORD ms = 10000) {
    return testing_support::PumpUntil(ms, done);
}

// Where a window's worker waits until the test lets it on, as a read from a share that stopped
// answering does. Held by shared_ptr: the worker may outlive the window and the test's scope.
class Gate {
public:
    // Called on the worker: waits for its turn, or 20 s, so that a window that wrongly waits for its
    // worker fails its test instead of hanging it.
    void Pass() {
        std::unique_lock<std::mutex> lock(m_mutex);
        ++m_arrived;
        m_changed.notify_all();
        m_changed.wait_for(lock, std::chrono::seconds(20), [this] { return m_passed < m_allowed; });
        ++m_passed;
    }
    int Passed() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_passed;
    }
    void Let(int count = 1) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_allowed += count;
        m_changed.notify_all();
    }
    // Waits (without pumping) until `count` callers have come to the gate.
    bool Arrived(int count, DWORD ms = 5000) {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::milliseconds(ms), [&] { return m_arrived >= count; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_arrived = 0, m_allowed = 0, m_passed = 0;
};

// ---- Controls ---------------------------------------------------------------------------------

inline std::wstring TextOf(HWND window) {
    wchar_t text[512] = {};
    if (window) ::GetWindowTextW(window, text, 512);
    return text;
}
// A control's text in the program's code page.
inline std::string ItemText(HWND dialog, int id) { return mb::Narrow(TextOf(::GetDlgItem(dialog, id))); }

inline void Click(HWND button) { ::SendMessageW(button, BM_CLICK, 0, 0); }
inline void Click(HWND dialog, int id) { Click(::GetDlgItem(dialog, id)); }
inline bool Checked(HWND dialog, int id) {
    return ::SendMessageW(::GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}
inline bool Enabled(HWND dialog, int id) { return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != FALSE; }

// A list view click as the list reports it to its dialog (a row, or -1 beside the rows).
inline void ClickRow(HWND dialog, int listId, int row, UINT code = NM_CLICK) {
    NMITEMACTIVATE click{};
    click.hdr.hwndFrom = ::GetDlgItem(dialog, listId);
    click.hdr.idFrom = static_cast<UINT_PTR>(listId);
    click.hdr.code = code;
    click.iItem = row;
    ::SendMessageW(dialog, WM_NOTIFY, static_cast<WPARAM>(listId), reinterpret_cast<LPARAM>(&click));
}

// The item of a list view labelled `label`; -1 when there is none.
inline int FindListItem(HWND list, const wchar_t* label) {
    LVFINDINFOW find{LVFI_STRING, label};
    const LRESULT item = ::SendMessageW(list, LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find));
    return static_cast<int>(item);
}

inline int RowCount(HWND list) { return static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

inline std::string CellText(HWND list, int row, int column) {
    wchar_t buffer[512] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = 512;
    ::SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return mb::Narrow(buffer);
}

// The range an up-down control keeps its buddy's number in.
inline std::pair<int, int> SpinRange(HWND spin) {
    int low = 0, high = 0;
    ::SendMessageW(spin, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
    return {low, high};
}

inline RECT RectOf(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return r;
}

// ---- Dialogs of this thread and their modal loops ------------------------------------------------

// The first top-level dialog box (#32770) of this thread that `wanted` accepts.
inline HWND FindThreadDialog(const std::function<bool(HWND)>& wanted) {
    struct Search { const std::function<bool(HWND)>* wanted; HWND found; } search{&wanted, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), [](HWND hwnd, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        wchar_t cls[16] = {};
        ::GetClassNameW(hwnd, cls, 16);
        if (std::wstring(cls) != L"#32770" || !(*s->wanted)(hwnd)) return TRUE;
        s->found = hwnd;
        return FALSE;
    }, reinterpret_cast<LPARAM>(&search));
    return search.found;
}
// Any dialog but `except` (a modal loop shows its dialog only once its queue is empty: it may
// still be hidden).
inline HWND FindThreadDialog(HWND except) {
    return FindThreadDialog([except](HWND hwnd) { return hwnd != except; });
}
// A shown dialog with the given title (a message box's caption).
inline HWND FindThreadDialog(const std::wstring& title) {
    return FindThreadDialog([&title](HWND hwnd) { return ::IsWindowVisible(hwnd) && TextOf(hwnd) == title; });
}
// A shown dialog that `owner` owns.
inline HWND FindOwnedDialog(HWND owner) {
    return FindThreadDialog([owner](HWND hwnd) { return ::IsWindowVisible(hwnd) && ::GetWindow(hwnd, GW_OWNER) == owner; });
}

// Runs a step from inside whatever modal loop is running: once after `delayMs`, or every
// `intervalMs` until the step says it is done (what it waits for may still be on its way).
class InsideModalLoop {
public:
    explicit InsideModalLoop(std::function<void()> step, UINT delayMs = 50)
        : InsideModalLoop(delayMs, [once = std::move(step)] {
              once();
              return true;
          }) {}
    InsideModalLoop(UINT intervalMs, std::function<bool()> untilDone) {
        m_timer = ::SetTimer(nullptr, 0, intervalMs, &InsideModalLoop::Fire);
        Steps()[m_timer] = {std::move(untilDone), false};
    }
    ~InsideModalLoop() {
        ::KillTimer(nullptr, m_timer);
        Steps().erase(m_timer);
    }
    InsideModalLoop(const InsideModalLoop&) = delete;
    InsideModalLoop& operator=(const InsideModalLoop&) = delete;

private:
    struct Step {
        std::function<bool()> untilDone;
        bool running;  // a step may open a modal loop of its own, where the timer fires again
    };
    static std::map<UINT_PTR, Step>& Steps() {
        static std::map<UINT_PTR, Step> steps;
        return steps;
    }
    static void CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD) {
        auto found = Steps().find(id);
        if (found == Steps().end() || found->second.running) return;
        found->second.running = true;
        const bool done = found->second.untilDone();
        found = Steps().find(id);
        if (found == Steps().end()) return;
        found->second.running = false;
        if (!done) return;
        ::KillTimer(nullptr, id);
        Steps().erase(found);
    }
    UINT_PTR m_timer = 0;
};

// Runs steps one after another, a step a tick, also from inside modal loops (a dialog's, a
// message box's, the colour dialog's).
class TimerScript : InsideModalLoop {
public:
    explicit TimerScript(std::vector<std::function<void()>> steps, UINT interval = 150)
        : InsideModalLoop(interval, [steps = std::move(steps), next = size_t{0}]() mutable {
              if (next < steps.size()) steps[next++]();
              return next >= steps.size();
          }) {}
};

// ---- Top-level windows of other programs ------------------------------------------------------

// Titled windows standing in for other programs' windows, destroyed newest first.
class TopWindows {
public:
    TopWindows() = default;
    TopWindows(const TopWindows&) = delete;
    TopWindows& operator=(const TopWindows&) = delete;
    ~TopWindows() {
        for (auto it = m_windows.rbegin(); it != m_windows.rend(); ++it) ::DestroyWindow(*it);
    }
    HWND Make(const wchar_t* title, HWND owner = nullptr, int show = SW_SHOWNOACTIVATE) {
        HWND w = ::CreateWindowExW(0, L"STATIC", title, WS_OVERLAPPEDWINDOW, 60, 60, 200, 120, owner, nullptr,
                                   ::GetModuleHandleW(nullptr), nullptr);
        if (w) {
            ::ShowWindow(w, show);
            m_windows.push_back(w);
        }
        Pump();
        return w;
    }
    void Destroy(HWND w) {
        ::DestroyWindow(w);
        m_windows.erase(std::remove(m_windows.begin(), m_windows.end(), w), m_windows.end());
    }
    bool Holds(HWND w) const { return std::find(m_windows.begin(), m_windows.end(), w) != m_windows.end(); }

private:
    std::vector<HWND> m_windows;
};

// ---- Pictures -----------------------------------------------------------------------------------

// What a window paints into its client area, printed into a canvas for reading its pixels.
class ClientPrint : public Canvas {
public:
    explicit ClientPrint(HWND window)
        : Canvas(ClientRect(window).right, ClientRect(window).bottom, RGB(1, 2, 3)),
          m_window(window),
          m_client(ClientRect(window)) {
        Print();
    }
    void Print() { ::SendMessageW(m_window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc()), PRF_CLIENT); }
    int width() const { return m_client.right; }
    int height() const { return m_client.bottom; }

private:
    static RECT ClientRect(HWND window) {
        RECT r{};
        ::GetClientRect(window, &r);
        return r;
    }
    HWND m_window;
    RECT m_client;
};

// What the screen shows inside `area` (screen coordinates), saved as a PNG.
inline bool SaveScreenArea(const RECT& area, const std::string& path) {
    const int w = area.right - area.left, h = area.bottom - area.top;
    fw::WindowDc screen(nullptr);
    fw::MemoryDc memory(::CreateCompatibleDC(screen.get()));
    fw::Bitmap bitmap(::CreateCompatibleBitmap(screen.get(), w, h));
    HGDIOBJ old = ::SelectObject(memory.get(), bitmap.get());
    ::BitBlt(memory.get(), 0, 0, w, h, screen.get(), area.left, area.top, SRCCOPY);
    ::SelectObject(memory.get(), old);
    Gdiplus::Bitmap picture(bitmap.get(), nullptr);
    return SaveImage(picture, path, "png");
}

// A picture of one colour, saved straight to `path` (no temporary beside it: a path may be as long
// as the system allows) in the given format ("png", "jpeg", "bmp").
inline bool WritePicture(const std::string& path, int w, int h, Gdiplus::Color color, const std::string& format) {
    Gdiplus::Bitmap bitmap(w, h, PixelFormat24bppRGB);
    {
        Gdiplus::Graphics g(&bitmap);
        g.Clear(color);
    }
    CLSID encoder{};
    return GetEncoderClsid(mb::Widen("image/" + format).c_str(), &encoder) >= 0 &&
           bitmap.Save(mb::Widen(path).c_str(), &encoder, nullptr) == Gdiplus::Ok;
}

// A picture with a diagonal gradient, a sun and a band, for a person to see how it was fitted.
inline void SaveScene(const std::string& path, int width, int height, Gdiplus::Color top, Gdiplus::Color bottom) {
    Gdiplus::Bitmap bitmap(width, height, PixelFormat24bppRGB);
    Gdiplus::Graphics g(&bitmap);
    Gdiplus::LinearGradientBrush sky(Gdiplus::Point(0, 0), Gdiplus::Point(width, height), top, bottom);
    g.FillRectangle(&sky, 0, 0, width, height);
    Gdiplus::SolidBrush sun(Gdiplus::Color(255, 255, 230, 120)), ground(Gdiplus::Color(255, 40, 90, 50));
    const int r = std::min(width, height) / 4;
    g.FillEllipse(&sun, width - 2 * r - r / 2, r / 2, 2 * r, 2 * r);
    g.FillRectangle(&ground, 0, height * 3 / 4, width, height - height * 3 / 4);
    SaveImage(bitmap, path, "jpeg");
}

// A W x H GIF: the left half black, the rest white, so a thumbnail shows where the mask went.
inline void WriteMask(const std::string& path, int w, int h) {
    testing_support::WriteTwoColourGif(path, w, h, {255, 255, 255}, {0, 0, 0},
                                       [w](int x, int) { return x < w / 2; });
}

// ---- The fixture --------------------------------------------------------------------------------

// The composer as the pages see it, the real one behind it, with their asking for a fresh
// background noted: a test clears the note between two clicks.
class NotingComposer : public ISettingsComposer {
public:
    explicit NotingComposer(Composer& composer) : m_composer(composer) {}
    bool freshAsked = false;

    void RequestFreshBackground() override {
        freshAsked = true;
        m_composer.RequestFreshBackground();
    }
    DesktopLayout ShownLayout() override { return m_composer.ShownLayout(); }
    SIZE ShownScreenSize() const override { return m_composer.ShownScreenSize(); }
    void EnsurePositionsLoaded() override { m_composer.EnsurePositionsLoaded(); }
    const std::vector<RECT>& Positions() const override { return m_composer.Positions(); }
    void ReplacePositions(std::vector<RECT> positions) override { m_composer.ReplacePositions(std::move(positions)); }
    void RestartPositions() override { m_composer.RestartPositions(); }
    void SavePositions() const override { m_composer.SavePositions(); }
    const std::vector<std::string>& Masks() const override { return m_composer.Masks(); }
    size_t BannedCount() const override { return m_composer.BannedCount(); }

private:
    Composer& m_composer;
};

class PageTest : public ::testing::Test {
protected:
    ScratchDir dir;
    testing_support::FakeSystem system;
    EnvSettings env;
    OutProgramList programs;
    ImageCatalogue catalogue;
    Composer composer{env, catalogue, system};
    NotingComposer pageComposer{composer};
    RecordingOwner owner;
    FakePrompts prompts;
    int lastPage = 0;
    // On the prefix's own registry: the tests of the page read what it wrote there.
    fw::UserRegistry registry;
    StartWithWindows startWithWindows{registry, fw::ModuleFileNameWide()};
    SettingsContext context{env, programs, catalogue, pageComposer, system, owner, prompts, startWithWindows, lastPage};
    HWND parent = nullptr;  // stands in for the settings dialog

    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
        ::InitCommonControlsEx(&controls);
        env.m_exePath = dir.path();
        // A user's photographs on a fake 1024 x 768 screen, over a plain colour.
        env.isforeimg = 1;
        env.picmaxsize = 400;
        env.changetime = 5;
        env.min_sec = 60000;
        env.piccleartotalcnt = 10;
        env.imagepos = 2;
        env.backcolor = 0xFF102030;
        env.m_desktopColor = 0xFF256F95;
        parent = ::CreateWindowExW(0, reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(0x8002)) /* the dialog class */,
                                   L"settings", WS_POPUP | WS_CAPTION | WS_VISIBLE | WS_CLIPCHILDREN, 40, 40, 640, 420,
                                   nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(nullptr, parent);
    }
    void TearDown() override {
        if (parent) ::DestroyWindow(parent);
        Pump();
    }

    // A page created as the parent's child and shown filling it, as the settings window holds it.
    template <class Page>
    void OpenPage(Page& page) {
        ASSERT_TRUE(page.Create(parent));
        Fill(page.GetSafeHwnd());
    }
    void Fill(HWND page) const {
        RECT client{};
        ::GetClientRect(parent, &client);
        ::MoveWindow(page, 0, 0, client.right, client.bottom, TRUE);
        ::ShowWindow(page, SW_SHOW);
        Pump();
    }
    // A page created in the stand-in and shown sized as the settings window's frame holds it, for a
    // picture of it.
    template <class Page>
    void ShowAsInTheSettingsWindow(Page& created, UINT caption) {
        ASSERT_TRUE(created.Create(parent));
        HWND page = created.GetSafeHwnd();
        RECT frame{0, 0, 285, 162};
        ::MapDialogRect(page, &frame);
        ::SetWindowTextW(parent, fw::LoadText(caption).c_str());
        RECT outer{0, 0, frame.right + 16, frame.bottom + 16};
        ::AdjustWindowRectEx(&outer, WS_POPUP | WS_CAPTION, FALSE, 0);
        ::SetWindowPos(parent, nullptr, 60, 60, outer.right - outer.left, outer.bottom - outer.top,
                       SWP_NOZORDER | SWP_SHOWWINDOW);
        ::MoveWindow(page, 8, 8, frame.right, frame.bottom, TRUE);
        ::ShowWindow(page, SW_SHOW);
        ::SetForegroundWindow(parent);
        PumpFor(500);
    }
    // A dialog this thread opened other than the stand-in.
    HWND OpenedDialog() const { return FindThreadDialog(parent); }

    // Masks folder with the given files (name, width, height), listed as the main window lists them.
    void MakeMasks(const std::vector<std::tuple<std::string, int, int>>& masks) {
        std::string folder = dir.MakeDir("Masks");
        for (const auto& [name, w, h] : masks) WriteMask(folder + "\\" + name, w, h);
        composer.LoadMasks(folder);
    }
};

// One page of the settings window, made by Open() once a test has set up the settings.
template <class Page>
class OnePageTest : public PageTest {
protected:
    std::unique_ptr<Page> page;
    HWND hwnd = nullptr;

    void Open() {
        page = std::make_unique<Page>(context);
        OpenPage(*page);
        hwnd = page->GetSafeHwnd();
    }
    void TearDown() override {
        page.reset();
        PageTest::TearDown();
    }
    HWND Item(int id) const { return ::GetDlgItem(hwnd, id); }

    // The page's controls that must take input (`on`) and those that must not (`off`).
    void ExpectEnabled(std::initializer_list<int> on, std::initializer_list<int> off) const {
        for (int id : on) EXPECT_TRUE(Enabled(hwnd, id)) << "control " << id << " is disabled";
        for (int id : off) EXPECT_FALSE(Enabled(hwnd, id)) << "control " << id << " is enabled";
    }
    // The page's boxes that must be ticked (`on`) and those that must not (`off`).
    void ExpectChecked(std::initializer_list<int> on, std::initializer_list<int> off) const {
        for (int id : on) EXPECT_TRUE(Checked(hwnd, id)) << "box " << id << " is not ticked";
        for (int id : off) EXPECT_FALSE(Checked(hwnd, id)) << "box " << id << " is ticked";
    }
    // What each control of the page shows: its id, text, tick and whether it takes input.
    std::vector<std::string> ControlStates() const {
        std::vector<std::string> states;
        for (HWND c = ::GetWindow(hwnd, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
            states.push_back(std::to_string(::GetDlgCtrlID(c)) + " " + mb::Narrow(TextOf(c)) + " " +
                             std::to_string(::SendMessageW(c, BM_GETCHECK, 0, 0)) + (::IsWindowEnabled(c) ? "" : " off"));
        return states;
    }
};

}  // namespace page_testing

#endif  // RC_INVOKED
