#include "shared/controls/SSOption.h"

#include "shared/controls/AccessibleControls.h"

SSOption::SSOption(const QString& caption, QWidget* parent) : QRadioButton(caption, parent) {
    controls::installAccessibleControls();
    // The group, not the parent widget, keeps the options exclusive.
    setAutoExclusive(false);
}
