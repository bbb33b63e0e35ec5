"""Working the resident program from outside: its controls, the tray callback
and commands, quitting, the stored settings, and hotkeys held by another
program. Builds on winehost.WineSession."""

import json
import re
import select
import subprocess

import winehost
from winehost import APP_CLASS, INSTANCE_MARKER, MAIN_CLASS, SETTINGS_KEY

OVERLAY_CLASS = "TAllocationForm"  # the last window the program creates
MENU_CLASS = "#32768"
WAIT = 10  # seconds: the bound of every wait here

WM_KEYDOWN = 0x100
WM_COMMAND = 0x111
WM_USER = 0x400
CB_SETCURSEL = 0x14E
CBN_SELCHANGE = 1
TRAY_DOUBLE_CLICK = 0x203  # WM_LBUTTONDBLCLK
TRAY_RIGHT_BUTTON = 0x204  # WM_RBUTTONDOWN
VK = {"enter": 0x0D, "esc": 0x1B, "right": 0x27, "down": 0x28}
MOD_ALT, MOD_CONTROL, MOD_SHIFT = 1, 2, 4
VK_SNAPSHOT = 0x2C

# Tray menu commands: WM_COMMAND with 1000 + the command, lParam 0.
TRAY = {name: 1000 + index for index, name in enumerate(
    ["settings", "mode", "about", "separator", "quit",
     "preview", "autosave", "continuous", "clipboard"])}

QUIT_QUESTION = {0: "Вы действительно хотите выйти из программы?",
                 1: "Are you sure you want to quit?"}


# Every value a full save writes, in the order the program lists them.
FULL_VALUE_SET = [
    "AppVersion", "WorkMode", "TrayIconEnabled", "QualityJPEG", "IncludeCursor",
    "CopyImageToClipboard", "PriorityChange", "PriorityClass", "PriorityAutoChange", "Language",
    "Coordinates", "Left", "Top", "ConfirmationOnClose", "StayOnTop", "FNameFormatAutosave",
    "FNameFormatSerial", "DirAutosave", "DirSaveSerial", "NameAutosave", "NameSerial",
    "NumberAutosave", "NumberSerial", "GraphFormatAutosave", "GraphFormatSerial", "RenameAutosave",
    "RenameSerial", "ManualSerial", "IntervalOfTime", "QuantityOfScreenshots",
    "HotKey1Mode", "HotKey2Mode", "HotKey3Mode", "HotKey4Mode", "HotKey5Mode",
    "UserHotKey1", "UserHotKey2", "UserHotKey3", "UserHotKey4", "UserHotKey5",
    "SoundEvent", "LastSaveFormat", "LastSavePath", "AudioFilePath", "SoundMode",
    "ExecuteAfterSaving", "ExecuteMode", "FontName", "InscriptionEnabled", "EnableDateTime",
    "DateTimeFormat", "InscriptionText", "FontSize", "InscriptionFontColor",
    "InscriptionBackGroundColor", "InscriptionTransporent", "InscriptionStyleBold",
    "InscriptionStyleItalic", "InscriptionStyleUnderline", "InscriptionStyleStrikeOut",
    "InscriptionCoordinates", "InsX", "InsY",
]

def control_ids():
    """Control id of every control by its name: 100 + its place in the
    program's ControlId list (the main window itself is the first, 0)."""
    header = (winehost.REPO / "src/ui/MainWindowLayout.h").read_text()
    body = re.search(r"enum class ControlId\b[^{]*\{(.*?)\};", header, re.S).group(1)
    names = [re.sub(r"//.*", "", line).strip().rstrip(",") for line in body.splitlines()]
    names = [name for name in names if name]
    assert names[0] == "Window" and names[-1] == "Count", names
    return {name: 100 + index for index, name in enumerate(names[:-1])}


CONTROL = control_ids()


def wait_until_resident(wine, process):
    """Start-up is over once the selection overlay exists; by then the
    application window carries the instance marker and the program waits."""
    assert wine.wait_window(OVERLAY_CLASS, process), (
        f"start-up did not finish (exit code {process.poll()})")
    assert wine.prop(APP_CLASS, "UID") == INSTANCE_MARKER
    assert process.poll() is None, f"the program ended with {process.returncode}"


