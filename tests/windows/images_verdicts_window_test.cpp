// The current images window's never again and favourite: the owner is told the selected photo,
// and a banned photo leaves the window's list and the current images.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <objidl.h>
#include <gdiplus.h>

#include <memory>
#include <string>
#include <vector>

#include "aux_windows/images_dlg.h"
#include "composer/output.h"
#include "resource.h"
#include "support/test_support.h"

namespace {

TEST(CurrentImagesVerdicts, NeverAgainAndFavouriteTellTheOwnerAndABannedPhotoLeavesTheList) {
    testing_support::ScratchDir dir;
    std::vector<std::string> current;
    for (const char* name : {"a.png", "b.png"}) {
        Gdiplus::Bitmap bitmap(40, 40, PixelFormat24bppRGB);
        Gdiplus::Graphics(&bitmap).Clear(Gdiplus::Color(255, 0, 120, 0));
        ASSERT_TRUE(SaveImage(bitmap, dir.File(name), "png"));
        current.push_back(dir.File(name));
    }
    const std::vector<std::string> shown = current;
    std::vector<std::string> banned, kept;
    CImagesDlg dialog(current, nullptr);
    dialog.onBan = [&](const std::string& path) { banned.push_back(path); };
    dialog.onKeep = [&](const std::string& path) { kept.push_back(path); };
    dialog.onRemove = [&](const std::string& path) { std::erase(current, path); };
    ASSERT_TRUE(dialog.Create());
    ::ShowWindow(dialog.GetSafeHwnd(), SW_SHOW);
    const auto command = [&](UINT id) { ::SendMessageW(dialog.GetSafeHwnd(), WM_COMMAND, id, 0); };
    const auto select = [&](int item) {
        RECT r{LVIR_ICON};
        ::SendMessageW(dialog.List(), LVM_GETITEMRECT, item, reinterpret_cast<LPARAM>(&r));
        POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ::ClientToScreen(dialog.List(), &p);
        return dialog.SelectItemAt(p);
    };

    command(ID_IMAGES_BAN);
    command(ID_IMAGES_KEEP);
    EXPECT_TRUE(banned.empty() && kept.empty()) << "nothing selected yet";
    ASSERT_TRUE(select(1));
    command(ID_IMAGES_KEEP);
    EXPECT_EQ(std::vector<std::string>{shown[1]}, kept);
    EXPECT_EQ(2, static_cast<int>(::SendMessageW(dialog.List(), LVM_GETITEMCOUNT, 0, 0))) << "a favourite stays";
    command(ID_IMAGES_BAN);
    EXPECT_EQ(std::vector<std::string>{shown[1]}, banned);
    EXPECT_EQ(1, static_cast<int>(::SendMessageW(dialog.List(), LVM_GETITEMCOUNT, 0, 0)));
    EXPECT_EQ(std::vector<std::string>{shown[0]}, current);
    EXPECT_TRUE(testing_support::FileExists(shown[1])) << "the file stays on disk";
    dialog.DestroyWindow();
}

}  // namespace
