// The current images dialog on real windows: thumbnails from real picture files, the right-click
// selection and menu, delete to the recycle bin and open.

#include <windows.h>
#include <shellapi.h>

#include <cstdio>

#include "aux_windows/images_dlg.h"
#include "aux_windows/thumbnail.h"
#include "support/recycle_bin.h"
#include "windows/page_fixture.h"

namespace {

using namespace testing_support;
using namespace page_testing;

// The pixels of a size x size thumbnail as 0x00RRGGBB, row 0 at the top.
std::vector<DWORD> Pixels(HBITMAP bitmap, int size = kThumbnailSize) {
    std::vector<DWORD> pixels(static_cast<size_t>(size * size));
    BITMAPINFO info = TopDownBitmapInfo(size, size);
    ::GetDIBits(fw::WindowDc(nullptr).get(), bitmap, 0, static_cast<UINT>(size), pixels.data(), &info, DIB_RGB_COLORS);
    for (DWORD& p : pixels) p &= 0xFFFFFF;
    return pixels;
}

constexpr DWORD kWhite = 0xFFFFFF, kBlack = 0x000000, kRed = 0xFF0000, kBlue = 0x0000FF;

struct Probe {
    int x, y;
    DWORD colour;
};

// At the list's own size and at 150 %: pictures fit centred inside the black border, bad files
// are white.
TEST(Thumbnails, PicturesFitCentredInsideTheBorderAndBadFilesAreWhite) {
    ScratchDir dir;
    enum class File { Picture, Junk, Missing };
    struct Case {
        const char* name;
        File file;
        int width, height;
        Gdiplus::Color colour;
        int size;
        std::vector<Probe> probes;
    };
    const Case cases[] = {
        // Small pictures keep their size: fitted at (17, 24), 35 x 20.
        {"small.png", File::Picture, 35, 20, Gdiplus::Color(255, 0, 0, 255), kThumbnailSize,
         {{18, 25, kBlue}, {50, 42, kBlue}, {15, 34, kWhite}, {53, 34, kWhite}, {34, 22, kWhite}, {34, 45, kWhite},
          {0, 0, kBlack}, {69, 69, kBlack}, {69, 0, kBlack}}},
        // Fitted at (0, 17), 69 x 34: red rows 17..50, white above and below.
        {"wide.png", File::Picture, 700, 350, Gdiplus::Color(255, 255, 0, 0), kThumbnailSize,
         {{34, 19, kRed}, {34, 48, kRed}, {66, 34, kRed}, {34, 14, kWhite}, {34, 53, kWhite}, {34, 0, kBlack},
          {34, 69, kBlack}}},
        // At 150 %, fitted at (0, 26), 104 x 52.
        {"wide.png", File::Picture, 700, 350, Gdiplus::Color(255, 255, 0, 0), 105,
         {{104, 104, kBlack}, {52, 104, kBlack}, {104, 52, kBlack}, {52, 29, kRed}, {52, 75, kRed}, {52, 22, kWhite},
          {52, 81, kWhite}}},
        {"broken.jpg", File::Junk, 0, 0, {}, kThumbnailSize, {{34, 34, kWhite}, {0, 34, kBlack}}},
        {"missing.png", File::Missing, 0, 0, {}, kThumbnailSize, {{34, 34, kWhite}, {34, 0, kBlack}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(c.size));
        const std::string path = dir.File(c.name);
        if (c.file == File::Picture) {
            ASSERT_TRUE(WritePicture(path, c.width, c.height, c.colour, "png"));
        } else if (c.file == File::Junk) {
            WriteFile(path, "not a picture at all");
        }
        fw::Bitmap thumbnail = MakeThumbnail(path, c.size);
        ASSERT_TRUE(thumbnail);
        BITMAP bits{};
        ASSERT_TRUE(::GetObjectW(thumbnail.get(), sizeof bits, &bits));
        EXPECT_EQ(std::make_pair(LONG{c.size}, LONG{c.size}), std::make_pair(bits.bmWidth, bits.bmHeight));
        const std::vector<DWORD> pixels = Pixels(thumbnail.get(), c.size);
        for (const Probe& p : c.probes)
            EXPECT_EQ(p.colour, pixels[static_cast<size_t>(p.y * c.size + p.x)]) << "at " << p.x << "," << p.y;
    }
}

class CurrentImages : public PageTest {
protected:
    std::vector<std::string> current;
    std::unique_ptr<CImagesDlg> dialog;
    std::vector<std::string> opened;

    std::string Picture(const std::string& name, Gdiplus::Color color = Gdiplus::Color(255, 0, 128, 0), int w = 40,
                        int hgt = 40) {
        const std::string path = dir.File(name);
        EXPECT_TRUE(WritePicture(path, w, hgt, color, "png")) << path;
        return path;
    }
    // `prepare` sets the dialog up before its window exists (a slow thumbnail maker).
    void Open(const std::function<void(CImagesDlg&)>& prepare = nullptr) {
        dialog = std::make_unique<CImagesDlg>(current, parent);
        dialog->openFile = [this](const std::string& path) { opened.push_back(path); };
        // The owner's list follows the window's, as the composer's current images do.
        dialog->onRemove = [this](const std::string& path) { std::erase(current, path); };
        // No confirmation box in a test; the bin is still the destination.
        dialog->deleteFlags |= FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
        if (prepare) prepare(*dialog);
        ASSERT_TRUE(dialog->Create());
        ::ShowWindow(dialog->GetSafeHwnd(), SW_SHOW);
        PumpFor(200);  // the desktop places the window before screen positions are taken
    }
    void TearDown() override {
        if (dialog) dialog->DestroyWindow();
        PageTest::TearDown();
    }
    // Thumbnails made behind a gate, each one let through by the test.
    std::shared_ptr<Gate> SlowThumbnails() {
        auto gate = std::make_shared<Gate>();
        Open([gate](CImagesDlg& d) {
            d.makeThumbnail = [gate](const std::string& path, int size) {
                gate->Pass();
                return MakeThumbnail(path, size);
            };
        });
        return gate;
    }
    // The colour at (x, y) of thumbnail i as the list draws it.
    COLORREF ThumbnailPixel(int i, int x, int y) const {
        int cx = 0, cy = 0;
        ::ImageList_GetIconSize(dialog->Thumbnails(), &cx, &cy);
        Canvas canvas(cx, cy, RGB(1, 2, 3));
        ::ImageList_Draw(dialog->Thumbnails(), i, canvas.dc(), 0, 0, ILD_NORMAL);
        return canvas.At(x, y);
    }
    POINT ItemCentre(int item) {
        RECT r{LVIR_ICON};
        ::SendMessageW(dialog->List(), LVM_GETITEMRECT, item, reinterpret_cast<LPARAM>(&r));
        POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ::ClientToScreen(dialog->List(), &p);
        return p;
    }
    POINT ItemPosition(int item) {
        POINT p{};
        ::SendMessageW(dialog->List(), LVM_GETITEMPOSITION, item, reinterpret_cast<LPARAM>(&p));
        return p;
    }
    // A point of the list (on the screen) beside every item.
    POINT BesideTheItems() {
        RECT client;
        ::GetClientRect(dialog->List(), &client);
        POINT beside{client.right - 5, client.bottom - 5};
        ::ClientToScreen(dialog->List(), &beside);
        return beside;
    }
    // Whether a pop-up menu is up 200 ms into `act` (or the pumping after it); it is closed then.
    static bool MenuShownBy(const std::function<void()>& act) {
        bool seen = false;
        InsideModalLoop watch([&] {
            HWND menu = ::FindWindowW(L"#32768", nullptr);
            seen = menu && ::IsWindowVisible(menu);
            ::EndMenu();
        }, 200);
        act();
        for (int i = 0; i < 20 && !seen; ++i) PumpFor(20);
        return seen;
    }
};

// No photo, no items; photos make one row of named thumbnails that follow the window's DPI.
TEST_F(CurrentImages, OneRowOfNamedThumbnailsThatFollowTheWindowsDpi) {
    Open();
    EXPECT_EQ(0, RowCount(dialog->List()));
    EXPECT_EQ(0, ::ImageList_GetImageCount(dialog->Thumbnails()));
    POINT inside{10, 10};
    ::ClientToScreen(dialog->List(), &inside);
    EXPECT_FALSE(dialog->SelectItemAt(inside));

    current = {Picture("small.png", Gdiplus::Color(255, 0, 0, 255), 35, 20),
               Picture("wide.png", Gdiplus::Color(255, 255, 0, 0), 700, 350),
               dir.File("gone.jpg")};
    Open();
    HWND list = dialog->List();
    ASSERT_EQ(3, RowCount(list));
    EXPECT_EQ(3, ::ImageList_GetImageCount(dialog->Thumbnails()));
    EXPECT_EQ("small.png", CellText(list, 0, 0));
    EXPECT_EQ("gone.jpg", CellText(list, 2, 0));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(80 * i, ItemPosition(i).x - ItemPosition(0).x) << i;
        EXPECT_EQ(ItemPosition(0).y, ItemPosition(i).y) << i;
    }
    IMAGEINFO info{};
    ASSERT_TRUE(::ImageList_GetImageInfo(dialog->Thumbnails(), 1, &info));
    EXPECT_EQ(70, info.rcImage.right - info.rcImage.left);
    EXPECT_EQ(70, info.rcImage.bottom - info.rcImage.top);

    // The thumbnails and their spacing follow the window's DPI.
    HWND window = dialog->GetSafeHwnd();
    RECT before{};
    ::GetWindowRect(window, &before);
    struct Step {
        UINT dpi;
        int size, spacing;
    };
    for (const Step& s : {Step{144, 105, 120}, Step{96, 70, 80}}) {
        RECT suggested = before;
        suggested.right = before.left + ::MulDiv(before.right - before.left, static_cast<int>(s.dpi), 96);
        suggested.bottom = before.top + ::MulDiv(before.bottom - before.top, static_cast<int>(s.dpi), 96);
        ::SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(s.dpi, s.dpi), reinterpret_cast<LPARAM>(&suggested));
        RECT now{};
        ::GetWindowRect(window, &now);
        EXPECT_EQ(suggested.right - suggested.left, now.right - now.left) << s.dpi;
        int cx = 0, cy = 0;
        ASSERT_TRUE(::ImageList_GetIconSize(dialog->Thumbnails(), &cx, &cy));
        EXPECT_EQ(s.size, cx) << s.dpi;
        EXPECT_EQ(s.size, cy) << s.dpi;
        EXPECT_EQ(3, ::ImageList_GetImageCount(dialog->Thumbnails()));
        EXPECT_EQ(3, RowCount(list));
        for (int i = 1; i < 3; ++i)
            EXPECT_EQ(s.spacing * i, ItemPosition(i).x - ItemPosition(0).x) << s.dpi << " item " << i;
    }
}

