"""Screenshots end to end: what the program writes is compared pixel by pixel
with what the X server shows (ImageMagick's import) while the driver's pattern
window is up, and the files are read by tools of their own format.

Every test stores WorkMode 1 (autosave): with it a command-line shot creates no
tray icon, so Wine's taskbar stays off the captured screen."""

import pytest

from shots import (FORMATS, PATTERN_CLASS, SCREEN_SIZE, absolute_error, check_with_own_reader,
                   clipboard_bmp, difference_box, folder_listing, grab_screen, identify, load,
                   offset, press_on_desktop, psnr, same, shots_folder, show_pattern,
                   store_settings, visible_part, wait_file, xdotool)
from resident import CONTROL, wait_main_visible
from winehost import SETTINGS_KEY, poll

OVERLAY_CLASS = "TAllocationForm"  # the last window the program creates at start-up
EXIT_TIMEOUT = 20  # seconds for a one-shot run to end

# What ImageMagick calls the formats the program writes.
IMAGEMAGICK_FORMAT = {"bmp": "BMP3", "jpg": "JPEG", "png": "PNG", "tif": "TIFF"}

# JPEG is lossy: the file, decoded by djpeg, must be within this peak
# signal-to-noise ratio of the screen. At the default quality (75) this screen
# comes out at about 35 dB; the same screen moved by one pixel is at 28.5 dB,
# with red and blue swapped at 9.5 dB.
JPEG_MIN_PSNR = 32.0

PATTERN_RECT = (96, 64, 640, 480)  # x, y, width, height: the desktop shows around it


def poll_until(condition, timeout=10):
    return poll(condition, timeout)


def run_once(wine, kadrilo, *args):
    program = kadrilo(*args)
    assert wine.wait_exit(program, EXIT_TIMEOUT) == 0, (
        f"the one-shot run did not end with exit code 0 (it ended with {program.poll()})")


def assert_screen_unchanged(wine, screen):
    """The screen the shot is compared with is still the screen after the run."""
    after = grab_screen(wine, wine.workdir / "screen-after.png")
    assert same(load(after), load(screen)), (
        f"the screen changed during the run: {difference_box(load(after), load(screen))}")


@pytest.mark.parametrize("extension", ["bmp", "png", "jpg", "tif"])
def test_full_screen_shot_is_the_screen(wine, kadrilo, extension):
    store_settings(wine, WorkMode=1, GraphFormatAutosave=FORMATS[extension])
    _, screen = show_pattern(wine, *PATTERN_RECT)

    run_once(wine, kadrilo, "/screenshot_full", "/mode2")

    shot = shots_folder(wine) / f"Screenshot-0.{extension}"
    assert folder_listing(shots_folder(wine)) == [shot.name]
    assert identify(shot) == (IMAGEMAGICK_FORMAT[extension], *SCREEN_SIZE)
    decoded = check_with_own_reader(shot)
    if extension == "jpg":
        assert identify(decoded)[1:] == SCREEN_SIZE
        assert psnr(decoded, screen) >= JPEG_MIN_PSNR
    else:
        assert absolute_error(decoded, screen) == 0
    assert_screen_unchanged(wine, screen)
    assert wine.reg_query(SETTINGS_KEY, "NumberAutosave") == "0x1"


# The pattern covers the whole screen and has no pure black or white pixel, so
# every pixel of the arrow (black outline, white inside) changes the picture.
@pytest.mark.parametrize("include_cursor, pointer", [
    pytest.param(0, (300, 200), id="left-out"),
    pytest.param(1, (300, 200), id="drawn"),
    pytest.param(1, (SCREEN_SIZE[0] - 8, SCREEN_SIZE[1] - 8), id="cut-at-the-screen-edge"),
])
def test_cursor_in_the_shot(wine, kadrilo, include_cursor, pointer):
    store_settings(wine, WorkMode=1, GraphFormatAutosave=FORMATS["png"],
                   IncludeCursor=include_cursor)
    window, _ = show_pattern(wine, 0, 0, *SCREEN_SIZE)
    rc, moved = wine.driver_json("cursor-move", *pointer, 3000)
    assert rc == 0, f"the pointer did not move to {pointer}: {moved}"
    rc, arrow = wine.driver_json("arrow-cursor")
    assert rc == 0
    screen = grab_screen(wine, wine.workdir / "screen-pointer.png")
    assert window.on_screen(load(screen)), "X leaves the pointer out of the screen image"

    run_once(wine, kadrilo, "/screenshot_full", "/mode2")

    shot = shots_folder(wine) / "Screenshot-0.png"
    changed = difference_box(load(shot), load(screen))
    if not include_cursor:
        assert changed is None, f"the shot is not the screen at {changed}"
        return
    # The arrow's top-left corner goes to the pointer less the hotspot; what
    # lies beyond the screen is cut off.
    hotspot_x, hotspot_y = arrow["hotspot"]
    corner = (pointer[0] - hotspot_x, pointer[1] - hotspot_y)
    expected = visible_part(offset(arrow["visible"], *corner))
    assert changed == expected, f"arrow {arrow}, pointer {pointer}"


