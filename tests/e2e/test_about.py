"""The about page end to end: its texts in both languages, the program's own
pointing hand over the links (read from the X server), the links' Copy on the
clipboard (read by xclip) and their clicks, which ask the shell to open the
address (a stand-in handler registered for http and mailto records it)."""

import ctypes
import ctypes.util
import struct

import pytest

import winehost
from resident import CONTROL, MENU_CLASS, WAIT, controls, menu_open, press_in_menu, start_resident, tray_command, \
    wait_controls, wait_main_visible
from shots import grab_screen, load, run_tool, store_settings, xdotool
from winehost import MAIN_CLASS, poll, windows_path

FORUM = "http://www.kadrilo.org/forum/"
WEB_PAGE = "http://www.kadrilo.org/"
MAIL = "mailto:support@kadrilo.org?subject=Kadrilo_2_1"
UPDATES = "http://www.kadrilo.org/check_updates/?ver_id=215"

TEXTS = {
    1: {"Label551": "Program version:", "Label552": "Date of compilation:", "Label553": "Support:",
        "Label554": "Web Page:", "LinkUpdates": "Check for updates", "LinkAbout": "About..."},
    0: {"Label551": "Версия:", "Label552": "Дата компиляции:", "Label553": "Техподдержка:",
        "Label554": "Web-страница:", "LinkUpdates": "Проверить наличие обновлений", "LinkAbout": "О программе..."},
}
SAME_IN_BOTH = {"LabelVersion": "2.1 RC3", "LabelDate": "12.02.2007", "LinkMail": "the Kadrilo authors",
                "LinkForum": FORUM, "LinkWebPage": WEB_PAGE}
TITLE = {1: "Kadrilo - About", 0: "Kadrilo - О программе"}


def open_about(wine, kadrilo, language=1, **settings):
    store_settings(wine, Language=language, **settings)
    wine.expected_classes.add(MAIN_CLASS)  # the page stays up
    program = start_resident(wine, kadrilo)
    tray_command(wine, "about")
    assert wait_main_visible(wine, True), "the about command does not show the window"
    wait_controls(wine, lambda c: c["MainPanel2"]["visible"])
    return program


def screen_rect(wine, name):
    rc, out = wine.driver("control-rect", MAIN_CLASS, CONTROL[name])
    assert rc == 0, f"no control {name}"
    return tuple(int(n) for n in out.strip(" []\n").split(","))


def centre(wine, name):
    left, top, right, bottom = screen_rect(wine, name)
    return (left + right) // 2, (top + bottom) // 2


def point_at(wine, name):
    x, y = centre(wine, name)
    xdotool(wine, "mousemove", x, y)
    assert poll(lambda: xdotool(wine, "getmouselocation").startswith(f"x:{x} y:{y} "), 5)
    return x, y


@pytest.mark.parametrize("language", [1, 0], ids=["english", "russian"])
def test_the_about_page_texts(wine, kadrilo, language):
    open_about(wine, kadrilo, language)
    shown = controls(wine)
    for name, text in {**TEXTS[language], **SAME_IN_BOTH}.items():
        assert shown[name]["text"] == text, name
        assert shown[name]["visible"], name
    assert shown["TopPanel"]["text"] == TITLE[language]
    assert not shown["LinkAbout"]["enabled"], "the About label is off while its page shows"
    assert not shown["MainPanel1"]["visible"] and not shown["MainPanel0"]["visible"]
    # Back on the settings page the label works again.
    tray_command(wine, "settings")
    assert wait_controls(wine, lambda c: c["LinkAbout"]["enabled"] and c["MainPanel1"]["visible"])


# ---------------------------------------------------------------- the looks

NORMAL_COLOUR, HOVER_COLOUR, PRESSED_COLOUR = (0x55, 0x80, 0xC6), (0x37, 0x61, 0xA6), (0xFF, 0, 0)