// The window opens at once with a placeholder in every cell; the pictures replace them one by one,
// in list order, at opening and again after a change of DPI.
TEST_F(CurrentImages, PlaceholdersFirstThenEachPictureInListOrder) {
    const COLORREF green = RGB(0, 128, 0), blue = RGB(0, 0, 128);
    const COLORREF grey = kThumbnailPlaceholderColour, black = RGB(0, 0, 0);
    current = {Picture("a.png"), Picture("b.png", Gdiplus::Color(255, 0, 0, 128))};
    std::shared_ptr<Gate> gate = SlowThumbnails();
    for (const int size : {70, 105}) {
        SCOPED_TRACE(size);
        const int middle = size / 2;
        EXPECT_TRUE(dialog->ThumbnailsPending());
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(grey, ThumbnailPixel(i, middle, middle)) << i;
            EXPECT_EQ(black, ThumbnailPixel(i, 0, 0)) << "the placeholder has the border";
        }
        gate->Let();
        ASSERT_TRUE(PumpUntil([&] { return ThumbnailPixel(0, middle, middle) == green; }));
        EXPECT_EQ(grey, ThumbnailPixel(1, middle, middle)) << "one by one";
        gate->Let();
        ASSERT_TRUE(PumpUntil([&] { return !dialog->ThumbnailsPending(); }));
        EXPECT_EQ(blue, ThumbnailPixel(1, middle, middle));
        EXPECT_EQ(RGB(255, 255, 255), ThumbnailPixel(1, 3, 3)) << "a picture's cell is white around it";

        if (size == 105) break;
        RECT window{};
        ::GetWindowRect(dialog->GetSafeHwnd(), &window);
        ::SendMessageW(dialog->GetSafeHwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&window));
    }
}

