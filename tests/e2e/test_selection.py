"""The selection overlay end to end: the mouse is driven as a user drives it
(real X pointer events on the Wine desktop), the keys are pressed on the X
keyboard, and the file written is compared pixel by pixel with the part of the
screen that was selected."""

import subprocess

import pytest

from shots import (FORMATS, PATTERN_CLASS, wait_file, SCREEN_SIZE, difference_box, folder_listing, grab_screen, load, press_on_desktop, same,
                   shots_folder, show_pattern, store_settings, xdotool)
from winehost import SETTINGS_KEY, WINE, poll

OVERLAY_CLASS = "TAllocationForm"
MENU_CLASS = "#32768"
PATTERN_RECT = (96, 64, 640, 480)
EXIT_TIMEOUT = 20


def overlay_shown(wine, shown=True, timeout=10):
    def state():
        info = wine.window(OVERLAY_CLASS)
        return info is not None and info["visible"] == shown
    return poll(state, timeout)


def pointer(wine, x, y):
    xdotool(wine, "mousemove", x, y)
    assert poll(lambda: xdotool(wine, "getmouselocation").startswith(f"x:{x} y:{y} "), 5)


def drag(wine, start, end):
    """Presses the left button at start, moves in two steps to end, releases."""
    pointer(wine, *start)
    xdotool(wine, "mousedown", 1)
    pointer(wine, (start[0] + end[0]) // 2, (start[1] + end[1]) // 2)
    pointer(wine, *end)
    xdotool(wine, "mouseup", 1)


def open_overlay(wine, kadrilo):
    store_settings(wine, WorkMode=1, GraphFormatAutosave=FORMATS["png"])
    _, screen = show_pattern(wine, *PATTERN_RECT)
    program = kadrilo("/screenshot_selected")
    assert wine.wait_window(OVERLAY_CLASS, program, timeout=20000), "start-up did not finish"
    assert overlay_shown(wine), "the overlay did not open"
    info = wine.window(OVERLAY_CLASS)
    assert info["rect"] == [0, 0, *SCREEN_SIZE], "the overlay covers the screen"
    assert info["topmost"], "the overlay lies over every window"
    return program, load(screen)


# Each way of making the selection, and the rectangle (left, top, right, bottom) it selects.
@pytest.mark.parametrize("drags, rect", [
    pytest.param([((500, 400), (150, 120))], (150, 120, 500, 400), id="drawn-from-lower-right"),
    pytest.param([((150, 120), (400, 300)), ((200, 200), (260, 230))], (210, 150, 460, 330), id="moved"),
    pytest.param([((150, 120), (400, 300)), ((399, 200), (520, 200))], (150, 120, 520, 300), id="right-edge-dragged"),
])
def test_the_selected_part_of_the_frozen_screen_is_saved(wine, kadrilo, drags, rect):
    program, screen = open_overlay(wine, kadrilo)
    for start, end in drags:
        drag(wine, start, end)
    press_on_desktop(wine, "Return")
    assert wine.wait_exit(program, EXIT_TIMEOUT) == 0
    folder = shots_folder(wine)
    assert folder_listing(folder) == ["Screenshot-0.png"]
    shot = load(folder / "Screenshot-0.png")
    assert shot.size == (rect[2] - rect[0], rect[3] - rect[1])
    assert same(shot, screen.crop(rect)), f"the file is not the screen at {rect}"


@pytest.mark.parametrize("cancel", ["escape", "menu-cancel"])
def test_escape_and_the_menu_close_without_a_shot(wine, kadrilo, cancel):
    program, screen = open_overlay(wine, kadrilo)
    drag(wine, (150, 120), (400, 300))
    # A right click opens the menu (Apply, Cancel) at the pointer.
    pointer(wine, 300, 250)
    xdotool(wine, "click", 3)
    assert poll(lambda: any(w["class"] == MENU_CLASS and w["visible"] for w in wine.windows()), 5), "no menu"
    menu = next(w for w in wine.windows() if w["class"] == MENU_CLASS and w["visible"])
    assert abs(menu["rect"][0] - 300) <= 2 and abs(menu["rect"][1] - 250) <= 2, menu
    if cancel == "menu-cancel":
        press_on_desktop(wine, "Up")  # from the top, the last item: Cancel
        press_on_desktop(wine, "Return")
    else:
        press_on_desktop(wine, "Escape")  # closes the menu
        assert poll(lambda: not any(w["class"] == MENU_CLASS and w["visible"] for w in wine.windows()), 5)
        assert wine.window(OVERLAY_CLASS)["visible"]
        press_on_desktop(wine, "Escape")  # cancels the selection
    assert wine.wait_exit(program, EXIT_TIMEOUT) == 0, "the command-line run ends with the overlay"
    assert folder_listing(shots_folder(wine)) == []
    after = load(grab_screen(wine, wine.workdir / "after.png"))
    assert same(after, screen), "the overlay left nothing on the screen"


def test_an_area_series_stops_by_itself_after_its_quantity(wine, kadrilo):
    store_settings(wine, WorkMode=2, ManualSerial=0, QuantityOfScreenshots=3, IntervalOfTime=2,
                   GraphFormatSerial=FORMATS["png"])
    shots_folder(wine).mkdir()  # the series folder C:\Screenshots\Continuous is made one level deep
    _, screen = show_pattern(wine, *PATTERN_RECT)
    program = kadrilo("/screenshot_selected")
    assert wine.wait_window(OVERLAY_CLASS, program, timeout=20000), "start-up did not finish"
    assert overlay_shown(wine)
    drag(wine, (120, 100), (360, 260))
    press_on_desktop(wine, "Return")
    assert wine.wait_exit(program, EXIT_TIMEOUT) == 0, "the command-line series ends by itself"
    folder = shots_folder(wine) / "Continuous"
    names = ["Screenshot-0.png", "Screenshot-1.png", "Screenshot-2.png"]
    assert folder_listing(folder) == names
    for name in names:  # the first from the frozen screen, the others copied live
        assert same(load(folder / name), load(screen).crop((120, 100, 360, 260))), name
    assert wine.reg_query(SETTINGS_KEY, "NumberSerial") == "0x3"


def test_the_frozen_screen_holds_the_cursor_where_it_was(wine, kadrilo):
    store_settings(wine, WorkMode=1, GraphFormatAutosave=FORMATS["png"], IncludeCursor=1)
    _, screen = show_pattern(wine, *PATTERN_RECT)
    pointer(wine, 300, 250)
    program = kadrilo("/screenshot_selected")
    assert wine.wait_window(OVERLAY_CLASS, program, timeout=20000), "start-up did not finish"
    assert overlay_shown(wine)
    drag(wine, (450, 400), (250, 200))  # the pointer ends elsewhere than where it was frozen
    press_on_desktop(wine, "Return")
    assert wine.wait_exit(program, EXIT_TIMEOUT) == 0
    shot = load(shots_folder(wine) / "Screenshot-0.png")
    box = difference_box(shot, load(screen).crop((250, 200, 450, 400)))
    assert box is not None, "the cursor is in the shot"
    # The arrow starts at its hotspot, where the pointer stood: (50, 50) in the shot.
    assert 48 <= box[0] <= 52 and 48 <= box[1] <= 52 and box[2] - box[0] < 40, box


def test_the_hotkey_opens_the_overlay_and_another_window_does_not_hang_it(wine, kadrilo):
    store_settings(wine, WorkMode=1, GraphFormatAutosave=FORMATS["png"], TrayIconEnabled=0)
    show_pattern(wine, *PATTERN_RECT)
    program = kadrilo()
    assert wine.wait_window(OVERLAY_CLASS, program), "start-up did not finish"
    press_on_desktop(wine, "ctrl+Print")
    assert overlay_shown(wine), "Ctrl+PrintScreen opens the overlay"
    assert wine.window(OVERLAY_CLASS)["rect"] == [0, 0, *SCREEN_SIZE]
    rc, out = wine.driver_json("foreground")
    assert rc == 0 and out["class"] == OVERLAY_CLASS, out

    # Another program's window asks for the foreground while the overlay is open.
    other = subprocess.Popen([WINE, str(wine.driver_exe), "pattern-window", "300", "300", "120", "90"],
                             env=wine.env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL)
    wine.processes.append(other)
    wine.expected_classes.add(PATTERN_CLASS)

    # The overlay takes the foreground back (or, failing that, closes): either
    # way the program goes on answering.
    def settled():
        info = wine.window(OVERLAY_CLASS)
        if not info["visible"]:
            return True
        rc, out = wine.driver_json("foreground")
        return rc == 0 and out["class"] == OVERLAY_CLASS
    assert poll(settled, 10), "the overlay neither came back to the front nor closed"
    if wine.window(OVERLAY_CLASS)["visible"]:
        press_on_desktop(wine, "Escape")
        assert overlay_shown(wine, False)
    press_on_desktop(wine, "Print")
    assert wait_file(shots_folder(wine) / "Screenshot-0.png"), "the program still answers its hotkeys"
    assert program.poll() is None
