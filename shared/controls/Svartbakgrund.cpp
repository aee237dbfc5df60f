#include "shared/controls/Svartbakgrund.h"

#include "shared/app/Twips.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QInputEvent>
#include <QPalette>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <utility>

namespace {

// Closed, hidden or destroyed while on the screen, though the window manager
// may not yet have taken note: neither on the screen nor minimised.
bool isClosed(app::NativeWindow window) {
    return !app::isShown(window) && !app::isMinimised(window);
}

}  // namespace

Svartbakgrund::Svartbakgrund() : Svartbakgrund(nullptr, nullptr) {}

Svartbakgrund::Svartbakgrund(Svartbakgrund* primary, QScreen* screen)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus),
      m_primary(primary ? primary : this) {
    // No title. Qt never hands the window system an empty one (it puts the
    // program's name there instead), so the title is a single blank.
    setWindowTitle(QStringLiteral(" "));
    QPalette black = palette();
    for (auto role : {QPalette::Window, QPalette::WindowText, QPalette::Base})
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            black.setColor(group, role, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::NoFocus);
    setEnabled(false);
    resize(app::twipsToPixels(4680), app::twipsToPixels(3195));
    if (screen) {
        cover(screen);
        show();
        app::requestRaise(internalWinId());
    }
}

Svartbakgrund::~Svartbakgrund() = default;

void Svartbakgrund::cover(QScreen* screen) {
    if (!screen) return;
    // Full screen rather than maximised: the window manager then lays it
    // over the panels and taskbars too, not only over the work area.
    setGeometry(screen->geometry());
    setWindowState(Qt::WindowFullScreen);
    // Nothing to pick in a taskbar or a window switcher: picking it would
    // only raise the black over an exercise.
    winId();
    app::requestNoTaskbarEntry(windowHandle());
    app::requestNoFocus(windowHandle());
    app::requestCompositing(windowHandle());
    app::requestLayerAboveDocks(windowHandle());
}

void Svartbakgrund::showBehind(QWidget* mainWindow) {
    m_mainWindow = mainWindow;
    cover(QGuiApplication::primaryScreen());
    winId();
    // Sees the program's windows as they are shown, and the presses on the black.
    qApp->installEventFilter(this);
    m_hidden = app::managedWindows();
    m_reviewLater.setSingleShot(true);
    m_reviewLater.setInterval(250);
    connect(&m_reviewLater, &QTimer::timeout, this, &Svartbakgrund::reviewOtherScreens);
    m_watch = std::make_unique<app::WindowManagerWatch>();
    connect(m_watch.get(), &app::WindowManagerWatch::activated, this,
            &Svartbakgrund::noteActivation);
    connect(m_watch.get(), &app::WindowManagerWatch::pressed, this, &Svartbakgrund::notePress);
    connect(m_watch.get(), &app::WindowManagerWatch::managedWindowsChanged, this,
            &Svartbakgrund::noteManagedWindows);
    show();
    for (QScreen* screen : QGuiApplication::screens())
        if (screen != QGuiApplication::primaryScreen()) addScreen(screen);
    connect(qApp, &QGuiApplication::screenAdded, this, &Svartbakgrund::addScreen);
    connect(qApp, &QGuiApplication::screenRemoved, this, &Svartbakgrund::removeScreen);
}

void Svartbakgrund::addScreen(QScreen* screen) {
    m_otherScreens.push_back(std::unique_ptr<Svartbakgrund>(new Svartbakgrund(this, screen)));
}

void Svartbakgrund::removeScreen(QScreen* screen) {
    std::erase_if(m_otherScreens, [screen](const std::unique_ptr<Svartbakgrund>& other) {
        return other->screen() == screen;
    });
}

bool Svartbakgrund::isBackdrop(const QObject* object) const {
    const auto matches = [object](const Svartbakgrund* backdrop) {
        return object == backdrop || object == backdrop->windowHandle();
    };
    return matches(this) || std::any_of(m_otherScreens.begin(), m_otherScreens.end(),
                                        [&matches](const std::unique_ptr<Svartbakgrund>& other) {
                                            return matches(other.get());
                                        });
}

bool Svartbakgrund::isOwnWindowShownBesides(app::NativeWindow window) const {
    const auto windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(), [this, window](QWidget* each) {
        return !isBackdrop(each) && each->internalWinId() != window &&
               app::isShown(each->internalWinId());
    });
}

bool Svartbakgrund::isProgramWindow(app::NativeWindow window) const {
    const auto windows = QApplication::topLevelWidgets();
    return window != 0 && std::any_of(windows.begin(), windows.end(), [window](QWidget* each) {
               return each->internalWinId() == window;
           });
}

