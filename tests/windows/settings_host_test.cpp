// The settings window on real windows: its pages and list, page switching, the caption strip,
// the close checks against real fields, the keys that must not close it; the colour swatch, the
// page list's items, the colour choice and the about box.

#include <windows.h>
#include <shlobj.h>

#include "version.h"
#include "settings_ui/about_dlg.h"
#include "settings_ui/color_button.h"
#include "settings_ui/color_list_ctrl.h"
#include "settings_ui/env_set_dlg.h"
#include "settings_ui/page_list_box.h"
#include "settings_ui/set_back_img.h"
#include "settings_ui/set_calen.h"
#include "settings_ui/set_effect.h"
#include "settings_ui/set_etc.h"
#include "settings_ui/set_fore_img.h"
#include "settings_ui/set_help.h"
#include "settings_ui/set_path.h"
#include "windows/page_fixture.h"

namespace {

using namespace page_testing;
using namespace testing_support;

const std::wstring kTitle = fw::LoadText(IDS_SETTINGS_TITLE);
const std::wstring kFirstPage = fw::LoadText(IDS_PAGE_BACKGROUND);
const std::wstring kCalendarPage = fw::LoadText(IDS_PAGE_CALENDAR);
const std::wstring kCloseCheckCaption = fw::LoadText(IDS_SETTINGS_CAPTION);
const std::wstring kEmptyTime = fw::LoadText(IDS_EMPTY_CHANGETIME);
const std::wstring kImageSize760 = fw::LoadText(IDS_IMAGE_SIZE_RANGE, 760);
const std::wstring kFrame = fw::LoadText(IDS_FRAME_SIZE_WRONG);
const std::wstring kAboutTitle = DIORAMIX_VERSION_WIDE + fw::LoadText(IDS_ABOUT_TITLE_TAIL);

class SettingsHost : public PageTest {
protected:
    void SetUp() override {
        PageTest::SetUp();
        env.min_sec = 1000;
        prompts.realMessages = true;  // the focus the dialog manager gives back after a real box
    }

