// Runs the real composition many times and prints, per change, the time of each stage and the
// process's memory and GUI object counts.
//
//   dioramix_bench.exe --env <env.ini> --photos <folder> [--screen 1920x1080] [--monitors 1] [--count 200]
//                      [--workdir <folder>] [--no-set] [--alternate-mask]
//
// --alternate-mask draws every second change through the masked stage and the others through the
// unmasked effects, so that one run exercises both (the soak). With --monitors N the desktop is N
// monitors of the screen's size side by side, the first primary.
// The work folder plays the program's folder: env.ini is copied there, the effect pictures are
// copied from beside the benchmark, and Dioramix.bmp is written there.
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <atomic>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "composer/composer.h"
#include "framework/gdiplus_session.h"
#include "framework/mbstring.h"
#include "framework/system.h"
#include "state/catalogue.h"
#include "state/settings.h"

namespace {

// The real system, but with a screen (or a row of monitors) of the benchmark's choosing.
class BenchSystem final : public fw::ISystem {
public:
    BenchSystem(int width, int height, int monitors, bool setWallpaper)
        : m_width(width), m_height(height), m_monitors(monitors), m_set(setWallpaper) {}
    int Rand() override { return m_real.Rand(); }
    void SeedRandom(unsigned seed) override { m_real.SeedRandom(seed); }
    DWORD TickCount() override { return m_real.TickCount(); }
    fw::LocalDate Today() override { return m_real.Today(); }
    int ScreenWidth() override { return m_width; }
    int ScreenHeight() override { return m_height; }
    fw::WorkArea GetWorkArea() override { return {0, 0, m_width, m_height - 40}; }
    bool FileExists(const std::string& path) override { return m_real.FileExists(path); }
    void SetDesktopWallpaper(const std::string& path) override {
        if (m_set) m_real.SetDesktopWallpaper(path);
    }
    std::vector<fw::MonitorInfo> Monitors() override {
        std::vector<fw::MonitorInfo> row;
        for (int i = 0; i < m_monitors; ++i) {
            const LONG left = static_cast<LONG>(i) * m_width;
            row.push_back({RECT{left, 0, left + m_width, m_height}, RECT{left, 0, left + m_width, m_height - 40}, i == 0});
        }
        return row;
    }
    // The user's style is left alone: the benchmark does not set the wallpaper's style.
    fw::WallpaperStyle GetWallpaperStyle() override { return {}; }
    void SetWallpaperStyle(const fw::WallpaperStyle&) override {}

private:
    fw::RealSystem m_real;
    int m_width, m_height, m_monitors;
    bool m_set;
};

struct Options {
    std::string env, photos, workdir;
    int width = 1920, height = 1080, monitors = 1, count = 200;
    bool setWallpaper = true;
    bool alternateMask = false;
};

struct Memory {
    SIZE_T workingSet = 0, privateBytes = 0, peakPrivateBytes = 0;
    DWORD gdiObjects = 0, userObjects = 0;
};

Memory Measure() {
    Memory m;
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                               sizeof counters)) {
        m.workingSet = counters.WorkingSetSize;
        // Wine reports no PrivateUsage; its commit charge (PagefileUsage) is the same measure there.
        m.privateBytes = counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
        m.peakPrivateBytes = counters.PeakPagefileUsage;
    }
    m.gdiObjects = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    m.userObjects = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
    return m;
}

double Kb(SIZE_T bytes) { return static_cast<double>(bytes) / 1024.0; }

std::string ModuleFolder() { return mb::FolderOfPath(fw::ModuleFileName()); }

bool ParseOptions(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        auto next = [&]() -> std::string { return i + 1 < argc ? argv[++i] : ""; };
        if (arg == "--env") o.env = next();
        else if (arg == "--photos") o.photos = next();
        else if (arg == "--workdir") o.workdir = next();
        else if (arg == "--count") o.count = std::atoi(next().c_str());
        else if (arg == "--monitors") o.monitors = std::atoi(next().c_str());
        else if (arg == "--no-set") o.setWallpaper = false;
        else if (arg == "--alternate-mask") o.alternateMask = true;
        else if (arg == "--screen") {
            std::string size = next();
            if (std::sscanf(size.c_str(), "%dx%d", &o.width, &o.height) != 2) return false;
        } else return false;
    }
    return !o.env.empty() && !o.photos.empty() && o.count > 0 && o.width > 0 && o.height > 0 && o.monitors > 0;
}

