#include <gtest/gtest.h>

#include <string>

#include "app/crash_dump.h"

TEST(CrashDumpName, DateTimeAndProcessSortAndNeverCollide) {
    struct Case {
        SYSTEMTIME time;
        DWORD process;
        const wchar_t* name;
    } cases[] = {
        {{2026, 12, 2, 8, 17, 4, 9, 0}, 1234, L"Dioramix-crash-20261208-170409-1234.dmp"},
        {{2027, 1, 5, 1, 0, 0, 0, 999}, 7, L"Dioramix-crash-20270101-000000-7.dmp"},
        // The longest: the largest process id still fits the buffer whole.
        {{9999, 12, 0, 31, 23, 59, 59, 0}, 0xFFFFFFFF, L"Dioramix-crash-99991231-235959-4294967295.dmp"},
    };
    for (const Case& c : cases) {
        wchar_t name[data_files::kCrashDumpNameSize];
        data_files::FormatCrashDumpName(c.time, c.process, name);
        EXPECT_STREQ(c.name, name);
    }
}