    static HWND List(const CEnvSetDlg& host) { return ::GetDlgItem(host.GetSafeHwnd(), IDC_PAGE_LIST); }
    static std::wstring ListItem(const CEnvSetDlg& host, int index) {
        wchar_t text[64] = {};
        ::SendMessageW(List(host), LB_GETTEXT, index, reinterpret_cast<LPARAM>(text));
        return text;
    }
    // One pixel inside the frame the pages are shown in.
    static RECT InsideFrame(const CEnvSetDlg& host) {
        RECT inside = RectOf(::GetDlgItem(host.GetSafeHwnd(), IDC_PAGE_FRAME));
        ::InflateRect(&inside, -1, -1);
        return inside;
    }
    static void ChooseInList(const CEnvSetDlg& host, int index) {
        ::SendMessageW(List(host), LB_SETCURSEL, index, 0);
        ::SendMessageW(host.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDC_PAGE_LIST, LBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(List(host)));
    }
    // The field of a page, made here as a plain edit when the page's template has none yet.
    static HWND Field(const CEnvSetDlg& host, int page, int id) {
        HWND pageWindow = host.Page(page)->GetSafeHwnd();
        if (HWND existing = ::GetDlgItem(pageWindow, id)) return existing;
        return ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP, 10, 10 + 22 * (id % 8),
                                 80, 20, pageWindow, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    }
    static void SetFields(const CEnvSetDlg& host, const char* time, const char* clear, const char* size,
                          const char* frame) {
        ::SetWindowTextA(Field(host, 1, IDC_FORE_CHANGETIME), time);
        ::SetWindowTextA(Field(host, 1, IDC_FORE_CLEARCOUNT), clear);
        ::SetWindowTextA(Field(host, 1, IDC_FORE_SIZE), size);
        ::SetWindowTextA(Field(host, 2, IDC_EFFECT_FRAMESIZE), frame);
    }
    // Sends the close box's command; a refusal's message box is read and dismissed.
    static std::wstring CloseBox(const CEnvSetDlg& host, std::wstring* caption = nullptr) {
        std::wstring message;
        TimerScript script({[&] {
            HWND box = FindThreadDialog(kCloseCheckCaption);
            if (!box) return;
            message = TextOf(::GetDlgItem(box, 0xFFFF));
            if (caption) *caption = TextOf(box);
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        }});
        ::SendMessageW(host.GetSafeHwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);
        PumpFor(150);
        return message;
    }
};

TEST_F(SettingsHost, FirstOpeningShowsTheFirstPageWithAllSevenListedAndANewDpiScalesThem) {
    CEnvSetDlg host(context);
    ASSERT_TRUE(host.Create());
    EXPECT_EQ(kTitle, TextOf(host.GetSafeHwnd()));
    ASSERT_EQ(7, ::SendMessageW(List(host), LB_GETCOUNT, 0, 0));
    EXPECT_EQ(kFirstPage, ListItem(host, 0));
    EXPECT_EQ(kCalendarPage, ListItem(host, 4));
    EXPECT_EQ(L"Dioramix?", ListItem(host, 6));
    EXPECT_EQ(20, ::SendMessageW(List(host), LB_GETITEMHEIGHT, 3, 0));
    EXPECT_EQ(0, ::SendMessageW(List(host), LB_GETCURSEL, 0, 0));
    EXPECT_EQ(0, host.ShownPage());
    EXPECT_EQ(L"  " + kFirstPage, host.CaptionText());
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(host.GetSafeHwnd(), IDC_PAGE_CAPTION)));

    // Every page is a child moved into the frame, one pixel inside it.
    for (int i = 0; i < CEnvSetDlg::kPageCount; ++i) {
        HWND page = host.Page(i)->GetSafeHwnd();
        ASSERT_NE(nullptr, page) << i;
        EXPECT_EQ(host.GetSafeHwnd(), ::GetParent(page));
        EXPECT_EQ(InsideFrame(host), RectOf(page)) << i;
    }
    // The help page carries the version and its own title.
    HWND help = host.Page(6)->GetSafeHwnd();
    EXPECT_EQ(L"Dioramix ver" DIORAMIX_VERSION_WIDE, TextOf(::GetDlgItem(help, IDC_VERSION_LINE)));
    EXPECT_EQ(kAboutTitle, TextOf(help));

    // A new DPI takes the suggested rectangle and scales the rows, icons, columns and caption.
    ASSERT_EQ(96u, host.Dpi());
    HWND folders = ::GetDlgItem(host.Page(3)->GetSafeHwnd(), IDC_PATH_LIST);
    ASSERT_NE(nullptr, folders);
    EXPECT_EQ(350, ListView_GetColumnWidth(folders, 0));
    // A label's font is as tall as its dialog's, not the stock font's one size for every DPI.
    const auto& helpPage = static_cast<const CSetHelp&>(*host.Page(6));
    LOGFONTW pageFont{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(help, WM_GETFONT, 0, 0)), sizeof pageFont, &pageFont);
    const LONG linkHeight = helpPage.WebLink().GetLogFont().lfHeight;
    EXPECT_EQ(pageFont.lfHeight, linkHeight);
    RECT before = RectOf(host.GetSafeHwnd());

    // As the system sends it when the window is dragged onto a 150 % monitor.
    RECT suggested{30, 20, 30 + (before.right - before.left) * 3 / 2, 20 + (before.bottom - before.top) * 3 / 2};
    ::SendMessageW(host.GetSafeHwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(suggested, RectOf(host.GetSafeHwnd()));
    EXPECT_EQ(144u, host.Dpi());
    for (int item = 0; item < CEnvSetDlg::kPageCount; ++item)
        EXPECT_EQ(30, ::SendMessageW(List(host), LB_GETITEMHEIGHT, item, 0)) << "every row, " << item;
    EXPECT_EQ(525, ListView_GetColumnWidth(folders, 0));
    EXPECT_EQ(75, ListView_GetColumnWidth(folders, 1));
    EXPECT_EQ(InsideFrame(host), RectOf(host.Page(0)->GetSafeHwnd())) << "the pages still fill the frame";

    // The help page's links, drawn in a font of their own, grow with the page's.
    EXPECT_EQ(::MulDiv(linkHeight, 144, 96), helpPage.WebLink().GetLogFont().lfHeight);
    EXPECT_EQ(reinterpret_cast<LRESULT>(helpPage.WebLink().GetFont()),
              ::SendMessageW(helpPage.WebLink().GetSafeHwnd(), WM_GETFONT, 0, 0));

    // And back, without the widths drifting.
    ::SendMessageW(host.GetSafeHwnd(), WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&before));
    EXPECT_EQ(linkHeight, helpPage.WebLink().GetLogFont().lfHeight);
    EXPECT_EQ(20, ::SendMessageW(List(host), LB_GETITEMHEIGHT, 6, 0));
    EXPECT_EQ(350, ListView_GetColumnWidth(folders, 0));
    EXPECT_EQ(50, ListView_GetColumnWidth(folders, 1));
}

