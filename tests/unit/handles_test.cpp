// The RAII owners: move-only, each handle released exactly once.

#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>

#include <cstring>
#include <optional>
#include <type_traits>
#include <utility>

#include "framework/handles.h"
#include "support/test_support.h"

namespace {

static_assert(!std::is_copy_constructible_v<fw::Brush>);
static_assert(!std::is_copy_assignable_v<fw::Brush>);
static_assert(std::is_nothrow_move_constructible_v<fw::Brush>);
static_assert(!std::is_copy_constructible_v<fw::KernelHandle>);
static_assert(!std::is_copy_constructible_v<fw::FindHandle>);
static_assert(!std::is_copy_constructible_v<fw::RegKey>);
static_assert(!std::is_copy_constructible_v<fw::ImageList>);
static_assert(!std::is_copy_constructible_v<fw::FileHandle>);
static_assert(!std::is_copy_constructible_v<fw::CoTaskMemory<wchar_t>>);
static_assert(!std::is_copy_constructible_v<fw::PaintDc> && std::is_nothrow_move_constructible_v<fw::PaintDc>);
static_assert(!std::is_copy_constructible_v<fw::WaitCursor> && std::is_nothrow_move_assignable_v<fw::WaitCursor>);
static_assert(!std::is_copy_constructible_v<fw::ScopedFlag> && std::is_nothrow_move_assignable_v<fw::ScopedFlag>);

bool IsLiveGdiObject(HGDIOBJ h) { return ::GetObjectType(h) != 0; }

SIZE_T PrivateBytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
    return counters.PagefileUsage;
}

