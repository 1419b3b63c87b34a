#pragma once
// "활성화된 프로그램리스트": the programs with a window open on the desktop right now, from which
// the user checks the exception programs.

#include <windows.h>

#include <string>
#include <vector>

#include "framework/window.h"
#include "settings_ui/color_list_ctrl.h"
#include "state/settings.h"

// What the program list looks at in a top-level window.
struct ProgramWindow {
    bool visible = false;
    bool ownedOrChild = false;  // has an owner or a parent
    bool iconic = false;
    std::string title;          // ANSI code page
};

// True when the window stands for a program the user may choose: visible, titled, unowned, not
// minimised, and not the desktop itself ("Program Manager").
bool IsChoosableProgram(const ProgramWindow& window);
ProgramWindow DescribeProgramWindow(HWND hwnd);
// The titles of the choosable top-level windows in z-order, topmost first; not deduplicated.
std::vector<std::string> EnumerateProgramTitles();

class CProgramList : public fw::CDialogImpl<CProgramList> {
public:
    // `selection`: the titles checked when the list opens (the current exception programs).
    explicit CProgramList(const OutProgramList& selection, HWND parent = nullptr);
    ~CProgramList() override;  // out of line: the handler table is complete only in the source

    // After OK: every checked title, in row order.
    const OutProgramList& Selection() const { return m_selection; }
    // The titles of the rows, row i showing entry i.
    const std::vector<std::string>& Titles() const { return m_titles; }
    bool IsRowChecked(int row) const;
    void SetRowChecked(int row, bool checked);

    static const fw::Handler<CProgramList> kHandlers[];

protected:
    BOOL OnInitDialog() override;

private:
    void OnSearchAgain();
    void OnSelect();
    void OnCancel();
    void ShowPrograms();

    CColorListCtrl m_list;
    std::vector<std::string> m_titles;
    OutProgramList m_selection;
};
