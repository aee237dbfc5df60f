#include "ovning/WrappingLabel.h"

#include <QPainter>
#include <QTextLayout>

#include <cmath>

namespace ovning {

namespace {

// Space kept free around the text, so that no stroke of a letter touches
// the edge.
constexpr int Inset = 4;

}  // namespace

WrappingLabel::WrappingLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setContentsMargins(Inset, Inset, Inset, Inset);
}

qreal WrappingLabel::layOut(QTextLayout& layout, qreal width) const {
    QTextOption option(alignment() & Qt::AlignHorizontal_Mask);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setText(text());
    layout.setFont(font());
    layout.setTextOption(option);
    qreal height = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        line.setLeadingIncluded(true);
        line.setPosition(QPointF(0, height));
        height += line.height();
    }
    layout.endLayout();
    return height;
}

bool WrappingLabel::hasHeightForWidth() const {
    return true;
}

int WrappingLabel::heightForWidth(int width) const {
    const QMargins margins = contentsMargins();
    QTextLayout layout;
    const qreal text = layOut(layout, width - margins.left() - margins.right());
    return static_cast<int>(std::ceil(text)) + margins.top() + margins.bottom();
}

QSize WrappingLabel::sizeHint() const {
    return {width(), heightForWidth(width())};
}

// However long a word, the label can be narrow: the word is broken.
QSize WrappingLabel::minimumSizeHint() const {
    const QMargins margins = contentsMargins();
    return {fontMetrics().maxWidth() + margins.left() + margins.right(),
            fontMetrics().lineSpacing() + margins.top() + margins.bottom()};
}

void WrappingLabel::paintEvent(QPaintEvent* /*event*/) {
    const QRect area = contentsRect();
    QTextLayout layout;
    const qreal height = layOut(layout, area.width());
    qreal top = area.top();
    if (alignment() & Qt::AlignVCenter)
        top += (area.height() - height) / 2;
    else if (alignment() & Qt::AlignBottom)
        top += area.height() - height;
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    layout.draw(&painter, QPointF(area.left(), top));
}

}  // namespace ovning
