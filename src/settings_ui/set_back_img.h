#pragma once
// Page 0, "바탕화면 설정": the background colour or image.

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cstdint>
#include <memory>
#include <string>

#include "settings_ui/color_button.h"
#include "settings_ui/settings_page.h"

// "%d x %d\nColor: %dbit\r\nFile Size: %dKB"
std::string ImageInfoText(int width, int height, int bitsPerPixel, uint64_t fileBytes);
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

class CSetBackImg : public CSettingsPageImpl<CSetBackImg> {
public:
    explicit CSetBackImg(SettingsContext& context);
    ~CSetBackImg() override;
    // The preview box keeps the screen's shape at the new size, and the picture is read again for it.
    void DpiChanged(UINT oldDpi, UINT newDpi) override;
    const BackgroundPicture& Picture() const { return m_picture; }

    static const fw::Handler<CSetBackImg> kHandlers[];

protected:
    BOOL OnInitDialog() override;

private:
    void OnUseColor();
    void OnChooseColor();
    void OnUseImage();
    void OnStretch();
    void OnBrowse();
    LRESULT OnDrawItem(WPARAM, LPARAM);

    void FitPreviewBox();
    void ShowPicture(const std::string& path);
    void RepaintPreview() const;

    CColorButton m_colorButton;
    BackgroundPicture m_picture;
};

// The file-open dialog's filter: "Image (*.jpg,*.jpeg,...)", then the patterns, each ended by a null.
std::wstring BackgroundImageFilter();
