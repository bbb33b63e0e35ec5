"""Helpers of the screenshot tests: a known picture on the screen (the driver's
pattern window), the screen as the X server shows it, and the images the program
wrote, read back by ImageMagick, pngcheck, djpeg, tiffinfo and xclip."""

import re
import select
import subprocess
from pathlib import Path

from PIL import Image, ImageChops

import winehost
from winehost import SETTINGS_KEY, SCREEN, WINE

SCREEN_SIZE = tuple(int(n) for n in SCREEN.split("x"))
PATTERN_CLASS = "KadtestPattern"
FORMATS = {"bmp": 0, "jpg": 1, "png": 2, "tif": 3}  # extension: stored GraphFormatAutosave
TOOL_TIMEOUT = 20  # seconds for one run of an image tool


def store_settings(wine, **values):
    """Stored settings that the program reads (AppVersion 21 makes them count)."""
    wine.reg_import({SETTINGS_KEY: {"AppVersion": 21, **values}})


def shots_folder(wine):
    """C:\\Screenshots, the default folder of automatic saves."""
    return wine.prefix / "drive_c" / "Screenshots"


def folder_listing(folder):
    return sorted(p.name for p in folder.iterdir()) if folder.is_dir() else []


def wait_file(path, timeout=10):
    """Waits until the file exists with a size that has stopped growing."""
    sizes = []

    def settled():
        sizes.append(path.stat().st_size if path.is_file() else -1)
        return len(sizes) >= 2 and sizes[-1] > 0 and sizes[-1] == sizes[-2]
    return winehost.poll(settled, timeout)


# ---------------------------------------------------------------- the pattern

