#include "SSOption.h"

SSOption::SSOption(const QString& caption, QWidget* parent) : QRadioButton(caption, parent) {
    // The group, not the parent widget, keeps the options exclusive.
    setAutoExclusive(false);
}