TEST_F(SettingsHost, SwitchingPagesIsRememberedForTheNextOpeningAndAnIndexOutsideShowsNone) {
    {
        CEnvSetDlg host(context);
        ASSERT_TRUE(host.Create());
        ChooseInList(host, 4);
        EXPECT_EQ(4, lastPage);
        EXPECT_EQ(4, host.ShownPage());
        EXPECT_FALSE(::IsWindowVisible(host.Page(0)->GetSafeHwnd()));
        EXPECT_EQ(L"  " + kCalendarPage, host.CaptionText());

        // The page already shown: nothing is invalidated.
        ::ShowWindow(host.GetSafeHwnd(), SW_SHOWNOACTIVATE);
        ::UpdateWindow(host.GetSafeHwnd());
        ChooseInList(host, 4);
        EXPECT_FALSE(::GetUpdateRect(host.GetSafeHwnd(), nullptr, FALSE));
        host.DestroyWindow();
    }
    CEnvSetDlg again(context);
    ASSERT_TRUE(again.Create());
    EXPECT_EQ(4, ::SendMessageW(List(again), LB_GETCURSEL, 0, 0));
    EXPECT_EQ(4, again.ShownPage());
    EXPECT_EQ(L"  " + kCalendarPage, again.CaptionText());
    again.DestroyWindow();

    // An index outside the list shows no page.
    lastPage = 9;
    CEnvSetDlg outside(context);
    ASSERT_TRUE(outside.Create());
    EXPECT_EQ(-1, outside.ShownPage());
    EXPECT_EQ(L"  " + kFirstPage, outside.CaptionText());  // nothing selected: the first item's name
}

TEST_F(SettingsHost, CloseChecksRefuseOnTheRealFieldsInOrder) {
    system.screenWidth = 1024;
    // The fields are enabled only while photographs and frames are on; a disabled field takes no focus.
    env.isforeimg = 1;
    env.isframe = 1;
    CEnvSetDlg host(context);
    ASSERT_TRUE(host.Create());
    ::ShowWindow(host.GetSafeHwnd(), SW_SHOW);

    SetFields(host, "", "3", "400", "5");
    std::wstring caption;
    EXPECT_EQ(kEmptyTime, CloseBox(host, &caption));
    EXPECT_EQ(kCloseCheckCaption, caption);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION), prompts.messages.back().type);
    EXPECT_EQ(host.GetSafeHwnd(), prompts.messages.back().owner);
    ASSERT_TRUE(host.IsWindow());
    EXPECT_EQ(1, host.ShownPage());
    EXPECT_EQ(1, lastPage);

    ChooseInList(host, 5);
    SetFields(host, "15", "3", "770", "5");
    EXPECT_EQ(kImageSize760, CloseBox(host));
    ASSERT_TRUE(host.IsWindow());
    EXPECT_EQ(1, host.ShownPage());
    EXPECT_EQ(L"760", TextOf(Field(host, 1, IDC_FORE_SIZE)));
    EXPECT_EQ(Field(host, 1, IDC_FORE_SIZE), ::GetFocus());
    EXPECT_EQ(15, env.changetime);
    EXPECT_EQ(3, env.piccleartotalcnt);

    SetFields(host, "15", "3", "760", "51");
    EXPECT_EQ(kFrame, CloseBox(host));
    EXPECT_EQ(2, host.ShownPage());
    EXPECT_EQ(Field(host, 2, IDC_EFFECT_FRAMESIZE), ::GetFocus());
    EXPECT_EQ(760, env.picmaxsize);

    SetFields(host, "15", "3", "760", "50");
    EXPECT_EQ(L"", CloseBox(host));
    EXPECT_FALSE(host.IsWindow()) << "accepted: the window ends";
    EXPECT_EQ(50, env.framesize);
}

TEST_F(SettingsHost, EnterAndEscapeNeverCloseIt) {
    CEnvSetDlg host(context);
    bool openAfterKeys = false;
    int shownAfterKeys = -2;
    TimerScript script({
        [&] {
            HWND edit = Field(host, 0, IDC_FORE_CHANGETIME);
            ::SetWindowTextA(Field(host, 1, IDC_FORE_CHANGETIME), "15");  // a check would take it
            ::SetFocus(List(host));
            for (HWND target : {List(host), edit}) {
                for (WPARAM key : {VK_ESCAPE, VK_RETURN}) {
                    ::PostMessageW(target, WM_KEYDOWN, key, 0);
                    ::PostMessageW(target, WM_KEYUP, key, 0);
                }
            }
        },
        [&] {
            openAfterKeys = host.IsWindow();
            shownAfterKeys = host.ShownPage();
            // The exit path: what the pages opened is closed, then a posted cancel ends it with
            // no check.
            host.CloseOwnedWindows();
            ::PostMessageW(host.GetSafeHwnd(), WM_COMMAND, IDCANCEL, 0);
        },
        [&] {  // a refusal here would mean the checks ran
            if (HWND box = FindThreadDialog(kCloseCheckCaption)) ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        },
    });
    EXPECT_EQ(IDCANCEL, host.DoModal());
    EXPECT_TRUE(openAfterKeys);
    EXPECT_EQ(0, shownAfterKeys);
    EXPECT_EQ(5, env.changetime) << "nothing was taken from the fields";
}

