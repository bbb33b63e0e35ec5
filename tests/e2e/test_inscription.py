"""The inscription end to end: a full-screen shot with the inscription on an
opaque box of a colour the screen does not show, compared with the screen."""

import pytest

from shots import (FORMATS, SCREEN_SIZE, difference_box, load, shots_folder, show_pattern, store_settings)
from winehost import SETTINGS_KEY
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


@pytest.mark.parametrize("stored, kept", [
    pytest.param({"FontName": "No Such Font"}, {}, id="font-not-installed"),
    pytest.param({"FontSize": 0}, {"FontSize": "0x4"}, id="size-0"),
    pytest.param({"FontSize": 10000}, {"FontSize": "0x48"}, id="size-10000"),
    pytest.param({"InscriptionText": LONG_TEXT, "InscriptionCoordinates": 3}, {"InscriptionText": LONG_TEXT},
                 id="text-2047"),
    pytest.param({"InscriptionBackGroundColor": 0x7F000000 | GREEN, "InscriptionFontColor": 0x7FFFFFFF},
                 {"InscriptionBackGroundColor": hex(GREEN)}, id="colour-high-bits"),
    pytest.param({"InscriptionCoordinates": 99, "InsX": 1000, "InsY": -5},
                 {"InscriptionCoordinates": "0x6", "InsX": "0x64", "InsY": "0x0"}, id="position-out-of-range"),
])
def test_bad_stored_values_still_give_a_shot_with_the_inscription(wine, kadrilo, stored, kept):
    shot, screen = shoot(wine, kadrilo, **{"InscriptionCoordinates": 0, "InscriptionTransporent": 0, **stored})
    box = difference_box(shot, screen)
    assert box is not None, "the shot carries the inscription"
    assert (0, 255, 0) in {shot.getpixel((x, (box[1] + box[3]) // 2)) for x in range(box[0], box[2])}, \
        "on its green box"
    if stored.get("InscriptionText") == LONG_TEXT:
        # Wider than the screen at the right-hand corner: it loses its beginning.
        assert (box[0], box[2]) == (0, SCREEN_SIZE[0] - OFFSET_X), box
    if "FontName" in stored:
        font = wine.reg_query(SETTINGS_KEY, "FontName")
        assert font and font != "No Such Font", "the font rule chose an installed family"
    for name, value in kept.items():
        assert wine.reg_query(SETTINGS_KEY, name) == value, name
