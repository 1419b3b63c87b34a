#include <gtest/gtest.h>

#include "framework/handles.h"
#include "framework/mbstring.h"
#include "support/test_support.h"

namespace {

constexpr UINT kKorean = 949;

// "표" in code page 949 is 0xC7 0xA5; "쬘" is 0x9B 0x5C, whose trail byte is the backslash code.
const std::string kTrailBackslash = "\x9B\x5C";
const std::string kTrailCapitalA = "\x88\x41";  // a double-byte character whose trail byte is 'A'

TEST(CodePage, ProcessRunsInKoreanCodePage) {
    // Every multibyte rule below depends on this; a wrong Wine locale must fail loudly.
    EXPECT_EQ(949u, ::GetACP());
}

// Only single-byte letters are lowered; the last backslash ignores trail bytes (a lone lead byte
// at the end is one character), and a path splits at the last real one.
TEST(MultibytePath, LowerCaseLastBackslashAndPathPartsTakeWholeCharacters) {
    EXPECT_EQ("c:\\photos\\abc", mb::ToLower("C:\\Photos\\ABC", kKorean));
    std::string mixed = "A" + kTrailCapitalA + "B";
    EXPECT_EQ("a" + kTrailCapitalA + "b", mb::ToLower(mixed, kKorean));
    EXPECT_EQ("-exit", mb::ToLower("-EXIT", kKorean));

    std::string path = "c:\\dir" + kTrailBackslash + "\\app.exe";
    EXPECT_EQ(path.find_last_of('\\'), mb::FindLastBackslash(path, kKorean));
    EXPECT_EQ(2u, mb::FindLastBackslash("c:\\x" + kTrailBackslash + "y", kKorean));
    EXPECT_EQ(std::string::npos, mb::FindLastBackslash(kTrailBackslash, kKorean));
    EXPECT_EQ(1u, mb::FindLastBackslash("a\\b\x9B", kKorean));

    EXPECT_EQ("beach.jpg", mb::FileNameOfPath("c:\\photos\\summer\\beach.jpg", kKorean));
    EXPECT_EQ("c:\\photos\\summer", mb::FolderOfPath("c:\\photos\\summer\\beach.jpg", kKorean));
    EXPECT_EQ("loose.png", mb::FileNameOfPath("loose.png", kKorean));
    EXPECT_EQ("", mb::FolderOfPath("loose.png", kKorean));
    EXPECT_EQ("", mb::FileNameOfPath("c:\\photos\\", kKorean));
    EXPECT_EQ("c:\\photos", mb::FolderOfPath("c:\\photos\\", kKorean));
    // A trail byte equal to the backslash code splits nothing.
    const std::string name = "a" + kTrailBackslash + "b.jpg";
    EXPECT_EQ(name, mb::FileNameOfPath("c:\\x\\" + name, kKorean));
    EXPECT_EQ("c:\\x", mb::FolderOfPath("c:\\x\\" + name, kKorean));
    EXPECT_EQ(name, mb::FileNameOfPath(name, kKorean));
}

TEST(MultibyteText, APrefixEndsOnACharacterBoundaryAndKoreanTextRoundTrips) {
    std::string folder = "c:\\a" + kTrailBackslash.substr(0, 1);  // ends in the middle of a character
    std::string full = "c:\\a" + kTrailBackslash + "\\x.jpg";
    EXPECT_FALSE(mb::StartsWith(full, folder, kKorean));
    EXPECT_TRUE(mb::StartsWith(full, "c:\\a" + kTrailBackslash, kKorean));
    EXPECT_TRUE(mb::IsInsideFolder(full, "c:\\a" + kTrailBackslash, kKorean));
    EXPECT_FALSE(mb::IsInsideFolder("c:\\photos2\\x", "c:\\photos", kKorean));
    EXPECT_FALSE(mb::IsInsideFolder("c:\\photos", "c:\\photos", kKorean));

    std::string korean = "\xC7\xA5\xC1\xD8";  // 표준
    std::wstring wide = mb::Widen(korean, kKorean);
    EXPECT_EQ(std::wstring(L"\uD45C\uC900"), wide);
    EXPECT_EQ(korean, mb::Narrow(wide, kKorean));
    EXPECT_TRUE(mb::Widen("", kKorean).empty());
}

TEST(MultibytePath, AChosenPathIsKeptExactOrTakenByItsShortNameNeverBestFit) {
    testing_support::ScratchDir dir;
    const std::wstring folder = mb::Widen(dir.path());
    // Korean: the code page holds it as it is.
    const std::wstring korean = folder + L"\\\uD45C\uC900.jpg";
    testing_support::WriteFile(mb::Narrow(korean), "x");
    EXPECT_EQ(mb::Narrow(korean), mb::NarrowPath(korean));

    // Thai: no spelling in the code page; its short name stands in and opens the same file.
    const std::wstring thai = folder + L"\\\u0E01\u0E02.jpg";
    {
        fw::FileHandle made(::CreateFileW(thai.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
        ASSERT_TRUE(made);
        DWORD written = 0;
        ::WriteFile(made.get(), "thai", 4, &written, nullptr);
    }
    const std::string narrow = mb::NarrowPath(thai);
    if (!narrow.empty()) {
        EXPECT_EQ(std::string::npos, narrow.find('?')) << narrow;
        EXPECT_EQ("thai", testing_support::ReadFile(narrow));
    }
    // A path that has no short name either is refused.
    EXPECT_EQ("", mb::NarrowPath(folder + L"\\\u0E01\u0E03-missing.jpg"));
    EXPECT_EQ("", mb::NarrowPath(L""));
}

TEST(MultibytePath, AFileToWriteIsNamedInsideItsOwnFolderOrRefused) {
    testing_support::ScratchDir dir;
    const std::wstring folder = mb::Widen(dir.path());
    // A new file in a folder the code page cannot spell: the folder's short name, the name as it is.
    const std::wstring thaiFolder = folder + L"\\\u0E01\u0E02";
    ASSERT_TRUE(::CreateDirectoryW(thaiFolder.c_str(), nullptr));
    const std::string inside = mb::NarrowPathToCreate(thaiFolder + L"\\new.jpg");
    if (!inside.empty()) {
        EXPECT_EQ(std::string::npos, inside.find('?')) << inside;
        testing_support::WriteFile(inside, "saved");
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW((thaiFolder + L"\\new.jpg").c_str()))
            << "written where the user chose, not beside it";
    }
    // A Korean name in a plain folder is spelled exactly, whether the file exists or not.
    EXPECT_EQ(mb::Narrow(folder + L"\\\uD45C.jpg"), mb::NarrowPathToCreate(folder + L"\\\uD45C.jpg"));
    // A new name the code page cannot spell is refused, never given best-fit letters.
    EXPECT_EQ("", mb::NarrowPathToCreate(folder + L"\\\u0E01.jpg"));
    EXPECT_EQ("", mb::NarrowPathToCreate(L"no-folder.jpg" + std::wstring(L"\u0E01")));
}

// The same rules in UTF-8, where a character takes one to four bytes and never holds an ASCII byte.
TEST(Utf8Strings, WalkCutAndCompareWholeCharacters) {
    const std::string han = "\xED\x91\x9C";          // 표, three bytes
    const std::string emoji = "\xF0\x9F\x93\xB7";   // camera, four bytes
    const std::string accented = "\xC3\x89t\xC3\xA9";  // Été
    const std::string path = "C:\\" + emoji + han + "\\" + accented + ".JPG";

    EXPECT_EQ(path.find_last_of('\\'), mb::FindLastBackslash(path, CP_UTF8));
    EXPECT_EQ(accented + ".JPG", mb::FileNameOfPath(path, CP_UTF8));
    EXPECT_EQ("c:\\" + emoji + han + "\\" + accented + ".jpg", mb::ToLower(path, CP_UTF8))
        << "only ASCII letters change; the accented capital stays as the other code page would leave it";

    // Boundaries: every byte inside the emoji or the Hangul syllable is none.
    for (size_t pos = 4; pos < 7; ++pos) EXPECT_FALSE(mb::IsCharBoundary(path, pos, CP_UTF8)) << pos;
    EXPECT_TRUE(mb::IsCharBoundary(path, 7, CP_UTF8));
    for (size_t pos = 8; pos < 10; ++pos) EXPECT_FALSE(mb::IsCharBoundary(path, pos, CP_UTF8)) << pos;
    EXPECT_FALSE(mb::StartsWith(path, path.substr(0, 5), CP_UTF8));
    EXPECT_TRUE(mb::IsInsideFolder(path, "C:\\" + emoji + han, CP_UTF8));

    // Cuts: never inside a character, in either code page; a stray byte counts as one.
    const struct {
        std::string text;
        size_t maxBytes;
        UINT codePage;
        std::string expected;
    } cuts[] = {
        {"ab" + emoji, 5, CP_UTF8, "ab"},
        {"ab" + emoji, 6, CP_UTF8, "ab" + emoji},
        {han + han, 5, CP_UTF8, han},
        {"a\xC7\xA5\xC1\xD8", 4, kKorean, "a\xC7\xA5"},
        {"a\xC7\xA5\xC1\xD8", 5, kKorean, "a\xC7\xA5\xC1\xD8"},
        {"a\xFF\xFF", 2, CP_UTF8, "a\xFF"},
        {"short", 63, CP_UTF8, "short"},
    };
    for (const auto& cut : cuts)
        EXPECT_EQ(cut.expected, mb::CutAtCharacter(cut.text, cut.maxBytes, cut.codePage)) << cut.text;

    EXPECT_EQ(std::wstring(L"\uD45C\U0001F4F7"), mb::Widen(han + emoji, CP_UTF8));
    EXPECT_EQ(han + emoji, mb::Narrow(L"\uD45C\U0001F4F7", CP_UTF8));
    EXPECT_EQ(259u * 3, mb::ScaledByteLimit(259, CP_UTF8));
    EXPECT_EQ(259u, mb::ScaledByteLimit(259, kKorean));
}

TEST(Utf8Strings, ValidityTellsAnEarlierVersionsFileFromANewOne) {
    const struct {
        std::string text;
        bool valid;
    } cases[] = {
        {"", true},
        {"c:\\photos\\a.jpg", true},
        {"\xED\x91\x9C\xF0\x9F\x93\xB7\xC3\xA9", true},
        {"\xC7\xA5\xC1\xD8", false},  // 표준 in code page 949
        {"\xB0\xA1", false},            // 가 in code page 949
        {"\xC0\xAF", false},            // an overlong slash
        {"\xED\xA0\x80", false},        // a UTF-16 surrogate
        {"\xF4\x90\x80\x80", false},    // past U+10FFFF
        {"\xE2\x82", false},            // cut short
    };
    for (const auto& c : cases) EXPECT_EQ(c.valid, mb::IsValidUtf8(c.text)) << c.text;
    EXPECT_EQ("\xED\x91\x9C\xEC\xA4\x80", mb::Recode("\xC7\xA5\xC1\xD8", kKorean, CP_UTF8));
}

}  // namespace
