#include "shared/controls/AccessibleControls.h"

#include "shared/controls/AccessibleWindow.h"
#include "shared/controls/SSOptionAccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

namespace controls {

namespace {

QAccessibleInterface* controlInterface(const QString& className, QObject* object) {
    if (!object || !object->isWidgetType()) return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (className == QLatin1String("SSOption")) return new SSOptionAccessible(widget);
    // A panel is heard as a group, named by the heading above it.
    if (className == QLatin1String("SSPanel"))
        return new QAccessibleWidget(widget, QAccessible::Grouping);
    // A plain widget that is a window of its own (each program's windows and
    // dialogs) is heard as a window, named by its caption.
    if (className == QLatin1String("QWidget") && widget->isWindow())
        return new AccessibleWindow(widget);
    return nullptr;
}

}  // namespace

void installAccessibleControls() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    QAccessible::installFactory(controlInterface);
}

}  // namespace controls
