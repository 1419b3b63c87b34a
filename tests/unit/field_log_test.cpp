// The field log: two files that take turns, and a writer no caller ever waits for.
#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "framework/field_log.h"
#include "framework/mbstring.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

std::string Numbered(int n) {
    char text[128];
    std::snprintf(text, sizeof text, "line %06d %s", n, std::string(80, 'x').c_str());
    return text;
}

TEST(FieldLog, TwoFilesTakeTurnsAndNeitherGrowsPastItsLimit) {
    ScratchDir dir;
    fw::FieldLog log;
    log.Open(mb::Widen(dir.File("Dioramix.log")), mb::Widen(dir.File("Dioramix.old.log")));
    const int lines = 7000;  // about 800 KB: the files take turns more than once
    for (int n = 0; n < lines; ++n) {
        log.Write(Numbered(n));
        if (n % 500 == 499) {
            ASSERT_TRUE(log.Flush());
        }
    }
    ASSERT_TRUE(log.Flush());

    const std::string current = ReadFile(dir.File("Dioramix.log")), old = ReadFile(dir.File("Dioramix.old.log"));
    EXPECT_LE(current.size(), fw::kFieldLogLimit);
    EXPECT_LE(old.size(), fw::kFieldLogLimit);
    EXPECT_GT(old.size(), fw::kFieldLogLimit / 2) << "the old file was full when it was set aside";
    EXPECT_NE(std::string::npos, current.find(Numbered(lines - 1))) << "the newest line is in Dioramix.log";
    EXPECT_EQ(std::string::npos, (old + current).find(Numbered(0))) << "the oldest lines are gone";
    // The two files join without a gap: the old one ends where the current one begins.
    const auto oldLines = ReadLines(dir.File("Dioramix.old.log")), newLines = ReadLines(dir.File("Dioramix.log"));
    ASSERT_FALSE(oldLines.empty());
    ASSERT_FALSE(newLines.empty());
    const int lastOld = std::stoi(oldLines.back().substr(oldLines.back().find("line ") + 5, 6));
    const int firstNew = std::stoi(newLines.front().substr(newLines.front().find("line ") + 5, 6));
    EXPECT_EQ(lastOld + 1, firstNew);
    EXPECT_EQ(0u, newLines.front().find("20")) << "every line starts with its date: " << newLines.front();
}

TEST(FieldLog, WritersNeverWaitForASlowDiskAndWhatOverflowsIsCounted) {
    ScratchDir dir;
    HANDLE disk = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<int> writes{0};
    {
        fw::FieldLog log([&] {
            ++writes;
            ::WaitForSingleObject(disk, 10000);  // a disk that answers only when the test says so
        });
        log.Open(mb::Widen(dir.File("Dioramix.log")), mb::Widen(dir.File("Dioramix.old.log")));
        log.Write("first");
        for (int i = 0; i < 200 && writes == 0; ++i) ::Sleep(5);
        ASSERT_EQ(1, writes.load()) << "the writer is stuck on the disk now";

        for (int n = 0; n < 2000; ++n) log.Write(Numbered(n));  // far more than is kept
        EXPECT_EQ(1, writes.load()) << "a line is handed over, never written in place";
        EXPECT_FALSE(log.Flush(50));

        ::SetEvent(disk);
        ASSERT_TRUE(log.Flush());
        log.Write("after");
    }  // the log writes what it keeps before it goes
    const std::string text = ReadFile(dir.File("Dioramix.log"));
    EXPECT_NE(std::string::npos, text.find("first"));
    EXPECT_NE(std::string::npos, text.find(Numbered(0)));
    EXPECT_NE(std::string::npos, text.find("lines left out)"));
    EXPECT_NE(std::string::npos, text.find("after"));
    EXPECT_FALSE(FileExists(dir.File("Dioramix.old.log")));
    ::CloseHandle(disk);
}

}  // namespace
