#pragma once
// Page 0, "바탕화면 설정": the background colour or image.

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "framework/window_jobs.h"
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

// The background picture read on the page's worker is ready to be taken.
constexpr UINT WM_BACKGROUND_PICTURE_READY = WM_APP + 0x53;

class CSetBackImg : public CSettingsPageImpl<CSetBackImg> {
public:
    explicit CSetBackImg(SettingsContext& context);
    ~CSetBackImg() override;
    // The preview box keeps the screen's shape at the new size, and the picture is read again for it.
    void DpiChanged(UINT oldDpi, UINT newDpi) override;
    const BackgroundPicture& Picture() const { return m_picture; }
    // How the picture is read, on the page's worker thread; tests stand in a slow one.
    std::function<BackgroundPicture(const std::string&, int, int)> loadPicture = LoadBackgroundPicture;
    // The picture is still being read; until then the preview shows the background colour alone.
    bool PictureLoading() const { return m_jobs && m_jobs->Busy(); }

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
    LRESULT OnPictureReady(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);

    void FitPreviewBox();
    // Reads the picture on the worker for the preview box's size; another file's picture leaves
    // the preview at once, the same file's stays until its new copy arrives.
    void ShowPicture(const std::string& path);
    void RepaintPreview() const;

    CColorButton m_colorButton;
    BackgroundPicture m_picture;
    std::string m_picturePath;  // the file m_picture was read from, or is being read from
    std::unique_ptr<fw::WindowJobs<BackgroundPicture>> m_jobs;
};
