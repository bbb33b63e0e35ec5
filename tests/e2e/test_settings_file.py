"""The settings file: export and import through the Main tab's buttons and the
real save and open dialogs, the file read back by a reader of our own that
follows the table of its keys, the questions and errors with their icons, and
the profile-file cases against Wine's profile functions."""

import re
import subprocess
import tempfile

import pytest

import winehost
from resident import (FULL_VALUE_SET, CB_SETCURSEL, CBN_SELCHANGE, CONTROL, MAIN_CLASS, MOD_ALT, MOD_CONTROL,
                      MOD_SHIFT, SETTINGS_KEY, VK_SNAPSHOT, WM_COMMAND, controls, hotkey_free,
                      main_window, post, quit_program, start_resident, stored_values, tray_command,
                      wait_controls, wait_main_visible)

SECTION = "Kadrilo Settings"
VK_F5 = 0x74
WAIT = 10

# An export writes the keys in the order a full save writes the values.
EXPORT_KEYS = FULL_VALUE_SET

# Stored before the export, as the registry holds them.
SEEDED = {
    "AppVersion": 21, "WorkMode": 1, "QualityJPEG": 60, "Coordinates": 1, "Left": 100, "Top": 80,
    "StayOnTop": 0, "DirAutosave": r"D:\Shots", "NumberSerial": 42, "HotKey1Mode": 1,
    "UserHotKey1": "Ctrl+Alt+K", "HotKey2Mode": 2, "SoundEvent": 1, "SoundMode": 1,
    "AudioFilePath": r"C:\Sounds\shot.wav", "LastSaveFormat": 3, "LastSavePath": r"C:\Last\name",
    "FontSize": 20, "InscriptionBackGroundColor": 0x123456, "InscriptionText": "  two blanks",
    "InsY": 7,
}
# What the export of the seeded settings holds (FontName: the font the font rule chose).
EXPORTED = {
    "AppVersion": "21", "WorkMode": "1", "TrayIconEnabled": "1", "QualityJPEG": "60",
    "IncludeCursor": "0", "CopyImageToClipboard": "0", "PriorityChange": "0", "PriorityClass": "0",
    "PriorityAutoChange": "1", "Language": "1", "Coordinates": "1", "Left": "100", "Top": "80",
    "ConfirmationOnClose": "1", "StayOnTop": "0", "FNameFormatAutosave": "2",
    "FNameFormatSerial": "2", "DirAutosave": r"D:\Shots", "DirSaveSerial": r"C:\Screenshots\Continuous",
    "NameAutosave": "Screenshot-", "NameSerial": "Screenshot-", "NumberAutosave": "0",
    "NumberSerial": "42", "GraphFormatAutosave": "1", "GraphFormatSerial": "1",
    "RenameAutosave": "1", "RenameSerial": "1", "ManualSerial": "0", "IntervalOfTime": "10",
    "QuantityOfScreenshots": "15", "HotKey1Mode": "1", "HotKey2Mode": "2", "HotKey3Mode": "0",
    "HotKey4Mode": "0", "HotKey5Mode": "0", "UserHotKey1": "Ctrl+Alt+K", "SoundEvent": "1",
    "LastSaveFormat": "3", "LastSavePath": r"C:\Last\name", "AudioFilePath": r"C:\Sounds\shot.wav",
    "SoundMode": "1", "ExecuteAfterSaving": "0", "ExecuteMode": "0", "InscriptionEnabled": "0",
    "EnableDateTime": "0", "DateTimeFormat": "0", "InscriptionText": "  two blanks",
    "FontSize": "20", "InscriptionFontColor": "0", "InscriptionBackGroundColor": "1193046",
    "InscriptionTransporent": "0", "InscriptionStyleBold": "0", "InscriptionStyleItalic": "0",
    "InscriptionStyleUnderline": "0", "InscriptionStyleStrikeOut": "0",
    "InscriptionCoordinates": "3", "InsX": "15", "InsY": "7",
}

