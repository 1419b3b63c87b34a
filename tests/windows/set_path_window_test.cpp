// The image folders page on real controls, over a scratch tree of folders and the real catalogue.

#include <cstdio>
#include <thread>

#include "settings_ui/color_list_ctrl.h"
#include "settings_ui/set_path.h"
#include "support/catalogue_steps.h"
#include "windows/page_fixture.h"

namespace {

using namespace testing_support;
using namespace page_testing;

// The positions and ranges a progress bar was given, in order.
std::vector<std::pair<UINT, WPARAM>>& BarMessages() {
    static std::vector<std::pair<UINT, WPARAM>> sent;
    return sent;
}
LRESULT CALLBACK RecordBarMessages(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    if (msg == PBM_SETPOS || msg == PBM_SETRANGE32)
        BarMessages().push_back({msg, msg == PBM_SETPOS ? wp : static_cast<WPARAM>(lp)});
    return ::DefSubclassProc(w, msg, wp, lp);
}

// How long a window takes to answer, asked from a thread of its own every few milliseconds, as
// Windows asks before it calls a window "not responding".
class AnswerWatch {
public:
    explicit AnswerWatch(HWND window) : m_window(window), m_thread([this] { Watch(); }) {}
    ~AnswerWatch() { Stop(); }
    AnswerWatch(const AnswerWatch&) = delete;
    AnswerWatch& operator=(const AnswerWatch&) = delete;
    void Stop() {
        m_stop = true;
        if (m_thread.joinable()) m_thread.join();
    }
    double LongestMs() const { return m_longestMs; }
    int Answers() const { return m_answers; }

private:
    void Watch() {
        while (!m_stop) {
            const auto before = std::chrono::steady_clock::now();
            DWORD_PTR result = 0;
            const bool answered = ::SendMessageTimeoutW(m_window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result) != 0;
            const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - before).count();
            m_longestMs = std::max(m_longestMs.load(), answered ? ms : 5000.0);
            if (answered) ++m_answers;
            ::Sleep(5);
        }
    }
    HWND m_window;
    std::atomic<bool> m_stop{false};
    std::atomic<double> m_longestMs{0};
    std::atomic<int> m_answers{0};
    std::thread m_thread;
};

class PathPage : public OnePageTest<CSetPath> {
protected:
    HWND list = nullptr;

    // The texts of the message boxes the page showed, in order.
    std::vector<std::wstring> Shown() const { return prompts.MessageTexts(); }
    void Open() {
        OnePageTest::Open();
        list = Item(IDC_PATH_LIST);
    }
    // A folder of the scratch tree with `images` pictures and one file of another type.
    std::string Folder(const std::string& name, int images) {
        std::string folder = dir.MakeDir(name);
        for (int i = 0; i < images; ++i) WriteFile(folder + "\\photo" + std::to_string(i) + ".jpg", "x");
        WriteFile(folder + "\\notes.txt", "x");
        return folder;
    }
    bool DeleteEnabled() const { return Enabled(hwnd, IDC_PATH_DELETE); }
    int ProgressPos() { return static_cast<int>(::SendDlgItemMessageW(hwnd, IDC_PATH_PROGRESS, PBM_GETPOS, 0, 0)); }
    int ProgressHigh() {
        return static_cast<int>(::SendDlgItemMessageW(hwnd, IDC_PATH_PROGRESS, PBM_GETRANGE, FALSE, 0));
    }
    bool CancelShown() { return ::IsWindowVisible(Item(IDC_PATH_CANCEL)) != FALSE; }
    // Runs this thread's messages, as the settings window's loop does, until the page's scan
    // has finished (or `seen` says to stop waiting); false when it was still going after 60 s.
    bool WaitForScan(const std::function<bool()>& seen = nullptr) {
        const DWORD start = ::GetTickCount();
        while (page->Scanning() && ::GetTickCount() - start < 60000) {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            Pump();
            if (seen && seen()) return true;
        }
        return !page->Scanning();
    }
    void AddAndWait(const std::string& folder) {
        page->AddChosenFolder(folder);
        ASSERT_TRUE(WaitForScan());
    }
    // The rows as "folder,count", as list.txt holds them, and the total below.
    void ExpectShown(const std::vector<std::string>& rows, const std::string& total) const {
        std::vector<std::string> shown;
        for (int row = 0; row < RowCount(list); ++row) shown.push_back(CellText(list, row, 0) + "," + CellText(list, row, 1));
        EXPECT_EQ(rows, shown);
        EXPECT_EQ(total, ItemText(hwnd, IDC_PATH_TOTAL));
    }
    // No row chosen, so none to delete.
    void ExpectNoSelection() const {
        EXPECT_EQ(-1, page->Selection());
        EXPECT_FALSE(DeleteEnabled());
    }
};

