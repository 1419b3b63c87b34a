// The rules behind the verbs: how they merge with what is owed, which monitor they act on, what
// the command line asks for, and the ban and favourites files read back whatever they hold.
#include <gtest/gtest.h>

#include "app/application.h"
#include "app/main_window_logic.h"
#include "state/data_files.h"
#include "state/hotkeys.h"
#include "state/photo_lists.h"

#include <commctrl.h>
#include "support/test_support.h"

using namespace testing_support;

namespace {

OwedChanges Merged(std::initializer_list<OwedChanges> asked, bool photoUnderWay = false) {
    OwedChanges owed;
    for (const OwedChanges& one : asked) Owe(owed, one, photoUnderWay);
    return owed;
}

TEST(CurationRules, VerbsMergeWithWhatIsOwedNeverLostNorDoubled) {
    // Nexts of two monitors make one picture for both; a change covers them all.
    CompositionPlan plan = PlanComposition(Merged({{.nextMonitors = 1}, {.nextMonitors = 4}}), false, false);
    EXPECT_EQ(Composition::NewPicture, plan.kind);
    EXPECT_EQ(5u, plan.monitors);
    plan = PlanComposition(Merged({{.change = true}, {.nextMonitors = 2}}), false, false);
    EXPECT_EQ(0u, plan.monitors);
    // A whole new picture under way answers a next, not a ban's recomposition.
    const OwedChanges duringChange = Merged({{.nextMonitors = 2}, {.freshMonitors = 1, .banned = {"a"}}}, true);
    EXPECT_EQ(0u, duringChange.nextMonitors);
    plan = PlanComposition(duringChange, false, false);
    EXPECT_EQ(1u, plan.monitors);
    EXPECT_EQ(1u, plan.freshMonitors);
    // A timed tick that is not allowed (paused) still lets a monitor's next through.
    plan = PlanComposition(Merged({{.tick = true}, {.nextMonitors = 1}}), false, false);
    EXPECT_EQ(Composition::NewPicture, plan.kind);
    EXPECT_EQ(1u, plan.monitors);

    // Back twice is back and forth: nothing; back goes first and leaves the rest owed.
    EXPECT_FALSE(Merged({{.back = true}, {.back = true}}).Any());
    const OwedChanges backThenNext = Merged({{.back = true}, {.nextMonitors = 2}});
    plan = PlanComposition(backThenNext, false, false);
    EXPECT_EQ(Composition::Back, plan.kind);
    const OwedChanges rest = OwedAfter(plan, backThenNext);
    EXPECT_FALSE(rest.back);
    EXPECT_EQ(Composition::NewPicture, PlanComposition(rest, false, false).kind);
    // New monitors leave no picture to go back to: the new layout is composed.
    EXPECT_EQ(Composition::NewPicture, PlanComposition(Merged({{.display = true}, {.back = true}}), false, true).kind);

    // The lists take each photo once and need no composition of their own.
    const OwedChanges lists = Merged({{.banned = {"a"}}, {.banned = {"a"}}, {.kept = {"b"}}, {.kept = {"b"}}});
    EXPECT_EQ(std::vector<std::string>{"a"}, lists.banned);
    EXPECT_EQ(std::vector<std::string>{"b"}, lists.kept);
    EXPECT_FALSE(lists.Any());
    EXPECT_TRUE(lists.AnyVerdict());
}

TEST(CurationRules, AVerbActsOnTheMonitorAskedOrUnderThePointer) {
    const fw::MonitorInfo left{{-1280, 0, 0, 1024}, {}, false}, primary{{0, 0, 1920, 1080}, {}, true},
        right{{1920, 0, 3840, 1080}, {}, false};
    // The layout lists the primary first; Windows lists the displays its own way.
    const std::vector<fw::MonitorInfo> layout{primary, left, right}, displays{left, right, primary};
    struct Case {
        int number;
        POINT pointer;
        int expected;
    } cases[] = {{0, {100, 100}, 0}, {0, {-5, 10}, 1},  {0, {2000, 5}, 2}, {0, {5000, 5000}, 0},
                 {1, {100, 100}, 1}, {2, {100, 100}, 2}, {3, {-5, 5}, 0},  {4, {0, 0}, -1}};
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, VerbMonitor(layout, displays, c.number, c.pointer)) << c.number << " " << c.pointer.x;
    // One picture for the primary screen: every monitor's verb is its.
    EXPECT_EQ(0, VerbMonitor({primary}, displays, 2, {2000, 5}));
    EXPECT_EQ(-1, VerbMonitor({primary}, displays, 9, {0, 0}));
}

