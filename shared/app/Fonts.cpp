#include "shared/app/Fonts.h"

#include <QFont>
#include <QStringList>

namespace app {

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
