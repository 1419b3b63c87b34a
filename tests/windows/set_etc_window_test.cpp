// The miscellaneous page and the program list on real windows, with Wine's registry for the
// autostart value.

#include <iterator>

#include "framework/system.h"
#include "settings_ui/program_list.h"
#include "settings_ui/set_etc.h"
#include "windows/page_fixture.h"

namespace {

using namespace testing_support;
using namespace page_testing;

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kStartupListKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";

// The program's value under one key of HKCU, read with the system's own call; nothing when absent.
std::optional<fw::RegValue> ReadValue(const wchar_t* keyName) {
    fw::RegValue value{REG_NONE, std::vector<BYTE>(2048, 0)};
    DWORD size = static_cast<DWORD>(value.bytes.size()) - sizeof(wchar_t);
    if (::RegGetValueW(HKEY_CURRENT_USER, keyName, L"Dioramix", RRF_RT_ANY | RRF_NOEXPAND, &value.type,
                       value.bytes.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.bytes.resize(size);
    return value;
}

// Keeps whatever autostart value and start-up list record the prefix had and puts them back.
class AutostartGuard {
public:
    ~AutostartGuard() {
        for (const auto& [key, value] : m_saved)
            value ? m_registry.Write(key, L"Dioramix", *value) : m_registry.Delete(key, L"Dioramix");
    }

private:
    fw::UserRegistry m_registry;
    const std::pair<const wchar_t*, std::optional<fw::RegValue>> m_saved[2] = {
        {kRunKey, ReadValue(kRunKey)}, {kStartupListKey, ReadValue(kStartupListKey)}};
};

class EtcPage : public OnePageTest<CSetEtc> {
protected:
    bool Checked(int id) const { return page_testing::Checked(hwnd, id); }
};

// The boxes and the exception programs as stored; the program buttons take input only while the
// program stops for an active window, and Clear empties the list and its text.
TEST_F(EtcPage, BoxesShowTheSettingsAndTheExceptionProgramsFollowStopWhileActive) {
    env.ispath = 1;
    env.isweekday = 1;
    env.rememory = 1;
    env.maxwinstop = 1;
    programs = {"Movie Player", mb::Narrow(L"\uBA54\uBAA8\uC7A5")};  // 메모장
    Open();
    ExpectChecked({IDC_ETC_SHOWPATH, IDC_ETC_WEEKDAY, IDC_ETC_MEMORY, IDC_ETC_MAXWINSTOP}, {IDC_ETC_IPTOOLTIP});
    ExpectEnabled({IDC_ETC_CHOOSE_PROGRAMS, IDC_ETC_CLEAR_PROGRAMS}, {});
    EXPECT_EQ(" 1.Movie Player, 2." + mb::Narrow(L"\uBA54\uBAA8\uC7A5"), ItemText(hwnd, IDC_ETC_PROGRAMS));

    Click(hwnd, IDC_ETC_CLEAR_PROGRAMS);
    EXPECT_TRUE(programs.empty());
    EXPECT_EQ("", ItemText(hwnd, IDC_ETC_PROGRAMS));

    Click(hwnd, IDC_ETC_MAXWINSTOP);
    EXPECT_EQ(0, env.maxwinstop);
    ExpectEnabled({}, {IDC_ETC_CHOOSE_PROGRAMS, IDC_ETC_CLEAR_PROGRAMS});
    Click(hwnd, IDC_ETC_MAXWINSTOP);
    EXPECT_EQ(1, env.maxwinstop);
    ExpectEnabled({IDC_ETC_CHOOSE_PROGRAMS, IDC_ETC_CLEAR_PROGRAMS}, {});

    // A page opened with the switch off starts with the buttons disabled.
    env.maxwinstop = 0;
    page->DestroyWindow();
    Open();
    EXPECT_FALSE(Checked(IDC_ETC_MAXWINSTOP));
    ExpectEnabled({}, {IDC_ETC_CHOOSE_PROGRAMS, IDC_ETC_CLEAR_PROGRAMS});
}

// Each box writes its setting at once, off and on again; the tray redraws its tip or icon for its
// own, and the path and the picture per monitor (another shape) ask for a fresh background.
TEST_F(EtcPage, EachBoxActsAtOnce) {
    env.multimonitor = 1;
    Open();
    EXPECT_TRUE(Checked(IDC_ETC_MULTIMONITOR));
    const struct {
        int id;
        std::function<int()> setting;
        const int* trayUpdates;
        bool fresh;
    } boxes[] = {
        {IDC_ETC_SHOWPATH, [&] { return int{env.ispath}; }, nullptr, true},
        {IDC_ETC_MULTIMONITOR, [&] { return int{env.multimonitor}; }, nullptr, true},
        {IDC_ETC_IPTOOLTIP, [&] { return int{env.isiptooltip}; }, &owner.tipUpdates, false},
        {IDC_ETC_WEEKDAY, [&] { return int{env.isweekday}; }, &owner.iconUpdates, false},
        {IDC_ETC_MEMORY, [&] { return int{env.rememory}; }, nullptr, false},
    };
    for (const auto& box : boxes) {
        SCOPED_TRACE(box.id);
        const int before = box.setting();
        for (int click = 1; click <= 2; ++click) {
            pageComposer.freshAsked = false;
            Click(hwnd, box.id);
            EXPECT_EQ(click == 1 ? 1 - before : before, box.setting());
            if (box.fresh) {
                EXPECT_TRUE(pageComposer.freshAsked);
            }
            if (box.trayUpdates) {
                EXPECT_EQ(click, *box.trayUpdates);
            }
        }
    }
}

TEST_F(EtcPage, HotkeysAndFavouritesShowTheSettingsAndACombinationHeldElsewhereShowsTaken) {
    env.favoritesonly = 1;
    env.hotkeynext = 0x64E;  // Ctrl+Alt+N
    env.hotkeyback = 0x642;
    // Another program holds Ctrl+Shift+F12 (a window of this process stands in for it).
    HWND other = ::CreateWindowExW(0, L"STATIC", L"other", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(::RegisterHotKey(other, 1, MOD_CONTROL | MOD_SHIFT, VK_F12));
    Open();
    EXPECT_TRUE(Checked(IDC_ETC_FAVORITESONLY));
    Click(hwnd, IDC_ETC_FAVORITESONLY);
    EXPECT_EQ(0, env.favoritesonly);
    const auto shown = [&](int id) { return ::SendDlgItemMessageW(hwnd, id, HKM_GETHOTKEY, 0, 0) & 0xFFFF; };
    EXPECT_EQ(0x64E, shown(IDC_ETC_HOTKEY_NEXT));
    EXPECT_EQ(0x642, shown(IDC_ETC_HOTKEY_BACK));
    EXPECT_EQ(0, shown(IDC_ETC_HOTKEY_KEEP));
    EXPECT_EQ("", ItemText(hwnd, IDC_ETC_HOTKEY_NEXT_TAKEN));

    const auto set = [&](int id, LRESULT word) {
        ::SendDlgItemMessageW(hwnd, id, HKM_SETHOTKEY, static_cast<WPARAM>(word), 0);
        ::SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(id, EN_CHANGE), reinterpret_cast<LPARAM>(::GetDlgItem(hwnd, id)));
    };
    set(IDC_ETC_HOTKEY_KEEP, (HOTKEYF_CONTROL | HOTKEYF_SHIFT) << 8 | VK_F12);
    EXPECT_EQ((HOTKEYF_CONTROL | HOTKEYF_SHIFT) << 8 | VK_F12, env.hotkeykeep) << "kept, not silently lost";
    const std::string taken = mb::Narrow(L"\uC0AC\uC6A9\uC911");  // 사용중
    EXPECT_EQ(taken, ItemText(hwnd, IDC_ETC_HOTKEY_KEEP_TAKEN));
    set(IDC_ETC_HOTKEY_KEEP, (HOTKEYF_CONTROL | HOTKEYF_SHIFT) << 8 | VK_F11);
    EXPECT_EQ("", ItemText(hwnd, IDC_ETC_HOTKEY_KEEP_TAKEN));
    // Ctrl+Alt with an arrow turns the screen: refused.
    set(IDC_ETC_HOTKEY_BAN, (HOTKEYF_CONTROL | HOTKEYF_ALT) << 8 | VK_LEFT);
    EXPECT_EQ(0, env.hotkeyban);
    EXPECT_EQ(0, shown(IDC_ETC_HOTKEY_BAN));
    // The main window's own registration answers for the combinations it holds.
    owner.takenHotkeys = {HotkeyVerb::Next};
    set(IDC_ETC_HOTKEY_NEXT, 0x64E);
    EXPECT_EQ(taken, ItemText(hwnd, IDC_ETC_HOTKEY_NEXT_TAKEN));
    ::UnregisterHotKey(other, 1);
    ::DestroyWindow(other);
}

TEST_F(EtcPage, AutostartValueIsWrittenAndDeletedAndADisabledEntryEnabledAgain) {
    AutostartGuard guard;
    ASSERT_TRUE(startWithWindows.Set(false));
    Open();
    EXPECT_FALSE(Checked(IDC_ETC_AUTOSTART));

    Click(hwnd, IDC_ETC_AUTOSTART);
    const std::optional<fw::RegValue> value = ReadValue(kRunKey);
    ASSERT_TRUE(value);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), value->type);
    EXPECT_EQ(L"\"" + fw::ModuleFileNameWide() + L"\"", fw::TextOf(*value))
        << "the executable's path, wide and in quotes";
    EXPECT_TRUE(prompts.messages.empty()) << "no \"Setting Error\"";

    // A page opened now finds the value.
    page->DestroyWindow();
    Open();
    EXPECT_TRUE(Checked(IDC_ETC_AUTOSTART));

    Click(hwnd, IDC_ETC_AUTOSTART);
    EXPECT_FALSE(ReadValue(kRunKey));
    EXPECT_FALSE(startWithWindows.IsOn());
    EXPECT_TRUE(prompts.messages.empty()) << "no \"Setting Error\"";

    // An entry the user disabled in the start-up list (what the Task Manager writes: 03 00 00 00
    // and a time) shows unticked, and ticking enables it again.
    ASSERT_TRUE(startWithWindows.Set(true));
    ASSERT_TRUE(registry.Write(kStartupListKey, L"Dioramix",
                               {REG_BINARY, {3, 0, 0, 0, 0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x01}}));
    EXPECT_FALSE(startWithWindows.IsOn());
    page->DestroyWindow();
    Open();
    EXPECT_FALSE(Checked(IDC_ETC_AUTOSTART)) << "the program does not start with Windows";

    Click(hwnd, IDC_ETC_AUTOSTART);
    EXPECT_TRUE(startWithWindows.IsOn());
    const std::optional<fw::RegValue> record = ReadValue(kStartupListKey);
    ASSERT_TRUE(record && !record->bytes.empty());
    EXPECT_EQ(2, record->bytes[0]);
    EXPECT_TRUE(prompts.messages.empty());
}

// ---- The program list ----------------------------------------------------------------------

class ProgramWindows : public PageTest {
protected:
    TopWindows others;
    // The titles of the windows this test made, in the list's order.
    static std::vector<std::string> Mine(const std::vector<std::string>& titles) {
        std::vector<std::string> mine;
        std::copy_if(titles.begin(), titles.end(), std::back_inserter(mine),
                     [](const std::string& t) { return t.rfind("Program list: ", 0) == 0; });
        return mine;
    }
    // Presses the page's button for the program list, which runs modally; `inside` plays the user
    // in its loop. False when no list came up.
    static bool RunProgramList(CSetEtc& page, const std::function<void(CProgramList&)>& inside) {
        bool ran = false;
        InsideModalLoop step([&] {
            CProgramList* list = page.ProgramList();
            if (!list || !list->IsWindow()) return;
            ran = true;
            inside(*list);
        });
        Click(page.GetSafeHwnd(), IDC_ETC_CHOOSE_PROGRAMS);
        return ran;
    }
    static int RowOf(const CProgramList& dialog, const std::wstring& title) {
        const auto& titles = dialog.Titles();
        auto it = std::find(titles.begin(), titles.end(), mb::Narrow(title));
        return it == titles.end() ? -1 : static_cast<int>(it - titles.begin());
    }
};

TEST_F(ProgramWindows, ListShowsOnlyVisibleTitledUnownedRestoredWindowsInZOrder) {
    HWND lower = others.Make(L"Program list: lower editor");
    HWND upper = others.Make(L"Program list: upper editor");
    ::SetWindowPos(upper, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::SetWindowPos(lower, upper, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    others.Make(L"Program list: minimised", nullptr, SW_SHOWMINNOACTIVE);
    HWND owner = others.Make(L"", nullptr, SW_HIDE);
    others.Make(L"Program list: owned dialog", owner);
    others.Make(L"");
    others.Make(L"Program list: hidden", nullptr, SW_HIDE);

    CProgramList dialog({}, parent);
    ASSERT_TRUE(dialog.Create());
    const auto& titles = dialog.Titles();
    EXPECT_EQ((std::vector<std::string>{"Program list: upper editor", "Program list: lower editor"}), Mine(titles));
    // Nor the desktop, an untitled window or the dialog itself, owned by the page's window.
    for (const std::wstring absent : {L"Program Manager", L"",
                                      L"\uD65C\uC131\uD654\uB41C \uD504\uB85C\uADF8\uB7A8\uB9AC\uC2A4\uD2B8"})
        EXPECT_EQ(titles.end(), std::find(titles.begin(), titles.end(), mb::Narrow(absent))) << mb::Narrow(absent);
    EXPECT_EQ(static_cast<int>(titles.size()), RowCount(dialog.GetDlgItem(IDC_PROGLIST_LIST)));
    dialog.DestroyWindow();
}

TEST_F(ProgramWindows, CurrentExceptionsComeCheckedAndSearchAgainClearsEveryCheck) {
    others.Make(L"Program list: chosen");
    others.Make(L"Program list: other");
    CProgramList dialog({mb::Narrow(L"Program list: chosen")}, parent);
    ASSERT_TRUE(dialog.Create());
    const int chosen = RowOf(dialog, L"Program list: chosen");
    const int other = RowOf(dialog, L"Program list: other");
    ASSERT_GE(chosen, 0);
    ASSERT_GE(other, 0);
    EXPECT_TRUE(dialog.IsRowChecked(chosen));
    EXPECT_FALSE(dialog.IsRowChecked(other));

    Click(dialog.GetSafeHwnd(), IDC_PROGLIST_SEARCH);
    for (int row = 0; row < static_cast<int>(dialog.Titles().size()); ++row) EXPECT_FALSE(dialog.IsRowChecked(row));
    Click(dialog.GetSafeHwnd(), IDC_PROGLIST_SELECT);
    EXPECT_TRUE(dialog.Selection().empty());
    EXPECT_FALSE(dialog.IsWindow());
}

TEST_F(ProgramWindows, SelectTakesEveryCheckedTitleInRowOrderWithoutALimit) {
    const wchar_t* names[] = {L"Program list: one", L"Program list: two", L"Program list: three",
                              L"Program list: four"};
    for (const wchar_t* name : names) others.Make(name);
    CProgramList dialog({}, parent);
    ASSERT_TRUE(dialog.Create());
    std::vector<int> rows;
    for (const wchar_t* name : names) rows.push_back(RowOf(dialog, name));
    for (int row : rows) {
        ASSERT_GE(row, 0);
        dialog.SetRowChecked(row, true);
    }
    Click(dialog.GetSafeHwnd(), IDC_PROGLIST_SELECT);
    std::sort(rows.begin(), rows.end());
    ASSERT_EQ(4u, dialog.Selection().size());
    for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(dialog.Titles()[rows[i]], dialog.Selection()[i]);
}

TEST_F(ProgramWindows, ThePageTakesTheCheckedProgramsOnSelectAndKeepsItsListOnCancelOrExit) {
    others.Make(L"Program list: movie player");
    env.maxwinstop = 1;
    programs = {"Old choice"};
    CSetEtc page(context);
    ASSERT_TRUE(page.Create(parent));
    auto tickThePlayerAndPress = [](int button) {
        return [button](CProgramList& list) {
            const auto& titles = list.Titles();
            for (size_t row = 0; row < titles.size(); ++row)
                if (titles[row] == "Program list: movie player") list.SetRowChecked(static_cast<int>(row), true);
            Click(list.GetSafeHwnd(), button);
        };
    };

    ASSERT_TRUE(RunProgramList(page, tickThePlayerAndPress(IDC_PROGLIST_CANCEL)));
    EXPECT_EQ(OutProgramList{"Old choice"}, programs);
    EXPECT_EQ(nullptr, page.ProgramList());

    // "Old choice" has no window now, so only the checked program remains.
    ASSERT_TRUE(RunProgramList(page, tickThePlayerAndPress(IDC_PROGLIST_SELECT)));
    EXPECT_EQ(OutProgramList{"Program list: movie player"}, programs);
    EXPECT_EQ(" 1.Program list: movie player", ItemText(page.GetSafeHwnd(), IDC_ETC_PROGRAMS));

    // At program exit the page closes the program list it opened; the choice stays as it was, even
    // a program without a window, which the list's own choice would drop.
    programs = {"Kept"};
    page.CloseOwnedWindows();  // nothing open: nothing happens
    EXPECT_TRUE(RunProgramList(page, [&](CProgramList&) { page.CloseOwnedWindows(); }));
    EXPECT_EQ(nullptr, page.ProgramList());
    EXPECT_EQ(OutProgramList{"Kept"}, programs);
    page.DestroyWindow();
}

}  // namespace
