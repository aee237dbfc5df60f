#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QWidget;

// How the programs' windows look and where they stand, in one place.
namespace shared {

// The background of every window of both programs.
inline const QColor LightYellow(255, 255, 128);

// A font by family, size in points and weight (QFont::Normal, QFont::Bold).
QFont makeFont(const QString& family, qreal points, QFont::Weight weight);

// Fills the widget's background with the colour.
void setBackColour(QWidget* widget, const QColor& colour);

// Places a top-level window in the middle of the screen's work area.
void centreOnScreen(QWidget* window);

}  // namespace shared
