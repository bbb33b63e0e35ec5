"""The release files end to end: the installer and its uninstaller under Wine
(made by scripts/package from dist/kadrilio.exe), and the portable zip.

Under Wine every process runs elevated, so a plain install is the one for all
users (Program Files, the machine's Uninstall entry, the common Start menu);
/CURRENTUSER gives the one for the current user. The uninstaller copies itself
to the temporary folder and its first process ends at once: the tests wait for
its work, not for that process."""

import json
import re
import struct
import zipfile

import pytest

from shots import FORMATS, SCREEN_SIZE, absolute_error, identify, shots_folder, show_pattern, store_settings
from test_startup import ENGLISH
from winehost import APP_CLASS, INSTANCE_MARKER, REPO, SETTINGS_KEY, poll, windows_path

OVERLAY_CLASS = "TAllocationForm"  # the last window the program creates at start-up
NSIS_CLASS = "#32770"              # the installer's and the uninstaller's window
UNINSTALL_KEY = r"Software\Microsoft\Windows\CurrentVersion\Uninstall\Kadrilo"
RUN_KEY = r"Software\Microsoft\Windows\CurrentVersion\Run"
INSTALLED_FILES = {"kadrilio.exe", "LICENSE.txt", "uninstall.exe"}
ELSEWHERE = r"C:\Portable\kadrilio.exe"  # an autostart entry of another copy
WAIT = 30  # seconds: the bound of an install or uninstall


def read_version():
    header = (REPO / "resources" / "version.h").read_text()
    parts = [re.search(rf"^#define KADRILO_VERSION_{part} +(\d+)$", header, re.M).group(1)
             for part in ("MAJOR", "MINOR", "PATCH")]
    return ".".join(parts)


VERSION = read_version()
DIST = REPO / "dist"
PROGRAM = DIST / "kadrilio.exe"
SETUP = DIST / f"kadrilo-{VERSION}-setup.exe"
PORTABLE = DIST / f"kadrilo-{VERSION}-portable.zip"


@pytest.fixture(scope="module", autouse=True)
def release_files():
    for path in (PROGRAM, SETUP, PORTABLE):
        assert path.is_file(), f"{path} does not exist: run scripts/build, then scripts/package"


# ---------------------------------------------------------------- where things go

class Layout:
    """Where an installation of one kind belongs in the test's prefix."""

    def __init__(self, wine, all_users, folder=None):
        drive_c = wine.prefix / "drive_c"
        user = next(p for p in (drive_c / "users").iterdir() if p.name != "Public")
        self.root = "HKLM" if all_users else "HKCU"
        self.other_root = "HKCU" if all_users else "HKLM"
        self.windows_folder = folder or (r"C:\Program Files\Kadrilo" if all_users
                                         else rf"C:\users\{user.name}\AppData\Local\Programs\Kadrilo")
        self.folder = drive_c / self.windows_folder[3:].replace("\\", "/")
        programs = (drive_c / "ProgramData" if all_users else user / "AppData" / "Roaming")
        self.shortcut = programs / "Microsoft" / "Windows" / "Start Menu" / "Programs" / "Kadrilo.lnk"
        self.exe = self.folder / "kadrilio.exe"
        self.windows_exe = self.windows_folder + r"\kadrilio.exe"
        self.entry = rf"{self.root}\{UNINSTALL_KEY}"


# name: (switches of the installer, for all users, folder given with /D=)
KINDS = {
    "all-users": ([], True, None),
    "current-user": (["/CURRENTUSER"], False, None),
    "own-folder": ([r"/D=C:\Tools\Kadrilo"], True, r"C:\Tools\Kadrilo"),
}


def install(wine, kind="all-users", gui=False):
    """Runs the installer (silently unless gui) and returns the layout it should make."""
    switches, all_users, folder = KINDS[kind]
    layout = Layout(wine, all_users, folder)
    if gui:
        wine.start(SETUP, *switches)
        return layout
    process = wine.start(SETUP, "/S", *switches)
    assert wine.wait_exit(process, WAIT) == 0, f"the installer ended with {process.poll()}\n{wine.logs()}"
    return layout


def entry_values(wine, key):
    """The values of a registry key as {name: data}, None if the key does not exist."""
    out = wine.reg_query(key)
    if out is None:
        return None
    values = {}
    for line in out.splitlines():
        parts = line.strip().split(None, 2)
        if len(parts) >= 2 and parts[1].startswith("REG_"):
            values[parts[0]] = parts[2] if len(parts) == 3 else ""
    return values


