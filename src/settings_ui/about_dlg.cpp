#include "settings_ui/about_dlg.h"

#include "framework/texts.h"
#include "resource.h"

void InitAboutTexts(HWND window, CLabelStatic& webLink, CLabelStatic& mailLink) {
    const std::wstring version = fw::LoadText(IDS_VERSION);
    ::SetDlgItemTextW(window, IDC_VERSION_LINE, fw::LoadText(IDS_ABOUT_VERSION_LINE, {version}).c_str());
    ::SetWindowTextW(window, (version + fw::LoadText(IDS_ABOUT_TITLE_TAIL)).c_str());
    webLink.SubclassDlgItem(IDC_WEB_LINK, window);
    mailLink.SubclassDlgItem(IDC_MAIL_LINK, window);
    webLink.SetLink(TRUE);
    mailLink.SetLink(TRUE);
}

const fw::Handler<CAboutDlg> CAboutDlg::kHandlers[] = {
    fw::OnCommand(IDOK, &CAboutDlg::OnOk),
    fw::OnCommand(IDCANCEL, &CAboutDlg::OnCancel),
};

CAboutDlg::CAboutDlg(HWND parent) : CDialogImpl(IDD_ABOUTBOX, parent) {}
CAboutDlg::~CAboutDlg() = default;

BOOL CAboutDlg::OnInitDialog() {
    InitAboutTexts(m_hwnd, m_webLink, m_mailLink);
    return TRUE;
}
