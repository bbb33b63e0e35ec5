"""The resident program: the tray callback and its menu, the pages it brings
up, quitting with its question and the full save, hotkeys taken by another
program, settings that survive a restart, the interface language, and stored
settings of another version. Also the registry cases against Wine's registry."""

import re
import subprocess
import tempfile

import pytest

import winehost
from resident import (FULL_VALUE_SET, CB_SETCURSEL, CBN_SELCHANGE, CONTROL, MAIN_CLASS, MOD_ALT, MOD_CONTROL,
                      MOD_SHIFT, QUIT_QUESTION, SETTINGS_KEY, TRAY, TRAY_DOUBLE_CLICK,
                      TRAY_RIGHT_BUTTON, VK_SNAPSHOT, WM_COMMAND, controls, hold_hotkey,
                      hotkey_free, main_window, menu_closed, menu_open, post, press_in_menu,
                      quit_program, start_resident, stored_values, tray_callback, tray_command,
                      wait_controls, wait_main_visible, wait_until_resident)

HKCU_RUN = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
HKLM_RUN = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Run"
AUTOSTART_PATH = r"C:\Kadrilo\kadrilio.exe"
VK_F5 = 0x74

# The three choices of each hotkey slot: default key, user-defined, disabled.
SLOT_RADIOS = {
    1: ("RadioButton3", "RadioButton4", "RadioButton5"),
    2: ("RadioButton6", "RadioButton7", "RadioButton8"),
    3: ("RadioButton9", "RadioButton10", "RadioButton11"),
    4: ("RadioButton12", "RadioButton13", "RadioButton14"),
    5: ("RadioButton23", "RadioButton24", "RadioButton25"),
}

TEXT_VALUES = {"DirAutosave", "DirSaveSerial", "NameAutosave", "NameSerial", "LastSavePath",
               "AudioFilePath", "FontName", "InscriptionText",
               "UserHotKey1", "UserHotKey2", "UserHotKey3", "UserHotKey4", "UserHotKey5"}
# What a first start writes when nothing was changed and the system has no
# default sound file (Left, Top and FontName depend on the screen and the fonts).
FIRST_START_VALUES = {
    "AppVersion": 21, "WorkMode": 0, "TrayIconEnabled": 1, "QualityJPEG": 75, "IncludeCursor": 0,
    "CopyImageToClipboard": 0, "PriorityChange": 0, "PriorityClass": 0, "PriorityAutoChange": 1,
    "Language": 1, "Coordinates": 0, "ConfirmationOnClose": 1, "StayOnTop": 0,
    "FNameFormatAutosave": 2, "FNameFormatSerial": 2, "DirAutosave": r"C:\Screenshots",
    "DirSaveSerial": r"C:\Screenshots\Continuous", "NameAutosave": "Screenshot-",
    "NameSerial": "Screenshot-", "NumberAutosave": 0, "NumberSerial": 0, "GraphFormatAutosave": 1,
    "GraphFormatSerial": 1, "RenameAutosave": 1, "RenameSerial": 1, "ManualSerial": 0,
    "IntervalOfTime": 10, "QuantityOfScreenshots": 15, "HotKey1Mode": 0, "HotKey2Mode": 0,
    "HotKey3Mode": 0, "HotKey4Mode": 0, "HotKey5Mode": 0, "SoundEvent": 0, "LastSaveFormat": 1,
    "LastSavePath": "NoName", "AudioFilePath": "", "ExecuteAfterSaving": 0, "ExecuteMode": 0,
    "InscriptionEnabled": 0, "EnableDateTime": 0, "DateTimeFormat": 0,
    "InscriptionText": "Text example", "FontSize": 10, "InscriptionFontColor": 0,
    "InscriptionBackGroundColor": 0xFFFFFF, "InscriptionTransporent": 0, "InscriptionStyleBold": 0,
    "InscriptionStyleItalic": 0, "InscriptionStyleUnderline": 0, "InscriptionStyleStrikeOut": 0,
    "InscriptionCoordinates": 3, "InsX": 15, "InsY": 15,
}

HOTKEY_FAILED = (
    'Can\'t register hotkey "{}",\ncorrect work of program is impossible. \nProbable reasons:\n\n'
    " * Hotkey is already registered by other application.\n\nRecommendations:\n\n"
    " * Make sure that this hotkey is not currently used\n"
    "   by other application installed on your system.\n\n"
    " * Change a hotkey in program settings.\n\n * Try to restart program.\n\n"
    " * Contact to the developer Kadrilo.")
