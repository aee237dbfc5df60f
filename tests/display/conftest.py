"""Fixtures of the real-display tests: the installed programs (KELVU_PREFIX)
on a private X server with a window manager, one per test. Without the tools
a test is skipped and says why, except in CI (CI=true), where it fails. A
failing test leaves its screenshots and logs in KELVU_DISPLAY_ARTIFACTS/<test>
(KELVU_DISPLAY_KEEP=1: also a passing one)."""
import os

import pytest

from kelvu_display import xsession
from kelvu_display.desktop import Desktop

BASE_TOOLS = ["Xvfb", "xdotool", "fc-match", "xmessage"]
DEFAULT_ARTIFACTS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "build",
                                 "tests", "display", "artifacts")


def cannot_run(message):
    """Skips the test, saying why; in CI a test that cannot run fails."""
    if os.environ.get("CI") == "true":
        pytest.fail(message + " (install it, see tools/install-deps.sh)")
    pytest.skip(message)


def require(*tools):
    missing = xsession.missing_tools(*tools)
    if missing:
        cannot_run("missing tools: %s" % " ".join(missing))


@pytest.hookimpl(hookwrapper=True)
def pytest_runtest_makereport(item, call):
    outcome = yield
    report = outcome.get_result()
    setattr(item, "report_" + report.when, report)


def pytest_sessionfinish(session, exitstatus):
    """A run that skipped a test and failed none ends with 77, which CTest
    reports as skipped."""
    reporter = session.config.pluginmanager.get_plugin("terminalreporter")
    if exitstatus == 0 and reporter and reporter.stats.get("skipped"):
        session.exitstatus = 77


def pytest_configure(config):
    config.addinivalue_line("markers", "desktop(**options): screen size (width, height) or "
                            "monitors (their widths), accessibility bus, scale factor of the "
                            "test's desktop")


@pytest.fixture
def wm():
    """The window manager; tests that differ by it parametrise this."""
    return "openbox"


@pytest.fixture
def desktop(request, tmp_path, wm):
    marker = request.node.get_closest_marker("desktop")
    options = dict(marker.kwargs) if marker else {}
    # Rows of a test parametrised with indirect=["desktop"] add their own.
    options.update(getattr(request, "param", {}))
    manager = xsession.WINDOW_MANAGERS[wm]
    tools = BASE_TOOLS + manager.command[:1]
    if manager.session_bus:
        tools.append("dbus-daemon")
    if options.get("monitors"):
        tools.append("xrandr")
    if options.get("accessibility"):
        tools += ["dbus-daemon", "dbus-send", "/usr/libexec/at-spi-bus-launcher"]
    require(*tools)
    if options.get("accessibility"):
        try:
            import gi
            gi.require_version("Atspi", "2.0")
        except (ImportError, ValueError):
            cannot_run("missing the AT-SPI client for Python (python3-gi, gir1.2-atspi-2.0)")
    prefix = os.environ.get("KELVU_PREFIX")
    assert prefix, "KELVU_PREFIX must name the prefix the programs are installed in"
    session = Desktop(str(tmp_path), prefix, wm=wm, **options)
    yield session
    finish(request, session)


def finish(request, session):
    """Ends the test's desktop; a failed test's screenshots and logs are kept
    first (KELVU_DISPLAY_KEEP=1: a passing one's too)."""
    failed = any(getattr(request.node, "report_" + when, None) is not None and
                 getattr(request.node, "report_" + when).failed for when in ("setup", "call"))
    try:
        if failed:
            session.screen.shot("at-failure")
        if failed or os.environ.get("KELVU_DISPLAY_KEEP"):
            artifacts = os.environ.get("KELVU_DISPLAY_ARTIFACTS", DEFAULT_ARTIFACTS)
            destination = os.path.join(artifacts, request.node.name)
            session.keep(destination)
            print("Screenshots and logs of %s are in %s" % (request.node.name, destination))
    finally:
        session.close()
