// Texts loaded by id from the program's string table.
#include <gtest/gtest.h>

#include <string>

#include "framework/texts.h"
#include "resource.h"
#include "version.h"

namespace {

TEST(StringTable, EntriesCompleteAndUnknownIdsEmpty) {
    EXPECT_EQ(DIORAMIX_VERSION_WIDE, fw::LoadText(IDS_VERSION));
    // Neighbours in one block of the table: each entry ends where it should.
    EXPECT_EQ(L"Dioramix?", fw::LoadText(IDS_PAGE_HELP));
    EXPECT_EQ(L"Dioramix", fw::LoadText(IDS_MESSAGE_CAPTION));
    EXPECT_EQ(2u, fw::LoadText(IDS_PAGE_OTHERS).size());
    EXPECT_EQ(L"Setting", fw::LoadText(IDS_SETTING_ERROR_CAPTION));
    EXPECT_EQ(L"", fw::LoadText(65000));
    // Escapes of the script arrive as the characters, leading blanks stay.
    EXPECT_NE(std::wstring::npos, fw::LoadText(IDS_FOLDER_ROOT).find(L"!\n"));
    EXPECT_EQ(L' ', fw::LoadText(IDS_ABOUT_TITLE_TAIL).front());
    EXPECT_EQ(std::wstring::npos, fw::LoadText(IDS_NO_MASKS).find(L'\\'));
}

TEST(StringTable, ANumberTakesThePlaceOfItsMark) {
    const std::wstring pattern = fw::LoadText(IDS_IMAGE_SIZE_RANGE);
    const size_t mark = pattern.find(L"%d");
    ASSERT_NE(std::wstring::npos, mark);
    ASSERT_GT(mark, 0u);
    EXPECT_EQ(pattern.substr(0, mark) + L"760" + pattern.substr(mark + 2), fw::LoadText(IDS_IMAGE_SIZE_RANGE, 760));
    EXPECT_EQ(L"-3" + fw::LoadText(IDS_POSITION_COUNT).substr(2), fw::LoadText(IDS_POSITION_COUNT, -3));
    EXPECT_EQ(fw::LoadText(IDS_SETTINGS_TITLE), fw::LoadText(IDS_SETTINGS_TITLE, 5)) << "no mark: unchanged";
}

TEST(StringTable, ValuesFillTheirMarksInOrderAndFiltersEndEachPartWithANull) {
    EXPECT_EQ(L"800 x 600\nColor: 24bit\r\nFile Size: 114KB",
              fw::LoadText(IDS_IMAGE_INFO, {L"800", L"600", L"24", L"114"}));
    // A value holding a mark is not filled in itself; marks beyond the values stay.
    EXPECT_EQ(L"%s x 2\nColor: %sbit\r\nFile Size: %sKB", fw::LoadText(IDS_IMAGE_INFO, {L"%s", L"2"}));
    EXPECT_EQ(L"Dioramix v", fw::LoadText(IDS_TRAY_TIP_VERSION, {L""}));

    const std::wstring filter = fw::LoadFilter(IDS_SAVE_WALLPAPER_FILTER);
    EXPECT_EQ(std::wstring(L"jpg (*.jpg)\0*.jpg\0png (*.png)\0*.png\0bmp (*.bmp)\0*.bmp\0", 54), filter);
    EXPECT_EQ(std::wstring(L"Image (*.a,*.b)\0*.a;*.b\0", 24),
              fw::LoadFilter(IDS_IMAGE_FILE_FILTER, {L"*.a,*.b", L"*.a;*.b"}));
}

}  // namespace
