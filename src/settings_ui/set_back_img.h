#pragma once
// Page 0, "바탕화면 설정": the background colour or image.

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "framework/window.h"
#include "settings_ui/color_button.h"
#include "settings_ui/settings_context.h"

// "%d x %d\nColor: %dbit\r\nFile Size: %dKB"
std::string ImageInfoText(int width, int height, int bitsPerPixel, uint64_t fileBytes);
// The text after the last backslash (the whole text without one).
std::string FileNamePart(const std::string& path);
// Height of the preview box for its width, in the screen's proportions; when that is taller than
// `maxHeight`, the width shrinks instead. Returns the box's size.
SIZE PreviewBoxSize(int width, int maxHeight, int screenWidth, int screenHeight);
// Where the background image goes in a preview box of pw × ph for a screen `screenWidth` wide:
// the whole box when stretched, else the composer's placement at the box's scale.
Gdiplus::RectF BackgroundPreviewRect(int imageWidth, int imageHeight, int pw, int ph, int screenWidth, bool stretch);

// The background image as the page shows it: its information text and a small copy to paint.
struct BackgroundPicture {
    std::string info = "No FileInfo";
    int width = 0;   // of the file's image; 0 when it is missing or no image
    int height = 0;
    std::unique_ptr<Gdiplus::Bitmap> thumbnail;  // at most the box's size
};
BackgroundPicture LoadBackgroundPicture(const std::string& path, int boxWidth, int boxHeight);

// Paints the preview: the background colour (or the desktop's), then the image when it is on.
void DrawBackgroundPreview(Gdiplus::Graphics& g, int pw, int ph, const EnvSettings& env, int screenWidth,
                           const BackgroundPicture& picture);

class CSetBackImg : public fw::CDialogImpl<CSetBackImg> {
public:
    explicit CSetBackImg(SettingsContext& context);
    ~CSetBackImg() override;
    // At program exit: closes the windows this page opened (it opens none that outlive a click).
    void CloseOwnedWindows() {}

    // The two system dialogs the page opens; tests replace them. True with a choice on OK.
    std::function<bool(COLORREF& color)> chooseColor;
    std::function<bool(HWND owner, std::string& path)> chooseImageFile;

    static const fw::Handler<CSetBackImg> kHandlers[];

protected:
    BOOL OnInitDialog() override;

private:
    void OnOk() {}      // Enter inside the page neither hides it nor changes anything
    void OnCancel() {}  // nor does Escape

    void OnUseColor();
    void OnChooseColor();
    void OnUseImage();
    void OnStretch();
    void OnBrowse();
    LRESULT OnDrawItem(WPARAM, LPARAM);

    void FitPreviewBox();
    void ShowPicture(const std::string& path);
    void RepaintPreview() const;
    void RequestFreshBackground() { m_context.composer.m_clearRequested = TRUE; }
    SIZE ScreenSize() const;
    bool IsChecked(int id) const { return ::IsDlgButtonChecked(m_hwnd, id) == BST_CHECKED; }

    SettingsContext& m_context;
    EnvSettings* m_pEnv = nullptr;
    CColorButton m_colorButton;
    BackgroundPicture m_picture;
};

// The system's file-open dialog for a background image.
bool ChooseBackgroundImageFile(HWND owner, std::string& path);
