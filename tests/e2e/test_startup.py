"""Start-up of kadrilio.exe: resident and hidden, one instance only, the
forwarded command line, and the removal of the stored settings (messages 806,
807 and 808)."""

import pytest

from winehost import APP_CLASS, INSTANCE_MARKER, MAIN_CLASS, SETTINGS_KEY

PREVIEW_CLASS = "TViewerForm"
OVERLAY_CLASS = "TAllocationForm"  # the last window the program creates
HKCU_RUN = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
HKLM_RUN = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Run"
AUTOSTART_PATH = r"C:\Kadrilo\kadrilio.exe"

ENGLISH = {
    805: "Application Kadrilo is already running.",
    806: "You are sure, you are want to remove settings Kadrilo from the system registry?",
    807: "Program settings is successfully deleted. To continue launching of program?",
    808: "Settings of the program are not found. To continue launching of program?",
}
RUSSIAN = {
    805: "Программа Kadrilo уже запущена.",
    806: "Вы уверены, что хотите удалить настройки Kadrilo из системного реестра?",
    807: "Настройки программы успешно удалены. Продолжить запуск программы?",
    808: "Настройки программы не найдены. Продолжить запуск программы?",
}


def store_settings(wine, language, autostart=False):
    """Settings as this version of the program writes them; with autostart, both
    Run entries of the program and an entry of another program."""
    keys = {SETTINGS_KEY: {"AppVersion": 21, "Language": language}}
    if autostart:
        keys[HKLM_RUN] = {"Kadrilo": AUTOSTART_PATH}
        keys[HKCU_RUN] = {"Kadrilo": AUTOSTART_PATH, "Other": r"C:\other.exe"}
    wine.reg_import(keys)


def wait_until_resident(wine, process):
    """Start-up is over once the selection overlay exists; by then the
    application window carries the instance marker and the program waits."""
    assert wine.wait_window(OVERLAY_CLASS, process), (
        f"start-up did not finish (exit code {process.poll()})\n{wine.logs()}")
    assert wine.prop(APP_CLASS, "UID") == INSTANCE_MARKER
    assert wine.stays_running(process, 0.5), f"the program ended with {process.returncode}"


def button_names(box):
    return {button["name"] for button in box["buttons"]}


def answer_dialogue(wine, process, steps):
    """Answers the program's message boxes one after the other: steps are
    (expected text, answer) pairs."""
    for text, answer in steps:
        box = wine.answer(answer, process)
        assert box["text"] == text
        assert button_names(box) == {"yes", "no"}


def test_started_without_switches_stays_resident_and_hidden(wine, kadrilo):
    program = kadrilo()
    wait_until_resident(wine, program)
    assert wine.stays_running(program, 1.0)

    app = wine.window(APP_CLASS)
    main = wine.window(MAIN_CLASS)
    assert (app["title"], app["visible"]) == ("Kadrilo", False)
    assert (main["title"], main["visible"]) == ("Kadrilo", False)
    assert main["owner"] == app["hwnd"], "the application window owns the main window"
    for window_class in (PREVIEW_CLASS, OVERLAY_CLASS):
        assert wine.window(window_class)["visible"] is False, window_class
    assert wine.unexpected_windows() == []


@pytest.mark.parametrize("args, stored_language, text", [
    pytest.param([], None, ENGLISH[805], id="first-start"),
    pytest.param(["/uninstall"], 1, ENGLISH[805], id="removal-switch-refused-first"),
    pytest.param(["/screenshot_full"], 0, RUSSIAN[805], id="stored-russian"),
])
def test_second_start_is_refused(wine, kadrilo, args, stored_language, text):
    if stored_language is not None:
        store_settings(wine, stored_language)
    first = kadrilo()
    wait_until_resident(wine, first)
    first_pid = wine.window(APP_CLASS)["pid"]

    second = kadrilo(*args)
    box = wine.answer("ok", second)
    assert box["text"] == text
    assert button_names(box) == {"ok"}
    assert box["pid"] != first_pid, "the second instance shows the message"
    assert wine.wait_exit(second) == 0

    assert wine.stays_running(first, 0.5)
    assert wine.prop(APP_CLASS, "UID") == INSTANCE_MARKER
    if stored_language is not None:
        assert wine.reg_query(SETTINGS_KEY, "AppVersion") == "0x15"


def quoted(args):
    return "".join(' "' + arg.replace('"', '""') + '"' for arg in args)


