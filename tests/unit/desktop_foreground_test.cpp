#include <gtest/gtest.h>

#include "app/desktop.h"
#include "framework/mbstring.h"
#include "framework/texts.h"
#include "resource.h"

namespace {

TopWindowRecord Window(std::string title, bool visible = true, bool owned = false, bool iconic = false) {
    TopWindowRecord r;
    r.visible = visible;
    r.ownedOrChild = owned;
    r.iconic = iconic;
    r.title = std::move(title);
    return r;
}

const std::string kStartMenu = mb::Narrow(fw::LoadText(IDS_START_MENU_TITLE), 949);

// The foreground check's decision over a z-order walk, topmost first.
class ForegroundDecision : public ::testing::Test {
protected:
    OutProgramList exceptions{"Notes - editor", "Player"};
    bool Active(std::vector<TopWindowRecord> walk) { return IsOtherProgramActive(walk, exceptions); }
};

// Hidden, untitled, minimised and desktop windows, owned windows but the Start menu and the
// exceptions' exact titles do not count; one window anywhere in the walk that does is enough.
TEST_F(ForegroundDecision, WhichWindowsOfTheWalkHoldTheChange) {
    const struct {
        const char* what;
        std::vector<TopWindowRecord> walk;
        bool active;
    } cases[] = {
        {"empty desktop", {}, false},
        {"visible titled program window", {Window("Report.doc")}, true},
        {"hidden, untitled, minimised, desktop",
         {Window("Report.doc", false), Window(""), Window("Report.doc", true, false, true), Window("Program Manager")},
         false},
        {"owned window", {Window("Find", true, true)}, false},
        {"the Start menu, owned", {Window(kStartMenu, true, true)}, true},
        {"a top-level window titled like the Start menu", {Window(kStartMenu)}, true},
        {"exact exception titles", {Window("Notes - editor"), Window("Player")}, false},
        {"one character more", {Window("Notes - editoR")}, true},
        {"one character less", {Window("Notes - edito")}, true},
        {"another letter case", {Window("player")}, true},
        {"one blocking window anywhere",
         {Window("Player"), Window("", true), Window("Program Manager"), Window("Mail")}, true},
    };
    for (const auto& c : cases) EXPECT_EQ(c.active, Active(c.walk)) << c.what;
    exceptions.clear();
    EXPECT_TRUE(Active({Window("Player")})) << "without exceptions every program window blocks";
}

TopWindowRecord Styled(std::string title, LONG_PTR exStyle, RECT rect = RECT{0, 0, 800, 600}) {
    TopWindowRecord r = Window(std::move(title));
    r.exStyle = exStyle;
    r.rect = rect;
    return r;
}

TEST_F(ForegroundDecision, ToolOverlayAndEmptyWindowsDoNotHoldChangesWhileAPlainWindowDoes) {
    const TopWindowRecord notWork[] = {
        Styled("Tool palette", WS_EX_TOOLWINDOW),
        Styled("Widget", WS_EX_NOACTIVATE | WS_EX_TOPMOST),
        Styled("GPU overlay", WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOPMOST),
        Styled("Zero width", 0, RECT{100, 100, 100, 400}),
        Styled("Zero height", 0, RECT{100, 100, 400, 100}),
        Styled("Turned inside out", 0, RECT{400, 400, 100, 100}),
    };
    for (const TopWindowRecord& w : notWork) {
        EXPECT_TRUE(IsOutOfUsersWay(w)) << w.title;
        EXPECT_FALSE(Active({w})) << w.title;
    }
    EXPECT_FALSE(Active(std::vector<TopWindowRecord>(std::begin(notWork), std::end(notWork))));

    // What still holds them: a plain window, a layered one that takes clicks (a fading editor),
    // and a tool or non-activating window that asks for a task bar button.
    const TopWindowRecord work[] = {
        Styled("Report.doc", WS_EX_WINDOWEDGE),
        Styled("Fading editor", WS_EX_LAYERED),
        Styled("Transparent, not layered", WS_EX_TRANSPARENT),
        Styled("Tool with a button", WS_EX_TOOLWINDOW | WS_EX_APPWINDOW),
        Styled("Quiet with a button", WS_EX_NOACTIVATE | WS_EX_APPWINDOW),
        Styled("Off to the left", 0, RECT{-3000, 0, -2000, 600}),
    };
    for (const TopWindowRecord& w : work) {
        EXPECT_FALSE(IsOutOfUsersWay(w)) << w.title;
        EXPECT_TRUE(Active({notWork[0], notWork[2], w})) << w.title;
    }
    // An exception program's window stays an exception; the Start menu is found even as a tool window.
    EXPECT_FALSE(Active({Styled("Player", 0)}));
    TopWindowRecord start = Styled(kStartMenu, WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
    start.ownedOrChild = true;
    EXPECT_TRUE(Active({start}));
}

TEST(IpText, LastAddressOfTheHostWinsAndTheRealLookupStartsWithThePrefix) {
    EXPECT_EQ("MY IP: 10.0.0.2", IpTextFromAddresses({"192.168.1.5", "10.0.0.2"}));
    EXPECT_EQ("MY IP: 127.0.0.1", IpTextFromAddresses({"127.0.0.1"}));
    EXPECT_EQ("MY IP: ", IpTextFromAddresses({}));
    const std::string text = GetIpText();
    EXPECT_EQ(0u, text.rfind("MY IP: ", 0));
    EXPECT_LE(text.size(), 7u + 15u);
}

}  // namespace
