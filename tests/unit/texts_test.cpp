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

}  // namespace
