#include "ui/AboutPage.h"

#include <algorithm>

namespace kadrilo {
namespace {

using layout::ControlId;

constexpr std::array Links{
    AboutLink{ControlId::LinkForum, 1, "http://www.kadrilo.org/forum/", "http://www.kadrilo.org/forum/"},
    AboutLink{ControlId::LinkWebPage, 2, "http://www.kadrilo.org/", "http://www.kadrilo.org/"},
    AboutLink{ControlId::LinkMail, 3, "mailto:support@kadrilo.org?subject=Kadrilo_2_1", "support@kadrilo.org"},
    AboutLink{ControlId::LinkUpdates, 0, "http://www.kadrilo.org/check_updates/?ver_id=215", ""},
};

constexpr std::array<std::pair<ControlId, std::string_view>, 6> FixedTexts{{
    {ControlId::LabelVersion, "2.1 RC3"},
    {ControlId::LabelDate, "12.02.2007"},
    {ControlId::LabelMaker, "Copyright \u00A9 2007"},
    {ControlId::LinkMail, "the Kadrilo authors"},
    {ControlId::LinkForum, "http://www.kadrilo.org/forum/"},
    {ControlId::LinkWebPage, "http://www.kadrilo.org/"},
}};

}  // namespace

void LinkLabel::PointerEnter() {
    if (enabled_) look_ = HoverLinkLook;
}

void LinkLabel::PointerLeave() {
    if (enabled_) look_ = NormalLinkLook;
}

void LinkLabel::ButtonDown(MouseButton button) {
    if (!enabled_ || (aboutLabel_ && button == MouseButton::Right)) return;
    if (button == MouseButton::Left) leftPressed_ = true;
    look_.colour = LinkPressedColour;
}

bool LinkLabel::ButtonUp(MouseButton button, int32_t x, int32_t y, int32_t width, int32_t height) {
    if (!enabled_) return false;
    const bool inside = x >= 0 && x <= width && y >= 0 && y <= height;
    const bool click = button == MouseButton::Left && leftPressed_ && inside;
    if (button == MouseButton::Left) leftPressed_ = false;
    if (inside)
        look_ = HoverLinkLook;
    else if (!(aboutLabel_ && button == MouseButton::Right))
        look_ = NormalLinkLook;
    return click;
}

void LinkLabel::ContextMenuOpening() {
    if (enabled_) look_ = NormalLinkLook;
}

void LinkLabel::SetEnabled(bool enabled) {
    enabled_ = enabled;
    leftPressed_ = false;
    look_ = enabled ? NormalLinkLook : LinkLook{true, LinkNormalColour};
}

std::span<const AboutLink> AboutLinks() { return Links; }

const AboutLink* AboutLinkOf(ControlId id) {
    const auto* found = std::find_if(Links.begin(), Links.end(), [id](const AboutLink& l) { return l.id == id; });
    return found == Links.end() ? nullptr : &*found;
}

std::optional<std::string_view> AboutFixedText(ControlId id) {
    for (const auto& [control, text] : FixedTexts)
        if (control == id) return text;
    return std::nullopt;
}

LinkLabel* AboutPageLinks::Label(ControlId id) {
    if (id == ControlId::LinkAbout) return &about_;
    const AboutLink* link = AboutLinkOf(id);
    return link ? &links_[static_cast<size_t>(link - Links.data())] : nullptr;
}

void AboutPageLinks::Click(ControlId id) {
    if (const AboutLink* link = AboutLinkOf(id)) shell_.OpenLink(std::string(link->address));
}

bool AboutPageLinks::ContextMenu(ControlId id) {
    const AboutLink* link = AboutLinkOf(id);
    if (!link || link->tag == 0) return false;
    Label(id)->ContextMenuOpening();
    menuTag_ = link->tag;
    return true;
}

const AboutLink* AboutPageLinks::Remembered() const {
    const auto* found =
        std::find_if(Links.begin(), Links.end(), [this](const AboutLink& l) { return l.tag != 0 && l.tag == menuTag_; });
    return found == Links.end() ? nullptr : &*found;
}

void AboutPageLinks::MenuOpen() {
    if (const AboutLink* link = Remembered()) shell_.OpenLink(std::string(link->address));
}

void AboutPageLinks::MenuCopy() {
    if (const AboutLink* link = Remembered()) clipboard_.PutText(std::string(link->copyText));
}

}  // namespace kadrilo
