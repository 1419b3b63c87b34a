#pragma once
// The thin window layer. A dialog class derives from CDialogImpl<Self> and lists its handlers in
// a static table, one line per message, command or notification:
//
//   const fw::Handler<CMyDlg> CMyDlg::kHandlers[] = {
//       fw::OnMessage(WM_TIMER, &CMyDlg::OnTimer),
//       fw::OnMessage(WM_SYSCOMMAND, &CMyDlg::OnSysCommand),  // returns fw::MessageResult
//       fw::OnCommand(IDC_APPLY, &CMyDlg::OnApply),
//       fw::OnNotify(IDC_LIST, NM_DBLCLK, &CMyDlg::OnListDoubleClick),
//   };
//
// One static procedure stores `this` at WM_INITDIALOG (or when a control is subclassed) and
// forwards to the table; exceptions never cross into Windows. A message handler that returns
// fw::MessageResult may decline the message (fw::kDeclined): it then gets the system's default
// processing, as if no handler had been listed. Controls bound by subclassing
// (CControl) receive the notifications they send to their parent first, reflected.

#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <span>
#include <string>

namespace fw {

// Reflected notifications: the parent forwards WM_COMMAND/WM_NOTIFY/WM_DRAWITEM/... from a
// bound control to that control as kReflectBase + message.
constexpr UINT kReflectBase = WM_USER + 0x1C00;

// What a handler that may decline answers: a result, or kDeclined for the default processing.
using MessageResult = std::optional<LRESULT>;
inline constexpr std::nullopt_t kDeclined = std::nullopt;

template <class T>
struct Handler {
    enum class Kind { Message, DeclinableMessage, Command, CommandRange, Notify };
    Kind kind;
    UINT message;  // Message: the message; Command/Notify: notification code (kAnyCode for any)
    UINT idFirst;
    UINT idLast;
    LRESULT (T::*onMessage)(WPARAM, LPARAM);
    MessageResult (T::*onDeclinableMessage)(WPARAM, LPARAM);
    void (T::*onCommand)();
    void (T::*onCommandRange)(UINT);
    LRESULT (T::*onNotify)(NMHDR*);
};

constexpr UINT kAnyCode = 0xFFFFFFFF;

template <class T>
constexpr Handler<T> OnMessage(UINT msg, LRESULT (T::*fn)(WPARAM, LPARAM)) {
    return {Handler<T>::Kind::Message, msg, 0, 0, fn, nullptr, nullptr, nullptr, nullptr};
}
template <class T>
constexpr Handler<T> OnMessage(UINT msg, MessageResult (T::*fn)(WPARAM, LPARAM)) {
    return {Handler<T>::Kind::DeclinableMessage, msg, 0, 0, nullptr, fn, nullptr, nullptr, nullptr};
}
template <class T>
constexpr Handler<T> OnCommand(UINT id, void (T::*fn)(), UINT code = kAnyCode) {
    return {Handler<T>::Kind::Command, code, id, id, nullptr, nullptr, fn, nullptr, nullptr};
}
template <class T>
constexpr Handler<T> OnCommandRange(UINT first, UINT last, void (T::*fn)(UINT), UINT code = kAnyCode) {
    return {Handler<T>::Kind::CommandRange, code, first, last, nullptr, nullptr, nullptr, fn, nullptr};
}
template <class T>
constexpr Handler<T> OnNotify(UINT id, UINT code, LRESULT (T::*fn)(NMHDR*)) {
    return {Handler<T>::Kind::Notify, code, id, id, nullptr, nullptr, nullptr, nullptr, fn};
}

// Looks a message up in a handler table; true when an entry handled it, false when none did or
// the entry declined it.
template <class T>
bool DispatchToTable(T* self, std::span<const Handler<T>> table, UINT msg, WPARAM wp, LPARAM lp,
                     LRESULT& result) {
    using K = typename Handler<T>::Kind;
    for (const auto& h : table) {
        switch (h.kind) {
            case K::Message:
                if (h.message == msg) { result = (self->*h.onMessage)(wp, lp); return true; }
                break;
            case K::DeclinableMessage:
                if (h.message == msg) {
                    const MessageResult answer = (self->*h.onDeclinableMessage)(wp, lp);
                    if (!answer) return false;
                    result = *answer;
                    return true;
                }
                break;
            case K::Command:
            case K::CommandRange: {
                if (msg != WM_COMMAND) break;
                UINT id = LOWORD(wp), code = HIWORD(wp);
                if (id < h.idFirst || id > h.idLast) break;
                if (h.message != kAnyCode && h.message != code) break;
                if (h.kind == K::Command) (self->*h.onCommand)(); else (self->*h.onCommandRange)(id);
                result = 0;
                return true;
            }
            case K::Notify: {
                if (msg != WM_NOTIFY) break;
                auto* nm = reinterpret_cast<NMHDR*>(lp);
                if (nm->idFrom != h.idFirst) break;
                if (h.message != kAnyCode && h.message != nm->code) break;
                result = (self->*h.onNotify)(nm);
                return true;
            }
        }
    }
    return false;
}

// Base of every dialog: owns the window handle while it lives, runs modally or modelessly.
class CDialog {
public:
    CDialog(UINT templateId, HWND parent = nullptr) noexcept;
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    INT_PTR DoModal();
    bool Create();  // modeless
    bool Create(HWND parent) { m_parent = parent; return Create(); }  // modeless child or owned
    void DestroyWindow();
    HWND GetSafeHwnd() const noexcept { return m_hwnd; }
    bool IsWindow() const noexcept { return m_hwnd && ::IsWindow(m_hwnd); }
    void EndDialog(INT_PTR result);

    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hwnd, id); }
    std::string GetDlgItemText(int id) const;
    void SetDlgItemText(int id, const std::string& text) const;

    // Called for every message the modal or modeless loop is about to dispatch; true eats it.
    virtual bool PreTranslateMessage(MSG* msg);

