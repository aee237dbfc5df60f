#include "shared/controls/SSOptionAccessible.h"

#include <QAbstractButton>

namespace controls {

SSOptionAccessible::SSOptionAccessible(QWidget* option)
    : QAccessibleWidget(option, QAccessible::RadioButton) {}

QString SSOptionAccessible::text(QAccessible::Text kind) const {
    auto* option = static_cast<QAbstractButton*>(widget());
    if (kind == QAccessible::Name && option->accessibleName().isEmpty())
        return QString(option->text()).remove(u'&');
    return QAccessibleWidget::text(kind);
}

QAccessible::State SSOptionAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    auto* option = static_cast<QAbstractButton*>(widget());
    state.checkable = true;
    state.checked = option->isChecked();
    return state;
}

QStringList SSOptionAccessible::actionNames() const {
    QStringList names;
    if (widget()->isEnabled()) names << pressAction();
    return names + QAccessibleWidget::actionNames();
}

void SSOptionAccessible::doAction(const QString& actionName) {
    if (actionName == pressAction() && widget()->isEnabled()) {
        static_cast<QAbstractButton*>(widget())->click();
        return;
    }
    QAccessibleWidget::doAction(actionName);
}

}  // namespace controls