ENGLISH = {
    831: "Selected file is not a valid file of settings Kadrilo.",
    832: "Selected file contains settings of newer version Kadrilo.\nSome settings can appear "
         "incompatible with this program version.\nYou are sure you are want to continue import?",
    840: "Can't save file: \n",
    841: "\n\nProbable reasons:\n1. Not enough free disk space.\n2. You have attempted to rewrite "
         "an file read only or open by\n   other application.\n3. You do not have write "
         "permissions in a this directory (NTFS).\n\nRecommendations:\n1. Check free disk "
         "space.\n2. Change a filename or path for saving.\n3. Contact your administrator and ask "
         "for write access.",
}
RESTORE_POSITION = {0: "Запоминать положение окна", 1: "Restore window position"}


def read_settings_file(path, code_page="cp1252"):
    """{section (lower case): [(key, value)]} as the profile functions read a
    file: UTF-16 after its byte-order mark, otherwise the system's code page (of
    the English test system unless told otherwise); blanks around a value and
    one pair of enclosing quotes go."""
    raw = path.read_bytes()
    text = raw[2:].decode("utf-16-le") if raw.startswith(b"\xff\xfe") else raw.decode(code_page)
    sections, current = {}, None
    for line in text.splitlines():
        line = line.strip()
        if line.startswith("["):
            current = sections.setdefault(line[1:line.index("]")].lower(), [])
        elif "=" in line and current is not None:
            key, value = line.split("=", 1)
            value = value.strip()
            if len(value) >= 2 and value[0] in "\"'" and value[-1] == value[0]:
                value = value[1:-1]
            current.append((key.strip(), value))
    return sections


def drive_c(wine, *parts):
    return wine.prefix.joinpath("drive_c", *parts)


def write_ansi(path, text):
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes(text.replace("\n", "\r\n").encode("cp1252"))


def open_settings(wine, kadrilo, **stored):
    if stored:
        wine.reg_import({SETTINGS_KEY: {"AppVersion": 21, **stored}})
    program = start_resident(wine, kadrilo)
    tray_command(wine, "settings")
    assert wait_main_visible(wine, True), "the settings window did not come up"
    wine.expected_classes.add(MAIN_CLASS)
    return program


def file_dialog(wine, title, answer):
    """Answers the program's file dialog with a path ("-" cancels); returns what it showed."""
    rc, dialog = wine.driver_json("file-dialog", title, answer, WAIT * 1000, timeout=WAIT * 1000)
    assert rc == 0 and dialog, f"no file dialog {title!r}"
    return dialog


def export_to(wine, path, title="Save As"):
    """Through the save dialog (its title is the system's: Russian on a Russian system)."""
    assert wine.driver("click", MAIN_CLASS, CONTROL["BitBtn3"])[0] == 0
    return file_dialog(wine, title, path)


def import_from(wine, path):
    assert wine.driver("click", MAIN_CLASS, CONTROL["BitBtn4"])[0] == 0
    return file_dialog(wine, "Open", path)


def wait_settings_file(path):
    """The file once it holds its last key."""
    def complete():
        try:
            keys = [key for key, _ in read_settings_file(path, "latin-1").get(SECTION.lower(), [])]
        except (OSError, UnicodeDecodeError, ValueError):
            return False
        return keys[-1:] == ["InsY"]
    assert winehost.poll(complete, WAIT), f"{path} was not written"
    return read_settings_file(path)


def close_window(wine):
    assert wine.driver("click", MAIN_CLASS, CONTROL["SpeedButton3"])[0] == 0
    assert wait_main_visible(wine, False), "the window did not close"


def stored_settings(wine):
    """{name: number or text} under the settings key, from an export of the key
    (reg query prints texts in the console's code page)."""
    exported = wine.workdir / "settings.reg"
    rc, out = wine.reg("export", SETTINGS_KEY, winehost.windows_path(exported), "/y")
    assert rc == 0, out
    values = {}
    for line in exported.read_bytes().decode("utf-16").splitlines():
        if found := re.fullmatch(r'"([^"]+)"=dword:([0-9a-f]{8})', line):
            values[found[1]] = int(found[2], 16)
        elif found := re.fullmatch(r'"([^"]+)"="((?:[^"\\]|\\.)*)"', line):
            values[found[1]] = re.sub(r"\\(.)", r"\1", found[2])
    return values


