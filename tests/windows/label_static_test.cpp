// The label on a real static control of a real dialog: style bits and the font and frame they
// give, colours through the reflected control-colour request, the link's click and cursor.

#include "framework/window.h"
#include "settings_ui/label_static.h"
#include "windows/page_fixture.h"

namespace {

using namespace page_testing;

class RecordingLabel : public CLabelStatic {
public:
    std::vector<std::string> opened;

protected:
    void OpenLinkTarget(const std::string& text) override { opened.push_back(text); }
};

// Any template with statics will do: the calendar page's, without its page logic.
class LabelHost : public fw::CDialogImpl<LabelHost> {
public:
    LabelHost() : CDialogImpl(IDD_SET_CALEN) {}
    RecordingLabel label;
    int clicksSeenByDialog = 0;
    static const fw::Handler<LabelHost> kHandlers[];

protected:
    BOOL OnInitDialog() override {
        label.SubclassDlgItem(IDC_CALEN_YM_PREVIEW, m_hwnd);
        return TRUE;
    }

private:
    void OnLabel() { ++clicksSeenByDialog; }
};

const fw::Handler<LabelHost> LabelHost::kHandlers[] = {
    fw::OnCommand(IDC_CALEN_YM_PREVIEW, &LabelHost::OnLabel, STN_CLICKED),
};

class LabelStatic : public PageTest {
protected:
    LabelHost host;
    HWND label = nullptr;

    void SetUp() override {
        PageTest::SetUp();
        ASSERT_TRUE(host.Create(parent));
        ::ShowWindow(host.GetSafeHwnd(), SW_SHOW);
        label = host.label.GetSafeHwnd();
        ASSERT_NE(nullptr, label);
        Pump();
    }
    void TearDown() override {
        host.DestroyWindow();
        PageTest::TearDown();
    }
    LONG_PTR Style() const { return ::GetWindowLongPtrW(label, GWL_STYLE); }
    LONG_PTR ExStyle() const { return ::GetWindowLongPtrW(label, GWL_EXSTYLE); }
    LOGFONTA CreatedFont() const {
        LOGFONTA lf{};
        ::GetObjectA(host.label.GetFont(), sizeof lf, &lf);
        return lf;
    }
    void ClickLabel() {
        ::SendMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        ::SendMessageW(label, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        Pump();
    }
};

TEST(LabelStyleRules, BitsCombineAndDecideTheFourFontFields) {
    EXPECT_EQ(0x01u, CombineFontStyle(0, 0, 0x01));
    EXPECT_EQ(0x00u, CombineFontStyle(0, 0x01, 0x01)) << "a bit named in both is removed";
    EXPECT_EQ(0x06u, CombineFontStyle(0x07, 0x01, 0x04));
    EXPECT_EQ(0x30u, CombineFontStyle(0, 0, 0x30));

    LOGFONTA lf{};
    lf.lfHeight = -29;
    lf.lfCharSet = HANGUL_CHARSET;
    ApplyFontStyle(lf, 0x0F);
    EXPECT_EQ(FW_BOLD, lf.lfWeight);
    EXPECT_TRUE(lf.lfItalic && lf.lfUnderline && lf.lfStrikeOut);
    EXPECT_EQ(-29, lf.lfHeight);
    EXPECT_EQ(HANGUL_CHARSET, lf.lfCharSet);
    ApplyFontStyle(lf, 0x30);
    EXPECT_EQ(FW_NORMAL, lf.lfWeight);
    EXPECT_FALSE(lf.lfItalic || lf.lfUnderline || lf.lfStrikeOut);
}

// From the default GUI font, the style bits reach the created font and the control; a bit added
// and removed in one call stays off. The border and sunken bits change the window's frame.
TEST_F(LabelStatic, StyleBitsReachTheCreatedFontTheControlAndTheWindowFrame) {
    LOGFONTA stock{};
    ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof stock, &stock);
    EXPECT_STREQ(stock.lfFaceName, host.label.GetLogFont().lfFaceName);
    EXPECT_EQ(0u, host.label.GetFontStyle());
    EXPECT_EQ(reinterpret_cast<LRESULT>(host.label.GetFont()), ::SendMessageW(label, WM_GETFONT, 0, 0));
    host.label.SetFontStyle(0x01, 0x01);
    EXPECT_EQ(0u, host.label.GetFontStyle());
    EXPECT_EQ(FW_NORMAL, CreatedFont().lfWeight);

    host.label.SetFontStyle(0, 0x0F);
    LOGFONTA lf = CreatedFont();
    EXPECT_EQ(FW_BOLD, lf.lfWeight);
    EXPECT_TRUE(lf.lfItalic && lf.lfUnderline && lf.lfStrikeOut);
    EXPECT_EQ(reinterpret_cast<LRESULT>(host.label.GetFont()), ::SendMessageW(label, WM_GETFONT, 0, 0));
    host.label.SetFontStyle(0x0D, 0);
    lf = CreatedFont();
    EXPECT_EQ(FW_NORMAL, lf.lfWeight);
    EXPECT_TRUE(lf.lfItalic);
    EXPECT_FALSE(lf.lfUnderline || lf.lfStrikeOut);