TEST_F(PathPage, ColumnsRowsAndKeysOfTheStoredFolderListAndAnEmptyOne) {
    Open();
    ExpectShown({}, "0 pics");
    ExpectNoSelection();
    ExpectEnabled({IDC_PATH_ADD, IDC_PATH_RELOAD}, {});

    catalogue.Replace({"c:\\photos,12", "d:\\pics\\travel,3", "e:\\no count"}, {});
    page->DestroyWindow();
    Open();
    HWND header = ListView_GetHeader(list);
    ASSERT_EQ(2, Header_GetItemCount(header));
    EXPECT_EQ(350, ListView_GetColumnWidth(list, 0));
    EXPECT_EQ(50, ListView_GetColumnWidth(list, 1));
    LVCOLUMNW count{LVCF_FMT};
    ListView_GetColumn(list, 1, &count);
    EXPECT_EQ(LVCFMT_RIGHT, count.fmt & LVCFMT_JUSTIFYMASK);
    const DWORD extended = ListView_GetExtendedListViewStyle(list);
    EXPECT_TRUE(extended & LVS_EX_GRIDLINES);
    EXPECT_TRUE(extended & LVS_EX_FULLROWSELECT);

    ExpectShown({"c:\\photos,12", "d:\\pics\\travel,3", "e:\\no count,"}, "15 pics");

    // The navigation keys never reach the list, which has the focus (the dialog manager would hand it
    // any key the page let through): neither the page's selection nor the list's focused row moves.
    ClickRow(hwnd, IDC_PATH_LIST, 1);
    ::SetFocus(list);
    auto focusedRow = [&] { return ListView_GetNextItem(list, -1, LVNI_FOCUSED); };
    const int focused = focusedRow();
    for (int key : {VK_DOWN, VK_UP, VK_NEXT, VK_PRIOR, VK_END, VK_HOME}) {
        MSG msg{list, WM_KEYDOWN, static_cast<WPARAM>(key), 0};
        if (!page->PreTranslateMessage(&msg)) ::DispatchMessageW(&msg);
        EXPECT_EQ(1, page->Selection()) << key;
        EXPECT_EQ(focused, focusedRow()) << key;
    }
}

TEST_F(PathPage, AddScansTheChosenFolderWithProgressAndShowsItsRow) {
    std::string folder = Folder("Summer", 2);
    dir.MakeDir("Summer\\Beach");
    WriteFile(folder + "\\Beach\\sea.png", "x");
    Open();
    page->AddChosenFolder(folder);
    EXPECT_TRUE(page->Scanning());
    EXPECT_TRUE(CancelShown());
    ASSERT_TRUE(WaitForScan());

    EXPECT_TRUE(Shown().empty());
    EXPECT_FALSE(CancelShown());
    ExpectShown({mb::ToLower(folder) + ",3"}, "3 pics");
    EXPECT_EQ(3u, catalogue.Images().size());
    ASSERT_EQ(1u, catalogue.FolderEntries().size());
    // One step per directory entry: the bar ends full, at the counted range.
    const int entries = CountEntries(mb::ToLower(folder));
    EXPECT_EQ(std::make_pair(entries, entries), std::make_pair(ProgressHigh(), ProgressPos()));
    ExpectEnabled({IDC_PATH_ADD, IDC_PATH_RELOAD}, {});
}

