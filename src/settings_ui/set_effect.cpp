#include "settings_ui/set_effect.h"

#include <cstdlib>

#include "framework/handles.h"
#include "framework/mbstring.h"
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
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hwnd, &ps);
    RECT client{};
    ::GetClientRect(m_hwnd, &client);
    {
        Gdiplus::Graphics g(dc);
        DrawMaskPreview(g, client.right, client.bottom, m_pEnv ? m_pEnv->maskfilename : std::string());
    }
    ::EndPaint(m_hwnd, &ps);
    return 0;
}

// ---- CSetEffect -----------------------------------------------------------------------------

const fw::Handler<CSetEffect> CSetEffect::kHandlers[] = {
    fw::OnCommand(IDOK, &CSetEffect::OnOk),
    fw::OnCommand(IDCANCEL, &CSetEffect::OnCancel),
    fw::OnCommand(IDC_EFFECT_FRAME, &CSetEffect::OnFrame, BN_CLICKED),
    fw::OnCommand(IDC_EFFECT_MASK, &CSetEffect::OnMask, BN_CLICKED),
    fw::OnCommand(IDC_EFFECT_SHADOW, &CSetEffect::OnShadow, BN_CLICKED),
    fw::OnCommand(IDC_EFFECT_RANDOM_MASK, &CSetEffect::OnRandomMask, BN_CLICKED),
    fw::OnCommand(IDC_EFFECT_ROTATE, &CSetEffect::OnRotate, BN_CLICKED),
    fw::OnCommand(IDC_EFFECT_ANGLE, &CSetEffect::OnAngle, CBN_SELCHANGE),
    fw::OnCommand(IDC_EFFECT_FRAMECOLOR, &CSetEffect::OnFrameColor, BN_CLICKED),
    fw::OnCommand(IDC_EFFECT_CHOOSE_MASK, &CSetEffect::OnChooseMask, BN_CLICKED),
};

CSetEffect::CSetEffect(SettingsContext& context) : CDialogImpl(IDD_SET_EFFECT), m_context(context) {}

CSetEffect::~CSetEffect() = default;