protected:
    // The one handler of WM_INITDIALOG (a handler table never sees it); TRUE lets the system set
    // the focus.
    virtual BOOL OnInitDialog() { return TRUE; }
    // Per-class dispatch; implemented by CDialogImpl from the class's handler table.
    virtual bool Dispatch(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) = 0;
    // Called once when the window is gone (after WM_NCDESTROY).
    virtual void OnFinalMessage() {}

    HWND m_hwnd = nullptr;
    UINT m_templateId;
    HWND m_parent;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    bool ReflectToControl(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    bool m_modeless = false;
};

template <class T>
class CDialogImpl : public CDialog {
public:
    using CDialog::CDialog;

protected:
    bool Dispatch(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
        return DispatchToTable<T>(static_cast<T*>(this), std::span<const Handler<T>>(T::kHandlers), msg, wp,
                                  lp, result);
    }
};

// A control of a dialog template bound to a class by subclassing (SetWindowSubclass, so that it
// chains with any other subclass of the control). Reflected notifications (kReflectBase +
// WM_COMMAND, ...) and the control's own messages reach Dispatch first; what it does not handle
// goes on down the chain to the control's own procedure. The binding ends with the control's
// window or with UnsubclassWindow, whichever comes first.
class CControl {
public:
    CControl() noexcept = default;
    virtual ~CControl();
    CControl(const CControl&) = delete;
    CControl& operator=(const CControl&) = delete;

    // False when the dialog has no such control, or this object or another binds one already.
    bool SubclassDlgItem(int id, HWND parent);
    void UnsubclassWindow();
    HWND GetSafeHwnd() const noexcept { return m_hwnd; }
    static CControl* FromHandle(HWND hwnd);
    // A notification the control sent to its dialog, offered back to the control first.
    bool HandleReflected(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

protected:
    virtual bool Dispatch(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) { return false; }
    // The default part of a message the control's handler is processing: the rest of the chain.
    // Only from inside a handler.
    LRESULT CallOriginal(UINT msg, WPARAM wp, LPARAM lp);
    HWND m_hwnd = nullptr;

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self);
};

template <class T>
class CControlImpl : public CControl {
protected:
    bool Dispatch(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
        return DispatchToTable<T>(static_cast<T*>(this), std::span<const Handler<T>>(T::kHandlers), msg, wp,
                                  lp, result);
    }
};

// Reports and swallows an exception at a Windows boundary; there is no log, so this only
// keeps the program alive (a debugger sees the message).
void ReportBoundaryException(const char* where) noexcept;

// The whole text of a window or control.
std::wstring WindowText(HWND hwnd);
// Sets or clears style bits of a window; `index` is GWL_STYLE or GWL_EXSTYLE.
void SetStyleBits(HWND hwnd, int index, LONG_PTR bits, bool on);

// Runs the dialog manager's own processing of a message from inside the dialog's handler of it,
// so that the handler's own part can follow it: the handler declines the message while
// `inDefault` is set, which this sets around the call.
LRESULT RunDialogDefault(HWND dialog, UINT msg, WPARAM wp, LPARAM lp, bool& inDefault);
// WM_DPICHANGED's default part, run from the dialog's handler of it: the dialog manager re-lays
// the controls and fonts out, then the window takes the suggested rectangle where the manager did
// not size it itself (Per-Monitor v1, before Windows 10 1703). The handler's own part follows.
void RunDefaultDpiChange(HWND dialog, WPARAM wp, LPARAM lp, bool& inDefault);

}  // namespace fw
