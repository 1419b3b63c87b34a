// The background page driven through its controls, with the two system dialogs stood in for.
#include <gtest/gtest.h>

#include <string>

#include "resource.h"
#include "settings_ui/set_back_img.h"
#include "windows/page_fixture.h"

namespace {

using namespace page_testing;

class BackImgPage : public OnePageTest<CSetBackImg> {
protected:
    void SetUp() override {
        OnePageTest::SetUp();
        prompts.colorAnswer = RGB(10, 20, 30);
    }
    bool Enabled(int id) const { return ::IsWindowEnabled(Item(id)) != FALSE; }
    std::string InfoOf(const std::string& path, int w, int h, int bits) const {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        ::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
        return std::to_string(w) + " x " + std::to_string(h) + "\nColor: " + std::to_string(bits) +
               "bit\r\nFile Size: " + std::to_string(data.nFileSizeLow / 1024) + "KB";
    }
};

TEST_F(BackImgPage, SwitchesOffDisableTheirControls) {
    Open();
    ExpectEnabled({}, {IDC_BACK_COLOR, IDC_BACK_BROWSE, IDC_BACK_STRETCH});
    EXPECT_EQ(L"No FileInfo", TextOf(Item(IDC_BACK_INFO)));
    EXPECT_EQ(L"", TextOf(Item(IDC_BACK_FILENAME)));

    Click(Item(IDC_BACK_USECOLOR));
    EXPECT_EQ(1, env.isbackcolor);
    EXPECT_TRUE(Enabled(IDC_BACK_COLOR));
    EXPECT_TRUE(composer.m_clearRequested);

    composer.m_clearRequested = FALSE;
    Click(Item(IDC_BACK_USEIMAGE));
    EXPECT_EQ(1, env.isbackimg);
    ExpectEnabled({IDC_BACK_BROWSE, IDC_BACK_STRETCH}, {});
    EXPECT_TRUE(composer.m_clearRequested);

    composer.m_clearRequested = FALSE;
    Click(Item(IDC_BACK_STRETCH));
    EXPECT_EQ(1, env.isstretch);
    EXPECT_TRUE(composer.m_clearRequested);

    Click(Item(IDC_BACK_USEIMAGE));
    EXPECT_EQ(0, env.isbackimg);
    ExpectEnabled({}, {IDC_BACK_BROWSE, IDC_BACK_STRETCH});
}

TEST_F(BackImgPage, ColourChoiceConvertsBetweenArgbAndWindowsColours) {
    env.isbackcolor = 1;
    env.backcolor = 0xFF112233;
    Open();
    Click(Item(IDC_BACK_COLOR));
    EXPECT_EQ(std::vector<COLORREF>{RGB(0x11, 0x22, 0x33)}, prompts.offeredColors);
    EXPECT_EQ(std::vector<HWND>{parent}, prompts.colorOwners) << "the settings window, not the page or nobody";
    EXPECT_EQ(0xFF0A141Eu, env.backcolor);
    EXPECT_TRUE(composer.m_clearRequested);

    prompts.colorAnswer.reset();
    composer.m_clearRequested = FALSE;
    Click(Item(IDC_BACK_COLOR));
    EXPECT_EQ(2u, prompts.offeredColors.size());
    EXPECT_EQ(0xFF0A141Eu, env.backcolor) << "cancel changes nothing";
    EXPECT_FALSE(composer.m_clearRequested);
}

TEST_F(BackImgPage, ChoosingAFileShowsItsInformationAndOnlyANewOneRequestsAFreshBackground) {
    const std::string photo = dir.File("sea.jpg");
    ASSERT_TRUE(WritePicture(photo, 800, 600, Gdiplus::Color(255, 40, 90, 160), "jpeg"));
    env.isbackimg = 1;
    Open();
    prompts.imageFileAnswer = photo;
    Click(Item(IDC_BACK_BROWSE));
    EXPECT_EQ(photo, env.backimagename);
    EXPECT_TRUE(composer.m_clearRequested);
    EXPECT_EQ(L"sea.jpg", TextOf(Item(IDC_BACK_FILENAME)));
    EXPECT_EQ(mb::Widen(InfoOf(photo, 800, 600, 24)), TextOf(Item(IDC_BACK_INFO)));

    composer.m_clearRequested = FALSE;
    Click(Item(IDC_BACK_BROWSE));
    EXPECT_FALSE(composer.m_clearRequested) << "the same file again";

    prompts.imageFileAnswer.reset();  // cancelled
    Click(Item(IDC_BACK_BROWSE));
    EXPECT_EQ(photo, env.backimagename);
    // Each time owned by the settings window, not by the page.
    EXPECT_EQ(std::vector<HWND>(3, parent), prompts.chooserOwners);
}

TEST_F(BackImgPage, MissingOrBrokenFileSaysNoFileInfo) {
    const std::string broken = dir.File("broken.png");
    testing_support::WriteFile(broken, "not a picture at all");
    env.backimagename = broken;
    env.isbackimg = 1;
    Open();
    EXPECT_EQ(L"No FileInfo", TextOf(Item(IDC_BACK_INFO)));
    EXPECT_EQ(L"broken.png", TextOf(Item(IDC_BACK_FILENAME)));
    ::UpdateWindow(page->GetSafeHwnd());  // the preview paints the colour alone
}

TEST_F(BackImgPage, PreviewBoxTakesTheScreensProportions) {
    Open();
    RECT client{};
    ::GetClientRect(Item(IDC_BACK_PREVIEW), &client);
    ASSERT_GT(client.right, 0);
    EXPECT_EQ(client.right * 768 / 1024, client.bottom);
}

TEST_F(BackImgPage, PreviewOfAWideImageAsTheWindowPaintsIt) {
    const std::string wide = dir.File("wide.png");
    ASSERT_TRUE(WritePicture(wide, 2048, 768, Gdiplus::Color(255, 255, 0, 0), "png"));
    env.backimagename = wide;
    env.isbackimg = 1;
    env.isbackcolor = 1;
    env.backcolor = 0xFF0000FF;
    Open();
    ClientPrint preview(Item(IDC_BACK_PREVIEW));
    const int w = preview.width(), h = preview.height();
    EXPECT_EQ(RGB(0, 0, 255), preview.At(w / 2, 2)) << "colour above";
    EXPECT_EQ(RGB(255, 0, 0), preview.At(w / 2, h / 2)) << "image in the middle";
    EXPECT_EQ(RGB(255, 0, 0), preview.At(1, h / 2)) << "across the full width";
    EXPECT_EQ(RGB(255, 0, 0), preview.At(w - 2, h / 2));
    EXPECT_EQ(RGB(0, 0, 255), preview.At(w / 2, h - 3)) << "colour below";

    Click(Item(IDC_BACK_USECOLOR));  // the desktop's colour instead
    preview.Print();
    EXPECT_EQ(RGB(0x25, 0x6F, 0x95), preview.At(w / 2, 2));
}

TEST_F(BackImgPage, EnterAndEscapeChangeNothing) {
    Open();
    ::SendMessageW(page->GetSafeHwnd(), WM_COMMAND, IDOK, 0);
    ::SendMessageW(page->GetSafeHwnd(), WM_COMMAND, IDCANCEL, 0);
    Pump();
    EXPECT_TRUE(::IsWindowVisible(page->GetSafeHwnd()));
    EXPECT_FALSE(composer.m_clearRequested);
    EXPECT_EQ(0, env.isbackcolor);
}

}  // namespace