// A thumbnail stuck on a read (a share that stopped answering) does not hold the closing window;
// when the read ends, its picture is freed unseen.
TEST_F(CurrentImages, AWindowClosedWhileAThumbnailIsStuckClosesAtOnceAndFreesIt) {
    current = {Picture("stuck.png")};
    auto gate = std::make_shared<Gate>();
    auto made = std::make_shared<std::atomic<HBITMAP>>(nullptr);
    Open([gate, made](CImagesDlg& d) {
        d.makeThumbnail = [gate, made](const std::string& path, int size) {
            gate->Pass();
            fw::Bitmap thumbnail = MakeThumbnail(path, size);
            *made = thumbnail.get();
            return thumbnail;
        };
    });
    ASSERT_TRUE(gate->Arrived(1));
    const DWORD start = ::GetTickCount();
    dialog->DestroyWindow();
    dialog.reset();
    const DWORD closeMs = ::GetTickCount() - start;
    std::printf("[ measured ] closed with a thumbnail stuck in %lu ms\n", closeMs);
    EXPECT_EQ(0, gate->Passed()) << "the window closed with the read still stuck";

    gate->Let();
    ASSERT_TRUE(PumpUntil([&] { return made->load() != nullptr; }, 5000));
    EXPECT_TRUE(PumpUntil([&] { return ::GetObjectType(made->load()) == 0; }, 5000)) << "the late thumbnail leaked";
}

