#pragma once

#include <QAccessibleWidget>

namespace controls {

// What assistive technology (a screen reader) is told about an option
// button: a radio button named by its caption, checked or not, that can be
// pressed. Qt's own button interface would call it a check box, because its
// group, not Qt, keeps the options exclusive.
class SSOptionAccessible final : public QAccessibleWidget {
public:
    explicit SSOptionAccessible(QWidget* option);

    QString text(QAccessible::Text kind) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
};

}  // namespace controls
