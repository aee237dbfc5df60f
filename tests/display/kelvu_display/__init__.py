"""Driving the installed Kelvu programs on a real X display, for the tests in
the folder above: processes ended by their own id, a private X server with a
window manager and an accessibility bus, windows found by process and title,
input through XTest, screenshots judged pixel by pixel, and the accessible
tree as a screen reader reads it."""
