// The thin window layer on real windows: handler tables, reflection to bound controls,
// modal and modeless runs, pre-translation inside the modal loop, exceptions at the boundary,
// handlers that decline a message, and the owners that need a window.

#include <stdexcept>

#include "framework/window.h"
#include "windows/page_fixture.h"

namespace {

using page_testing::Click;
using page_testing::Pump;

constexpr UINT WM_PROBE_SCRIPT = WM_APP + 1;
constexpr UINT WM_PROBE_THROW = WM_APP + 2;
// Sent to the bound button: it answers 7 itself, or the length of its text from the default part.
constexpr UINT WM_PROBE_ASK = WM_APP + 3;
constexpr UINT WM_PROBE_ASK_DEFAULT = WM_APP + 4;

class CBoundButton : public fw::CControlImpl<CBoundButton> {
public:
    static const fw::Handler<CBoundButton> kHandlers[];
    int reflectedClicks = 0;

private:
    LRESULT OnReflectedCommand(WPARAM wp, LPARAM) {
        if (HIWORD(wp) == BN_CLICKED) ++reflectedClicks;
        return 1;
    }
    LRESULT OnAsk(WPARAM, LPARAM) { return 7; }
    LRESULT OnAskDefault(WPARAM, LPARAM) { return CallOriginal(WM_GETTEXTLENGTH, 0, 0); }
};

const fw::Handler<CBoundButton> CBoundButton::kHandlers[] = {
    fw::OnMessage(fw::kReflectBase + WM_COMMAND, &CBoundButton::OnReflectedCommand),
    fw::OnMessage(WM_PROBE_ASK, &CBoundButton::OnAsk),
    fw::OnMessage(WM_PROBE_ASK_DEFAULT, &CBoundButton::OnAskDefault),
};

// Another subclass of a control, as an accessibility aid or a tool may add one: counts what
// reaches it and leaves with the window.
LRESULT CALLBACK CountingSubclass(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR count) {
    if (msg == WM_PROBE_ASK) ++*reinterpret_cast<int*>(count);
    if (msg == WM_NCDESTROY) ::RemoveWindowSubclass(hwnd, CountingSubclass, id);
    return ::DefSubclassProc(hwnd, msg, wp, lp);
}

class CProbeDlg : public fw::CDialogImpl<CProbeDlg> {
public:
    static const fw::Handler<CProbeDlg> kHandlers[];
    CProbeDlg() : CDialogImpl(IDD_FW_PROBE) {}

    bool initialised = false;
    int plainClicks = 0;
    int boundClicksSeenByDialog = 0;
    UINT lastRangeId = 0;
    int swallowedReturns = 0;
    int cancels = 0;
    bool scripted = false;
    bool declineClose = true;
    CBoundButton bound;
    std::wstring captionAfterDefault;
    bool inDefaultSetText = false;

    bool PreTranslateMessage(MSG* msg) override {
        if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) {
            ++swallowedReturns;
            return true;
        }
        return CDialog::PreTranslateMessage(msg);
    }

protected:
    BOOL OnInitDialog() override {
        initialised = true;
        bound.SubclassDlgItem(IDC_FW_BOUND, m_hwnd);
        if (scripted) ::PostMessageW(m_hwnd, WM_PROBE_SCRIPT, 0, 0);
        return TRUE;
    }

private:
    void OnPlain() { ++plainClicks; }
    void OnBound() { ++boundClicksSeenByDialog; }
    void OnRange(UINT id) { lastRangeId = id; }
    void OnOk() { EndDialog(IDOK); }
    void OnCancelCommand() { ++cancels; }
    // Declined, the close request takes the default way: WM_CLOSE, then IDCANCEL.
    fw::MessageResult OnSysCommand(WPARAM wp, LPARAM) {
        if ((wp & 0xFFF0) == SC_CLOSE && !declineClose) return 0;
        return fw::kDeclined;
    }
    LRESULT OnThrow(WPARAM, LPARAM) { throw std::runtime_error("handler failed"); }
    // The default processing first (it sets the caption), then this handler's own part.
    fw::MessageResult OnSetText(WPARAM wp, LPARAM lp) {
        if (inDefaultSetText) return fw::kDeclined;
        const LRESULT result = fw::RunDialogDefault(m_hwnd, WM_SETTEXT, wp, lp, inDefaultSetText);
        captionAfterDefault = fw::WindowText(m_hwnd);
        return result;
    }