    RECT before{};
    ::GetClientRect(label, &before);
    host.label.SetFontStyle(0x02, 0x30);
    EXPECT_EQ(0x30u, host.label.GetFontStyle());
    EXPECT_TRUE(Style() & WS_BORDER);
    EXPECT_TRUE(ExStyle() & WS_EX_STATICEDGE);
    RECT framed{};
    ::GetClientRect(label, &framed);
    EXPECT_LT(framed.right, before.right) << "the frame is recomputed at once";

    host.label.SetFontStyle(0x10, 0);
    EXPECT_FALSE(Style() & WS_BORDER);
    EXPECT_TRUE(ExStyle() & WS_EX_STATICEDGE);
    host.label.SetFontStyle(0x20, 0);
    EXPECT_FALSE(ExStyle() & WS_EX_STATICEDGE);
    EXPECT_TRUE(ExStyle() & WS_EX_CLIENTEDGE) << "the template's own edge is not the label's to remove";
}

TEST_F(LabelStatic, LogFontDecidesTheStyleUntilTheNextStyleChange) {
    LOGFONTA bold{};
    bold.lfHeight = -20;
    bold.lfWeight = FW_BOLD;
    lstrcpyA(bold.lfFaceName, "Tahoma");
    host.label.SetLogFont(bold);
    EXPECT_EQ(FW_BOLD, CreatedFont().lfWeight);
    EXPECT_EQ(-20, CreatedFont().lfHeight);

    host.label.SetFontStyle(0, CLabelStatic::kItalic);
    EXPECT_EQ(FW_NORMAL, CreatedFont().lfWeight) << "the style bits lack bold";
    EXPECT_TRUE(CreatedFont().lfItalic);
    EXPECT_STREQ("Tahoma", CreatedFont().lfFaceName);
}

TEST_F(LabelStatic, ControlColourRequestGetsTheLabelsColoursAndFontAndItPaintsItsBackground) {
    host.label.SetTextColor(RGB(200, 10, 20));
    host.label.SetBkColor(RGB(0, 128, 0));
    fw::MemoryDc dc(::CreateCompatibleDC(nullptr));
    LRESULT brush = ::SendMessageW(host.GetSafeHwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.get()),
                                   reinterpret_cast<LPARAM>(label));
    EXPECT_EQ(reinterpret_cast<LRESULT>(host.label.GetBkBrush()), brush);
    LOGBRUSH lb{};
    ::GetObjectW(reinterpret_cast<HBRUSH>(brush), sizeof lb, &lb);
    EXPECT_EQ(RGB(0, 128, 0), lb.lbColor);
    EXPECT_EQ(RGB(200, 10, 20), ::GetTextColor(dc.get()));
    EXPECT_EQ(TRANSPARENT, ::GetBkMode(dc.get()));
    EXPECT_EQ(host.label.GetFont(), ::GetCurrentObject(dc.get(), OBJ_FONT));

    // And it paints its background in its own colour.
    ::SetWindowPos(parent, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::UpdateWindow(label);
    Pump();
    RECT r{};
    ::GetClientRect(label, &r);
    fw::WindowDc window(label);
    EXPECT_EQ(RGB(0, 128, 0), ::GetPixel(window.get(), r.right - 2, r.bottom - 2));
}

TEST_F(LabelStatic, LinkOpensItsOwnTextAndStopsWhenSwitchedOffAPlainLabelNotifiesTheDialog) {
    ::SetWindowTextW(label, L"https://example.org/dioramix");
    ClickLabel();
    EXPECT_TRUE(host.label.opened.empty()) << "a plain label never reacts to clicks";

    host.label.SetLink(TRUE);
    EXPECT_TRUE(Style() & SS_NOTIFY);
    EXPECT_EQ(RGB(0, 0, 255), host.label.GetTextColor());
    EXPECT_TRUE(CreatedFont().lfUnderline);
    EXPECT_EQ(TRUE, ::SendMessageW(label, WM_SETCURSOR, reinterpret_cast<WPARAM>(label), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(::LoadCursor(nullptr, IDC_ARROW), ::GetCursor());
    ClickLabel();
    ASSERT_EQ(1u, host.label.opened.size());
    EXPECT_EQ("https://example.org/dioramix", host.label.opened[0]);
    EXPECT_EQ(0, host.clicksSeenByDialog) << "the link's own click stays with the link";

    host.label.SetLink(FALSE);
    EXPECT_FALSE(Style() & SS_NOTIFY);
    ClickLabel();
    EXPECT_EQ(1u, host.label.opened.size());
    EXPECT_EQ(RGB(0, 0, 255), host.label.GetTextColor());
    EXPECT_TRUE(CreatedFont().lfUnderline);

    // A plain label's notifications reach the dialog.
    ::SetWindowLongPtrW(label, GWL_STYLE, Style() | SS_NOTIFY);
    ClickLabel();
    EXPECT_EQ(1, host.clicksSeenByDialog);
    EXPECT_EQ(1u, host.label.opened.size());
}

}  // namespace
