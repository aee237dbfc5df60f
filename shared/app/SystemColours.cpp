#include "shared/app/SystemColours.h"

#include <QApplication>
#include <QPalette>

namespace app {

QColor systemColour(SystemColour colour) {
    const QPalette palette = QApplication::palette();
    switch (colour) {
        case SystemColour::Menu:
            return palette.color(QPalette::Window);
        case SystemColour::Window:
            return palette.color(QPalette::Base);
        case SystemColour::WindowText:
            return palette.color(QPalette::WindowText);
        case SystemColour::ButtonFace:
            return palette.color(QPalette::Button);
        case SystemColour::InactiveCaptionText:
            return palette.color(QPalette::Midlight);
    }
    return palette.color(QPalette::Window);
}

}  // namespace app
