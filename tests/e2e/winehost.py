"""Running Kadrilo and the test driver under Wine on a private X display.

One Wine prefix is made per test run (the template, about 8 s); every test gets
its own copy of it, its own Xvfb display and its own wineserver, and everything
a test started is stopped by its process id when the test ends.
"""

import json
import os
import select
import shutil
import signal
import subprocess
import tempfile
import time
from pathlib import Path

REPO = Path(__file__).resolve().parents[2]

POLL_STEP = 0.05  # seconds between two looks at something we wait for
WINE = shutil.which("wine") or "/usr/bin/wine"
WINESERVER = shutil.which("wineserver") or "/usr/bin/wineserver"
XVFB = shutil.which("Xvfb") or "/usr/bin/Xvfb"
DLL_OVERRIDES = "mscoree,mshtml=;winemenubuilder.exe=d"
SCREEN = "1024x768"

# The program's window classes and its message box caption.
APP_CLASS = "TKadriloApplication"
MAIN_CLASS = "TAppMainForm"
CAPTION = "Kadrilo"
INSTANCE_MARKER = 736218
SETTINGS_KEY = r"HKCU\Software\Kadrilo"

# Wine's own windows that may be visible on the virtual desktop: its taskbar
# appears as soon as a program puts an icon into the tray.
WINE_SHELL_CLASSES = {"Shell_TrayWnd"}

# Set in the template: a virtual desktop (fast hiding, no tray on the screen),
# no sound driver (no ALSA noise), no debugger (a crash ends the process instead
# of keeping it alive behind a crash dialog), and Windows 10.
TEMPLATE_REGISTRY = rf"""REGEDIT4

[HKEY_CURRENT_USER\Software\Wine]
"Version"="win10"

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="{SCREEN}"

[HKEY_CURRENT_USER\Software\Wine\Drivers]
"Audio"=""

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\AeDebug]
"Debugger"=""
"""

# Files of the template that Wine only ever reads: shared between the copies by
# hard links instead of being copied (they are 90 % of a prefix's 700 MB).
SHARED_SUFFIXES = {".dll", ".exe", ".drv", ".sys", ".acm", ".cpl", ".ocx", ".tlb", ".ax", ".ds"}


def repo_file(variable, default):
    """A path from an environment variable, relative paths taken from the repo root."""
    path = Path(os.environ.get(variable) or default)
    return path if path.is_absolute() else REPO / path


def wine_environment(prefix, display=None, extra=None):
    env = {k: v for k, v in os.environ.items() if not k.startswith("WINE")}
    env.pop("WAYLAND_DISPLAY", None)
    env.update(
        WINEPREFIX=str(prefix),
        WINEDEBUG="-all,err+win,err+winstation,err+x11drv,err+explorer",  # only what explains a failure
        WINEDLLOVERRIDES=DLL_OVERRIDES,
        LC_ALL="C.UTF-8",  # an English system unless a test asks otherwise
    )
    if display:
        env["DISPLAY"] = display
    else:
        env.pop("DISPLAY", None)
    env.update(extra or {})
    return env


def windows_path(path):
    """The Wine path of a Unix path (drive Z: is the Unix root)."""
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


def poll(condition, timeout, step=POLL_STEP):
    """Calls condition() every step seconds until it is true or timeout runs out."""
    deadline = time.monotonic() + timeout
    while True:
        result = condition()
        if result or time.monotonic() >= deadline:
            return result
        time.sleep(step)


def _run(args, env, timeout, check=True):
    """Runs a command to its end. Its output goes through files, not pipes: the
    wineserver and the Wine services that a command starts inherit its handles
    and live on, and a pipe would stay open until they are gone."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        process = subprocess.Popen(args, env=env, stdin=subprocess.DEVNULL, stdout=out,
                                   stderr=err)
        try:
            rc = process.wait(timeout)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
            raise
        out.seek(0)
        err.seek(0)
        result = subprocess.CompletedProcess(args, rc, out.read(), err.read())
    if check and result.returncode != 0:
        raise RuntimeError(f"{args} failed with {result.returncode}: "
                           f"{result.stderr.decode(errors='replace')[-2000:]}")
    return result


# What Wine's launcher says when it could not start a program at all; the
# program did nothing then.
LAUNCH_FAILED = (b"ShellExecuteEx failed", b"Application could not be started")


def _run_wine(args, env, timeout, attempts=3):
    """Runs a Windows program under Wine to its end, starting it again when now
    and then Wine's launcher fails to start it at all."""
    for attempt in range(attempts):
        result = _run(args, env, timeout, check=False)
        said = result.stdout + result.stderr
        if result.returncode == 0 or not any(text in said for text in LAUNCH_FAILED):
            return result
        time.sleep(0.5)
    return result


