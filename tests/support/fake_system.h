#pragma once
// A controllable fw::ISystem for tests: fixed screen and work area, scripted dice and ticks,
// a fixed date, file checks on the real disk, and a record of every wallpaper set.
// Header-only so that every test program can use it without a build change.

#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "framework/system.h"

namespace testing_support {

class FakeSystem : public fw::ISystem {
public:
    int screenWidth = 1024;
    int screenHeight = 768;
    fw::WorkArea workArea{0, 0, 1024, 738};
    fw::LocalDate today{2026, 12, 8, 2};

    // Rand() answers these in turn, then fallbackRand; TickCount() likewise with fallbackTick.
    std::deque<int> rands;
    std::deque<DWORD> ticks;
    int fallbackRand = 0;
    DWORD fallbackTick = 1;
    int randCalls = 0;

    std::vector<std::string> wallpapers;  // every SetDesktopWallpaper, in order
    // Runs inside SetDesktopWallpaper, where the real call broadcasts the change and handles
    // messages sent to the program meanwhile.
    std::function<void(const std::string&)> onSetWallpaper;

    int Rand() override {
        ++randCalls;
        return Next(rands, fallbackRand);
    }
    void SeedRandom(unsigned) override {}
    DWORD TickCount() override { return Next(ticks, fallbackTick); }
    fw::LocalDate Today() override { return today; }
    int ScreenWidth() override { return screenWidth; }
    int ScreenHeight() override { return screenHeight; }
    fw::WorkArea GetWorkArea() override { return workArea; }
    bool FileExists(const std::string& path) override {
        return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    void SetDesktopWallpaper(const std::string& path) override {
        wallpapers.push_back(path);
        if (onSetWallpaper) onSetWallpaper(path);
    }

private:
    template <class T>
    static T Next(std::deque<T>& queue, T fallback) {
        if (queue.empty()) return fallback;
        T value = queue.front();
        queue.pop_front();
        return value;
    }
};

}  // namespace testing_support
