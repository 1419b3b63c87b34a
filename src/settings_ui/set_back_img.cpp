#include "settings_ui/set_back_img.h"

#include <algorithm>

#include "composer/composer.h"
#include "composer/picture_decode.h"
#include "framework/handles.h"
#include "framework/mbstring.h"
#include "framework/texts.h"
#include "resource.h"
#include "state/catalogue.h"

std::string ImageInfoText(int width, int height, int bitsPerPixel, uint64_t fileBytes) {
    return mb::Narrow(fw::LoadText(IDS_IMAGE_INFO, {std::to_wstring(width), std::to_wstring(height),
                                                    std::to_wstring(bitsPerPixel), std::to_wstring(fileBytes / 1024)}));
}

SIZE PreviewBoxSize(int width, int maxHeight, int screenWidth, int screenHeight) {
    if (width <= 0 || screenWidth <= 0 || screenHeight <= 0) return {width > 0 ? width : 0, 0};
    int height = static_cast<int>(static_cast<int64_t>(width) * screenHeight / screenWidth);
    if (maxHeight > 0 && height > maxHeight) {  // a tall screen: narrower, not taller than the page
        height = maxHeight;
        width = static_cast<int>(static_cast<int64_t>(height) * screenWidth / screenHeight);
    }
    return {width, height};
}

Gdiplus::RectF BackgroundPreviewRect(int imageWidth, int imageHeight, int pw, int ph, int screenWidth, bool stretch) {
    using Gdiplus::REAL;
    if (stretch) return {0, 0, static_cast<REAL>(pw), static_cast<REAL>(ph)};
    if (screenWidth <= 0) return {};
    // The image at the box's scale, in whole pixels as the composer would place it on the screen.
    const int sw = static_cast<int>(static_cast<int64_t>(imageWidth) * pw / screenWidth);
    const int sh = static_cast<int>(static_cast<int64_t>(imageHeight) * pw / screenWidth);
    return FitRect(sw, sh, pw, ph);
}

BackgroundPicture LoadBackgroundPicture(const std::string& path, int boxWidth, int boxHeight) {
    BackgroundPicture picture;
    if (path.empty()) return picture;
    // Decoded no larger than the box: painting stays quick, the file is not held open, and a huge
    // picture costs the page little.
    DecodedPicture decoded = DecodePicture(path, [&](int w, int h) {
        return DrawnSize{std::max(1, std::min(w, boxWidth)), std::max(1, std::min(h, boxHeight))};
    });
    if (!decoded) return picture;

    picture.width = decoded.width;
    picture.height = decoded.height;
    uint64_t bytes = 0;
    WIN32_FIND_DATAW found{};
    fw::FindHandle find(::FindFirstFileW(mb::Widen(path).c_str(), &found));
    if (find) bytes = (static_cast<uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    picture.info = ImageInfoText(picture.width, picture.height, decoded.bitsPerPixel, bytes);

    Gdiplus::Image& image = *decoded.image;
    const int tw = std::max(1, std::min(picture.width, boxWidth));
    const int th = std::max(1, std::min(picture.height, boxHeight));
    auto thumbnail = std::make_unique<Gdiplus::Bitmap>(tw, th, PixelFormat32bppPARGB);
    if (thumbnail->GetLastStatus() != Gdiplus::Ok) return picture;
    Gdiplus::Graphics g(thumbnail.get());
    g.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    Gdiplus::ImageAttributes edges;
    edges.SetWrapMode(Gdiplus::WrapModeTileFlipXY);
    g.DrawImage(&image, Gdiplus::Rect(0, 0, tw, th), 0, 0, static_cast<INT>(image.GetWidth()),
                static_cast<INT>(image.GetHeight()), Gdiplus::UnitPixel, &edges);
    if (g.GetLastStatus() == Gdiplus::Ok) picture.thumbnail = std::move(thumbnail);
    return picture;
}

void DrawBackgroundPreview(Gdiplus::Graphics& g, int pw, int ph, const EnvSettings& env, int screenWidth,
                           const BackgroundPicture& picture) {
    g.Clear(Gdiplus::Color(env.isbackcolor ? env.backcolor : env.m_desktopColor));
    if (!env.isbackimg || !picture.thumbnail) return;
    const Gdiplus::RectF where =
        BackgroundPreviewRect(picture.width, picture.height, pw, ph, screenWidth, env.isstretch != 0);
    g.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBilinear);
    g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    Gdiplus::ImageAttributes edges;
    edges.SetWrapMode(Gdiplus::WrapModeTileFlipXY);
    const auto tw = static_cast<Gdiplus::REAL>(picture.thumbnail->GetWidth());
    const auto th = static_cast<Gdiplus::REAL>(picture.thumbnail->GetHeight());
    g.DrawImage(picture.thumbnail.get(), where, 0, 0, tw, th, Gdiplus::UnitPixel, &edges);
}

