// The tray icon and the tray menu against the real shell and the program's own resources.
#include <gtest/gtest.h>

#include <vector>

#include "app/main_window_logic.h"
#include "app/tray_icon.h"
#include "app/tray_menu.h"
#include "framework/handles.h"
#include "framework/mbstring.h"
#include "framework/texts.h"
#include "resource.h"
#include "version.h"
#include "support/test_support.h"

namespace {

HWND MakeOwnerWindow() {
    return ::CreateWindowExW(0, L"STATIC", L"tray owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                             ::GetModuleHandleW(nullptr), nullptr);
}

class TrayIconInShell : public ::testing::Test {
protected:
    HWND owner = MakeOwnerWindow();
    CTrayIcon icon;
    void TearDown() override {
        icon.RemoveFromTray();
        ::DestroyWindow(owner);
    }
};

// No owner window, no icon; with one, the tip (cut to 63 characters) changes until the icon is removed.
TEST_F(TrayIconInShell, AddChangeAndRemove) {
    EXPECT_FALSE(icon.AddToTray(nullptr, WM_TRAYNOTIFY, "", nullptr, kTrayIconId));
    EXPECT_FALSE(icon.IsEnabled());
    EXPECT_FALSE(icon.ChangeTip("x"));

    ASSERT_TRUE(icon.AddToTray(owner, WM_TRAYNOTIFY, std::string(80, 'a'), nullptr, kTrayIconId));
    EXPECT_TRUE(icon.IsEnabled());
    EXPECT_EQ(63u, std::string(icon.Tip()).size());
    EXPECT_TRUE(icon.ChangeTip("Dioramix v1.56\r\nMY IP: 10.1.2.3"));
    EXPECT_STREQ("Dioramix v1.56\r\nMY IP: 10.1.2.3", icon.Tip());
    icon.ChangeTip(std::string(100, 'b'));
    EXPECT_EQ(std::string(63, 'b'), icon.Tip());
    // Notifications are answered for the icon's own identifier only.
    EXPECT_EQ(1, icon.HandleNotify(kTrayIconId, WM_LBUTTONUP));
    EXPECT_EQ(0, icon.HandleNotify(130, WM_LBUTTONUP));
    icon.RemoveFromTray();
    EXPECT_FALSE(icon.IsEnabled());
    EXPECT_FALSE(icon.ChangeTip("later"));  // nothing to modify any more
    EXPECT_FALSE(icon.ChangeIcon(IDI_TRAY));
}

TEST_F(TrayIconInShell, BalloonGoesInTheSecondVersionRecordCutAtACharacterAndLeavesTheTipAlone) {
    std::vector<NOTIFYICONDATAA> sent;
    icon.SetShellNotify([&sent](DWORD action, NOTIFYICONDATAA* data) -> BOOL {
        if (action == NIM_MODIFY) sent.push_back(*data);
        return ::Shell_NotifyIconA(action, data);
    });
    EXPECT_FALSE(icon.ShowBalloon("Dioramix", "not in the tray yet"));
    ASSERT_TRUE(icon.AddToTray(owner, WM_TRAYNOTIFY, "tip", nullptr, kTrayIconId));
    sent.clear();
    const std::string hangul = mb::Narrow(L"\uBC14");  // several bytes, in the Korean code page and in UTF-8
    std::string longText = "ab";
    while (longText.size() < 400) longText += hangul;
    icon.ShowBalloon("Dioramix", longText);
    ASSERT_EQ(1u, sent.size());
    const NOTIFYICONDATAA& balloon = sent[0];
    EXPECT_EQ(static_cast<DWORD>(NOTIFYICONDATAA_V2_SIZE), balloon.cbSize);
    EXPECT_EQ(static_cast<UINT>(NIF_INFO), balloon.uFlags);
    EXPECT_EQ(static_cast<DWORD>(NIIF_INFO), balloon.dwInfoFlags);
    EXPECT_EQ(owner, balloon.hWnd);
    EXPECT_EQ(kTrayIconId, balloon.uID);
    EXPECT_STREQ("Dioramix", balloon.szInfoTitle);
    const std::string shown = balloon.szInfo;
    EXPECT_EQ(2 + (255 - 2) / hangul.size() * hangul.size(), shown.size()) << "whole characters, as many as fit";
    EXPECT_EQ(longText.substr(0, shown.size()), shown);

    EXPECT_TRUE(icon.ChangeTip("after"));
    ASSERT_EQ(2u, sent.size());
    EXPECT_EQ(static_cast<UINT>(NIF_TIP), sent[1].uFlags);
    EXPECT_LT(sent[1].cbSize, balloon.cbSize) << "the icon itself keeps to the first version";
}

// The menu resource of the real program, converted to owner-drawn items.
class TrayMenuResource : public ::testing::Test {
protected:
    HMODULE program = nullptr;
    fw::Menu loaded;
    HMENU popup = nullptr;

    void SetUp() override {
        const std::wstring exe = mb::Widen(testing_support::BinDir() + "\\Dioramix.exe");
        program = ::LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(nullptr, program);
        loaded.reset(::LoadMenuW(program, MAKEINTRESOURCEW(IDR_TRAYMENU)));
        ASSERT_TRUE(loaded);
        popup = ::GetSubMenu(loaded.get(), 0);
        ASSERT_NE(nullptr, popup);
    }
    void TearDown() override {
        loaded.reset();
        if (program) ::FreeLibrary(program);
    }
    UINT TypeAt(int pos) const {
        MENUITEMINFOW info{sizeof(info)};
        info.fMask = MIIM_FTYPE;
        ::GetMenuItemInfoW(popup, static_cast<UINT>(pos), TRUE, &info);
        return info.fType;
    }
};

TEST_F(TrayMenuResource, ElevenEntriesAndFourSeparatorsInOrderMeasuredAndSwitchedByTheState) {
    CTrayMenu menu(popup, program);
    menu.ConvertItems();
    ASSERT_EQ(13u, menu.ItemCount());
    const wchar_t* texts[] = {L"\uD604\uC7AC \uC774\uBBF8\uC9C0\uB4E4..", L"", L"\uD654\uBA74 \uC815\uB9AC",
                              L"\uBC14\uD0D5 \uC544\uC774\uCF58 \uBCF4\uC784", L"\uBC14\uD0D5\uD654\uBA74 \uBCF4\uAE30", L"",
                              L"\uBC14\uD0D5\uD654\uBA74 \uBCC0\uACBD\uC911\uC9C0",
                              L"\uD604\uC7AC \uBC14\uD0D5\uD654\uBA74 \uC800\uC7A5", L"", L"\uD658\uACBD \uC124\uC815",
                              L"Dioramix?", L"", L"\uC885\uB8CC"};
    const UINT ids[] = {ID_TRAY_CURRENT_IMAGES, 0, ID_TRAY_TIDY_SCREEN, ID_TRAY_DESKTOP_ICONS, ID_TRAY_SHOW_DESKTOP, 0,
                        ID_TRAY_PAUSE, ID_TRAY_SAVE_WALLPAPER, 0, ID_TRAY_SETTINGS, ID_TRAY_ABOUT, 0, ID_TRAY_EXIT};
    for (int i = 0; i < 13; ++i) {
        EXPECT_EQ(texts[i], menu.ItemText(static_cast<size_t>(i))) << "position " << i;
        EXPECT_EQ(ids[i], ::GetMenuItemID(popup, i)) << "position " << i;
        EXPECT_TRUE(TypeAt(i) & MFT_OWNERDRAW) << "position " << i;
    }
    EXPECT_EQ(9 * 22 + 4 * 4, menu.MenuHeight());

    // Items and separators measured.
    MENUITEMINFOW info{sizeof(info)};
    info.fMask = MIIM_DATA;
    ::GetMenuItemInfoW(popup, 12, TRUE, &info);
    MEASUREITEMSTRUCT exitItem{ODT_MENU, 0, ID_TRAY_EXIT, 0, 0, info.dwItemData};
    menu.MeasureItem(exitItem);
    EXPECT_EQ(22u, exitItem.itemHeight);
    EXPECT_GT(exitItem.itemWidth, 10u);
    ::GetMenuItemInfoW(popup, 11, TRUE, &info);
    MEASUREITEMSTRUCT separator{ODT_MENU, 0, 0, 0, 0, info.dwItemData};
    menu.MeasureItem(separator);
    EXPECT_EQ(4u, separator.itemHeight);

    // Shown icons switch the fourth entry, the pause checks its entry.
    EnvSettings env;
    ResetSettings(env);
    ApplyTrayMenuState(menu, TrayMenuStateFor(env));
    EXPECT_EQ(fw::LoadText(IDS_HIDE_ICONS_ITEM), menu.ItemText(3));
    EXPECT_FALSE(::GetMenuState(popup, ID_TRAY_PAUSE, MF_BYCOMMAND) & MF_CHECKED);

    // The next menu after hiding the icons, while paused.
    fw::Menu again(::LoadMenuW(program, MAKEINTRESOURCEW(IDR_TRAYMENU)));
    HMENU popup2 = ::GetSubMenu(again.get(), 0);
    CTrayMenu menu2(popup2, program);
    menu2.ConvertItems();
    env.isiconhide = 1;
    env.ispause = 1;
    ApplyTrayMenuState(menu2, TrayMenuStateFor(env));
    EXPECT_EQ(L"\uBC14\uD0D5 \uC544\uC774\uCF58 \uBCF4\uC784", menu2.ItemText(3));  // 바탕 아이콘 보임
    EXPECT_TRUE(::GetMenuState(popup2, ID_TRAY_PAUSE, MF_BYCOMMAND) & MF_CHECKED);
}

TEST(TrayIconPicture, LoadedAtTheSystemsSmallIconSizeAndOwned) {
    fw::Icon icon(LoadTrayIcon(IDI_TRAY));
    ASSERT_TRUE(icon);
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(icon.get(), &info));
    fw::Bitmap colour(info.hbmColor), mask(info.hbmMask);
    BITMAP bits{};
    ::GetObjectW(colour ? colour.get() : mask.get(), sizeof bits, &bits);
    EXPECT_EQ(::GetSystemMetrics(SM_CXSMICON), bits.bmWidth);
    EXPECT_TRUE(::DestroyIcon(icon.release())) << "the caller's own icon, not a shared one";
}

TEST_F(TrayMenuResource, ManifestAsksToRunAsTheInvokingUserAndThePicturesExist) {
    HRSRC found = ::FindResourceW(program, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));  // RT_MANIFEST
    ASSERT_NE(nullptr, found);
    const char* text = static_cast<const char*>(::LockResource(::LoadResource(program, found)));
    const std::string manifest(text, ::SizeofResource(program, found));
    EXPECT_NE(std::string::npos, manifest.find("requestedExecutionLevel level=\"asInvoker\""));
    EXPECT_NE(std::string::npos, manifest.find(">UTF-8</activeCodePage>")) << "the program's own code page";

    // The weekday and tray pictures and the version string.
    for (UINT id : {static_cast<UINT>(IDR_MAINFRAME), static_cast<UINT>(IDI_TRAY), static_cast<UINT>(IDI_PAUSE_MARK),
                    135u, 136u, 137u, 138u, 139u, 140u, 141u}) {
        fw::Icon icon(static_cast<HICON>(::LoadImageW(program, MAKEINTRESOURCEW(id), IMAGE_ICON, 16, 16, 0)));
        EXPECT_TRUE(icon) << "icon " << id;
    }
    wchar_t version[16] = {};
    ::LoadStringW(program, IDS_VERSION, version, 16);
    EXPECT_STREQ(DIORAMIX_VERSION_WIDE, version);
}

}  // namespace