def run_entry(wine, root):
    return wine.reg_query(rf"{root}\{RUN_KEY}", "Kadrilo")


def instances(wine):
    """The application windows of running copies of Kadrilo (a second copy only
    has one while it is being refused)."""
    return [w for w in wine.windows() if w["class"] == APP_CLASS]


def uninstall_command(wine, layout, value):
    """The uninstall command the entry registers, split into the program and its switches."""
    command = entry_values(wine, layout.entry)[value]
    match = re.fullmatch(r'"([^"]+)"(.*)', command)
    assert match, f"{value} is not a quoted program and its switches: {command!r}"
    program = wine.prefix / "drive_c" / match.group(1)[3:].replace("\\", "/")
    return program, match.group(2).split()


def uninstall_done(wine, layout, user_files=()):
    """The uninstaller's work is over: its entry is gone and so is the folder,
    or it holds only the user's files."""
    def done():
        if user_files:
            left = {p.name for p in layout.folder.iterdir()} == set(user_files)
        else:
            left = not layout.folder.exists()
        return left and entry_values(wine, layout.entry) is None
    return poll(done, WAIT)


def nsis_window(wine, timeout=WAIT * 1000):
    """The setup window once it is shown: it is created hidden and shown a moment later."""
    assert wine.wait_window(NSIS_CLASS, timeout=timeout), f"no setup window\n{wine.logs()}"
    def shown():
        window = wine.window(NSIS_CLASS)
        return window if window and window["visible"] else None
    window = poll(shown, WAIT)
    assert window, wine.window(NSIS_CLASS)
    return window


def controls(wine):
    _, out = wine.driver("child-texts", NSIS_CLASS)
    return [json.loads(line) for line in out.splitlines() if line.strip()]


def click_until_closed(wine, button=1):
    """Clicks the button of the setup window (Finish) until the window is gone:
    the button is disabled while the work goes on."""
    def closed():
        wine.driver("click", NSIS_CLASS, button)
        window = wine.window(NSIS_CLASS)
        return window is None or not window["visible"]
    assert poll(closed, WAIT, step=0.5), f"the setup window did not close: {controls(wine)}"


def lnk_target_in(path, target):
    """The shortcut names the target (as ANSI or UTF-16 text: it holds both forms)."""
    data = path.read_bytes()
    return target.encode("latin-1") in data or target.encode("utf-16-le") in data


# ---------------------------------------------------------------- installing

@pytest.mark.parametrize("kind", list(KINDS))
def test_silent_install_puts_program_shortcut_and_entry_in_place(wine, kind):
    layout = install(wine, kind)

    assert {p.name for p in layout.folder.iterdir()} == INSTALLED_FILES
    assert layout.exe.read_bytes() == PROGRAM.read_bytes()
    assert layout.shortcut.is_file(), f"no shortcut at {layout.shortcut}"
    assert lnk_target_in(layout.shortcut, layout.windows_exe)

    values = entry_values(wine, layout.entry)
    assert values is not None, f"no entry {layout.entry}"
    uninstaller = rf'"{layout.windows_folder}\uninstall.exe"'
    expected = {
        "DisplayName": "Kadrilo",
        "DisplayVersion": VERSION,
        "Publisher": "The Kadrilo authors",
        "DisplayIcon": layout.windows_exe + ",0",
        "InstallLocation": layout.windows_folder,
        "UninstallString": uninstaller,
        "QuietUninstallString": uninstaller + " /S",
    }
    assert {name: values.get(name) for name in expected} == expected
    # In KB: at least the program, at most everything installed.
    size_kb = int(values["EstimatedSize"], 16)
    everything = sum(p.stat().st_size for p in layout.folder.iterdir())
    assert PROGRAM.stat().st_size // 1024 <= size_kb <= everything // 1024 + len(INSTALLED_FILES)
    assert entry_values(wine, rf"{layout.other_root}\{UNINSTALL_KEY}") is None


def icon_images(path):
    """The images of an .ico file."""
    data = path.read_bytes()
    count = struct.unpack_from("<H", data, 4)[0]
    entries = (struct.unpack_from("<8xII", data, 6 + 16 * i) for i in range(count))
    return [data[offset:offset + size] for size, offset in entries]


def test_the_installer_carries_the_programs_version_and_icon(wine):
    for path in (PROGRAM, SETUP):
        rc, version = wine.driver_json("file-version", windows_path(path))
        assert rc == 0, f"no version resource in {path.name}"
        assert (version["file"], version["product"]) == (f"{VERSION}.0",) * 2, path.name
        assert version["ProductVersion"] == VERSION, path.name
        assert version["ProductName"] == "Kadrilo", path.name
    setup = SETUP.read_bytes()
    images = icon_images(REPO / "resources" / "kadrilio.ico")
    assert images and all(image in setup for image in images), "the installer lacks the program's icon"


