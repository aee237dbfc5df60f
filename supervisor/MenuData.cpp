#include "supervisor/MenuData.h"

#include "shared/core/RuntimeError.h"
#include "shared/menufile/MenuReader.h"
#include "shared/menufile/MenuWriter.h"

namespace kelvuadm {

namespace {

using core::RuntimeError;

void checkRange(const menufile::MenuReader& file, int value, int lowest, int highest, int number,
                const QString& what) {
    if (value < lowest || value > highest)
        throw RuntimeError(number,
                           QStringLiteral("I filen \"%1\" är %2 %3, men får bara vara %4 till %5.")
                               .arg(file.fileName(), what)
                               .arg(value)
                               .arg(lowest)
                               .arg(highest));
}

}  // namespace

MenuData readMenuData(const QString& path) {
    menufile::MenuReader file(path);
    MenuData menu;
    menu.count = file.readInteger(QStringLiteral("antal övningar"));
    checkRange(file, menu.count, MenuData::LowestCount, MenuData::HighestCount,
               core::ErrorNumber::InvalidPropertyValue, QStringLiteral("antalet övningar"));
    menu.cardType = file.readInteger(QStringLiteral("korttyp"));
    checkRange(file, menu.cardType, 0, 3, core::ErrorNumber::SubscriptOutOfRange,
               QStringLiteral("korttypen"));
    for (int k = 1; k <= menu.count; ++k) {
        menu.files << file.readString(QStringLiteral("filnamn för övning %1").arg(k));
        menu.folders << file.readString(QStringLiteral("mapp för övning %1").arg(k));
    }
    menu.rewardChoice = file.readInteger(QStringLiteral("val av belöningsbild"));
    checkRange(file, menu.rewardChoice, 0, 1, core::ErrorNumber::SubscriptOutOfRange,
               QStringLiteral("valet av belöningsbild"));
    if (menu.rewardChoice == 0) {
        menu.pictureFolder = file.readString(QStringLiteral("mapp för belöningsbilden"));
        menu.pictureName = file.readString(QStringLiteral("filnamn för belöningsbilden"));
    }
    return menu;
}

void writeMenuData(const QString& path, const MenuData& menu) {
    menufile::MenuWriter file(path);
    file.writeInteger(menu.count);
    file.writeInteger(menu.cardType);
    for (qsizetype k = 0; k < menu.files.size(); ++k) {
        file.writeString(menu.files.at(k));
        file.writeString(menu.folders.at(k));
    }
    file.writeInteger(menu.rewardChoice);
    if (menu.rewardChoice == 0) {
        file.writeString(menu.pictureFolder);
        file.writeString(menu.pictureName);
    }
    file.commit();
}

}  // namespace kelvuadm
