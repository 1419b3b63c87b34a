#include "settings_ui/set_effect.h"

#include <cstdlib>

#include "framework/handles.h"
#include "framework/mbstring.h"
#include "state/data_files.h"
#include "framework/texts.h"
#include "resource.h"

const std::vector<std::string>& RotationAngleItems() {
    static const std::vector<std::string> items = {"30", "45", "90", "135", "180", "270", "360"};
    return items;
}

int FindAngleItem(int rotatevalue) {
    const std::string prefix = std::to_string(rotatevalue);
    const auto& items = RotationAngleItems();
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].compare(0, prefix.size(), prefix) == 0) return static_cast<int>(i);
    return -1;
}

void DrawMaskPreview(Gdiplus::Graphics& g, int pw, int ph, const std::string& maskPath) {
    Gdiplus::SolidBrush black(Gdiplus::Color(255, 0, 0, 0));
    g.FillRectangle(&black, 0, 0, pw, ph);
    if (maskPath.empty()) return;
    std::wstring path = mb::Widen(maskPath);
    Gdiplus::Image mask(path.c_str());
    if (mask.GetLastStatus() != Gdiplus::Ok) return;
    const int w = static_cast<int>(mask.GetWidth()) / 2, h = static_cast<int>(mask.GetHeight()) / 2;
    g.DrawImage(&mask, Gdiplus::Rect(1, 1, pw - 2, ph - 2), 0, 0, w, h, Gdiplus::UnitPixel);
}

// ---- CMaskPreview ---------------------------------------------------------------------------

const fw::Handler<CMaskPreview> CMaskPreview::kHandlers[] = {
    fw::OnMessage(WM_PAINT, &CMaskPreview::OnPaint),
};

LRESULT CMaskPreview::OnPaint(WPARAM, LPARAM) {
    fw::PaintDc dc(m_hwnd);
    RECT client{};
    ::GetClientRect(m_hwnd, &client);
    Gdiplus::Graphics g(dc.get());
    DrawMaskPreview(g, client.right, client.bottom, m_pEnv ? m_pEnv->maskfilename : std::string());
    return 0;
}

// ---- CSetEffect -----------------------------------------------------------------------------

const fw::Handler<CSetEffect> CSetEffect::kHandlers[] = {
    fw::OnCommand(IDC_EFFECT_FRAME, &CSetEffect::OnFrame, BN_CLICKED),
    fw::OnCommand(IDC_EFFECT_MASK, &CSetEffect::OnMask, BN_CLICKED),
    fw::OnCommand(IDC_EFFECT_SHADOW, &CSetEffect::OnShadow, BN_CLICKED),
    fw::OnCommand(IDC_EFFECT_RANDOM_MASK, &CSetEffect::OnRandomMask, BN_CLICKED),
    fw::OnCommand(IDC_EFFECT_ROTATE, &CSetEffect::OnRotate, BN_CLICKED),
    fw::OnCommand(IDC_EFFECT_ANGLE, &CSetEffect::OnAngle, CBN_SELCHANGE),
    fw::OnCommand(IDC_EFFECT_FRAMECOLOR, &CSetEffect::OnFrameColor, BN_CLICKED),
    fw::OnCommand(IDC_EFFECT_CHOOSE_MASK, &CSetEffect::OnChooseMask, BN_CLICKED),
};

CSetEffect::CSetEffect(SettingsContext& context) : CSettingsPageImpl(IDD_SET_EFFECT, context) {}

CSetEffect::~CSetEffect() = default;

