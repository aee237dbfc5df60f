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
// thread of its own while the program builds its window, so that the first
// text laid out does not wait for it. Made right after the application
// object, once the program's environment has stopped changing (fontconfig
// reads it); waits, when it goes, until the reading has ended. Where Qt asks
// before the reading has ended, fontconfig reads the configuration for it
// too and keeps one of the two. Does nothing where Qt finds its fonts without
// fontconfig, or where no thread can be started.
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
