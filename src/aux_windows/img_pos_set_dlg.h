#pragma once
// The position editor: a small always-on-top window that adds numbered position windows on the
// screen and, on "적용", replaces the composer's positions with their rectangles.

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "aux_windows/img_pos_dlg.h"
#include "composer/settings_composer.h"
#include "framework/system.h"
#include "framework/window.h"
#include "state/settings.h"

class CImgPosSetDlg : public fw::CDialogImpl<CImgPosSetDlg> {
public:
    // `positionOwner` owns the position windows (the main window); `onClosed` runs when the editor
    // is gone, applied or not.
    CImgPosSetDlg(const EnvSettings& env, ISettingsComposer& composer, HWND positionOwner,
                  std::function<void()> onClosed);
    ~CImgPosSetDlg() override;

    // The numbers of the open position windows, ascending.
    std::vector<int> Numbers() const;
    CImgPosDlg* PositionWindow(int number) const;

    static const fw::Handler<CImgPosSetDlg> kHandlers[];

protected:
    BOOL OnInitDialog() override;

private:
    void OnAdd();
    void OnApply();
    fw::MessageResult OnSysCommand(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);
    LRESULT OnDeleteRequest(WPARAM, LPARAM);

    int WidestMonitor();
    CImgPosDlg* OpenPosition(int number, const RECT& rect);
    void PlaceAtTopOfScreen();
    void StorePositions();

    const EnvSettings& m_env;
    ISettingsComposer& m_composer;
    HWND m_positionOwner;
    std::function<void()> m_onClosed;
    std::map<int, std::unique_ptr<CImgPosDlg>> m_windows;
    int m_lastNumber = 0;
    bool m_applied = false;
};
