#pragma once

// The windows name the classic Windows fonts. Where a family is missing, the
// metric-compatible Liberation families stand in; MS Sans Serif is closest to
// Arial's metrics, so it takes the same stand-in.
#include <QFont>
#include <QString>

#include <thread>

namespace app {

void installFontSubstitutes();

// Reads the system's font configuration (fontconfig's files and caches) on a
// thread of its own while the program does other things, so that the first
// text drawn does not wait for it. Made first thing in main(); waits, when it
// goes, until the reading has ended. Does nothing where Qt finds its fonts
// without fontconfig.
class FontConfigurationReader final {
public:
    FontConfigurationReader();
    ~FontConfigurationReader();
    FontConfigurationReader(const FontConfigurationReader&) = delete;
    FontConfigurationReader& operator=(const FontConfigurationReader&) = delete;

private:
    std::thread m_thread;
};

// A font by family, size in points and weight (QFont::Normal, QFont::Bold).
QFont makeFont(const QString& family, qreal points, QFont::Weight weight);
// The bold fonts that most of the supervisor's controls use.
QFont boldFont(const QString& family, qreal points);

}  // namespace app
