#include <gtest/gtest.h>

#include <array>

#include "state/settings.h"
#include "support/settings_fixture.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

using SettingsFile = testing_support::SettingsFileTest;

TEST_F(SettingsFile, MissingFileGivesDefaults) {
    LoadSettings(env, programs);
    ExpectDefaultNumbers(env);
    EXPECT_EQ(0, env.imagepos);
    EXPECT_EQ(0, env.rememory);
    for (uint8_t flag : {env.maxwinstop, env.notstrech, env.israndum, env.isbackcolor, env.isstretch,
                         env.isiptooltip, env.isweekday, env.isbold1, env.isbold2, env.isitalic1, env.isitalic2,
                         env.multimonitor})
        EXPECT_EQ(1, flag);
    for (uint8_t flag : {env.ispause, env.isbackimg, env.isforeimg, env.isframe, env.isrotate, env.ismask,
                         env.isshadow, env.ispath, env.iscalender, env.isrndmask, env.isbackgray, env.isoverlap,
                         env.isiconhide, env.cloudphotos})
        EXPECT_EQ(0, flag);
    EXPECT_EQ("Georgia", env.ymfontname);
    EXPECT_EQ("Georgia", env.ddfontname);
    EXPECT_EQ(0xFF485573u, env.backcolor);  // RGB(72, 85, 115)
    EXPECT_EQ((std::array<COLORREF, 4>{16777215u, RGB(116, 217, 250), RGB(245, 18, 126), RGB(253, 251, 219)}),
              (std::array{env.framecolor, env.bluedaycolor, env.reddaycolor, env.yymmcolor}));
    EXPECT_TRUE(programs.empty());
}

// Each line alone in env.ini and the number it leaves in the record; colours keep eight
// characters and strings 259.
TEST_F(SettingsFile, NumbersFallBackOrAreCutToTheirBuffer) {
    const struct {
        const char* line;
        int32_t EnvSettings::*field;
        int32_t expected;
    } cases[] = {
        {"picmaxsize=0", &EnvSettings::picmaxsize, 400},  // zero and small values take the fallback
        {"min_sec=500", &EnvSettings::min_sec, 1000},
        {"changetime=abc", &EnvSettings::changetime, 15},
        {"framesize=0", &EnvSettings::framesize, 7},
        {"imagepos=-3", &EnvSettings::imagepos, -3},  // no fallback
        {"min_sec=600000", &EnvSettings::min_sec, 60000},  // six digits read as five
        {"changetime=  12x", &EnvSettings::changetime, 12},
    };
    for (const auto& c : cases) {
        LoadKeys(std::string(c.line) + "\r\n");
        EXPECT_EQ(c.expected, env.*c.field) << c.line;
    }
    const std::string longName(300, 'm');
    LoadKeys("framecolor=123456789\r\nmaskfilename=" + longName + "\r\n");
    EXPECT_EQ(12345678u, env.framecolor);
    EXPECT_EQ(longName.substr(0, 259), env.maskfilename);
}

TEST_F(SettingsFile, FlagsFollowAtoi) {
    LoadKeys("isframe=2\r\nismask=-1\r\nisshadow=yes\r\nisweekday=\r\nmaxwinstop=0\r\n");
    // isweekday is present but empty: not the default.
    EXPECT_EQ((std::array<int, 5>{1, 1, 0, 0, 0}),
              (std::array<int, 5>{env.isframe, env.ismask, env.isshadow, env.isweekday, env.maxwinstop}));
}

TEST_F(SettingsFile, StretchKeyIsReadInEitherSpellingAndSavedLowerCase) {
    for (const char* line : {"isStretch=0\r\n", "isstretch=0\r\n"}) {
        LoadKeys(line);
        EXPECT_EQ(0, env.isstretch) << line;
    }

    WriteFile(dir.File("env.ini"), "[DEFAULT]\r\nisStretch=0\r\n");  // a file with the other spelling, then saved
    SaveSettings(env, programs);
    bool found = false;
    for (const auto& line : ReadLines(dir.File("env.ini"))) {
        EXPECT_NE(0u, line.rfind("isStretch", 0)) << line;
        if (line == "isstretch=0") found = true;
    }
    EXPECT_TRUE(found);
}

// The background colour round-trips; the picture per monitor is on unless switched off, and a save
// keeps the keys that are no settings.
TEST_F(SettingsFile, BackgroundColourAndPicturePerMonitorRoundTripBesideTheOtherKeys) {
    LoadKeys("backcolor=255\r\nmultimonitor=0\r\noriwallstyle=6\r\n");
    EXPECT_EQ(0xFFFF0000u, env.backcolor);
    EXPECT_EQ(0, env.multimonitor);
    SaveSettings(env, programs);
    OutProgramList none;
    const EnvSettings again = Reread(none);
    EXPECT_EQ(0xFFFF0000u, again.backcolor);
    EXPECT_EQ(255u, ArgbToColorRef(again.backcolor));
    EXPECT_EQ(0, again.multimonitor);
    env.multimonitor = 1;
    SaveSettings(env, programs);
    EXPECT_EQ(1, Reread(none).multimonitor);
    // The style a spanning run keeps for the user is not one of the settings, and stays.
    char kept[8] = {};
    ::GetPrivateProfileStringA("DEFAULT", "oriwallstyle", "", kept, sizeof kept, env.FilePath("\\env.ini").c_str());
    EXPECT_STREQ("6", kept);
}

