#pragma once

#include <QColor>
#include <QFrame>

// The 3-D panel: a raised frame with a background colour of its own that
// holds other controls, typically an option group.
class SSPanel final : public QFrame {
    Q_OBJECT
public:
    explicit SSPanel(QWidget* parent = nullptr);

    void setBackColor(const QColor& colour);
};