TEST_F(SettingsHost, TabMovesBetweenTheListAndTheShownPage) {
    CEnvSetDlg host(context);
    // Where each Tab left the focus: -1 the list, a page's index, or -2 anywhere else.
    std::vector<int> visited;
    auto whereIsFocus = [&] {
        HWND focus = ::GetFocus();
        if (focus == List(host)) return -1;
        for (int page = 0; page < 7; ++page)
            if (::IsChild(host.Page(page)->GetSafeHwnd(), focus)) return page;
        return -2;
    };
    auto pressTab = [] {
        HWND focus = ::GetFocus();
        ::PostMessageW(focus, WM_KEYDOWN, VK_TAB, 0);
        ::PostMessageW(focus, WM_KEYUP, VK_TAB, 0);
    };
    std::vector<std::function<void()>> steps{[&] {
        ::SetFocus(List(host));
        pressTab();
    }};
    for (int i = 0; i < 30; ++i)
        steps.push_back([&] {
            visited.push_back(whereIsFocus());
            pressTab();
        });
    steps.push_back([&] { ::PostMessageW(host.GetSafeHwnd(), WM_COMMAND, IDCANCEL, 0); });
    TimerScript script(steps, 60);
    EXPECT_EQ(IDCANCEL, host.DoModal());

    ASSERT_EQ(30u, visited.size());
    EXPECT_EQ(0, visited.front()) << "from the list into the shown page";
    EXPECT_GT(std::count(visited.begin(), visited.end(), 0), 3) << "through the page's controls";
    EXPECT_GT(std::count(visited.begin(), visited.end(), -1), 0) << "and back to the list";
    EXPECT_EQ(visited.size(), static_cast<size_t>(std::count(visited.begin(), visited.end(), 0) +
                                                  std::count(visited.begin(), visited.end(), -1)))
        << "never into a hidden page or out of the window";
}

TEST(CaptionStrip, GradientFromPurpleToPinkWithWhiteText) {
    Canvas canvas(200, 20, RGB(1, 2, 3));
    const RECT strip{0, 0, 200, 20};
    LOGFONTW lf{};
    lf.lfHeight = 12;
    lf.lfWeight = FW_BOLD;
    wcsncpy_s(lf.lfFaceName, LF_FACESIZE, fw::LoadText(IDS_CAPTION_FACE).c_str(), _TRUNCATE);
    fw::Font font(::CreateFontIndirectW(&lf));
    DrawCaptionStrip(canvas.dc(), strip, L"", font.get());
    EXPECT_EQ(RGB(70, 0, 35), canvas.At(0, 10));
    EXPECT_EQ(RGB(162, 10, 85), canvas.At(100, 0));  // 70 + 185/2, 21/2, 35 + 100/2, truncated
    EXPECT_EQ(RGB(254, 20, 134), canvas.At(199, 19));

    DrawCaptionStrip(canvas.dc(), strip, L"  " + kFirstPage, font.get());
    EXPECT_GT(canvas.Count(RGB(255, 255, 255), {8, 0, 120, 20}), 20) << "the text is drawn in white";
    EXPECT_EQ(0, canvas.Count(RGB(255, 255, 255), {0, 0, 6, 20})) << "after two leading spaces";
}

// ---- The page list's items ------------------------------------------------------------------

class PageListItems : public ::testing::Test {
protected:
    HWND parent = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr, nullptr, nullptr);
    CPageListBox list;
    fw::ImageList images{::ImageList_Create(20, 20, ILC_COLOR32 | ILC_MASK, 0, 1)};
    fw::Bitmap strip{static_cast<HBITMAP>(
        ::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_PAGE_ICONS), IMAGE_BITMAP, 0, 0, 0))};

    void SetUp() override {
        ::CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS, 0, 0, 150, 150, parent,
                          reinterpret_cast<HMENU>(1001), nullptr, nullptr);
        ASSERT_TRUE(list.SubclassDlgItem(1001, parent));
        ASSERT_TRUE(strip);
        BITMAP info{};
        ::GetObjectW(strip.get(), sizeof(info), &info);
        EXPECT_EQ(141, info.bmWidth);
        EXPECT_EQ(20, info.bmHeight);
        EXPECT_EQ(0, ::ImageList_AddMasked(images.get(), strip.get(), RGB(255, 255, 255)));
        EXPECT_EQ(7, ::ImageList_GetImageCount(images.get()));
        list.SetImageList(images.get());
        ::SendMessageW(list.GetSafeHwnd(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kFirstPage.c_str()));
    }
    void TearDown() override { ::DestroyWindow(parent); }

    DRAWITEMSTRUCT Item(HDC dc, UINT action, UINT state) const {
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_LISTBOX;
        item.itemID = 0;
        item.itemAction = action;
        item.itemState = state;
        item.hwndItem = list.GetSafeHwnd();
        item.hDC = dc;
        item.rcItem = {0, 0, 150, 20};
        return item;
    }
};