// ---- The page -----------------------------------------------------------------------------------

const fw::Handler<CSetBackImg> CSetBackImg::kHandlers[] = {
    fw::OnCommand(IDC_BACK_USECOLOR, &CSetBackImg::OnUseColor, BN_CLICKED),
    fw::OnCommand(IDC_BACK_COLOR, &CSetBackImg::OnChooseColor, BN_CLICKED),
    fw::OnCommand(IDC_BACK_USEIMAGE, &CSetBackImg::OnUseImage, BN_CLICKED),
    fw::OnCommand(IDC_BACK_STRETCH, &CSetBackImg::OnStretch, BN_CLICKED),
    fw::OnCommand(IDC_BACK_BROWSE, &CSetBackImg::OnBrowse, BN_CLICKED),
    fw::OnMessage(WM_DRAWITEM, &CSetBackImg::OnDrawItem),
    fw::OnMessage(WM_BACKGROUND_PICTURE_READY, &CSetBackImg::OnPictureReady),
    fw::OnMessage(WM_DESTROY, &CSetBackImg::OnDestroy),
};

CSetBackImg::CSetBackImg(SettingsContext& context) : CSettingsPageImpl(IDD_SET_BACKIMG, context) {}

CSetBackImg::~CSetBackImg() = default;

BOOL CSetBackImg::OnInitDialog() {
    const EnvSettings& env = *m_pEnv;
    m_colorButton.SubclassDlgItem(IDC_BACK_COLOR, m_hwnd);
    m_jobs = std::make_unique<fw::WindowJobs<BackgroundPicture>>(m_hwnd, WM_BACKGROUND_PICTURE_READY);
    FitPreviewBox();
    ShowPicture(env.backimagename);
    SetChecked(IDC_BACK_USEIMAGE, env.isbackimg);
    Enable({IDC_BACK_BROWSE, IDC_BACK_STRETCH}, env.isbackimg);
    SetChecked(IDC_BACK_USECOLOR, env.isbackcolor);
    Enable(IDC_BACK_COLOR, env.isbackcolor);
    SetChecked(IDC_BACK_STRETCH, env.isstretch);
    m_colorButton.SetColor(ArgbToColorRef(env.backcolor));
    return TRUE;
}

// The box takes the screen's proportions (its client area does: the sunken edge is extra).
void CSetBackImg::FitPreviewBox() {
    HWND box = GetDlgItem(IDC_BACK_PREVIEW);
    RECT outer{}, inner{}, page{};
    ::GetWindowRect(box, &outer);
    ::MapWindowPoints(nullptr, m_hwnd, reinterpret_cast<POINT*>(&outer), 2);
    ::GetClientRect(box, &inner);
    ::GetClientRect(m_hwnd, &page);
    const int edgeX = (outer.right - outer.left) - inner.right;
    const int edgeY = (outer.bottom - outer.top) - inner.bottom;
    const int bottomMargin = 4;
    const SIZE screen = m_context.composer.ShownScreenSize();
    const SIZE client = PreviewBoxSize(inner.right, page.bottom - bottomMargin - outer.top - edgeY, screen.cx, screen.cy);
    ::MoveWindow(box, outer.left, outer.top, client.cx + edgeX, client.cy + edgeY, TRUE);
}

void CSetBackImg::DpiChanged(UINT oldDpi, UINT newDpi) {
    CSettingsPage::DpiChanged(oldDpi, newDpi);
    if (!m_hwnd || oldDpi == newDpi) return;
    FitPreviewBox();
    ShowPicture(m_pEnv->backimagename);
    RepaintPreview();
}