def start_resident(wine, kadrilo, *args):
    program = kadrilo(*args)
    wait_until_resident(wine, program)
    return program


def post(wine, target, message, wparam=0, lparam=0):
    rc, _ = wine.driver("post", target, hex(message), hex(wparam), hex(lparam))
    assert rc == 0, f"could not post {message:#x} to {target}"


def tray_callback(wine, mouse_message):
    post(wine, MAIN_CLASS, WM_USER, 0, mouse_message)


def tray_command(wine, name):
    post(wine, MAIN_CLASS, WM_COMMAND, TRAY[name], 0)


def press_in_menu(wine, *keys):
    """Key presses for the open popup menu (its loop reads them from the queue)."""
    for key in keys:
        post(wine, MENU_CLASS, WM_KEYDOWN, VK[key], 0)


def menu_open(wine, timeout=5000):
    """The open popup menu (hwnd, pid) once there is one, else None."""
    rc, menu = wine.driver_json("menu-wait", "open", timeout, timeout=timeout)
    return menu if rc == 0 else None


def menu_closed(wine, timeout=5000):
    rc, _ = wine.driver("menu-wait", "closed", timeout, timeout=timeout)
    return rc == 0


def controls(wine):
    """Every control of the main window by its name: text, enabled, visible,
    and checked, items or selected where the control has them."""
    rc, out = wine.driver("child-texts", MAIN_CLASS)
    assert rc == 0, "the main window is gone"
    by_id = {}
    for line in out.splitlines():
        if line.strip():
            control = json.loads(line)
            by_id[control["id"]] = control
    return {name: by_id[number] for name, number in CONTROL.items() if number in by_id}


def wait_controls(wine, condition, timeout=WAIT):
    """Reads the controls until condition(controls) holds; returns the last reading."""
    seen = {}

    def check():
        seen["last"] = controls(wine)
        return condition(seen["last"])

    winehost.poll(check, timeout)
    return seen["last"]


def main_window(wine):
    return wine.window(MAIN_CLASS)


def wait_main_visible(wine, visible, timeout=WAIT):
    return winehost.poll(lambda: main_window(wine)["visible"] == visible, timeout)


def quit_program(wine, process, language=1):
    """The tray's Quit, answered Yes: the program ends with exit code 0."""
    tray_command(wine, "quit")
    box = wine.answer("yes", process)
    assert box["text"] == QUIT_QUESTION[language]
    assert {b["name"] for b in box["buttons"]} == {"yes", "no"}
    assert wine.wait_exit(process, WAIT) == 0


def stored_values(wine, key=SETTINGS_KEY):
    """{name: (type, data)} of a registry key as `reg query` prints them; None
    if the key does not exist."""
    out = wine.reg_query(key)
    if out is None:
        return None
    values = {}
    for line in out.splitlines():
        parts = line.split(None, 2)
        if len(parts) >= 2 and parts[1].startswith("REG_"):
            values[parts[0]] = (parts[1], parts[2] if len(parts) == 3 else "")
    return values


def hotkey_free(wine, modifiers, key):
    """True if another program can register the hotkey now (it gives it back at once)."""
    rc, out = wine.driver("hold-hotkey", modifiers, hex(key), 0)
    assert out.strip() in ("ready", "taken"), out
    return rc == 0


def hold_hotkey(wine, modifiers, key, seconds=60):
    """Another program holds the hotkey (until the test ends); returns its process."""
    process = subprocess.Popen(
        [winehost.WINE, str(wine.driver_exe), "hold-hotkey", str(modifiers), hex(key), str(seconds)],
        env=wine.env, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    wine.processes.append(process)
    ready = select.select([process.stdout], [], [], 20)[0] and process.stdout.readline()
    assert ready and ready.strip() == b"ready", f"the hotkey holder did not start: {ready!r}"
    return process
