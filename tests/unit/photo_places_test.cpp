// Where photos live: what a folder walk takes for a photo, folders on shares that identify
// nothing, the rest of a stalled folder, and the refill that backs off from unreachable folders.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "composer/photo_file.h"
#include "framework/io_watchdog.h"
#include "state/background_scan.h"
#include "state/catalogue.h"
#include "support/fake_files.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

constexpr DWORD kRecallOnDataAccess = 0x00400000;

TEST(PhotoRulesTest, NamesAndAttributesThatAreNoPhotos) {
    struct Case {
        const wchar_t* name;
        DWORD attributes;
        bool photo;
    } cases[] = {
        {L"a.jpg", FILE_ATTRIBUTE_NORMAL, true},
        {L"a.jpg", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY, true},
        {L"a.jpg", kRecallOnDataAccess, true},  // catalogued; passed over when read, unless wanted
        {L"._a.jpg", FILE_ATTRIBUTE_NORMAL, false},  // AppleDouble, even where it is not hidden
        {L"._a.jpg", FILE_ATTRIBUTE_HIDDEN, false},
        {L"a.jpg", FILE_ATTRIBUTE_HIDDEN, false},
        {L"thumbs.jpg", FILE_ATTRIBUTE_SYSTEM, false},
        {L"_a.jpg", FILE_ATTRIBUTE_NORMAL, true},
        {L".a.jpg", FILE_ATTRIBUTE_NORMAL, true},
    };
    for (const Case& c : cases) EXPECT_EQ(c.photo, MayBePhoto(c.name, c.attributes)) << mb::Narrow(c.name);

    for (DWORD cloud : {DWORD{0x00400000}, DWORD{0x00040000}, DWORD{FILE_ATTRIBUTE_OFFLINE}})
        EXPECT_TRUE(fw::IsCloudOnly(cloud | FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_FALSE(fw::IsCloudOnly(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(fw::IsCloudOnly(INVALID_FILE_ATTRIBUTES));

    EXPECT_TRUE(fw::IsKnownFolderId({0x1234, 0x56}));
    EXPECT_FALSE(fw::IsKnownFolderId({0x1234, 0}));
    EXPECT_FALSE(fw::IsKnownFolderId({0x1234, ~0ULL}));
    EXPECT_FALSE(fw::IsKnownFolderId({0, 0x56}));
}

class FolderWalkTest : public ::testing::Test {
protected:
    ScratchDir dir;
    FakeFiles files;
    std::string root;

    void SetUp() override {
        root = dir.MakeDir("photos");
        dir.MakeDir("photos\\2024");
        dir.MakeDir("photos\\2024\\summer");
        for (const char* name : {"a.jpg", "._a.jpg", "hidden.jpg", "2024\\b.jpg", "2024\\summer\\c.jpg"})
            WriteFile(root + "\\" + name, "x");
        ::SetFileAttributesA((root + "\\hidden.jpg").c_str(), FILE_ATTRIBUTE_HIDDEN);
    }
    std::vector<std::string> Scan() {
        ScanStatus status;
        std::vector<FolderScan> scans = ScanFolders({root}, true, status, files);
        std::vector<std::string> names;
        for (const std::string& path : scans.at(0).images) names.push_back(path.substr(root.size() + 1));
        std::sort(names.begin(), names.end());
        return names;
    }
};

// AppleDouble and hidden files are not catalogued; a share that names every folder alike is
// walked whole.
TEST_F(FolderWalkTest, AppleDoubleAndHiddenFilesAreLeftOutAndAShareNamingEveryFolderAlikeIsWalkedWhole) {
    EXPECT_EQ((std::vector<std::string>{"2024\\b.jpg", "2024\\summer\\c.jpg", "a.jpg"}), Scan());
    // A share answering index 0 for every folder: the identity tells nothing, the tree is whole.
    files.sameIdentityForAll = true;
    files.identity = {0x5EED, 0};
    EXPECT_EQ((std::vector<std::string>{"2024\\b.jpg", "2024\\summer\\c.jpg", "a.jpg"}), Scan());
    files.identity = {0, 0x77};
    EXPECT_EQ(3u, Scan().size());
    // A real identity shared by every folder would be a loop back into the root, every time.
    files.identity = {0x5EED, 0x77};
    EXPECT_EQ((std::vector<std::string>{"a.jpg"}), Scan());
}

TEST(IoWatchdogTest, CancelsOnlyWhatOutlastsTheLimitAndLeavesNothingBehind) {
    ScratchDir dir;
    const std::string path = dir.File("photo.jpg");
    WriteFile(path, std::string(1000, 'x'));
    FakeFiles files;
    files.Make(path, FakeFiles::Trouble::Stalls);
    {
        fw::IoWatchdog watchdog(files, std::chrono::milliseconds(200));
        DWORD error = 0, read = 0;
        fw::FileHandle file = files.OpenForReading(mb::Widen(path), error);
        ASSERT_TRUE(file);
        char buffer[16];
        {
            fw::IoWatchdog::Watch quick(watchdog);
            EXPECT_FALSE(quick.Expired());
        }
        EXPECT_EQ(0, files.cancels.load()) << "a call within the limit is left alone";

        const DWORD started = ::GetTickCount();
        bool ok = true;
        bool expired = false;
        {
            fw::IoWatchdog::Watch stalled(watchdog);
            ok = files.Read(file.get(), buffer, sizeof buffer, read, error);
            expired = stalled.Expired();
        }
        EXPECT_FALSE(ok);
        EXPECT_TRUE(expired);
        EXPECT_EQ(static_cast<DWORD>(ERROR_OPERATION_ABORTED), error);
        EXPECT_GE(::GetTickCount() - started, 150u);
        EXPECT_EQ(0u, watchdog.ActiveWatches());
    }  // the watchdog's thread is joined here; a hang fails the test by its timeout
    EXPECT_GE(files.cancels.load(), 1);
}

TEST(CloudOnlyCountTest, FollowsTheListedFoldersThroughAddsAndRereads) {
    ImageCatalogue catalogue;
    catalogue.CommitAdd({"c:\\onedrive\\pictures", {"c:\\onedrive\\pictures\\a.jpg", "c:\\onedrive\\pictures\\b.jpg"}, 2});
    catalogue.CommitAdd({"d:\\photos", {"d:\\photos\\c.jpg"}, 0});
    EXPECT_EQ(2, catalogue.CloudOnlyCount());
    // The cloud folder emptied: a re-read drops it, and its count with it.
    catalogue.CommitReread({{"C:\\OneDrive\\Pictures", {}, 0}, {"d:\\photos", {"d:\\photos\\c.jpg"}, 1}});
    EXPECT_EQ(1, catalogue.CloudOnlyCount());
}

TEST(StalledFolderTest, RestsTheListedFolderOrTheShareOrDriveForTenMinutes) {
    const std::vector<std::string> listed = {"d:\\photos", "\\\\nas\\pics\\2024"};
    EXPECT_EQ("d:\\photos", StalledFolderOf("D:\\Photos\\trip\\a.jpg", listed));
    EXPECT_EQ("\\\\nas\\pics\\2024", StalledFolderOf("\\\\NAS\\pics\\2024\\a.jpg", listed));
    EXPECT_EQ("\\\\nas\\other", StalledFolderOf("\\\\nas\\other\\x\\a.jpg", listed));
    EXPECT_EQ("e:", StalledFolderOf("e:\\usb\\a.jpg", listed));

    ULONGLONG now = 5000;
    FolderRests rests([&now] { return now; });
    rests.Rest("\\\\nas\\pics");
    EXPECT_TRUE(rests.IsResting("\\\\NAS\\Pics\\2024\\a.jpg"));
    EXPECT_FALSE(rests.IsResting("\\\\nas\\pictures\\a.jpg"));
    EXPECT_FALSE(rests.IsResting("d:\\photos\\a.jpg"));
    now += kStalledFolderRestMs - 1;
    EXPECT_TRUE(rests.IsResting("\\\\nas\\pics\\a.jpg"));
    now += 1;
    EXPECT_FALSE(rests.IsResting("\\\\nas\\pics\\a.jpg"));
}

TEST(RefillBackoffTest, ARefillThatReachesNoFolderWaitsTenMinutesBeforeWalkingAgain) {
    ScratchDir dir;
    ULONGLONG now = 1;
    auto refillOnce = [&](BackgroundRefill& refill) {
        if (!refill.Start()) return false;
        for (int i = 0; i < 500 && !refill.Poll(); ++i) ::Sleep(10);
        return true;
    };

    ImageCatalogue unreachable;
    unreachable.Replace({dir.File("gone") + ",3", dir.File("pulled-drive") + ",2"}, {});
    BackgroundRefill refill(unreachable, [&now] { return now; });
    ASSERT_TRUE(refillOnce(refill));
    EXPECT_FALSE(refill.Start()) << "backs off";
    now += kUnreachableRefillRestMs - 1;
    EXPECT_FALSE(refill.Start());
    now += 1;
    EXPECT_TRUE(refillOnce(refill)) << "tries again after the rest";

    // A folder that answers but holds no photo is no reason to wait.
    ImageCatalogue empty;
    empty.Replace({dir.MakeDir("empty") + ",0"}, {});
    BackgroundRefill emptyRefill(empty, [&now] { return now; });
    ASSERT_TRUE(refillOnce(emptyRefill));
    EXPECT_TRUE(refillOnce(emptyRefill));
}

}  // namespace
