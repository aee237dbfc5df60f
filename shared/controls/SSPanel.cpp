#include "shared/controls/SSPanel.h"

#include "shared/app/WindowStyle.h"
#include "shared/controls/AccessibleControls.h"

SSPanel::SSPanel(QWidget* parent) : QFrame(parent) {
    controls::installAccessibleControls();
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(2);
    setAutoFillBackground(true);
}

void SSPanel::setBackColor(const QColor& colour) {
    app::setBackColour(this, colour);
}
