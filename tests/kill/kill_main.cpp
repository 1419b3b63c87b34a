// The kill test: starts the real Dioramix.exe in a folder of its own, again and again, and kills
// it (TerminateProcess) at a random moment while it composes or while it saves (the end-session
// message makes it save). After every kill each state file must be its previous or a new version,
// whole, and the next start must come up normally; a last orderly run must end cleanly and give
// the user's wallpaper back.
//
//   dioramix_killtest.exe [--runs 100] [--seed N] [--exe <Dioramix.exe to test>]
//                         [--save-window <ms after the end-session message, default 400>]
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "composer/output.h"
#include "composer/placement.h"
#include "state/position_list.h"
#include "framework/gdiplus_session.h"
#include "framework/handles.h"
#include "framework/mbstring.h"
#include "framework/system.h"
#include "framework/safe_file.h"
#include "support/processes.h"
#include "support/temporary_files.h"
#include "support/test_support.h"

namespace {

using namespace testing_support;

const char* const kStateFiles[] = {"env.ini", "list.txt", "poslist.txt", "Dioramix.bmp"};
constexpr int kCatalogueLines = 20000;  // a list.txt of about a megabyte: its save takes a while
const char* const kPhotoNames[] = {"a.jpg", "b.png", "c.bmp", "d.webp", "e.jpeg", "f.heic", "g.webp"};
// Photos from the bad-picture corpus beside the test: WebP, animated WebP, and a HEIC that has no
// codec here and is passed over.
const std::pair<const char*, const char*> kCorpusPhotos[] = {
    {"good.webp", "d.webp"}, {"camera.jpeg", "e.jpeg"}, {"phone.heic", "f.heic"}, {"animated.webp", "g.webp"}};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

void CopyFolder(const std::string& from, const std::string& to) {
    ::CreateDirectoryA(to.c_str(), nullptr);
    WIN32_FIND_DATAA data{};
    fw::FindHandle find(::FindFirstFileA((from + "\\*").c_str(), &data));
    if (!find) return;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            ::CopyFileA((from + "\\" + data.cFileName).c_str(), (to + "\\" + data.cFileName).c_str(), FALSE);
    } while (::FindNextFileA(find.get(), &data));
}

void WritePicture(const std::string& path, int w, int h, Gdiplus::Color color, const char* format) {
    Gdiplus::Bitmap bitmap(w, h, PixelFormat24bppRGB);
    Gdiplus::Graphics(&bitmap).Clear(color);
    SaveImage(bitmap, path, format);
}

// ---- What a whole file looks like -------------------------------------------------------------

bool WholeEnvIni(const std::string& now, const std::string& before) {
    if (now.empty() || now.back() != '\n') return false;
    std::vector<std::string> lines = Lines(now);
    if (lines.empty() || lines[0] != "[DEFAULT]") return false;
    std::map<std::string, bool> keys;
    for (size_t i = 1; i < lines.size(); ++i) {
        size_t eq = lines[i].find('=');
        if (eq == std::string::npos) return false;
        keys[lines[i].substr(0, eq)] = true;
    }
    std::vector<std::string> old = Lines(before);
    for (size_t i = 1; i < old.size(); ++i)
        if (!keys.count(old[i].substr(0, old[i].find('=')))) return false;  // a key went missing
    return true;
}

bool WholeListTxt(const std::string& now, const std::string& before, const std::string& photos) {
    if (now.empty() || now.back() != '\n') return false;
    std::vector<std::string> lines = Lines(now), old = Lines(before);
    if (lines.size() < 2 || old.empty() || lines[0] != old[0] || lines[1] != "&") return false;
    for (size_t i = 2; i < lines.size(); ++i) {
        bool known = false;
        for (const char* name : kPhotoNames) known = known || lines[i] == photos + "\\" + name;
        if (!known) return false;
    }
    return true;
}

bool WholePositions(const std::string& now, const std::string& before) {
    std::vector<std::string> lines = Lines(now);
    if (lines.size() != Lines(before).size() || (!now.empty() && now.back() != '\n')) return false;
    RECT r{};
    for (const std::string& line : lines)
        if (!ParsePositionLine(line.c_str(), r)) return false;
    return true;
}

bool WholeBitmap(const std::string& now) {
    if (now.size() < 54 || now[0] != 'B' || now[1] != 'M') return false;
    auto u32 = [&](size_t at) { return *reinterpret_cast<const uint32_t*>(&now[at]); };
    auto i32 = [&](size_t at) { return *reinterpret_cast<const int32_t*>(&now[at]); };
    const int w = i32(18), h = std::abs(i32(22));
    const int bpp = *reinterpret_cast<const uint16_t*>(&now[28]);
    const size_t stride = ((static_cast<size_t>(w) * bpp / 8) + 3) & ~size_t{3};
    return u32(2) == now.size() && bpp == 24 && w == ::GetSystemMetrics(SM_CXSCREEN) &&
           h == ::GetSystemMetrics(SM_CYSCREEN) && u32(10) + stride * static_cast<size_t>(h) <= now.size();
}