// A 24-megapixel photo: the window is up and answering before its thumbnail has been made, and
// closing it while the thumbnail is still being made does not wait for it. The gate holds the
// worker at each of those moments, so that the times printed are measures, not the test.
TEST_F(CurrentImages, AHugePhotoNeverHoldsTheWindow) {
    const std::string huge = dir.File("huge.png");
    ASSERT_TRUE(WritePicture(huge, 6000, 4000, Gdiplus::Color(255, 200, 30, 30), "png"));
    current = {huge};
    auto gate = std::make_shared<Gate>();
    auto finished = std::make_shared<std::atomic<int>>(0);
    auto gated = [gate, finished](CImagesDlg& d, bool beforeDecode) {
        d.makeThumbnail = [gate, finished, beforeDecode](const std::string& path, int size) {
            if (beforeDecode) gate->Pass();
            fw::Bitmap thumbnail = MakeThumbnail(path, size);
            if (!beforeDecode) gate->Pass();
            ++*finished;
            return thumbnail;
        };
    };
    DWORD start = ::GetTickCount();
    dialog = std::make_unique<CImagesDlg>(current, parent);
    gated(*dialog, true);
    ASSERT_TRUE(dialog->Create());
    const DWORD openMs = ::GetTickCount() - start;
    ASSERT_TRUE(gate->Arrived(1));
    EXPECT_TRUE(dialog->ThumbnailsPending()) << "the window is up before its thumbnail";
    gate->Let();
    ASSERT_TRUE(PumpUntil([&] { return !dialog->ThumbnailsPending(); }, 60000));
    const DWORD thumbnailMs = ::GetTickCount() - start;
    EXPECT_EQ(RGB(200, 30, 30), ThumbnailPixel(0, 35, 35));

    dialog->DestroyWindow();
    dialog = std::make_unique<CImagesDlg>(current, parent);
    gated(*dialog, false);
    ASSERT_TRUE(dialog->Create());
    ASSERT_TRUE(gate->Arrived(2, 60000)) << "the second decode";
    start = ::GetTickCount();
    dialog->DestroyWindow();
    dialog.reset();
    const DWORD closeMs = ::GetTickCount() - start;
    std::printf("[ measured ] 24 MP PNG: window up in %lu ms, thumbnail after %lu ms; closed unfinished in %lu ms\n",
                openMs, thumbnailMs, closeMs);
    EXPECT_EQ(1, finished->load()) << "the window closed without waiting for the thumbnail";
    // The thumbnail left behind ends alone before the scratch folder goes.
    gate->Let();
    EXPECT_TRUE(PumpUntil([&] { return finished->load() == 2; }, 60000));
}