void CSetBackImg::ShowPicture(const std::string& path) {
    SetDlgItemText(IDC_BACK_FILENAME, mb::FileNameOfPath(path));
    if (!m_jobs) return;  // not initialised yet, or closing
    m_jobs->Cancel();
    if (path != m_picturePath || path.empty()) {
        m_picture = BackgroundPicture();
        m_picturePath = path;
        // Nothing to read for no file; a file's information shows once it has been read.
        SetDlgItemText(IDC_BACK_INFO, path.empty() ? m_picture.info : std::string());
        RepaintPreview();
    }
    if (path.empty() || !loadPicture) return;
    RECT box{};
    ::GetClientRect(GetDlgItem(IDC_BACK_PREVIEW), &box);
    m_jobs->Post(0, [load = loadPicture, path, width = box.right, height = box.bottom](const std::atomic<bool>& cancelled) {
        return cancelled ? BackgroundPicture() : load(path, width, height);
    });
}

LRESULT CSetBackImg::OnPictureReady(WPARAM, LPARAM) {
    if (!m_jobs) return 0;
    for (auto& done : m_jobs->Take()) {
        m_picture = std::move(done.result);
        SetDlgItemText(IDC_BACK_INFO, m_picture.info);
        RepaintPreview();
    }
    return 0;
}

LRESULT CSetBackImg::OnDestroy(WPARAM, LPARAM) {
    // A picture still being read is dropped; one stuck on a dead share ends alone, unseen.
    m_jobs.reset();
    return 0;
}

void CSetBackImg::RepaintPreview() const { ::InvalidateRect(GetDlgItem(IDC_BACK_PREVIEW), nullptr, TRUE); }

LRESULT CSetBackImg::OnDrawItem(WPARAM, LPARAM lp) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
    if (!item || item->CtlID != IDC_BACK_PREVIEW) return FALSE;
    const int pw = item->rcItem.right - item->rcItem.left, ph = item->rcItem.bottom - item->rcItem.top;
    if (pw <= 0 || ph <= 0) return TRUE;
    // Drawn off-screen first so that the colour never flashes under the image.
    Gdiplus::Bitmap buffer(pw, ph, PixelFormat32bppPARGB);
    {
        Gdiplus::Graphics g(&buffer);
        DrawBackgroundPreview(g, pw, ph, *m_pEnv, m_context.composer.ShownScreenSize().cx, m_picture);
    }
    Gdiplus::Graphics screen(item->hDC);
    screen.DrawImage(&buffer, item->rcItem.left, item->rcItem.top, pw, ph);
    return TRUE;
}

void CSetBackImg::OnUseColor() {
    m_pEnv->isbackcolor = IsChecked(IDC_BACK_USECOLOR) ? 1 : 0;
    Enable(IDC_BACK_COLOR, m_pEnv->isbackcolor);
    RequestFreshBackground();
    RepaintPreview();
}

void CSetBackImg::OnChooseColor() {
    COLORREF color = ArgbToColorRef(m_pEnv->backcolor);
    if (!ChooseSwatchColor(m_colorButton, color)) return;
    m_pEnv->backcolor = ColorRefToArgb(color);
    RequestFreshBackground();
    RepaintPreview();
}

void CSetBackImg::OnUseImage() {
    m_pEnv->isbackimg = IsChecked(IDC_BACK_USEIMAGE) ? 1 : 0;
    Enable({IDC_BACK_BROWSE, IDC_BACK_STRETCH}, m_pEnv->isbackimg);
    RequestFreshBackground();
    RepaintPreview();
}

void CSetBackImg::OnStretch() {
    m_pEnv->isstretch = IsChecked(IDC_BACK_STRETCH) ? 1 : 0;
    RequestFreshBackground();
    RepaintPreview();
}

void CSetBackImg::OnBrowse() {
    std::string path;
    if (!Prompts().ChooseImageFile(SettingsWindow(), path)) return;
    if (path != m_pEnv->backimagename) RequestFreshBackground();
    m_pEnv->backimagename = path;
    ShowPicture(path);
    ::InvalidateRect(m_hwnd, nullptr, TRUE);
    RepaintPreview();
}