def look(wine, name):
    """The colour of the label's text as the screen shows it, and whether a
    line of it runs under the text."""
    rect = screen_rect(wine, name)
    picture = load(grab_screen(wine, wine.workdir / "look.png")).convert("RGB").crop(rect)
    counts = {}
    for colour in picture.getdata():
        counts[colour] = counts.get(colour, 0) + 1
    text = next((c for c in (NORMAL_COLOUR, HOVER_COLOUR, PRESSED_COLOUR) if counts.get(c)), None)
    rows = [[picture.getpixel((x, y)) for x in range(picture.width)] for y in range(picture.height)]
    underlined = any(row.count(text) >= picture.width // 2 for row in rows)
    return text, underlined


def test_a_link_looks_normal_hovered_and_pressed(wine, kadrilo):
    open_about(wine, kadrilo)
    assert look(wine, "LinkForum") == (NORMAL_COLOUR, False)
    x, y = point_at(wine, "LinkForum")
    assert poll(lambda: look(wine, "LinkForum") == (HOVER_COLOUR, True), 5), look(wine, "LinkForum")
    xdotool(wine, "mousedown", 1)
    assert poll(lambda: look(wine, "LinkForum") == (PRESSED_COLOUR, True), 5), look(wine, "LinkForum")
    xdotool(wine, "mousemove", x, y + 60)
    xdotool(wine, "mouseup", 1)
    assert poll(lambda: look(wine, "LinkForum") == (NORMAL_COLOUR, False), 5), look(wine, "LinkForum")


# ---------------------------------------------------------------- the cursor

class CursorImage(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short), ("width", ctypes.c_ushort),
                ("height", ctypes.c_ushort), ("xhot", ctypes.c_ushort), ("yhot", ctypes.c_ushort),
                ("cursor_serial", ctypes.c_ulong), ("pixels", ctypes.POINTER(ctypes.c_ulong)),
                ("atom", ctypes.c_ulong), ("name", ctypes.c_char_p)]


