// Folder edits committed after their scans: on the list they began from, and on a list that was
// edited meanwhile (another settings window), in the order they were begun.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/mbstring.h"
#include "state/folder_edit.h"
#include "support/catalogue_steps.h"
#include "support/test_support.h"

namespace {

using namespace testing_support;

class FolderEditTest : public ::testing::Test {
protected:
    ScratchDir dir;
    ImageCatalogue catalogue;
    std::string a, b, c;

    void SetUp() override {
        a = Folder("a", 2);
        b = Folder("b", 1);
        c = Folder("c", 3);
        ASSERT_TRUE(testing_support::AddFolder(catalogue, a));
        ASSERT_TRUE(testing_support::AddFolder(catalogue, b));
    }
    std::string Folder(const std::string& name, int images) {
        std::string folder = mb::ToLower(dir.MakeDir(name));
        for (int i = 0; i < images; ++i) WriteFile(folder + "\\p" + std::to_string(i) + ".jpg", "x");
        return folder;
    }
    static std::vector<FolderScan> Scan(const std::vector<std::string>& folders) {
        ScanStatus status;
        return ScanFolders(folders, false, status);
    }
    // The edit as a page begins it on the catalogue as it is now, with a scan running.
    FolderEdit Begin(FolderEditKind kind, const std::string& folder, std::vector<std::string> toScan) const {
        FolderEdit edit;
        edit.kind = kind;
        edit.folder = folder;
        edit.listBefore = catalogue.FolderEntries();
        edit.scan = std::make_unique<BackgroundScan>(std::move(toScan), false);
        return edit;
    }
    static void WaitFor(const BackgroundScan& scan) {
        for (int i = 0; i < 1000 && !scan.Finished(); ++i) ::Sleep(5);
        ASSERT_TRUE(scan.Finished());
    }
};

TEST_F(FolderEditTest, CommitsOnTheListTheyBeganFromAndOnOneEditedMeanwhile) {
    struct Case {
        const char* name;
        FolderEditKind kind;
        std::string folder;                        // added or removed
        std::vector<std::string> scanned;          // what its scan read
        std::function<void()> meanwhile;           // another edit committed before it
        bool changed;
        std::vector<std::string> listAfter;
        size_t imagesAfter;
    };
    const std::string ae = a + ",2", be = b + ",1", ce = c + ",3";
    auto removeB = [&] { testing_support::RemoveFolder(catalogue, 1); };
    auto addC = [&] { testing_support::AddFolder(catalogue, c); };
    const Case cases[] = {
        {"add", FolderEditKind::Add, c, {c}, nullptr, true, {ae, be, ce}, 6},
        {"add after a removal", FolderEditKind::Add, c, {c}, removeB, true, {ae, ce}, 5},
        {"add of a folder listed meanwhile", FolderEditKind::Add, c, {c}, addC, false, {ae, be, ce}, 6},
        {"removal", FolderEditKind::Remove, b, {a}, nullptr, true, {ae}, 2},
        {"removal after an add", FolderEditKind::Remove, b, {a}, addC, true, {ae, ce}, 5},
        {"re-read", FolderEditKind::Reread, "", {a, b}, nullptr, true, {ae, be}, 3},
        {"stale re-read", FolderEditKind::Reread, "", {a, b}, addC, false, {ae, be, ce}, 6},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        catalogue = ImageCatalogue();
        ASSERT_TRUE(testing_support::AddFolder(catalogue, a));
        ASSERT_TRUE(testing_support::AddFolder(catalogue, b));
        FolderEdit edit{k.kind, k.folder, catalogue.FolderEntries(), nullptr};
        if (k.meanwhile) k.meanwhile();
        EXPECT_EQ(k.changed, CommitFolderEdit(catalogue, edit, Scan(k.scanned)));
        EXPECT_EQ(k.listAfter, catalogue.FolderEntries());
        EXPECT_EQ(k.imagesAfter, catalogue.Images().size());
    }
}

TEST_F(FolderEditTest, AdoptedEditsCommitInOrderOnceScannedAndFailedOnesLeaveTheListsWhole) {
    const std::vector<std::string> before = catalogue.FolderEntries(), imagesBefore = catalogue.Images();
    AdoptedFolderEdits adopted;
    EXPECT_FALSE(adopted.CommitFinished(catalogue)) << "nothing adopted";

    // A cancelled scan (the program ended it) commits nothing.
    FolderEdit cancelled = Begin(FolderEditKind::Add, c, {c});
    cancelled.scan->Cancel();
    WaitFor(*cancelled.scan);
    adopted.Adopt(std::move(cancelled));
    EXPECT_FALSE(adopted.CommitFinished(catalogue));
    EXPECT_TRUE(adopted.Empty());
    EXPECT_EQ(before, catalogue.FolderEntries());
    EXPECT_EQ(imagesBefore, catalogue.Images());

    // An add, then a removal begun on the same list: both stand, in that order.
    adopted.Adopt(Begin(FolderEditKind::Add, c, {c}));
    adopted.Adopt(Begin(FolderEditKind::Remove, a, {b}));
    for (int i = 0; i < 1000 && !adopted.Empty(); ++i) {
        adopted.CommitFinished(catalogue);
        ::Sleep(5);
    }
    EXPECT_TRUE(adopted.Empty());
    EXPECT_EQ((std::vector<std::string>{b + ",1", c + ",3"}), catalogue.FolderEntries());
    EXPECT_EQ(4u, catalogue.Images().size());
}

}  // namespace
