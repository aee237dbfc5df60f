#include "shared/controls/Svartbakgrund.h"

#include "shared/app/Twips.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QGuiApplication>
#include <QInputEvent>
#include <QLoggingCategory>
#include <QPalette>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <algorithm>

// What the window manager reports and what the backdrop asks of it, for
// QT_LOGGING_RULES="kelvu.windows.debug=true".
Q_LOGGING_CATEGORY(windowsLog, "kelvu.windows", QtWarningMsg)

// What the window policy asks of the window system, carried out with the
// program's widgets and the window manager's protocols.
class Svartbakgrund::Windows final : public app::WindowSystem {
public:
    Windows(Svartbakgrund& backdrop, QWidget* mainWindow)
        : m_backdrop(backdrop), m_mainWindow(mainWindow) {
        m_clock.start();
    }

    qint64 now() const override { return m_clock.elapsed(); }
    void later(int milliseconds, std::function<void()> step) override {
        QTimer::singleShot(milliseconds, &m_backdrop, std::move(step));
    }
    bool isBackdrop(app::NativeWindow window) const override {
        const std::vector<Svartbakgrund*> all = blacks();
        return window != 0 &&
               std::any_of(all.begin(), all.end(), [window](const Svartbakgrund* black) {
                   return black->internalWinId() == window;
               });
    }
    bool isOwnWindow(app::NativeWindow window) const override { return ownWidget(window); }
    app::NativeWindow mainWindow() const override {
        return m_mainWindow ? m_mainWindow->internalWinId() : 0;
    }
    bool isOwnWindowShownBesides(app::NativeWindow window) const override {
        const auto windows = QApplication::topLevelWidgets();
        return std::any_of(windows.begin(), windows.end(), [this, window](QWidget* each) {
            return !m_backdrop.isBackdrop(each) && each->internalWinId() != window &&
                   app::isShown(each->internalWinId());
        });
    }
    bool isShown(app::NativeWindow window) const override { return app::isShown(window); }
    bool isMinimised(app::NativeWindow window) const override { return app::isMinimised(window); }
    std::vector<app::NativeWindow> managedWindows() const override { return app::managedWindows(); }
    app::NativeWindow activeWindow() const override { return app::activeWindow(); }
    app::WindowOrigin origin(app::NativeWindow window) const override {
        return app::windowOrigin(window);
    }
    qint64 parentProcess(qint64 processId) const override { return app::parentProcess(processId); }

    void raiseBackdrops() override {
        qCDebug(windowsLog) << "raise the blacks";
        for (Svartbakgrund* black : blacks()) black->raise();
    }
    app::NativeWindow raiseOwnWindows(app::NativeWindow front) override;
    void keepOwnWindowInFront(app::NativeWindow window) override {
        // Those with an owner of their own already lie in front of that owner.
        QWidget* widget = ownWidget(window);
        if (!widget || widget->windowType() != Qt::Dialog) return;
        QWindow* handle = widget->windowHandle();
        if (handle && !handle->transientParent())
            handle->setTransientParent(m_backdrop.windowHandle());
    }
    void focusOwnWindow(app::NativeWindow window) override {
        qCDebug(windowsLog) << "focus own" << Qt::hex << window;
        if (QWidget* widget = ownWidget(window)) widget->activateWindow();
    }
    void activate(app::NativeWindow window, quint64 time) override {
        qCDebug(windowsLog) << "activate" << Qt::hex << window << Qt::dec << time;
        app::requestActivation(window, time);
    }
    bool makeBelongToBackdrop(app::NativeWindow window) override {
        qCDebug(windowsLog) << "belong to the black" << Qt::hex << window;
        return app::requestOwner(window, m_backdrop.internalWinId());
    }
    void reviewFurtherScreens() override {
        for (const auto& other : m_backdrop.m_otherScreens)
            app::reviewLayerBelowDock(other->internalWinId());
    }
    void endStartup(const QByteArray& startupId) override { app::endStartup(startupId); }

private:
    std::vector<Svartbakgrund*> blacks() const {
        std::vector<Svartbakgrund*> all{&m_backdrop};
        for (const auto& other : m_backdrop.m_otherScreens) all.push_back(other.get());
        return all;
    }
    QWidget* ownWidget(app::NativeWindow window) const {
        if (window == 0) return nullptr;
        for (QWidget* each : QApplication::topLevelWidgets())
            if (each->internalWinId() == window && !m_backdrop.isBackdrop(each)) return each;
        return nullptr;
    }

    Svartbakgrund& m_backdrop;
    QPointer<QWidget> m_mainWindow;
    QElapsedTimer m_clock;
};

// Other windows first, then the main window, then the dialogs and message
// boxes over it; the one that was last active goes in front.
app::NativeWindow Svartbakgrund::Windows::raiseOwnWindows(app::NativeWindow frontWindow) {
    QList<QWidget*> windows;
    QList<QWidget*> dialogs;
    QWidget* front = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (m_backdrop.isBackdrop(window) || window == m_mainWindow || !window->isVisible())
            continue;
        if (window->internalWinId() != 0 && window->internalWinId() == frontWindow) front = window;
        if (window->windowType() == Qt::Window)
            windows << window;
        else
            dialogs << window;
    }
    // The main window in front of any other plain window, whatever order
    // the application lists them in.
    if (m_mainWindow && m_mainWindow->isVisible()) {
        windows << m_mainWindow.data();
        if (m_mainWindow->internalWinId() != 0 && m_mainWindow->internalWinId() == frontWindow)
            front = m_mainWindow;
    }
    QList<QWidget*> inOrder = windows + dialogs;
    if (front) inOrder.move(inOrder.indexOf(front), inOrder.size() - 1);
    for (QWidget* window : inOrder) {
        if (window->isMinimized()) window->showNormal();
        window->raise();
    }
    return inOrder.isEmpty() ? 0 : inOrder.constLast()->internalWinId();
}