def stop_wineserver(env):
    """Stops the prefix's wineserver and every process of the prefix."""
    _run([WINESERVER, "-k"], env, 30, check=False)
    _run([WINESERVER, "-w"], env, 30, check=False)
    kill_leftovers(env["WINEPREFIX"])


def kill_leftovers(prefix):
    """Ends, by process id, the processes of this prefix that outlived its
    wineserver (one that was being started while the server stopped can)."""
    wanted = f"WINEPREFIX={prefix}".encode()
    for entry in Path("/proc").iterdir():
        if not entry.name.isdigit() or int(entry.name) == os.getpid():
            continue
        try:
            if wanted in (entry / "environ").read_bytes().split(b"\0"):
                os.kill(int(entry.name), signal.SIGKILL)
        except (OSError, ProcessLookupError):
            pass


def make_template(prefix):
    """Makes a fresh prefix with the settings every test relies on."""
    env = wine_environment(prefix)
    _run([WINE, "wineboot", "-i"], env, 180)
    reg_file = Path(prefix).parent / "template.reg"
    reg_file.write_text(TEMPLATE_REGISTRY.replace("\n", "\r\n"), encoding="ascii")
    _run([WINE, "reg", "import", windows_path(reg_file)], env, 60)
    stop_wineserver(env)
    user_reg = (Path(prefix) / "user.reg").read_text(errors="replace")
    if f'"Default"="{SCREEN}"' not in user_reg or '"Version"="win10"' not in user_reg:
        raise RuntimeError("the template prefix did not keep its registry settings")
    return Path(prefix)


def copy_prefix(template, target):
    """cp -a of the template, except that Wine's own binaries are hard links."""
    def copy(source, destination):
        if Path(source).suffix.lower() in SHARED_SUFFIXES:
            os.link(source, destination)
        else:
            shutil.copy2(source, destination)
    shutil.copytree(template, target, symlinks=True, copy_function=copy)


def make_russian_locale(folder):
    """A ru_RU.UTF-8 locale of our own (used through LOCPATH): Wine takes the
    user's language from it. Returns the environment that selects it."""
    _run(["localedef", "-i", "ru_RU", "-f", "UTF-8", str(Path(folder) / "ru_RU.UTF-8")],
         os.environ, 60)
    return {"LOCPATH": str(folder), "LC_ALL": "ru_RU.UTF-8"}


class Xvfb:
    """A private X server on a display number it picks itself."""

    def __init__(self):
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            [XVFB, "-displayfd", str(write_end), "-screen", "0", f"{SCREEN}x24",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=[write_end], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL)
        os.close(write_end)
        try:
            number = b""
            deadline = time.monotonic() + 10
            while not number.endswith(b"\n") and time.monotonic() < deadline:
                if select.select([read_end], [], [], POLL_STEP)[0]:
                    chunk = os.read(read_end, 16)
                    if not chunk:
                        break
                    number += chunk
        finally:
            os.close(read_end)
        if not number.strip().isdigit():
            self.stop()
            raise RuntimeError("Xvfb did not start")
        self.display = ":" + number.decode().strip()

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()


class FakeInstance:
    """The driver standing in for a first running instance (fake-instance)."""

    def __init__(self, process, outfile):
        self.process = process
        self.outfile = outfile

    def received(self, timeout=10):
        """Waits for the driver to end; returns what it received, or None."""
        try:
            rc = self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            return None
        return json.loads(self.outfile.read_text()) if rc == 0 else None


