// Photos named in any script, with UTF-8 as the program's code page: composed, their path drawn,
// listed in the current images window and deleted to the recycle bin.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "aux_windows/images_dlg.h"
#include "composer/placement.h"
#include "framework/mbstring.h"
#include "resource.h"
#include "support/catalogue_steps.h"
#include "support/recycle_bin.h"
#include "windows/page_fixture.h"

namespace {

using namespace testing_support;
using namespace page_testing;

std::string Utf8(const std::wstring& wide) { return mb::Narrow(wide, CP_UTF8); }

// The leftmost column of the path text's bright letters, or -1.
int PathTextStart(const std::string& path) {
    Gdiplus::Bitmap canvas(1024, 768, PixelFormat24bppRGB);
    Gdiplus::Graphics g(&canvas);
    g.Clear(Gdiplus::Color(255, 0, 0, 0));
    DrawPathText(g, path, fw::WorkArea{0, 0, 1024, 738});
    for (int x = 424; x < 1024; ++x)
        for (int y = 718; y < 730; ++y)
            if (PixelOf(canvas, x, y).r > 200) return x;
    return -1;
}

class Utf8Photos : public PageTest {
protected:
    std::string folder;
    std::vector<std::string> photos;

    void SetUp() override {
        PageTest::SetUp();
        folder = dir.path() + "\\" + Utf8(L"\U0001F30F \u6771\u4EAC \u00C9t\u00E9 \uC5EC\uD589");
        ASSERT_TRUE(::CreateDirectoryW(mb::Widen(folder).c_str(), nullptr));
        // Named for this run, so that a copy in the bin is its own.
        const std::wstring run = std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(::GetTickCount());
        for (const std::wstring& name : {L"\U0001F4F7 " + run, L"\u591C\u666F " + run, L"\u00C9t\u00E9 " + run,
                                         L"\uC0AC\uC9C4 " + run}) {
            photos.push_back(folder + "\\" + Utf8(name) + ".png");
            ASSERT_TRUE(WritePicture(photos.back(), 80, 60, Gdiplus::Color(255, 200, 30, 30), "png")) << photos.back();
        }
    }
};

TEST_F(Utf8Photos, AreComposedListedAndDeletedToTheBin) {
    ASSERT_TRUE(AddFolder(catalogue, folder));
    ASSERT_EQ(photos.size(), catalogue.Images().size());
    env.israndum = 0;
    env.ispath = 1;
    std::vector<std::string> current;
    for (size_t i = 0; i < photos.size(); ++i) {
        composer.ComposeWallpaper();
        ASSERT_EQ(1u, composer.CurrentImages().size()) << "photo " << i << " was drawn";
        current.push_back(composer.CurrentImages()[0]);
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(mb::Widen(current.back()).c_str())) << current.back();
    }
    CImagesDlg dialog(current, parent);
    dialog.deleteFlags |= FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    ASSERT_TRUE(dialog.Create());
    ::ShowWindow(dialog.GetSafeHwnd(), SW_SHOW);
    PumpFor(200);
    HWND list = dialog.List();
    ASSERT_EQ(static_cast<int>(photos.size()), RowCount(list));
    for (int row = 0; row < RowCount(list); ++row)
        EXPECT_EQ(mb::FileNameOfPath(current[static_cast<size_t>(row)]), CellText(list, row, 0)) << row;

    // The emoji-named photo goes to the bin, named as it was.
    const std::string dropped = current[0];
    ASSERT_FALSE(RecycleBinHolds(mb::FileNameOfPath(dropped)));
    RECT item{LVIR_ICON};
    ::SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    POINT centre{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    ::ClientToScreen(list, &centre);
    ASSERT_TRUE(dialog.SelectItemAt(centre));
    ASSERT_EQ(dropped, dialog.SelectedPath());
    ::SendMessageW(dialog.GetSafeHwnd(), WM_COMMAND, ID_IMAGES_DELETE, 0);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(mb::Widen(dropped).c_str()));
    EXPECT_EQ(static_cast<int>(photos.size()) - 1, RowCount(list));
    EXPECT_TRUE(RecycleBinHolds(mb::FileNameOfPath(dropped))) << "the file went to the recycle bin, named as it was";
    TakeOutOfWineTrash(mb::FileNameOfPath(dropped));
    dialog.DestroyWindow();
}

TEST(Utf8PathText, IsDrawnFromTheNameItself) {
    // Read in another code page, "Été à Crète" would come out as twice as many, wider letters.
    const int plain = PathTextStart("c:\\photos\\Ete a Crete.jpg");
    const int accented = PathTextStart(Utf8(L"c:\\photos\\\u00C9t\u00E9 \u00E0 Cr\u00E8te.jpg"));
    ASSERT_GT(plain, 0);
    EXPECT_NEAR(plain, accented, 4);
}

}  // namespace
