#include "settings_ui/color_list_ctrl.h"

const fw::Handler<CColorListCtrl> CColorListCtrl::kHandlers[] = {
    fw::OnMessage(fw::kReflectBase + WM_NOTIFY, &CColorListCtrl::OnReflectedNotify),
};

BOOL CColorListCtrl::InsertColumns(const char*, const char*, const int*, const int*) { return FALSE; }
int CColorListCtrl::InsertRow(const std::vector<std::string>&) { return -1; }
LRESULT CColorListCtrl::OnReflectedNotify(WPARAM, LPARAM) { return 0; }