TEST(CurationRules, CommandLineVerbsAndTheirMonitorElseRefused) {
    using Kind = CommandLineRequest::Kind;
    struct Case {
        const char* arguments;
        Kind kind;
        Verb verb;
        int number;
    } cases[] = {
        {"", Kind::Run, Verb::Next, 0},
        {"-exit", Kind::Exit, Verb::Next, 0},
        {"-next", Kind::Verb, Verb::Next, 0},
        {"-back", Kind::Verb, Verb::Back, 0},
        {"-pause", Kind::Verb, Verb::Pause, 0},
        {"-resume", Kind::Verb, Verb::Resume, 0},
        {"-ban  -monitor 2", Kind::Verb, Verb::Ban, 2},
        {"-keep -monitor 12", Kind::Verb, Verb::Keep, 12},
        {"-next -monitor 0", Kind::Refused, Verb::Next, 0},
        {"-next -monitor", Kind::Refused, Verb::Next, 0},
        {"-next -monitor x", Kind::Refused, Verb::Next, 0},
        {"-next -monitor 1 2", Kind::Refused, Verb::Next, 0},
        {"-monitor 1 -next", Kind::Refused, Verb::Next, 0},
        {"-next -back", Kind::Refused, Verb::Next, 0},
        {"-skip", Kind::Refused, Verb::Next, 0},
        {"/next", Kind::Refused, Verb::Next, 0},
        {"photos", Kind::Run, Verb::Next, 0},
        {"-crash-test=worker", Kind::Run, Verb::Next, 0},
        {"-crash-test=everything", Kind::Refused, Verb::Next, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const CommandLineRequest request = ParseCommandLine(c.arguments);
        EXPECT_EQ(c.kind, request.kind);
        if (c.kind != Kind::Verb) continue;
        EXPECT_EQ(c.verb, request.verb);
        EXPECT_EQ(c.number, request.displayNumber);
    }
}

TEST(CurationRules, HotkeysNeedCtrlOrAltAndLeaveTheScreenTurningArrowsAlone) {
    constexpr int kCtrlAlt = (HOTKEYF_CONTROL | HOTKEYF_ALT) << 8;
    const struct {
        int32_t word;
        bool usable;
        UINT modifiers;
    } cases[] = {
        {kCtrlAlt | 'N', true, MOD_CONTROL | MOD_ALT},
        {HOTKEYF_ALT << 8 | VK_F9, true, MOD_ALT},
        {(HOTKEYF_CONTROL | HOTKEYF_SHIFT) << 8 | VK_LEFT, true, MOD_CONTROL | MOD_SHIFT},
        {kCtrlAlt | VK_UP, false, MOD_CONTROL | MOD_ALT},
        {kCtrlAlt | VK_RIGHT, false, MOD_CONTROL | MOD_ALT},
        {HOTKEYF_SHIFT << 8 | 'N', false, MOD_SHIFT},
        {'N', false, 0},
        {kCtrlAlt, false, MOD_CONTROL | MOD_ALT},
        {0, false, 0},
        {-5, false, 0},
        {0x10000, false, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.usable, IsUsableHotkey(c.word)) << std::hex << c.word;
        if (c.word > 0 && c.word <= 0xFFFF) {
            EXPECT_EQ(c.modifiers | MOD_NOREPEAT, RegistrationOf(c.word).modifiers);
        }
    }
    EXPECT_EQ(static_cast<UINT>('N'), RegistrationOf(kCtrlAlt | 'N').key);
}

TEST(CurationRules, ListFilesReadWhateverTheyHoldAndWriteOnePathALine) {
    ScratchDir dir;
    PhotoList list(data_files::kBanList);
    list.Load(dir.path());
    EXPECT_TRUE(list.Empty()) << "no file: an empty list";
    WriteFile(dir.File("banlist.txt"), "");
    list.Load(dir.path());
    EXPECT_TRUE(list.Empty());

    const std::string longLine(40000, 'x');
    WriteFile(dir.File("banlist.txt"), "C:\\a.jpg\r\n\r\nc:\\A.JPG\nD:\\b.png\r\n" + longLine + "\r\n" +
                                           std::string("E:\\c\0d.jpg\n", 11) + "F:\\last.jpg");
    list.Load(dir.path());
    EXPECT_EQ((std::vector<std::string>{"C:\\a.jpg", "D:\\b.png", "F:\\last.jpg"}), list.Paths());
    EXPECT_TRUE(list.Contains("d:\\B.PNG"));
    EXPECT_FALSE(list.Add("c:\\a.JPG"));
    EXPECT_FALSE(list.Add(""));

    EXPECT_TRUE(list.KeepOnly([](const std::string& path) { return path[0] != 'D'; }));
    EXPECT_FALSE(list.Contains("D:\\b.png"));
    ASSERT_TRUE(list.Save(dir.path()));
    EXPECT_EQ("C:\\a.jpg\r\nF:\\last.jpg\r\n", ReadFile(dir.File("banlist.txt")));
    PhotoList reread(data_files::kBanList);
    reread.Load(dir.path());
    EXPECT_EQ(list.Paths(), reread.Paths());
}

}  // namespace