@pytest.mark.parametrize("rect", [
    pytest.param((200, 150, 320, 240), id="on-screen"),
    pytest.param((-60, 600, 400, 300), id="partly-off-screen"),  # left and bottom are outside
])
def test_active_window_shot_is_the_window(wine, kadrilo, rect):
    store_settings(wine, WorkMode=1, GraphFormatAutosave=FORMATS["png"])
    window, screen = show_pattern(wine, *rect)
    rc, foreground = wine.driver_json("foreground")
    assert rc == 0 and foreground["class"] == PATTERN_CLASS

    run_once(wine, kadrilo, "/screenshot_actwin", "/mode2")

    shot = shots_folder(wine) / "Screenshot-0.png"
    assert identify(shot) == ("PNG", *window.size), "the window's full size, also off screen"
    # The part on the screen is the screen there (and so the pattern), the part
    # outside the screen is black.
    on_screen = visible_part(window.rect)
    inside = offset(on_screen, -window.rect[0], -window.rect[1])
    image = load(shot)
    assert same(image.crop(inside), load(screen).crop(on_screen))
    assert same(image.crop(inside), window.image.crop(inside))
    outside = image.copy()
    outside.paste((0, 0, 0), inside)
    assert outside.getbbox() is None, "black outside the screen"


# The stored number, the names of the two runs' files, the number stored after them.
@pytest.mark.parametrize("stored_number, written, number_after", [
    pytest.param(None, ["Screenshot-0.png", "Screenshot-1.png"], "0x2", id="from-nothing"),
    pytest.param(99999, ["Screenshot-99999.png", "Screenshot-0.png"], "0x1", id="wraps-to-0"),
])
def test_numbering_continues_in_the_next_run(wine, kadrilo, stored_number, written, number_after):
    settings = dict(WorkMode=1, GraphFormatAutosave=FORMATS["png"])
    if stored_number is not None:
        settings["NumberAutosave"] = stored_number
    store_settings(wine, **settings)
    folder = shots_folder(wine)

    run_once(wine, kadrilo, "/screenshot_full", "/mode2")
    assert folder_listing(folder) == written[:1]
    first_shot = (folder / written[0]).read_bytes()
    show_pattern(wine, *PATTERN_RECT)  # the second shot differs from the first
    run_once(wine, kadrilo, "/screenshot_full", "/mode2")

    assert folder_listing(folder) == sorted(written)
    assert (folder / written[0]).read_bytes() == first_shot, "the first shot is left alone"
    assert wine.reg_query(SETTINGS_KEY, "NumberAutosave") == number_after


def test_failed_write_is_reported_and_leaves_nothing(wine, kadrilo):
    store_settings(wine, WorkMode=1, GraphFormatAutosave=FORMATS["jpg"])
    # Tests run as root, for whom Wine ignores read-only folders. A folder
    # named like the file makes the write fail instead: the image goes to a
    # temporary file first, and renaming that onto a folder is refused.
    folder = shots_folder(wine)
    (folder / "Screenshot-0.jpg").mkdir(parents=True)

    program = kadrilo("/screenshot_full", "/mode2")
    box = wine.answer("ok", program)

    assert box["text"].startswith("Can't save file: \nC:\\Screenshots\\Screenshot-0.jpg\n\n"
                                  "Probable reasons:\n1. Not enough free disk space.\n"), box
    assert box["text"].endswith("3. Contact your administrator and ask for write access."), box
    assert [button["name"] for button in box["buttons"]] == ["ok"]
    assert wine.wait_exit(program, EXIT_TIMEOUT) == 0
    assert folder_listing(folder) == ["Screenshot-0.jpg"], "no file and no temporary file"
    assert list((folder / "Screenshot-0.jpg").iterdir()) == []
    assert wine.reg_query(SETTINGS_KEY, "NumberAutosave") == "0x1", "the number advances anyway"


def test_clipboard_mode_puts_the_screen_on_the_clipboard(wine, kadrilo):
    store_settings(wine, WorkMode=1)
    _, screen = show_pattern(wine, *PATTERN_RECT)

    run_once(wine, kadrilo, "/screenshot_full", "/mode4")

    assert folder_listing(shots_folder(wine)) == [], "clipboard mode writes no file"
    # Wine offers a clipboard bitmap to X as image/bmp; it outlives the program.
    pasted = clipboard_bmp(wine, wine.workdir / "clipboard.bmp")
    assert pasted is not None, "no image/bmp on the X clipboard"
    assert identify(pasted)[1:] == SCREEN_SIZE
    assert absolute_error(pasted, screen) == 0


