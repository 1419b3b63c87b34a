#include <gtest/gtest.h>

#include <string>

#include "framework/mbstring.h"
#include "state/stored_files.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

constexpr UINT kKorean = 949;

// What an earlier version wrote, in code page 949, and the same text in UTF-8.
struct StoredFile {
    const char* name;
    std::string legacy;
    std::string utf8;
};

const StoredFile kEarlierFiles[] = {
    // 사진\가을.jpg under a folder entry
    {"list.txt", "c:\\\xBB\xE7\xC1\xF8,1\r\n&\r\nc:\\\xBB\xE7\xC1\xF8\\\xB0\xA1\xC0\xBB.jpg\r\n",
     "c:\\\xEC\x82\xAC\xEC\xA7\x84,1\r\n&\r\nc:\\\xEC\x82\xAC\xEC\xA7\x84\\\xEA\xB0\x80\xEC\x9D\x84.jpg\r\n"},
    // a Hangul font name (굴림) and a Hangul background image path (배경.png)
    {"env.ini", "[DEFAULT]\r\nddfontname=\xB1\xBC\xB8\xB2\r\nbackimagename=c:\\\xB9\xE8\xB0\xE6.png\r\n",
     "[DEFAULT]\r\nddfontname=\xEA\xB5\xB4\xEB\xA6\xBC\r\nbackimagename=c:\\\xEB\xB0\xB0\xEA\xB2\xBD.png\r\n"},
    // 12.25-성탄절
    {"xdaylist.txt", "// holidays\r\n12.25-\xBC\xBA\xC5\xBA\xC0\xFD\r\n",
     "// holidays\r\n12.25-\xEC\x84\xB1\xED\x83\x84\xEC\xA0\x88\r\n"},
};

TEST(StoredFileMigration, AnEarlierVersionsFileIsConvertedOnceWithItsOriginalKept) {
    ScratchDir dir;
    for (const StoredFile& file : kEarlierFiles) {
        SCOPED_TRACE(file.name);
        const std::string path = dir.File(file.name);
        WriteFile(path, file.legacy);
        EXPECT_EQ(Migration::Converted, MigrateToUtf8(path, kKorean));
        EXPECT_EQ(file.utf8, ReadFile(path));
        EXPECT_EQ(file.legacy, ReadFile(path + ".bak"));

        // The next start finds UTF-8 and touches nothing, the original copy included.
        WriteFile(path + ".bak", "first original");
        EXPECT_EQ(Migration::AlreadyUtf8, MigrateToUtf8(path, kKorean));
        EXPECT_EQ(file.utf8, ReadFile(path));
        // A file written by an earlier version again converts, and the oldest original stays.
        WriteFile(path, file.legacy);
        EXPECT_EQ(Migration::Converted, MigrateToUtf8(path, kKorean));
        EXPECT_EQ(file.utf8, ReadFile(path));
        EXPECT_EQ("first original", ReadFile(path + ".bak"));
    }
    // Numbers only, as poslist.txt holds, are the same in both code pages: no copy is made.
    WriteFile(dir.File("poslist.txt"), "100,80,500,380\r\n");
    EXPECT_EQ(Migration::AlreadyUtf8, MigrateToUtf8(dir.File("poslist.txt"), kKorean));
    EXPECT_FALSE(testing_support::FileExists(dir.File("poslist.txt.bak")));
    EXPECT_EQ(Migration::Missing, MigrateToUtf8(dir.File("absent.txt"), kKorean));
}

TEST(StoredFileMigration, LinesAlreadyInUtf8StayAsTheyAre) {
    // A list with one entry this version wrote and one an earlier version wrote.
    const std::string mixed = "c:\\\xF0\x9F\x93\xB7.jpg\r\nc:\\\xB0\xA1.jpg\r\nlast";
    EXPECT_EQ("c:\\\xF0\x9F\x93\xB7.jpg\r\nc:\\\xEA\xB0\x80.jpg\r\nlast", LegacyLinesToUtf8(mixed, kKorean));
    EXPECT_TRUE(mb::IsValidUtf8(LegacyLinesToUtf8("\xFF\xFE\x80 damaged\r\n", kKorean)));
}

TEST(StoredFileMigration, AFileThatCannotBeReplacedIsLeftWhole) {
    ScratchDir dir;
    const StoredFile& list = kEarlierFiles[0];
    const std::string path = dir.File(list.name);
    WriteFile(path, list.legacy);
    ASSERT_TRUE(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(Migration::Failed, MigrateToUtf8(path, kKorean));
    EXPECT_EQ(list.legacy, ReadFile(path));
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);

    // In the system's code page (this test program's) nothing is migrated at all.
    ASSERT_FALSE(mb::IsUtf8CodePage());
    MigrateStoredFiles(dir.path(), kKorean);
    EXPECT_EQ(list.legacy, ReadFile(path));
    EXPECT_EQ(kKorean, LegacyCodePage());
}

}  // namespace