OLD_VERSION_ENGLISH = (
    "Settings of old version Kadrilo are found. In order to prevent\n"
    "problems with compatibility, it is recommended them to delete.\nDelete it now?")
NEW_VERSION_RUSSIAN = (
    "Найдены настройки более новой версии Kadrilo. Во избежание \n"
    "проблем с совместимостью, рекомендуется их удалить.\nСделать это сейчас?")

# Captions of the main window in each language (0 Russian, 1 English).
CAPTIONS = {
    0: {
        "title": "Kadrilo - Настройки программы",
        "tabs": ["Основные настройки", "Автосохранение", "Горячие клавиши", "Надпись",
                 "События и уведомления", "Серийная съемка"],
        "SpeedButton2": "Настройки", "SpeedButton4": "Выход", "Label71": "Язык интерфейса:",
        "GroupBox200": " Снимок экрана ", "RadioButton3": "По умолчанию (PrintScreen)",
        "RadioButton4": "По выбору пользователя:", "RadioButton25": "Отключено",
        "RadioButton23": "По умолчанию (Ctrl + Shift + PrintScreen)",
    },
    1: {
        "title": "Kadrilo - Settings",
        "tabs": ["Main", "Autosave", "Hotkeys", "Inscription", "Events and notices",
                 "Continuous shooting"],
        "SpeedButton2": "Settings", "SpeedButton4": "Quit", "Label71": "Language:",
        "GroupBox200": " Screenshot ", "RadioButton3": "Default (PrintScreen)",
        "RadioButton4": "User-defined:", "RadioButton25": "Disabled",
        "RadioButton23": "Default (Ctrl + Shift + PrintScreen)",
    },
}


def captions(shown):
    found = {"title": shown["TopPanel"]["text"], "tabs": shown["PageControl"].get("items")}
    found.update({name: shown[name]["text"] for name in CAPTIONS[1] if name in CONTROL})
    return found


def checked(shown, *names):
    return [shown[name]["checked"] for name in names]


def dword(values, name):
    kind, data = values[name]
    assert kind == "REG_DWORD", f"{name} is {kind}"
    return int(data, 16)


# ---------------------------------------------------------------- the registry cases


def test_registry_cases_hold_for_the_real_registry(wine):
    """The cases the fake registry passes natively (unit tests) against the
    registry of Wine; a case that fails here means the fake has drifted."""
    exe = winehost.repo_file("KADRILO_CONTRACT", "build/win/tests/contract/kadcontract.exe")
    assert exe.is_file(), f"{exe} does not exist: build it (./scripts/build)"
    with tempfile.TemporaryFile() as out:
        rc = subprocess.run([winehost.WINE, str(exe)], env=wine.env, stdin=subprocess.DEVNULL,
                            stdout=out, stderr=subprocess.DEVNULL, timeout=60).returncode
        out.seek(0)
        lines = out.read().decode("utf-8", errors="replace").splitlines()

    summary = re.fullmatch(r"(\d+) passed, (\d+) failed", lines[-1].strip() if lines else "")
    assert summary, f"no summary line: {lines[-5:]}"
    failures = [line for line in lines if line.startswith("FAILED")]
    assert (failures, rc) == ([], 0)
    passed = [line for line in lines if line.startswith("ok: ")]
    assert int(summary[1]) == len(passed) > 0 and summary[2] == "0"
    assert len(set(passed)) == len(passed), "every case has a name of its own"


# ---------------------------------------------------------------- tray


def test_tray_menu_opens_over_the_hidden_window_and_closes(wine, kadrilo):
    program = start_resident(wine, kadrilo)

    tray_callback(wine, TRAY_RIGHT_BUTTON)
    menu = menu_open(wine)
    assert menu is not None, "the right button opens no menu"
    assert menu["pid"] == main_window(wine)["pid"], "the menu is the program's"
    assert not main_window(wine)["visible"], "the menu opens without the window"
    assert not menu_closed(wine, 500), "the menu closes by itself"
    press_in_menu(wine, "esc")
    assert menu_closed(wine), "Esc does not close the menu"
    assert wine.stays_running(program, 0.5)

    # Once more, and down to "Quit" (the fourth item: the separator is skipped).
    tray_callback(wine, TRAY_RIGHT_BUTTON)
    assert menu_open(wine) is not None, "the menu does not open a second time"
    press_in_menu(wine, "down", "down", "down", "down", "enter")
    box = wine.answer("no", program)
    assert box["text"] == QUIT_QUESTION[1]
    assert menu_closed(wine)
    assert wine.stays_running(program, 0.5)
    assert not main_window(wine)["visible"]