def test_the_installed_program_takes_a_shot(wine):
    layout = install(wine)
    store_settings(wine, WorkMode=1, GraphFormatAutosave=FORMATS["png"])
    _, screen = show_pattern(wine, 96, 64, 640, 480)

    program = wine.start(layout.exe, "/screenshot_full")
    assert wine.wait_exit(program, WAIT) == 0, f"the shot run ended with {program.poll()}\n{wine.logs()}"

    shot = shots_folder(wine) / "Screenshot-0.png"
    assert identify(shot) == ("PNG", *SCREEN_SIZE)
    assert absolute_error(shot, screen) == 0


def test_installing_over_a_running_kadrilo_ends_it_and_starts_the_new_files(wine):
    layout = install(wine)
    # The copy that runs differs from the one the installer brings.
    with layout.exe.open("ab") as exe:
        exe.write(b"an older build" * 64)
    old = wine.start(layout.exe)
    assert wine.wait_window(OVERLAY_CLASS, old), f"the program did not start\n{wine.logs()}"
    old_pid = wine.window(APP_CLASS)["pid"]
    assert not wine.key_exists(SETTINGS_KEY)

    install(wine)

    assert wine.wait_exit(old, WAIT) == 0, "the running program did not quit with exit code 0"
    assert layout.exe.read_bytes() == PROGRAM.read_bytes(), "the program file was not replaced"
    # It quit the way it does at the end of a session: its settings were saved.
    assert wine.reg_query(SETTINGS_KEY, "AppVersion") == "0x15"

    def one_new_instance():
        running = instances(wine)
        return len(running) == 1 and running[0]["pid"] != old_pid and wine.window(OVERLAY_CLASS)
    assert poll(one_new_instance, WAIT), f"not one new instance: {instances(wine)}"
    assert wine.prop(APP_CLASS, "UID") == INSTANCE_MARKER


def test_a_file_that_cannot_be_written_fails_the_install(wine):
    layout = Layout(wine, True)
    layout.exe.mkdir(parents=True)  # a folder where the program should go: access denied

    process = wine.start(SETUP, "/S")
    assert wine.wait_exit(process, WAIT) not in (0, None), "the installer reported success"
    assert entry_values(wine, layout.entry) is None
    assert not layout.shortcut.exists()
    assert {p.name for p in layout.folder.iterdir()} == {"kadrilio.exe"}


@pytest.mark.parametrize("language", [
    pytest.param("english", id="english"),
    pytest.param("russian", id="russian", marks=pytest.mark.russian_user),
])
def test_setup_speaks_the_users_language_and_starts_the_program_at_the_end(wine, language):
    titles = {"english": "Kadrilo Setup", "russian": "Установка Kadrilo"}
    run_texts = {"english": "&Run Kadrilo", "russian": "&Запустить Kadrilo"}
    layout = install(wine, gui=True)

    assert nsis_window(wine)["title"].strip() == titles[language]
    wine.driver("click", NSIS_CLASS, 1)  # the folder page: Install

    def finish_page():
        return next((c for c in controls(wine) if c["visible"] and c["text"] == run_texts[language]), None)
    run_box = poll(finish_page, WAIT, step=0.25)
    assert run_box, f"no finish page offering to start the program: {controls(wine)}"
    assert run_box["checked"] is True
    click_until_closed(wine)

    assert wine.wait_window(OVERLAY_CLASS), f"the program was not started\n{wine.logs()}"
    assert wine.prop(APP_CLASS, "UID") == INSTANCE_MARKER
    assert layout.exe.read_bytes() == PROGRAM.read_bytes()


# ---------------------------------------------------------------- removing

# name: (kind of install, uninstaller switches, a file of the user's in the
# folder, settings kept)
SILENT_REMOVALS = {
    "all-users": ("all-users", [], None, True),
    "current-user": ("current-user", [], None, True),
    "user-file-stays": ("own-folder", [], "notes.txt", True),
    "remove-settings": ("current-user", ["/REMOVESETTINGS"], None, False),
}


@pytest.mark.parametrize("kind, switches, user_file, settings_kept",
                         list(SILENT_REMOVALS.values()), ids=list(SILENT_REMOVALS))
