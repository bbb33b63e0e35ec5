"""The settings window's tabs: every control shows its setting from the
defaults and from stored values, a choice made as a user would is stored when
the window closes, the captions follow the language, bad input is refused or
clamped, and the window scales with the display's dots an inch."""

import json
import os
import re
import subprocess
from pathlib import Path

import pytest

import winehost
from resident import (CB_SETCURSEL, CBN_SELCHANGE, CONTROL, MAIN_CLASS, SETTINGS_KEY, WM_COMMAND,
                      controls, main_window, post, start_resident, stored_values, tray_command,
                      wait_controls, wait_main_visible)

WM_CHAR = 0x102
WM_KEYDOWN = 0x100
WM_KILLFOCUS = 0x8
EM_SETSEL = 0xB1
VK_RIGHT, VK_LEFT, VK_UP = 0x27, 0x25, 0x26
WM_VSCROLL, SB_PAGEDOWN = 0x115, 3
WM_DPICHANGED = 0x2E0
TABS = ["TabSheet1", "TabSheet2", "TabSheet3", "TabSheet5", "TabSheet4", "TabSheet6"]
# Where the screenshots of the tabs go when asked for (never into the repository).
SHOTS = os.environ.get("KADRILO_TAB_SHOTS")

# Every group of the tabs with groups and the controls it frames.
GROUPS = {
    "RadioGroup1": ["RadioGroup1_0", "RadioGroup1_1", "RadioGroup1_2", "RadioGroup1_3"],
    "GroupBox70": ["Label71", "ComboBox4", "CheckBox1", "CheckBox2", "CheckBox3", "CheckBox4"],
    "RadioGroup2": ["RadioGroup2_0", "RadioGroup2_1", "RadioGroup2_2"],
    "GroupBox88": ["CheckBox13", "CheckBox14", "Label90", "TrackBar1", "Label1", "Label2", "Label3",
                   "Label93"],
    "GroupBox100": ["CheckBox5", "RadioButton1", "RadioButton2", "Label104", "ComboBox1", "Image3",
                    "Label115"],
    "GroupBox150": ["Label151", "Edit1", "BitBtn5", "Label153", "ComboBox2", "Label165", "Edit2",
                    "Label166", "SpinEdit3", "Label167", "ComboBox3", "CheckBox6", "Label169"],
    "GroupBox400": ["CheckBox10", "Label420", "Edit3", "CheckBox11", "ComboBox7"],
    "GroupBox450": ["Label451", "ComboBox8", "Label452", "SpinEdit5", "C00", "C01", "C02", "C03", "Label453",
                    "Panel6", "CheckBox12", "Panel7", "Label459", "PreviewTextImage"],
    "GroupBox470": ["Label471", "ComboBox9", "Label490", "SpinEdit6", "Label491", "SpinEdit7"],
    "GroupBox350": ["CheckBox7", "RadioButton15", "RadioButton16", "Edit4", "BitBtn6",
                    "RadioButton17", "BitBtn7", "Image4", "Label17"],
    "GroupBox370": ["CheckBox8", "RadioButton18", "RadioButton19", "RadioButton20"],
    "GroupBox250": ["RadioButton22", "RadioButton21", "Label253", "SpinEdit1", "Label254",
                    "SpinEdit2", "Image5", "Label255"],
    "GroupBox270": ["Label271", "Edit5", "BitBtn8", "Label273", "ComboBox5", "Label285", "Edit6",
                    "Label286", "SpinEdit4", "Label287", "ComboBox6", "CheckBox9", "Label289"],
}
FORMATS = ["Windows Bitmap (*.bmp)", "JPEG Image File (*.jpg)", "PNG Image File (*.png)",
           "TIFF Image File (*.tif)"]
NAME_FORMATS = ["DD,MM,YY(CC-MM-SS)", "CC-MM-SS(DD,MM,YY)", "Text-Number"]


HKCU_RUN = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"


