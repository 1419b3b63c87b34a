#include "settings_ui/program_list.h"

#include <algorithm>

#include "framework/mbstring.h"
#include "framework/texts.h"
#include "resource.h"

const fw::Handler<CProgramList> CProgramList::kHandlers[] = {
    fw::OnCommand(IDC_PROGLIST_SEARCH, &CProgramList::OnSearchAgain, BN_CLICKED),
    fw::OnCommand(IDC_PROGLIST_SELECT, &CProgramList::OnSelect, BN_CLICKED),
    fw::OnCommand(IDOK, &CProgramList::OnSelect),
    fw::OnCommand(IDC_PROGLIST_CANCEL, &CProgramList::OnCancel, BN_CLICKED),
    fw::OnCommand(IDCANCEL, &CProgramList::OnCancel),
};

bool IsChoosableProgram(const ProgramWindow& window) {
    return window.visible && !window.ownedOrChild && !window.iconic && !window.title.empty() &&
           window.title != "Program Manager";
}

ProgramWindow DescribeProgramWindow(HWND hwnd) {
    ProgramWindow window;
    window.visible = ::IsWindowVisible(hwnd) != FALSE;
    window.ownedOrChild = ::GetWindow(hwnd, GW_OWNER) != nullptr || ::GetParent(hwnd) != nullptr;
    window.iconic = ::IsIconic(hwnd) != FALSE;
    window.title = mb::Narrow(fw::WindowText(hwnd));
    return window;
}

std::vector<std::string> EnumerateProgramTitles() {
    std::vector<std::string> titles;
    for (HWND w = ::GetTopWindow(nullptr); w; w = ::GetWindow(w, GW_HWNDNEXT)) {
        ProgramWindow window = DescribeProgramWindow(w);
        if (IsChoosableProgram(window)) titles.push_back(std::move(window.title));
    }
    return titles;
}

CProgramList::CProgramList(const OutProgramList& selection, HWND parent)
    : CDialogImpl(IDD_PROGRAM_LIST, parent), m_selection(selection) {}

CProgramList::~CProgramList() = default;

BOOL CProgramList::OnInitDialog() {
    m_list.SubclassDlgItem(IDC_PROGLIST_LIST, m_hwnd);
    ListView_SetExtendedListViewStyle(m_list.GetSafeHwnd(),
                                      LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    static const int kWidths[] = {18, 120};
    static const int kFormats[] = {LVCFMT_LEFT, LVCFMT_LEFT};
    m_list.InsertColumns(mb::Narrow(fw::LoadText(IDS_PROGRAM_COLUMNS)).c_str(), ",", kWidths, kFormats);

    ShowPrograms();
    for (size_t row = 0; row < m_titles.size(); ++row)
        if (std::find(m_selection.begin(), m_selection.end(), m_titles[row]) != m_selection.end())
            SetRowChecked(static_cast<int>(row), true);
    return TRUE;
}

void CProgramList::ShowPrograms() {
    m_list.DeleteAllItems();
    m_titles = EnumerateProgramTitles();
    for (const std::string& title : m_titles) m_list.InsertRow({"", title});
    // The titles' column takes the rest of the list's width, so that long titles can be read.
    ListView_SetColumnWidth(m_list.GetSafeHwnd(), 1, LVSCW_AUTOSIZE_USEHEADER);
}

bool CProgramList::IsRowChecked(int row) const { return ListView_GetCheckState(m_list.GetSafeHwnd(), row) == TRUE; }

void CProgramList::SetRowChecked(int row, bool checked) { ListView_SetCheckState(m_list.GetSafeHwnd(), row, checked); }

void CProgramList::OnSearchAgain() { ShowPrograms(); }  // new rows come unchecked

void CProgramList::OnSelect() {
    m_selection.clear();
    for (size_t row = 0; row < m_titles.size(); ++row)
        if (IsRowChecked(static_cast<int>(row))) m_selection.push_back(m_titles[row]);
    EndDialog(IDOK);
}

void CProgramList::OnCancel() { EndDialog(IDCANCEL); }