# How the mode is changed: keys in the tray menu (down to "Mode", into its
# submenu, down to "Autosave") or a tray command.
@pytest.mark.parametrize("stored_mode, menu_keys, command, mode", [
    pytest.param(None, ["down", "down", "right", "down", "enter"], None, 1,
                 id="autosave-from-the-menu"),
    pytest.param(3, None, "preview", 0, id="preview-command-from-clipboard-mode"),
])
def test_mode_chosen_in_the_tray_is_stored_at_quit(wine, kadrilo, stored_mode, menu_keys,
                                                   command, mode):
    if stored_mode is not None:
        wine.reg_import({SETTINGS_KEY: {"AppVersion": 21, "Language": 1, "WorkMode": stored_mode}})
    program = start_resident(wine, kadrilo)
    if menu_keys:
        tray_callback(wine, TRAY_RIGHT_BUTTON)
        assert menu_open(wine) is not None
        press_in_menu(wine, *menu_keys)
        assert menu_closed(wine)
    else:
        tray_command(wine, command)
    quit_program(wine, program)
    assert dword(stored_values(wine), "WorkMode") == mode


@pytest.mark.parametrize("bring_up, title, page", [
    pytest.param(("command", "settings"), "Kadrilo - Settings", "MainPanel1", id="settings-command"),
    pytest.param(("command", "about"), "Kadrilo - About", "MainPanel2", id="about-command"),
    pytest.param(("callback", TRAY_DOUBLE_CLICK), "Kadrilo - Settings", "MainPanel1",
                 id="double-click"),
])
def test_tray_brings_up_a_page_and_double_click_hides_it(wine, kadrilo, bring_up, title, page):
    program = start_resident(wine, kadrilo)
    how, what = bring_up
    if how == "command":
        tray_command(wine, what)
    else:
        tray_callback(wine, what)
    assert wait_main_visible(wine, True), "the main window is not shown"

    shown = wait_controls(wine, lambda c: c["TopPanel"]["text"] == title)
    assert shown["TopPanel"]["text"] == title and shown["TopPanel"]["visible"]
    pages = ["MainPanel0", "MainPanel1", "MainPanel2"]
    assert [shown[p]["visible"] for p in pages] == [p == page for p in pages]
    assert not shown["BitBtn1"]["visible"] and not shown["BitBtn2"]["visible"], (
        "Save and View full belong to the preview page")

    tray_callback(wine, TRAY_DOUBLE_CLICK)
    assert wait_main_visible(wine, False), "a double-click does not hide the shown window"
    assert wine.stays_running(program, 0.3)


# ---------------------------------------------------------------- quitting


def system_sound_file(wine):
    media = wine.prefix / "drive_c" / "windows" / "Media"
    return media.is_dir() and any(f.name.lower() == "chimes.wav" for f in media.iterdir())


def test_quit_asks_first_then_writes_every_setting(wine, kadrilo):
    program = start_resident(wine, kadrilo)
    tray_command(wine, "quit")
    box = wine.answer("no", program)
    assert box["text"] == QUIT_QUESTION[1]
    assert {b["name"] for b in box["buttons"]} == {"yes", "no"}
    assert wine.stays_running(program, 1.0), "No leaves the program running"
    assert not main_window(wine)["visible"]
    assert not wine.key_exists(SETTINGS_KEY), "declining to quit writes nothing"

    quit_program(wine, program)
    values = stored_values(wine)
    assert values is not None, "nothing was saved"
    # Without a default sound file no sound choice is selected: SoundMode is not
    # written; the user-defined shortcuts are empty and not written either.
    assert not system_sound_file(wine), "this test expects a system without chimes.wav"
    expected = set(FULL_VALUE_SET) - {f"UserHotKey{n}" for n in range(1, 6)} - {"SoundMode"}
    assert {"missing": expected - set(values), "not expected": set(values) - expected} == {
        "missing": set(), "not expected": set()}
    kinds = {name: kind for name, (kind, _) in values.items()}
    assert kinds == {name: "REG_SZ" if name in TEXT_VALUES else "REG_DWORD" for name in expected}
    found = {name: int(data, 16) if kind == "REG_DWORD" else data
             for name, (kind, data) in values.items() if name in FIRST_START_VALUES}
    assert found == FIRST_START_VALUES
    assert values["FontName"][1], "a font is chosen"
    for run_key in (HKCU_RUN, HKLM_RUN):
        assert wine.reg_query(run_key, "Kadrilo") is None, f"autostart is off: {run_key}"