def string_table():
    """{id: (Russian, English)} from the program's string table."""
    text = (winehost.REPO / "src/text/StringTable.inc").read_text(encoding="utf-8")
    literal = r'"((?:[^"\\]|\\.)*)"'
    unescape = lambda t: re.sub(r'\\(.)', lambda m: {"n": "\n", "r": "\r"}.get(m[1], m[1]), t)
    return {int(i): (unescape(ru), unescape(en)) for i, ru, en in re.findall(
        r"KADRILO_STRING\((\d+),\s*" + literal + r"\s*,\s*" + literal + r"\)", text)}


STRINGS = string_table()

# The caption of each control of the four tabs: a string id, or the first id
# and the number of lines of a note.
CAPTIONS = {
    "RadioGroup1": 50, "RadioGroup1_0": 51, "RadioGroup1_1": 52, "RadioGroup1_2": 53,
    "RadioGroup1_3": 54, "RadioGroup2": 60, "RadioGroup2_0": 61, "RadioGroup2_1": 62,
    "RadioGroup2_2": 63, "GroupBox88": 88, "CheckBox13": 89, "CheckBox14": 87, "Label90": 90,
    "Label2": 91, "Label3": 92, "Label93": (93, 2), "GroupBox100": 100, "CheckBox5": 101,
    "RadioButton1": 102, "RadioButton2": 103, "Label104": 104, "Label115": (115, 3),
    "GroupBox150": 150, "Label151": 151, "BitBtn5": 152, "Label153": 153, "Label165": 165,
    "Label166": 166, "Label167": 167, "CheckBox6": 168, "Label169": (169, 2),
    "GroupBox350": 350, "CheckBox7": 351, "RadioButton15": 352, "RadioButton16": 353,
    "BitBtn6": 354, "RadioButton17": 355, "BitBtn7": 356, "Label17": (357, 2),
    "GroupBox370": 370, "CheckBox8": 371, "RadioButton18": 372, "RadioButton19": 373,
    "RadioButton20": 374, "GroupBox250": 250, "RadioButton22": 251, "RadioButton21": 252,
    "Label253": 253, "Label254": 254, "Label255": (255, 4), "GroupBox270": 270, "Label271": 271,
    "BitBtn8": 272, "Label273": 273, "Label285": 285, "Label286": 286, "Label287": 287,
    "CheckBox9": 288, "Label289": (289, 2),
}
# The lists built from string ids: the first id of their items and how many.
LISTS = {"ComboBox1": (105, 3), "ComboBox2": (154, 3), "ComboBox5": (274, 3)}


def text_of(caption, language):
    first, lines = caption if isinstance(caption, tuple) else (caption, 1)
    return "\r\n".join(STRINGS[first + line][language] for line in range(lines))


def expected_captions(language):
    """Language 0 Russian, 1 English."""
    found = {name: text_of(caption, language) for name, caption in CAPTIONS.items()}
    found.update({name: [STRINGS[first + i][language] for i in range(count)]
                  for name, (first, count) in LISTS.items()})
    return found


def shown_captions(shown):
    found = {name: shown[name]["text"] for name in CAPTIONS}
    found.update({name: shown[name]["items"] for name in LISTS})
    return found


def state(shown, name):
    """What a control shows: its text or value, checked or selected, enabled."""
    control = shown[name]
    value = control.get("position", control.get("selected", control.get("checked", control["text"])))
    return value, control["enabled"]


def dword(values, name):
    kind, data = values[name]
    assert kind == "REG_DWORD", f"{name} is {kind}"
    return int(data, 16)


def open_settings(wine, kadrilo, stored=None, *args):
    wine.reg_import({SETTINGS_KEY: {"AppVersion": 21, **(stored or {})}})
    program = start_resident(wine, kadrilo, *args)
    tray_command(wine, "settings")
    assert wait_main_visible(wine, True)
    return program


def close_window(wine):
    """"Close": the window hides and the settings are written."""
    rc, _ = wine.driver("click", MAIN_CLASS, str(CONTROL["SpeedButton3"]))
    assert rc == 0
    assert wait_main_visible(wine, False)
    return winehost.poll(lambda: stored_values(wine) is not None, 5) and stored_values(wine)