// Deleted once when its last owner dies; a reset releases the old handle, a release gives it up.
TEST(Handles, GdiObjectIsDeletedOnceByItsLastOwnerOrResetOrGivenUp) {
    HBRUSH raw = ::CreateSolidBrush(RGB(1, 2, 3));
    ASSERT_TRUE(IsLiveGdiObject(raw));
    {
        fw::Brush first(raw);
        fw::Brush second(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_EQ(raw, second.get());
        fw::Brush third;
        third = std::move(second);
        EXPECT_TRUE(IsLiveGdiObject(raw));
    }
    EXPECT_FALSE(IsLiveGdiObject(raw));

    HPEN a = ::CreatePen(PS_SOLID, 1, 0), b = ::CreatePen(PS_SOLID, 1, 0);
    fw::Pen pen(a);
    pen.reset(b);
    EXPECT_FALSE(IsLiveGdiObject(a));
    HPEN given = pen.release();
    EXPECT_EQ(b, given);
    EXPECT_FALSE(pen);
    EXPECT_TRUE(IsLiveGdiObject(b));
    ::DeleteObject(b);
}

TEST(Handles, KernelHandleClosesSelfMoveIsHarmlessAndAnInvalidFindHandleIsEmpty) {
    fw::KernelHandle event(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(event);
    HANDLE raw = event.get();
    auto& alias = event;
    event = std::move(alias);
    EXPECT_EQ(raw, event.get());
    DWORD flags = 0;
    EXPECT_TRUE(::GetHandleInformation(raw, &flags));
    event.reset();
    EXPECT_FALSE(event);

    testing_support::ScratchDir dir;
    WIN32_FIND_DATAA data;
    fw::FindHandle none(::FindFirstFileA((dir.path() + "\\*.nothing").c_str(), &data));
    EXPECT_FALSE(none);
    testing_support::WriteFile(dir.File("a.txt"), "x");
    fw::FindHandle some(::FindFirstFileA((dir.path() + "\\*.txt").c_str(), &data));
    EXPECT_TRUE(some);
}

// The list's own bitmap lives exactly as long as the list, so its end shows the list's end.
TEST(Handles, ImageListIsDestroyedOnceByItsLastOwner) {
    fw::ImageList first(::ImageList_Create(16, 16, ILC_COLOR24, 1, 1));
    ASSERT_TRUE(first);
    ASSERT_TRUE(::ImageList_SetImageCount(first.get(), 1));
    IMAGEINFO info{};
    ASSERT_TRUE(::ImageList_GetImageInfo(first.get(), 0, &info));
    ASSERT_TRUE(IsLiveGdiObject(info.hbmImage));
    {
        fw::ImageList second(std::move(first));
        EXPECT_FALSE(first);
        fw::ImageList third;
        third = std::move(second);
        EXPECT_FALSE(second);
        EXPECT_TRUE(IsLiveGdiObject(info.hbmImage)) << "a move destroyed the list";
    }
    EXPECT_FALSE(IsLiveGdiObject(info.hbmImage));
}

// A file opened without sharing refuses a second open for as long as a handle to it is open.
TEST(Handles, FileHandleTakesCreateFileInOneStepAndClosesOnce) {
    testing_support::ScratchDir dir;
    const std::string path = dir.File("held.bin");
    auto openAlone = [&] {
        return fw::FileHandle(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr));
    };

    fw::FileHandle missing(::CreateFileA(dir.File("no folder\\x.bin").c_str(), GENERIC_READ, 0, nullptr,
                                         OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(missing) << "INVALID_HANDLE_VALUE is no file";
    missing.reset();  // and closing it is harmless

    fw::FileHandle held = openAlone();
    ASSERT_TRUE(held);
    EXPECT_FALSE(openAlone()) << "the file should be in use";
    fw::FileHandle moved(std::move(held));
    EXPECT_FALSE(held);
    EXPECT_FALSE(openAlone()) << "a move closed the file";
    fw::FileHandle other = openAlone();  // fails: still in use
    other = std::move(moved);
    EXPECT_FALSE(openAlone()) << "taking it over closed the file";
    other.reset();
    EXPECT_TRUE(openAlone()) << "reset left the file open";
}

TEST(Handles, CoTaskMemoryIsFreedOnceByItsLastOwner) {
    constexpr size_t kBlock = 64u << 20;  // large enough to be given back to the system when freed
    const SIZE_T before = PrivateBytes();
    {
        fw::CoTaskMemory<char> first(static_cast<char*>(::CoTaskMemAlloc(kBlock)));
        ASSERT_TRUE(first);
        std::memset(first.get(), 1, kBlock);
        fw::CoTaskMemory<char> second(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_GT(PrivateBytes(), before + kBlock / 2);
    }
    EXPECT_LT(PrivateBytes(), before + kBlock / 2) << "the block was not freed";
}

TEST(Handles, ScopedFlagPutsBackWhatItFoundOnce) {
    bool busy = false;
    {
        fw::ScopedFlag outer(busy);
        EXPECT_TRUE(busy);
        {
            fw::ScopedFlag inner(busy, false);
            EXPECT_FALSE(busy);
        }
        EXPECT_TRUE(busy) << "an inner scope put back the wrong value";
    }
    EXPECT_FALSE(busy);

    // A moved-from guard puts nothing back; the new owner does, when it ends.
    std::optional<fw::ScopedFlag> kept;
    {
        fw::ScopedFlag first(busy);
        kept.emplace(std::move(first));
    }
    EXPECT_TRUE(busy);
    bool other = false;
    {
        fw::ScopedFlag replaced(other);
        replaced = std::move(*kept);
        EXPECT_FALSE(other) << "the replaced guard did not put its flag back";
        kept.reset();
        EXPECT_TRUE(busy) << "a moved-from guard put its flag back";
    }
    EXPECT_FALSE(busy);
}

TEST(Handles, SelectionIsUndoneWhenTheGuardEnds) {
    fw::MemoryDc dc(::CreateCompatibleDC(nullptr));
    fw::Brush brush(::CreateSolidBrush(RGB(9, 9, 9)));
    HGDIOBJ before = ::GetCurrentObject(dc.get(), OBJ_BRUSH);
    {
        fw::SelectObjectGuard guard(dc.get(), brush.get());
        EXPECT_EQ(brush.get(), ::GetCurrentObject(dc.get(), OBJ_BRUSH));
    }
    EXPECT_EQ(before, ::GetCurrentObject(dc.get(), OBJ_BRUSH));
}

}  // namespace