def stored(wine, name):
    return stored_settings(wine).get(name)


def tray_icon(wine):
    rc, out = wine.driver("tray-icon", MAIN_CLASS)
    assert rc == 0
    return out.strip()


# ---------------------------------------------------------------- the profile functions


def test_profile_cases_hold_for_the_profile_functions(wine):
    """The cases the fake profile passes natively, against Wine's profile functions."""
    exe = winehost.repo_file("KADRILO_CONTRACT", "build/win/tests/contract/kadcontract.exe")
    assert exe.is_file(), f"{exe} does not exist: build it (./scripts/build)"
    with tempfile.TemporaryFile() as out:
        rc = subprocess.run([winehost.WINE, str(exe), "profile"], env=wine.env,
                            stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.DEVNULL,
                            timeout=60).returncode
        out.seek(0)
        lines = out.read().decode("utf-8", errors="replace").splitlines()
    assert [line for line in lines if line.startswith("FAILED")] == []
    summary = re.fullmatch(r"(\d+) passed, 0 failed", lines[-1].strip() if lines else "")
    assert summary and int(summary[1]) > 0 and rc == 0, lines[-5:]


# ---------------------------------------------------------------- export


def test_export_writes_the_table_in_order_and_changes_nothing(wine, kadrilo):
    out = drive_c(wine, "out")
    out.mkdir()
    open_settings(wine, kadrilo, **SEEDED)
    before = stored_values(wine)

    dialog = export_to(wine, r"C:\out\Mine.INI")
    assert dialog["name"] == "kadrilio.ini"
    assert dialog["types"] == ["Files INI"]

    sections = wait_settings_file(out / "Mine.ini")
    assert list(sections) == [SECTION.lower()]
    keys = [key for key, _ in sections[SECTION.lower()]]
    assert keys == [k for k in EXPORT_KEYS if k not in ("UserHotKey2", "UserHotKey3", "UserHotKey4",
                                                        "UserHotKey5")]
    values = dict(sections[SECTION.lower()])
    assert values.pop("FontName"), "a font is named"
    assert values == EXPORTED
    assert (out / "Mine.ini").read_bytes()[:2] != b"\xff\xfe", "plain text stays in the code page"
    assert stored_values(wine) == before, "the registry is not written"
    assert sorted(p.name for p in out.iterdir()) == ["Mine.ini"]


def test_export_over_an_older_file_keeps_what_it_does_not_write(wine, kadrilo):
    old = drive_c(wine, "out", "old.ini")
    write_ansi(old, "[Foreign]\nKeep=this\n\n[Kadrilo Settings]\nAppVersion=20\nUserHotKey2=Ctrl+Q\n"
                    "WorkMode=3\n")
    open_settings(wine, kadrilo, WorkMode=1)

    export_to(wine, r"C:\out\old")  # the dialog adds the extension before it asks
    # The dialog asks before replacing the file (Wine's box is captioned "Error").
    rc, out = wine.driver("msgbox-answer", "Error", "yes", WAIT * 1000, timeout=WAIT * 1000)
    assert rc == 0 and "already exists" in out, out

    sections = wait_settings_file(old)
    assert sections["foreign"] == [("Keep", "this")]
    values = dict(sections[SECTION.lower()])
    assert (values["AppVersion"], values["WorkMode"], values["UserHotKey2"]) == ("21", "1", "Ctrl+Q")
    assert [k for k, _ in sections[SECTION.lower()]][:3] == ["AppVersion", "UserHotKey2", "WorkMode"]