def test_hotkeys_of_the_resident_program_save_shots(wine, kadrilo):
    # No tray icon: Wine's taskbar would appear on the screen that is copied.
    store_settings(wine, WorkMode=1, GraphFormatAutosave=FORMATS["png"], TrayIconEnabled=0)
    window, screen = show_pattern(wine, *PATTERN_RECT)
    program = kadrilo()
    assert wine.wait_window(OVERLAY_CLASS, program), "start-up did not finish"
    folder = shots_folder(wine)

    # Key presses, each through another way of typing, and what each must save.
    presses = [
        ("SendInput", "Print", "Screenshot-0.png", (0, 0, *SCREEN_SIZE)),
        ("SendInput", "Alt+Print", "Screenshot-1.png", window.rect),
        ("X keyboard", "Print", "Screenshot-2.png", (0, 0, *SCREEN_SIZE)),
    ]
    for way, keys, name, rect in presses:
        if way == "SendInput":
            rc, _ = wine.driver("send-keys", keys)
            assert rc == 0
        else:
            press_on_desktop(wine, keys)
        assert wait_file(folder / name), (
            f"{keys} by {way} saved no {name}: {folder_listing(folder)}")
        shot = load(folder / name)
        assert same(shot, load(screen).crop(rect)), f"{name} is not the screen at {rect}"

    assert folder_listing(folder) == [name for _, _, name, _ in presses]
    assert program.poll() is None, "the program stays resident"


def test_manual_mode_saves_through_the_dialog(wine, kadrilo):
    """A command-line shot in manual mode waits on the preview page; "Save" opens
    the save dialog, and the name typed there is written with the chosen type's
    extension (".png" typed with the bitmap filter gives a bitmap)."""
    store_settings(wine, WorkMode=1)
    shots_folder(wine).mkdir(parents=True)
    _, screen = show_pattern(wine, *PATTERN_RECT)
    program = kadrilo("/screenshot_full", "/mode1")
    assert wine.wait_window(OVERLAY_CLASS, program), "start-up did not finish"
    assert wait_main_visible(wine, True), "the preview page did not come up"

    rc, _ = wine.driver("click", "TAppMainForm", CONTROL["BitBtn1"])
    assert rc == 0
    rc, dialog = wine.driver_json("msgbox-wait", "Save As", 10000)
    assert rc == 0, "the save dialog did not open"
    # The name field has the focus, its text selected: typing replaces it.
    press_on_desktop(wine, "ctrl+a")
    xdotool(wine, "type", "--delay", "10", "C:\\Screenshots\\manual.png")
    xdotool(wine, "key", "Return")

    saved = shots_folder(wine) / "manual.bmp"
    assert wait_file(saved), f"nothing saved: {folder_listing(shots_folder(wine))}"
    assert folder_listing(shots_folder(wine)) == ["manual.bmp"]
    assert identify(saved)[0] == "BMP3"
    assert absolute_error(saved, screen) == 0, "the shot is the screen before the preview came up"
    assert wait_main_visible(wine, False), "a successful save closes (hides) the window"
    assert wine.stays_running(program, 0.5), "manual mode keeps the program resident"


def test_view_full_opens_the_preview_window(wine, kadrilo):
    """"View full" shows the held shot in the preview window; a double click
    toggles full screen and back to the window's bounds; Esc closes it."""
    store_settings(wine, WorkMode=1)
    program = kadrilo("/screenshot_full", "/mode1")
    assert wine.wait_window(OVERLAY_CLASS, program), "start-up did not finish"
    assert wait_main_visible(wine, True), "the preview page did not come up"
    wine.expected_classes.update({"TViewerForm", "TAppMainForm"})  # the preview page stays up

    def viewer():
        return wine.window("TViewerForm")

    assert wine.driver("click", "TAppMainForm", CONTROL["BitBtn2"])[0] == 0
    assert wine.driver("window-wait", "TViewerForm", 10000)[0] == 0
    assert poll_until(lambda: viewer()["visible"])
    normal = viewer()["rect"]
    assert viewer()["title"] == "Kadrilo - View"
    assert normal[:2] == [0, 0], "a shot of the whole screen opens at the work area's corner"

    for expected in ([0, 0, *SCREEN_SIZE], normal):
        assert wine.driver("post", "TViewerForm", 0x203, 0, 0)[0] == 0  # WM_LBUTTONDBLCLK
        assert poll_until(lambda: viewer()["visible"] and viewer()["rect"] == expected), viewer()

    assert wine.driver("post", "TViewerForm", 0x100, 0x1B, 0)[0] == 0  # Esc
    assert poll_until(lambda: not viewer()["visible"])
    assert wine.stays_running(program, 0.3)
