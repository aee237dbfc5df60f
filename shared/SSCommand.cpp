#include "SSCommand.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace {
// Space between the bevel and a picture on the face, in pixels.
constexpr int PictureMargin = 6;
}  // namespace

SSCommand::SSCommand(QWidget* parent) : QPushButton(parent) {}

SSCommand::SSCommand(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {}

void SSCommand::setPicture(const QPixmap& picture) {
    m_picture = picture;
    update();
}

void SSCommand::paintEvent(QPaintEvent* event) {
    if (!hasPicture()) {
        QPushButton::paintEvent(event);
        return;
    }
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    option.icon = QIcon();
    painter.drawControl(QStyle::CE_PushButtonBevel, option);

    QRect face = rect().adjusted(PictureMargin, PictureMargin, -PictureMargin, -PictureMargin);
    if (isDown()) face.translate(1, 1);
    const QSize fitted = m_picture.size().scaled(face.size(), Qt::KeepAspectRatio);
    QRect target(QPoint(0, 0), fitted);
    target.moveCenter(face.center());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(target, m_picture);
}

QSize SSCommand::pictureSpace() const {
    const QSize face = size() - QSize(2 * PictureMargin, 2 * PictureMargin);
    return (QSizeF(face) * devicePixelRatioF()).toSize();
}
