#pragma once
// The about box: the program's icon, version and the project's links.

#include <windows.h>

#include <string>

#include "framework/window.h"
#include "settings_ui/label_static.h"

// What the about box and the help page share: the version line, the window title and the two
// links (their texts, the addresses, stay as the template gives them).
void InitAboutTexts(HWND window, CLabelStatic& webLink, CLabelStatic& mailLink);

class CAboutDlg : public fw::CDialogImpl<CAboutDlg> {
public:
    explicit CAboutDlg(HWND parent = nullptr);
    ~CAboutDlg() override;

    static const fw::Handler<CAboutDlg> kHandlers[];

protected:
    BOOL OnInitDialog() override;

private:
    void OnOk() { EndDialog(IDOK); }
    void OnCancel() { EndDialog(IDCANCEL); }

    CLabelStatic m_webLink;
    CLabelStatic m_mailLink;
};