TEST_F(PathPage, IncludedSameNameAndRootRefusalsLeaveNoSelectionAndDeleteDisabled) {
    std::string outer = Folder("Outer", 1);
    Folder("Outer\\inner", 1);
    Open();
    AddAndWait(outer);
    ClickRow(hwnd, IDC_PATH_LIST, 0);
    ASSERT_EQ(0, page->Selection());
    ASSERT_TRUE(DeleteEnabled());

    page->AddChosenFolder(outer + "\\inner");
    EXPECT_FALSE(page->Scanning()) << "a refused folder is not scanned";
    EXPECT_EQ(std::vector<std::wstring>{fw::LoadText(IDS_FOLDER_INCLUDED)}, Shown());
    ExpectNoSelection();
    ExpectShown({mb::ToLower(outer) + ",2"}, "2 pics");

    page->AddChosenFolder(mb::ToLower(outer));
    page->AddChosenFolder("C:\\");
    EXPECT_EQ(1, RowCount(list));
    // A refusal is a plain box; the refused root is a notice of two lines, with the information icon.
    EXPECT_EQ((std::vector<FakePrompts::Message>{
                  {hwnd, fw::LoadText(IDS_FOLDER_INCLUDED), L"Dioramix", MB_OK},
                  {hwnd, fw::LoadText(IDS_FOLDER_SAME_NAME), L"Dioramix", MB_OK},
                  {hwnd, fw::LoadText(IDS_FOLDER_ROOT), fw::LoadText(IDS_NOTICE_CAPTION), MB_OK | MB_ICONINFORMATION}}),
              prompts.messages);
    EXPECT_NE(std::wstring::npos, fw::LoadText(IDS_FOLDER_ROOT).find(L"!\n"));
}

// Add asks the folder browser, owned by the page; a cancel changes nothing, and a choice without a
// file-system path is a root.
TEST_F(PathPage, AddAsksTheFolderBrowserAndACancelChangesNothing) {
    std::string folder = Folder("Chosen", 2);
    Open();
    Click(hwnd, IDC_PATH_ADD);
    EXPECT_EQ(0, RowCount(list));
    prompts.folderAnswer = folder;
    Click(hwnd, IDC_PATH_ADD);
    ASSERT_TRUE(WaitForScan());
    ExpectShown({mb::ToLower(folder) + ",2"}, "2 pics");
    EXPECT_EQ((std::vector<HWND>{hwnd, hwnd}), prompts.chooserOwners);
    prompts.folderAnswer = "";
    Click(hwnd, IDC_PATH_ADD);
    EXPECT_EQ(std::vector<std::wstring>{fw::LoadText(IDS_FOLDER_ROOT)}, Shown());
}

TEST_F(PathPage, TidyUpReplacesListedSubfoldersByTheirParent) {
    std::string parent = Folder("parent", 1);
    std::string a = Folder("parent\\a", 2);
    std::string b = Folder("parent\\b", 3);
    Open();
    AddAndWait(a);
    AddAndWait(b);
    ASSERT_EQ(2, RowCount(list));
    AddAndWait(parent);
    EXPECT_EQ(std::vector<std::wstring>{fw::LoadText(IDS_FOLDER_TIDIED)}, Shown());
    ExpectShown({mb::ToLower(parent) + ",6"}, "6 pics");
    EXPECT_EQ(6u, catalogue.Images().size());
}

