#pragma once
// Page 1, "이미지 설정": interval, size, overlap and placement of the photographs.

#include <windows.h>

#include <memory>
#include <vector>

#include "aux_windows/img_pos_set_dlg.h"
#include "settings_ui/settings_page.h"

// Largest photo size while photos overlap: the side of a square a quarter of the screen's area.
int OverlapSizeLimit(int screenWidth, int screenHeight);
// Where a size arrow starts from so that the control's own step of 1 makes a step of 10.
int TenStepArrowStart(int position, int delta);
// Screen pixels per tenth of a map pixel (screen extent × 10 / map extent); 0 for an empty map.
int PositionMapScale(int screenExtent, int mapExtent);
// A screen rectangle on the position map.
RECT PositionOnMap(const RECT& screenRect, int xScale, int yScale);
// White map with a black frame and one outlined rectangle per position.
void DrawPositionMap(HDC dc, const RECT& client, const std::vector<RECT>& positions, int xScale, int yScale);

class CSetForeImg : public CSettingsPageImpl<CSetForeImg> {
public:
    explicit CSetForeImg(SettingsContext& context);
    ~CSetForeImg() override;
    // At program exit: closes the position editor without applying it.
    void CloseOwnedWindows() override;
    // The interval, the overlap count and the photo size.
    void ReadCheckedFields(CloseCheckFields& fields) const override;
    HWND CheckedFieldControl(CheckedField field) const override;
    // The position map's scale follows the map's new size.
    void DpiChanged(UINT oldDpi, UINT newDpi) override;

    // The position editor while it is open (tests drive it); null otherwise.
    CImgPosSetDlg* PositionEditor() const;

    static const fw::Handler<CSetForeImg> kHandlers[];

protected:
    BOOL OnInitDialog() override;

private:
    void OnForegroundSwitch();
    void OnNotStretch();
    void OnMinutes();
    void OnSeconds();
    void OnOrder(UINT id);
    void OnPlacement(UINT id);
    void OnOverlapSwitch();
    void OnBackGray();
    void OnSizeChanged();
    LRESULT OnSizeArrow(NMHDR* header);
    void OnOpenPositionEditor();
    LRESULT OnDrawItem(WPARAM, LPARAM);

    void InitChangeTime();
    void InitPlacement();
    void InitOverlapLimit();
    void InitPositionMap();
    void MeasurePositionMap();
    // Enables the photo controls from the switches: a disabled foreground disables all of them;
    // overlap needs a placement other than the centre; its count and greying need overlap on.
    void UpdateEnabling();
    void ShowIntervalUnit(int minSec);
    int FieldValue(int id) const;
    void SetFieldValue(int id, int value) const;
    void SetSpinRange(int id, int low, int high) const;
    void RefreshPositionMap();
    void OnPositionEditorClosed();

    std::unique_ptr<CImgPosSetDlg> m_pPosSetDlg;
    int m_xScale = 0;
    int m_yScale = 0;
    bool m_ready = false;    // initialisation done: field notifications count
    bool m_exiting = false;  // the program ends: the editor's closing shows no settings dialog
};
