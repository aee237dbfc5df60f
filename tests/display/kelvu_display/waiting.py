"""Waiting for a condition with a deadline, never for a fixed time."""
import time

TIMEOUT = 20.0


class Timeout(AssertionError):
    """A condition that did not come true in time; says what was awaited."""


def wait_until(condition, what, timeout=TIMEOUT, interval=0.05):
    """Calls condition until it returns something true and returns that.
    After timeout seconds fails with what was awaited and the last value
    seen."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise Timeout("%s: not within %g s (last seen: %r)" % (what, timeout, value))
        time.sleep(interval)


def holds_for(condition, seconds, interval=0.05):
    """Whether condition stays true for the whole time: for what must NOT
    happen, such as a window that must stay on the screen."""
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if not condition():
            return False
        time.sleep(interval)
    return True