def test_a_failed_write_shows_the_save_error_and_the_program_goes_on(wine, kadrilo):
    # A folder where the file should be: the write is refused. (Another extension
    # keeps the dialog from looking at that folder: ".ini" follows it.)
    drive_c(wine, "out", "blocked.txt.ini").mkdir(parents=True)
    program = open_settings(wine, kadrilo)

    export_to(wine, r"C:\out\blocked.txt")
    box = wine.answer("ok", program)
    assert box["text"] == ENGLISH[840] + r"C:\out\blocked.txt.ini" + ENGLISH[841]
    assert box["icon"] == "stop"
    assert wine.stays_running(program, 0.5)
    assert main_window(wine)["visible"], "the settings window stays"


# ---------------------------------------------------------------- import


def test_import_of_a_hand_written_file_reaches_the_registry_when_the_window_closes(wine, kadrilo):
    path = drive_c(wine, "in", "mine.ini")
    write_ansi(path, "; written by hand\n[kadrilo settings]\nworkmode=3\nNameAutosave=Café-\n"
                     "FontSize=abc\nHotKey3Mode=1\nUserHotKey3=ctrl+shift+F5\nStayOnTop=0x1\n"
                     "TrayIconEnabled=0\nQualityJPEG= 0x1E \nInsX=500\n")
    open_settings(wine, kadrilo, WorkMode=1, FontSize=30)
    assert not hotkey_free(wine, MOD_CONTROL, VK_SNAPSHOT), "slot 3 holds its default key"
    assert tray_icon(wine) == "shown"

    dialog = import_from(wine, r"C:\in\mine.ini")
    assert dialog["types"] == ["Files INI"]
    wait_controls(wine, lambda c: c["CheckBox4"]["checked"] and not c["CheckBox2"]["checked"])
    assert tray_icon(wine) == "hidden", "the imported tray option took the icon away"
    assert hotkey_free(wine, MOD_CONTROL, VK_SNAPSHOT), "slot 3 gave its default key back"
    assert not hotkey_free(wine, MOD_CONTROL | MOD_SHIFT, VK_F5), "slot 3 holds the imported key"
    assert not hotkey_free(wine, MOD_SHIFT, VK_SNAPSHOT), "the other slots are registered again"
    assert stored(wine, "WorkMode") == 1 and stored(wine, "FontSize") == 30, (
        "nothing is written before the window closes")

    close_window(wine)
    expected = {"WorkMode": 3, "NameAutosave": "Café-", "FontSize": 12, "HotKey3Mode": 1,
                "UserHotKey3": "Shift+Ctrl+F5", "StayOnTop": 1, "TrayIconEnabled": 0,
                "QualityJPEG": 30, "InsX": 100}
    values = stored_settings(wine)
    assert {name: values.get(name) for name in expected} == expected


def test_files_that_are_not_settings_and_a_newer_version(wine, kadrilo):
    write_ansi(drive_c(wine, "in", "other.ini"), "[Something]\nWorkMode=3\n")
    write_ansi(drive_c(wine, "in", "empty.ini"), "[Kadrilo Settings]\n\n[Something]\nWorkMode=3\n")
    write_ansi(drive_c(wine, "in", "newer.ini"), "[Kadrilo Settings]\nAppVersion=22\nStayOnTop=1\n")
    program = open_settings(wine, kadrilo)

    for name in ("other.ini", "empty.ini"):
        import_from(wine, rf"C:\in\{name}")
        box = wine.answer("ok", program)
        assert (box["text"], box["icon"], [b["name"] for b in box["buttons"]]) == (
            ENGLISH[831], "stop", ["ok"]), name

    import_from(wine, r"C:\in\newer.ini")
    box = wine.answer("no", program)
    assert (box["text"], box["icon"]) == (ENGLISH[832], "warning")
    assert {b["name"] for b in box["buttons"]} == {"yes", "no"}
    assert not controls(wine)["CheckBox4"]["checked"], "No imports nothing"

    import_from(wine, r"C:\in\missing.ini")  # the open dialog takes a name that does not exist
    assert wine.stays_running(program, 0.5)
    assert wine.unexpected_windows() == [], "a missing file is ignored"


