#pragma once

#include "shared/app/PlatformWindows.h"
#include "shared/app/WindowPolicy.h"

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
// Which windows lie in front of it, and which has the focus, is the window
// policy's to say (app::WindowPolicy): the backdrop tells it what the window
// manager reports and what the program's windows do, and carries out what it
// asks through the window manager's protocols.
class Svartbakgrund final : public QWidget {
    Q_OBJECT
public:
    Svartbakgrund();
    ~Svartbakgrund() override;

    // Shows it, not modal and without an owner, covering every screen,
    // behind the program's main window (shown after it).
    void showBehind(QWidget* mainWindow);

    // An exercise program has been started: its windows may come in front.
    void noteLaunch(const app::Launch& launch);

    QPaintEngine* paintEngine() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    class Windows;

    // A black window for a further screen.
    explicit Svartbakgrund(QScreen* screen);

    void cover(QScreen* screen);
    void addScreen(QScreen* screen);
    void removeScreen(QScreen* screen);
    bool isBackdrop(const QObject* object) const;

    std::vector<std::unique_ptr<Svartbakgrund>> m_otherScreens;
    // The window system fills the window with black: the program draws nothing.
    bool m_blackFromWindowSystem = false;
    // The primary backdrop's alone.
    std::unique_ptr<Windows> m_windows;
    std::unique_ptr<app::WindowPolicy> m_policy;
    std::unique_ptr<app::WindowManagerWatch> m_watch;
};
