#include "shared/controls/AccessibleWindow.h"

#include <QWidget>

namespace controls {

AccessibleWindow::AccessibleWindow(QWidget* window)
    : QAccessibleWidget(window, QAccessible::Window) {}

QList<QWidget*> AccessibleWindow::shownChildren() const {
    QList<QWidget*> shown;
    for (QWidget* child : widget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!child->isWindow() && !child->isHidden()) shown << child;
    return shown;
}

int AccessibleWindow::childCount() const {
    return static_cast<int>(shownChildren().size());
}

QAccessibleInterface* AccessibleWindow::child(int index) const {
    const QList<QWidget*> shown = shownChildren();
    if (index < 0 || index >= shown.size()) return nullptr;
    return QAccessible::queryAccessibleInterface(shown.at(index));
}

int AccessibleWindow::indexOfChild(const QAccessibleInterface* child) const {
    if (!child || !child->object() || !child->object()->isWidgetType()) return -1;
    return static_cast<int>(shownChildren().indexOf(static_cast<QWidget*>(child->object())));
}

}  // namespace controls
