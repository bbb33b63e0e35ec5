"""The inscription end to end: a full-screen shot with the inscription on an
opaque box of a colour the screen does not show, compared with the screen."""

import pytest
from PIL import Image, ImageChops

from resident import (CB_SETCURSEL, CBN_SELCHANGE, CONTROL, MAIN_CLASS, WM_COMMAND, WM_KEYDOWN, controls, post,
                      start_resident, tray_command, wait_controls, wait_main_visible)
from shots import (FORMATS, SCREEN_SIZE, difference_box, grab_screen, load, press_on_desktop, shots_folder,
                   show_pattern, store_settings, wait_file)
from winehost import SETTINGS_KEY, poll
from test_shots import PATTERN_RECT, run_once

GREEN = 0x00FF00  # neither the pattern nor the desktop shows pure green
OFFSET_X, OFFSET_Y = 15, 20


def expected_box(position, width, height):
    """Where the position table puts a box of the given size on the screen."""
    screen_w, screen_h = SCREEN_SIZE
    x = {0: OFFSET_X, 1: screen_w - OFFSET_X - width, 2: OFFSET_X, 3: screen_w - OFFSET_X - width,
         4: screen_w // 2 - width // 2, 5: screen_w // 2 - width // 2, 6: screen_w // 2 - width // 2}[position]
    y = {0: OFFSET_Y, 1: OFFSET_Y, 2: screen_h - OFFSET_Y - height, 3: screen_h - OFFSET_Y - height,
         4: OFFSET_Y, 5: screen_h - OFFSET_Y - height, 6: screen_h // 2 - height // 2}[position]
    return x, y, x + width, y + height


def shoot(wine, kadrilo, **inscription):
    store_settings(wine, **{"WorkMode": 1, "GraphFormatAutosave": FORMATS["png"], "InscriptionEnabled": 1,
                            "InscriptionText": "Kadrilo 123", "EnableDateTime": 0,
                            "InscriptionBackGroundColor": GREEN, "InscriptionFontColor": 0, "InsX": OFFSET_X,
                            "InsY": OFFSET_Y, "FontSize": 14, **inscription})
    _, screen = show_pattern(wine, *PATTERN_RECT)
    run_once(wine, kadrilo, "/screenshot_full")
    return load(shots_folder(wine) / "Screenshot-0.png"), load(screen)


@pytest.mark.parametrize("position", [0, 1, 2, 3, 6])
def test_the_opaque_box_lies_where_the_position_table_puts_it(wine, kadrilo, position):
    shot, screen = shoot(wine, kadrilo, InscriptionCoordinates=position, InscriptionTransporent=0)
    box = difference_box(shot, screen)
    assert box is not None, "the shot carries the inscription"
    width, height = box[2] - box[0], box[3] - box[1]
    assert 40 < width < 300 and 10 < height < 40, box
    assert box == expected_box(position, width, height)
    for corner in ((box[0], box[1]), (box[2] - 1, box[1]), (box[0], box[3] - 1), (box[2] - 1, box[3] - 1)):
        assert shot.getpixel(corner) == (0, 255, 0), f"the box is opaque at {corner}"


def test_a_transparent_inscription_shows_the_picture_between_its_glyphs(wine, kadrilo):
    shot, screen = shoot(wine, kadrilo, InscriptionCoordinates=0, InscriptionTransporent=1)
    box = difference_box(shot, screen)
    assert box is not None and box[0] >= OFFSET_X and box[1] >= OFFSET_Y, box
    inside = [shot.getpixel((x, y)) for x in range(box[0], box[2]) for y in range(box[1], box[3])]
    assert (0, 255, 0) not in inside, "no box is drawn"
    kept = sum(shot.getpixel((x, y)) == screen.getpixel((x, y)) for x in range(box[0], box[2])
               for y in range(box[1], box[3]))
    assert kept > len(inside) // 2, "most of the box shows the picture"


LONG_TEXT = "W" * 2047


# What the tab shows for these values is checked with the tab below.
@pytest.mark.parametrize("stored", [
    pytest.param({"FontName": "No Such Font"}, id="font-not-installed"),
    pytest.param({"FontSize": 0}, id="size-0"),
    pytest.param({"FontSize": 10000}, id="size-10000"),
    pytest.param({"InscriptionText": LONG_TEXT, "InscriptionCoordinates": 3}, id="text-2047"),
    pytest.param({"InscriptionBackGroundColor": 0x7F000000 | GREEN, "InscriptionFontColor": 0x7FFFFFFF},
                 id="colour-high-bits"),
    pytest.param({"InscriptionCoordinates": 99, "InsX": 1000, "InsY": 0xFFFFFFFB}, id="position-out-of-range"),
])
def test_bad_stored_values_still_give_a_shot_with_the_inscription(wine, kadrilo, stored):
    shot, screen = shoot(wine, kadrilo, **{"InscriptionCoordinates": 0, "InscriptionTransporent": 0, **stored})
    box = difference_box(shot, screen)
    assert box is not None, "the shot carries the inscription"
    assert (0, 255, 0) in {shot.getpixel((x, (box[1] + box[3]) // 2)) for x in range(box[0], box[2])}, \
        "on its green box"
    if stored.get("InscriptionText") == LONG_TEXT:
        # Wider than the screen at the right-hand corner: it loses its beginning.
        assert (box[0], box[2]) == (0, SCREEN_SIZE[0] - OFFSET_X), box


# ---------------------------------------------------------------- the Inscription tab

WM_VSCROLL, VK_RIGHT, SB_PAGEDOWN = 0x115, 0x27, 3
INSCRIPTION_TAB = 3  # the fourth tab


def open_inscription_tab(wine, kadrilo, **stored):
    store_settings(wine, **stored)
    program = start_resident(wine, kadrilo)
    wine.expected_classes.add(MAIN_CLASS)
    tray_command(wine, "settings")
    assert wait_main_visible(wine, True)
    for _ in range(INSCRIPTION_TAB):  # the arrow key moves the tab control one tab on
        post(wine, f"{MAIN_CLASS}/{CONTROL['PageControl']}", WM_KEYDOWN, VK_RIGHT, 0)
    assert wait_controls(wine, lambda c: c["TabSheet5"]["visible"])["PageControl"]["selected"] == INSCRIPTION_TAB
    return program


def tab_state(shown):
    """What each control of the tab shows (a list its selection, a box whether it
    is ticked, a field its text) and whether it is enabled."""
    return {name: (shown[name].get("selected", shown[name].get("checked", shown[name]["text"])),
                   shown[name]["enabled"]) for name in DEFAULT_TAB}


ANY = object()  # a label's text, not compared
DEFAULT_TAB = {
    "CheckBox10": (False, True), "Edit3": ("Text example", True), "CheckBox11": (False, True),
    "ComboBox7": (0, False), "SpinEdit5": ("10", True), "C00": (False, True), "C01": (False, True),
    "C02": (False, True), "C03": (False, True), "Panel6": ("", True), "CheckBox12": (True, True),
    "Panel7": ("", True), "ComboBox9": (3, True), "Label490": (ANY, True), "SpinEdit6": ("15", True),
    "Label491": (ANY, True), "SpinEdit7": ("15", True),
}


@pytest.mark.parametrize("stored, differences", [
    pytest.param({}, {}, id="defaults"),
    pytest.param({"InscriptionEnabled": 1, "EnableDateTime": 1, "DateTimeFormat": 9, "InscriptionTransporent": 1,
                  "InscriptionCoordinates": 4, "InscriptionStyleItalic": 1, "InscriptionText": "Shot"},
                 {"CheckBox10": (True, True), "CheckBox11": (True, True), "ComboBox7": (9, True),
                  "CheckBox12": (False, True), "Panel7": ("", False), "ComboBox9": (4, True), "C01": (True, True),
                  "Label490": (ANY, False), "SpinEdit6": ("15", False), "Edit3": ("Shot", True)},
                 id="stored"),
    pytest.param({"InscriptionCoordinates": 6}, {"ComboBox9": (6, True), "Label490": (ANY, False),
                                                 "SpinEdit6": ("15", False), "Label491": (ANY, False),
                                                 "SpinEdit7": ("15", False)}, id="centre-uses-no-offset"),
    pytest.param({"FontSize": 0, "InscriptionCoordinates": 99, "InsX": 1000, "InsY": 0xFFFFFFFB,  # -5
                  "InscriptionText": LONG_TEXT},
                 {"SpinEdit5": ("4", True), "ComboBox9": (6, True), "Label490": (ANY, False),
                  "SpinEdit6": ("100", False), "Label491": (ANY, False), "SpinEdit7": ("0", False),
                  "Edit3": (LONG_TEXT, True)}, id="out-of-range-clamped"),
    pytest.param({"FontSize": 10000}, {"SpinEdit5": ("72", True)}, id="size-10000-clamped"),
])
def test_the_tab_shows_the_settings_and_greys_what_they_leave_unused(wine, kadrilo, stored, differences):
    open_inscription_tab(wine, kadrilo, **stored)
    expected = {**DEFAULT_TAB, **differences}
    shown = tab_state(wait_controls(wine, lambda c: c["SpinEdit5"]["text"] != ""))
    assert {name: (value if expected[name][0] is not ANY else ANY, enabled)
            for name, (value, enabled) in shown.items()} == expected


def test_the_font_list_holds_the_installed_families_and_falls_back_for_a_missing_one(wine, kadrilo):
    open_inscription_tab(wine, kadrilo, FontName="No Such Font")
    font_list = wait_controls(wine, lambda c: c["ComboBox8"]["items"])["ComboBox8"]
    assert "No Such Font" not in font_list["items"]
    assert font_list["items"] == sorted(font_list["items"], key=str.casefold)
    assert font_list["selected"] >= 0 and font_list["text"] == font_list["items"][font_list["selected"]]


def select_item(wine, name, index):
    post(wine, f"{MAIN_CLASS}/{CONTROL[name]}", CB_SETCURSEL, index, 0)
    post(wine, MAIN_CLASS, WM_COMMAND, (CBN_SELCHANGE << 16) | CONTROL[name], controls(wine)[name]["hwnd"])


def test_choices_on_the_tab_change_the_next_shot(wine, kadrilo):
    open_inscription_tab(wine, kadrilo, WorkMode=1, GraphFormatAutosave=FORMATS["png"], InscriptionEnabled=0,
                         InscriptionText="Kadrilo 123", EnableDateTime=0, InscriptionBackGroundColor=GREEN,
                         InscriptionFontColor=0, InsX=OFFSET_X, InsY=OFFSET_Y, FontSize=14,
                         InscriptionCoordinates=3, InscriptionTransporent=0)
    assert wine.driver("click", MAIN_CLASS, str(CONTROL["CheckBox10"]))[0] == 0
    select_item(wine, "ComboBox9", 0)
    shown = wait_controls(wine, lambda c: c["CheckBox10"]["checked"] and c["ComboBox9"]["selected"] == 0)
    assert shown["CheckBox10"]["checked"] and shown["ComboBox9"]["selected"] == 0
    assert wine.driver("click", MAIN_CLASS, str(CONTROL["SpeedButton3"]))[0] == 0  # "Close"
    assert wait_main_visible(wine, False)

    _, screen = show_pattern(wine, *PATTERN_RECT)
    press_on_desktop(wine, "Print")
    shot_file = shots_folder(wine) / "Screenshot-0.png"
    assert wait_file(shot_file), "the hotkey took a shot"
    shot = load(shot_file)
    box = difference_box(shot, load(screen))
    assert box is not None, "the inscription is on"
    assert box == expected_box(0, box[2] - box[0], box[3] - box[1]), "at the left-top corner"


def test_the_preview_centres_the_text_on_the_checkerboard(wine, kadrilo):
    open_inscription_tab(wine, kadrilo, InscriptionText="Kadrilo", EnableDateTime=0, FontSize=14,
                         InscriptionBackGroundColor=GREEN, InscriptionTransporent=0, InscriptionCoordinates=0)
    for _ in range(2):  # the preview lies below the tab's visible part
        post(wine, f"{MAIN_CLASS}/{CONTROL['TabSheet5']}", WM_VSCROLL, SB_PAGEDOWN, 0)

    def preview():
        screen = load(grab_screen(wine, wine.workdir / "tab.png")).convert("RGB")
        # Two green areas: the background swatch, then the box in the preview below it.
        everything = bounding_box(screen, (0, 255, 0))
        if not everything:
            return None
        rows = [y for y in range(everything[1], everything[3])
                if bounding_box(screen.crop((0, y, screen.width, y + 1)), (0, 255, 0))]
        gaps = [y for previous, y in zip(rows, rows[1:]) if y != previous + 1]
        if not gaps:
            return None
        green = bounding_box(screen.crop((0, gaps[-1], *screen.size)), (0, 255, 0))
        return screen, (green[0], green[1] + gaps[-1], green[2], green[3] + gaps[-1])
    found = poll(preview, 10)
    assert found, "the swatch and the preview show the green background"
    screen, (g_left, g_top, g_right, g_bottom) = found
    # The checkerboard around the box: the run of its colours along the row above
    # the box and along the column left of it.
    checker = {(192, 192, 192), (255, 255, 255)}
    left, right = checker_run(lambda x: screen.getpixel((x, g_top - 1)), g_left, checker, screen.width)
    top, bottom = checker_run(lambda y: screen.getpixel((g_left - 1, y)), g_top, checker, screen.height)
    # The run ends at the control's edge, whose lower and right side is white.
    assert (right - left, bottom - top) in ((336, 48), (337, 49)), "the checkerboard fills the preview"
    assert screen.getpixel((left, top)) == (192, 192, 192), "silver at the top left"
    assert screen.getpixel((left + 8, top)) == (255, 255, 255)
    assert screen.getpixel((left + 335, top + 47)) == (192, 192, 192), "42 x 6 squares, the last one silver"
    width, height = g_right - g_left, g_bottom - g_top
    assert (g_left - left, g_top - top) == (336 // 2 - width // 2, 48 // 2 - height // 2), \
        "centred, whatever the position"


def checker_run(pixel, start, colours, limit):
    """The half-open run [first, last + 1) around `start` of pixels in those colours."""
    first, last = start, start
    while first > 0 and pixel(first - 1) in colours:
        first -= 1
    while last + 1 < limit and pixel(last + 1) in colours:
        last += 1
    return first, last + 1


def bounding_box(image, colour):
    """The smallest rectangle holding every pixel of that colour, or None."""
    mask = Image.eval(ImageChops.difference(image, Image.new("RGB", image.size, colour)).convert("L"),
                      lambda v: 255 if v == 0 else 0)
    return mask.getbbox()