BOOL CSetEffect::OnInitDialog() {
    m_pEnv = &m_context.env;
    m_maskList = &m_context.composer.m_effects.m_maskList;
    EnvSettings& env = *m_pEnv;
    m_frameColor.SubclassDlgItem(IDC_EFFECT_FRAMECOLOR, m_hwnd);
    m_preview.m_pEnv = m_pEnv;
    m_preview.SubclassDlgItem(IDC_EFFECT_MASK_PREVIEW, m_hwnd);

    if (env.maskfilename.empty() && !m_maskList->empty()) env.maskfilename = m_maskList->front();
    size_t slash = mb::FindLastBackslash(env.maskfilename);
    SetDlgItemText(IDC_EFFECT_MASK_NAME, slash == std::string::npos ? env.maskfilename
                                                                    : env.maskfilename.substr(slash + 1));

    if (env.isframe) {
        Check(IDC_EFFECT_FRAME, true);
        Enable(IDC_EFFECT_RANDOM_MASK, false);
        Enable(IDC_EFFECT_CHOOSE_MASK, false);
    } else {
        Enable(IDC_EFFECT_FRAMESIZE, false);
        Enable(IDC_EFFECT_FRAMECOLOR, false);
        Enable(IDC_EFFECT_SHADOW, false);
    }
    if (env.ismask) {
        Check(IDC_EFFECT_MASK, true);
    } else {
        Enable(IDC_EFFECT_RANDOM_MASK, false);
        Enable(IDC_EFFECT_CHOOSE_MASK, false);
    }
    Check(IDC_EFFECT_SHADOW, env.isshadow);
    Check(IDC_EFFECT_RANDOM_MASK, env.isrndmask);
    Check(IDC_EFFECT_ROTATE, env.isrotate);
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

bool CSetEffect::IsChecked(int id) const {
    return ::SendMessageW(GetDlgItem(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CSetEffect::Check(int id, bool on) const {
    ::SendMessageW(GetDlgItem(id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CSetEffect::Enable(int id, bool on) const { ::EnableWindow(GetDlgItem(id), on ? TRUE : FALSE); }

void CSetEffect::OnFrame() {
    if (IsChecked(IDC_EFFECT_FRAME)) {
        Check(IDC_EFFECT_MASK, false);
        Enable(IDC_EFFECT_FRAMESIZE, true);
        Enable(IDC_EFFECT_RANDOM_MASK, false);
        Enable(IDC_EFFECT_SHADOW, true);
        Enable(IDC_EFFECT_CHOOSE_MASK, false);
        Enable(IDC_EFFECT_FRAMECOLOR, true);
        m_pEnv->isframe = 1;
        m_pEnv->ismask = 0;
    } else {
        Check(IDC_EFFECT_FRAME, false);
        Enable(IDC_EFFECT_FRAMESIZE, false);
        m_pEnv->isframe = 0;
    }
}

void CSetEffect::OnMask() {
    if (IsChecked(IDC_EFFECT_MASK)) {
        Enable(IDC_EFFECT_FRAMECOLOR, false);
        Enable(IDC_EFFECT_SHADOW, false);
        Check(IDC_EFFECT_SHADOW, false);
        Check(IDC_EFFECT_FRAME, false);
        Enable(IDC_EFFECT_RANDOM_MASK, true);
        Enable(IDC_EFFECT_FRAMESIZE, false);
        m_pEnv->ismask = 1;
        m_pEnv->isshadow = 0;
        m_pEnv->isframe = 0;
        Enable(IDC_EFFECT_CHOOSE_MASK, true);
        if (m_maskList->empty()) ShowNoMasksMessage();
    } else {
        Check(IDC_EFFECT_FRAME, false);
        Enable(IDC_EFFECT_RANDOM_MASK, false);
        m_pEnv->ismask = 0;
        Enable(IDC_EFFECT_CHOOSE_MASK, false);
    }
}

void CSetEffect::ShowNoMasksMessage() const {
    ::MessageBoxW(::GetAncestor(m_hwnd, GA_ROOT),
                  L"\uB4F1\uB85D\uB41C \uB9C8\uC2A4\uD06C\uD30C\uC77C\uC774 \uC5C6\uC2B5\uB2C8\uB2E4!\n"
                  L"\uC2E4\uD589\uD30C\uC77C \uC704\uCE58\uC5D0 masks\uD3F4\uB354\uB97C \uD655\uC778\uD574\uC8FC"
                  L"\uC138\uC694.",  // 등록된 마스크파일이 없습니다!\n실행파일 위치에 masks폴더를 확인해주세요.
                  L"Dioramix", MB_OK);
}

void CSetEffect::OnShadow() {
    if (IsChecked(IDC_EFFECT_SHADOW)) {
        Check(IDC_EFFECT_MASK, false);
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
    HWND angles = GetDlgItem(IDC_EFFECT_ANGLE);
    LRESULT index = ::SendMessageW(angles, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return;
    wchar_t text[16] = {};
    if (::SendMessageW(angles, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0) >= 16) return;
    ::SendMessageW(angles, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    m_pEnv->rotatevalue = static_cast<int32_t>(std::wcstol(text, nullptr, 10));
}

void CSetEffect::OnFrameColor() {
    COLORREF color = m_pEnv->framecolor;
    if (!m_chooseColor || !m_chooseColor(color)) return;
    m_pEnv->framecolor = color;
    m_frameColor.SetColor(color);
    ::InvalidateRect(m_frameColor.GetSafeHwnd(), nullptr, TRUE);
    m_context.composer.m_clearRequested = TRUE;
}

void CSetEffect::OnChooseMask() {
    HCURSOR previous = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
    m_pMaskDlg = std::make_unique<CMaskDlg>(*m_maskList, m_hwnd);
    if (m_pMaskDlg->DoModal() == 1) {
        const std::string name = m_pMaskDlg->m_strSelected + ".gif";
        SetDlgItemText(IDC_EFFECT_MASK_NAME, name);
        m_pEnv->maskfilename = m_pEnv->m_exePath + "\\masks\\" + name;
        ::InvalidateRect(m_preview.GetSafeHwnd(), nullptr, TRUE);
    }
    if (m_pMaskDlg->IsWindow()) m_pMaskDlg->DestroyWindow();
    m_pMaskDlg.reset();
    ::SetCursor(previous);
}
