#pragma once
// Page 2, "이미지 효과": frame, shadow, mask and rotation.

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/window.h"
#include "settings_ui/color_button.h"
#include "settings_ui/mask_dlg.h"
#include "settings_ui/settings_page.h"

// The items of the angle list, in order.
const std::vector<std::string>& RotationAngleItems();
// Index of the first item whose text begins with the value in decimal; -1 when none does.
int FindAngleItem(int rotatevalue);

// The mask preview: the top-left quarter of the mask scaled into a pw x ph box inside a one-pixel
// black border; a mask that cannot be loaded leaves the box black.
void DrawMaskPreview(Gdiplus::Graphics& g, int pw, int ph, const std::string& maskPath);

// The static that shows the chosen mask; it paints itself from the settings it is given.
class CMaskPreview : public fw::CControlImpl<CMaskPreview> {
public:
    const EnvSettings* m_pEnv = nullptr;
    static const fw::Handler<CMaskPreview> kHandlers[];

private:
    LRESULT OnPaint(WPARAM, LPARAM);
};

class CSetEffect : public CSettingsPageImpl<CSetEffect> {
public:
    explicit CSetEffect(SettingsContext& context);
    ~CSetEffect() override;
    // At program exit: closes the mask picker.
    void CloseOwnedWindows() override;
    // The frame's width.
    void ReadCheckedFields(CloseCheckFields& fields) const override;
    HWND CheckedFieldControl(CheckedField field) const override;

    // The mask picker while it is open.
    CMaskDlg* MaskPicker() const { return m_pMaskDlg.get(); }

    static const fw::Handler<CSetEffect> kHandlers[];

protected:
    BOOL OnInitDialog() override;

private:
    void OnFrame();
    void OnMask();
    void OnShadow();
    void OnRandomMask();
    void OnRotate();
    void OnAngle();
    void OnFrameColor();
    void OnChooseMask();

    void ShowNoMasksMessage() const;

    const std::vector<std::string>* m_maskList = nullptr;
    std::unique_ptr<CMaskDlg> m_pMaskDlg;
    CColorButton m_frameColor;
    CMaskPreview m_preview;
};
