#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "framework/handles.h"
#include "framework/mbstring.h"
#include "state/background_scan.h"
#include "state/catalogue.h"
#include "support/catalogue_steps.h"
#include "support/test_support.h"

using namespace testing_support;

namespace {

class CatalogueTest : public ::testing::Test {
protected:
    ScratchDir dir;
    ImageCatalogue catalogue;
    std::vector<FolderMessage> messages;

    // The rules as the path page meets them, their messages noted in order.
    bool AddFolder(ImageCatalogue& target, const std::string& chosen) {
        return testing_support::AddFolder(target, chosen, &messages);
    }
    std::string Check(const std::string& chosen) {
        FolderCheck check = catalogue.CheckNewFolder(chosen);
        messages.insert(messages.end(), check.messages.begin(), check.messages.end());
        return check.folder;
    }
    // A folder below the scratch dir with empty files of the given names.
    std::string Folder(const std::string& relative, std::initializer_list<const char*> files) {
        std::string folder = dir.MakeDir(relative);
        for (const char* name : files) WriteFile(folder + "\\" + name, "x");
        return folder;
    }
    std::string Lower(const std::string& s) { return mb::ToLower(s); }
    static std::string Upper(std::string s) {
        for (char& c : s) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        return s;
    }
    bool Has(const std::string& path) {
        return std::find(catalogue.Images().begin(), catalogue.Images().end(), path) !=
               catalogue.Images().end();
    }
    // The catalogued paths below `root`, without it, sorted.
    std::vector<std::string> NamesBelow(const std::string& root) const {
        std::vector<std::string> names;
        for (const std::string& path : catalogue.Images())
            if (path.rfind(root + "\\", 0) == 0) names.push_back(path.substr(root.size() + 1));
        std::sort(names.begin(), names.end());
        return names;
    }
    // Scans the folder into the catalogue, as a refill does; `steps` gets the entries it walked.
    int ScanCountingSteps(const std::string& folder, int& steps) {
        ScanStatus status;
        std::vector<FolderScan> scans = ScanFolders({folder}, false, status);
        steps = status.steps;
        const std::vector<std::string>& images = scans.at(0).images;
        catalogue.AddImages(images);
        return static_cast<int>(images.size());
    }
};

// Double-byte names ending in bytes that read like letters are no images.
TEST_F(CatalogueTest, ImageExtensionsFollowTheLastDotInAnyCaseAndWholeCharacters) {
    for (const char* ext : {"jpg", "jpeg", "jpe", "jfif", "bmp", "dib", "gif", "png", "tif", "tiff", "webp", "heic",
                            "heif", "avif"}) {
        SCOPED_TRACE(ext);
        EXPECT_TRUE(HasImageExtension(std::string("c:\\photos\\a.") + ext));
        EXPECT_TRUE(HasImageExtension(std::string("b.") + Upper(ext)));
        EXPECT_TRUE(HasImageExtension(std::string("trip.2024.") + ext));
        EXPECT_FALSE(HasImageExtension(std::string("photo") + ext));  // no dot: no image
        EXPECT_FALSE(HasImageExtension(std::string("a.") + ext + "x"));
        EXPECT_FALSE(HasImageExtension(std::string("a.") + ext + ".txt"));
    }
    EXPECT_TRUE(HasImageExtension("a.JpEg"));
    for (const char* name : {"", "png", ".", "a.", "a.pn", "a.jp g", "c:\\my.jpg\\readme", "c:\\x.png\\photo",
                             "a.svg", "a.jxl", "a.raw"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(HasImageExtension(name));
    }
    // "\x81" leads a double-byte character whose trail byte is the letter 'j':
    // the bytes after the dot read "jpg" only when the dot is taken apart from its character.
    EXPECT_FALSE(HasImageExtension("\xB1\xE8\xC4\xA1\x81jpg"));   // "김치" + a character, then "pg"
    EXPECT_FALSE(HasImageExtension("\xBB\xE7\xC1\xF8.\x81jpg"));  // 사진.<character>pg
    EXPECT_FALSE(HasImageExtension("\xBB\xE7\xC1\xF8.\x81png"));
    EXPECT_TRUE(HasImageExtension("\xBB\xE7\xC1\xF8.jpg"));          // 사진.jpg
    EXPECT_TRUE(HasImageExtension("\xC7\xCF\xB4\xC3.WEBP"));        // 하늘.WEBP
}

TEST_F(CatalogueTest, ScanTakesImagesOfSubfoldersHiddenOnesIncluded) {
    std::string root = Folder("photos", {"a.JPG", "b.jpeg", "c.tiff", "xjpg", "notes.txt"});
    Folder("photos\\phone", {"e.HEIC", "f.webp", "g.avif", "h.Jfif", "i.webp.txt"});
    Folder("photos\\sub", {"d.png"});
    std::string hidden = Folder("photos\\secret", {"e.gif"});
    ::SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);

    int steps = 0;
    EXPECT_EQ(9, ScanCountingSteps(root, steps));
    EXPECT_EQ((std::vector<std::string>{"a.JPG", "b.jpeg", "c.tiff", "phone\\e.HEIC", "phone\\f.webp", "phone\\g.avif",
                                        "phone\\h.Jfif", "secret\\e.gif", "sub\\d.png"}),
              NamesBelow(root));
    // Every entry steps the bar once, "." and ".." included, as many steps as counted.
    EXPECT_EQ(CountEntries(root), steps);
    EXPECT_EQ(12 + 3 + 8, steps);  // 12 files, 3 folders, and "." ".." in each of the four
    EXPECT_EQ(9, ScanFolder(catalogue, root));
    EXPECT_EQ(18u, catalogue.Images().size());  // appended at the tail
}

TEST_F(CatalogueTest, AScanCountsEachFolderBeforeItWalksIt) {
    std::string first = Folder("first", {"a.jpg", "b.jpg", "c.txt"});
    std::string second = Folder("second", {"d.png"});
    ScanStatus status;
    std::vector<FolderScan> scans = ScanFolders({first, dir.File("gone"), second}, true, status);
    ASSERT_EQ(3u, scans.size());
    EXPECT_EQ(first, scans[0].folder);
    EXPECT_EQ((std::vector<std::string>{first + "\\a.jpg", first + "\\b.jpg"}), [&] {
        std::vector<std::string> sorted = scans[0].images;
        std::sort(sorted.begin(), sorted.end());
        return sorted;
    }());
    EXPECT_TRUE(scans[1].images.empty());
    EXPECT_EQ(1u, scans[2].images.size());
    // The status tells of the last folder: counted, then walked to its end.
    EXPECT_EQ(2, status.folder);
    EXPECT_FALSE(status.counting);
    EXPECT_EQ(CountEntries(second), status.range);
    EXPECT_EQ(status.range, status.steps);

    ScanStatus cancelled;
    cancelled.cancelled = true;
    EXPECT_TRUE(ScanFolders({first, second}, true, cancelled).empty());

    EXPECT_EQ(0, ScanFolder(catalogue, dir.File("gone")));
    EXPECT_EQ(0, ScanFolder(catalogue, ""));  // would otherwise walk the drive's root
    EXPECT_EQ(0, CountEntries(""));
    EXPECT_TRUE(catalogue.Images().empty());
}

// The list file round-trips, and holds the images only with folders to scan them from again.
TEST_F(CatalogueTest, TheListFileRoundTripsAndIsWrittenOnlyWithFolders) {
    catalogue.Replace({"c:\\photos,2", "d:\\pics\\travel,1"},
                      {"c:\\photos\\a.jpg", "c:\\photos\\b.jpg", "d:\\pics\\travel\\c.png"});
    catalogue.SaveImageList(dir.path());
    EXPECT_EQ("c:\\photos,2\r\nd:\\pics\\travel,1\r\n&\r\nc:\\photos\\a.jpg\r\nc:\\photos\\b.jpg\r\n"
              "d:\\pics\\travel\\c.png\r\n",
              ReadFile(dir.File("list.txt")));

    ImageCatalogue loaded;
    EXPECT_EQ(3, loaded.LoadImageList(dir.path()));
    EXPECT_EQ(catalogue.FolderEntries(), loaded.FolderEntries());
    EXPECT_EQ(catalogue.Images(), loaded.Images());

    // The first start writes only the separator.
    ImageCatalogue first;
    EXPECT_EQ(0, first.LoadImageList(dir.File("none")));
    EXPECT_TRUE(first.FolderEntries().empty());
    first.SaveImageList(dir.path());
    EXPECT_EQ("&\r\n", ReadFile(dir.File("list.txt")));

    catalogue.Replace({}, {"c:\\photos\\a.jpg"});
    catalogue.SaveImageList(dir.path());
    EXPECT_EQ(std::vector<std::string>{"&"}, ReadLines(dir.File("list.txt")));

    catalogue.Replace({"c:\\photos,1"}, {});
    catalogue.SaveImageList(dir.path());
    EXPECT_EQ((std::vector<std::string>{"c:\\photos,1", "&"}), ReadLines(dir.File("list.txt")));

    ::DeleteFileA(dir.File("list.txt").c_str());
    dir.MakeDir("list.txt");  // a folder where the file should be: left alone
    catalogue.SaveImageList(dir.path());
    EXPECT_EQ(0, catalogue.LoadImageList(dir.path()));
}

TEST_F(CatalogueTest, LongLinesArriveInPiecesOf259BytesAndAFileWithoutSeparatorGivesFoldersOnly) {
    std::string long259(259, 'a'), long300(300, 'b');
    WriteFile(dir.File("list.txt"), "f,1\n&\n" + long259 + "\n" + long300 + "\nlast\n");
    EXPECT_EQ(5, catalogue.LoadImageList(dir.path()));
    EXPECT_EQ((std::vector<std::string>{long259, "", std::string(259, 'b'), std::string(41, 'b'), "last"}),
              catalogue.Images());

    WriteFile(dir.File("list.txt"), "c:\\a,1\r\nc:\\b\r\n");
    ImageCatalogue foldersOnly;
    EXPECT_EQ(0, foldersOnly.LoadImageList(dir.path()));
    EXPECT_EQ((std::vector<std::string>{"c:\\a,1", "c:\\b"}), foldersOnly.FolderEntries());
    EXPECT_TRUE(foldersOnly.Images().empty());
}

// The rules answer with the folder to scan and their messages in the order they met them; the
// path page shows them and clears its selection when the folder was refused as listed.
TEST_F(CatalogueTest, TheRulesAnswerWithTheFolderToScanAndTheirMessagesInOrder) {
    using M = FolderMessage;
    struct Case {
        const char* name;
        std::vector<std::string> listed;
        std::string chosen;
        std::string folder;
        std::vector<M> messages;
        bool refusedAsListed;
        std::vector<std::string> listedAfter;
    } cases[] = {
        {"a root", {"c:\\photos,2"}, "D:\\", "", {M::RootFolder}, false, {"c:\\photos,2"}},
        {"listed in other capitals", {"c:\\photos,2"}, "C:\\Photos", "", {M::SameName}, true, {"c:\\photos,2"}},
        {"inside a listed one", {"c:\\photos,2"}, "c:\\photos\\2005", "", {M::AlreadyIncluded}, true,
         {"c:\\photos,2"}},
        {"only a shared prefix", {"c:\\photos,2"}, "C:\\Photo", "c:\\photo", {}, false, {"c:\\photos,2"}},
        {"two inside it, one message", {"c:\\photos\\a,1", "d:\\x,1", "c:\\photos\\b,1"}, "c:\\Photos", "c:\\photos",
         {M::TidiedUp}, false, {"c:\\photos\\a,1", "d:\\x,1", "c:\\photos\\b,1"}},
        {"a tidy-up a later entry stops", {"c:\\photos\\a,1", "c:\\photos,2"}, "c:\\photos", "",
         {M::TidiedUp, M::SameName}, true, {"c:\\photos,2"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        catalogue.Replace(c.listed, {});
        const FolderCheck check = catalogue.CheckNewFolder(c.chosen);
        EXPECT_EQ(c.folder, check.folder);
        EXPECT_EQ(c.messages, check.messages);
        EXPECT_EQ(c.refusedAsListed, check.RefusedAsListed());
        EXPECT_EQ(c.listedAfter, catalogue.FolderEntries()) << "an accepted folder is listed only when committed";
    }
}

// Roots, empty paths, the same folder in any letter case and a folder inside a listed one are
// refused; a folder sharing only a prefix with a listed one is taken.
TEST_F(CatalogueTest, AddStoresTheFolderLowerCasedWithItsCountAndRefusesWhatTheRulesRefuse) {
    std::string photos = Folder("Photos", {"A.jpg", "b.png"});
    std::string year = Folder("Photos\\2005", {"c.jpg"});
    std::string photo = Folder("Photo", {"d.jpg"});
    EXPECT_TRUE(AddFolder(catalogue, photos));
    EXPECT_EQ(std::vector<std::string>{Lower(photos) + ",3"}, catalogue.FolderEntries());
    EXPECT_TRUE(Has(Lower(photos) + "\\A.jpg"));
    EXPECT_TRUE(messages.empty());

    for (const std::string& refused : {std::string("C:\\"), std::string(), Upper(photos), year})
        EXPECT_FALSE(AddFolder(catalogue, refused)) << refused;
    using M = FolderMessage;
    EXPECT_EQ((std::vector<M>{M::RootFolder, M::RootFolder, M::SameName, M::AlreadyIncluded}), messages);
    EXPECT_EQ(1u, catalogue.FolderEntries().size());
    EXPECT_EQ(3u, catalogue.Images().size());

    EXPECT_TRUE(AddFolder(catalogue, photo));
    EXPECT_EQ(4u, messages.size()) << "no message for a shared prefix";
    EXPECT_EQ((std::vector<std::string>{Lower(photos) + ",3", Lower(photo) + ",1"}), catalogue.FolderEntries());
}

TEST_F(CatalogueTest, AddOfAnOuterFolderTidiesUpTheInnerOnesOnce) {
    std::string photos = Folder("photos", {"top.jpg"});
    std::string y2005 = Folder("photos\\2005", {"a.jpg", "b.jpg"});
    std::string y2006 = Folder("photos\\2006", {"c.jpg"});
    std::string other = Folder("other", {"o.jpg"});
    ASSERT_TRUE(AddFolder(catalogue, y2005));
    ASSERT_TRUE(AddFolder(catalogue, other));
    ASSERT_TRUE(AddFolder(catalogue, y2006));
    EXPECT_TRUE(AddFolder(catalogue, photos));

    EXPECT_EQ(std::vector<FolderMessage>{FolderMessage::TidiedUp}, messages);
    EXPECT_EQ((std::vector<std::string>{Lower(other) + ",1", Lower(photos) + ",4"}), catalogue.FolderEntries());
    // Each image once, the new folder's at the tail.
    EXPECT_EQ(5u, catalogue.Images().size());
    EXPECT_EQ(Lower(other) + "\\o.jpg", catalogue.Images().front());
    for (const char* name : {"\\2005\\a.jpg", "\\2005\\b.jpg", "\\2006\\c.jpg", "\\top.jpg"})
        EXPECT_EQ(1, std::count(catalogue.Images().begin(), catalogue.Images().end(), Lower(photos) + name))
            << name;
}

// The rules decide and speak before the scan; the lists change only when the scan is committed,
// so a scan that is dropped leaves them as they were.
TEST_F(CatalogueTest, TheRulesChangeNothingUntilTheScanIsCommitted) {
    std::string photos = Folder("photos", {"top.jpg"});
    std::string inner = Folder("photos\\inner", {"a.jpg"});
    std::string other = Folder("other", {"o.jpg"});
    ASSERT_TRUE(AddFolder(catalogue, inner));
    ASSERT_TRUE(AddFolder(catalogue, other));
    const std::vector<std::string> paths = catalogue.FolderEntries(), images = catalogue.Images();

    EXPECT_EQ(Lower(photos), Check(photos));
    EXPECT_EQ(std::vector<FolderMessage>{FolderMessage::TidiedUp}, messages);
    EXPECT_EQ(paths, catalogue.FolderEntries());
    EXPECT_EQ(images, catalogue.Images());

    catalogue.CommitAdd({Lower(photos), {Lower(photos) + "\\top.jpg", Lower(photos) + "\\inner\\a.jpg"}});
    EXPECT_EQ((std::vector<std::string>{Lower(other) + ",1", Lower(photos) + ",2"}), catalogue.FolderEntries());
    EXPECT_EQ((std::vector<std::string>{Lower(other) + "\\o.jpg", Lower(photos) + "\\top.jpg",
                                        Lower(photos) + "\\inner\\a.jpg"}),
              catalogue.Images());
}

// A hand-edited list may hold a folder inside another; the add stops at the listed one, and the
// tidy-up made on the way there stands.
TEST_F(CatalogueTest, AStopAfterATidyUpKeepsItsRemovals) {
    std::string photos = Folder("photos", {"a.jpg"});
    std::string inner = Folder("photos\\inner", {"b.jpg"});
    std::string later = Folder("photos\\later", {"c.jpg"});
    catalogue.Replace({inner + ",1", photos + ",2", later + ",1"},
                      {inner + "\\b.jpg", photos + "\\a.jpg", "c:\\elsewhere\\x.jpg"});
    EXPECT_EQ("", Check(photos));
    EXPECT_EQ((std::vector<FolderMessage>{FolderMessage::TidiedUp, FolderMessage::SameName}), messages);
    EXPECT_EQ((std::vector<std::string>{photos + ",2", later + ",1"}), catalogue.FolderEntries());
    EXPECT_EQ(std::vector<std::string>{"c:\\elsewhere\\x.jpg"}, catalogue.Images());
}

TEST_F(CatalogueTest, TidyUpAlsoRemovesImagesListedInAnotherLetterCase) {
    std::string photos = Folder("photos", {"a.jpg"});
    Folder("photos\\Inner", {"B.jpg"});
    // An entry as a hand-edited list.txt may hold it: capitals in the folder and the catalogue.
    catalogue.Replace({photos + "\\Inner,1"}, {photos + "\\Inner\\B.jpg"});
    EXPECT_TRUE(AddFolder(catalogue, photos));
    EXPECT_EQ(std::vector<FolderMessage>{FolderMessage::TidiedUp}, messages);
    EXPECT_EQ((std::vector<std::string>{Lower(photos) + "\\a.jpg", Lower(photos) + "\\Inner\\B.jpg"}),
              catalogue.Images());
}

TEST_F(CatalogueTest, ReloadDropsFoldersWithoutImagesRecountsAndScansOnlyTheTextBeforeAComma) {
    std::string empty = Folder("empty", {"readme.txt"});
    std::string photos = Folder("photos", {"a.jpg"});
    Folder("photos,2005", {"c.jpg"});
    ASSERT_TRUE(AddFolder(catalogue, empty));
    ASSERT_TRUE(AddFolder(catalogue, photos));
    EXPECT_EQ(Lower(empty) + ",0", catalogue.FolderEntries()[0]);  // an add keeps it

    WriteFile(photos + "\\b.jpg", "x");
    ReloadFolders(catalogue);
    EXPECT_EQ(std::vector<std::string>{Lower(photos) + ",2"}, catalogue.FolderEntries());
    EXPECT_EQ(2u, catalogue.Images().size());

    catalogue.Replace({photos + ",2005,7"}, {});
    ReloadFolders(catalogue);
    EXPECT_EQ(std::vector<std::string>{photos + ",2"}, catalogue.FolderEntries());
}

TEST_F(CatalogueTest, RemoveRebuildsFromTheRemainingFolders) {
    std::string a = Folder("a", {"1.jpg"});
    std::string b = Folder("b", {"2.jpg", "3.jpg"});
    ASSERT_TRUE(AddFolder(catalogue, a));
    ASSERT_TRUE(AddFolder(catalogue, b));
    RemoveFolder(catalogue, 0);
    EXPECT_EQ(std::vector<std::string>{Lower(b) + ",2"}, catalogue.FolderEntries());
    EXPECT_EQ(2u, catalogue.Images().size());
    RemoveFolder(catalogue, 5);  // out of range: nothing happens
    EXPECT_EQ(1u, catalogue.FolderEntries().size());
}

TEST_F(CatalogueTest, RefillKeepsTheFolderListAndItsCounts) {
    std::string a = Folder("a", {"1.jpg", "2.jpg"});
    catalogue.Replace({"," + a + ",99"}, {});  // leading commas are skipped
    catalogue.Refill();
    EXPECT_EQ(std::vector<std::string>{"," + a + ",99"}, catalogue.FolderEntries());
    EXPECT_EQ(2u, catalogue.Images().size());

    // With an owner that scans in the background, the refill is handed to it.
    catalogue.Replace(catalogue.FolderEntries(), {});
    int asked = 0;
    catalogue.HandRefillsTo([&] { ++asked; });
    catalogue.Refill();
    EXPECT_EQ(1, asked);
    EXPECT_TRUE(catalogue.Images().empty());
}

// A refill scanned in the background is taken only into the catalogue it was meant for: one that
// a re-read filled meanwhile, or whose folders changed, keeps what it has.
TEST_F(CatalogueTest, ALateRefillIsTakenOnlyIntoTheSameEmptyCatalogue) {
    catalogue.Replace({"c:\\a,1", ",c:\\b,2"}, {});
    const std::vector<std::string> folders = catalogue.RefillFolders();
    ASSERT_EQ((std::vector<std::string>{"c:\\a", "c:\\b"}), folders);
    const std::vector<FolderScan> scans = {{"c:\\a", {"c:\\a\\1.jpg"}}, {"c:\\b", {"c:\\b\\2.jpg"}}};

    catalogue.AddImages({"c:\\a\\kept.jpg"});
    EXPECT_FALSE(catalogue.CommitRefill(folders, scans));
    EXPECT_EQ(std::vector<std::string>{"c:\\a\\kept.jpg"}, catalogue.Images());

    catalogue.Replace(catalogue.FolderEntries(), {});
    EXPECT_FALSE(catalogue.CommitRefill({"c:\\a"}, scans));
    EXPECT_TRUE(catalogue.Images().empty());

    EXPECT_TRUE(catalogue.CommitRefill(folders, scans));
    EXPECT_EQ((std::vector<std::string>{"c:\\a\\1.jpg", "c:\\b\\2.jpg"}), catalogue.Images());
}

// ---- Scans in the background ----------------------------------------------------------------

// Waits until the scan has finished, up to a few seconds.
bool WaitUntil(const std::function<bool()>& done) {
    for (int waited = 0; waited < 10000 && !done(); waited += 5) ::Sleep(5);
    return done();
}

// A background scan finds what a scan here finds; a cancelled one gives nothing and ends quickly.
TEST_F(CatalogueTest, ABackgroundScanFindsWhatAScanHereFindsOrWhenCancelledNothing) {
    std::string a = Folder("a", {"1.jpg", "2.png", "x.txt"});
    Folder("a\\sub", {"3.gif"});
    std::string b = Folder("b", {"4.bmp"});
    BackgroundScan scan({a, b}, true);
    ASSERT_TRUE(WaitUntil([&] { return scan.Finished(); }));
    ASSERT_TRUE(scan.Complete());
    std::vector<FolderScan> results = scan.TakeResults();
    ASSERT_EQ(2u, results.size());
    ImageCatalogue here;
    ScanFolder(here, a);
    EXPECT_EQ(here.Images(), results[0].images);
    EXPECT_EQ(std::vector<std::string>{b + "\\4.bmp"}, results[1].images);
    EXPECT_EQ(scan.Status().range, scan.Status().steps);
    EXPECT_TRUE(scan.TakeResults().empty()) << "taken once";

    // Enough folders that the walk is still going when the cancel comes.
    std::string root = dir.MakeDir("many");
    for (int i = 0; i < 50; ++i) Folder("many\\f" + std::to_string(i), {"a.jpg", "b.jpg"});
    BackgroundScan cancelled({root}, true);
    cancelled.Cancel();
    ASSERT_TRUE(WaitUntil([&] { return cancelled.Finished(); }));
    EXPECT_FALSE(cancelled.Complete());
    EXPECT_TRUE(cancelled.TakeResults().empty());
    {
        // Dropped while it runs: the owner goes at once, the thread ends on its own.
        BackgroundScan dropped({root}, true);
    }
}

TEST_F(CatalogueTest, ABackgroundRefillFillsTheEmptyCatalogueOnce) {
    std::string a = Folder("a", {"1.jpg", "2.jpg"});
    catalogue.Replace({a + ",2"}, {});
    BackgroundRefill refill(catalogue);
    catalogue.HandRefillsTo([&] { refill.Start(); });
    catalogue.Refill();
    catalogue.Refill();  // a second change that finds the catalogue empty joins the running scan
    EXPECT_TRUE(refill.Running());
    EXPECT_TRUE(catalogue.Images().empty());
    ASSERT_TRUE(WaitUntil([&] { return refill.Poll(); }));
    EXPECT_FALSE(refill.Running());
    EXPECT_EQ(2u, catalogue.Images().size());
    EXPECT_EQ(std::vector<std::string>{a + ",2"}, catalogue.FolderEntries());

    catalogue.Replace({}, catalogue.Images());
    EXPECT_FALSE(refill.Start()) << "nothing listed, nothing to scan";
}

}  // namespace

// ---- Scans that always end and names that can always be opened ----------------------------

class CatalogueScanTest : public CatalogueTest {
protected:
    // Scans the folder into the catalogue: the walk ends after as many steps as it counted, and
    // every catalogued path opens through the narrow functions the composer uses.
    int ScanWholly(const std::string& folder) {
        int steps = 0;
        const int found = ScanCountingSteps(folder, steps);
        EXPECT_EQ(CountEntries(folder), steps);
        for (const std::string& path : catalogue.Images()) {
            EXPECT_EQ(std::string::npos, path.find('?')) << path;
            EXPECT_LE(path.size(), 258u) << path;
            EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(path.c_str())) << path;
        }
        return found;
    }
    static std::string Corpus(const std::string& relative) {
        std::string path = testing_support::BinDir() + "\\bad-pictures\\" + relative;
        return ::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES ? std::string() : path;
    }
};

TEST_F(CatalogueScanTest, TheCorpusScanEndsEveryPathOpensAndLinksBackUpTheTreeAreNotFollowed) {
    // Made by tools/make-bad-pictures as Unix symbolic links: photos\self -> ., photos\sub\up -> ..,
    // photos\sub\root -> photos (absolute), photos\across -> ..\outside, photos\dangling -> nothing.
    std::string photos = Corpus("links\\photos");
    if (photos.empty()) GTEST_SKIP() << "no bad-picture corpus: run tools/make-bad-pictures";

    EXPECT_EQ(3, ScanWholly(photos));
    // A link to a folder outside the trail is followed.
    EXPECT_EQ((std::vector<std::string>{"a.jpg", "across\\c.jpg", "sub\\b.jpg"}), NamesBelow(photos));

    std::string corpus = Corpus("");
    if (corpus.empty()) GTEST_SKIP() << "no bad-picture corpus: run tools/make-bad-pictures";
    corpus.pop_back();  // the trailing backslash
    EXPECT_GE(ScanWholly(corpus), 30);
    EXPECT_TRUE(Has(corpus + "\\" + mb::Narrow(L"\uD55C\uAE00 \uD3F4\uB354\\\uD48D\uACBD \uC0AC\uC9C4.jpg")));
}

// Folders nested past the path limit, made and removed through the wide functions: the shell's
// delete of the scratch folder must never meet them (Wine's deletes files elsewhere then).
class DeepTree {
public:
    explicit DeepTree(const std::string& folder) : m_root(L"\\\\?\\" + mb::Widen(folder)) {}
    ~DeepTree() {
        for (auto it = m_made.rbegin(); it != m_made.rend(); ++it) {
            ::DeleteFileW((*it + L"\\p.jpg").c_str());
            ::RemoveDirectoryW(it->c_str());
        }
    }
    bool GrowTo(size_t narrowLength, const std::string& name) {
        std::wstring path = m_root;
        size_t length = mb::Narrow(m_root.substr(4)).size();
        while (length < narrowLength) {
            path += L"\\" + mb::Widen(name);
            length += 1 + name.size();
            if (!::CreateDirectoryW(path.c_str(), nullptr)) return false;
            m_made.push_back(path);
            fw::FileHandle file(::CreateFileW((path + L"\\p.jpg").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
            if (!file) return false;
        }
        return true;
    }

private:
    std::wstring m_root;
    std::vector<std::wstring> m_made;
};

TEST_F(CatalogueScanTest, PathsBeyondTheLimitAreLeftOutNotCut) {
    std::string folder = Folder("deep", {"top.jpg"});
    DeepTree tree(folder);
    ASSERT_TRUE(tree.GrowTo(300, std::string(40, 'd')));
    int found = ScanWholly(folder);
    EXPECT_GE(found, 2);
    EXPECT_EQ(static_cast<size_t>(found), catalogue.Images().size());
    // Every path that fits is taken, in its full length: none is a shortened copy of a longer one.
    for (const std::string& path : catalogue.Images()) {
        std::string name = mb::FileNameOfPath(path);
        EXPECT_TRUE(name == "p.jpg" || name == "top.jpg") << path;
    }

    // What was catalogued comes back from list.txt line for line.
    catalogue.Replace({folder + "," + std::to_string(found)}, catalogue.Images());
    ASSERT_TRUE(catalogue.SaveImageList(dir.path()));
    ImageCatalogue reread;
    reread.LoadImageList(dir.path());
    EXPECT_EQ(catalogue.Images(), reread.Images());
}

TEST_F(CatalogueScanTest, NamesTheCodePageCannotHoldAreTakenByShortNameOrLeftOut) {
    std::string folder = Folder("names", {"plain.jpg"});
    // 写真🌸.jpg and 風景.png: neither fits the Korean code page; 사진.jpg does.
    for (const wchar_t* name : {L"\u5199\u771F\U0001F338.jpg", L"\u98A8\u666F.png", L"\uC0AC\uC9C4.jpg"}) {
        fw::FileHandle file(::CreateFileW((mb::Widen(folder) + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr,
                                          CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(file);
    }
    int found = ScanWholly(folder);
    EXPECT_TRUE(Has(folder + "\\plain.jpg"));
    EXPECT_TRUE(Has(folder + "\\" + mb::Narrow(L"\uC0AC\uC9C4.jpg")));
    EXPECT_GE(found, 2);
    EXPECT_LE(found, 4);
}