Svartbakgrund::Svartbakgrund() : Svartbakgrund(nullptr) {}

Svartbakgrund::Svartbakgrund(QScreen* screen)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus) {
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

Svartbakgrund::~Svartbakgrund() {
    // Nothing more reaches the policy while the blacks go.
    if (m_policy) qApp->removeEventFilter(this);
    m_watch.reset();
    m_policy.reset();
}

void Svartbakgrund::cover(QScreen* screen) {
    if (!screen) return;
    // Full screen rather than maximised: the window manager then lays it
    // over the panels and taskbars too, not only over the work area.
    setGeometry(screen->geometry());
    setWindowState(Qt::WindowFullScreen);
    // Nothing to pick in a taskbar or a window switcher: picking it would
    // only raise the black over an exercise.
    winId();
    if (!m_blackFromWindowSystem && app::requestBlackBackground(windowHandle())) {
        // No image of the whole screen to fill, hand over and keep: the
        // window system clears the window to black itself, and the program
        // draws nothing there.
        m_blackFromWindowSystem = true;
        setAutoFillBackground(false);
        setAttribute(Qt::WA_NoSystemBackground);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_PaintOnScreen);
    }
    app::requestNoTaskbarEntry(windowHandle());
    app::requestNoFocus(windowHandle());
    app::requestCompositing(windowHandle());
    app::requestLayerAboveDocks(windowHandle());
}

QPaintEngine* Svartbakgrund::paintEngine() const {
    // Painted on the screen, that is by the window system alone.
    return m_blackFromWindowSystem ? nullptr : QWidget::paintEngine();
}

void Svartbakgrund::showBehind(QWidget* mainWindow) {
    cover(QGuiApplication::primaryScreen());
    winId();
    m_windows = std::make_unique<Windows>(*this, mainWindow);
    m_policy = std::make_unique<app::WindowPolicy>(*m_windows);
    // Sees the program's windows as they are shown, and the presses on the black.
    qApp->installEventFilter(this);
    m_policy->start();
    m_watch = std::make_unique<app::WindowManagerWatch>();
    app::WindowPolicy* policy = m_policy.get();
    connect(m_watch.get(), &app::WindowManagerWatch::activated, this,
            [policy](app::NativeWindow window) {
                qCDebug(windowsLog) << "active" << Qt::hex << window;
                policy->activated(window);
            });
    connect(m_watch.get(), &app::WindowManagerWatch::pressed, this,
            [this](app::NativeWindow window, quint64 time) {
                if (!m_windows->isBackdrop(window)) return;
                qCDebug(windowsLog) << "press on black" << time;
                m_policy->pressedOnBlack(time);
            });
    connect(m_watch.get(), &app::WindowManagerWatch::managedWindowsChanged, this, [policy] {
        qCDebug(windowsLog) << "managed windows changed";
        policy->managedWindowsChanged();
    });
    show();
    for (QScreen* screen : QGuiApplication::screens())
        if (screen != QGuiApplication::primaryScreen()) addScreen(screen);
    connect(qApp, &QGuiApplication::screenAdded, this, &Svartbakgrund::addScreen);
    connect(qApp, &QGuiApplication::screenRemoved, this, &Svartbakgrund::removeScreen);
}

void Svartbakgrund::addScreen(QScreen* screen) {
    m_otherScreens.push_back(std::unique_ptr<Svartbakgrund>(new Svartbakgrund(screen)));
}

void Svartbakgrund::noteLaunch(const app::Launch& launch) {
    if (!m_policy) return;
    qCDebug(windowsLog) << "launched" << launch.processId << launch.startupId;
    m_policy->launched(launch);
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

bool Svartbakgrund::eventFilter(QObject* watched, QEvent* event) {
    if (!m_policy) return QWidget::eventFilter(watched, event);
    const auto ownWindow = [this, watched]() -> QWidget* {
        auto* widget = qobject_cast<QWidget*>(watched);
        return widget && widget->isWindow() && !isBackdrop(widget) ? widget : nullptr;
    };
    switch (event->type()) {
        case QEvent::Show:
            // Before the window is mapped: the window manager reads its type
            // when it takes the window in.
            if (QWidget* widget = ownWindow()) {
                app::requestNoMinimiseButton(widget);
                m_policy->ownWindowShown(widget->internalWinId());
            }
            break;
        case QEvent::Move:
            if (!m_otherScreens.empty() && ownWindow()) m_policy->ownWindowMoved();
            break;
        case QEvent::KeyPress:
            if (m_policy->holdsKeys()) return true;
            break;
        case QEvent::MouseButtonPress:
        case QEvent::TouchBegin:
            // The window system's own report comes first where there is one,
            // also while a modal message box blocks the backdrop.
            if (!m_watch->isWatching() && isBackdrop(watched) && watched->isWindowType())
                m_policy->pressedOnBlack(static_cast<QInputEvent*>(event)->timestamp());
            break;
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

bool Svartbakgrund::event(QEvent* event) {
    // A window made anew has no background yet.
    if (event->type() == QEvent::WinIdChange && m_blackFromWindowSystem && internalWinId() != 0)
        app::requestBlackBackground(windowHandle());
    return QWidget::event(event);
}

void Svartbakgrund::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // Minimised (some window managers take the whole family when one of the
    // program's windows is minimised): back on the screen at once.
    if (event->type() != QEvent::WindowStateChange || !isMinimized()) return;
    QMetaObject::invokeMethod(
        this, [this] { showFullScreen(); }, Qt::QueuedConnection);
    if (m_policy) m_policy->backdropMinimised();
}
