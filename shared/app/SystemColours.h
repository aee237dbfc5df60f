#pragma once

#include <QColor>

// The system colours the windows name by number, taken from the
// application's palette so that they follow the desktop's colour scheme.
namespace app {

enum class SystemColour {
    Menu = 0x04,                 // background of menus
    Window = 0x05,               // background of windows and text boxes
    WindowText = 0x08,           // text in windows
    ButtonFace = 0x0F,           // face of buttons
    InactiveCaptionText = 0x13,  // light grey in the classic scheme
};

QColor systemColour(SystemColour colour);

}  // namespace app