TEST_F(PageListItems, SelectedItemIsOutlinedOnARoseFillOrInHighContrastTheSystemsPair) {
    Canvas canvas(150, 20, RGB(1, 2, 3));
    list.DrawItem(Item(canvas.dc(), ODA_DRAWENTIRE, ODS_SELECTED));
    EXPECT_EQ(RGB(0, 0, 0), canvas.At(0, 0)) << "the icon's white corner is transparent";
    EXPECT_EQ(RGB(0, 0, 0), canvas.At(149, 19));
    EXPECT_EQ(CPageListBox::kSelectedFill, canvas.At(140, 10));
    EXPECT_EQ(RGB(0x8f, 0xd0, 0xf5), canvas.At(5, 5)) << "the first icon's sky";
    EXPECT_GT(canvas.Count(::GetSysColor(COLOR_WINDOWTEXT), {22, 1, 149, 19}), 10) << "the name";

    list.DrawItem(Item(canvas.dc(), ODA_SELECT, 0));
    EXPECT_EQ(::GetSysColor(COLOR_WINDOW), canvas.At(0, 0));
    EXPECT_EQ(::GetSysColor(COLOR_WINDOW), canvas.At(149, 19));

    Canvas untouched(150, 20, RGB(1, 2, 3));
    list.DrawItem(Item(untouched.dc(), ODA_FOCUS, ODS_SELECTED | ODS_FOCUS));
    EXPECT_EQ(150 * 20, untouched.Count(RGB(1, 2, 3), {0, 0, 150, 20})) << "focus alone draws nothing";

    // High contrast rows use the system's pairs, never the pale fill. The rule: the program's own fill only without high contrast.
    const struct { bool selected, highContrast; COLORREF fill, text; } rows[] = {
        {true, false, CPageListBox::kSelectedFill, ::GetSysColor(COLOR_WINDOWTEXT)},
        {true, true, ::GetSysColor(COLOR_HIGHLIGHT), ::GetSysColor(COLOR_HIGHLIGHTTEXT)},
        {false, true, ::GetSysColor(COLOR_WINDOW), ::GetSysColor(COLOR_WINDOWTEXT)}};
    for (const auto& r : rows) {
        const PageRowColors colours = PageRowColorsFor(r.selected, r.highContrast);
        EXPECT_EQ(std::make_pair(r.fill, r.text), std::make_pair(colours.fill, colours.text)) << r.selected << r.highContrast;
    }

    ASSERT_NE(::GetSysColor(COLOR_HIGHLIGHT), ::GetSysColor(COLOR_HIGHLIGHTTEXT));
    Canvas selected(150, 20, RGB(1, 2, 3));
    list.DrawItem(Item(selected.dc(), ODA_DRAWENTIRE, ODS_SELECTED), true);
    EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), selected.At(140, 10));
    EXPECT_EQ(0, selected.Count(CPageListBox::kSelectedFill, {0, 0, 150, 20}));
    EXPECT_GT(selected.Count(::GetSysColor(COLOR_HIGHLIGHTTEXT), {22, 1, 149, 19}), 10) << "the name, readable";

    Canvas plain(150, 20, RGB(1, 2, 3));
    list.DrawItem(Item(plain.dc(), ODA_DRAWENTIRE, 0), true);
    EXPECT_EQ(::GetSysColor(COLOR_WINDOW), plain.At(140, 10));
    EXPECT_GT(plain.Count(::GetSysColor(COLOR_WINDOWTEXT), {22, 1, 149, 19}), 10);
}

