#pragma once

#include "shared/app/PlatformWindows.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <vector>

class QScreen;

// The black backdrop: a frameless, full-screen window with no controls,
// shown before the program's own windows so that it covers whatever was open,
// panels and taskbars included. Every further screen gets a black window of
// its own. It takes no mouse or keyboard input and never the focus; window
// managers keep a full-screen window over the panels only while it or a
// window that belongs to it has the focus, or, for those that read the older
// GNOME hints, while it asks for the layer above the docks.
//
// The program's windows are kept in front of it: the window manager is told
// that they belong to it (transient for it), so that it never stacks the
// backdrop over them. A program the runner starts comes in front of it as
// any new window does, and is then made to belong to it too, as a dialog
// of it; once it closes, the program's window in front takes the focus
// again. A press on the black area may still make the window
// manager raise the backdrop; it then brings back what was in front before:
// the program's windows that were minimised, and the window that was active,
// be it the program's own or another program's that came after the backdrop
// (an exercise). The windows that were open before stay hidden: when the
// window manager gives one of them the focus, the window in front gets it
// back. The backdrop itself never stays minimised.
class Svartbakgrund final : public QWidget {
    Q_OBJECT
public:
    Svartbakgrund();
    ~Svartbakgrund() override;

    // Shows it, not modal and without an owner, covering every screen,
    // behind the program's main window (shown after it).
    void showBehind(QWidget* mainWindow);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // A black window for a further screen, under the backdrop of the primary one.
    Svartbakgrund(Svartbakgrund* primary, QScreen* screen);

    void cover(QScreen* screen);
    void addScreen(QScreen* screen);
    void removeScreen(QScreen* screen);
    bool isBackdrop(const QObject* object) const;
    bool isProgramWindow(app::NativeWindow window) const;
    bool isOwnWindowShownBesides(app::NativeWindow window) const;
    bool isBackdropWindow(app::NativeWindow window) const;
    // One that came after the backdrop and was active in front of it.
    bool isOtherProgram(app::NativeWindow window) const;
    void noteActivation(app::NativeWindow window);
    void notePress(app::NativeWindow window, quint64 timestamp);
    void noteManagedWindows();
    void focusBackLater(app::NativeWindow window, bool handingOver);
    void reviewOtherScreens();
    void bringFrontBack(quint64 timestamp);
    // Brings the program's minimised windows back and raises every other
    // visible window of the program: other windows first, then the main
    // window, then the dialogs and message boxes over it; the one that was
    // last active goes in front and is returned.
    QWidget* raiseProgramWindows();

    Svartbakgrund* m_primary;
    QPointer<QWidget> m_mainWindow;
    std::vector<std::unique_ptr<Svartbakgrund>> m_otherScreens;
    // Runs the review of the further screens' blacks once a window of the
    // program has stopped moving.
    QTimer m_reviewLater;
    std::unique_ptr<app::WindowManagerWatch> m_watch;
    // Other programs' windows that were open when the backdrop came: it hides them.
    std::vector<app::NativeWindow> m_hidden;
    // The window that was last active in front of the backdrop, of whatever program.
    app::NativeWindow m_front = 0;
    // Another program's window that gets the focus back if the window
    // manager reports it on one of the program's windows first; and whether
    // the focus is on its way through the main window, when the program's
    // windows take no keys.
    app::NativeWindow m_focusBackTo = 0;
    bool m_handingOver = false;
    // Other programs' windows that have been active in front of the backdrop.
    std::vector<app::NativeWindow> m_otherPrograms;
};
