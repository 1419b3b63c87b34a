#pragma once
// What the seven settings pages share: the settings they edit, Enter and Escape kept inside the
// page, the small control helpers, the swatch colour choice and the exit path's close.

#include <windows.h>

#include <initializer_list>
#include <span>
#include <string>

#include "framework/window.h"
#include "settings_ui/close_checks.h"
#include "settings_ui/color_button.h"
#include "settings_ui/settings_context.h"

class CSettingsPage : public fw::CDialog {
public:
    CSettingsPage(UINT templateId, SettingsContext& context);

    // Creates the page as a child of the settings window. Enter and Escape inside the page stay
    // with it, which ignores them: as a DS_CONTROL child it would hand them on to the window,
    // where Escape means cancel. Tab still moves between the page and the window's controls.
    bool CreateIn(HWND host);
    // At program exit: closes what the page opened; most pages open nothing that outlives a click.
    virtual void CloseOwnedWindows() {}
    // The typed numbers the close checks read from this page (none on most pages).
    virtual void ReadCheckedFields(CloseCheckFields&) const {}
    // The control that holds a checked field, null when this page has none.
    virtual HWND CheckedFieldControl(CheckedField) const { return nullptr; }
    // The settings window moved to a monitor of another DPI; the system has scaled the controls
    // from the template. Rescales the list views' columns; a page with more sizes of its own adds them.
    virtual void DpiChanged(UINT oldDpi, UINT newDpi);

protected:
    bool IsChecked(int id) const;
    void SetChecked(int id, bool on) const;
    void Enable(int id, bool on) const;
    void Enable(std::initializer_list<int> ids, bool on) const;
    void SetText(int id, const std::wstring& text) const;
    // The text of a combo box's item; of the selected one without an index. Empty for none.
    std::wstring ComboText(int id) const;
    std::wstring ComboText(int id, int index) const;
    // Offers the colour dialog starting at `color`; on OK stores the choice there and repaints
    // the swatch with it. False when the user cancelled.
    bool ChooseSwatchColor(CColorButton& swatch, COLORREF& color);
    // The next change starts from a fresh background instead of continuing the picture.
    void RequestFreshBackground() { m_context.composer.RequestFreshBackground(); }
    IPrompts& Prompts() const { return m_context.prompts; }
    HWND SettingsWindow() const { return ::GetAncestor(m_hwnd, GA_ROOT); }

    // Enter and Escape reach a dialog as IDOK and IDCANCEL; a page takes both and does nothing.
    bool Dispatch(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

    SettingsContext& m_context;
    EnvSettings* m_pEnv;
};

// A page with handlers of its own derives from CSettingsPageImpl<Self> and lists them in
// Self::kHandlers.
template <class T>
class CSettingsPageImpl : public CSettingsPage {
public:
    using CSettingsPage::CSettingsPage;

protected:
    bool Dispatch(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
        return fw::DispatchToTable<T>(static_cast<T*>(this), std::span<const fw::Handler<T>>(T::kHandlers), msg, wp,
                                      lp, result) ||
               CSettingsPage::Dispatch(msg, wp, lp, result);
    }
};