def x_cursor(display):
    """The X server's current cursor: its hotspot and its opaque pixels."""
    x11 = ctypes.CDLL(ctypes.util.find_library("X11"))
    xfixes = ctypes.CDLL(ctypes.util.find_library("Xfixes"))
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    x11.XFree.argtypes = [ctypes.c_void_p]
    xfixes.XFixesQueryExtension.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_int),
                                            ctypes.POINTER(ctypes.c_int)]
    xfixes.XFixesGetCursorImage.restype = ctypes.POINTER(CursorImage)
    xfixes.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]
    handle = x11.XOpenDisplay(display.encode())
    assert handle, f"cannot open the X display {display}"
    try:
        event, error = ctypes.c_int(), ctypes.c_int()
        assert xfixes.XFixesQueryExtension(handle, ctypes.byref(event), ctypes.byref(error))
        image = xfixes.XFixesGetCursorImage(handle)
        assert image, "the X server gives no cursor image"
        c = image.contents
        opaque = {(i % c.width, i // c.width) for i in range(c.width * c.height) if c.pixels[i] >> 24}
        shape = (c.xhot, c.yhot, frozenset(opaque))
        x11.XFree(image)
        return shape
    finally:
        x11.XCloseDisplay(handle)


def cursor_file(path):
    """The hotspot and the opaque pixels of a 32 x 32 monochrome .cur file."""
    data = path.read_bytes()
    hot_x, hot_y = struct.unpack_from("<HH", data, 10)
    offset = struct.unpack_from("<I", data, 18)[0]
    mask = data[offset + 40 + 8 + 128: offset + 40 + 8 + 256]  # after the header, palette and the colour plane
    opaque = set()
    for row in range(32):
        y = 31 - row  # bottom-up
        for x in range(32):
            if not mask[row * 4 + x // 8] & (0x80 >> (x % 8)):
                opaque.add((x, y))
    return hot_x, hot_y, frozenset(opaque)


def test_links_and_page_buttons_show_the_programs_hand(wine, kadrilo):
    open_about(wine, kadrilo)
    hand = cursor_file(winehost.REPO / "resources" / "click.cur")
    for name in ["LinkForum", "LinkWebPage", "LinkMail", "LinkUpdates", "SpeedButton2", "SpeedButton4"]:
        point_at(wine, name)
        assert poll(lambda: x_cursor(wine.xvfb.display) == hand, 5), f"{name} does not show the CLICK cursor"
    point_at(wine, "Label551")
    assert poll(lambda: x_cursor(wine.xvfb.display) != hand, 5), "a plain label shows the hand"
    tray_command(wine, "settings")
    wait_controls(wine, lambda c: c["LinkAbout"]["enabled"])
    point_at(wine, "LinkAbout")
    assert poll(lambda: x_cursor(wine.xvfb.display) == hand, 5), "the About label does not show the CLICK cursor"


# ---------------------------------------------------------------- Copy and clicks

def clipboard_text(wine):
    env = {**wine.env, "DISPLAY": wine.xvfb.display}
    result = run_tool(["xclip", "-selection", "clipboard", "-t", "UTF8_STRING", "-o"], env=env, check=False)
    return result.stdout.decode("utf-8", errors="replace") if result.returncode == 0 else None


@pytest.mark.parametrize("link, copied", [
    pytest.param("LinkForum", FORUM, id="forum"),
    pytest.param("LinkWebPage", WEB_PAGE, id="web-page"),
    pytest.param("LinkMail", "support@kadrilo.org", id="mail-bare-address"),
])
def test_copy_puts_the_address_on_the_clipboard(wine, kadrilo, link, copied):
    open_about(wine, kadrilo)
    point_at(wine, link)
    xdotool(wine, "click", 3)
    assert menu_open(wine), "the link has no context menu"
    press_in_menu(wine, "down", "down", "enter")  # the second item: Copy
    assert poll(lambda: clipboard_text(wine) == copied, WAIT), f"clipboard: {clipboard_text(wine)!r}"


def register_recorder(wine):
    """http and mailto open the driver, which writes the address to a file."""
    record = wine.workdir / "opened.txt"
    command = f'"{windows_path(wine.driver_exe)}" record "{windows_path(record)}" "%1"'
    for protocol in ["http", "mailto"]:
        for root in ["HKLM\\Software\\Classes", "HKCU\\Software\\Classes"]:
            key = f"{root}\\{protocol}\\shell\\open\\command"
            rc, out = wine.reg("add", key, "/ve", "/t", "REG_SZ", "/d", command, "/f")
            assert rc == 0, out
    return record


def opened(record):
    return record.read_text(encoding="utf-8").splitlines() if record.exists() else []


def test_clicks_and_open_ask_the_shell_for_the_address(wine, kadrilo):
    record = register_recorder(wine)
    open_about(wine, kadrilo)
    expected = []
    for link, address in [("LinkForum", FORUM), ("LinkMail", MAIL), ("LinkUpdates", UPDATES)]:
        point_at(wine, link)
        xdotool(wine, "click", 1)
        expected.append(address)
        assert poll(lambda: opened(record) == expected, WAIT), f"opened: {opened(record)}"
    # The menu's default item, Open.
    point_at(wine, "LinkWebPage")
    xdotool(wine, "click", 3)
    assert menu_open(wine)
    press_in_menu(wine, "down", "enter")
    expected.append(WEB_PAGE)
    assert poll(lambda: opened(record) == expected, WAIT), f"opened: {opened(record)}"
    # Pressed on a link and released outside it: nothing opens.
    x, y = point_at(wine, "LinkForum")
    xdotool(wine, "mousedown", 1)
    xdotool(wine, "mousemove", x, y + 60)
    xdotool(wine, "mouseup", 1)
    assert not poll(lambda: len(opened(record)) > len(expected), 2), "a release outside the link opened it"


def test_a_right_click_on_the_about_label_opens_nothing(wine, kadrilo):
    store_settings(wine, Language=1)
    wine.expected_classes.add(MAIN_CLASS)
    start_resident(wine, kadrilo)
    tray_command(wine, "settings")
    assert wait_main_visible(wine, True)
    point_at(wine, "LinkAbout")
    xdotool(wine, "click", 3)
    assert not menu_open(wine, timeout=1000), "the About label has no menu"
    assert controls(wine)["MainPanel1"]["visible"], "the right click changed the page"
    xdotool(wine, "click", 1)
    assert wait_controls(wine, lambda c: c["MainPanel2"]["visible"]), "a left click opens the about page"
