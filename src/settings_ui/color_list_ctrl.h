#pragma once
// A report-style list view whose odd rows are tinted; columns come from one delimited heading
// string, rows from arrays of cell texts.

#include <windows.h>

#include <string>
#include <vector>

#include "framework/window.h"

// The tokens of `text` split at any of `delimiters` as strtok splits them: runs of delimiters
// count as one, empty tokens never occur.
std::vector<std::string> SplitTokens(const std::string& text, const std::string& delimiters);

// The custom-draw answer for one stage of the list's drawing: odd rows get the tint.
struct RowTint {
    LRESULT answer = CDRF_DODEFAULT;
    bool tinted = false;
};
RowTint TintForStage(DWORD drawStage, DWORD_PTR itemIndex);
constexpr COLORREF kTintText = RGB(230, 21, 79);
constexpr COLORREF kTintBack = RGB(240, 240, 235);

// A column width at `toDpi` that was `width` at `fromDpi`.
int ScaleColumnWidth(int width, UINT fromDpi, UINT toDpi);
// Rescales every column of `list` from one DPI to another; any window but a list view is left alone.
void ScaleListColumns(HWND list, UINT fromDpi, UINT toDpi);

class CColorListCtrl : public fw::CControlImpl<CColorListCtrl> {
public:
    // Out of line: the handler table is complete only in the control's own source.
    CColorListCtrl();
    ~CColorListCtrl() override;

    // Headings split as strtok does with `delimiters`; widths (at 96 DPI, shown at the list's DPI)
    // and formats per column may be null.
    BOOL InsertColumns(const char* headings, const char* delimiters, const int* widths = nullptr,
                       const int* formats = nullptr);
    // Index of the new row; -1 when a cell text could not be set; the list's negative result when
    // the row could not be inserted.
    int InsertRow(const std::vector<std::string>& cells);
    int ColumnCount() const { return m_nColumns; }

    // Row and cell access for the pages.
    int GetItemCount() const;
    std::string GetItemText(int row, int column) const;
    void DeleteAllItems();

    static const fw::Handler<CColorListCtrl> kHandlers[];

protected:
    // Only the list's custom draw is the control's own; every other notification goes on to the
    // dialog that owns the list.
    bool Dispatch(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    LRESULT OnReflectedNotify(WPARAM, LPARAM);
    int m_nColumns = -1;
};
