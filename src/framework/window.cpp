#include "framework/window.h"

#include <algorithm>
#include <exception>
#include <vector>

#include "framework/field_log.h"
#include "framework/mbstring.h"

namespace fw {
namespace {

// The id of the framework's subclass among a control's subclasses; the procedure names it too.
constexpr UINT_PTR kControlSubclassId = 0x44524D43;
// The bound object, for the notifications its dialog reflects (mingw-w64 has no GetWindowSubclass).
constexpr wchar_t kControlProp[] = L"Dioramix.CControl";

// Live dialogs of this thread, for message pre-translation inside modal loops.
thread_local std::vector<CDialog*> t_dialogs;
thread_local HHOOK t_filterHook = nullptr;

LRESULT CALLBACK MessageFilterProc(int code, WPARAM wp, LPARAM lp) {
    if (code == MSGF_DIALOGBOX) {
        auto* msg = reinterpret_cast<MSG*>(lp);
        // Newest first: the innermost dialog sees its messages before its owners do.
        std::vector<CDialog*> dialogs(t_dialogs.rbegin(), t_dialogs.rend());
        for (CDialog* dlg : dialogs) {
            HWND h = dlg->GetSafeHwnd();
            if (h && (msg->hwnd == h || ::IsChild(h, msg->hwnd))) {
                bool eaten = false;
                try {
                    eaten = dlg->PreTranslateMessage(msg);
                } catch (...) {
                    ReportBoundaryException("PreTranslateMessage");
                }
                if (eaten) return TRUE;
                break;
            }
        }
    }
    return ::CallNextHookEx(t_filterHook, code, wp, lp);
}

void Register(CDialog* dlg) {
    t_dialogs.push_back(dlg);
    if (!t_filterHook) t_filterHook = ::SetWindowsHookExW(WH_MSGFILTER, MessageFilterProc, nullptr, ::GetCurrentThreadId());
}

void Unregister(CDialog* dlg) {
    t_dialogs.erase(std::remove(t_dialogs.begin(), t_dialogs.end(), dlg), t_dialogs.end());
    if (t_dialogs.empty() && t_filterHook) {
        ::UnhookWindowsHookEx(t_filterHook);
        t_filterHook = nullptr;
    }
}

// Messages whose dialog-procedure answer is the result itself, not TRUE plus DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT msg) {
    switch (msg) {
        case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX: case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC:
        case WM_COMPAREITEM: case WM_VKEYTOITEM: case WM_CHARTOITEM: case WM_QUERYDRAGICON:
            return true;
        default:
            return false;
    }
}

// The control window a parent notification comes from, if any.
HWND NotifyingControl(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND: return reinterpret_cast<HWND>(lp);
        case WM_NOTIFY: return lp ? reinterpret_cast<NMHDR*>(lp)->hwndFrom : nullptr;
        case WM_DRAWITEM: return lp ? reinterpret_cast<DRAWITEMSTRUCT*>(lp)->hwndItem : nullptr;
        case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX: case WM_CTLCOLORBTN: case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORSCROLLBAR: case WM_HSCROLL: case WM_VSCROLL:
            return reinterpret_cast<HWND>(lp);
        default: return nullptr;
    }
}

}  // namespace

void ReportBoundaryException(const char* where) noexcept {
    char text[256];
    wsprintfA(text, "Dioramix: exception stopped at %s\n", where);
    ::OutputDebugStringA(text);
    Log("exception stopped at %s", where);
}

// ---- CDialog -------------------------------------------------------------------------------

CDialog::CDialog(UINT templateId, HWND parent) noexcept : m_templateId(templateId), m_parent(parent) {}

CDialog::~CDialog() {
    if (m_hwnd && ::IsWindow(m_hwnd)) {
        ::SetWindowLongPtrW(m_hwnd, DWLP_USER, 0);
        ::DestroyWindow(m_hwnd);
    }
    Unregister(this);
}

INT_PTR CDialog::DoModal() {
    m_modeless = false;
    return ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_templateId), m_parent, DialogProc,
                             reinterpret_cast<LPARAM>(this));
}

bool CDialog::Create() {
    m_modeless = true;
    return ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_templateId), m_parent, DialogProc,
                                reinterpret_cast<LPARAM>(this)) != nullptr;
}

void CDialog::DestroyWindow() {
    if (m_hwnd) ::DestroyWindow(m_hwnd);
}

void CDialog::EndDialog(INT_PTR result) {
    if (!m_hwnd) return;
    if (m_modeless) ::DestroyWindow(m_hwnd); else ::EndDialog(m_hwnd, result);
}

std::wstring WindowText(HWND hwnd) {
    const int length = ::GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(hwnd, text.data(), length + 1)));
    return text;
}

LRESULT RunDialogDefault(HWND dialog, UINT msg, WPARAM wp, LPARAM lp, bool& inDefault) {
    inDefault = true;
    const LRESULT result = ::DefDlgProcW(dialog, msg, wp, lp);
    inDefault = false;
    return result;
}