// ---- The program ------------------------------------------------------------------------------

HWND WaitForWindow(HANDLE process, DWORD ms) {
    for (DWORD waited = 0; waited < ms; waited += 20) {
        if (HWND w = ::FindWindowW(nullptr, L"Dioramix")) return w;
        if (::WaitForSingleObject(process, 0) == WAIT_OBJECT_0) return nullptr;
        ::Sleep(20);
    }
    return nullptr;
}

bool WaitForNoWindow(DWORD ms) {
    for (DWORD waited = 0; waited < ms; waited += 50) {
        if (!::FindWindowW(nullptr, L"Dioramix")) return true;
        ::Sleep(50);
    }
    return false;
}

std::string RegistryWallpaper() {
    char value[1024] = {};
    DWORD size = sizeof value - 1;
    ::RegGetValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "Wallpaper", RRF_RT_REG_SZ, nullptr, value, &size);
    return value;
}

void SetRegistryWallpaper(const std::string& path) {
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    ::RegSetValueExA(key, "Wallpaper", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                     static_cast<DWORD>(path.size() + 1));
    ::RegCloseKey(key);
}

struct Folder {
    std::string path, photos, exe;
    std::string File(const char* name) const { return path + "\\" + name; }
};

Folder Prepare(const std::string& exeToTest) {
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    Folder f;
    f.path = std::string(temp) + "dioramix-kill";
    f.photos = f.path + "\\photos";
    std::string from = mb::FolderOfPath(exeToTest);
    ::CreateDirectoryA(f.path.c_str(), nullptr);
    for (const char* name : kStateFiles) ::DeleteFileA(f.File(name).c_str());
    f.exe = f.File("Dioramix.exe");
    if (!::CopyFileA(exeToTest.c_str(), f.exe.c_str(), FALSE))
        std::printf("cannot copy %s (error %lu)\n", exeToTest.c_str(), ::GetLastError());
    CopyFolder(from + "\\effects", f.path + "\\effects");
    CopyFolder(from + "\\Masks", f.path + "\\Masks");
    ::CreateDirectoryA(f.photos.c_str(), nullptr);
    WritePicture(f.photos + "\\a.jpg", 1600, 1200, Gdiplus::Color(255, 200, 60, 40), "jpeg");
    WritePicture(f.photos + "\\b.png", 800, 1000, Gdiplus::Color(255, 40, 160, 60), "png");
    WritePicture(f.photos + "\\c.bmp", 900, 600, Gdiplus::Color(255, 40, 70, 200), "bmp");
    for (const auto& [corpus, name] : kCorpusPhotos)
        ::CopyFileA((from + "\\bad-pictures\\" + corpus).c_str(), (f.photos + "\\" + name).c_str(), FALSE);
    WritePicture(f.File("user.bmp"), 64, 64, Gdiplus::Color(255, 90, 90, 90), "bmp");

    WriteFile(f.File("env.ini"),
             "[DEFAULT]\r\nisforeimg=1\r\nisframe=1\r\nisshadow=1\r\nisrotate=1\r\nisoverlap=1\r\nisbackgray=1\r\n"
             "iscalender=1\r\nispath=1\r\nchangetime=1\r\nmin_sec=1000\r\nimagepos=1\r\nisrandum=1\r\n"
             "maxwinstop=0\r\nisiptooltip=0\r\nisweekday=0\r\n");
    std::string list = f.photos + "," + std::to_string(std::size(kPhotoNames)) + "\n&\n";
    for (int i = 0; i < kCatalogueLines; ++i) list += f.photos + "\\" + kPhotoNames[i % std::size(kPhotoNames)] + "\n";
    WriteFile(f.File("list.txt"), list);
    WriteFile(f.File("poslist.txt"), "40,40,440,340\n700,80,1100,380\n300,420,700,720\n");
    return f;
}

struct Tally {
    int runs = 0, composeKills = 0, saveKills = 0, leftTemporary = 0, failures = 0;
    std::map<std::string, int> changed;
};

// Every state file's content, as a run finds it.
std::map<std::string, std::string> Snapshot(const Folder& f) {
    std::map<std::string, std::string> files;
    for (const char* name : kStateFiles) files[name] = ReadFile(f.File(name));
    return files;
}

