// The about page: its fixed texts, its links and what they open or copy, and
// the look of every link label (the page's four and the "About..." label of the
// bottom strip) as the mouse moves over and presses it.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string_view>

#include "platform/Ports.h"
#include "ui/MainWindowLayout.h"

namespace kadrilo {

// The colours of a link label (0x00BBGGRR).
inline constexpr Color LinkNormalColour = 0xC68055;   // red 0x55, green 0x80, blue 0xC6
inline constexpr Color LinkHoverColour = 0xA66137;    // red 0x37, green 0x61, blue 0xA6
inline constexpr Color LinkPressedColour = 0x0000FF;  // pure red

struct LinkLook {
    bool underlined = false;
    Color colour = LinkNormalColour;
    friend bool operator==(const LinkLook&, const LinkLook&) = default;
};

inline constexpr LinkLook NormalLinkLook{false, LinkNormalColour};
inline constexpr LinkLook HoverLinkLook{true, LinkHoverColour};

enum class MouseButton { Left, Right, Middle };

// One link label's look, driven by the mouse events it gets. The "About..."
// label differs in two ways: a right-button press leaves its look, and a
// right-button release outside it does too; it can also be switched off.
class LinkLabel {
public:
    explicit LinkLabel(bool aboutLabel = false) : aboutLabel_(aboutLabel) {}

    LinkLook Look() const { return look_; }
    // False while switched off: it is drawn greyed and reacts to nothing.
    bool Enabled() const { return enabled_; }

    void PointerEnter();
    void PointerLeave();
    void ButtonDown(MouseButton button);
    // A release at (x, y) in the label's coordinates, the label being width x
    // height: true when it completes a click, that is the left button pressed
    // on the label and released inside its bounds (edges included).
    bool ButtonUp(MouseButton button, int32_t x, int32_t y, int32_t width, int32_t height);
    // Its context menu is about to show.
    void ContextMenuOpening();
    // The "About..." label's switch: on, the normal look and every event
    // handled; off, underlined, greyed and deaf to the mouse.
    void SetEnabled(bool enabled);

private:
    bool aboutLabel_;
    bool enabled_ = true;
    bool leftPressed_ = false;
    LinkLook look_ = NormalLinkLook;
};

// A link of the about page.
struct AboutLink {
    layout::ControlId id;
    int tag;                   // 1 forum, 2 web page, 3 mail; 0: no context menu
    std::string_view address;  // what a click opens
    std::string_view copyText; // what Copy puts on the clipboard
};
std::span<const AboutLink> AboutLinks();
const AboutLink* AboutLinkOf(layout::ControlId id);

// The about page's texts that are the same in every language (the version, the
// build date, the maker line and the addresses); nothing for the others.
std::optional<std::string_view> AboutFixedText(layout::ControlId id);

// The link labels' looks and what their clicks and menus do.
class AboutPageLinks {
public:
    AboutPageLinks(ShellPort& shell, ClipboardPort& clipboard) : shell_(shell), clipboard_(clipboard) {}

    // The label of a link of the page or of the "About..." label; nothing for
    // any other control.
    LinkLabel* Label(layout::ControlId id);

    // A click on a link of the page opens its address through the shell.
    void Click(layout::ControlId id);
    // Before a link's context menu shows: the link takes its normal look and
    // the menu remembers its tag. False for a label without a menu.
    bool ContextMenu(layout::ControlId id);
    // The menu's "Open" (the default item) and "Copy".
    void MenuOpen();
    void MenuCopy();

private:
    const AboutLink* Remembered() const;

    ShellPort& shell_;
    ClipboardPort& clipboard_;
    std::array<LinkLabel, 4> links_;
    LinkLabel about_{true};
    int menuTag_ = 0;
};

}  // namespace kadrilo
