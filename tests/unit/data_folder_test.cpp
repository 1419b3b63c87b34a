// Where the program keeps its files when its own folder cannot be written.
#include <gtest/gtest.h>

#include "state/data_folder.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

TEST(DataFolderChoice, BesideTheProgramWhenWritableForRealElseTheUsersFolder) {
    auto writable = [](const std::string&) { return true; };
    auto readOnly = [](const std::string&) { return false; };
    const std::string programFiles = "C:\\Program Files\\Dioramix";
    const std::string local = "C:\\Users\\me\\AppData\\Local";
    EXPECT_EQ(programFiles, ChooseDataFolder(programFiles, local, writable));
    EXPECT_EQ(local + "\\Dioramix", ChooseDataFolder(programFiles, local, readOnly));
    EXPECT_EQ(programFiles, ChooseDataFolder(programFiles, "", readOnly));  // nowhere better
    // A program folder without a narrow name cannot hold the files: the user's folder can.
    EXPECT_EQ(local + "\\Dioramix", ChooseDataFolder("", local, writable));
    EXPECT_EQ("", ChooseDataFolder("", "", writable));

    ScratchDir dir;
    EXPECT_TRUE(CanWriteFolder(dir.path()));
    EXPECT_FALSE(CanWriteFolder(dir.File("missing")));
    EXPECT_FALSE(CanWriteFolder(""));
}

// A program folder that cannot be written, played by one that does not exist: the user's
// files move to the local folder, copied once; what the user already has there is kept.
class MovedDataFolder : public ::testing::Test {
protected:
    ScratchDir dir;
    EnvSettings env;
    std::string program, local;
    void SetUp() override {
        program = dir.MakeDir("program");
        local = dir.MakeDir("local");
        ResetSettings(env);
    }
};

TEST_F(MovedDataFolder, AWritableProgramFolderKeepsEverythingBesideItAnUnwritableOneMovesTheUsersFiles) {
    InitExePath(env, program + "\\Dioramix.exe");
    UseDataFolder(env, local);
    EXPECT_TRUE(env.m_dataPath.empty());
    EXPECT_EQ(program + "\\env.ini", env.FilePath("\\env.ini"));
    EXPECT_EQ(program + "\\Masks", env.InstalledFilePath("\\Masks"));

    // Files that came with the program: readable, but the folder takes no new file.
    const std::string sealed = dir.File("sealed");
    InitExePath(env, sealed + "\\Dioramix.exe");
    UseDataFolder(env, local);
    EXPECT_EQ(local + "\\Dioramix", env.m_dataPath);
    EXPECT_EQ(local + "\\Dioramix\\env.ini", env.FilePath("\\env.ini"));
    EXPECT_EQ(local + "\\Dioramix\\Dioramix.bmp", env.FilePath("\\Dioramix.bmp"));
    EXPECT_EQ(sealed + "\\effects\\red.png", env.InstalledFilePath("\\effects\\red.png"));
    EXPECT_EQ(local + "\\Dioramix", env.DataFolder());
    EXPECT_TRUE(CanWriteFolder(env.DataFolder()));
}

TEST_F(MovedDataFolder, AProgramFolderWithoutANarrowNameKeepsTheFilesInTheUsersFolderAndLooksNowhereElse) {
    InitExePath(env, "");  // what the module path gives when the code page cannot name it
    UseDataFolder(env, local);
    EXPECT_EQ(local + "\\Dioramix", env.DataFolder());
    EXPECT_TRUE(CanWriteFolder(env.DataFolder()));
    EXPECT_EQ(local + "\\Dioramix\\env.ini", env.FilePath("\\env.ini"));
    // Never the drive's root, which "\Masks" alone would name.
    EXPECT_EQ("", env.InstalledFilePath("\\Masks"));
    EXPECT_EQ("", env.InstalledFilePath("\\effects\\red.png"));
}

TEST_F(MovedDataFolder, SettingsKeptWithTheProgramAreCarriedOverButNeverOverwritten) {
    // The copy step itself, on a program folder that holds the user's files.
    WriteFile(program + "\\env.ini", "[DEFAULT]\r\nchangetime=9\r\n");
    WriteFile(program + "\\xdaylist.txt", "1225\r\n");
    const std::string moved = dir.MakeDir("local\\Dioramix");
    WriteFile(moved + "\\list.txt", "mine\n&\n");
    WriteFile(program + "\\list.txt", "old\n&\n");
    CarryOverUserFiles(program, moved);
    EXPECT_EQ("[DEFAULT]\r\nchangetime=9\r\n", ReadFile(moved + "\\env.ini"));
    EXPECT_EQ("1225\r\n", ReadFile(moved + "\\xdaylist.txt"));
    EXPECT_EQ("mine\n&\n", ReadFile(moved + "\\list.txt"));
    EXPECT_FALSE(FileExists(moved + "\\poslist.txt"));
}

}  // namespace
