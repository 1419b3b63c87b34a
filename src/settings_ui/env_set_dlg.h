#pragma once
// The settings window: the page list on the left, a painted caption strip and the current page
// on the right. No OK or Cancel button: pages edit the settings in place, and closing the window
// checks the four typed numbers first.

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <memory>
#include <string>

#include "framework/handles.h"
#include "framework/window.h"
#include "settings_ui/close_checks.h"
#include "settings_ui/page_list_box.h"
#include "settings_ui/settings_context.h"
#include "settings_ui/settings_page.h"

// The caption strip: a purple-to-pink gradient, one column at a time, with the text in bold white.
void DrawCaptionStrip(HDC dc, const RECT& strip, const std::wstring& text, HFONT font);

class CEnvSetDlg : public fw::CDialogImpl<CEnvSetDlg> {
public:
    static constexpr int kPageCount = 7;

    explicit CEnvSetDlg(SettingsContext& context, HWND parent = nullptr);
    ~CEnvSetDlg() override;

    bool PreTranslateMessage(MSG* msg) override;
    // At program exit: closes what the pages opened; the caller then posts IDCANCEL.
    void CloseOwnedWindows();

    // Follows a new DPI: the caption font, the page list's rows and icons, the pages' own sizes.
    void ApplyDpi(UINT dpi);
    UINT Dpi() const { return m_dpi; }

    CSettingsPage* Page(int index) const;
    int ShownPage() const;  // -1 when none is visible
    std::wstring CaptionText() const;
    RECT CaptionRect() const;  // in client coordinates

    static const fw::Handler<CEnvSetDlg> kHandlers[];

protected:
    BOOL OnInitDialog() override;

private:
    void CreatePages();
    void FillPageList();
    void PlacePages();
    void ShowOnly(int index);
    void SelectPage(int index);
    bool CheckBeforeClose();
    CloseCheckFields ReadCloseCheckFields() const;

    LRESULT OnPaint(WPARAM, LPARAM);
    fw::MessageResult OnSysCommand(WPARAM, LPARAM);
    LRESULT OnMeasureItem(WPARAM, LPARAM);
    fw::MessageResult OnDpiChanged(WPARAM, LPARAM);
    void OnPageListSelChange();
    void OnOk() {}  // Enter never closes the window
    void OnCancel();

    SettingsContext& m_context;
    EnvSettings* m_pEnv = nullptr;
    HWND m_pMainWnd = nullptr;

    // The seven pages in list order.
    std::array<std::unique_ptr<CSettingsPage>, kPageCount> m_pPages;

    CPageListBox m_pageList;
    fw::ImageList m_images;
    fw::Font m_captionFont;
    UINT m_dpi = 96;
    bool m_inDefaultDpiChange = false;
};
