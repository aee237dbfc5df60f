#include "shared/menufile/Menu.h"

#include "shared/core/FolderText.h"
#include "shared/core/RuntimeError.h"
#include "shared/core/ShortText.h"
#include "shared/menufile/MenuReader.h"
#include "shared/menufile/MenuWriter.h"

namespace menufile {

namespace {

using core::RuntimeError;

void checkRange(const MenuReader& file, int value, int lowest, int highest, int number,
                const QString& what) {
    if (value < lowest || value > highest)
        throw RuntimeError(number,
                           QStringLiteral("I filen \"%1\" är %2 %3, men får bara vara %4 till %5.")
                               .arg(file.fileName(), what)
                               .arg(value)
                               .arg(lowest)
                               .arg(highest));
}

// The slot for a card, or 9 when the runner has none for it.
void checkSlot(const QString& path, const Menu& menu, int index) {
    if (index < 0 || index >= Menu::Slots)
        throw RuntimeError(
            core::ErrorNumber::SubscriptOutOfRange,
            QStringLiteral("Menyn i \"%1\" har %2 övningar%3. Det får plats högst 9 övningar, "
                           "eller 8 med belöningsbild.")
                .arg(core::shortName(core::displayFileName(path)))
                .arg(menu.count)
                .arg(menu.rewardChoice == RewardPicture && index == menu.count
                         ? QStringLiteral(" och en belöningsbild")
                         : QString()));
}

}  // namespace

void readMenu(const QString& path, Menu& menu, MenuCheck check) {
    using core::ErrorNumber::InvalidPropertyValue;
    using core::ErrorNumber::SubscriptOutOfRange;
    const bool ranges = check == MenuCheck::Ranges;
    MenuReader file(path);
    menu.count = file.readInteger(QStringLiteral("antal övningar"));
    if (ranges)
        checkRange(file, menu.count, Menu::LowestCount, Menu::HighestCount, InvalidPropertyValue,
                   QStringLiteral("antalet övningar"));
    menu.cardType = file.readInteger(QStringLiteral("korttyp"));
    if (ranges)
        checkRange(file, menu.cardType, Digits, Shapes, SubscriptOutOfRange,
                   QStringLiteral("korttypen"));
    for (int k = 0; k < menu.count; ++k) {
        checkSlot(path, menu, k);
        menu.files << file.readString(QStringLiteral("filnamn för övning %1").arg(k + 1));
        menu.folders << file.readString(QStringLiteral("mapp för övning %1").arg(k + 1));
    }
    menu.rewardChoice = file.readInteger(QStringLiteral("val av belöningsbild"));
    if (ranges)
        checkRange(file, menu.rewardChoice, RewardPicture, NoRewardPicture, SubscriptOutOfRange,
                   QStringLiteral("valet av belöningsbild"));
    if (menu.rewardChoice == RewardPicture) {
        checkSlot(path, menu, menu.count);
        menu.pictureFolder = file.readString(QStringLiteral("mapp för belöningsbilden"));
        menu.pictureName = file.readString(QStringLiteral("filnamn för belöningsbilden"));
    }
}

Menu readMenu(const QString& path, MenuCheck check) {
    Menu menu;
    readMenu(path, menu, check);
    return menu;
}

void writeMenu(const QString& path, const Menu& menu) {
    MenuWriter file(path);
    file.writeInteger(menu.count);
    file.writeInteger(menu.cardType);
    for (qsizetype k = 0; k < menu.files.size(); ++k) {
        file.writeString(menu.files.at(k));
        file.writeString(menu.folders.at(k));
    }
    file.writeInteger(menu.rewardChoice);
    if (menu.rewardChoice == RewardPicture) {
        file.writeString(menu.pictureFolder);
        file.writeString(menu.pictureName);
    }
    file.commit();
}

}  // namespace menufile