class WineSession:
    """One test's prefix copy, display and processes."""

    def __init__(self, template, workdir, driver_exe, env_extra=None):
        self.workdir = Path(workdir)
        self.prefix = self.workdir / "prefix"
        self.driver_exe = driver_exe
        self.processes = []
        self.expected_classes = set(WINE_SHELL_CLASSES)  # visible windows a test allows
        copy_prefix(template, self.prefix)
        self.xvfb = Xvfb()
        self.env = wine_environment(self.prefix, self.xvfb.display, env_extra)

    # ------------------------------------------------------------ processes

    def start(self, exe, *args):
        """Starts a Windows program with plain `wine`, so that its exit code is kept.
        Its output goes to a log file in the test's folder."""
        assert Path(exe).is_file(), f"{exe} does not exist"
        log = open(self.workdir / f"{Path(exe).stem}-{len(self.processes)}.log", "wb")
        with log:
            process = subprocess.Popen([WINE, str(exe), *args], env=self.env,
                                       stdin=subprocess.DEVNULL, stdout=log, stderr=log)
        self.processes.append(process)
        return process

    def logs(self):
        """What the programs this test started wrote (Wine's errors among it)."""
        return "\n".join(f"--- {log.name}\n{log.read_text(errors='replace')[-2000:]}"
                         for log in sorted(self.workdir.glob("*.log")))

    def driver(self, *args, timeout=5000):
        """Runs kadtest.exe; timeout (ms) is also passed on to the subcommands that wait."""
        self._check_driver()
        result = _run_wine([WINE, str(self.driver_exe), *map(str, args)], self.env, timeout / 1000 + 20)
        if result.returncode not in (0, 1):  # 2: a usage error; anything else: a crash
            raise RuntimeError(f"kadtest {' '.join(map(str, args))} ended with "
                               f"{result.returncode:#x}: {result.stderr.decode(errors='replace')}")
        return result.returncode, result.stdout.decode("utf-8")

    def driver_json(self, *args, timeout=5000):
        rc, out = self.driver(*args, timeout=timeout)
        return rc, (json.loads(out.splitlines()[0]) if rc in (0, 1) and out.strip() else None)

    def _wait_with_driver(self, args, timeout, process):
        """Runs a waiting subcommand of the driver (args, then the timeout in ms).
        With a process, waits in slices of a second and gives up as soon as that
        process has ended. Returns the driver's (exit code, first line as JSON)."""
        deadline = time.monotonic() + timeout / 1000
        while True:
            left = max(0, int((deadline - time.monotonic()) * 1000))
            step = min(left, 1000) if process is not None else left
            rc, out = self.driver(*args, step, timeout=step)
            result = json.loads(out.splitlines()[0]) if out.strip().startswith("{") else None
            if rc != 1 or left == 0 or result is not None:
                return rc, result
            if process is not None and process.poll() is not None:
                return rc, None

    def message_box(self, process=None, timeout=10000):
        """Waits for the program's message box: its text and its buttons."""
        rc, box = self._wait_with_driver(["msgbox-wait", CAPTION], timeout, process)
        assert rc == 0, f"no message box with caption {CAPTION!r}{_ended(process)}"
        return box

    def answer(self, answer, process=None, timeout=10000):
        """Answers the program's message box and returns the box it answered."""
        rc, box = self._wait_with_driver(["msgbox-answer", CAPTION, answer], timeout, process)
        assert box is not None, f"no message box with caption {CAPTION!r}{_ended(process)}"
        assert rc == 0, f"could not answer {answer!r} to {box}"
        return box

    def _check_driver(self):
        assert Path(self.driver_exe).is_file(), (
            f"the test driver {self.driver_exe} does not exist: build it "
            "(tests/driver) or set KADRILO_DRIVER")

    def fake_instance(self, window_class=APP_CLASS, timeout=20000):
        self._check_driver()
        outfile = self.workdir / "copydata.json"
        process = subprocess.Popen(
            [WINE, str(self.driver_exe), "fake-instance", window_class,
             windows_path(outfile), str(timeout)],
            env=self.env, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
            stderr=subprocess.DEVNULL)
        self.processes.append(process)
        ready = select.select([process.stdout], [], [], 20)[0] and process.stdout.readline()
        assert ready and ready.strip() == b"ready", "the fake first instance did not start"
        return FakeInstance(process, outfile)

    def wait_exit(self, process, timeout=10):
        try:
            return process.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    def stays_running(self, process, seconds=1.5):
        """True if the process is still running after the given time (checked every step)."""
        return not poll(lambda: process.poll() is not None, seconds)

    # ------------------------------------------------------------ windows

    def window(self, window_class):
        rc, info = self.driver_json("window-info", window_class)
        return info if rc == 0 else None

    def wait_window(self, window_class, process=None, timeout=10000):
        """Waits for a top-level window of the class (giving up if process ends)."""
        rc, _ = self._wait_with_driver(["window-wait", window_class], timeout, process)
        return rc == 0

    def prop(self, window_class, name):
        rc, out = self.driver("prop-get", window_class, name)
        return int(out) if rc == 0 else None

    def windows(self):
        rc, out = self.driver("list-windows")
        assert rc == 0, "list-windows failed"
        return [json.loads(line) for line in out.splitlines() if line.strip()]

    def unexpected_windows(self):
        """Visible top-level windows of classes the test does not expect (for
        example Wine's "Program Error" dialog, or a message box left open)."""
        return [w for w in self.windows()
                if w["visible"] and w["class"] not in self.expected_classes]

    # ------------------------------------------------------------ registry

    def reg(self, *args):
        result = _run_wine([WINE, "reg", *args], self.env, 30)
        return result.returncode, result.stdout.decode("utf-8", errors="replace")

    def reg_import(self, keys):
        """Writes registry values in one go: {key: {name: data}}, a key as
        HKCU\\... or HKLM\\..., data an int (REG_DWORD) or a str (REG_SZ)."""
        roots = {"HKCU": "HKEY_CURRENT_USER", "HKLM": "HKEY_LOCAL_MACHINE"}
        lines = ["REGEDIT4", ""]
        for key, values in keys.items():
            root, _, path = key.partition("\\")
            lines.append(f"[{roots.get(root, root)}\\{path}]")
            for name, data in values.items():
                if isinstance(data, int):
                    lines.append(f'"{name}"=dword:{data:08x}')
                else:
                    escaped = data.replace("\\", "\\\\").replace('"', '\\"')
                    lines.append(f'"{name}"="{escaped}"')
            lines.append("")
        reg_file = self.workdir / "seed.reg"
        reg_file.write_text("\r\n".join(lines), encoding="ascii")
        rc, out = self.reg("import", windows_path(reg_file))
        assert rc == 0, f"reg import failed: {out}"

    def reg_add(self, key, value, data, kind="REG_DWORD"):
        rc, out = self.reg("add", key, "/v", value, "/t", kind, "/d", str(data), "/f")
        assert rc == 0, f"reg add {key} {value} failed: {out}"

    def reg_query(self, key, value=None):
        """The data of a value as reg prints it, None if it does not exist."""
        rc, out = self.reg("query", key, *(["/v", value] if value else []))
        if rc != 0:
            return None
        if value is None:
            return out
        for line in out.splitlines():
            parts = line.split(None, 2)
            if len(parts) >= 2 and parts[0].lower() == value.lower():
                return parts[2] if len(parts) == 3 else ""
        return None

    def key_exists(self, key):
        return self.reg_query(key) is not None

    # ------------------------------------------------------------ teardown

    def close(self):
        try:
            for process in self.processes:
                if process.poll() is None:
                    process.send_signal(signal.SIGKILL)
                process.wait()
                if process.stdout:
                    process.stdout.close()
            stop_wineserver(self.env)
        finally:
            self.xvfb.stop()
            shutil.rmtree(self.prefix, ignore_errors=True)


def _ended(process):
    if process is None or process.poll() is None:
        return ""
    return f": the program ended with exit code {process.returncode:#x}"


def new_workdir(root, name):
    return Path(tempfile.mkdtemp(prefix=name[:40] + "-", dir=root))
