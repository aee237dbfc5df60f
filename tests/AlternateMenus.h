#pragma once
// The two menus the crash-safety test saves in turn: of different sizes, so
// that a torn file could never read as either.
#include "shared/menufile/Menu.h"

namespace alternate {

inline menufile::Menu first() {
    menufile::Menu menu;
    menu.count = 7;
    menu.cardType = menufile::Pictograms;
    for (int k = 1; k <= 7; ++k) {
        menu.files << QStringLiteral("övning%1.exe").arg(k);
        menu.folders << QStringLiteral("/hem/elev/övningar/en mapp med ett långt namn, nummer %1")
                            .arg(k)
                            .repeated(4);
    }
    menu.rewardChoice = menufile::RewardPicture;
    menu.pictureFolder = QStringLiteral("/hem/elev/bilder");
    menu.pictureName = QStringLiteral("sol.bmp");
    return menu;
}

inline menufile::Menu second() {
    menufile::Menu menu;
    menu.count = 1;
    menu.cardType = menufile::Digits;
    menu.files << QStringLiteral("räkna.exe");
    menu.folders << QStringLiteral("/hem/elev");
    menu.rewardChoice = menufile::NoRewardPicture;
    return menu;
}

}  // namespace alternate
