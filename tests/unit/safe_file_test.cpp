// Replacing files in one step: a failed or interrupted write never leaves a half file.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "framework/safe_file.h"
#include "support/temporary_files.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

class SafeFileTest : public ::testing::Test {
protected:
    ScratchDir dir;

    int TemporaryFiles() const { return testing_support::CountTemporaryFiles(dir.path()); }
    static fw::TemporaryWriter Writes(const std::string& bytes) {
        return [bytes](const std::string& temporary) {
            WriteFile(temporary, bytes);
            return true;
        };
    }
};

TEST_F(SafeFileTest, NewContentReplacesTheOldAndNoTemporaryIsLeft) {
    std::string target = dir.File("list.txt");
    WriteFile(target, "old");
    EXPECT_TRUE(fw::ReplaceFileSafely(target, Writes("new content")));
    EXPECT_EQ("new content", ReadFile(target));
    EXPECT_EQ(0, TemporaryFiles());

    std::string fresh = dir.File("poslist.txt");
    EXPECT_TRUE(fw::ReplaceFileSafely(fresh, Writes("1,2,3,4\n")));
    EXPECT_EQ("1,2,3,4\n", ReadFile(fresh));

    // A file made anew at every change is replaced the same way, only not forced to disk.
    std::string wallpaper = dir.File("Dioramix.bmp");
    WriteFile(wallpaper, "BM old");
    EXPECT_TRUE(fw::ReplaceFileSafely(wallpaper, Writes("BM new"), fw::Durability::Regenerated));
    EXPECT_EQ("BM new", ReadFile(wallpaper));
    EXPECT_EQ(0, TemporaryFiles());

    // An edit starts from a copy of the file, or from nothing.
    std::string ini = dir.File("env.ini");
    EXPECT_TRUE(fw::WriteProfileStringSafely("DEFAULT", "oriwallpath", "c:\\w.bmp", ini));
    EXPECT_TRUE(fw::WriteProfileStringSafely("DEFAULT", "isframe", "1", ini));
    EXPECT_EQ("[DEFAULT]\r\noriwallpath=c:\\w.bmp\r\nisframe=1\r\n", ReadFile(ini));
    EXPECT_EQ(0, TemporaryFiles());
}

TEST_F(SafeFileTest, TheOldFileStaysWholeWhileTheNewOneIsWritten) {
    std::string target = dir.File("env.ini");
    WriteFile(target, "[DEFAULT]\nisframe=1\n");
    bool sawOld = false;
    fw::ReplaceFileSafely(target, [&](const std::string& temporary) {
        EXPECT_NE(target, temporary);
        EXPECT_EQ(dir.path(), temporary.substr(0, dir.path().size()));  // same folder: a rename, not a copy
        WriteFile(temporary, "[DEFAULT]\nisfr");  // the moment a kill would cut it
        sawOld = ReadFile(target) == "[DEFAULT]\nisframe=1\n";
        WriteFile(temporary, "[DEFAULT]\nisframe=0\n");
        return true;
    });
    EXPECT_TRUE(sawOld);
    EXPECT_EQ("[DEFAULT]\nisframe=0\n", ReadFile(target));
}