BOOL CSetEffect::OnInitDialog() {
    m_maskList = &m_context.composer.Masks();
    EnvSettings& env = *m_pEnv;
    m_frameColor.SubclassDlgItem(IDC_EFFECT_FRAMECOLOR, m_hwnd);
    m_preview.m_pEnv = m_pEnv;
    m_preview.SubclassDlgItem(IDC_EFFECT_MASK_PREVIEW, m_hwnd);

    if (env.maskfilename.empty() && !m_maskList->empty()) env.maskfilename = m_maskList->front();
    SetDlgItemText(IDC_EFFECT_MASK_NAME, mb::FileNameOfPath(env.maskfilename));

    if (env.isframe) {
        SetChecked(IDC_EFFECT_FRAME, true);
        Enable({IDC_EFFECT_RANDOM_MASK, IDC_EFFECT_CHOOSE_MASK}, false);
    } else {
        Enable({IDC_EFFECT_FRAMESIZE, IDC_EFFECT_FRAMECOLOR, IDC_EFFECT_SHADOW}, false);
    }
    if (env.ismask)
        SetChecked(IDC_EFFECT_MASK, true);
    else
        Enable({IDC_EFFECT_RANDOM_MASK, IDC_EFFECT_CHOOSE_MASK}, false);
    SetChecked(IDC_EFFECT_SHADOW, env.isshadow);
    SetChecked(IDC_EFFECT_RANDOM_MASK, env.isrndmask);
    SetChecked(IDC_EFFECT_ROTATE, env.isrotate);
    if (!env.isrotate) Enable(IDC_EFFECT_ANGLE, false);

    SetDlgItemText(IDC_EFFECT_FRAMESIZE, std::to_string(env.framesize));
    ::SendMessageW(GetDlgItem(IDC_EFFECT_FRAMESIZE_SPIN), UDM_SETRANGE32, 1, 15);

    HWND angles = GetDlgItem(IDC_EFFECT_ANGLE);
    for (const std::string& item : RotationAngleItems())
        ::SendMessageW(angles, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(mb::Widen(item).c_str()));
    int index = FindAngleItem(env.rotatevalue);
    if (index >= 0) {
        ::SendMessageW(angles, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        env.rotatevalue = std::atoi(RotationAngleItems()[static_cast<size_t>(index)].c_str());
    }

    m_frameColor.SetColor(env.framecolor);
    return TRUE;
}

void CSetEffect::CloseOwnedWindows() {
    if (m_pMaskDlg && m_pMaskDlg->IsWindow()) m_pMaskDlg->EndDialog(0);
}

void CSetEffect::ReadCheckedFields(CloseCheckFields& fields) const {
    if (!m_hwnd) return;
    fields.effectsPagePresent = true;
    fields.frameSize = GetDlgItemText(IDC_EFFECT_FRAMESIZE);
}

HWND CSetEffect::CheckedFieldControl(CheckedField field) const {
    return field == CheckedField::FrameSize ? GetDlgItem(IDC_EFFECT_FRAMESIZE) : nullptr;
}

void CSetEffect::OnFrame() {
    if (IsChecked(IDC_EFFECT_FRAME)) {
        SetChecked(IDC_EFFECT_MASK, false);
        Enable({IDC_EFFECT_FRAMESIZE, IDC_EFFECT_SHADOW, IDC_EFFECT_FRAMECOLOR}, true);
        Enable({IDC_EFFECT_RANDOM_MASK, IDC_EFFECT_CHOOSE_MASK}, false);
        m_pEnv->isframe = 1;
        m_pEnv->ismask = 0;
    } else {
        Enable(IDC_EFFECT_FRAMESIZE, false);
        m_pEnv->isframe = 0;
    }
}

void CSetEffect::OnMask() {
    if (IsChecked(IDC_EFFECT_MASK)) {
        SetChecked(IDC_EFFECT_SHADOW, false);
        SetChecked(IDC_EFFECT_FRAME, false);
        Enable({IDC_EFFECT_FRAMECOLOR, IDC_EFFECT_SHADOW, IDC_EFFECT_FRAMESIZE}, false);
        Enable({IDC_EFFECT_RANDOM_MASK, IDC_EFFECT_CHOOSE_MASK}, true);
        m_pEnv->ismask = 1;
        m_pEnv->isshadow = 0;
        m_pEnv->isframe = 0;
        if (m_maskList->empty()) ShowNoMasksMessage();
    } else {
        SetChecked(IDC_EFFECT_FRAME, false);
        Enable({IDC_EFFECT_RANDOM_MASK, IDC_EFFECT_CHOOSE_MASK}, false);
        m_pEnv->ismask = 0;
    }
}

void CSetEffect::ShowNoMasksMessage() const {
    Prompts().ShowMessage(SettingsWindow(), fw::LoadText(IDS_NO_MASKS), fw::LoadText(IDS_MESSAGE_CAPTION), MB_OK);
}

void CSetEffect::OnShadow() {
    if (IsChecked(IDC_EFFECT_SHADOW)) {
        SetChecked(IDC_EFFECT_MASK, false);
        Enable(IDC_EFFECT_RANDOM_MASK, false);
        m_pEnv->isshadow = 1;
        m_pEnv->ismask = 0;
    } else {
        m_pEnv->isshadow = 0;
    }
}

void CSetEffect::OnRandomMask() { m_pEnv->isrndmask = IsChecked(IDC_EFFECT_RANDOM_MASK) ? 1 : 0; }

void CSetEffect::OnRotate() {
    m_pEnv->isrotate = IsChecked(IDC_EFFECT_ROTATE) ? 1 : 0;
    Enable(IDC_EFFECT_ANGLE, m_pEnv->isrotate);
}

void CSetEffect::OnAngle() {
    const std::wstring text = ComboText(IDC_EFFECT_ANGLE);
    if (text.empty()) return;
    m_pEnv->rotatevalue = static_cast<int32_t>(std::wcstol(text.c_str(), nullptr, 10));
}

void CSetEffect::OnFrameColor() {
    if (ChooseSwatchColor(m_frameColor, m_pEnv->framecolor)) RequestFreshBackground();
}

void CSetEffect::OnChooseMask() {
    fw::WaitCursor wait;
    m_pMaskDlg = std::make_unique<CMaskDlg>(*m_maskList, m_hwnd);
    if (m_pMaskDlg->DoModal() == 1) {
        const std::string name = m_pMaskDlg->m_strSelected + ".gif";
        SetDlgItemText(IDC_EFFECT_MASK_NAME, name);
        m_pEnv->maskfilename = data_files::ChosenMaskPath(m_pEnv->m_exePath, name);
        ::InvalidateRect(m_preview.GetSafeHwnd(), nullptr, TRUE);
    }
    if (m_pMaskDlg->IsWindow()) m_pMaskDlg->DestroyWindow();
    m_pMaskDlg.reset();
}
