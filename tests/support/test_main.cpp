// Test entry point: GDI+ runs for the whole test program, as it does for the real one.
#include <gtest/gtest.h>

#include "framework/gdiplus_session.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    fw::GdiplusSession gdiplus;
    return RUN_ALL_TESTS();
}