TEST_F(PageListItems, RowsIconsAndIndentFollowTheDpi) {
    struct Case { UINT dpi; int row, indent, icon; };
    for (const Case c : {Case{96, 20, 22, 20}, Case{144, 30, 33, 30}, Case{192, 40, 44, 40}}) {
        list.SetDpi(c.dpi);
        EXPECT_EQ(c.row, list.ItemHeight()) << c.dpi;
        EXPECT_EQ(c.indent, list.TextIndent()) << c.dpi;
        EXPECT_EQ(c.row, ::SendMessageW(list.GetSafeHwnd(), LB_GETITEMHEIGHT, 0, 0)) << "the live list took it";
        fw::ImageList icons(MakePageIcons(strip.get(), 7, 20, c.icon));
        ASSERT_TRUE(icons);
        int cx = 0, cy = 0;
        ::ImageList_GetIconSize(icons.get(), &cx, &cy);
        EXPECT_EQ(c.icon, cx);
        EXPECT_EQ(c.icon, cy);
        EXPECT_EQ(7, ::ImageList_GetImageCount(icons.get())) << "seven icons, none cut in two";
    }
    EXPECT_EQ(nullptr, MakePageIcons(nullptr, 7, 20, 30));

    // At 144 DPI the icon fills the taller row and the name starts beyond it.
    list.SetDpi(144);
    fw::ImageList icons(MakePageIcons(strip.get(), 7, 20, 30));
    list.SetImageList(icons.get());
    Canvas canvas(225, 30, RGB(1, 2, 3));
    DRAWITEMSTRUCT item = Item(canvas.dc(), ODA_DRAWENTIRE, 0);
    item.rcItem = {0, 0, 225, 30};
    list.DrawItem(item, false);
    EXPECT_EQ(RGB(0x8f, 0xd0, 0xf5), canvas.At(8, 8)) << "the first icon's sky, scaled";
    EXPECT_EQ(0, canvas.Count(::GetSysColor(COLOR_WINDOWTEXT), {30, 0, 33, 30})) << "no text over the icon";
    EXPECT_GT(canvas.Count(::GetSysColor(COLOR_WINDOWTEXT), {33, 1, 224, 29}), 10);
    list.SetImageList(images.get());
}

TEST(ListColumns, WidthsScaleBetweenDpisAndBack) {
    struct Case { int width; UINT from, to; int expected; };
    for (const Case c : {Case{350, 96, 144, 525}, Case{525, 144, 96, 350}, Case{50, 96, 192, 100}, Case{51, 96, 144, 77},
                         Case{350, 0, 144, 350}, Case{350, 96, 96, 350}})
        EXPECT_EQ(c.expected, ScaleColumnWidth(c.width, c.from, c.to)) << c.width << " " << c.from << "->" << c.to;
}

// ---- The colour swatch ----------------------------------------------------------------------

class CSwatchProbe : public fw::CDialogImpl<CSwatchProbe> {
public:
    static const fw::Handler<CSwatchProbe> kHandlers[];
    CSwatchProbe() : CDialogImpl(IDD_FW_PROBE) {}
    CColorButton swatch;

protected:
    BOOL OnInitDialog() override {
        swatch.SubclassDlgItem(IDC_FW_PLAIN, m_hwnd);
        swatch.SetColor(RGB(200, 40, 90));
        return TRUE;
    }

private:
    void OnOk() {}
};
const fw::Handler<CSwatchProbe> CSwatchProbe::kHandlers[] = {
    fw::OnCommand(IDOK, &CSwatchProbe::OnOk),
};

// The swatch drawn alone into a 40 x 20 canvas, its colour's pixels at each probe; where a probe
// names no colour, the swatch's own (or the shadow's when disabled).
TEST(ColorSwatch, FramesColourAndMarkerEnabledOrNot) {
    const COLORREF white = RGB(255, 255, 255), black = RGB(0, 0, 0), face = ::GetSysColor(COLOR_BTNFACE);
    struct Probe { int x, y; COLORREF colour; };
    // The frames: the bottom edge owns the corner, the right edge its own, the inner frame reversed.
    const std::vector<Probe> frames = {{0, 0, white}, {0, 18, white}, {0, 19, black}, {39, 0, black}, {2, 2, black},
                                       {37, 5, white}, {10, 17, white}};
    // The marker: S is 36 x 16, so its box spans (26,11)-(38,18) with a white edge.
    std::vector<Probe> marker = {{26, 11, white}, {30, 11, white}, {27, 12, face}, {37, 17, face}, {35, 14, face},
                                 {30, 15, face},  {32, 16, black}, {31, 16, face}};
    for (int x = 30; x <= 34; ++x) marker.push_back({x, 14, black});
    for (int x = 31; x <= 33; ++x) marker.push_back({x, 15, black});
    for (const UINT state : {0u, static_cast<UINT>(ODS_DISABLED)}) {
        CColorButton swatch;
        swatch.SetColor(RGB(10, 120, 200));
        Canvas canvas(40, 20, RGB(1, 2, 3));
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_BUTTON;
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = state;
        item.hDC = canvas.dc();
        item.rcItem = {0, 0, 40, 20};
        swatch.DrawItem(item);
        EXPECT_EQ(state ? ::GetSysColor(COLOR_BTNSHADOW) : RGB(10, 120, 200), canvas.At(10, 10)) << state;
        for (const Probe& p : frames) EXPECT_EQ(p.colour, canvas.At(p.x, p.y)) << state << " at " << p.x << "," << p.y;
        for (const Probe& p : marker) {
            if (!state || p.colour == black) {  // disabled, on the shadow: its black arrow
                EXPECT_EQ(p.colour, canvas.At(p.x, p.y)) << p.x << "," << p.y;
            }
        }
    }
}