def target(name):
    return f"{MAIN_CLASS}/{CONTROL[name]}"


def click(wine, name):
    rc, _ = wine.driver("click", MAIN_CLASS, str(CONTROL[name]))
    assert rc == 0, name


def choose(wine, shown, name, index):
    """An item of a drop-down list, picked as a user would."""
    post(wine, target(name), CB_SETCURSEL, index)
    post(wine, MAIN_CLASS, WM_COMMAND, (CBN_SELCHANGE << 16) | CONTROL[name], shown[name]["hwnd"])


def type_text(wine, name, text, replace=True):
    """Characters typed into an edit, then the field left."""
    if replace:
        post(wine, target(name), EM_SETSEL, 0, 0xFFFFFFFF)
    for character in text:
        post(wine, target(name), WM_CHAR, ord(character))
    post(wine, target(name), WM_KILLFOCUS)


def show_tab(wine, index):
    rc, _ = wine.driver("tab-click", MAIN_CLASS, str(CONTROL["PageControl"]), str(index))
    assert rc == 0
    return wait_controls(wine, lambda c: c["PageControl"]["selected"] == index and
                         c[TABS[index]]["visible"])


def snapshot(wine, name):
    """The main window as the display shows it, saved under SHOTS."""
    window = main_window(wine)
    left, top, right, bottom = window["rect"]
    Path(SHOTS).mkdir(parents=True, exist_ok=True)
    subprocess.run(["import", "-display", wine.env["DISPLAY"], "-window", "root", "-crop",
                    f"{right - left}x{bottom - top}+{left}+{top}", str(Path(SHOTS) / f"{name}.png")],
                   check=True, timeout=30)


def inside(inner, outer):
    return (inner[0] >= outer[0] and inner[1] >= outer[1] and inner[2] <= outer[2]
            and inner[3] <= outer[3])


# ---------------------------------------------------------------- scaling


@pytest.mark.parametrize("dpi", [96, 144])
@pytest.mark.parametrize("language", [1, 0], ids=["english", "russian"])
def test_window_scales_with_the_display_and_nothing_leaves_its_group(wine, kadrilo, dpi, language):
    wine.reg_import({r"HKCU\Control Panel\Desktop": {"LogPixels": dpi}})
    open_settings(wine, kadrilo, {"Language": language})
    window = main_window(wine)
    assert window["client"] == [round(481 * dpi / 96), round(325 * dpi / 96)]
    shown = controls(wine)
    for group, members in GROUPS.items():
        for member in members:
            assert inside(shown[member]["rect"], shown[group]["rect"]), f"{member} leaves {group}"
        # Beside the tab's scroll bar, inside the tab control.
        sheet = shown["TabSheet1"]["rect"]
        assert shown[group]["rect"][2] <= sheet[2] - round(17 * dpi / 96), group
    if SHOTS:
        for index, tab in enumerate(TABS):
            show_tab(wine, index)
            snapshot(wine, f"{dpi}-{'en' if language else 'ru'}-{index + 1}-{tab}")
            for page in (1, 2, 3):
                post(wine, target(tab), WM_VSCROLL, SB_PAGEDOWN)
                snapshot(wine, f"{dpi}-{'en' if language else 'ru'}-{index + 1}-{tab}-down{page}")
    close_window(wine)


# ---------------------------------------------------------------- what the controls show

