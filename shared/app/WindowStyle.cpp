#include "shared/app/WindowStyle.h"

#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QStyle>
#include <QWidget>

namespace app {

QFont makeFont(const QString& family, qreal points, QFont::Weight weight) {
    QFont font(family);
    font.setPointSizeF(points);
    font.setWeight(weight);
    return font;
}

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
