"""What the programs' windows ask of the window manager, as Screen.hints
reads it, and what openbox allows them.

The Motif hints are flags (1 functions, 2 decorations), functions (1 all,
2 resize, 4 move, 8 minimise, 16 maximise, 32 close), decorations (1 all,
2 border, 4 resize handles, 8 title, 16 menu, 32 minimise, 64 maximise),
input mode and status. Qt always lists the normal type last, after the one
asked for."""

# The black backdrop: frameless, so no decorations and the functions left
# to the window manager; full screen, in no taskbar or pager. Openbox lets it
# be closed and minimised (it comes back at once).
BACKDROP = {"motif": [2, 1, 0, 0, 0], "types": ["_KDE_NET_WM_WINDOW_TYPE_OVERRIDE", "NORMAL"],
            "transient for": None, "state": ["FULLSCREEN", "SKIP_PAGER", "SKIP_TASKBAR"],
            "allowed": ["CHANGE_DESKTOP", "CLOSE", "FULLSCREEN", "MINIMIZE"]}


def main_window(backdrop, modal=False):
    """Both programs' main windows and their message boxes: a dialog of the
    backdrop (or of the window they belong to) with a border, resize handles
    the fixed size leaves unused, a title with its menu, and close, move and
    resize only. A toolbar to openbox, which would otherwise draw a minimise
    button (and a dead maximise one) whatever the Motif hints say. The message
    boxes block the whole program."""
    return {"motif": [3, 38, 30, 0, 0], "types": ["TOOLBAR", "DIALOG", "NORMAL"],
            "transient for": backdrop, "state": ["MODAL"] if modal else [],
            "allowed": ["ABOVE", "BELOW", "CHANGE_DESKTOP", "CLOSE", "MOVE", "SHADE",
                        "_OB_WM_ACTION_UNDECORATE"]}


def settings_dialog(backdrop):
    """"Spara som" and "Hämta": a border without a title, move and resize
    only; a toolbar, which openbox neither minimises, maximises nor shades."""
    return {"motif": [3, 6, 2, 0, 0], "types": ["TOOLBAR", "DIALOG", "NORMAL"],
            "transient for": backdrop, "state": [],
            "allowed": ["ABOVE", "BELOW", "CHANGE_DESKTOP", "CLOSE", "MOVE", "RESIZE",
                        "_OB_WM_ACTION_UNDECORATE"]}
