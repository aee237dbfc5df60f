#pragma once

#include "shared/app/WindowSystem.h"

#include <QObject>
#include <QString>
#include <QtGlobal>

#include <memory>
#include <vector>

class QWidget;
class QWindow;

// The few requests to the window manager that Qt has no call for, made with
// the standard X11 protocols (ICCCM, EWMH and the Motif hints). Where the
// programs do not run on X11 every request does nothing, every question
// answers "no" and the watch reports nothing.
namespace app {

// Chooses the window system before the application object is made: on
// desktops that offer both X11 and Wayland, X11 (through XWayland), where the
// window manager keeps the program's windows in front of the backdrop and the
// backdrop over every panel; Wayland only where there is no X11. The programs
// the runner starts inherit the same preference where their toolkit takes
// one (Qt, GTK), so that they too come in front of the backdrop and get the
// focus; one that speaks Wayland only still starts on Wayland. A choice
// already made for the Qt platform is left as it is.
void chooseWindowSystem();

// Asks for a border without a title bar or handles (a window manager that
// sees handles draws the title bar too), and for moving and resizing only:
// no minimise, no maximise and no close.
void requestBorderWithoutTitle(QWindow* window);

// For a dialog of the program (the main windows are dialogs of the backdrop)
// with a title bar and neither minimise nor maximise: makes sure the window
// manager draws no button for them either. Most read that from the Motif
// hints that Qt sets from the window's flags. Openbox draws a minimise button
// for every window but a menu or a toolbar (and, beside it, a maximise button
// that does nothing), and a minimise there takes the black backdrop with it,
// which comes back at once: a button that does nothing. Under Openbox the
// window is therefore given the toolbar type, for which it draws only the
// close button; it is done there alone, because some other window managers
// (mutter, metacity, marco) take the whole title bar off a toolbar. Called
// each time the window is shown, before it is mapped; a window that has the
// type already is left as it is.
void requestNoMinimiseButton(QWidget* window);

// Has the window system fill the window with black wherever it shows,
// before and instead of any drawing of the program's, so that the program
// need not draw it or hand over an image of it. Whether it does; where it
// does not (on Wayland, also through XWayland), the program draws the window
// itself. Called before the window is first shown.
bool requestBlackBackground(QWindow* window);

// Asks that the window has no entry in taskbars, pagers and window switchers.
// Called before the window is first shown.
void requestNoTaskbarEntry(QWindow* window);

// Takes the window out of the focus protocol: with no input hint and no
// WM_TAKE_FOCUS the window manager never gives it the focus, not even on a
// click (some lower it from above the panels when the focus leaves it
// again). Called before the window is first shown.
void requestNoFocus(QWindow* window);

// Asks a compositing window manager to go on compositing the window while
// it covers the whole screen, rather than letting it draw to the screen
// itself: the windows in front of it then show.
void requestCompositing(QWindow* window);

// Asks the window managers that still read the older GNOME hints (IceWM,
// Fluxbox) to keep the window, and the windows that belong to it, above
// their taskbars and docks: they lift a full-screen window over them only
// while it has the focus itself. Called before the window is first shown.
void requestLayerAboveDocks(QWindow* window);

// Makes another program's window, one that has no owner of its own, belong
// to the owner, as a dialog belongs to its window: the window manager then
// keeps it in front of the owner and in the owner's layer, also while the
// owner covers the whole screen. A plain window is marked a dialog, since
// some window managers lift only dialogs into their owner's layer. Whether
// the window got the owner now.
bool requestOwner(NativeWindow window, NativeWindow owner);

// When a dock or panel lies above the full-screen window in the window
// manager's stacking order, asks it to decide the window's layer again (the
// window is put above the others and back). Some (Openbox) decide whether a
// full-screen window stays over the panels only when they take it in or when
// its state changes, and a black on a further screen was taken in while the
// focus may have been on a window of its own screen.
void reviewLayerBelowDock(NativeWindow window);

// Asks the window manager to bring the window, of whatever program, to the
// top of its layer, as a taskbar does; also one that never takes the focus,
// which some window managers would otherwise place below the active window.
void requestRaise(NativeWindow window);

// Asks the window manager to bring the window, of whatever program, to the
// front and give it the focus, as a taskbar does. The timestamp is the
// window system's time of the user's action that asks for it.
void requestActivation(NativeWindow window, quint64 timestamp);

// The windows the window manager manages, shown or minimised, of every program.
std::vector<NativeWindow> managedWindows();

// Whether the window manager manages the window, shown or minimised: it
// lists it among its windows.
bool isManaged(NativeWindow window);

// Whether the window is on the screen: mapped, not minimised.
bool isShown(NativeWindow window);

// Whether the window manager has minimised the window (ICCCM iconic state).
// A window closed, hidden or destroyed while on the screen is not minimised,
// even before the window manager has taken note.
bool isMinimised(NativeWindow window);

// The window that the window manager has made active, of whatever program.
NativeWindow activeWindow();

// What the window says of where it comes from: the startup ID on it or on
// its client leader, and its process, with the startup ID that process was
// started under, when it runs on this machine.
WindowOrigin windowOrigin(NativeWindow window);

// The parent of a process on this machine; 0 when there is none or it is unknown.
qint64 parentProcess(qint64 processId);

// The startup ID in the environment a process on this machine was started
// with; empty when none or unknown.
QByteArray processStartupId(qint64 processId);

// Startup notification: tells the desktop that a program is being started
// under the ID (which the program finds in DESKTOP_STARTUP_ID), so that the
// window manager knows its windows for the user's and gives them the focus;
// whether it could be told. endStartup() tells it that the start is over.
bool announceStartup(const QByteArray& startupId, const QString& name, const QString& program);
void endStartup(const QByteArray& startupId);

// Reports each window the window manager makes active, of whatever program,
// each change to the windows it manages, and each mouse press or first touch
// on one of the program's windows as the window system delivers it (also to a
// window that a modal dialog blocks).
class WindowManagerWatch final : public QObject {
    Q_OBJECT
public:
    explicit WindowManagerWatch(QObject* parent = nullptr);
    ~WindowManagerWatch() override;

    // Whether anything is reported: false where the programs do not run on X11.
    bool isWatching() const { return m_filter != nullptr; }

signals:
    void activated(app::NativeWindow window);
    void managedWindowsChanged();
    void pressed(app::NativeWindow window, quint64 timestamp);

private:
    struct Filter;
    std::unique_ptr<Filter> m_filter;
};

}  // namespace app