TEST_F(PathPage, ClickBesideTheRowsDisablesDeleteAndDeleteRescansTheRestOrEmptiesEverything) {
    Open();
    AddAndWait(Folder("only", 4));
    ClickRow(hwnd, IDC_PATH_LIST, 0);
    ASSERT_TRUE(DeleteEnabled());
    ClickRow(hwnd, IDC_PATH_LIST, -1);
    EXPECT_FALSE(DeleteEnabled());

    ClickRow(hwnd, IDC_PATH_LIST, 0);
    Click(hwnd, IDC_PATH_DELETE);
    ASSERT_TRUE(WaitForScan());
    ExpectShown({}, "0 pics");
    EXPECT_TRUE(catalogue.FolderEntries().empty());
    EXPECT_TRUE(catalogue.Images().empty());
    ExpectNoSelection();

    // A delete rescans the rest and drops a folder that became empty.
    std::string first = Folder("first", 1);
    std::string second = Folder("second", 2);
    std::string third = Folder("third", 1);
    AddAndWait(first);
    AddAndWait(second);
    AddAndWait(third);
    ASSERT_EQ(3, RowCount(list));
    ::DeleteFileA((third + "\\photo0.jpg").c_str());

    ClickRow(hwnd, IDC_PATH_LIST, 0);
    Click(hwnd, IDC_PATH_DELETE);
    ASSERT_TRUE(WaitForScan());
    ExpectShown({mb::ToLower(second) + ",2"}, "2 pics");
    ASSERT_EQ(1u, catalogue.FolderEntries().size());
    EXPECT_EQ(2u, catalogue.Images().size());
}

TEST_F(PathPage, RereadDisablesTheButtonsAndEmptiesTheTotalWhileItScans) {
    std::string kept = Folder("kept", 2);
    std::string vanishing = Folder("vanishing", 1);
    Open();
    AddAndWait(kept);
    AddAndWait(vanishing);
    ::DeleteFileA((vanishing + "\\photo0.jpg").c_str());
    ClickRow(hwnd, IDC_PATH_LIST, 1);

    Click(hwnd, IDC_PATH_RELOAD);
    ASSERT_TRUE(page->Scanning());
    ExpectEnabled({IDC_PATH_CANCEL}, {IDC_PATH_RELOAD, IDC_PATH_ADD, IDC_PATH_DELETE});
    EXPECT_TRUE(CancelShown());
    ExpectShown({}, "");
    // A click on the list during the scan chooses no row to delete.
    ClickRow(hwnd, IDC_PATH_LIST, 0);
    EXPECT_FALSE(DeleteEnabled());
    ASSERT_TRUE(WaitForScan());

    ExpectShown({mb::ToLower(kept) + ",2"}, "2 pics");
    ExpectEnabled({IDC_PATH_RELOAD, IDC_PATH_ADD}, {});
    EXPECT_FALSE(CancelShown());
    ExpectNoSelection();
}

// Windows' animated bar would glide behind a fast scan: every position is set one beyond and back,
// the last one through a range one higher; the 32-bit range holds more than 65535 entries.
TEST_F(PathPage, TheBarShowsEachPositionAtOnceInAWideRange) {
    Open();
    HWND bar = Item(IDC_PATH_PROGRESS);
    std::vector<std::pair<UINT, WPARAM>>& sent = BarMessages();
    sent.clear();
    ASSERT_TRUE(::SetWindowSubclass(bar, RecordBarMessages, 1, 0));
    const struct { int position; std::vector<std::pair<UINT, WPARAM>> sent; } shows[] = {
        {41000, {{PBM_SETRANGE32, 70000}, {PBM_SETPOS, 41001}, {PBM_SETPOS, 41000}}},
        {70000, {{PBM_SETRANGE32, 70001}, {PBM_SETPOS, 70001}, {PBM_SETPOS, 70000}, {PBM_SETRANGE32, 70000}}}};
    for (const auto& show : shows) {
        sent.clear();
        ShowBarPosition(bar, show.position, 70000);
        EXPECT_EQ(70000, ProgressHigh());
        EXPECT_EQ(show.position, ProgressPos());
        EXPECT_EQ(show.sent, sent);
    }
    ::RemoveWindowSubclass(bar, RecordBarMessages, 1);
}