TEST_F(SettingsFile, ExceptionProgramsCloseGapsAndSaveThree) {
    LoadKeys("outprogram0=\r\noutprogram1=A\r\n");
    ASSERT_EQ(1u, programs.size());
    EXPECT_EQ("A", programs[0]);

    programs.push_back("B");
    programs.push_back("C");
    programs.push_back("D");  // beyond the third: not stored
    SaveSettings(env, programs);
    OutProgramList read;
    Reread(read);
    EXPECT_EQ((OutProgramList{"A", "B", "C"}), read);
}

TEST_F(SettingsFile, SaveWritesEveryKeyInOrderAndTheKnownTextByteForByte) {
    LoadSettings(env, programs);
    SaveSettings(env, programs);
    std::vector<std::string> keys;
    for (const auto& line : ReadLines(dir.File("env.ini")))
        if (line.find('=') != std::string::npos) keys.push_back(line.substr(0, line.find('=')));
    EXPECT_EQ(testing_support::SavedSettingsKeys(), keys);

    // Every key at a value of its own, saved where there is no file yet: the exact text of a save.
    LoadKeys("isbackimg=1\r\nisforeimg=1\r\npicmaxsize=640\r\nchangetime=42\r\nmin_sec=60000\r\nframesize=12\r\n"
             "rotatevalue=33\r\npiccleartotalcnt=5\r\nimagepos=2\r\nrememory=3\r\nshowtime=4\r\n"
             "maskfilename=c:\\m\\heart.gif\r\nbackimagename=c:\\b.jpg\r\nymfontname=Arial\r\nddfontname=Tahoma\r\n"
             "outprogram0=A\r\noutprogram2=C\r\nisframe=1\r\nismask=1\r\nisshadow=1\r\nisrotate=1\r\nispath=1\r\n"
             "iscalender=1\r\nmaxwinstop=0\r\nnotstrech=0\r\nisrandum=0\r\nisbackcolor=0\r\nisStretch=0\r\n"
             "isiptooltip=0\r\nisweekday=0\r\nisbold1=0\r\nisbold2=0\r\nisitalic1=0\r\nisitalic2=0\r\nisrndmask=1\r\n"
             "isbackgray=1\r\nisoverlap=1\r\nisiconhide=1\r\nispause=1\r\nbackcolor=255\r\nframecolor=-1\r\n"
             "whitedaycolor=1\r\nbluedaycolor=2\r\nreddaycolor=3\r\nyymmcolor=4\r\n");
    ASSERT_TRUE(::DeleteFileA(dir.File("env.ini").c_str()));
    ASSERT_TRUE(SaveSettings(env, programs));
    const std::string expected =
        "[DEFAULT]\r\nisbackimg=1\r\nisforeimg=1\r\npicmaxsize=640\r\nchangetime=42\r\nmin_sec=60000\r\n"
        "framesize=12\r\nrotatevalue=33\r\npiccleartotalcnt=5\r\nimagepos=2\r\nrememory=3\r\nshowtime=4\r\n"
        "maskfilename=c:\\m\\heart.gif\r\nbackimagename=c:\\b.jpg\r\nymfontname=Arial\r\nddfontname=Tahoma\r\n"
        "outprogram0=A\r\noutprogram1=C\r\noutprogram2=\r\nisframe=1\r\nismask=1\r\nisshadow=1\r\nisrotate=1\r\n"
        "ispath=1\r\niscalender=1\r\nmaxwinstop=0\r\nnotstrech=0\r\nisrandum=0\r\nisbackcolor=0\r\nisstretch=0\r\n"
        "isiptooltip=0\r\nisweekday=0\r\nisbold1=0\r\nisbold2=0\r\nisitalic1=0\r\nisitalic2=0\r\nisrndmask=1\r\n"
        "isbackgray=1\r\nisoverlap=1\r\nisiconhide=1\r\nispause=1\r\nbackcolor=255\r\nframecolor=-1\r\n"
        "whitedaycolor=1\r\nbluedaycolor=2\r\nreddaycolor=3\r\nyymmcolor=4\r\nmultimonitor=1\r\ncloudphotos=0\r\n"
        "favoritesonly=0\r\nhotkeynext=1614\r\nhotkeyback=1602\r\nhotkeypause=1616\r\nhotkeyban=0\r\n"
        "hotkeykeep=0\r\n";
    EXPECT_EQ(expected, testing_support::ReadFile(dir.File("env.ini")));
}

// A reset keeps the colours and clears the rest; the program's folder survives a trail byte
// that reads as a backslash.
TEST(SettingsRecord, ResetKeepsColoursAndClearsTheRestAndExePathSurvivesTrailByteBackslash) {
    EnvSettings env;
    env.backcolor = 0xFF102030;
    env.framecolor = 77;
    env.isframe = 1;
    env.picmaxsize = 300;
    env.ymfontname = "Arial";
    ResetSettings(env);
    EXPECT_EQ(0xFF102030u, env.backcolor);
    EXPECT_EQ(77u, env.framecolor);
    EXPECT_EQ((std::array<int, 2>{0, 0}), (std::array<int, 2>{env.isframe, env.picmaxsize}));
    EXPECT_TRUE(env.ymfontname.empty());

    std::string folder = "c:\\\xC7\xA5\x9B\x5C";  // last character's trail byte is '\'
    InitExePath(env, folder + "\\Dioramix.exe");
    EXPECT_EQ(folder, env.m_exePath);
    InitExePath(env, "Dioramix.exe");
    EXPECT_TRUE(env.m_exePath.empty());
}

}  // namespace