// The program's folder for the run: env.ini and the effect pictures beside it.
std::string PrepareWorkFolder(const Options& o) {
    std::string work = o.workdir;
    if (work.empty()) {
        char temp[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, temp);
        work = std::string(temp) + "dioramix-bench";
    }
    ::CreateDirectoryA(work.c_str(), nullptr);
    ::CreateDirectoryA((work + "\\effects").c_str(), nullptr);
    std::string bin = ModuleFolder();
    for (const char* name : {"\\effects\\dropshadow.png", "\\effects\\red.png"})
        ::CopyFileA((bin + name).c_str(), (work + name).c_str(), FALSE);
    ::CopyFileA(o.env.c_str(), (work + "\\env.ini").c_str(), FALSE);
    return work;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (!ParseOptions(argc, argv, o)) {
        std::fprintf(stderr, "usage: dioramix_bench --env <env.ini> --photos <folder> [--screen WxH] [--monitors N] "
                             "[--count N] [--workdir <folder>] [--no-set] [--alternate-mask]\n");
        return 2;
    }
    fw::GdiplusSession gdiplus;
    const std::string work = PrepareWorkFolder(o);

    EnvSettings env;
    OutProgramList programs;
    ResetSettings(env);
    InitExePath(env, work + "\\Dioramix.exe");
    LoadSettings(env, programs);

    ImageCatalogue catalogue;
    ScanStatus status;
    catalogue.CommitReread(ScanFolders({o.photos}, false, status));
    const int found = static_cast<int>(catalogue.Images().size());

    BenchSystem system(o.width, o.height, o.monitors, o.setWallpaper);
    system.SeedRandom(static_cast<unsigned>(std::time(nullptr)));
    Composer composer(env, catalogue, system);
    composer.LoadSpecialDays();
    composer.LoadMasks(ModuleFolder() + "\\Masks");
    composer.RequestFreshBackground();

    using Clock = std::chrono::steady_clock;
    std::map<ComposePhase, Clock::time_point> marks;
    composer.ObservePhases([&](ComposePhase phase) { marks[phase] = Clock::now(); });
    auto ms = [&](ComposePhase from, ComposePhase to) -> double {
        if (!marks.count(from) || !marks.count(to)) return 0.0;
        return std::chrono::duration<double, std::milli>(marks[to] - marks[from]).count();
    };

    std::printf("screen %dx%d x %d, %d photos in %s, %d changes; frame %d shadow %d rotate %d mask %s overlap %d "
                "grey %d calendar %d path %d rememory %d\n",
                o.width, o.height, o.monitors, found, o.photos.c_str(), o.count, env.isframe, env.isshadow,
                env.isrotate, o.alternateMask ? "every second" : env.ismask ? "1" : "0", env.isoverlap,
                env.isbackgray, env.iscalender, env.ispath, env.rememory);
    std::printf("%6s %9s %9s %9s %9s %9s %9s %9s | %11s %11s %11s %11s %5s %5s  %s\n", "change", "backgr",
                "decode", "draw", "overlay", "encode", "setwall", "total", "ws-before", "ws-after", "priv-before",
                "priv-after", "gdi", "user", "photo");

    // The largest private bytes seen while the changes run, sampled every few milliseconds.
    std::atomic<bool> running{true};
    std::atomic<SIZE_T> sampledPeak{0};
    std::thread sampler([&] {
        while (running) {
            SIZE_T now = Measure().privateBytes;
            if (now > sampledPeak) sampledPeak = now;
            ::Sleep(2);
        }
    });

    const Memory start = Measure();
    Memory afterTenth{};
    double totals[7] = {};
    for (int i = 1; i <= o.count; ++i) {
        marks.clear();
        if (o.alternateMask) env.ismask = i % 2 == 0;
        Memory before = Measure();
        composer.ComposeWallpaper();
        Memory after = Measure();
        double t[7] = {ms(ComposePhase::Start, ComposePhase::Background),
                       ms(ComposePhase::Background, ComposePhase::Decoded),
                       ms(ComposePhase::Decoded, ComposePhase::PhotoDrawn),
                       ms(ComposePhase::PhotoDrawn, ComposePhase::Overlays),
                       ms(ComposePhase::Overlays, ComposePhase::Encoded),
                       ms(ComposePhase::Encoded, ComposePhase::WallpaperSet),
                       ms(ComposePhase::Start, ComposePhase::WallpaperSet)};
        for (int k = 0; k < 7; ++k) totals[k] += t[k];
        std::printf("%6d %9.1f %9.1f %9.1f %9.1f %9.1f %9.1f %9.1f | %9.0fKB %9.0fKB %9.0fKB %9.0fKB %5lu %5lu  %s\n",
                    i, t[0], t[1], t[2], t[3], t[4], t[5], t[6], Kb(before.workingSet), Kb(after.workingSet),
                    Kb(before.privateBytes), Kb(after.privateBytes), static_cast<unsigned long>(after.gdiObjects),
                    static_cast<unsigned long>(after.userObjects), composer.CurrentPath().c_str());
        std::fflush(stdout);
        if (i == 10) afterTenth = after;
    }
    const Memory end = Measure();
    running = false;
    sampler.join();

    std::printf("\nmean ms: background %.1f, decode %.1f, draw %.1f, overlays %.1f, encode %.1f, set %.1f, "
                "total %.1f\n",
                totals[0] / o.count, totals[1] / o.count, totals[2] / o.count, totals[3] / o.count,
                totals[4] / o.count, totals[5] / o.count, totals[6] / o.count);
    std::printf("private bytes: start %.0f KB, after change 10 %.0f KB, after change %d %.0f KB\n",
                Kb(start.privateBytes), Kb(afterTenth.privateBytes), o.count, Kb(end.privateBytes));
    std::printf("peak private bytes: %.0f KB sampled, %.0f KB reported by the system\n", Kb(sampledPeak),
                Kb(end.peakPrivateBytes));
    if (o.count < 10) return 0;
    double growth = Kb(end.privateBytes) - Kb(afterTenth.privateBytes);
    std::printf("growth since change 10: %+.0f KB (%s 1 MB)\n", growth, growth <= 1024.0 ? "within" : "BEYOND");
    return growth <= 1024.0 ? 0 : 1;
}