    // Inside the modal loop: click, press Enter in the edit box (the default button would end the
    // dialog unless pre-translation eats it), then end with a result of our own.
    LRESULT OnScript(WPARAM step, LPARAM) {
        switch (step) {
            case 0:
                ::SendMessageW(GetDlgItem(IDC_FW_PLAIN), BM_CLICK, 0, 0);
                ::PostMessageW(GetDlgItem(IDC_FW_EDIT), WM_KEYDOWN, VK_RETURN, 0);
                ::PostMessageW(m_hwnd, WM_PROBE_SCRIPT, 1, 0);
                break;
            default:
                EndDialog(42);
        }
        return 0;
    }
};

const fw::Handler<CProbeDlg> CProbeDlg::kHandlers[] = {
    fw::OnCommand(IDC_FW_PLAIN, &CProbeDlg::OnPlain, BN_CLICKED),
    fw::OnCommand(IDC_FW_BOUND, &CProbeDlg::OnBound),
    fw::OnCommandRange(IDC_FW_RANGE_A, IDC_FW_RANGE_B, &CProbeDlg::OnRange),
    fw::OnCommand(IDOK, &CProbeDlg::OnOk),
    fw::OnCommand(IDCANCEL, &CProbeDlg::OnCancelCommand),
    fw::OnMessage(WM_SYSCOMMAND, &CProbeDlg::OnSysCommand),
    fw::OnMessage(WM_PROBE_SCRIPT, &CProbeDlg::OnScript),
    fw::OnMessage(WM_PROBE_THROW, &CProbeDlg::OnThrow),
    fw::OnMessage(WM_SETTEXT, &CProbeDlg::OnSetText),
};

TEST(WindowLayer, ModelessDialogDispatchesItsHandlerTable) {
    CProbeDlg dlg;
    ASSERT_TRUE(dlg.Create());
    HWND hwnd = dlg.GetSafeHwnd();
    ASSERT_TRUE(dlg.initialised);

    Click(hwnd, IDC_FW_PLAIN);
    Click(hwnd, IDC_FW_RANGE_B);
    EXPECT_EQ(1, dlg.plainClicks);
    EXPECT_EQ(static_cast<UINT>(IDC_FW_RANGE_B), dlg.lastRangeId);

    // A bound control gets its own notification first; the dialog does not see it.
    Click(hwnd, IDC_FW_BOUND);
    EXPECT_EQ(1, dlg.bound.reflectedClicks);
    EXPECT_EQ(0, dlg.boundClicksSeenByDialog);

    // An exception in a handler stops at the boundary; the window lives on.
    ::SendMessageW(hwnd, WM_PROBE_THROW, 0, 0);
    EXPECT_TRUE(dlg.IsWindow());

    dlg.DestroyWindow();
    EXPECT_EQ(nullptr, dlg.GetSafeHwnd());
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_EQ(nullptr, dlg.bound.GetSafeHwnd()) << "the subclass is undone when the control dies";
}

TEST(WindowLayer, ABoundControlChainsWithOtherSubclassesAndUnbindsWithoutCuttingThemOff) {
    CProbeDlg dlg;
    ASSERT_TRUE(dlg.Create());
    HWND button = dlg.GetDlgItem(IDC_FW_BOUND);
    ASSERT_EQ(&dlg.bound, fw::CControl::FromHandle(button));
    int seenAbove = 0;  // WM_PROBE_ASK as it reached the other subclass
    ASSERT_TRUE(::SetWindowSubclass(button, CountingSubclass, 1, reinterpret_cast<DWORD_PTR>(&seenAbove)));

    // Bound: the control's handler answers; the default part is the button's own procedure.
    EXPECT_EQ(7, ::SendMessageW(button, WM_PROBE_ASK, 0, 0));
    EXPECT_EQ(5, ::SendMessageW(button, WM_PROBE_ASK_DEFAULT, 0, 0)) << "the default part did not reach \"Bound\"";
    EXPECT_EQ(L"Bound", fw::WindowText(button)) << "an unhandled message stopped in the binding";
    CBoundButton second;
    EXPECT_FALSE(second.SubclassDlgItem(IDC_FW_BOUND, dlg.GetSafeHwnd())) << "a control bound twice";

    // Unbound under the other subclass: that one still sees the messages, the button answers alone.
    dlg.bound.UnsubclassWindow();
    EXPECT_EQ(nullptr, fw::CControl::FromHandle(button));
    EXPECT_EQ(0, ::SendMessageW(button, WM_PROBE_ASK, 0, 0));
    EXPECT_EQ(2, seenAbove) << "unbinding cut the other subclass off";
    Click(dlg.GetSafeHwnd(), IDC_FW_BOUND);
    EXPECT_EQ(0, dlg.bound.reflectedClicks);
    EXPECT_EQ(1, dlg.boundClicksSeenByDialog) << "the dialog's own handler after the binding ended";

    // Bound again, now the newer subclass: it answers first, and the default part still goes down
    // through the other one to the button.
    ASSERT_TRUE(second.SubclassDlgItem(IDC_FW_BOUND, dlg.GetSafeHwnd()));
    EXPECT_EQ(7, ::SendMessageW(button, WM_PROBE_ASK, 0, 0));
    EXPECT_EQ(2, seenAbove);
    EXPECT_EQ(5, ::SendMessageW(button, WM_PROBE_ASK_DEFAULT, 0, 0));
    dlg.DestroyWindow();
    EXPECT_EQ(nullptr, second.GetSafeHwnd()) << "the binding outlived its control";
}