TEST_F(PathPage, ATidyUpThatALaterRuleStopsShowsBothBoxesInOrderAndTheRowsLeft) {
    const std::string photos = Folder("photos", 2), inner = Folder("photos\\inner", 1);
    catalogue.Replace({inner + ",1", photos + ",3", "c:\\other,4"}, {});
    Open();
    ASSERT_EQ(3, RowCount(list));
    ClickRow(hwnd, IDC_PATH_LIST, 2);
    page->AddChosenFolder(photos);
    EXPECT_FALSE(page->Scanning());
    EXPECT_EQ((std::vector<std::wstring>{fw::LoadText(IDS_FOLDER_TIDIED), fw::LoadText(IDS_FOLDER_SAME_NAME)}),
              Shown());
    ASSERT_EQ(2, RowCount(list)) << "the tidied entry stays removed";
    EXPECT_EQ(mb::ToLower(photos), mb::ToLower(CellText(list, 0, 0)));
    EXPECT_EQ(-1, page->Selection());
    EXPECT_FALSE(DeleteEnabled());
}

// ---- A library of 100,000 pictures ------------------------------------------------------------

// A closed window's edit committed while the page is open (the main window's timer runs inside
// the settings window's loop): the rows are filled again before a row number can name the wrong
// folder.
TEST_F(PathPage, AListChangedBehindThePageIsShownAgainBeforeARowIsTaken) {
    const std::string a = Folder("a", 1), b = Folder("b", 2);
    Open();
    AddAndWait(a);
    AddAndWait(b);
    catalogue.RemoveFolder(a);  // removed behind the page
    ClickRow(hwnd, IDC_PATH_LIST, 1);  // "b" as the page showed it
    ExpectShown({mb::ToLower(b) + ",2"}, "2 pics");
    ExpectNoSelection();
}

class LargeLibrary : public PathPage {
protected:
    static constexpr int kPictures = 100000;
    std::string library;

    void SetUp() override {
        PathPage::SetUp();
        library = BinDir() + "\\large-library";
        if (::GetFileAttributesA((library + "\\complete").c_str()) == INVALID_FILE_ATTRIBUTES)
            GTEST_SKIP() << "no large library: run tools/make-large-library " << library;
    }
    bool Marquee() { return (::GetWindowLongW(Item(IDC_PATH_PROGRESS), GWL_STYLE) & PBS_MARQUEE) != 0; }
    // The first sign of the scan on the page: the counting marquee, or the bar on its way.
    bool ProgressSeen() { return Marquee() || ProgressPos() > 0; }
};

TEST_F(LargeLibrary, TheSettingsWindowAnswersThroughoutTheScan) {
    Open();
    AnswerWatch watch(parent);
    prompts.folderAnswer = library;
    const DWORD start = ::GetTickCount();
    Click(hwnd, IDC_PATH_ADD);
    const DWORD clickMs = ::GetTickCount() - start;
    ASSERT_TRUE(page->Scanning());
    bool counted = false, midway = false;
    ASSERT_TRUE(WaitForScan([&] {
        counted = counted || Marquee();
        const int position = ProgressPos();
        midway = midway || (!Marquee() && position > 0 && position < ProgressHigh());
        return false;
    }));
    const DWORD scanMs = ::GetTickCount() - start;
    watch.Stop();
    std::printf("[ measured ] click %lu ms, scan of %d pictures %lu ms, longest answer %.1f ms of %d\n", clickMs,
                kPictures, scanMs, watch.LongestMs(), watch.Answers());

    // The times are printed, not judged (a loaded machine stretches them): what must hold is that the
    // click came back with the scan still running and the window went on answering while it ran.
    EXPECT_GT(watch.Answers(), 10);
    EXPECT_TRUE(counted) << "no marquee while the entries were counted";
    EXPECT_TRUE(midway) << "the bar never stood between its ends";
    EXPECT_EQ(ProgressHigh(), ProgressPos());
    const std::string entry = mb::ToLower(library) + "," + std::to_string(kPictures);
    EXPECT_EQ(std::vector<std::string>{entry}, catalogue.FolderEntries());
    EXPECT_EQ(static_cast<size_t>(kPictures), catalogue.Images().size());
    ExpectShown({entry}, std::to_string(kPictures) + " pics");
    ExpectEnabled({IDC_PATH_ADD, IDC_PATH_RELOAD}, {IDC_PATH_DELETE});
}

