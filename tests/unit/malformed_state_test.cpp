// State files that are damaged, hand-edited or unwritable: each reads as its defaults or is
// skipped line by line, and a save that cannot complete keeps the previous file.
#include <gtest/gtest.h>

#include <array>
#include <random>
#include <utility>

#include "composer/calendar.h"
#include "composer/placement.h"
#include "state/position_list.h"
#include "state/catalogue.h"
#include "state/settings.h"
#include "support/settings_fixture.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

std::string Noise(size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(random() & 0xFF);
    return bytes;
}

// Noise in which a text-mode reader sees every byte: Ctrl-Z ends a text file for the C runtime.
std::string TextNoise(size_t size, unsigned seed) {
    std::string bytes = Noise(size, seed);
    for (char& c : bytes)
        if (c == '\x1A') c = ' ';
    return bytes;
}

using MalformedState = testing_support::SettingsFileTest;

TEST_F(MalformedState, NoiseAsEnvIniGivesTheDefaults) {
    for (unsigned seed = 1; seed <= 5; ++seed) {
        SCOPED_TRACE(seed);
        LoadIni(Noise(8192, seed));
        ExpectDefaultNumbers(env);
        EXPECT_EQ(1, env.israndum);
        EXPECT_EQ("Georgia", env.ymfontname);
        EXPECT_TRUE(programs.empty());
    }
}

TEST_F(MalformedState, NumbersOutOfRangeTakeTheDefaultsAndLinesFarPastTheirLimitsAreCut) {
    LoadKeys("picmaxsize=-400\r\nframesize=99999\r\nrotatevalue=-7\r\nchangetime=-3\r\npiccleartotalcnt=-1\r\n");
    ExpectDefaultNumbers(env);

    // Just past what the pages allow, and what they allow, which stays as it is.
    for (auto [keys, expected] : {std::pair{"picmaxsize=99999\r\nframesize=51\r\nrotatevalue=361\r\n", std::array{400, 7, 90}},
                                  std::pair{"picmaxsize=760\r\nframesize=50\r\nrotatevalue=360\r\n", std::array{760, 50, 360}}}) {
        LoadKeys(keys);
        EXPECT_EQ(expected, (std::array{env.picmaxsize, env.framesize, env.rotatevalue})) << keys;
    }

    const std::string longText(100000, '7');
    LoadIni("[DEFAULT]\r\nmaskfilename=" + longText + "\r\nmin_sec=" + longText + "\r\noutprogram0=" + longText +
            "\r\nisframe=1\r\n");
    EXPECT_EQ(259u, env.maskfilename.size());
    EXPECT_EQ(77777, env.min_sec);
    ASSERT_EQ(1u, programs.size());
    EXPECT_EQ(259u, programs[0].size());
    EXPECT_EQ(1, env.isframe);
}

TEST_F(MalformedState, ReadOnlyEnvIniAndListTxtAreNotReplaced) {
    const std::string ini = dir.File("env.ini"), list = dir.File("list.txt");
    WriteFile(ini, "[DEFAULT]\r\nisframe=1\r\n");
    WriteFile(list, "c:\\photos,2\n&\nc:\\photos\\a.jpg\n");
    for (const std::string& file : {ini, list}) ::SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
    env.isframe = 0;
    ImageCatalogue catalogue;
    catalogue.Replace({"d:\\other,0"}, {});
    const bool settingsSaved = SaveSettings(env, programs), listSaved = catalogue.SaveImageList(dir.path());
    for (const std::string& file : {ini, list}) ::SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_FALSE(settingsSaved);
    EXPECT_FALSE(listSaved);
    EXPECT_EQ("[DEFAULT]\r\nisframe=1\r\n", ReadFile(ini));
    EXPECT_EQ("c:\\photos,2\n&\nc:\\photos\\a.jpg\n", ReadFile(list));
}

TEST_F(MalformedState, ASaveKeepsUnknownKeysAndReplacesTheFileWhole) {
    const std::string ini = dir.File("env.ini");
    WriteFile(ini, "[DEFAULT]\r\noriwallpath=c:\\mine.bmp\r\nisframe=1\r\n");
    env.isframe = 0;
    EXPECT_TRUE(SaveSettings(env, programs));
    char value[64] = {};
    ::GetPrivateProfileStringA("DEFAULT", "oriwallpath", "", value, sizeof value, ini.c_str());
    EXPECT_STREQ("c:\\mine.bmp", value);
    ::GetPrivateProfileStringA("DEFAULT", "isframe", "", value, sizeof value, ini.c_str());
    EXPECT_STREQ("0", value);
}

TEST_F(MalformedState, NoiseAsListTxtNeverCrashesAndRoundTrips) {
    for (unsigned seed = 1; seed <= 5; ++seed) {
        WriteFile(dir.File("list.txt"), Noise(16384, seed));
        ImageCatalogue catalogue;
        catalogue.LoadImageList(dir.path());
        for (const std::string& line : catalogue.FolderEntries()) EXPECT_LE(line.size(), 259u);
        for (const std::string& line : catalogue.Images()) EXPECT_LE(line.size(), 259u);
        // Whatever was read is written back and read again unchanged apart from line ends.
        EXPECT_TRUE(catalogue.SaveImageList(dir.path()));
        ImageCatalogue again;
        again.LoadImageList(dir.path());
        const size_t kept = catalogue.HasFolders() ? catalogue.Images().size() : 0;
        EXPECT_EQ(catalogue.FolderEntries().size() + kept, again.FolderEntries().size() + again.Images().size());
    }
}

TEST_F(MalformedState, NoiseAsPoslistTxtGivesOnlyWellFormedLines) {
    for (unsigned seed = 1; seed <= 5; ++seed) {
        std::string bytes = TextNoise(16384, seed) + "\n10,20,30,40\n" + std::string(5000, '9') + ",1,2,3\n";
        WriteFile(dir.File("poslist.txt"), bytes);
        std::vector<RECT> positions;
        EXPECT_EQ(1, LoadPositions(dir.File("poslist.txt"), positions));
        bool found = false;
        for (const RECT& r : positions) found = found || (r.left == 10 && r.top == 20 && r.right == 30 && r.bottom == 40);
        EXPECT_TRUE(found);
    }
    // A folder where the file should be: nothing is written, the folder stays.
    dir.MakeDir("blocked");
    EXPECT_FALSE(SavePositions(dir.File("blocked"), {RECT{1, 2, 3, 4}}));
}

TEST_F(MalformedState, NoiseAsXdaylistTxtIsReadWithoutHarm) {
    for (unsigned seed = 1; seed <= 5; ++seed) {
        WriteFile(dir.File("xdaylist.txt"), TextNoise(16384, seed) + "\n12.25-Christmas\n" + std::string(10000, '-'));
        SpecialDays days;
        EXPECT_EQ(1, LoadSpecialDays(dir.File("xdaylist.txt"), days));
        ASSERT_EQ(1u, days.count("12.25"));
        EXPECT_EQ("Christmas\n", days.at("12.25"));
    }
}

}  // namespace