DEFAULTS = {
    "RadioGroup1_0": (True, True), "RadioGroup1_1": (False, True), "RadioGroup2_0": (True, True),
    "CheckBox13": (False, True), "CheckBox14": (False, True), "TrackBar1": (25, True),
    "Label1": ("25 %", True), "CheckBox5": (False, True), "RadioButton1": (True, False),
    "RadioButton2": (False, False), "ComboBox1": (0, False), "Label104": ("Priority class:", False),
    "Edit1": (r"C:\Screenshots", True), "ComboBox2": (2, True), "Edit2": ("Screenshot-", True),
    "SpinEdit3": ("0", True), "ComboBox3": (1, True), "CheckBox6": (True, True),
    "CheckBox7": (False, True), "RadioButton15": (False, False), "RadioButton16": (False, False),
    "RadioButton17": (False, False), "Edit4": ("", False), "BitBtn6": ("Browse", False),
    "BitBtn7": ("Test", False), "Label17": (text_of((357, 2), 1), False),
    "CheckBox8": (False, True), "RadioButton18": (True, False), "RadioButton19": (False, False),
    "RadioButton22": (True, True), "RadioButton21": (False, True), "SpinEdit1": ("10", True),
    "SpinEdit2": ("15", True), "Label254": (STRINGS[254][1], True),
    "Edit5": (r"C:\Screenshots\Continuous", True), "ComboBox5": (2, True),
    "Edit6": ("Screenshot-", True), "SpinEdit4": ("0", True), "ComboBox6": (1, True),
    "CheckBox9": (True, True),
}
SEEDED = {
    "WorkMode": 2, "IncludeCursor": 1, "CopyImageToClipboard": 1, "QualityJPEG": 40,
    "PriorityChange": 1, "PriorityAutoChange": 0, "PriorityClass": 2,
    "DirAutosave": r"D:\Shots", "FNameFormatAutosave": 0, "NameAutosave": "shot_",
    "NumberAutosave": 12, "GraphFormatAutosave": 3, "RenameAutosave": 0,
    "SoundEvent": 1, "SoundMode": 1, "AudioFilePath": r"C:\a.wav", "ExecuteAfterSaving": 1,
    "ExecuteMode": 2, "ManualSerial": 1, "IntervalOfTime": 25, "QuantityOfScreenshots": 3,
    "DirSaveSerial": r"E:\Series", "FNameFormatSerial": 1, "NameSerial": "s-",
    "NumberSerial": 99999, "GraphFormatSerial": 2, "RenameSerial": 0,
}
SEEDED_SHOWN = {
    "RadioGroup1_0": (False, True), "RadioGroup1_2": (True, True), "CheckBox13": (True, True),
    "CheckBox14": (True, True), "TrackBar1": (60, True), "Label1": ("60 %", True),
    "CheckBox5": (True, True), "RadioButton1": (False, True), "RadioButton2": (True, True),
    "ComboBox1": (2, True), "Label104": ("Priority class:", True),
    "Edit1": (r"D:\Shots", True), "ComboBox2": (0, True), "Edit2": ("shot_", True),
    "SpinEdit3": ("12", True), "ComboBox3": (3, True), "CheckBox6": (False, True),
    "CheckBox7": (True, True), "RadioButton15": (False, True), "RadioButton16": (True, True),
    "RadioButton17": (False, True), "Edit4": (r"C:\a.wav", True), "BitBtn6": ("Browse", True),
    "BitBtn7": ("Test", True), "Label17": (text_of((357, 2), 1), True),
    "CheckBox8": (True, True), "RadioButton18": (False, True), "RadioButton20": (True, True),
    "RadioButton22": (False, True), "RadioButton21": (True, True), "SpinEdit1": ("25", True),
    "SpinEdit2": ("3", False), "Label254": (STRINGS[254][1], False),
    "Edit5": (r"E:\Series", True), "ComboBox5": (1, True), "Edit6": ("s-", True),
    "SpinEdit4": ("99999", True), "ComboBox6": (2, True), "CheckBox9": (False, True),
}


@pytest.mark.parametrize("stored, expected", [
    pytest.param({}, DEFAULTS, id="defaults"),
    pytest.param(SEEDED, SEEDED_SHOWN, id="stored"),
])
def test_every_control_shows_its_setting(wine, kadrilo, stored, expected):
    open_settings(wine, kadrilo, stored)
    shown = wait_controls(wine, lambda c: c["Edit1"]["text"] != "")
    assert shown_captions(shown) == expected_captions(1)
    assert shown["ComboBox3"]["items"] == FORMATS == shown["ComboBox6"]["items"]
    assert {name: state(shown, name) for name in expected} == expected
    assert not shown["SpeedButton1"]["enabled"], '"View" waits for the first shot'
    close_window(wine)


