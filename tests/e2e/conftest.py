"""Fixtures of the end-to-end tests: Kadrilo under Wine on Xvfb.

Paths (relative ones from the repository root):
  KADRILO_EXE     the program under test, default dist/kadrilio.exe
  KADRILO_DRIVER  the test driver, default build/win/tests/driver/kadtest.exe
"""

import shutil
import tempfile
from pathlib import Path

import pytest

import winehost


@pytest.fixture(scope="session")
def work_root():
    root = Path(tempfile.mkdtemp(prefix="kadrilo-e2e-"))
    yield root
    shutil.rmtree(root, ignore_errors=True)


@pytest.fixture(scope="session")
def wine_template(work_root):
    """The prefix every test copies: made once per run."""
    return winehost.make_template(work_root / "template")


@pytest.fixture(scope="session")
def kadrilo_exe():
    """The program under test. A missing program fails every test that starts it
    (WineSession.start asserts that it exists), it never skips them."""
    return winehost.repo_file("KADRILO_EXE", "dist/kadrilio.exe")


@pytest.fixture(scope="session")
def driver_exe():
    return winehost.repo_file("KADRILO_DRIVER", "build/win/tests/driver/kadtest.exe")


@pytest.fixture(scope="session")
def russian_system(work_root):
    """Environment that makes Wine report a Russian-speaking user."""
    folder = work_root / "locale"
    folder.mkdir()
    return winehost.make_russian_locale(folder)


@pytest.fixture
def wine(request, wine_template, work_root, driver_exe):
    """A fresh prefix copy on a private display: see winehost.WineSession.
    A test marked russian_user runs as a user whose Windows language is Russian."""
    env_extra = None
    if request.node.get_closest_marker("russian_user"):
        env_extra = request.getfixturevalue("russian_system")
    session = winehost.WineSession(
        wine_template, winehost.new_workdir(work_root, request.node.name), driver_exe, env_extra)
    request.node.wine_session = session
    yield session
    session.close()


@pytest.fixture
def kadrilo(wine, kadrilo_exe):
    """start(*args): runs kadrilio.exe with these arguments from its own folder
    C:\\Kadrilo in the test's prefix, and returns the process."""
    def start(*args):
        assert kadrilo_exe.is_file(), (
            f"{kadrilo_exe} does not exist: build it (./scripts/build) or set KADRILO_EXE")
        installed = wine.prefix / "drive_c" / "Kadrilo" / "kadrilio.exe"
        if not installed.exists():
            installed.parent.mkdir(exist_ok=True)
            shutil.copy2(kadrilo_exe, installed)
        return wine.start(installed, *args)
    return start


@pytest.hookimpl(trylast=True)
def pytest_runtest_call(item):
    """After a test body that passed: any visible window the test did not expect
    (a message box left open, Wine's "Program Error" dialog) fails the test."""
    session = getattr(item, "wine_session", None)
    if session is None:
        return
    unexpected = session.unexpected_windows()
    assert not unexpected, f"unexpected windows at the end of the test: {unexpected}"
