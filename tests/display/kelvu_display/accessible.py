"""The accessible tree of one running program as a screen reader reads it
over AT-SPI. Each reading runs in a fresh process of its own, so that no
cached answer of an earlier reading is given again.

    python3 -m kelvu_display.accessible PID   prints the tree as JSON
"""
import json
import os
import subprocess
import sys

STATES = ["showing", "visible", "sensitive", "focusable", "focused", "checkable", "checked",
          "selected", "active"]
MAX_DEPTH = 12


class Node:
    def __init__(self, fields):
        self.depth = fields["depth"]
        self.role = fields["role"]
        self.name = fields["name"]
        self.states = set(fields["states"])
        self.value = fields.get("value")
        self.actions = fields.get("actions", [])
        self.text = fields.get("text")
        self.extents = fields.get("extents")  # x, y, width, height on the screen

    def centre(self):
        x, y, w, h = self.extents
        return (x + w // 2, y + h // 2)

    def __repr__(self):
        return "%s%s %r %s%s" % ("  " * self.depth, self.role, self.name, sorted(self.states),
                                 "" if self.value is None else " value=%g" % self.value)


class Tree:
    def __init__(self, nodes):
        self.nodes = nodes

    def __repr__(self):
        return "\n".join(repr(n) for n in self.nodes)

    def all(self, role=None, name=None, depth=None):
        return [n for n in self.nodes if (role is None or n.role == role) and
                (name is None or n.name == name) and (depth is None or n.depth == depth)]

    def find(self, role, name, depth=None):
        """The one node of that role and name; fails, showing the tree,
        when there is none or more than one."""
        found = self.all(role, name, depth)
        assert len(found) == 1, "expected one %s %r, found %d in:\n%r" % (role, name,
                                                                            len(found), self)
        return found[0]

    def subtree(self, role, name):
        """The node and everything under it."""
        start = self.nodes.index(self.find(role, name))
        depth = self.nodes[start].depth
        end = start + 1
        while end < len(self.nodes) and self.nodes[end].depth > depth:
            end += 1
        return Tree(self.nodes[start:end])


def read_tree(pid, env):
    """The tree of the application with that process id, or None while it
    has not registered on the accessibility bus yet."""
    here = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    result = subprocess.run([sys.executable, "-m", "kelvu_display.accessible", str(pid)],
                            cwd=here, env=env, capture_output=True, text=True, timeout=30)
    if result.returncode != 0:
        return None
    return Tree([Node(json.loads(line)) for line in result.stdout.splitlines()])


def _describe(node, depth):
    from gi.repository import Atspi
    states = node.get_state_set()
    fields = {"depth": depth, "role": node.get_role_name(), "name": node.get_name() or "",
              "states": [s for s in STATES
                         if states.contains(getattr(Atspi.StateType, s.upper()))]}
    value = node.get_value_iface()
    if value is not None:
        fields["value"] = value.get_current_value()
    component = node.get_component_iface()
    if component is not None:
        box = component.get_extents(Atspi.CoordType.SCREEN)
        fields["extents"] = [box.x, box.y, box.width, box.height]
    if fields["role"] == "text":
        text = node.get_text_iface()
        if text is not None:
            fields["text"] = text.get_text(0, text.get_character_count())
    action = node.get_action_iface()
    if action is not None:
        fields["actions"] = [action.get_action_name(i) for i in range(action.get_n_actions())]
    return fields


def _walk(node, depth, out):
    out.append(_describe(node, depth))
    if depth >= MAX_DEPTH:
        return
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child is not None:
            _walk(child, depth + 1, out)


def _main(pid):
    import gi
    gi.require_version("Atspi", "2.0")
    from gi.repository import Atspi, GLib
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        try:
            if app is not None and app.get_process_id() == pid:
                out = []
                _walk(app, 0, out)
                print("\n".join(json.dumps(fields) for fields in out))
                return 0
        except GLib.Error:
            continue
    return 1


if __name__ == "__main__":
    sys.exit(_main(int(sys.argv[1])))
