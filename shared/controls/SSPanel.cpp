#include "SSPanel.h"

#include "AccessibleControls.h"
#include "WindowStyle.h"

SSPanel::SSPanel(QWidget* parent) : QFrame(parent) {
    shared::installAccessibleControls();
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(2);
    setAutoFillBackground(true);
}

void SSPanel::setBackColor(const QColor& colour) {
    shared::setBackColour(this, colour);
}
