#include "shared/app/WindowStyle.h"

#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QStyle>
#include <QWidget>

namespace app {

void setBackColour(QWidget* widget, const QColor& colour) {
    QPalette colours = widget->palette();
    colours.setColor(QPalette::Window, colour);
    widget->setPalette(colours);
    widget->setAutoFillBackground(true);
}

void centreOnScreen(QWidget* window) {
    if (QScreen* screen = QGuiApplication::primaryScreen())
        window->setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window->size(),
                                                screen->availableGeometry()));
}

}  // namespace app
