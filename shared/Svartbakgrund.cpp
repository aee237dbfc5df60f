#include "Svartbakgrund.h"

#include "Twips.h"

#include <QGuiApplication>
#include <QPalette>
#include <QScreen>

Svartbakgrund::Svartbakgrund()
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus |
                           Qt::WindowStaysOnBottomHint) {
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

void Svartbakgrund::showBehind() {
    // Some window managers do not honour "maximized" for a frameless window,
    // so the geometry is the screen's as well.
    if (QScreen* screen = QGuiApplication::primaryScreen()) setGeometry(screen->geometry());
    setWindowState(Qt::WindowMaximized);
    show();
}