// The system's colour dialog opened for `owner` and answered with `button` from inside its loop:
// what it looked like then, and what the choice gave.
struct ColourChoice {
    bool fullyOpen = false, ownerDisabled = false, chosen = false;
    HWND owner = nullptr;
    COLORREF color;
};
ColourChoice ChooseColour(HWND owner, COLORREF start, int button) {
    ColourChoice choice;
    choice.color = start;
    TimerScript script({[&] {
        // The colour dialog: the one with the "add to custom colours" button, in the opened part.
        HWND box = FindThreadDialog([](HWND w) { return ::IsWindowVisible(w) && ::GetDlgItem(w, 712); });
        choice.fullyOpen = box && ::IsWindowVisible(::GetDlgItem(box, 712));
        choice.owner = box ? ::GetWindow(box, GW_OWNER) : nullptr;
        choice.ownerDisabled = !::IsWindowEnabled(owner);
        ::PostMessageW(box ? box : ::GetForegroundWindow(), WM_COMMAND, button, 0);
    }});
    choice.chosen = SystemPrompts().PickColor(owner, choice.color);
    return choice;
}

TEST(ColorSwatch, ABoundButtonPaintsAndItsColourChoiceOpensModalToItsOwnerAndOnlyOkChangesIt) {
    TopWindows windows;
    HWND settings = windows.Make(L"settings", nullptr, SW_SHOW);
    const ColourChoice cancelled = ChooseColour(settings, RGB(128, 0, 0), IDCANCEL);
    EXPECT_FALSE(cancelled.chosen);
    EXPECT_TRUE(cancelled.fullyOpen);
    EXPECT_EQ(settings, cancelled.owner);
    EXPECT_TRUE(cancelled.ownerDisabled) << "the window under the colour dialog takes no input";
    EXPECT_TRUE(::IsWindowEnabled(settings));
    EXPECT_EQ(RGB(128, 0, 0), cancelled.color);
    const ColourChoice taken = ChooseColour(settings, RGB(128, 0, 0), IDOK);
    EXPECT_TRUE(taken.chosen);
    EXPECT_EQ(RGB(128, 0, 0), taken.color) << "starts at the current colour";

    // The window the user acted in, a dialog, owns it and waits for it. Its plain push button paints
    // as a swatch once bound.
    CSwatchProbe probe;
    ASSERT_TRUE(probe.Create());
    HWND window = probe.GetSafeHwnd(), button = probe.swatch.GetSafeHwnd();
    ASSERT_NE(nullptr, button);
    EXPECT_EQ(BS_OWNERDRAW, ::GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK);
    ::SetWindowPos(window, HWND_TOPMOST, 20, 20, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    ::UpdateWindow(window);
    PumpFor(300);
    RECT r{};
    ::GetClientRect(button, &r);
    EXPECT_EQ(RGB(200, 40, 90), ::GetPixel(fw::WindowDc(button).get(), 6, r.bottom / 2));
    ::SetForegroundWindow(window);
    ::SetActiveWindow(window);
    ASSERT_EQ(window, ::GetActiveWindow());
    const ColourChoice inDialog = ChooseColour(window, 0, IDCANCEL);
    EXPECT_EQ(window, inDialog.owner);
    EXPECT_TRUE(inDialog.ownerDisabled) << "the window under it must wait for it";
    EXPECT_TRUE(::IsWindowEnabled(window));
    probe.DestroyWindow();
}

// ---- The choosers leave the current folder alone ------------------------------------------------

std::wstring CurrentFolder() {
    wchar_t folder[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, folder);
    return folder;
}

class Choosers : public ::testing::Test {
protected:
    ScratchDir dir;
    TopWindows windows;
    HWND settings = nullptr;
    std::wstring startFolder;
    std::string pictures;

    void SetUp() override {
        settings = windows.Make(L"settings", nullptr, SW_SHOW);
        startFolder = CurrentFolder();
        pictures = dir.MakeDir("pictures");
        WriteFile(pictures + "\\photo.bmp", "BM");
    }
    void TearDown() override { ::SetCurrentDirectoryW(startFolder.c_str()); }
};

TEST_F(Choosers, OpenDialogAndFolderBrowserReturnTheChoiceAndLeaveTheCurrentFolder) {
    const std::string photo = pictures + "\\photo.bmp";
    std::string chosen;
    {
        TimerScript script({[&] {
            HWND box = FindThreadDialog(settings);
            ASSERT_NE(nullptr, box);
            // The file name box, then Open: the dialog goes to the picture's folder to open it.
            ::SetDlgItemTextW(box, 1148, mb::Widen(photo).c_str());
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        }});
        ASSERT_TRUE(SystemPrompts().ChooseImageFile(settings, chosen));
    }
    EXPECT_EQ(photo, chosen);
    EXPECT_EQ(startFolder, CurrentFolder()) << "the picture's folder must stay free to remove";

    chosen.clear();
    {
        // The selection is asked for on one tick and again, with OK, on the next: on a busy machine
        // the browser may still be filling its tree when the first tick comes and keep its default.
        const auto select = [&] {
            HWND box = FindThreadDialog(settings);
            if (box) ::SendMessageW(box, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(mb::Widen(pictures).c_str()));
            return box;
        };
        TimerScript script({[&] { select(); },
                            [&] {
                                HWND box = select();
                                ASSERT_NE(nullptr, box);
                                ::PostMessageW(box, WM_COMMAND, IDOK, 0);
                            }});
        ASSERT_TRUE(SystemPrompts().BrowseForFolder(settings, chosen));
    }
    EXPECT_EQ(pictures, chosen);
    EXPECT_EQ(startFolder, CurrentFolder());
}

// ---- Enter and Escape on a page -------------------------------------------------------------

// The dialog manager turns Enter and Escape on a page into IDOK and IDCANCEL: the page stays,
// shows and stores what it did before, and asks for no fresh background.
template <class Page>
class EveryPage : public OnePageTest<Page> {};
using Pages = ::testing::Types<CSetBackImg, CSetForeImg, CSetEffect, CSetPath, CSetCalen, CSetEtc>;
TYPED_TEST_SUITE(EveryPage, Pages);

TYPED_TEST(EveryPage, EnterAndEscapeChangeNothing) {
    // Switches and faces off their defaults, and masks to choose from.
    this->env.isframe = 1;
    this->env.iscalender = 1;
    this->env.isbold1 = 1;
    this->env.ymfontname = this->env.ddfontname = "Tahoma";
    this->MakeMasks({{"disc.gif", 30, 30}, {"star.gif", 30, 30}});
    this->Open();
    this->pageComposer.freshAsked = false;
    ASSERT_TRUE(SaveSettings(this->env, this->programs));
    const std::string stored = ReadFile(this->dir.File("env.ini"));
    const std::vector<std::string> shown = this->ControlStates();
    ::SendMessageW(this->hwnd, WM_COMMAND, IDOK, 0);
    ::SendMessageW(this->hwnd, WM_COMMAND, IDCANCEL, 0);
    Pump();
    EXPECT_TRUE(::IsWindowVisible(this->hwnd));
    EXPECT_EQ(shown, this->ControlStates());
    ASSERT_TRUE(SaveSettings(this->env, this->programs));
    EXPECT_EQ(stored, ReadFile(this->dir.File("env.ini")));
    EXPECT_FALSE(this->pageComposer.freshAsked);
}

// ---- The about box --------------------------------------------------------------------------

TEST(AboutBox, VersionInTheCaptionAndLineAndTwoLinks) {
    CAboutDlg about;
    std::wstring caption, version, web, mail;
    TimerScript script({[&] {
        HWND box = about.GetSafeHwnd();
        caption = TextOf(box);
        version = TextOf(::GetDlgItem(box, IDC_VERSION_LINE));
        web = TextOf(::GetDlgItem(box, IDC_WEB_LINK));
        mail = TextOf(::GetDlgItem(box, IDC_MAIL_LINK));
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    }});
    EXPECT_EQ(IDOK, about.DoModal());
    EXPECT_EQ(kAboutTitle, caption);
    EXPECT_EQ(L"Dioramix ver" DIORAMIX_VERSION_WIDE, version);
    EXPECT_EQ(L"https://dioramix.example.org/", web);
    EXPECT_EQ(L"dioramix@example.org", mail);
}

}  // namespace
