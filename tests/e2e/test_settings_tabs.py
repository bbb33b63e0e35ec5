"""The settings window's tabs: every control shows its setting from the
defaults and from stored values, a choice made as a user would is stored when
the window closes, the captions follow the language, bad input is refused or
clamped, and the window scales with the display's dots an inch."""

import os
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
VK_RIGHT, VK_LEFT = 0x27, 0x25
WM_VSCROLL, SB_PAGEDOWN = 0x115, 3
TABS = ["TabSheet1", "TabSheet2", "TabSheet3", "TabSheet5", "TabSheet4", "TabSheet6"]
# Where the screenshots of the tabs go when asked for (never into the repository).
SHOTS = os.environ.get("KADRILO_TAB_SHOTS")

# Every group of the four tabs and the controls it frames.
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
    if SHOTS:
        for index, tab in enumerate(TABS):
            show_tab(wine, index)
            snapshot(wine, f"{dpi}-{'en' if language else 'ru'}-{index + 1}-{tab}")
            for page in (1, 2):
                post(wine, target(tab), WM_VSCROLL, SB_PAGEDOWN)
                snapshot(wine, f"{dpi}-{'en' if language else 'ru'}-{index + 1}-{tab}-down{page}")
    close_window(wine)
