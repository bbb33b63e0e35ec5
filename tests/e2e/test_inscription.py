"""The inscription end to end: a full-screen shot with the inscription on an
opaque box of a colour the screen does not show, compared with the screen."""

import pytest

from shots import (FORMATS, SCREEN_SIZE, difference_box, load, shots_folder, show_pattern, store_settings)
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
    store_settings(wine, WorkMode=1, GraphFormatAutosave=FORMATS["png"], InscriptionEnabled=1,
                   InscriptionText="Kadrilo 123", EnableDateTime=0, InscriptionBackGroundColor=GREEN,
                   InscriptionFontColor=0, InsX=OFFSET_X, InsY=OFFSET_Y, FontSize=14, **inscription)
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
