#pragma once

#include <QColor>
#include <QString>
#include <Qt>

class QWidget;

// How the programs' windows look and where they stand, in one place.
namespace app {

// The programs' main windows: a title bar with a close button and neither
// minimise nor maximise, so that nothing of the program can vanish behind the
// black backdrop. A dialog to the window manager, which then keeps it in
// front of the backdrop that it belongs to.
inline constexpr Qt::WindowFlags MainWindowFlags =
    Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

// The client area of both programs' main windows, in twips (the runner's
// widens when cards lie beyond it).
inline constexpr int MainClientWidth = 9510;
inline constexpr int MainClientHeight = 6825;

// The background of every window of both programs.
inline const QColor LightYellow(255, 255, 128);

// Fills the widget's background with the colour.
void setBackColour(QWidget* widget, const QColor& colour);

// Places a top-level window in the middle of the screen's work area.
void centreOnScreen(QWidget* window);

}  // namespace app
