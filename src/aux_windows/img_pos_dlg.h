#pragma once
// One user-defined photograph position on the screen: a translucent numbered square the user
// drags and sizes. Its deletion is asked of the editor that owns it.

#include <windows.h>

#include "framework/handles.h"
#include "framework/window.h"

// Posted to the editor by a position window's "삭제": wParam is the position's number. Posted, not
// sent: the editor destroys the asking window, which must not happen inside its own handler.
constexpr UINT WM_IMGPOS_DELETE = WM_APP + 0x51;

// Keeps a proposed rectangle square while `edge` (WMSZ_*) is dragged.
void SquareSizingRect(UINT edge, RECT& proposed);
// The size after one wheel notch: 5 pixels larger away from the user, 5 smaller towards.
SIZE WheelResizedSize(SIZE current, int wheelDelta);
// A square of `side` in the middle of the screen.
RECT CentredSquare(int side, int screenWidth, int screenHeight);

class CImgPosDlg : public fw::CDialogImpl<CImgPosDlg> {
public:
    static constexpr COLORREF kNormalColor = RGB(255, 255, 255);
    static constexpr COLORREF kFocusColor = RGB(179, 217, 255);
    static constexpr BYTE kAlpha = 126;
    static constexpr int kMinSide = 200;

    // `screenWidth` bounds the size; `receiver` gets the delete request.
    CImgPosDlg(const RECT& rect, int number, int screenWidth, HWND receiver);
    ~CImgPosDlg() override;

    int Number() const { return m_number; }
    COLORREF Color() const { return m_color; }
    void SetColor(COLORREF color);  // repaints at once

    static const fw::Handler<CImgPosDlg> kHandlers[];

protected:
    BOOL OnInitDialog() override;

private:
    LRESULT OnLButtonDown(WPARAM, LPARAM);
    LRESULT OnGetMinMaxInfo(WPARAM, LPARAM);
    LRESULT OnSizing(WPARAM, LPARAM);
    LRESULT OnContextMenu(WPARAM, LPARAM);
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnPrintClient(WPARAM, LPARAM);
    LRESULT OnSetFocus(WPARAM, LPARAM);
    LRESULT OnKillFocus(WPARAM, LPARAM);
    LRESULT OnMouseWheel(WPARAM, LPARAM);
    LRESULT OnSize(WPARAM, LPARAM);
    void OnDelete();
    void MakeTranslucent();
    void Paint(HDC dc) const;

    RECT m_rect;
    int m_number;
    int m_screenWidth;
    HWND m_receiver;
    COLORREF m_color = kNormalColor;
    fw::Font m_captionFont;
    fw::Font m_numberFont;
};
