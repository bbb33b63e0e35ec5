"""Priority management end to end: the priority class of the running program,
read from another process, at start-up, while a shot waits on the preview
page, and during and after a series started by the hotkey."""

import pytest

from resident import WAIT, post, start_resident, wait_main_visible
from shots import press_on_desktop, store_settings
from winehost import MAIN_CLASS, poll

HIGH, NORMAL, IDLE = 0x80, 0x20, 0x40
WM_CLOSE = 0x10


def priority(wine):
    rc, out = wine.driver("priority-class", MAIN_CLASS)
    assert rc == 0, "the program's process could not be read"
    return int(out)


def becomes(wine, wanted):
    return poll(lambda: priority(wine) == wanted, WAIT)


@pytest.mark.parametrize("management, automatic, chosen, at_start", [
    pytest.param(1, 0, 2, IDLE, id="fixed-idle"),
    pytest.param(1, 0, 0, HIGH, id="fixed-high"),
    pytest.param(1, 1, 0, NORMAL, id="automatic"),
    pytest.param(0, 0, 0, NORMAL, id="off"),
])
def test_start_up_takes_the_fixed_priority(wine, kadrilo, management, automatic, chosen, at_start):
    store_settings(wine, PriorityChange=management, PriorityAutoChange=automatic, PriorityClass=chosen)
    start_resident(wine, kadrilo)
    assert priority(wine) == at_start


def test_a_manual_shot_runs_raised_until_the_window_closes(wine, kadrilo):
    store_settings(wine, WorkMode=0, PriorityChange=1, PriorityAutoChange=1, PriorityClass=0)
    start_resident(wine, kadrilo)
    assert priority(wine) == NORMAL
    press_on_desktop(wine, "Print")
    assert wait_main_visible(wine, True), "the shot is not shown on the preview page"
    assert priority(wine) == HIGH, "the shot waiting on the preview page runs raised"
    post(wine, MAIN_CLASS, WM_CLOSE)
    assert wait_main_visible(wine, False)
    assert becomes(wine, NORMAL), "closing the window ends the shot's handling"


@pytest.mark.parametrize("fixed", [False, True], ids=["management-off", "fixed-idle"])
def test_a_hotkey_series_runs_at_the_chosen_class_then_normal(wine, kadrilo, fixed):
    # A manually stopped series with ten seconds between shots: it runs until the second press.
    store_settings(wine, WorkMode=2, ManualSerial=1, IntervalOfTime=100,
                   PriorityChange=1 if fixed else 0, PriorityAutoChange=0, PriorityClass=2 if fixed else 0)
    start_resident(wine, kadrilo)
    assert priority(wine) == (IDLE if fixed else NORMAL)
    press_on_desktop(wine, "Print")
    assert becomes(wine, IDLE if fixed else HIGH), "the series runs at the class of the list"
    press_on_desktop(wine, "Print")
    assert becomes(wine, NORMAL), "the end of the series restores Normal"
