#!/usr/bin/python3
"""Prints the accessible tree of one running program as a screen reader
reads it over AT-SPI: one line per object, indented by depth:

    role "name" [states] value=V actions=a,b

Usage: atspi_tree.py PID
Exit status 1 when no application with that process id is registered yet.
"""
import sys

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

STATES = ["showing", "visible", "sensitive", "focusable", "focused", "checkable", "checked",
          "selected", "active"]
MAX_DEPTH = 12


def application(pid):
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        try:
            if app is not None and app.get_process_id() == pid:
                return app
        except gi.repository.GLib.Error:
            continue
    return None


def describe(node):
    states = node.get_state_set()
    shown = [s for s in STATES if states.contains(getattr(Atspi.StateType, s.upper()))]
    line = '%s "%s" [%s]' % (node.get_role_name(), node.get_name() or "", ",".join(shown))
    value = node.get_value_iface()
    if value is not None:
        line += " value=%g" % value.get_current_value()
    action = node.get_action_iface()
    if action is not None and action.get_n_actions() > 0:
        names = [action.get_action_name(i) for i in range(action.get_n_actions())]
        line += " actions=" + ",".join(names)
    return line


def walk(node, depth, out):
    out.append("  " * depth + describe(node))
    if depth >= MAX_DEPTH:
        return
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child is not None:
            walk(child, depth + 1, out)


def main():
    app = application(int(sys.argv[1]))
    if app is None:
        return 1
    lines = []
    walk(app, 0, lines)
    print("\n".join(lines))
    return 0


if __name__ == "__main__":
    sys.exit(main())
