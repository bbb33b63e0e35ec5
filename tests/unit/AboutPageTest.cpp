#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fakes/Fakes.h"
#include "ui/AboutPage.h"

namespace kadrilo {
namespace {

using ::testing::ElementsAre;
using layout::ControlId;

constexpr LinkLook PressedFromNormal{false, LinkPressedColour};
constexpr LinkLook PressedFromHover{true, LinkPressedColour};
constexpr LinkLook Underlined{true, LinkNormalColour};

// A mouse event on a label of 100 x 16 pixels.
struct Event {
    enum Kind { Enter, Leave, Down, Up, Menu, Off, On } kind;
    MouseButton button = MouseButton::Left;
    int32_t x = 50, y = 8;
};
constexpr Event Enter{Event::Enter}, Leave{Event::Leave}, LeftDown{Event::Down}, LeftUp{Event::Up},
    RightDown{Event::Down, MouseButton::Right}, RightUp{Event::Up, MouseButton::Right}, Menu{Event::Menu},
    Off{Event::Off}, On{Event::On};
constexpr Event UpAt(int32_t x, int32_t y, MouseButton button = MouseButton::Left) { return {Event::Up, button, x, y}; }

TEST(LinkLabel, Looks) {
    struct Case {
        const char* name;
        bool aboutLabel;
        std::vector<Event> events;
        LinkLook look;
        int clicks;
    };
    const std::vector<Case> cases{
        {"pointer over it", false, {Enter}, HoverLinkLook, 0},
        {"pointer gone again", false, {Enter, Leave}, NormalLinkLook, 0},
        {"pressed: red at once, the underline kept", false, {Enter, LeftDown}, PressedFromHover, 0},
        {"pressed and released on it: a click", false, {Enter, LeftDown, LeftUp}, HoverLinkLook, 1},
        {"released on its far edges: still inside", false, {Enter, LeftDown, UpAt(100, 16)}, HoverLinkLook, 1},
        {"released at its origin: still inside", false, {LeftDown, UpAt(0, 0)}, HoverLinkLook, 1},
        {"released outside: normal, nothing opens", false, {Enter, LeftDown, UpAt(101, 8)}, NormalLinkLook, 0},
        {"released above it: normal, nothing opens", false, {Enter, LeftDown, Leave, UpAt(50, -1)}, NormalLinkLook, 0},
        {"released on it without a press there: no click", false, {Enter, LeftUp}, HoverLinkLook, 0},
        {"right button pressed on a link: red", false, {RightDown}, PressedFromNormal, 0},
        {"right button released outside a link: normal", false, {Enter, RightDown, UpAt(-5, 8, MouseButton::Right)},
         NormalLinkLook, 0},
        {"right button released on a link: hover, no click", false, {Enter, RightDown, RightUp}, HoverLinkLook, 0},
        {"context menu: normal", false, {Enter, RightDown, Menu}, NormalLinkLook, 0},
        {"About: pressed and released on it", true, {Enter, LeftDown, LeftUp}, HoverLinkLook, 1},
        {"About: right press changes nothing", true, {Enter, RightDown}, HoverLinkLook, 0},
        {"About: right press before the pointer entered", true, {RightDown}, NormalLinkLook, 0},
        {"About: right release outside changes nothing", true, {Enter, RightDown, UpAt(200, 8, MouseButton::Right)},
         HoverLinkLook, 0},
        {"About: left release outside: normal", true, {Enter, LeftDown, UpAt(200, 8)}, NormalLinkLook, 0},
        {"About switched off: underlined and deaf", true, {Enter, Off, Leave, Enter, LeftDown, LeftUp}, Underlined, 0},
        {"About switched off while pressed: no click after", true, {LeftDown, Off, On, LeftUp}, HoverLinkLook, 0},
        {"About switched on again: normal", true, {Off, On}, NormalLinkLook, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LinkLabel label(c.aboutLabel);
        int clicks = 0;
        bool enabled = true;
        for (const Event& e : c.events) {
            switch (e.kind) {
                case Event::Enter: label.PointerEnter(); break;
                case Event::Leave: label.PointerLeave(); break;
                case Event::Down: label.ButtonDown(e.button); break;
                case Event::Up: clicks += label.ButtonUp(e.button, e.x, e.y, 100, 16) ? 1 : 0; break;
                case Event::Menu: label.ContextMenuOpening(); break;
                case Event::Off: label.SetEnabled(enabled = false); break;
                case Event::On: label.SetEnabled(enabled = true); break;
            }
        }
        EXPECT_EQ(label.Look(), c.look);
        EXPECT_EQ(clicks, c.clicks);
        EXPECT_EQ(label.Enabled(), enabled);
    }
}

TEST(LinkLabel, ColoursAreTheGivenOnes) {
    // 0x00BBGGRR
    EXPECT_EQ(LinkNormalColour, (0xC6u << 16) | (0x80u << 8) | 0x55u);
    EXPECT_EQ(LinkHoverColour, (0xA6u << 16) | (0x61u << 8) | 0x37u);
    EXPECT_EQ(LinkPressedColour, 0xFFu);
}

TEST(AboutPageLinks, ClicksOpenAndTheMenuOpensOrCopies) {
    testing::FakeShell shell;
    testing::FakeClipboard clipboard;
    AboutPageLinks links(shell, clipboard);
    struct Case {
        ControlId id;
        const char* opens;
        const char* copies;  // nullptr: no context menu
    };
    for (const Case& c : {Case{ControlId::LinkForum, "http://www.kadrilo.org/forum/", "http://www.kadrilo.org/forum/"},
                          Case{ControlId::LinkWebPage, "http://www.kadrilo.org/", "http://www.kadrilo.org/"},
                          Case{ControlId::LinkMail, "mailto:support@kadrilo.org?subject=Kadrilo_2_1",
                               "support@kadrilo.org"},
                          Case{ControlId::LinkUpdates, "http://www.kadrilo.org/check_updates/?ver_id=215", nullptr}}) {
        SCOPED_TRACE(c.opens);
        shell.links.clear();
        clipboard.texts.clear();
        links.Click(c.id);
        EXPECT_THAT(shell.links, ElementsAre(c.opens));
        links.Label(c.id)->PointerEnter();
        EXPECT_EQ(links.ContextMenu(c.id), c.copies != nullptr);
        if (!c.copies) continue;
        EXPECT_EQ(links.Label(c.id)->Look(), NormalLinkLook);
        links.MenuCopy();
        EXPECT_THAT(clipboard.texts, ElementsAre(c.copies));
        links.MenuOpen();
        EXPECT_THAT(shell.links, ElementsAre(c.opens, c.opens));
    }
    // The "About..." label has a look of its own but neither a target nor a menu.
    shell.links.clear();
    ASSERT_NE(links.Label(ControlId::LinkAbout), nullptr);
    links.Click(ControlId::LinkAbout);
    EXPECT_FALSE(links.ContextMenu(ControlId::LinkAbout));
    EXPECT_TRUE(shell.links.empty());
    EXPECT_EQ(links.Label(ControlId::Label551), nullptr);
}

TEST(AboutPage, FixedTextsAndRows) {
    EXPECT_EQ(AboutFixedText(ControlId::LabelVersion), "2.1 RC3");
    EXPECT_EQ(AboutFixedText(ControlId::LabelDate), "12.02.2007");
    EXPECT_FALSE(AboutFixedText(ControlId::Label551));
    // Every link of the page is a link label on the about page.
    for (const AboutLink& link : AboutLinks()) {
        EXPECT_EQ(layout::Row(link.id).kind, layout::ControlKind::LinkLabel);
        EXPECT_EQ(layout::Row(link.id).parent, ControlId::MainPanel2);
    }
}

}  // namespace
}  // namespace kadrilo
