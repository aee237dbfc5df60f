#pragma once

#include <QLabel>

class QTextLayout;

namespace ovning {

// A label that shows the whole of a plain text: wrapped between words, and
// inside a word too long for one line (a long folder path), so that nothing
// is ever cut off at a side. A window asks heightForWidth() how tall it must
// be to show all of it.
class WrappingLabel final : public QLabel {
    Q_OBJECT
public:
    explicit WrappingLabel(const QString& text, QWidget* parent = nullptr);

    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Breaks the text into lines of the given width; returns their height.
    qreal layOut(QTextLayout& layout, qreal width) const;
};

}  // namespace ovning