bool CheckFiles(const Folder& f, const std::map<std::string, std::string>& before, Tally& tally, int run) {
    bool ok = true;
    for (const char* name : kStateFiles) {
        const std::string now = ReadFile(f.File(name));
        const std::string& old = before.at(name);
        if (now == old) continue;
        ++tally.changed[name];
        bool whole = std::string(name) == "env.ini"       ? WholeEnvIni(now, old)
                     : std::string(name) == "list.txt"    ? WholeListTxt(now, old, f.photos)
                     : std::string(name) == "poslist.txt" ? WholePositions(now, old)
                                                          : WholeBitmap(now);
        if (!whole) {
            std::printf("run %d: %s is torn (%zu bytes, was %zu)\n", run, name, now.size(), old.size());
            ok = false;
        }
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 100;
    unsigned seed = static_cast<unsigned>(std::time(nullptr));
    std::string exeToTest = mb::FolderOfPath(fw::ModuleFileName()) + "\\Dioramix.exe";
    unsigned saveWindow = 400;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string arg = argv[i];
        if (arg == "--runs") runs = std::atoi(argv[i + 1]);
        else if (arg == "--seed") seed = static_cast<unsigned>(std::strtoul(argv[i + 1], nullptr, 10));
        else if (arg == "--exe") exeToTest = argv[i + 1];
        else if (arg == "--save-window") saveWindow = static_cast<unsigned>(std::atoi(argv[i + 1])) + 1;
    }
    if (::FindWindowW(nullptr, L"Dioramix")) {
        std::printf("a copy of Dioramix is running already\n");
        return 2;
    }
    fw::GdiplusSession gdiplus;
    const std::string userWallpaperBefore = RegistryWallpaper();
    Folder f = Prepare(exeToTest);
    SetRegistryWallpaper(f.File("user.bmp"));
    std::mt19937 random(seed);
    std::printf("kill test: %d runs, seed %u, in %s\n", runs, seed, f.path.c_str());
    std::fflush(stdout);

    Tally tally;
    for (int run = 1; run <= runs; ++run) {
        const std::map<std::string, std::string> before = Snapshot(f);
        tally.leftTemporary += CountTemporaryFiles(f.path) > 0 ? 1 : 0;

        fw::KernelHandle process = StartProgram(f.exe, f.path);
        if (!process) {
            std::printf("run %d: the program did not start\n", run);
            ++tally.failures;
            break;
        }
        HWND window = WaitForWindow(process.get(), 30000);
        if (!window) {
            std::printf("run %d: no window: the start failed\n", run);
            ++tally.failures;
        }
        // A change a second: the random moment falls into start-up, composing or writing the picture.
        const bool whileSaving = window && (random() % 2 == 0);
        if (whileSaving) {
            ::Sleep(200 + random() % 1500);
            ::PostMessageW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
            ::Sleep(random() % saveWindow);  // a megabyte of list.txt and the rest take about 400 ms
            ++tally.saveKills;
        } else {
            ::Sleep(random() % 3000);
            ++tally.composeKills;
        }
        ::TerminateProcess(process.get(), 9);
        ::WaitForSingleObject(process.get(), 10000);
        process.reset();
        WaitForNoWindow(10000);
        ++tally.runs;
        if (!CheckFiles(f, before, tally, run)) ++tally.failures;
        if (run % 10 == 0) {
            std::printf("  %d runs, %d failures\n", run, tally.failures);
            std::fflush(stdout);
        }
    }

    // A last orderly run: starts, composes, ends through "-exit", and leaves no temporary file.
    const std::map<std::string, std::string> before = Snapshot(f);
    fw::KernelHandle process = StartProgram(f.exe, f.path);
    bool started = process && WaitForWindow(process.get(), 30000);
    ::Sleep(2500);
    if (fw::KernelHandle exiter = StartProgram(f.exe, f.path, "-exit")) ::WaitForSingleObject(exiter.get(), 20000);
    DWORD code = 1;
    bool ended = process && ::WaitForSingleObject(process.get(), 30000) == WAIT_OBJECT_0 &&
                 ::GetExitCodeProcess(process.get(), &code);
    process.reset();
    bool filesWhole = CheckFiles(f, before, tally, runs + 1);
    int temporaries = CountTemporaryFiles(f.path);
    std::string restored = RegistryWallpaper();
    SetRegistryWallpaper(userWallpaperBefore);

    std::printf("kills while composing: %d, while saving: %d; kills that left a temporary file: %d\n",
                tally.composeKills, tally.saveKills, tally.leftTemporary);
    for (const auto& [name, n] : tally.changed) std::printf("  %s replaced in %d of %d runs\n", name.c_str(), n, tally.runs + 1);
    std::printf("last run: started %s, ended %s (exit code %lu), files whole %s, temporary files left %d, "
                "wallpaper given back %s\n",
                started ? "yes" : "NO", ended ? "yes" : "NO", static_cast<unsigned long>(code), filesWhole ? "yes" : "NO",
                temporaries, restored == f.File("user.bmp") ? "yes" : ("NO: " + restored).c_str());
    const bool passed = tally.failures == 0 && started && ended && filesWhole && temporaries == 0 &&
                        restored == f.File("user.bmp");
    std::printf("kill test %s\n", passed ? "passed" : "FAILED");
    return passed ? 0 : 1;
}