void Svartbakgrund::noteActivation(app::NativeWindow window) {
    if (window == 0 || isBackdropWindow(window)) {
        // The focus went nowhere, or to the black that takes none, as it may
        // when the window in front (an exercise, a dialog) is closed: the
        // program's window in front takes it, so that the keys work again.
        // So too when a dialog in front was minimised and left the window it
        // blocks on the screen, which would take no click. A window
        // minimised alone comes back with a click on black.
        if (m_front == 0) return;
        const bool blockerMinimised =
            isProgramWindow(m_front) && !app::isShown(m_front) && isOwnWindowShownBesides(m_front);
        if ((isOtherProgram(m_front) && isClosed(m_front)) || blockerMinimised) {
            bringFrontBack(0);
        } else if (!isProgramWindow(m_front) && isClosed(m_front)) {
            // One of the program's dialogs has closed: the window manager
            // gives the focus to the window under it, but some leave it
            // nowhere. Only then does the window in front take it, so as not
            // to raise windows under a pointer that is already at work.
            QTimer::singleShot(250, this, [this] {
                const app::NativeWindow active = app::activeWindow();
                if (active == 0 || isBackdropWindow(active)) bringFrontBack(0);
            });
        }
        return;
    }
    reviewOtherScreens();
    if (isProgramWindow(window)) {
        m_front = window;
        m_handingOver = false;
        const app::NativeWindow back = std::exchange(m_focusBackTo, 0);
        if (back != 0 && !isClosed(back)) app::requestActivation(back, 0);
        return;
    }
    if (std::find(m_hidden.begin(), m_hidden.end(), window) != m_hidden.end()) {
        // The keys would go to a window that nobody should see, and that the
        // window manager may have raised over the black: the black goes over
        // it again, the window in front over the black.
        raise();
        for (const auto& other : m_otherScreens) other->raise();
        bringFrontBack(0);
        return;
    }
    // Another program's window that came after the backdrop: an exercise,
    // which belongs to the black as the program's own windows do.
    m_front = window;
    std::erase(m_otherPrograms, window);
    m_otherPrograms.push_back(window);
    if (window == m_focusBackTo && !m_handingOver) m_focusBackTo = 0;
    if (!app::requestOwner(window, internalWinId())) return;
    if (m_mainWindow) {
        // Window managers work out whether the black stays over the panels
        // when the focus moves, and the window got the focus before it
        // belonged to the black: the focus goes to the main window, and
        // back to this one once the window manager reports it there. The
        // program's windows take no keys meanwhile.
        focusBackLater(window, true);
        app::requestActivation(m_mainWindow->internalWinId(), 0);
        return;
    }
    // Some window managers restack a window that gets an owner as a sibling
    // of the owner's other windows, below them: in front again.
    app::requestActivation(window, 0);
}

void Svartbakgrund::reviewOtherScreens() {
    // The focus, or the window that has it, has moved between screens: a
    // window manager that decided a further black's layer while the focus
    // lay on that black's screen decides it again.
    for (const auto& other : m_otherScreens) app::reviewLayerBelowDock(other->internalWinId());
}

void Svartbakgrund::focusBackLater(app::NativeWindow window, bool handingOver) {
    m_focusBackTo = window;
    m_handingOver = handingOver;
    // A window manager that does not move the focus as asked leaves nothing
    // waiting for long.
    QTimer::singleShot(1000, this, [this, window] {
        if (m_focusBackTo != window) return;
        m_focusBackTo = 0;
        m_handingOver = false;
    });
}

void Svartbakgrund::noteManagedWindows() {
    // Another program's window in front (an exercise) has closed, and the
    // window manager, which may leave it named as the active window, gives
    // the focus to no window of the program: the window in front takes it.
    if (m_front == 0 || !isOtherProgram(m_front) || app::isManaged(m_front)) return;
    m_front = 0;
    bringFrontBack(0);
}

void Svartbakgrund::notePress(app::NativeWindow window, quint64 timestamp) {
    if (isBackdropWindow(window)) bringFrontBack(timestamp);
}

bool Svartbakgrund::isOtherProgram(app::NativeWindow window) const {
    return std::find(m_otherPrograms.begin(), m_otherPrograms.end(), window) !=
           m_otherPrograms.end();
}

bool Svartbakgrund::isBackdropWindow(app::NativeWindow window) const {
    if (window == internalWinId()) return true;
    return std::any_of(m_otherScreens.begin(), m_otherScreens.end(),
                       [window](const std::unique_ptr<Svartbakgrund>& other) {
                           return other->internalWinId() == window;
                       });
}