TEST_F(CurrentImages, DeleteRemovesItemListEntryAndFileToTheRecycleBin) {
    // A name of this run's own, so that its copy in the bin is found and taken out again.
    const std::string dropName =
        "dioramix-drop-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(::GetTickCount()) + ".png";
    current = {Picture("keep.png"), Picture(dropName, Gdiplus::Color(255, 0, 0, 128)),
               Picture("last.png", Gdiplus::Color(255, 128, 0, 0))};
    const std::string dropped = current[1];
    const std::string droppedBytes = ReadFile(dropped);
    Open();
    const POINT lastBefore = ItemPosition(2);
    ASSERT_FALSE(RecycleBinHolds(dropName));

    ASSERT_TRUE(dialog->SelectItemAt(ItemCentre(1)));
    ::SendMessageW(dialog->GetSafeHwnd(), WM_COMMAND, ID_IMAGES_DELETE, 0);

    HWND list = dialog->List();
    ASSERT_EQ(2, RowCount(list));
    EXPECT_EQ("keep.png", CellText(list, 0, 0));
    EXPECT_EQ("last.png", CellText(list, 1, 0));
    EXPECT_EQ(lastBefore.x, ItemPosition(1).x) << "the other thumbnails keep their places";
    EXPECT_EQ((std::vector<std::string>{current[0], current[1]}), current);
    EXPECT_EQ(std::string::npos, (current[0] + current[1]).find(dropName));
    EXPECT_FALSE(FileExists(dropped));

    EXPECT_TRUE(RecycleBinHolds(dropName)) << "the file went to the recycle bin";

    const std::string trash = WineTrashFolder();
    if (!trash.empty()) {
        const std::string binned = trash + "\\files\\" + dropName;
        EXPECT_TRUE(FileExists(binned)) << "the deleted picture lies in the trash, whole";
        EXPECT_EQ(droppedBytes, ReadFile(binned));
    }
    TakeOutOfWineTrash(dropName);
}

TEST_F(CurrentImages, TheRecycleConfirmationIsModalToThisDialogAndNoKeepsTheFile) {
    current = {Picture("kept.png")};
    Open();
    dialog->deleteFlags = FOF_ALLOWUNDO | FOF_FILESONLY;  // with the shell's confirmation
    ASSERT_TRUE(dialog->SelectItemAt(ItemCentre(0)));
    HWND owner = nullptr;
    bool dialogDisabled = false;
    {
        TimerScript script({[&] {
            HWND box = FindThreadDialog(dialog->GetSafeHwnd());
            ASSERT_NE(nullptr, box);
            owner = ::GetWindow(box, GW_OWNER);
            dialogDisabled = !::IsWindowEnabled(dialog->GetSafeHwnd());
            ::PostMessageW(box, WM_COMMAND, IDNO, 0);
        }});
        ::SendMessageW(dialog->GetSafeHwnd(), WM_COMMAND, ID_IMAGES_DELETE, 0);
    }
    EXPECT_EQ(dialog->GetSafeHwnd(), owner) << "owned by the window the user deleted in";
    EXPECT_TRUE(dialogDisabled);
    EXPECT_TRUE(FileExists(current.empty() ? dir.File("kept.png") : current[0])) << "declined: the file stays";
}

TEST_F(CurrentImages, APathLongerThan254BytesIsDeletedWholeNeverCut) {
    // Folders nested until the picture's path is 258 bytes, as the catalogue can hold it.
    std::string folder = dir.path(), relative;
    while (folder.size() + 61 < 238) {
        relative += (relative.empty() ? "" : "\\") + std::string(60, 'd');
        folder = dir.MakeDir(relative);
    }
    std::string name(258 - folder.size() - 1 - 4, 'p');
    const std::string path = folder + "\\" + name + ".png";
    ASSERT_EQ(258u, path.size());
    ASSERT_TRUE(WritePicture(path, 40, 40, Gdiplus::Color(255, 10, 20, 30), "png"));
    ASSERT_TRUE(FileExists(path));
    // A file whose name is the path cut at 254 bytes must survive.
    const std::string cut = path.substr(0, 254);
    WriteFile(cut, "bystander");
    current = {path};
    Open();
    ASSERT_TRUE(dialog->SelectItemAt(ItemCentre(0)));
    ::SendMessageW(dialog->GetSafeHwnd(), WM_COMMAND, ID_IMAGES_DELETE, 0);
    EXPECT_FALSE(FileExists(path));
    EXPECT_TRUE(FileExists(cut));
    EXPECT_TRUE(current.empty());
    TakeOutOfWineTrash(name + ".png");
}