@pytest.mark.parametrize("args", [
    pytest.param([], id="no-arguments"),
    pytest.param(["/screenshot_full"], id="switch"),
    pytest.param(['a "b" c', "", " lead", "пример", "C:\\Program Files\\", 'x"'],
                 id="quotes-blanks-empty-cyrillic-backslash"),
])
def test_second_start_forwards_its_command_line(wine, kadrilo, args):
    first = wine.fake_instance(APP_CLASS)
    second = kadrilo(*args)
    message = first.received()
    assert message is not None, "the running instance got no WM_COPYDATA"

    assert message["dwdata"] == 0
    assert message["wparam_is_window"], "wParam is the sender's application window"
    assert message["wparam_class"] == APP_CLASS
    assert message["wparam_pid"] != message["own_pid"]

    payload = bytes.fromhex(message["data_hex"])
    assert message["cbdata"] == len(payload)
    assert payload.endswith(b"\0") and b"\0" not in payload[:-1]
    text = payload[:-1].decode("utf-8")
    assert text.startswith(' "')
    program_path_end = text.index('"', 2) + 1
    assert text[:program_path_end].endswith('kadrilio.exe"'), text
    assert text[program_path_end:] == quoted(args)

    assert wine.answer("ok", second)["text"] == ENGLISH[805]
    assert wine.wait_exit(second) == 0


# Stored language (None: no settings stored), the switch, the dialogue, and
# whether the program then ends or stays resident. Rows marked russian_user run
# for a Windows user whose language is Russian.
@pytest.mark.parametrize("stored_language, switch, steps, ends", [
    pytest.param(None, "/del_settings", [(ENGLISH[808], "no")], True,
                 id="nothing-stored-no"),
    pytest.param(None, "-uninstall", [(ENGLISH[808], "yes")], False,
                 id="nothing-stored-yes"),
    pytest.param(None, "/delete_settings", [(RUSSIAN[808], "no")], True,
                 id="nothing-stored-russian-user", marks=pytest.mark.russian_user),
    pytest.param(0, "-del_settings", [(RUSSIAN[806], "yes"), (RUSSIAN[807], "no")], True,
                 id="stored-russian"),
    pytest.param(1, "/uninstall", [(ENGLISH[806], "no")], False,
                 id="stored-english-russian-user", marks=pytest.mark.russian_user),
])
def test_removal_dialogue(wine, kadrilo, stored_language, switch, steps, ends):
    if stored_language is not None:
        store_settings(wine, stored_language)
    program = kadrilo(switch)
    answer_dialogue(wine, program, steps)
    if ends:
        assert wine.wait_exit(program) == 0
        assert not wine.key_exists(SETTINGS_KEY), "ending the dialogue writes nothing"
    else:
        wait_until_resident(wine, program)


@pytest.mark.parametrize("continue_answer, ends", [
    pytest.param("no", True, id="removed-then-quit"),
    pytest.param("yes", False, id="removed-then-continue"),
])
def test_removal_of_stored_settings(wine, kadrilo, continue_answer, ends):
    store_settings(wine, 1, autostart=True)
    program = kadrilo("/del_settings")
    answer_dialogue(wine, program, [(ENGLISH[806], "yes")])

    box = wine.message_box(program)
    assert box["text"] == ENGLISH[807]
    assert not wine.key_exists(SETTINGS_KEY), "removed before message 807"
    answer_dialogue(wine, program, [(ENGLISH[807], continue_answer)])
    if ends:
        assert wine.wait_exit(program) == 0
    else:
        wait_until_resident(wine, program)

    assert not wine.key_exists(SETTINGS_KEY)
    for run_key in (HKCU_RUN, HKLM_RUN):
        assert wine.reg_query(run_key, "Kadrilo") is None, run_key
    assert wine.reg_query(HKCU_RUN, "Other") == r"C:\other.exe"


def test_removal_declined_keeps_stored_settings(wine, kadrilo):
    store_settings(wine, 1, autostart=True)
    program = kadrilo("/del_settings")
    answer_dialogue(wine, program, [(ENGLISH[806], "no")])
    wait_until_resident(wine, program)  # and no message 807 (no unexpected window)

    assert wine.reg_query(SETTINGS_KEY, "AppVersion") == "0x15"
    assert wine.reg_query(SETTINGS_KEY, "Language") == "0x1"
    for run_key in (HKCU_RUN, HKLM_RUN):
        assert wine.reg_query(run_key, "Kadrilo") == AUTOSTART_PATH, run_key


@pytest.mark.parametrize("args", [
    pytest.param([" /MODE2 "], id="switch-in-capitals-with-blanks"),
    pytest.param(["/mode", "/mode22", "/del_settingsx", "-uninstal", "del_settings"],
                 id="near-switches-match-nothing"),
    pytest.param(["/" + "m" * 20000], id="very-long-argument"),
    pytest.param(['"', '""', 'a "quoted" word', "\\", "\t", "-"], id="quotes-and-odd-characters"),
])
def test_odd_command_lines_leave_the_program_resident(wine, kadrilo, args):
    program = kadrilo(*args)
    wait_until_resident(wine, program)
    assert wine.unexpected_windows() == [], "no message of any kind"