# Out of every range: the fields show their nearest bound, a list index it does
# not have selects nothing, a choice it does not have leaves the default.
OUT_OF_RANGE = {
    "WorkMode": 9, "QualityJPEG": 500, "PriorityClass": 7, "FNameFormatAutosave": 5,
    "NumberAutosave": 123456, "GraphFormatAutosave": 4, "SoundMode": 5, "ExecuteMode": 3,
    "IntervalOfTime": 0, "QuantityOfScreenshots": 20000, "NumberSerial": 0xFFFFFFFB,
    "FNameFormatSerial": 3, "GraphFormatSerial": 9, "ManualSerial": 7, "DirAutosave": r"D:\Keep",
}


def test_stored_values_out_of_range_are_shown_clamped(wine, kadrilo):
    program = open_settings(wine, kadrilo, OUT_OF_RANGE)
    shown = wait_controls(wine, lambda c: c["Edit1"]["text"] != "")
    assert {name: state(shown, name)[0] for name in [
        "RadioGroup1_3", "TrackBar1", "Label1", "ComboBox1", "ComboBox2", "SpinEdit3", "ComboBox3",
        "RadioButton15", "RadioButton16", "RadioButton17", "RadioButton18", "SpinEdit1",
        "SpinEdit2", "SpinEdit4", "ComboBox5", "ComboBox6", "RadioButton21", "Edit1"]} == {
        "RadioGroup1_3": True, "TrackBar1": 0, "Label1": "0 %", "ComboBox1": -1, "ComboBox2": -1,
        "SpinEdit3": "99999", "ComboBox3": -1, "RadioButton15": False, "RadioButton16": False,
        "RadioButton17": False, "RadioButton18": True, "SpinEdit1": "1", "SpinEdit2": "9999",
        "SpinEdit4": "0", "ComboBox5": -1, "ComboBox6": -1, "RadioButton21": True,
        "Edit1": r"D:\Keep"}
    values = close_window(wine)
    assert {name: dword(values, name) for name in [
        "WorkMode", "QualityJPEG", "NumberAutosave", "IntervalOfTime", "QuantityOfScreenshots",
        "NumberSerial", "ManualSerial"]} == {
        "WorkMode": 3, "QualityJPEG": 100, "NumberAutosave": 99999, "IntervalOfTime": 1,
        "QuantityOfScreenshots": 9999, "NumberSerial": 0, "ManualSerial": 1}
    assert values["DirAutosave"][1] == r"D:\Keep"
    assert program.poll() is None


# ---------------------------------------------------------------- choices of the user


