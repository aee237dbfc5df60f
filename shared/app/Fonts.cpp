#include "shared/app/Fonts.h"

#include <QFont>
#include <QStringList>

#include <system_error>

#if defined(KELVU_FONTCONFIG)
#include <fontconfig/fontconfig.h>
#endif

namespace app {

FontConfigurationReader::FontConfigurationReader() {
#if defined(KELVU_FONTCONFIG)
    try {
        m_thread = std::thread([] { FcInit(); });
    } catch (const std::system_error&) {
        // Qt reads the configuration itself when it first needs a font.
    }
#endif
}

FontConfigurationReader::~FontConfigurationReader() {
    if (m_thread.joinable()) m_thread.join();
}

void installFontSubstitutes() {
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Arial"),
                                QStringLiteral("Liberation Sans")});
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Times New Roman"),
                              QStringLiteral("Liberation Serif"));
}

QFont makeFont(const QString& family, qreal points, QFont::Weight weight) {
    QFont font(family);
    font.setPointSizeF(points);
    font.setWeight(weight);
    return font;
}

QFont boldFont(const QString& family, qreal points) {
    return makeFont(family, points, QFont::Bold);
}

}  // namespace app