// A full disk (the writer gets part of the content out, then fails), a folder where the file
// should be and a read-only file: the old content stays and no temporary is left. A missing
// folder is not made.
TEST_F(SafeFileTest, AReplacementThatCannotCompleteKeepsTheOldFileAndRemovesTheTemporary) {
    const fw::TemporaryWriter fullDisk = [](const std::string& temporary) {
        WriteFile(temporary, "BM ha");
        return false;
    };
    const std::string picture = dir.File("Dioramix.bmp");
    WriteFile(picture, "BM old picture");
    for (fw::Durability durability : {fw::Durability::Flushed, fw::Durability::Regenerated})
        EXPECT_FALSE(fw::ReplaceFileSafely(picture, fullDisk, durability));
    EXPECT_EQ("BM old picture", ReadFile(picture));

    const std::string folder = dir.MakeDir("list.txt");
    WriteFile(folder + "\\inside.txt", "kept");
    EXPECT_FALSE(fw::ReplaceFileSafely(folder, Writes("text")));
    EXPECT_EQ(FILE_ATTRIBUTE_DIRECTORY, ::GetFileAttributesA(folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ("kept", ReadFile(folder + "\\inside.txt"));
    EXPECT_FALSE(fw::EditFileSafely(folder, Writes("text"))) << "a folder has no content to start the copy from";

    const std::string readOnly = dir.File("env.ini");
    WriteFile(readOnly, "[DEFAULT]\nisframe=1\n");
    ::SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    const bool replaced = fw::ReplaceFileSafely(readOnly, Writes("[DEFAULT]\nisframe=0\n"));
    ::SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_FALSE(replaced);
    EXPECT_EQ("[DEFAULT]\nisframe=1\n", ReadFile(readOnly));
    EXPECT_EQ(0, TemporaryFiles());

    EXPECT_FALSE(fw::ReplaceFileSafely(dir.File("gone\\list.txt"), Writes("x")));
    EXPECT_FALSE(FileExists(dir.File("gone")));
    EXPECT_FALSE(fw::ReplaceFileSafely("", Writes("x")));
}

// ---- Another program holding a file for a moment ---------------------------------------------

// The target opened without sharing, as a scanner or a sync client may, and let go after a while.
class HeldFile {
public:
    explicit HeldFile(const std::string& path)
        : m_handle(::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}
    ~HeldFile() {
        if (m_release.joinable()) m_release.join();
        Release();
    }
    bool held() const { return m_handle != INVALID_HANDLE_VALUE; }
    void Release() {
        if (m_handle != INVALID_HANDLE_VALUE) ::CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
    }
    void ReleaseAfter(int ms) {
        m_release = std::thread([this, ms] {
            std::this_thread::sleep_for(std::chrono::milliseconds(ms));
            Release();
        });
    }

private:
    HANDLE m_handle;
    std::thread m_release;
};

TEST_F(SafeFileTest, AHoldReleasedWithinTheRetryWindowStillGetsTheNewContent) {
    const std::string target = dir.File("env.ini");
    using Replace = std::function<bool()>;
    const std::pair<const char*, Replace> replaces[] = {
        {"written by path", [&] { return fw::ReplaceFileSafely(target, Writes("[DEFAULT]\nnew=1\n")); }},
        {"written from memory", [&] { return fw::ReplaceFileContentSafely(target, "[DEFAULT]\nnew=1\n"); }},
        {"regenerated", [&] {
             return fw::ReplaceFileSafely(target, Writes("[DEFAULT]\nnew=1\n"), fw::Durability::Regenerated);
         }},
    };
    for (const auto& [name, replace] : replaces) {
        WriteFile(target, "[DEFAULT]\nold=1\n");
        HeldFile hold(target);
        ASSERT_TRUE(hold.held()) << name;
        hold.ReleaseAfter(300);
        const DWORD start = ::GetTickCount();
        EXPECT_TRUE(replace()) << name;
        EXPECT_GE(::GetTickCount() - start, 200u) << name << ": replaced while still held?";
        EXPECT_EQ("[DEFAULT]\nnew=1\n", ReadFile(target)) << name;
        EXPECT_EQ(0, TemporaryFiles()) << name;
    }
}

TEST_F(SafeFileTest, AHoldThatNeverEndsKeepsTheOldFileAfterTheRetryWindow) {
    const std::string target = dir.File("list.txt");
    WriteFile(target, "C:\\photos,3\r\n&\r\n");
    DWORD clock = 1000;
    int pauses = 0;
    fw::HoldRetry retry;
    retry.ticks = [&clock] { return clock; };
    retry.sleep = [&](DWORD ms) {
        clock += ms;
        ++pauses;
    };
    {
        HeldFile hold(target);
        ASSERT_TRUE(hold.held());
        EXPECT_FALSE(fw::ReplaceFileContentSafely(target, "&\r\n", fw::Durability::Flushed, retry));
        const int firstPauses = pauses;
        EXPECT_GE(firstPauses, 30) << "tried again for the whole window";
        EXPECT_LE(firstPauses, 41) << "and no longer";
        EXPECT_FALSE(fw::ReplaceFileSafely(target, Writes("&\r\n"), fw::Durability::Flushed, retry));
        EXPECT_EQ(0, TemporaryFiles());
    }
    EXPECT_EQ("C:\\photos,3\r\n&\r\n", ReadFile(target));
}

TEST_F(SafeFileTest, TheNewFileHeldByAScannerIsWaitedFor) {
    // A scanner opens the freshly written temporary before it is flushed and moved.
    const std::string target = dir.File("poslist.txt");
    WriteFile(target, "1,2,3,4\r\n");
    std::unique_ptr<HeldFile> hold;
    EXPECT_TRUE(fw::ReplaceFileSafely(target, [&](const std::string& temporary) {
        WriteFile(temporary, "5,6,7,8\r\n");
        hold = std::make_unique<HeldFile>(temporary);
        if (hold->held()) hold->ReleaseAfter(300);
        return hold->held();
    }));
    EXPECT_EQ("5,6,7,8\r\n", ReadFile(target));
    EXPECT_EQ(0, TemporaryFiles());
}

TEST_F(SafeFileTest, AReplacedFileKeepsItsAttributes) {
    const std::string target = dir.File("env.ini");
    WriteFile(target, "[DEFAULT]\n");
    ASSERT_TRUE(::SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_HIDDEN));
    EXPECT_TRUE(fw::ReplaceFileContentSafely(target, "[DEFAULT]\nisframe=1\n"));
    EXPECT_EQ("[DEFAULT]\nisframe=1\n", ReadFile(target));
    EXPECT_TRUE(::GetFileAttributesA(target.c_str()) & FILE_ATTRIBUTE_HIDDEN) << "the user's hidden file stays hidden";
    ::SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(SafeFileTest, LeftoverTemporaryFilesAreRemovedAndNothingElse) {
    WriteFile(dir.File("~dx1A2B.tmp"), "half");
    WriteFile(dir.File("~DX0001.TMP"), "half");
    WriteFile(dir.File("env.ini"), "[DEFAULT]\n");
    WriteFile(dir.File("notes.tmp"), "mine");
    dir.MakeDir("~dxfolder.tmp");
    EXPECT_EQ(2, fw::RemoveStaleTemporaryFiles(dir.path()));
    EXPECT_TRUE(FileExists(dir.File("env.ini")));
    EXPECT_TRUE(FileExists(dir.File("notes.tmp")));
    EXPECT_TRUE(FileExists(dir.File("~dxfolder.tmp")));
    EXPECT_EQ(0, fw::RemoveStaleTemporaryFiles(dir.File("missing")));
}

}  // namespace
