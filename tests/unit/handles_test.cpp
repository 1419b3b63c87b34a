// The RAII owners: move-only, each handle released exactly once.

#include <gtest/gtest.h>

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

bool IsLiveGdiObject(HGDIOBJ h) { return ::GetObjectType(h) != 0; }

TEST(Handles, GdiObjectIsDeletedOnceWhenItsLastOwnerDies) {
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
}

TEST(Handles, ResetReleasesTheOldHandleAndReleaseGivesItUp) {
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

TEST(Handles, KernelHandleClosesAndSelfMoveIsHarmless) {
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
}

TEST(Handles, FindHandleTreatsInvalidValueAsEmpty) {
    testing_support::ScratchDir dir;
    WIN32_FIND_DATAA data;
    fw::FindHandle none(::FindFirstFileA((dir.path() + "\\*.nothing").c_str(), &data));
    EXPECT_FALSE(none);
    testing_support::WriteFile(dir.File("a.txt"), "x");
    fw::FindHandle some(::FindFirstFileA((dir.path() + "\\*.txt").c_str(), &data));
    EXPECT_TRUE(some);
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