// The pop-up appears on a right click over an item, as the list reports it or from the real
// button, and not beside the items.
TEST_F(CurrentImages, RightClickShowsTheMenuOverAnItemOnly) {
    current = {Picture("menu.png")};
    Open();
    auto rightClick = [&](POINT at) {
        return MenuShownBy([&] {
            NMITEMACTIVATE click{};
            click.ptAction = at;
            ::ScreenToClient(dialog->List(), &click.ptAction);
            click.hdr.hwndFrom = dialog->List();
            click.hdr.idFrom = IDC_IMAGES_LIST;
            click.hdr.code = NM_RCLICK;
            ::SendMessageW(dialog->GetSafeHwnd(), WM_NOTIFY, IDC_IMAGES_LIST, reinterpret_cast<LPARAM>(&click));
        });
    };
    EXPECT_TRUE(rightClick(ItemCentre(0)));
    EXPECT_EQ(current[0], dialog->SelectedPath());
    EXPECT_FALSE(rightClick(BesideTheItems()));

    POINT at = ItemCentre(0);
    ::ScreenToClient(dialog->List(), &at);
    const LPARAM where = MAKELPARAM(at.x, at.y);
    EXPECT_TRUE(MenuShownBy([&] {
        // The list tracks the button until it comes up: have the release waiting in the queue.
        ::PostMessageW(dialog->List(), WM_RBUTTONUP, 0, where);
        ::SendMessageW(dialog->List(), WM_RBUTTONDOWN, MK_RBUTTON, where);
    }));
    EXPECT_EQ(current[0], dialog->SelectedPath());
}

// A right click selects the item under the pointer only; open hands the selected path to the shell,
// never again and favourite tell the owner. A banned photo leaves the list and the current images,
// and its file stays on disk.
TEST_F(CurrentImages, OpenNeverAgainAndFavouriteTakeTheItemRightClickedAndABannedPhotoLeavesTheList) {
    current = {Picture("a.png"), Picture("b.png")};
    const std::vector<std::string> shown = current;
    std::vector<std::string> banned, kept;
    Open([&](CImagesDlg& d) {
        d.onBan = [&](const std::string& path) { banned.push_back(path); };
        d.onKeep = [&](const std::string& path) { kept.push_back(path); };
    });
    const auto command = [&](UINT id) { ::SendMessageW(dialog->GetSafeHwnd(), WM_COMMAND, id, 0); };
    command(ID_IMAGES_OPEN);
    command(ID_IMAGES_BAN);
    command(ID_IMAGES_KEEP);
    EXPECT_TRUE(opened.empty() && banned.empty() && kept.empty()) << "nothing selected yet";
    ASSERT_TRUE(dialog->SelectItemAt(ItemCentre(1)));
    EXPECT_EQ(1, dialog->SelectedIndex());
    EXPECT_EQ(shown[1], dialog->SelectedPath());
    command(ID_IMAGES_OPEN);
    EXPECT_EQ(std::vector<std::string>{shown[1]}, opened);
    command(ID_IMAGES_KEEP);
    EXPECT_EQ(std::vector<std::string>{shown[1]}, kept);
    EXPECT_EQ(2, RowCount(dialog->List())) << "a favourite stays";
    command(ID_IMAGES_BAN);
    EXPECT_EQ(std::vector<std::string>{shown[1]}, banned);
    EXPECT_EQ(1, RowCount(dialog->List()));
    EXPECT_EQ(std::vector<std::string>{shown[0]}, current);
    EXPECT_TRUE(FileExists(shown[1]));

    ASSERT_TRUE(dialog->SelectItemAt(ItemCentre(0)));
    EXPECT_FALSE(dialog->SelectItemAt(BesideTheItems()));
    EXPECT_EQ(-1, dialog->SelectedIndex());
}

}  // namespace