def test_an_english_export_imported_into_a_russian_interface_shows_english_at_once(wine, kadrilo):
    drive_c(wine, "out").mkdir()
    open_settings(wine, kadrilo, Language=1)
    export_to(wine, r"C:\out\english")
    wait_settings_file(drive_c(wine, "out", "english.ini"))

    shown = controls(wine)
    post(wine, f"{MAIN_CLASS}/{CONTROL['ComboBox4']}", CB_SETCURSEL, 0)
    post(wine, MAIN_CLASS, WM_COMMAND, (CBN_SELCHANGE << 16) | CONTROL["ComboBox4"],
         shown["ComboBox4"]["hwnd"])
    wait_controls(wine, lambda c: c["CheckBox1"]["text"] == RESTORE_POSITION[0])

    import_from(wine, r"C:\out\english.ini")
    shown = wait_controls(wine, lambda c: c["CheckBox1"]["text"] == RESTORE_POSITION[1])
    assert shown["CheckBox1"]["text"] == RESTORE_POSITION[1]
    assert shown["ComboBox4"]["selected"] == 1
    assert shown["TopPanel"]["text"] == "Kadrilo - Settings"


def test_a_cyrillic_folder_and_a_chinese_name_survive_export_and_import(wine, kadrilo):
    """On an English system, whose code page holds neither; the import of the
    whole export gives the registry every value of the file again."""
    drive_c(wine, "out").mkdir()
    folder, name = r"C:\Снимки экрана", "截图-"
    wine.reg_import({SETTINGS_KEY: {"AppVersion": 21}})
    wine.reg_add(SETTINGS_KEY, "DirAutosave", folder, "REG_SZ")
    wine.reg_add(SETTINGS_KEY, "NameAutosave", name, "REG_SZ")
    program = open_settings(wine, kadrilo)
    export_to(wine, r"C:\out\unicode.ini")
    exported = drive_c(wine, "out", "unicode.ini")
    values = dict(wait_settings_file(exported)[SECTION.lower()])
    assert exported.read_bytes()[:2] == b"\xff\xfe", "the file became a UTF-16 file"
    assert (values["DirAutosave"], values["NameAutosave"]) == (folder, name)

    # Other values in the registry for the next start, then the file imported again.
    close_window(wine)
    quit_program(wine, program)
    wine.reg_add(SETTINGS_KEY, "DirAutosave", r"C:\Other", "REG_SZ")
    wine.reg_add(SETTINGS_KEY, "NameAutosave", "Other-", "REG_SZ")
    open_settings(wine, kadrilo)
    import_from(wine, r"C:\out\unicode.ini")
    close_window(wine)  # carried out once the import is done: one queue
    values = stored_settings(wine)
    assert (values["DirAutosave"], values["NameAutosave"]) == (folder, name)
    exported = dict(read_settings_file(exported)[SECTION.lower()])
    # The font the start chose goes through the font rule again: a name Wine
    # has no font of becomes one it has.
    del exported["FontName"]
    assert {k: str(values[k]) for k in exported} == exported


@pytest.mark.russian_user
def test_a_cyrillic_folder_stays_in_the_code_page_of_a_russian_system(wine, kadrilo):
    """Where the code page holds the value, the file stays a plain text file,
    as earlier versions wrote it."""
    drive_c(wine, "out").mkdir()
    folder = r"C:\Снимки экрана"
    wine.reg_import({SETTINGS_KEY: {"AppVersion": 21, "Language": 1}})
    wine.reg_add(SETTINGS_KEY, "DirAutosave", folder, "REG_SZ")
    open_settings(wine, kadrilo)
    export_to(wine, r"C:\out\russian.ini", "Сохранить как")
    exported = drive_c(wine, "out", "russian.ini")
    wait_settings_file(exported)
    assert exported.read_bytes()[:2] != b"\xff\xfe"
    assert dict(read_settings_file(exported, "cp1251")[SECTION.lower()])["DirAutosave"] == folder