TEST(WindowLayer, ModalRunPreTranslatesAndReturnsTheResult) {
    CProbeDlg dlg;
    dlg.scripted = true;
    INT_PTR result = dlg.DoModal();
    EXPECT_EQ(42, result) << "Enter reached the default button instead of being swallowed";
    EXPECT_EQ(1, dlg.plainClicks);
    EXPECT_EQ(1, dlg.swallowedReturns);
    EXPECT_EQ(nullptr, dlg.GetSafeHwnd());
}

// A declined message gets the default processing; a handler may run it before its own part, as a
// DPI change is handled: the dialog manager has acted when the handler's part runs, and the message
// is processed once. The object's end ends its window.
TEST(WindowLayer, DeclinedMessageGetsTheDefaultProcessingAndAHandlerMayRunItFirst) {
    HWND hwnd = nullptr;
    {
        CProbeDlg dlg;
        ASSERT_TRUE(dlg.Create());
        hwnd = dlg.GetSafeHwnd();

        dlg.declineClose = false;
        ::SendMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
        Pump();
        EXPECT_EQ(0, dlg.cancels) << "a handled close request still reached the default processing";

        dlg.declineClose = true;
        ::SendMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
        Pump();
        EXPECT_EQ(1, dlg.cancels) << "the declined close request did not become IDCANCEL";
        EXPECT_TRUE(dlg.IsWindow());

        // The default processing of a declined system command that is not a close: the window is minimised.
        ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
        ::SendMessageW(hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        EXPECT_TRUE(::IsIconic(hwnd));

        ::SetWindowTextW(hwnd, L"after the default");
        EXPECT_EQ(L"after the default", dlg.captionAfterDefault);
        EXPECT_EQ(L"after the default", fw::WindowText(hwnd));
        EXPECT_FALSE(dlg.inDefaultSetText);
    }
    EXPECT_FALSE(::IsWindow(hwnd));
}

TEST(WindowLayer, PaintDcPaintsOnceAndEndsWithItsLastOwner) {
    HWND hwnd = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 40, 40, nullptr, nullptr,
                                  nullptr, nullptr);
    ASSERT_TRUE(hwnd);
    Pump();
    ::InvalidateRect(hwnd, nullptr, FALSE);
    ASSERT_TRUE(::GetUpdateRect(hwnd, nullptr, FALSE));
    std::optional<fw::PaintDc> kept;
    {
        fw::PaintDc dc(hwnd);
        EXPECT_NE(nullptr, dc.get());
        EXPECT_FALSE(::GetUpdateRect(hwnd, nullptr, FALSE)) << "painting did not take the update region";
        kept.emplace(std::move(dc));
        EXPECT_EQ(nullptr, dc.get());
    }
    EXPECT_NE(nullptr, kept->get()) << "the move lost the paint's DC";
    kept.reset();

    // Ended once: the next paint begins as usual.
    ::InvalidateRect(hwnd, nullptr, FALSE);
    {
        fw::PaintDc again(hwnd);
        EXPECT_NE(nullptr, again.get());
    }
    EXPECT_FALSE(::GetUpdateRect(hwnd, nullptr, FALSE));
    ::DestroyWindow(hwnd);
}

TEST(WindowLayer, WaitCursorPutsBackThePreviousCursorOnce) {
    HCURSOR arrow = ::LoadCursor(nullptr, IDC_ARROW), wait = ::LoadCursor(nullptr, IDC_WAIT);
    ::SetCursor(arrow);
    std::optional<fw::WaitCursor> kept;
    {
        fw::WaitCursor first;
        EXPECT_EQ(wait, ::GetCursor());
        kept.emplace(std::move(first));
    }
    EXPECT_EQ(wait, ::GetCursor()) << "the moved-from owner put the cursor back";
    kept.reset();
    EXPECT_EQ(arrow, ::GetCursor());
}

}  // namespace
