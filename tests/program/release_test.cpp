// What a user's Windows sees of the built program besides its windows: the version in the
// file's properties, and the dump a crash leaves behind.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/mbstring.h"
#include "program/program_fixture.h"
#include "resource.h"
#include "support/test_support.h"
#include "version.h"

namespace {

using namespace program_testing;

class VersionResource : public ::testing::Test {
protected:
    std::string block;

    void SetUp() override {
        const std::wstring exe = mb::Widen(testing_support::BinDir() + "\\Dioramix.exe");
        DWORD ignored = 0;
        const DWORD size = ::GetFileVersionInfoSizeW(exe.c_str(), &ignored);
        ASSERT_NE(0u, size) << "Dioramix.exe has no version resource";
        block.resize(size);
        ASSERT_TRUE(::GetFileVersionInfoW(exe.c_str(), 0, size, block.data()));
    }

    // The program's resources, read without running it.
    static HMODULE LoadProgramAsData() {
        return ::LoadLibraryExW(mb::Widen(testing_support::BinDir() + "\\Dioramix.exe").c_str(), nullptr,
                                LOAD_LIBRARY_AS_DATAFILE);
    }
    std::wstring Text(const wchar_t* name) {
        void* value = nullptr;
        UINT length = 0;
        const std::wstring key = std::wstring(L"\\StringFileInfo\\041204b0\\") + name;
        if (!::VerQueryValueW(block.data(), key.c_str(), &value, &length) || length == 0) return L"(missing)";
        return static_cast<const wchar_t*>(value);
    }
};

TEST_F(VersionResource, PropertiesShowTheProjectVersionAndNames) {
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_EQ(sizeof(VS_FIXEDFILEINFO), length);
    EXPECT_EQ(VS_FFI_SIGNATURE, fixed->dwSignature);
    EXPECT_EQ(static_cast<DWORD>(MAKELONG(DIORAMIX_VERSION_MINOR, DIORAMIX_VERSION_MAJOR)), fixed->dwFileVersionMS);
    EXPECT_EQ(0u, fixed->dwFileVersionLS);
    EXPECT_EQ(fixed->dwFileVersionMS, fixed->dwProductVersionMS);
    EXPECT_EQ(static_cast<DWORD>(VFT_APP), fixed->dwFileType);

    EXPECT_EQ(DIORAMIX_VERSION_WIDE, Text(L"FileVersion"));
    EXPECT_EQ(DIORAMIX_VERSION_WIDE, Text(L"ProductVersion"));
    EXPECT_EQ(L"Dioramix", Text(L"ProductName"));
    EXPECT_EQ(L"Dioramix \uBC14\uD0D5\uD654\uBA74 \uBCC0\uACBD\uAE30", Text(L"FileDescription"));  // 바탕화면 변경기
    EXPECT_EQ(L"(C) 2026 The Dioramix project", Text(L"LegalCopyright"));
    EXPECT_EQ(L"Dioramix.exe", Text(L"OriginalFilename"));

    // The about box's version is the same string resource the program loads.
    HMODULE program = LoadProgramAsData();
    ASSERT_NE(nullptr, program);
    wchar_t aboutVersion[32] = {};
    ::LoadStringW(program, 102, aboutVersion, 32);
    ::FreeLibrary(program);
    EXPECT_STREQ(DIORAMIX_VERSION_WIDE, aboutVersion);
}

// The widths of an icon group's pictures, in their order (0 stands for 256).
std::vector<int> IconGroupSizes(HMODULE program, int id) {
    HRSRC found = ::FindResourceW(program, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
    if (!found) return {};
    const auto* group = static_cast<const BYTE*>(::LockResource(::LoadResource(program, found)));
    WORD count = 0;
    std::memcpy(&count, group + 4, 2);  // after reserved and type; then 14-byte entries, width first
    std::vector<int> sizes;
    for (WORD i = 0; i < count; ++i) sizes.push_back(group[6 + 14 * i]);
    return sizes;
}

// Sharp icons wherever Windows draws them (the tray at 125-175 %, the Start menu, Explorer's
// large views), and a manifest that names every supported Windows, 8 included.
TEST_F(VersionResource, IconsServeEveryScaleAndTheManifestNamesEverySystem) {
    HMODULE program = LoadProgramAsData();
    ASSERT_NE(nullptr, program);
    EXPECT_EQ((std::vector<int>{16, 20, 24, 32, 40, 48, 64, 0}), IconGroupSizes(program, IDR_MAINFRAME));
    for (int id : {IDI_TRAY, IDI_PAUSE_MARK, IDI_WEEKDAY_SUNDAY, IDI_WEEKDAY_SUNDAY + 6})
        EXPECT_EQ((std::vector<int>{16, 20, 24, 32, 40, 48}), IconGroupSizes(program, id)) << "icon " << id;

    HRSRC found = ::FindResourceW(program, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));  // RT_MANIFEST
    ASSERT_NE(nullptr, found);
    const std::string manifest(static_cast<const char*>(::LockResource(::LoadResource(program, found))),
                               ::SizeofResource(program, found));
    for (const char* system : {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
                               "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})
        EXPECT_NE(std::string::npos, manifest.find(system)) << system;
    ::FreeLibrary(program);
}

// Whether the bytes are a minidump, and the code of the exception it records.
struct DumpSummary {
    bool valid = false;
    DWORD exceptionCode = 0;
};

DumpSummary ReadDump(const std::string& bytes) {
    DumpSummary summary;
    auto u32 = [&](size_t at) {
        DWORD v = 0;
        if (at + 4 <= bytes.size()) std::memcpy(&v, bytes.data() + at, 4);
        return v;
    };
    if (bytes.size() < 32 || bytes.compare(0, 4, "MDMP") != 0) return summary;
    summary.valid = true;
    const DWORD streams = u32(8), directory = u32(12);
    for (DWORD i = 0; i < streams; ++i) {
        const size_t entry = directory + i * 12;
        if (u32(entry) == 6)  // the exception stream: thread id, alignment, then the record's code
            summary.exceptionCode = u32(u32(entry + 8) + 8);
    }
    return summary;
}

std::string OnlyDumpIn(const std::string& folder) {
    std::string found;
    int count = 0;
    WIN32_FIND_DATAA data{};
    fw::FindHandle find(::FindFirstFileA((folder + "\\Dioramix-crash-*.dmp").c_str(), &data));
    if (!find) return "";
    do {
        ++count;
        found = folder + "\\" + data.cFileName;
    } while (::FindNextFileA(find.get(), &data));
    return count == 1 ? found : "";
}

class CrashingProgram : public ProgramTest {
protected:
    wchar_t priorWallpaper[MAX_PATH] = {};
    void SetUp() override {
        ProgramTest::SetUp();
        ::SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, priorWallpaper, 0);
    }
    void TearDown() override {
        // A crash cannot give the wallpaper back; the next tests expect the one they started with.
        ::SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, priorWallpaper, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
        ProgramTest::TearDown();
    }
};

// A thread started at an address where there is no code: an access violation that nothing in
// the program handles, as a crash on a user's machine would be.
TEST_F(CrashingProgram, UnhandledExceptionLeavesAMinidumpInTheDataFolder) {
    fw::KernelHandle process = Start();
    ASSERT_TRUE(process);
    ASSERT_TRUE(WaitForStartUp(process, 30000));
    EXPECT_EQ("", OnlyDumpIn(dir.path()));

    fw::KernelHandle thread(::CreateRemoteThread(process.get(), nullptr, 0,
                                                 reinterpret_cast<LPTHREAD_START_ROUTINE>(0x10), nullptr, 0, nullptr));
    ASSERT_TRUE(thread);
    ASSERT_TRUE(Ended(process, 30000)) << "the crash must end the program";

    const std::string dump = OnlyDumpIn(dir.path());
    ASSERT_NE("", dump) << "no dump in the data folder";
    const std::string bytes = testing_support::ReadFile(dump);
    const DumpSummary summary = ReadDump(bytes);
    EXPECT_TRUE(summary.valid);
    EXPECT_EQ(static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION), summary.exceptionCode);
    EXPECT_LT(bytes.size(), 4u * 1024 * 1024) << "a small dump, not the whole memory";
}

}  // namespace