# ---------------------------------------------------------------- hotkeys


def assert_hotkeys_tab_shown(shown):
    assert shown["TopPanel"]["text"] == "Kadrilo - Settings"
    assert shown["PageControl"]["selected"] == 2, "the Hotkeys tab is the active one"
    tabs = ["TabSheet1", "TabSheet2", "TabSheet3", "TabSheet4", "TabSheet5", "TabSheet6"]
    assert [shown[t]["visible"] for t in tabs] == [t == "TabSheet3" for t in tabs]


# A hotkey taken by another program; the stored settings of the row. Alt +
# PrintScreen (slot 2) is not taken in any row: the program still registers it.
@pytest.mark.parametrize("stored, modifiers, key, name", [
    pytest.param(None, 0, VK_SNAPSHOT, "PrintScreen", id="printscreen"),
    pytest.param(None, MOD_CONTROL | MOD_SHIFT, VK_SNAPSHOT, "Ctrl + Shift + PrintScreen",
                 id="ctrl-shift-printscreen"),
    pytest.param({"HotKey3Mode": 1, "UserHotKey3": "alt+CTRL+F5"}, MOD_CONTROL | MOD_ALT, VK_F5,
                 "Ctrl+Alt+F5", id="user-defined-shortcut"),
])
def test_hotkey_taken_by_another_program_is_reported(wine, kadrilo, stored, modifiers, key, name):
    if stored:
        wine.reg_import({SETTINGS_KEY: {"AppVersion": 21, "Language": 1, **stored}})
    hold_hotkey(wine, modifiers, key)
    program = kadrilo()

    box = wine.answer("ok", program)
    assert box["text"] == HOTKEY_FAILED.format(name)
    assert {b["name"] for b in box["buttons"]} == {"ok"}
    wait_until_resident(wine, program)
    assert wait_main_visible(wine, True), "the settings are not shown after the report"
    wine.expected_classes.add(MAIN_CLASS)
    assert_hotkeys_tab_shown(wait_controls(wine, lambda c: c["PageControl"]["selected"] == 2))
    assert not hotkey_free(wine, MOD_ALT, VK_SNAPSHOT), "the other slots are still registered"
    assert wine.stays_running(program, 0.5)


# Disabling a slot on the Hotkeys tab; the change is stored when the program
# quits, or at once when the settings page is closed.
@pytest.mark.parametrize("slot, modifiers, stored_by", [
    pytest.param(1, 0, "quit", id="slot-1-stored-at-quit"),
    pytest.param(5, MOD_CONTROL | MOD_SHIFT, "close", id="slot-5-stored-when-closed"),
])
def test_disabled_hotkey_is_given_back_and_stays_disabled(wine, kadrilo, slot, modifiers, stored_by):
    default, user_defined, disabled = SLOT_RADIOS[slot]
    program = start_resident(wine, kadrilo)
    assert not hotkey_free(wine, modifiers, VK_SNAPSHOT), "the program holds the default key"
    tray_command(wine, "settings")
    assert wait_main_visible(wine, True)

    rc, _ = wine.driver("click", MAIN_CLASS, CONTROL[disabled])
    assert rc == 0
    shown = wait_controls(wine, lambda c: c[disabled]["checked"])
    assert checked(shown, default, user_defined, disabled) == [False, False, True]
    assert not shown[f"HotKey{slot}"]["enabled"], "the shortcut editor is for user-defined only"
    assert winehost.poll(lambda: hotkey_free(wine, modifiers, VK_SNAPSHOT), 5), (
        "the program still holds the key of the disabled slot")

    mode_value = f"HotKey{slot}Mode"
    if stored_by == "close":
        rc, _ = wine.driver("click", MAIN_CLASS, CONTROL["SpeedButton3"])
        assert rc == 0
        assert wait_main_visible(wine, False), "Close does not hide the window"
        assert winehost.poll(lambda: (stored_values(wine) or {}).get(mode_value) == ("REG_DWORD", "0x2"),
                             5), "closing the settings page did not store the change"
    quit_program(wine, program)
    assert dword(stored_values(wine), mode_value) == 2

    start_resident(wine, kadrilo)
    restored = controls(wine)
    assert checked(restored, default, user_defined, disabled) == [False, False, True]
    assert hotkey_free(wine, modifiers, VK_SNAPSHOT), "a disabled slot is registered at start-up"
    assert not hotkey_free(wine, MOD_CONTROL, VK_SNAPSHOT), "the other slots are registered"