// A scan stopped at its first sign of progress, by the button or by Escape, leaves both lists
// exactly as they were, and the page as before it.
TEST_F(LargeLibrary, ACancelledScanLeavesTheListsAsTheyWere) {
    std::string kept = Folder("kept", 2);
    Open();
    AddAndWait(kept);
    const std::vector<std::string> paths = catalogue.FolderEntries(), images = catalogue.Images();
    auto expectAsBefore = [&](const char* how) {
        SCOPED_TRACE(how);
        EXPECT_FALSE(page->Scanning());
        EXPECT_EQ(paths, catalogue.FolderEntries());
        EXPECT_EQ(images, catalogue.Images());
        ExpectShown({mb::ToLower(kept) + ",2"}, "2 pics");
        EXPECT_FALSE(CancelShown());
        ExpectEnabled({IDC_PATH_ADD, IDC_PATH_RELOAD}, {IDC_PATH_DELETE});
    };

    page->AddChosenFolder(library);
    ASSERT_TRUE(WaitForScan([&] { return ProgressSeen(); }));
    ASSERT_TRUE(page->Scanning()) << "the scan ended before it could be cancelled";
    Click(hwnd, IDC_PATH_CANCEL);
    expectAsBefore("the cancel button");

    // A re-read that would drop the vanished folder and take the library in its place.
    catalogue.Replace({paths[0], library + ",0"}, catalogue.Images());
    Click(hwnd, IDC_PATH_RELOAD);
    ASSERT_TRUE(WaitForScan([&] { return ProgressSeen(); }));
    ASSERT_TRUE(page->Scanning());
    ::SendMessageW(hwnd, WM_COMMAND, IDCANCEL, 0);  // what Escape on the page sends
    EXPECT_FALSE(page->Scanning());
    EXPECT_EQ((std::vector<std::string>{paths[0], library + ",0"}), catalogue.FolderEntries());
    EXPECT_EQ(images, catalogue.Images());
}

