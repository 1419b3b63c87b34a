// The program's own code page is UTF-8: names in any script are catalogued, stored and read back,
// and the files of an earlier version, in code page 949, are taken over once.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/tray_icon.h"
#include "composer/calendar.h"
#include "framework/mbstring.h"
#include "state/catalogue.h"
#include "state/settings.h"
#include "state/stored_files.h"
#include "support/catalogue_steps.h"
#include "support/test_support.h"

using testing_support::ReadFile;
using testing_support::ScratchDir;
using testing_support::WriteFile;

namespace {

std::string Utf8(const std::wstring& wide) { return mb::Narrow(wide, CP_UTF8); }

// Names outside code page 949, and one inside it: emoji, kanji, accented Latin, Hangul.
const std::wstring kNames[] = {L"\U0001F4F7 camera", L"\u6771\u4EAC\u306E\u591C", L"\u00C9t\u00E9 \u00E0 Cr\u00E8te",
                               L"\uC0AC\uC9C4"};

TEST(ProgramCodePage, IsUtf8AsTheManifestAsks) {
    // Every test below depends on it; a manifest without the setting must fail loudly.
    ASSERT_EQ(static_cast<UINT>(CP_UTF8), ::GetACP());
    EXPECT_TRUE(mb::IsUtf8CodePage());
}

TEST(Utf8Names, AFolderAndPhotosInAnyScriptAreCataloguedStoredAndReadBack) {
    ScratchDir dir;
    // The folder itself has such a name, and nothing holds a short name to fall back on.
    const std::string folder = dir.path() + "\\" + Utf8(L"\uC5EC\uD589 \U0001F30F \u6771\u4EAC \u00C9t\u00E9");
    ASSERT_TRUE(::CreateDirectoryW(mb::Widen(folder).c_str(), nullptr));
    std::vector<std::string> expected;
    for (const std::wstring& name : kNames) {
        expected.push_back(folder + "\\" + Utf8(name) + ".JPG");
        WriteFile(expected.back(), "x");
    }
    WriteFile(folder + "\\" + Utf8(L"\u6771\u4EAC.txt"), "not a photo");

    ImageCatalogue catalogue;
    ASSERT_TRUE(testing_support::AddFolder(catalogue, folder));
    std::vector<std::string> catalogued = catalogue.Images();
    ASSERT_EQ(expected.size(), catalogued.size());
    // The folder comes back lower-cased in ASCII only, as the system code page's rules do.
    for (const std::string& path : catalogued) {
        EXPECT_TRUE(mb::IsValidUtf8(path)) << path;
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(mb::Widen(path).c_str())) << path;
    }
    for (const std::string& path : expected) {
        const std::string name = mb::FileNameOfPath(path);
        EXPECT_TRUE(std::any_of(catalogued.begin(), catalogued.end(),
                                [&](const std::string& p) { return mb::FileNameOfPath(p) == name; }))
            << name;
    }
    // The same folder in other capitals is the same folder.
    std::string upper = folder;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
    EXPECT_EQ("", catalogue.CheckNewFolder(upper).folder);

    // list.txt holds them in UTF-8, and the next start reads the same entries, a Korean path
    // longer than the 259 bytes of the other code page's line included.
    const std::string longPath = folder + "\\" + Utf8(std::wstring(100, L'\uAC00')) + ".jpg";
    ASSERT_GT(longPath.size(), 300u);
    catalogue.AddImages({longPath});
    ASSERT_TRUE(catalogue.SaveImageList(dir.path()));
    const std::string stored = ReadFile(dir.File("list.txt"));
    EXPECT_TRUE(mb::IsValidUtf8(stored));
    EXPECT_NE(std::string::npos, stored.find(Utf8(L"\U0001F4F7 camera.JPG")));
    ImageCatalogue reread;
    EXPECT_EQ(static_cast<int>(catalogue.Images().size()), reread.LoadImageList(dir.path()));
    EXPECT_EQ(catalogue.Images(), reread.Images());
    EXPECT_EQ(catalogue.FolderEntries(), reread.FolderEntries());
}