def test_silent_uninstall_removes_what_it_installed(wine, kind, switches, user_file, settings_kept):
    layout = install(wine, kind)
    store_settings(wine, WorkMode=1)
    wine.reg_import({rf"HKCU\{RUN_KEY}": {"Kadrilo": layout.windows_exe},
                     rf"HKLM\{RUN_KEY}": {"Kadrilo": ELSEWHERE}})
    if user_file:
        (layout.folder / user_file).write_text("mine")
    (layout.folder.parent / "neighbour.txt").write_text("not Kadrilo's")
    parent_before = sorted(p.name for p in layout.folder.parent.iterdir())

    uninstaller, quiet_switches = uninstall_command(wine, layout, "QuietUninstallString")
    assert quiet_switches == ["/S"]
    wine.start(uninstaller, *quiet_switches, *switches)
    assert uninstall_done(wine, layout, [user_file] if user_file else []), (
        f"the uninstaller did not finish: {entry_values(wine, layout.entry)}\n{wine.logs()}")

    assert layout.folder.exists() == bool(user_file)
    assert sorted(p.name for p in layout.folder.parent.iterdir()) == (
        parent_before if user_file else [n for n in parent_before if n != layout.folder.name])
    assert not layout.shortcut.exists()
    if settings_kept:
        assert wine.reg_query(SETTINGS_KEY, "WorkMode") == "0x1"
        assert run_entry(wine, "HKCU") is None, "the autostart of the removed program stayed"
        assert run_entry(wine, "HKLM") == ELSEWHERE, "another copy's autostart was removed"
    else:
        assert not wine.key_exists(SETTINGS_KEY)
        assert (run_entry(wine, "HKCU"), run_entry(wine, "HKLM")) == (None, None)


# name: (the answers to the program's removal dialogue, settings removed)
DIALOGUE_ANSWERS = {
    "remove-and-stop": ([(ENGLISH[806], "yes"), (ENGLISH[807], "no")], True),
    "remove-and-go-on": ([(ENGLISH[806], "yes"), (ENGLISH[807], "yes")], True),
    "keep": ([(ENGLISH[806], "no")], False),
}


@pytest.mark.parametrize("answers, removed", list(DIALOGUE_ANSWERS.values()), ids=list(DIALOGUE_ANSWERS))
def test_uninstall_asks_through_the_programs_removal_dialogue(wine, answers, removed):
    layout = install(wine)
    store_settings(wine, WorkMode=1)
    wine.reg_import({rf"HKCU\{RUN_KEY}": {"Kadrilo": layout.windows_exe},
                     rf"HKLM\{RUN_KEY}": {"Kadrilo": ELSEWHERE}})

    uninstaller, switches = uninstall_command(wine, layout, "UninstallString")
    assert switches == []
    wine.start(uninstaller)
    nsis_window(wine)
    wine.driver("click", NSIS_CLASS, 1)  # Uninstall
    for text, answer in answers:
        assert wine.answer(answer)["text"] == text
    assert uninstall_done(wine, layout), f"the uninstaller did not finish\n{wine.logs()}"
    click_until_closed(wine)  # Finish

    assert not layout.shortcut.exists()
    assert instances(wine) == [], "a Kadrilo still runs"
    if removed:
        assert not wine.key_exists(SETTINGS_KEY)
        assert (run_entry(wine, "HKCU"), run_entry(wine, "HKLM")) == (None, None)
    else:
        assert wine.reg_query(SETTINGS_KEY, "WorkMode") == "0x1"
        assert run_entry(wine, "HKCU") is None, "the autostart of the removed program stayed"
        assert run_entry(wine, "HKLM") == ELSEWHERE, "another copy's autostart was changed"


# ---------------------------------------------------------------- the portable zip

def test_portable_zip_holds_the_program_readme_and_licence():
    with zipfile.ZipFile(PORTABLE) as archive:
        assert archive.testzip() is None
        assert sorted(archive.namelist()) == ["LICENSE.txt", "README.txt", "kadrilio.exe"]
        assert archive.read("kadrilio.exe") == PROGRAM.read_bytes()
        readme = archive.read("README.txt")
        licence = archive.read("LICENSE.txt")

    for text in (readme, licence):
        assert text.startswith(b"\xef\xbb\xbf"), "a text file without its UTF-8 mark"
        assert b"\n" not in text.replace(b"\r\n", b""), "a line that does not end in CR LF"
    readme = readme.decode("utf-8-sig")
    assert f"Kadrilo {VERSION}" in readme
    assert "portable" in readme and "переносная" in readme
    assert SETUP.name in readme
    assert "MIT" in licence.decode("utf-8-sig") and "the Kadrilo authors" in licence.decode("utf-8-sig")