def pattern_pixel(x, y, width, height):
    """The colour of the driver's pattern window at (x, y) inside the window
    (the same function as in tests/driver/ShotCommands.cpp)."""
    red = 24 + x * 208 // max(width - 1, 1)
    green = 24 + y * 208 // max(height - 1, 1)
    blue = 200 if (x // 32 + y // 32) % 2 else 56
    return red, green, blue


def pattern_image(width, height):
    data = bytearray()
    for y in range(height):
        for x in range(width):
            data.extend(pattern_pixel(x, y, width, height))
    return Image.frombytes("RGB", (width, height), bytes(data))


def visible_part(rect):
    """The part of a screen rectangle (left, top, right, bottom) on the screen."""
    left, top, right, bottom = rect
    return max(left, 0), max(top, 0), min(right, SCREEN_SIZE[0]), min(bottom, SCREEN_SIZE[1])


def offset(rect, dx, dy):
    left, top, right, bottom = rect
    return left + dx, top + dy, right + dx, bottom + dy


class PatternWindow:
    """The driver's topmost, active pattern window at a screen rectangle."""

    def __init__(self, wine, x, y, width, height):
        self.rect = (x, y, x + width, y + height)
        self.size = (width, height)
        self.image = pattern_image(width, height)
        assert Path(wine.driver_exe).is_file(), f"the test driver {wine.driver_exe} does not exist"
        self.process = subprocess.Popen(
            [WINE, str(wine.driver_exe), "pattern-window", *map(str, (x, y, width, height))],
            env=wine.env, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
            stderr=subprocess.DEVNULL)
        wine.processes.append(self.process)
        wine.expected_classes.add(PATTERN_CLASS)
        output = self.process.stdout
        ready = select.select([output], [], [], 20)[0] and output.readline()
        assert ready and ready.strip() == b"ready", "the pattern window did not come up"

    def on_screen(self, screen):
        """True if the screen image shows the window's picture (its visible part)."""
        part = visible_part(self.rect)
        expected = self.image.crop(offset(part, -self.rect[0], -self.rect[1]))
        return same(screen.crop(part), expected)


def show_pattern(wine, x, y, width, height, timeout=10):
    """Shows the pattern window and waits until the X screen shows it. Returns
    the window and the screen file grabbed once it was there."""
    window = PatternWindow(wine, x, y, width, height)
    grabbed = wine.workdir / "screen.png"

    def shown():
        return window.on_screen(load(grab_screen(wine, grabbed)))
    assert winehost.poll(shown, timeout), "the screen never showed the pattern"
    return window, grabbed


# ---------------------------------------------------------------- images

def grab_screen(wine, path):
    """The whole X screen, as ImageMagick's import reads it, into a PNG file."""
    run_tool(["import", "-window", "root", "-display", wine.xvfb.display, str(path)])
    return Path(path)


def run_tool(args, env=None, check=True, output=None):
    result = subprocess.run(args, env=env, stdin=subprocess.DEVNULL,
                            stdout=output or subprocess.PIPE, stderr=subprocess.PIPE,
                            timeout=TOOL_TIMEOUT)
    if check and result.returncode != 0:
        raise AssertionError(f"{args[0]} failed with {result.returncode}: "
                             f"{result.stderr.decode(errors='replace')[-1000:]}")
    return result


def load(path):
    with Image.open(path) as image:
        return image.convert("RGB")


def same(a, b):
    return a.size == b.size and ImageChops.difference(a, b).getbbox() is None


def difference_box(a, b):
    """The bounding box (left, top, right, bottom) of the pixels that differ, or None."""
    assert a.size == b.size, f"sizes differ: {a.size} and {b.size}"
    return ImageChops.difference(a.convert("RGB"), b.convert("RGB")).getbbox()


def identify(path):
    """(format, width, height) as ImageMagick's identify reads the file."""
    out = run_tool(["identify", "-format", "%m %w %h\n", str(path)]).stdout.decode()
    kind, width, height = out.split()[:3]
    return kind, int(width), int(height)


def _metric(metric, a, b):
    result = run_tool(["compare", "-metric", metric, str(a), str(b), "null:"], check=False)
    text = result.stderr.decode(errors="replace").strip()
    assert result.returncode in (0, 1), f"compare {a} {b} failed: {text}"
    number = re.match(r"[-+0-9.einf]+", text)
    assert number, f"compare printed {text!r}"
    return float(number.group(0))


def absolute_error(a, b):
    """ImageMagick's count of the pixels that differ between two images."""
    return int(_metric("AE", a, b))


def psnr(a, b):
    """ImageMagick's peak signal-to-noise ratio in dB (inf for equal images)."""
    return _metric("PSNR", a, b)


# The one complaint libtiff has about our files: Software is written as the
# twelve characters of the program's name, without a terminating zero.
TIFF_SOFTWARE_WARNING = 'ASCII value for tag "Software" does not end in null byte.'


def check_with_own_reader(path):
    """Reads the file with a tool of its own format: pngcheck for PNG, djpeg for
    JPEG (which decodes it to a PPM file beside it, returned), tiffinfo for TIFF
    (which reads every strip), ImageMagick for BMP. Returns a file that
    ImageMagick can compare."""
    suffix = path.suffix.lower()
    if suffix == ".tif":
        result = run_tool(["tiffinfo", "-D", str(path)])
        complaints = [line for line in result.stderr.decode(errors="replace").splitlines()
                      if not line.endswith(TIFF_SOFTWARE_WARNING)]
        assert complaints == [], complaints
        out = result.stdout.decode(errors="replace")
        for field in ("Image Width: %d Image Length: %d" % SCREEN_SIZE, "Compression Scheme: None",
                      "Photometric Interpretation: RGB color", "Samples/Pixel: 3",
                      "Resolution: 87.7, 87.7 pixels/inch", "Software: kadrilio.exe"):
            assert field in out, f"tiffinfo does not show {field!r}: {out}"
        return path
    if suffix == ".png":
        out = run_tool(["pngcheck", "-v", str(path)]).stdout.decode(errors="replace")
        assert "No errors detected" in out, out
        return path
    if suffix == ".jpg":
        decoded = path.with_suffix(".ppm")
        run_tool(["djpeg", "-ppm", "-outfile", str(decoded), str(path)])
        return decoded
    return path


def clipboard_bmp(wine, path):
    """The X clipboard's image/bmp target written to path, or None."""
    env = {**wine.env, "DISPLAY": wine.xvfb.display}
    with open(path, "wb") as out:
        result = run_tool(["xclip", "-selection", "clipboard", "-t", "image/bmp", "-o"], env=env,
                          check=False, output=out)
    return Path(path) if result.returncode == 0 and Path(path).stat().st_size > 0 else None


# ---------------------------------------------------------------- keys and pointer

def xdotool(wine, *args):
    env = {**wine.env, "DISPLAY": wine.xvfb.display}
    return run_tool(["xdotool", *map(str, args)], env=env).stdout.decode().strip()


def press_on_desktop(wine, key):
    """A real key press through the X server (XTEST) while the Wine desktop
    window has the X input focus."""
    desktop = xdotool(wine, "search", "--name", "Wine desktop$").split()
    assert len(desktop) == 1, f"Wine desktop windows: {desktop}"
    xdotool(wine, "windowfocus", "--sync", desktop[0])
    xdotool(wine, "key", key)