TEST(Utf8Names, CutsAndExtensionsRespectCharacters) {
    const std::string han = Utf8(L"\uAC00");
    EXPECT_EQ(std::string(62, 'x'), CutTip(std::string(62, 'x') + han));
    EXPECT_EQ(std::string(60, 'x') + han, CutTip(std::string(60, 'x') + han + han));
    EXPECT_TRUE(HasImageExtension(Utf8(L"\uC0AC\uC9C4.JPG")));
    EXPECT_TRUE(HasImageExtension(Utf8(L"\U0001F4F7.webp")));
    EXPECT_FALSE(HasImageExtension(Utf8(L"\u6771\u4EAC.jpg\\\u00E9t\u00E9")));
}

TEST(Utf8Names, AnEarlierVersionsFilesAreConvertedOnceAndReadTheSame) {
    ScratchDir dir;
    const std::string gulim = "\xB1\xBC\xB8\xB2", background = "c:\\\xB9\xE8\xB0\xE6.png";  // 굴림, 배경.png
    const std::string photo = "c:\\\xBB\xE7\xC1\xF8\\\xB0\xA1\xC0\xBB.jpg";                  // 사진\가을.jpg
    const std::string env949 = "[DEFAULT]\r\nddfontname=" + gulim + "\r\nisbackimg=1\r\nbackimagename=" + background +
                               "\r\n";
    const std::string list949 = "c:\\\xBB\xE7\xC1\xF8,1\r\n&\r\n" + photo + "\r\n";
    const std::string days949 = "12.25-\xBC\xBA\xC5\xBA\xC0\xFD\r\n";  // 성탄절
    const std::string positions = "100,80,500,380\r\n";
    WriteFile(dir.File("env.ini"), env949);
    WriteFile(dir.File("list.txt"), list949);
    WriteFile(dir.File("xdaylist.txt"), days949);
    WriteFile(dir.File("poslist.txt"), positions);

    MigrateStoredFiles(dir.path(), 949);
    EXPECT_EQ(env949, ReadFile(dir.File("env.ini.bak")));
    EXPECT_EQ(list949, ReadFile(dir.File("list.txt.bak")));
    EXPECT_EQ(days949, ReadFile(dir.File("xdaylist.txt.bak")));
    EXPECT_FALSE(testing_support::FileExists(dir.File("poslist.txt.bak")));
    EXPECT_EQ(positions, ReadFile(dir.File("poslist.txt")));
    const std::string env = ReadFile(dir.File("env.ini"));
    EXPECT_EQ("[DEFAULT]", env.substr(0, 9)) << "no byte-order mark before the section";

    EnvSettings settings;
    OutProgramList programs;
    ResetSettings(settings);
    InitExePath(settings, dir.File("Dioramix.exe"));
    LoadSettings(settings, programs);
    EXPECT_EQ(Utf8(L"\uAD74\uB9BC"), settings.ddfontname);
    EXPECT_EQ(Utf8(L"c:\\\uBC30\uACBD.png"), settings.backimagename);

    ImageCatalogue catalogue;
    EXPECT_EQ(1, catalogue.LoadImageList(dir.path()));
    EXPECT_EQ(std::vector<std::string>{Utf8(L"c:\\\uC0AC\uC9C4\\\uAC00\uC744.jpg")}, catalogue.Images());

    SpecialDays days;
    LoadSpecialDays(dir.File("xdaylist.txt"), days);
    ASSERT_EQ(1u, days.count("12.25"));
    EXPECT_EQ(0u, days["12.25"].find(Utf8(L"\uC131\uD0C4\uC808")));

    // A save keeps UTF-8, and the next start converts nothing again.
    ASSERT_TRUE(SaveSettings(settings, programs));
    MigrateStoredFiles(dir.path(), 949);
    EXPECT_EQ(env949, ReadFile(dir.File("env.ini.bak")));
    EXPECT_TRUE(mb::IsValidUtf8(ReadFile(dir.File("env.ini"))));
    EnvSettings again;
    ResetSettings(again);
    InitExePath(again, dir.File("Dioramix.exe"));
    LoadSettings(again, programs);
    EXPECT_EQ(settings.ddfontname, again.ddfontname);
    EXPECT_EQ(settings.backimagename, again.backimagename);
}

}  // namespace