void RunDefaultDpiChange(HWND dialog, WPARAM wp, LPARAM lp, bool& inDefault) {
    const auto* suggested = reinterpret_cast<const RECT*>(lp);
    const RECT wanted = suggested ? *suggested : RECT{};
    RunDialogDefault(dialog, WM_DPICHANGED, wp, lp, inDefault);
    RECT now{};
    if (!suggested || (::GetWindowRect(dialog, &now) && ::EqualRect(&now, &wanted))) return;
    ::SetWindowPos(dialog, nullptr, wanted.left, wanted.top, wanted.right - wanted.left, wanted.bottom - wanted.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetStyleBits(HWND hwnd, int index, LONG_PTR bits, bool on) {
    const LONG_PTR style = ::GetWindowLongPtrW(hwnd, index);
    ::SetWindowLongPtrW(hwnd, index, on ? style | bits : style & ~bits);
}

std::string CDialog::GetDlgItemText(int id) const { return mb::Narrow(WindowText(GetDlgItem(id))); }

void CDialog::SetDlgItemText(int id, const std::string& text) const {
    ::SetDlgItemTextW(m_hwnd, id, mb::Widen(text).c_str());
}

bool CDialog::PreTranslateMessage(MSG* msg) {
    // Modeless dialogs get keyboard navigation; modal ones have it from their own loop.
    if (!m_modeless || !m_hwnd) return false;
    // A page that its dialog takes into its own navigation (WS_EX_CONTROLPARENT) leaves Tab to that
    // dialog, so the focus moves between the page and the dialog's other controls.
    const bool tab = (msg->message == WM_KEYDOWN || msg->message == WM_CHAR) && msg->wParam == (msg->message == WM_CHAR ? '\t' : VK_TAB);
    if (tab && (::GetWindowLongW(m_hwnd, GWL_STYLE) & WS_CHILD) &&
        (::GetWindowLongW(m_hwnd, GWL_EXSTYLE) & WS_EX_CONTROLPARENT))
        return false;
    return ::IsDialogMessageW(m_hwnd, msg);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    CDialog* self = nullptr;
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<CDialog*>(lp);
        self->m_hwnd = hwnd;
        ::SetWindowLongPtrW(hwnd, DWLP_USER, lp);
        Register(self);
    } else {
        self = reinterpret_cast<CDialog*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
    }
    if (!self) return FALSE;

    INT_PTR answer = FALSE;
    try {
        answer = self->HandleMessage(msg, wp, lp);
    } catch (...) {
        ReportBoundaryException("dialog procedure");
    }
    if (msg == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        self->m_hwnd = nullptr;
        Unregister(self);
        try {
            self->OnFinalMessage();
        } catch (...) {
            ReportBoundaryException("OnFinalMessage");
        }
    }
    return answer;
}

bool CDialog::ReflectToControl(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    HWND from = NotifyingControl(msg, wp, lp);
    CControl* control = from ? CControl::FromHandle(from) : nullptr;
    return control && control->HandleReflected(msg, wp, lp, result);
}

INT_PTR CDialog::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    // OnInitDialog is the one handler of WM_INITDIALOG: its answer is whether the system sets the focus.
    if (msg == WM_INITDIALOG) return OnInitDialog();
    LRESULT result = 0;
    bool handled = ReflectToControl(msg, wp, lp, result) || Dispatch(msg, wp, lp, result);
    if (!handled) return FALSE;
    if (ReturnsResultDirectly(msg)) return static_cast<INT_PTR>(result);
    ::SetWindowLongPtrW(m_hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}

// ---- CControl ------------------------------------------------------------------------------

CControl::~CControl() { UnsubclassWindow(); }

bool CControl::SubclassDlgItem(int id, HWND parent) {
    HWND hwnd = ::GetDlgItem(parent, id);
    if (!hwnd || m_hwnd || FromHandle(hwnd)) return false;
    if (!::SetWindowSubclass(hwnd, SubclassProc, kControlSubclassId, reinterpret_cast<DWORD_PTR>(this))) return false;
    ::SetPropW(hwnd, kControlProp, this);
    m_hwnd = hwnd;
    return true;
}

void CControl::UnsubclassWindow() {
    if (!m_hwnd) return;
    if (::IsWindow(m_hwnd)) {
        ::RemoveWindowSubclass(m_hwnd, SubclassProc, kControlSubclassId);
        ::RemovePropW(m_hwnd, kControlProp);
    }
    m_hwnd = nullptr;
}

CControl* CControl::FromHandle(HWND hwnd) { return static_cast<CControl*>(::GetPropW(hwnd, kControlProp)); }

bool CControl::HandleReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    return Dispatch(kReflectBase + msg, wp, lp, result);
}

LRESULT CControl::CallOriginal(UINT msg, WPARAM wp, LPARAM lp) { return ::DefSubclassProc(m_hwnd, msg, wp, lp); }

LRESULT CALLBACK CControl::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
    auto* self = reinterpret_cast<CControl*>(ref);
    LRESULT result = 0;
    try {
        if (self->Dispatch(msg, wp, lp, result)) return result;
    } catch (...) {
        ReportBoundaryException("control procedure");
    }
    if (msg >= kReflectBase && msg < kReflectBase + 0x400) return 0;  // unhandled reflection
    // The subclass must be gone before the window is: the chain ends here with it.
    if (msg == WM_NCDESTROY) self->UnsubclassWindow();
    return ::DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace fw