def test_choices_made_in_each_tab_are_stored_when_the_window_closes(wine, kadrilo):
    open_settings(wine, kadrilo)
    shown = wait_controls(wine, lambda c: c["Edit1"]["text"] != "")
    # Main
    for name in ["RadioGroup1_1", "RadioGroup2_2", "CheckBox13", "CheckBox5", "RadioButton2"]:
        click(wine, name)
    post(wine, target("TrackBar1"), WM_KEYDOWN, VK_RIGHT)
    choose(wine, shown, "ComboBox1", 1)
    # Autosave: the folder and name fields drop what a file name cannot hold
    type_text(wine, "Edit1", r'D:\My<Shots>*"')
    type_text(wine, "Edit2", "a:b/c\\d?")
    type_text(wine, "SpinEdit3", "123456")  # one digit more than it holds
    choose(wine, shown, "ComboBox3", 2)
    click(wine, "CheckBox6")
    # Events and notices
    for name in ["CheckBox7", "RadioButton17", "CheckBox8", "RadioButton19"]:
        click(wine, name)
    # Continuous shooting
    click(wine, "RadioButton21")
    type_text(wine, "SpinEdit1", "0")  # below the range: the least, 1
    type_text(wine, "Edit5", r"E:\Se|ries")
    type_text(wine, "Edit6", "x>y")
    choose(wine, shown, "ComboBox5", 0)
    post(wine, target("SpinEdit4"), WM_KEYDOWN, VK_UP)  # the up-down's arrow key

    shown = wait_controls(wine, lambda c: c["SpinEdit1"]["text"] == "1" and c["Edit6"]["text"] == "xy")
    assert {name: state(shown, name) for name in [
        "TrackBar1", "Label1", "Edit1", "Edit2", "SpinEdit3", "SpinEdit1", "Edit5", "SpinEdit2",
        "RadioButton15", "Edit4", "RadioButton20", "ComboBox1"]} == {
        "TrackBar1": (26, True), "Label1": ("26 %", True), "Edit1": (r"D:\MyShots", True),
        "Edit2": ("abcd", True), "SpinEdit3": ("12345", True), "SpinEdit1": ("1", True),
        "Edit5": (r"E:\Series", True), "SpinEdit2": ("15", False),
        "RadioButton15": (False, True), "Edit4": ("", False), "RadioButton20": (False, True),
        "ComboBox1": (1, True)}

    values = close_window(wine)
    assert {name: dword(values, name) for name in [
        "WorkMode", "IncludeCursor", "QualityJPEG", "PriorityChange", "PriorityAutoChange",
        "PriorityClass", "NumberAutosave", "GraphFormatAutosave", "RenameAutosave", "SoundEvent",
        "SoundMode", "ExecuteAfterSaving", "ExecuteMode", "ManualSerial", "IntervalOfTime",
        "FNameFormatSerial", "NumberSerial"]} == {
        "WorkMode": 1, "IncludeCursor": 1, "QualityJPEG": 74, "PriorityChange": 1,
        "PriorityAutoChange": 0, "PriorityClass": 1, "NumberAutosave": 12345,
        "GraphFormatAutosave": 2, "RenameAutosave": 0, "SoundEvent": 1, "SoundMode": 2,
        "ExecuteAfterSaving": 1, "ExecuteMode": 1, "ManualSerial": 1, "IntervalOfTime": 1,
        "FNameFormatSerial": 0, "NumberSerial": 1}
    assert {name: values[name][1] for name in ["DirAutosave", "NameAutosave", "DirSaveSerial",
                                               "NameSerial"]} == {
        "DirAutosave": r"D:\MyShots", "NameAutosave": "abcd", "DirSaveSerial": r"E:\Series",
        "NameSerial": "xy"}
    # "Current user only" is the program's Run entry of the current user.
    run = stored_values(wine, HKCU_RUN) or {}
    assert any("kadrilio.exe" in data.lower() for _, data in run.values()), run


# ---------------------------------------------------------------- the language


def test_every_tab_speaks_russian_after_a_language_change(wine, kadrilo):
    open_settings(wine, kadrilo, {"Language": 1, "PriorityClass": 2, "FNameFormatSerial": 0})
    shown = wait_controls(wine, lambda c: c["Edit1"]["text"] != "")
    assert shown_captions(shown) == expected_captions(1)
    choose(wine, shown, "ComboBox4", 0)
    shown = wait_controls(wine, lambda c: shown_captions(c) == expected_captions(0))
    assert shown_captions(shown) == expected_captions(0)
    # The lists keep their choices; the format names are English in both languages.
    assert (shown["ComboBox1"]["selected"], shown["ComboBox5"]["selected"]) == (2, 0)
    assert shown["ComboBox3"]["items"] == FORMATS
    # The label after "Warning!" starts where it ends.
    assert shown["Label3"]["rect"][0] == shown["Label2"]["rect"][2]
    close_window(wine)


# ---------------------------------------------------------------- start-up


