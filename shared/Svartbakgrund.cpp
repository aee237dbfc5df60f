#include "Svartbakgrund.h"

#include "Twips.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QWindow>

Svartbakgrund::Svartbakgrund()
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
    resize(shared::twipsToPixels(4680), shared::twipsToPixels(3195));
}

void Svartbakgrund::showBehind(QWidget* mainWindow) {
    m_mainWindow = mainWindow;
    // Some window managers do not honour "maximized" for a frameless window,
    // so the geometry is the screen's as well.
    if (QScreen* screen = QGuiApplication::primaryScreen()) setGeometry(screen->geometry());
    setWindowState(Qt::WindowMaximized);
    // The window, not the disabled widget, still hears the presses on it.
    winId();
    windowHandle()->installEventFilter(this);
    show();
}

void Svartbakgrund::keepProgramWindowsInFront() {
    const auto showing = [](const QWidget* window) {
        return window && window->isVisible() && !window->isMinimized();
    };
    QList<QWidget*> windows;
    QList<QWidget*> dialogs;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window == this || window == m_mainWindow || !showing(window)) continue;
        if (window->windowType() == Qt::Window)
            windows << window;
        else
            dialogs << window;
    }
    // The main window in front of any other plain window, whatever order
    // the application lists them in.
    if (showing(m_mainWindow)) windows << m_mainWindow.data();
    const QList<QWidget*> inOrder = windows + dialogs;
    for (QWidget* window : inOrder) window->raise();
    // The keys go to the window in front, not to one the backdrop now hides.
    if (!inOrder.isEmpty()) inOrder.constLast()->activateWindow();
}

bool Svartbakgrund::eventFilter(QObject* watched, QEvent* event) {
    if (watched == windowHandle() &&
        (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::TouchBegin))
        keepProgramWindowsInFront();
    return QWidget::eventFilter(watched, event);
}