// The settings window closed in the middle of an add, a delete or a re-read hands the edit to the
// main window, which commits it once scanned; a program ended before that leaves both lists whole.
TEST_F(LargeLibrary, AnEditStillScanningWhenTheWindowClosesIsCommittedAfterwards) {
    const std::string kept = mb::ToLower(Folder("kept", 2)), gone = mb::ToLower(Folder("gone", 1));
    const std::string lowerLibrary = mb::ToLower(library);
    const std::string libraryEntry = lowerLibrary + "," + std::to_string(kPictures);
    Open();
    AddAndWait(kept);
    AddAndWait(gone);
    // Begins the edit, closes the window at its first sign of progress and checks that nothing
    // changed yet; then commits what was handed over, as the main window's timer does.
    auto closeMidScan = [&](const std::function<void()>& begin) {
        const std::vector<std::string> paths = catalogue.FolderEntries(), images = catalogue.Images();
        const int adoptions = owner.adoptions;
        begin();
        ASSERT_TRUE(WaitForScan([&] { return ProgressSeen(); }));
        ASSERT_TRUE(page->Scanning()) << "the scan ended before the window could close";
        page.reset();  // the settings window closes
        EXPECT_EQ(adoptions + 1, owner.adoptions);
        EXPECT_EQ(paths, catalogue.FolderEntries()) << "nothing committed before the scan ends";
        EXPECT_EQ(images, catalogue.Images());
    };
    auto commit = [&] {
        for (int i = 0; i < 6000 && !owner.adopted.Empty(); ++i) {
            owner.adopted.CommitFinished(catalogue);
            ::Sleep(10);
        }
        ASSERT_TRUE(owner.adopted.Empty()) << "the adopted scan never ended";
    };

    closeMidScan([&] { page->AddChosenFolder(library); });
    commit();
    EXPECT_EQ((std::vector<std::string>{kept + ",2", gone + ",1", libraryEntry}), catalogue.FolderEntries());
    EXPECT_EQ(static_cast<size_t>(kPictures + 3), catalogue.Images().size());

    // The delete of "gone" rescans the rest, the library among them.
    Open();
    closeMidScan([&] {
        ClickRow(hwnd, IDC_PATH_LIST, 1);
        Click(hwnd, IDC_PATH_DELETE);
    });
    commit();
    EXPECT_EQ((std::vector<std::string>{kept + ",2", libraryEntry}), catalogue.FolderEntries());
    EXPECT_EQ(static_cast<size_t>(kPictures + 2), catalogue.Images().size());

    // A re-read finds the picture added to "kept" since.
    WriteFile(kept + "\\new.jpg", "x");
    Open();
    closeMidScan([&] { Click(hwnd, IDC_PATH_RELOAD); });
    commit();
    EXPECT_EQ((std::vector<std::string>{kept + ",3", libraryEntry}), catalogue.FolderEntries());
    ASSERT_FALSE(::testing::Test::HasFailure());

    // Ended before the scan did: the lists stay whole, and the page shows them as they were.
    WriteFile(kept + "\\newer.jpg", "x");
    const std::vector<std::string> paths = catalogue.FolderEntries(), images = catalogue.Images();
    Open();
    closeMidScan([&] { Click(hwnd, IDC_PATH_RELOAD); });
    owner.adopted = AdoptedFolderEdits();
    EXPECT_EQ(paths, catalogue.FolderEntries());
    EXPECT_EQ(images, catalogue.Images());
    Open();
    ExpectShown({kept + ",3", libraryEntry}, std::to_string(kPictures + 3) + " pics");
}

// The list view does not share its image lists: the one that sets the rows' height dies with it,
// once, however often the settings window is opened and closed.
TEST_F(PathPage, TheRowHeightImageListIsDestroyedOnceWithTheList) {
    for (int opening = 0; opening < 10; ++opening) {
        Open();
        HIMAGELIST rows = ListView_GetImageList(list, LVSIL_SMALL);
        ASSERT_NE(nullptr, rows);
        EXPECT_EQ(0, ::GetWindowLongW(list, GWL_STYLE) & LVS_SHAREIMAGELISTS);
        // A reference of the test's own keeps the list alive: one destroy leaves it valid, a
        // second one would free it under the test.
        using QueryInterfaceFn = HRESULT(WINAPI*)(HIMAGELIST, REFIID, void**);
        const auto queryInterface = reinterpret_cast<QueryInterfaceFn>(reinterpret_cast<void*>(
            ::GetProcAddress(::GetModuleHandleW(L"comctl32.dll"), "HIMAGELIST_QueryInterface")));
        ASSERT_NE(nullptr, queryInterface);
        IUnknown* held = nullptr;
        ASSERT_TRUE(SUCCEEDED(queryInterface(rows, IID_IUnknown, reinterpret_cast<void**>(&held))));
        page.reset();
        int width = 0, height = 0;
        const bool alive = ::ImageList_GetIconSize(rows, &width, &height) != FALSE;
        EXPECT_TRUE(alive) << "destroyed twice at closing " << opening;
        if (!alive) return;  // the test's reference is gone with it
        EXPECT_EQ(16, height);
        EXPECT_EQ(0u, held->Release()) << "the list view or the page still holds it";
    }
}

// ---- The tinted list on its own ----------------------------------------------------------------

