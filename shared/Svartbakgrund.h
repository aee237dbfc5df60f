#pragma once

#include <QWidget>

// The black backdrop: a frameless, screen-filling window with no controls
// that lies behind the program's own windows. It takes no mouse or keyboard
// input and never the focus, so a click on the black area leaves the
// program's window in front and active.
class Svartbakgrund final : public QWidget {
    Q_OBJECT
public:
    Svartbakgrund();

    // Shows it, not modal and without an owner, covering the whole screen.
    void showBehind();
};
