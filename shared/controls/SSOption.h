#pragma once

#include <QRadioButton>

// A 3-D option button; it belongs to one SSOptionGroup, which keeps the
// options of a group exclusive.
class SSOption final : public QRadioButton {
    Q_OBJECT
public:
    explicit SSOption(const QString& caption, QWidget* parent = nullptr);
};