class TintedList : public PageTest {
protected:
    HWND listWindow = nullptr;
    CColorListCtrl list;
    void SetUp() override {
        PageTest::SetUp();
        listWindow = ::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 400, 200,
                                       parent, reinterpret_cast<HMENU>(77), ::GetModuleHandleW(nullptr), nullptr);
        ASSERT_TRUE(list.SubclassDlgItem(77, parent));
    }
};

TEST_F(TintedList, ColumnsFromAHeadingWithStrayCommasAndRowsAtTheEnd) {
    EXPECT_EQ(-1, list.ColumnCount());
    EXPECT_FALSE(list.InsertColumns("", ","));
    EXPECT_EQ(-1, list.ColumnCount());
    ASSERT_TRUE(list.InsertColumns(",,alpha,,beta,", ","));
    EXPECT_EQ(2, list.ColumnCount());
    EXPECT_EQ(2, Header_GetItemCount(ListView_GetHeader(listWindow)));
    EXPECT_EQ(30, ListView_GetColumnWidth(listWindow, 0));
    EXPECT_EQ(30, ListView_GetColumnWidth(listWindow, 1));
    wchar_t text[32] = {};
    LVCOLUMNW column{LVCF_TEXT | LVCF_FMT};
    column.pszText = text;
    column.cchTextMax = 32;
    ::SendMessageW(listWindow, LVM_GETCOLUMNW, 1, reinterpret_cast<LPARAM>(&column));
    EXPECT_STREQ(L"beta", text);
    EXPECT_EQ(LVCFMT_LEFT, column.fmt & LVCFMT_JUSTIFYMASK);

    // Rows append at the end with their cells.
    EXPECT_EQ(0, list.InsertRow({"one", "1"}));
    EXPECT_EQ(1, list.InsertRow({"two", "2"}));
    EXPECT_EQ(-1, list.InsertRow({}));
    EXPECT_EQ("two", list.GetItemText(1, 0));
    EXPECT_EQ("2", list.GetItemText(1, 1));
    EXPECT_EQ(2, list.GetItemCount());
}

// The list's custom draw reaches the control through its parent dialog, which answers with the
// control's result.
TEST_F(TintedList, CustomDrawOfAnOddRowOnAPageIsAnsweredWithTheTint) {
    CSetPath page(context);
    ASSERT_TRUE(page.Create(parent));
    HWND list = page.GetDlgItem(IDC_PATH_LIST);
    auto drawStage = [&](DWORD stage, DWORD_PTR row, NMLVCUSTOMDRAW& draw) {
        draw = {};
        draw.nmcd.hdr.hwndFrom = list;
        draw.nmcd.hdr.idFrom = IDC_PATH_LIST;
        draw.nmcd.hdr.code = NM_CUSTOMDRAW;
        draw.nmcd.dwDrawStage = stage;
        draw.nmcd.dwItemSpec = row;
        draw.clrText = RGB(1, 2, 3);
        ::SendMessageW(page.GetSafeHwnd(), WM_NOTIFY, IDC_PATH_LIST, reinterpret_cast<LPARAM>(&draw));
        return ::GetWindowLongPtrW(page.GetSafeHwnd(), DWLP_MSGRESULT);
    };
    NMLVCUSTOMDRAW draw;
    EXPECT_EQ(CDRF_NOTIFYITEMDRAW, drawStage(CDDS_PREPAINT, 0, draw));
    EXPECT_EQ(CDRF_NEWFONT, drawStage(CDDS_ITEMPREPAINT, 1, draw));
    EXPECT_EQ(RGB(230, 21, 79), draw.clrText);
    EXPECT_EQ(RGB(240, 240, 235), draw.clrTextBk);
    EXPECT_EQ(CDRF_DODEFAULT, drawStage(CDDS_ITEMPREPAINT, 2, draw));
    EXPECT_EQ(RGB(1, 2, 3), draw.clrText);
    page.DestroyWindow();
}

}  // namespace
