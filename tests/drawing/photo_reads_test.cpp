// Photos where users keep them: a read that fails, stalls or would download a cloud-only file
// passes the photo over, and the change goes on with other photos.
#include "drawing/composer_fixture.h"
#include "support/fake_files.h"

using namespace composer_testing;
using testing_support::FakeFiles;

namespace {

class PhotoReadsTest : public ComposerTest {
protected:
    FakeFiles files;
    ULONGLONG now = 1000;
    std::unique_ptr<PhotoSource> source;

    void SetUp() override {
        ComposerTest::SetUp();
        source = std::make_unique<PhotoSource>(files, std::chrono::milliseconds(300), [this] { return now; });
        composer->SetPhotoSource(*source);
    }
    void TearDown() override { composer.reset(); }
};

TEST_F(PhotoReadsTest, UnreadableAndCloudOnlyPhotosArePassedOverUnlessCloudPhotosAreWanted) {
    struct Case {
        const char* name;
        FakeFiles::Trouble trouble;
        bool cloudPhotos;
        bool taken;
    } cases[] = {
        {"a read that fails half-way", FakeFiles::Trouble::FailsHalfWay, false, false},
        {"a cloud-only photo, kept in the cloud", FakeFiles::Trouble::CloudOnly, false, false},
        {"a cloud-only photo, downloaded when wanted", FakeFiles::Trouble::CloudOnly, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        catalogue.Replace(catalogue.FolderEntries(), {});
        composer->RestartSelection();
        composer->RequestFreshBackground();
        const std::string troubled = AddPhoto("troubled.jpg", 400, 300, kRed, "jpeg");
        const std::string fine = AddPhoto("fine.png", 400, 300, kGreen);
        files.Make(troubled, c.trouble);
        env.cloudphotos = c.cloudPhotos ? 1 : 0;
        const int opensBefore = files.opens;

        Compose();

        EXPECT_EQ(c.taken ? troubled : fine, composer->CurrentPath());
        auto wallpaper = Wallpaper();
        ASSERT_TRUE(wallpaper);
        EXPECT_TRUE(Near(PixelOf(*wallpaper, 512, 384), Rgb(c.taken ? kRed : kGreen), 40));
        // Left in the cloud means never opened: opening would start the download.
        if (c.trouble == FakeFiles::Trouble::CloudOnly && !c.cloudPhotos) {
            EXPECT_EQ(opensBefore + 1, files.opens);
        }
    }
}

TEST_F(PhotoReadsTest, AStalledReadIsCancelledAndItsFolderRestsWhileOtherMonitorsGetPhotos) {
    system.SetMonitors({Monitor(0, 0, 1024, 768, true), Monitor(1024, 0, 1024, 768)});
    const std::string share = dir.MakeDir("share");
    const std::string stalled = share + "\\stalled.png";
    WritePicture(stalled, 400, 300, kRed);
    files.Make(stalled, FakeFiles::Trouble::Stalls);
    const std::string b = AddPhoto("b.png", 400, 300, kGreen);
    const std::string c = AddPhoto("c.png", 400, 300, kGreen);
    catalogue.Replace({share + ",1", photos + ",2"}, {stalled, b, c});

    Compose();
    EXPECT_GE(files.cancels, 1) << "the watchdog cancelled the read";
    ASSERT_EQ(2u, composer->Pictures().size());
    EXPECT_EQ(b, composer->Pictures()[0].path) << "the primary went on to the next photo";
    EXPECT_EQ(c, composer->Pictures()[1].path) << "the other monitor got its photo";

    // Resting: the share is not asked again, and the stalled photo stays in the catalogue.
    const int opens = files.opens;
    Compose();
    EXPECT_EQ(opens + 2, files.opens) << "two photos read, none from the resting share";
    EXPECT_FALSE(composer->Pictures()[0].path.empty());
    EXPECT_FALSE(composer->Pictures()[1].path.empty());
    EXPECT_EQ(3u, catalogue.Images().size());

    // Ten minutes on, the share is tried again.
    now += kStalledFolderRestMs;
    composer->RestartSelection();
    files.Make(stalled, FakeFiles::Trouble::None);
    Compose();
    EXPECT_EQ(stalled, composer->Pictures()[0].path);
}

TEST_F(PhotoReadsTest, RandomOrderPassesOverAWholeRestingFolderWithoutLosingItsPhotos) {
    env.israndum = 1;
    const std::string a = AddPhoto("a.png", 400, 300, kGreen);
    const std::string b = AddPhoto("b.png", 400, 300, kGreen);
    source->Rests().Rest(photos);

    Compose();
    EXPECT_EQ("", composer->CurrentPath()) << "every photo rests: none this time";
    EXPECT_EQ(2u, catalogue.Images().size()) << "resting photos stay for later";
    EXPECT_EQ(0, files.opens);
    EXPECT_EQ(0, composer->Selector().MissingCount()) << "resting picks are not counted as missing";
}

}  // namespace
