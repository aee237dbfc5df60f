#pragma once

#include <QPointer>
#include <QWidget>

// The black backdrop: a frameless, screen-filling window with no controls,
// shown before the program's own windows so that it covers whatever was open
// on the screen. It lies in the ordinary stacking order, takes no mouse or
// keyboard input and never the focus. A press on the black area lets the
// window manager raise it, so the backdrop then puts the program's own
// windows back in front of itself: the program's window stays in front and
// active.
class Svartbakgrund final : public QWidget {
    Q_OBJECT
public:
    Svartbakgrund();

    // Shows it, not modal and without an owner, covering the whole screen,
    // behind the program's main window (shown after it).
    void showBehind(QWidget* mainWindow);

    // Raises every other visible window of the program above the backdrop:
    // other windows first, then the main window, then the dialogs and message
    // boxes over it, and activates the one in front.
    void keepProgramWindowsInFront();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> m_mainWindow;
};
