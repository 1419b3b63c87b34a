// Shows the image folders page, the miscellaneous page with its program list, and the current
// images dialog with realistic contents, one after the other, for tools/screenshot-folders.
// Disabled in ordinary runs: the script runs it with --gtest_also_run_disabled_tests and takes a
// screenshot each time a window says it is ready (a file in DIORAMIX_SHOT_DIR).

#include <cstdlib>

#include "aux_windows/images_dlg.h"
#include "settings_ui/program_list.h"
#include "settings_ui/set_etc.h"
#include "settings_ui/set_path.h"
#include "windows/page_fixture.h"

namespace {

using namespace testing_support;
using namespace page_testing;

std::string ShotDir() {
    const char* dir = std::getenv("DIORAMIX_SHOT_DIR");
    return dir ? dir : "";
}

// Says `name` is on screen and waits (painting) until the script has taken its picture.
void Pose(const std::string& name) {
    PumpFor(600);
    const std::string dir = ShotDir();
    if (dir.empty()) return;
    WriteFile(dir + "\\" + name + ".ready", "");
    for (int waited = 0; waited < 20000 && !FileExists(dir + "\\" + name + ".done"); waited += 50) {
        Pump();
        ::Sleep(50);
    }
}

class FoldersScreenshots : public PageTest {};

TEST_F(FoldersScreenshots, DISABLED_ThreeWindows) {
    owner.window = parent;

    // ---- Image folders page: three folders, the last one being added -----------------------
    for (const char* name : {"Photos", "Photos\\2026", "Travel", "Family", "Wallpapers", "Scans"})
        dir.MakeDir(name);
    for (int i = 0; i < 31; ++i) WriteFile(dir.File("Wallpapers\\wp" + std::to_string(i) + ".bmp"), "x");
    for (int i = 0; i < 3; ++i) WriteFile(dir.File("Scans\\scan" + std::to_string(i) + ".tif"), "x");
    for (int i = 0; i < 14; ++i) WriteFile(dir.File("Photos\\2026\\img" + std::to_string(i) + ".jpg"), "x");
    for (int i = 0; i < 5; ++i) WriteFile(dir.File("Travel\\trip" + std::to_string(i) + ".png"), "x");
    for (int i = 0; i < 9; ++i) WriteFile(dir.File("Family\\fam" + std::to_string(i) + ".gif"), "x");
    {
        CSetPath page(context);
        ShowAsInTheSettingsWindow(page, IDS_PAGE_FOLDERS);
        for (const char* name : {"Photos", "Travel", "Family", "Wallpapers", "Scans"})
            page.AddChosenFolder(dir.File(name));
        ClickRow(page.GetSafeHwnd(), IDC_PATH_LIST, 0);
        ListView_SetItemState(page.GetDlgItem(IDC_PATH_LIST), 0, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
        Pose("path-page");
        page.DestroyWindow();
    }

    // ---- Miscellaneous page, then its program list over it ------------------------------------
    {
        TopWindows windows;
        for (const wchar_t* title : {L"\uBA54\uBAA8\uC7A5 - \uC77C\uC815.txt", L"Movie Player", L"Photo Viewer - beach.jpg"})
            ::SetWindowPos(windows.Make(title), nullptr, 700, 420, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE);
        env.maxwinstop = 1;
        env.ispath = 1;
        env.isweekday = 1;
        env.favoritesonly = 1;
        env.hotkeynext = 0x64E;  // the defaults: Ctrl+Alt+N, B and P
        env.hotkeyback = 0x642;
        env.hotkeypause = 0x650;
        programs = {"Movie Player", mb::Narrow(L"\uBA54\uBAA8\uC7A5 - \uC77C\uC815.txt")};
        CSetEtc page(context);
        ShowAsInTheSettingsWindow(page, IDS_PAGE_OTHERS);
        Pose("etc-page");

        env.maxwinstop = 0;
        CSetEtc off(context);
        ::ShowWindow(page.GetSafeHwnd(), SW_HIDE);
        ShowAsInTheSettingsWindow(off, IDS_PAGE_OTHERS);
        Pose("etc-page-stop-off");
        off.DestroyWindow();
        ::ShowWindow(page.GetSafeHwnd(), SW_SHOW);

        CProgramList list(programs, parent);
        ASSERT_TRUE(list.Create());
        ::SetWindowPos(list.GetSafeHwnd(), HWND_TOP, RectOf(parent).right + 10, RectOf(parent).top, 0, 0,
                       SWP_NOSIZE | SWP_SHOWWINDOW);
        Pose("program-list");
        list.DestroyWindow();
        page.DestroyWindow();
        ::ShowWindow(parent, SW_HIDE);
    }

    // ---- Current images -----------------------------------------------------------------------
    {
        std::vector<std::string> current;
        struct Scene { const char* name; int w, h; Gdiplus::Color top, bottom; };
        const Scene scenes[] = {
            {"beach.jpg", 800, 500, Gdiplus::Color(255, 90, 160, 230), Gdiplus::Color(255, 250, 220, 160)},
            {"tower.jpg", 300, 640, Gdiplus::Color(255, 40, 40, 110), Gdiplus::Color(255, 230, 120, 90)},
            {"stamp.jpg", 35, 20, Gdiplus::Color(255, 200, 30, 60), Gdiplus::Color(255, 250, 200, 40)},
            {"panorama.jpg", 700, 350, Gdiplus::Color(255, 120, 200, 120), Gdiplus::Color(255, 30, 80, 140)},
        };
        for (const Scene& s : scenes) {
            current.push_back(dir.File(s.name));
            SaveScene(current.back(), s.w, s.h, s.top, s.bottom);
        }
        current.push_back(dir.File("missing.jpg"));
        {
            // Still being made: the first two thumbnails are in, the others show their placeholder.
            auto gate = std::make_shared<Gate>();
            gate->Let(2);
            CImagesDlg loading(current, nullptr);
            loading.makeThumbnail = [gate](const std::string& path, int size) {
                gate->Pass();
                return MakeThumbnail(path, size);
            };
            ASSERT_TRUE(loading.Create());
            ::SetWindowPos(loading.GetSafeHwnd(), HWND_TOP, 60, 50, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
            Pose("current-images-loading");
            gate->Let(static_cast<int>(current.size()));
            loading.DestroyWindow();
        }
        CImagesDlg dialog(current, nullptr);
        ASSERT_TRUE(dialog.Create());
        ::SetWindowPos(dialog.GetSafeHwnd(), HWND_TOP, 60, 50, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        Pose("current-images");

        // The pop-up of a right click on the second thumbnail, posed from inside its loop.
        HWND list = dialog.List();
        RECT icon{LVIR_ICON};
        ::SendMessageW(list, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&icon));
        const LPARAM where = MAKELPARAM((icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2);
        ::SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR id, DWORD) {
            ::KillTimer(nullptr, id);
            Pose("current-images-menu");
            ::EndMenu();
        });
        ::PostMessageW(list, WM_RBUTTONUP, 0, where);
        ::SendMessageW(list, WM_RBUTTONDOWN, MK_RBUTTON, where);
        PumpFor(300);
        dialog.DestroyWindow();
    }
}

}  // namespace