QWidget* Svartbakgrund::raiseProgramWindows() {
    QList<QWidget*> windows;
    QList<QWidget*> dialogs;
    QWidget* front = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (isBackdrop(window) || window == m_mainWindow || !window->isVisible()) continue;
        if (window->internalWinId() != 0 && window->internalWinId() == m_front) front = window;
        if (window->windowType() == Qt::Window)
            windows << window;
        else
            dialogs << window;
    }
    // The main window in front of any other plain window, whatever order
    // the application lists them in.
    if (m_mainWindow && m_mainWindow->isVisible()) {
        windows << m_mainWindow.data();
        if (m_mainWindow->internalWinId() != 0 && m_mainWindow->internalWinId() == m_front)
            front = m_mainWindow;
    }
    QList<QWidget*> inOrder = windows + dialogs;
    if (front) inOrder.move(inOrder.indexOf(front), inOrder.size() - 1);
    for (QWidget* window : inOrder) {
        if (window->isMinimized()) window->showNormal();
        window->raise();
    }
    return inOrder.isEmpty() ? nullptr : inOrder.constLast();
}

void Svartbakgrund::bringFrontBack(quint64 timestamp) {
    reviewOtherScreens();
    QWidget* ownFront = raiseProgramWindows();
    // Another program's window that was in front (an exercise) goes in front
    // again, with the focus; so does one that was minimised meanwhile, which
    // no taskbar could bring back from behind the backdrop.
    std::erase_if(m_otherPrograms, [](app::NativeWindow other) { return !app::isManaged(other); });
    // Other minimised windows come back only on a click on black; the
    // window in front also when it was minimised together with the black.
    const bool afterClick = timestamp != 0;
    app::NativeWindow otherFront = 0;
    for (app::NativeWindow other : m_otherPrograms) {
        const bool wanted = other == m_front ? app::isShown(other) || app::isMinimised(other)
                                             : afterClick && app::isMinimised(other);
        if (wanted) otherFront = other;
    }
    if (otherFront != 0) {
        // In front from now on, also for a press reported again before the
        // window manager reports the window active. Some window managers
        // that bring a minimised window back give the focus to its owner's
        // family: it comes back from there.
        m_front = otherFront;
        focusBackLater(otherFront, false);
        app::requestActivation(otherFront, timestamp);
        return;
    }
    // The keys go to the window in front, not to one the backdrop now hides.
    if (!ownFront) return;
    ownFront->activateWindow();
    app::requestActivation(ownFront->internalWinId(), timestamp);
}

bool Svartbakgrund::eventFilter(QObject* watched, QEvent* event) {
    if (this != m_primary) return QWidget::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::Show: {
            // Every window of the program (all are dialogs to the window
            // manager) belongs to the backdrop, so that the window manager
            // keeps it in front of the backdrop. Those with an owner of their
            // own already lie in front of that owner.
            auto* widget = qobject_cast<QWidget*>(watched);
            if (!widget || !widget->isWindow() || isBackdrop(widget)) break;
            if (widget->windowType() != Qt::Dialog) break;
            QWindow* window = widget->windowHandle();
            if (window && !window->transientParent()) window->setTransientParent(windowHandle());
            // The window manager would leave the focus where it was, with a
            // window that the backdrop may hide.
            if (widget == m_mainWindow) widget->activateWindow();
            break;
        }
        case QEvent::Move: {
            // Once a window of the program has come to rest, possibly on
            // another screen.
            const auto* widget = qobject_cast<QWidget*>(watched);
            if (widget && widget->isWindow() && !isBackdrop(widget) && !m_otherScreens.empty())
                m_reviewLater.start();
            break;
        }
        case QEvent::KeyPress:
            // The focus passes through the main window on its way back to
            // another program's window: a key meant for that one presses no
            // card here.
            if (m_handingOver) return true;
            break;
        case QEvent::MouseButtonPress:
        case QEvent::TouchBegin:
            // The window system's own report comes first where there is one,
            // also while a modal message box blocks the backdrop.
            if (!m_watch->isWatching() && isBackdrop(watched) && watched->isWindowType())
                bringFrontBack(static_cast<QInputEvent*>(event)->timestamp());
            break;
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

void Svartbakgrund::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // Minimised with the program's windows (some window managers take the
    // whole family when one of them is minimised): back on the screen at
    // once, and the window that was in front, in front again, though the
    // window manager may give the focus to another on the way.
    if (event->type() != QEvent::WindowStateChange || !isMinimized()) return;
    const app::NativeWindow front = m_primary->m_front;
    QMetaObject::invokeMethod(
        this,
        [this, front] {
            showFullScreen();
            if (m_primary != this || front == 0 || isClosed(front)) return;
            m_front = front;
            bringFrontBack(0);
        },
        Qt::QueuedConnection);
}