def test_stored_stay_on_top_and_a_locked_tray_option_at_start_up(wine, kadrilo):
    open_settings(wine, kadrilo, {"StayOnTop": 1, "HotKey4Mode": 2, "TrayIconEnabled": 0})
    assert main_window(wine)["topmost"]
    shown = controls(wine)
    assert state(shown, "CheckBox2") == (True, False)
    # "User-defined:" with no shortcut yet keeps the option locked; the default key frees it.
    click(wine, "RadioButton13")
    shown = wait_controls(wine, lambda c: c["RadioButton13"]["checked"])
    assert state(shown, "CheckBox2") == (True, False)
    click(wine, "RadioButton12")
    shown = wait_controls(wine, lambda c: c["RadioButton12"]["checked"])
    assert state(shown, "CheckBox2") == (True, True)
    close_window(wine)


def test_a_tab_scrolls_back_to_its_top_when_shown_but_for_the_autosave_tab(wine, kadrilo):
    open_settings(wine, kadrilo)
    top = {name: controls(wine)[name]["rect"][1] for name in ["RadioGroup1", "GroupBox150"]}
    show_tab(wine, 1)
    post(wine, target("TabSheet2"), WM_VSCROLL, SB_PAGEDOWN)
    wait_controls(wine, lambda c: c["GroupBox150"]["rect"][1] < top["GroupBox150"])
    show_tab(wine, 0)
    post(wine, target("TabSheet1"), WM_VSCROLL, SB_PAGEDOWN)
    wait_controls(wine, lambda c: c["RadioGroup1"]["rect"][1] < top["RadioGroup1"])
    show_tab(wine, 1)
    shown = show_tab(wine, 0)
    assert shown["RadioGroup1"]["rect"][1] == top["RadioGroup1"]
    shown = show_tab(wine, 1)
    assert shown["GroupBox150"]["rect"][1] < top["GroupBox150"]
    close_window(wine)


def test_browse_buttons_open_their_dialogs_and_cancelling_keeps_the_fields(wine, kadrilo):
    open_settings(wine, kadrilo, {"SoundEvent": 1, "SoundMode": 1, "AudioFilePath": r"C:\a.wav"})
    for button, caption, field, kept in [("BitBtn5", "Browse for Folder", "Edit1", r"C:\Screenshots"),
                                         ("BitBtn8", "Browse for Folder", "Edit5",
                                          r"C:\Screenshots\Continuous"),
                                         ("BitBtn6", "Open", "Edit4", r"C:\a.wav")]:
        click(wine, button)
        rc, dialog = wine.driver_json("msgbox-answer", caption, "cancel", 10000, timeout=10000)
        assert rc == 0, f"{button} opened no dialog {caption!r}"
        if caption == "Browse for Folder":
            assert "Select directory" in json.dumps(dialog, ensure_ascii=False)
        assert wait_controls(wine, lambda c: c[field]["text"] == kept)[field]["text"] == kept
    close_window(wine)


def test_a_changed_dpi_takes_the_suggested_frame_and_lays_the_window_out_again(wine, kadrilo):
    open_settings(wine, kadrilo)
    before = controls(wine)
    left, top, right, bottom = main_window(wine)["rect"]
    # As the system tells a window moved to a display of 144 dots an inch.
    suggested = [left, top, left + (right - left) * 3 // 2, top + (bottom - top) * 3 // 2]
    rc, _ = wine.driver("send-rect", MAIN_CLASS, hex(WM_DPICHANGED), hex(144 << 16 | 144),
                        *map(str, suggested))
    assert rc == 0
    window = main_window(wine)
    assert window["client"] == [722, 488]
    assert window["rect"][:2] == suggested[:2]
    shown = controls(wine)
    for group, members in GROUPS.items():
        for member in members:
            assert inside(shown[member]["rect"], shown[group]["rect"]), f"{member} leaves {group}"
    # The settings tab's places scaled by one and a half.
    assert shown["RadioGroup1"]["rect"][2] - shown["RadioGroup1"]["rect"][0] == 516
    assert before["RadioGroup1"]["rect"][2] - before["RadioGroup1"]["rect"][0] == 344
    assert shown["Label3"]["rect"][0] == shown["Label2"]["rect"][2]
    if SHOTS:
        for index, tab in enumerate(TABS):
            show_tab(wine, index)
            snapshot(wine, f"changed-to-144-{index + 1}-{tab}")
    close_window(wine)
