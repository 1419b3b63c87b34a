// The position editor on real windows: numbering, apply and close, the size rules, focus, paint.

#include <windows.h>
#include <windowsx.h>

#include "aux_windows/img_pos_set_dlg.h"
#include "windows/page_fixture.h"

namespace {

using namespace page_testing;

class PositionEditor : public PageTest {
protected:
    std::unique_ptr<CImgPosSetDlg> editor;
    int closings = 0;

    void Open() {
        editor = std::make_unique<CImgPosSetDlg>(env, composer, nullptr, [this] { ++closings; });
        ASSERT_TRUE(editor->Create());
        ::ShowWindow(editor->GetSafeHwnd(), SW_SHOW);
        Pump();
    }
    void Add() { Click(editor->GetDlgItem(IDC_IMGPOS_ADD)); }
    void Apply() {
        Click(editor->GetDlgItem(IDC_IMGPOS_APPLY));
        Pump();
    }
    void Delete(int number) {
        ::SendMessageW(editor->PositionWindow(number)->GetSafeHwnd(), WM_COMMAND, ID_IMGPOS_DELETE, 0);
        Pump();
    }
    HWND Window(int number) const { return editor->PositionWindow(number)->GetSafeHwnd(); }
    // Red photos in a listed folder, for the composer to place.
    void ListPhotos(int count) {
        const std::string folder = dir.MakeDir("photos");
        std::vector<std::string> paths;
        for (int i = 0; i < count; ++i) {
            paths.push_back(folder + "\\p" + std::to_string(i) + ".png");
            ASSERT_TRUE(WritePicture(paths.back(), 400, 300, Gdiplus::Color(255, 200, 30, 30), "png"));
        }
        catalogue.Replace({folder + "," + std::to_string(count)}, std::move(paths));
    }
    // The rectangles of the position windows, by number.
    std::vector<RECT> Windows() const {
        std::vector<RECT> rects;
        for (int number : editor->Numbers()) rects.push_back(RectOf(Window(number)));
        return rects;
    }
    static std::pair<int, int> SizeOf(HWND window) {
        const RECT r = RectOf(window);
        return {r.right - r.left, r.bottom - r.top};
    }
};

TEST_F(PositionEditor, AddsTranslucentCentredSquaresHeldToTheLimitsNumberedOnceAndRenumberedByApply) {
    env.picmaxsize = 0;  // an env.ini that never had a size
    Open();
    EXPECT_TRUE(editor->Numbers().empty());
    EXPECT_TRUE(::GetWindowLongPtrW(editor->GetSafeHwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    Add();
    env.picmaxsize = 5000;
    Add();
    env.picmaxsize = 400;
    Add();
    ASSERT_EQ((std::vector<int>{1, 2, 3}), editor->Numbers());
    EXPECT_EQ((std::vector<RECT>{{412, 284, 612, 484}, {132, 4, 892, 764}, {312, 184, 712, 584}}), Windows());
    EXPECT_TRUE(::IsWindowVisible(Window(3)));
    EXPECT_EQ(CImgPosDlg::kFocusColor, editor->PositionWindow(3)->Color());

    // Translucent, without a colour key.
    const LONG_PTR ex = ::GetWindowLongPtrW(Window(3), GWL_EXSTYLE);
    EXPECT_TRUE((ex & WS_EX_LAYERED) && (ex & WS_EX_TOOLWINDOW));
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(::GetLayeredWindowAttributes(Window(3), nullptr, &alpha, &flags));
    EXPECT_EQ(126, alpha);
    EXPECT_EQ(static_cast<DWORD>(LWA_ALPHA), flags);

    // Numbers are not reused, and apply renumbers.
    ::SetWindowPos(Window(1), nullptr, 10, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ::SetWindowPos(Window(3), nullptr, 500, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Delete(2);
    EXPECT_EQ((std::vector<int>{1, 3}), editor->Numbers());
    EXPECT_TRUE(composer.Positions().empty()) << "only apply changes the list";
    ::PostMessageW(editor->GetSafeHwnd(), WM_IMGPOS_DELETE, 2, 0);  // no longer there: nothing happens
    Pump();
    EXPECT_EQ((std::vector<int>{1, 3}), editor->Numbers());
    Add();
    EXPECT_EQ((std::vector<int>{1, 3, 4}), editor->Numbers());
    const std::vector<RECT> placed = Windows();

    Apply();
    EXPECT_FALSE(editor->IsWindow());
    EXPECT_EQ(1, closings);
    EXPECT_EQ(placed, composer.Positions());

    Open();
    EXPECT_EQ((std::vector<int>{1, 2, 3}), editor->Numbers());
    EXPECT_EQ(placed, Windows());
    Add();
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4}), editor->Numbers());
}

// The composer keeps a turn among the positions for the primary picture, one per monitor of a
// picture over several monitors, and the back command's picture keeps its own: a delete or an
// apply in the editor restarts every one of them, or a turn counted among the old positions would
// name another one.
TEST_F(PositionEditor, ADeleteAndAnApplyRestartEveryTurnTheComposerKeeps) {
    env.imagepos = 1;
    system.SetMonitors({{RECT{0, 0, 1024, 768}, RECT{0, 0, 1024, 738}, true},
                        {RECT{-1024, 0, 0, 768}, RECT{-1024, 0, 0, 738}, false}});
    ListPhotos(2);
    for (const int multimonitor : {0, 1}) {
        SCOPED_TRACE(multimonitor ? "a picture over both monitors" : "the primary's picture alone");
        env.multimonitor = multimonitor;
        // Three positions on each monitor.
        composer.ReplacePositions({{0, 0, 300, 300}, {300, 0, 600, 300}, {600, 0, 900, 300},
                                   {-1024, 0, -724, 300}, {-724, 0, -424, 300}, {-424, 0, -124, 300}});
        const size_t monitors = multimonitor ? 2 : 1;
        const auto turns = [&] {
            std::vector<int> now;
            for (size_t m = 0; m < monitors; ++m) now.push_back(composer.PositionTurn(m));
            return now;
        };
        const std::vector<int> restarted(monitors, 0);
        for (const bool apply : {false, true}) {
            composer.RequestFreshBackground();
            composer.ComposeWallpaper();
            composer.ComposeWallpaper();
            ASSERT_EQ(std::vector<int>(monitors, 2), turns()) << "two photos on each monitor moved its turn on";
            Open();
            if (apply) {
                Apply();
            } else {
                Delete(1);
                ::SendMessageW(editor->GetSafeHwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
                Pump();
            }
            EXPECT_EQ(restarted, turns()) << (apply ? "applied" : "deleted");
            ASSERT_TRUE(composer.GoBack());
            EXPECT_EQ(restarted, turns()) << "the picture before it came back with a restarted turn";
        }
    }
}

TEST_F(PositionEditor, AppliedPositionsAreWrittenAtExitAndNoneLeftEmptiesPoslist) {
    testing_support::WriteFile(dir.File("poslist.txt"), "100,80,500,380\n");
    ASSERT_EQ(1, composer.LoadPositions());
    Open();
    ASSERT_EQ(std::vector<int>{1}, editor->Numbers());
    Delete(1);
    Apply();
    EXPECT_TRUE(composer.Positions().empty());
    composer.SavePositions();  // at exit
    EXPECT_EQ("", testing_support::ReadFile(dir.File("poslist.txt")));

    Open();
    Add();
    ::SetWindowPos(Window(1), nullptr, 100, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Apply();
    composer.SavePositions();
    EXPECT_EQ("100,80,500,480\r\n", testing_support::ReadFile(dir.File("poslist.txt")));
}

TEST_F(PositionEditor, StoredRectangleKeepsItsShapeUntilResized) {
    // The second was saved on a larger screen, wholly off this 1024 x 768 one.
    composer.ReplacePositions({{100, 100, 500, 400}, {1500, 900, 1900, 1200}});
    Open();
    EXPECT_EQ((RECT{624, 468, 1024, 768}), RectOf(Window(2))) << "opened where its photo is drawn";
    EXPECT_EQ(std::make_pair(400, 300), SizeOf(Window(1)));
    RECT proposed{100, 100, 520, 400};  // dragging the right edge
    ::SendMessageW(Window(1), WM_SIZING, WMSZ_RIGHT, reinterpret_cast<LPARAM>(&proposed));
    EXPECT_EQ((RECT{100, 100, 520, 520}), proposed);
}

TEST_F(PositionEditor, CoversEveryMonitorAndBringsPositionsOfAMonitorThatIsGoneIntoView) {
    env.multimonitor = 1;
    // The primary and a wider one on its left; the third position was saved on a monitor right of
    // the primary that has since been unplugged.
    system.SetMonitors({{RECT{0, 0, 1024, 768}, RECT{0, 0, 1024, 738}, true},
                        {RECT{-1280, 0, 0, 1024}, RECT{-1280, 0, 0, 994}, false}});
    composer.ReplacePositions({{100, 100, 500, 400}, {-900, 100, -500, 400}, {2000, 100, 2400, 400}});
    Open();
    ASSERT_EQ((std::vector<int>{1, 2, 3}), editor->Numbers());
    // The second on the left monitor as saved, the third pulled onto the nearest monitor.
    EXPECT_EQ((std::vector<RECT>{{100, 100, 500, 400}, {-900, 100, -500, 400}, {624, 100, 1024, 400}}), Windows());
    // A square may grow as large as a photo on the widest monitor: 1280 * 3 / 4.
    MINMAXINFO limits{};
    ::SendMessageW(Window(1), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ(960, limits.ptMaxTrackSize.x);

    // The first square is dragged onto the left monitor; applied, the photos follow.
    ::SetWindowPos(Window(1), nullptr, -1200, 500, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Apply();
    ASSERT_EQ(3u, composer.Positions().size());
    EXPECT_EQ((RECT{-1200, 500, -800, 800}), composer.Positions()[0]);

    env.imagepos = 1;
    env.isforeimg = 1;
    ListPhotos(2);
    composer.ComposeWallpaper();
    // The primary takes its only position (the one brought into view), the left monitor its first.
    ASSERT_EQ(2u, composer.Pictures().size());
    EXPECT_EQ(1, composer.Pictures()[0].count);
    EXPECT_EQ(1, composer.Pictures()[1].count);
    ASSERT_TRUE(composer.SavedCanvas());
    // Inside {624, 100, 1024, 400} and {-1200, 500, -800, 800}.
    for (const POINT at : {POINT{1280 + 824, 250}, POINT{1280 - 1000, 650}}) {
        Gdiplus::Color c;
        composer.SavedCanvas()->GetPixel(at.x, at.y, &c);
        EXPECT_EQ(200, c.GetR()) << at.x;
    }
}

TEST_F(PositionEditor, SizeLimitsHoldForBordersAndTheWheelAndAPressAnywhereMovesTheSquare) {
    Open();
    Add();
    HWND w = Window(1);
    MINMAXINFO info{};
    ::SendMessageW(w, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(std::make_pair(200L, 200L), std::make_pair(info.ptMinTrackSize.x, info.ptMinTrackSize.y));
    EXPECT_EQ(std::make_pair(760L, 760L), std::make_pair(info.ptMaxTrackSize.x, info.ptMaxTrackSize.y));

    // Every resize of a sizing frame is held to those limits by the system; the wheel steps by five.
    const auto wheel = [w](short delta) { ::SendMessageW(w, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)), 0); };
    ::SetWindowPos(w, nullptr, 0, 0, 150, 150, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(std::make_pair(200, 200), SizeOf(w));
    wheel(-WHEEL_DELTA);
    EXPECT_EQ(std::make_pair(200, 200), SizeOf(w));
    wheel(WHEEL_DELTA);
    EXPECT_EQ(std::make_pair(205, 205), SizeOf(w));

    ::SetWindowPos(w, nullptr, 0, 0, 900, 900, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(std::make_pair(760, 760), SizeOf(w));
    wheel(WHEEL_DELTA);
    EXPECT_EQ(std::make_pair(760, 760), SizeOf(w));
    wheel(-WHEEL_DELTA);
    EXPECT_EQ(std::make_pair(755, 755), SizeOf(w));

    // A press anywhere moves the square as its caption would.
    Pump();
    ::SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 40));
    MSG msg{};
    // Taken off the queue before the move loop could start: the test has no real mouse.
    ASSERT_TRUE(::PeekMessageW(&msg, w, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE));
    EXPECT_EQ(static_cast<WPARAM>(HTCAPTION), msg.wParam);
    POINT at{30, 40};
    ::ClientToScreen(w, &at);
    EXPECT_EQ(at.x, GET_X_LPARAM(msg.lParam));
    EXPECT_EQ(at.y, GET_Y_LPARAM(msg.lParam));
}

TEST_F(PositionEditor, FocusColoursPaintNoWindowsLeftWithTheObjectAndClosingWithoutApplyDiscards) {
    composer.ReplacePositions({{100, 100, 400, 400}, {500, 100, 800, 400}});
    const std::vector<RECT> stored = composer.Positions();
    Open();
    CImgPosDlg* first = editor->PositionWindow(1);
    CImgPosDlg* second = editor->PositionWindow(2);
    ::SendMessageW(first->GetSafeHwnd(), WM_SETFOCUS, 0, 0);
    EXPECT_EQ(CImgPosDlg::kFocusColor, first->Color());
    ::SendMessageW(first->GetSafeHwnd(), WM_KILLFOCUS, 0, 0);
    EXPECT_EQ(CImgPosDlg::kNormalColor, first->Color());
    ::SetFocus(second->GetSafeHwnd());
    Pump();
    EXPECT_EQ(CImgPosDlg::kFocusColor, second->Color());

    // The number in the middle, black on the fill colour.
    const ClientPrint print(first->GetSafeHwnd());
    int dark = 0;
    for (int y = print.height() / 2 - 20; y < print.height() / 2 + 20; ++y)
        for (int x = print.width() / 2 - 15; x < print.width() / 2 + 15; ++x)
            if (print.At(x, y) == RGB(0, 0, 0)) ++dark;
    EXPECT_GT(dark, 40) << "the number is drawn";
    EXPECT_EQ(RGB(255, 255, 255), print.At(10, 10));

    const HWND position = Window(1), window = editor->GetSafeHwnd();
    editor.reset();
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_FALSE(::IsWindow(position));
    EXPECT_EQ(stored, composer.Positions());

    // Closing without apply discards everything.
    const int closingsBefore = closings;
    Open();
    Delete(1);
    Add();
    ::SetWindowPos(Window(2), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    HWND kept = Window(2);
    ::SendMessageW(editor->GetSafeHwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
    Pump();
    EXPECT_FALSE(editor->IsWindow());
    EXPECT_FALSE(::IsWindow(kept)) << "the position windows go with the editor";
    EXPECT_EQ(closingsBefore + 1, closings);
    EXPECT_EQ(stored, composer.Positions());
}

}  // namespace
