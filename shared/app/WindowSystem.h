#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <functional>
#include <vector>

namespace app {

// A window of any program, as the window system names it; 0 is none.
using NativeWindow = quintptr;

// What a window says of where it comes from.
struct WindowOrigin {
    // The startup ID of the start that made it or brought it forward, set on
    // the window, and the one on its client leader (where GTK sets it for all
    // of its windows); empty when none.
    QByteArray startupId;
    QByteArray leaderStartupId;
    // The process that owns it, when that runs on this machine; 0 when unknown.
    qint64 processId = 0;
    // The startup ID that process was started under (DESKTOP_STARTUP_ID in
    // its environment, handed down from a start by a script, also one that
    // has ended since); empty when none or unknown.
    QByteArray processStartupId;
};

// One start of an exercise program.
struct Launch {
    QByteArray startupId;  // handed to the program; empty when none could be made
    qint64 processId = 0;  // the started program's process
};

// What the window policy asks of the window system and of the program's
// windows, and what it asks them to do. The backdrop carries it out with the
// window manager's protocols; the policy's tests with a fake.
class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // Milliseconds on a clock that never goes back.
    virtual qint64 now() const = 0;
    // Runs the step after the given milliseconds, on the program's thread.
    virtual void later(int milliseconds, std::function<void()> step) = 0;

    // One of the black windows, on any screen.
    virtual bool isBackdrop(NativeWindow window) const = 0;
    // A window of the program itself, the backdrop's aside.
    virtual bool isOwnWindow(NativeWindow window) const = 0;
    // The program's main window; 0 when there is none.
    virtual NativeWindow mainWindow() const = 0;
    // Whether another window of the program than this one is on the screen.
    virtual bool isOwnWindowShownBesides(NativeWindow window) const = 0;
    // On the screen: mapped, not minimised.
    virtual bool isShown(NativeWindow window) const = 0;
    // Minimised by the window manager.
    virtual bool isMinimised(NativeWindow window) const = 0;
    // The windows the window manager manages, of every program.
    virtual std::vector<NativeWindow> managedWindows() const = 0;
    // The window the window manager has made active, of whatever program.
    virtual NativeWindow activeWindow() const = 0;
    virtual WindowOrigin origin(NativeWindow window) const = 0;
    // The parent of a process on this machine; 0 when there is none or it is unknown.
    virtual qint64 parentProcess(qint64 processId) const = 0;

    // Every black window to the top of its layer, over any other program's window.
    virtual void raiseBackdrops() = 0;
    // The program's windows in front of the black, minimised ones back on the
    // screen, the given one (when it is the program's) in front of the rest;
    // returns the one now in front, or 0 when none is on the screen.
    virtual NativeWindow raiseOwnWindows(NativeWindow front) = 0;
    // Makes a window of the program, as it is first shown, belong to the
    // black, so that the window manager keeps it in front of it.
    virtual void keepOwnWindowInFront(NativeWindow window) = 0;
    // Gives a window of the program the focus, as the program itself asks for it.
    virtual void focusOwnWindow(NativeWindow window) = 0;
    // Brings any window to the front with the focus, as a taskbar does; the
    // time is that of the user's action that asks for it, or 0.
    virtual void activate(NativeWindow window, quint64 time) = 0;
    // Makes another program's window belong to the black as a dialog does;
    // whether it got the black as its owner now (false when it has an owner).
    virtual bool makeBelongToBackdrop(NativeWindow window) = 0;
    // Asks the window manager to decide again whether the blacks on further
    // screens lie over the panels there.
    virtual void reviewFurtherScreens() = 0;
    // Tells the desktop that a start has shown its window.
    virtual void endStartup(const QByteArray& startupId) = 0;
};

}  // namespace app