# ---------------------------------------------------------------- language


@pytest.mark.parametrize("stored, switched", [
    pytest.param(0, 1, id="russian-then-english"),
    pytest.param(1, 0, id="english-then-russian"),
])
def test_captions_follow_the_language(wine, kadrilo, stored, switched):
    wine.reg_import({SETTINGS_KEY: {"AppVersion": 21, "Language": stored}})
    program = start_resident(wine, kadrilo)
    tray_command(wine, "settings")
    assert wait_main_visible(wine, True)

    shown = wait_controls(wine, lambda c: c["TopPanel"]["text"] == CAPTIONS[stored]["title"])
    assert captions(shown) == CAPTIONS[stored]
    combo = shown["ComboBox4"]
    assert (combo["items"], combo["selected"]) == (["Русский", "English"], stored)

    # The other entry of the language list, as a choice of the user.
    post(wine, f"{MAIN_CLASS}/{CONTROL['ComboBox4']}", CB_SETCURSEL, switched)
    post(wine, MAIN_CLASS, WM_COMMAND, (CBN_SELCHANGE << 16) | CONTROL["ComboBox4"], combo["hwnd"])
    shown = wait_controls(wine, lambda c: captions(c) == CAPTIONS[switched])
    assert captions(shown) == CAPTIONS[switched]

    quit_program(wine, program, language=switched)
    assert dword(stored_values(wine), "Language") == switched


# ---------------------------------------------------------------- another version


# Stored: Language, WorkMode 2, slot 1 disabled, both autostart entries and an
# entry of another program; AppVersion as in the row (None: no AppVersion).
@pytest.mark.parametrize("version, language, question, answer, removed", [
    pytest.param(20, 1, OLD_VERSION_ENGLISH, "yes", True, id="older-removed"),
    pytest.param(22, 0, NEW_VERSION_RUSSIAN, "no", False, id="newer-kept-russian"),
    pytest.param(None, 0, None, None, True, id="no-version-removed-without-asking"),
])
def test_settings_of_another_version(wine, kadrilo, version, language, question, answer, removed):
    settings = {"Language": language, "WorkMode": 2, "HotKey1Mode": 2}
    if version is not None:
        settings["AppVersion"] = version
    wine.reg_import({SETTINGS_KEY: settings,
                     HKCU_RUN: {"Kadrilo": AUTOSTART_PATH, "Other": r"C:\other.exe"},
                     HKLM_RUN: {"Kadrilo": AUTOSTART_PATH}})
    program = kadrilo()
    if question:
        box = wine.answer(answer, program)
        assert box["text"] == question
        assert {b["name"] for b in box["buttons"]} == {"yes", "no"}
    wait_until_resident(wine, program)  # and no question in the last row
    assert not main_window(wine)["visible"]

    shown = controls(wine)
    if removed:
        assert not wine.key_exists(SETTINGS_KEY)
        for run_key in (HKCU_RUN, HKLM_RUN):
            assert wine.reg_query(run_key, "Kadrilo") is None, run_key
        # Defaults, in the language of the (English) system.
        assert checked(shown, *SLOT_RADIOS[1]) == [True, False, False]
        assert shown["RadioButton3"]["text"] == CAPTIONS[1]["RadioButton3"]
        assert not hotkey_free(wine, 0, VK_SNAPSHOT)
    else:
        assert dword(stored_values(wine), "AppVersion") == version
        for run_key in (HKCU_RUN, HKLM_RUN):
            assert wine.reg_query(run_key, "Kadrilo") == AUTOSTART_PATH, run_key
        assert checked(shown, *SLOT_RADIOS[1]) == [False, False, True]
        assert shown["RadioButton3"]["text"] == CAPTIONS[language]["RadioButton3"]
        assert hotkey_free(wine, 0, VK_SNAPSHOT)
    assert wine.reg_query(HKCU_RUN, "Other") == r"C:\other.exe"
