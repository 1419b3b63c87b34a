#pragma once
// A report-style list view whose odd rows are tinted; columns come from one delimited heading
// string, rows from arrays of cell texts.

#include <windows.h>

#include <string>
#include <vector>

#include "framework/window.h"

class CColorListCtrl : public fw::CControlImpl<CColorListCtrl> {
public:
    // Headings split as strtok does with `delimiters`; widths and formats per column may be null.
    BOOL InsertColumns(const char* headings, const char* delimiters, const int* widths = nullptr,
                       const int* formats = nullptr);
    // Index of the new row; -1 when a cell text could not be set; the list's negative result when
    // the row could not be inserted.
    int InsertRow(const std::vector<std::string>& cells);
    int ColumnCount() const { return m_nColumns; }

    static const fw::Handler<CColorListCtrl> kHandlers[];

private:
    LRESULT OnReflectedNotify(WPARAM, LPARAM);
    int m_nColumns = -1;
};
