#pragma once
// Tests of env.ini: a scratch program folder and the settings record the program starts with.

#include <gtest/gtest.h>

#include <string>

#include "state/settings.h"
#include "support/test_support.h"

namespace testing_support {

class SettingsFileTest : public ::testing::Test {
protected:
    ScratchDir dir;
    EnvSettings env;
    OutProgramList programs;

    void SetUp() override { Fresh(env); }

    // A record as the program has it before reading env.ini, for the program in `dir`.
    void Fresh(EnvSettings& record) const {
        ResetSettings(record);
        InitExePath(record, dir.File("Dioramix.exe"));
    }
    // env.ini holding exactly `bytes`, read into a fresh record.
    void LoadIni(const std::string& bytes) {
        WriteFile(dir.File("env.ini"), bytes);
        Fresh(env);
        programs.clear();
        LoadSettings(env, programs);
    }
    // env.ini holding the given lines under its one section.
    void LoadKeys(const std::string& lines) { LoadIni("[DEFAULT]\r\n" + lines); }
    // What the next start reads from env.ini.
    EnvSettings Reread(OutProgramList& readPrograms) const {
        EnvSettings again;
        Fresh(again);
        LoadSettings(again, readPrograms);
        return again;
    }
};

// The numbers a missing, damaged or out-of-range env.ini falls back to.
inline void ExpectDefaultNumbers(const EnvSettings& env) {
    EXPECT_EQ(400, env.picmaxsize);
    EXPECT_EQ(15, env.changetime);
    EXPECT_EQ(1000, env.min_sec);
    EXPECT_EQ(7, env.framesize);
    EXPECT_EQ(90, env.rotatevalue);
    EXPECT_EQ(10, env.piccleartotalcnt);
}

}  // namespace testing_support
