#include "shared/controls/SSCommand.h"

#include "shared/controls/AccessibleControls.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace {
// Space between the bevel and a picture on the face, in pixels.
constexpr int PictureMargin = 6;
}  // namespace

SSCommand::SSCommand(QWidget* parent) : QPushButton(parent) {
    controls::installAccessibleControls();
}

SSCommand::SSCommand(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {
    controls::installAccessibleControls();
}

void SSCommand::setPicture(const QPixmap& picture) {
    m_picture = picture;
    update();
}

void SSCommand::setFocusFrame(bool shown) {
    if (m_focusFrame == shown) return;
    m_focusFrame = shown;
    update();
}

void SSCommand::paintFocusFrame() {
    if (!m_focusFrame) return;
    // Black stands out both on the light face and on the light yellow
    // window around it.
    QPainter painter(this);
    const QRect r = rect();
    const int w = FocusFrameWidth;
    painter.fillRect(QRect(r.left(), r.top(), r.width(), w), Qt::black);
    painter.fillRect(QRect(r.left(), r.bottom() - w + 1, r.width(), w), Qt::black);
    painter.fillRect(QRect(r.left(), r.top(), w, r.height()), Qt::black);
    painter.fillRect(QRect(r.right() - w + 1, r.top(), w, r.height()), Qt::black);
}

void SSCommand::paintEvent(QPaintEvent* event) {
    if (hasPicture())
        paintPicture();
    else
        QPushButton::paintEvent(event);
    paintFocusFrame();
}

void SSCommand::paintPicture() {
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
