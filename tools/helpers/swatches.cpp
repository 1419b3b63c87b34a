// Shows the settings pages' colour swatch control in a small window of its own for eight seconds:
// three colours, the last swatch disabled, for tools/screenshot-settings.
#include "settings_ui/color_button.h"
#include "swatches.h"

class CSwatches : public fw::CDialogImpl<CSwatches> {
public:
    CSwatches() : CDialogImpl(IDD_SWATCHES) {}
    static const fw::Handler<CSwatches> kHandlers[];

protected:
    BOOL OnInitDialog() override {
        const COLORREF colors[] = {RGB(255, 21, 135), RGB(37, 111, 149), RGB(255, 210, 31)};
        for (int i = 0; i < 3; ++i) {
            m_swatch[i].SubclassDlgItem(IDC_SWATCH_FIRST + i, m_hwnd);
            m_swatch[i].SetColor(colors[i]);
        }
        ::SetTimer(m_hwnd, 1, 8000, nullptr);
        return TRUE;
    }

private:
    LRESULT OnTimer(WPARAM, LPARAM) {
        EndDialog(IDOK);
        return 0;
    }
    void OnCancel() { EndDialog(IDCANCEL); }
    CColorButton m_swatch[3];
};

const fw::Handler<CSwatches> CSwatches::kHandlers[] = {
    fw::OnMessage(WM_TIMER, &CSwatches::OnTimer),
    fw::OnCommand(IDCANCEL, &CSwatches::OnCancel),
};

int main() { CSwatches().DoModal(); }
