#pragma once
// The two menus the crash-safety test saves in turn: of different sizes, so
// that a torn file could never read as either.
#include "supervisor/MenuData.h"

namespace alternate {

inline kelvuadm::MenuData first() {
    kelvuadm::MenuData menu;
    menu.count = 7;
    menu.cardType = 2;
    for (int k = 1; k <= 7; ++k) {
        menu.files << QStringLiteral("övning%1.exe").arg(k);
        menu.folders << QStringLiteral("/hem/elev/övningar/en mapp med ett långt namn, nummer %1")
                            .arg(k)
                            .repeated(4);
    }
    menu.rewardChoice = 0;
    menu.pictureFolder = QStringLiteral("/hem/elev/bilder");
    menu.pictureName = QStringLiteral("sol.bmp");
    return menu;
}

inline kelvuadm::MenuData second() {
    kelvuadm::MenuData menu;
    menu.count = 1;
    menu.cardType = 0;
    menu.files << QStringLiteral("räkna.exe");
    menu.folders << QStringLiteral("/hem/elev");
    menu.rewardChoice = 1;
    return menu;
}

}  // namespace alternate
