#include "runner/MenuTables.h"

#include "shared/core/FolderText.h"
#include "shared/core/RuntimeError.h"
#include "shared/core/ShortText.h"
#include "shared/menufile/MenuReader.h"

namespace kelvu {

namespace {

int slot(const QString& path, const MenuTables& menu, int index) {
    if (index < 0 || index >= MenuTables::Slots)
        throw core::RuntimeError(
            core::ErrorNumber::SubscriptOutOfRange,
            QStringLiteral("Menyn i \"%1\" har %2 övningar%3. Det får plats högst 9 övningar, "
                           "eller 8 med belöningsbild.")
                .arg(core::shortName(core::displayFileName(path)))
                .arg(menu.ExerciseCount)
                .arg(menu.RewardChoice == MenuTables::RewardPicture && index == menu.ExerciseCount
                         ? QStringLiteral(" och en belöningsbild")
                         : QString()));
    return index;
}

}  // namespace

void readMenuTables(const QString& path, MenuTables& menu) {
    menufile::MenuReader file(path);
    menu.ExerciseCount = file.readInteger(QStringLiteral("antal övningar"));
    menu.CardType = file.readInteger(QStringLiteral("korttyp"));
    for (int k = 0; k < menu.ExerciseCount; ++k) {
        const QString number = QString::number(k + 1);
        const int at = slot(path, menu, k);
        menu.ExerciseFiles[at] =
            file.readString(QStringLiteral("filnamn för övning %1").arg(number));
        menu.ExerciseDirs[at] = file.readString(QStringLiteral("mapp för övning %1").arg(number));
    }
    menu.RewardChoice = file.readInteger(QStringLiteral("val av belöningsbild"));
    if (menu.RewardChoice == MenuTables::RewardPicture) {
        const int at = slot(path, menu, menu.ExerciseCount);
        menu.ExerciseDirs[at] = file.readString(QStringLiteral("mapp för belöningsbilden"));
        menu.ExerciseFiles[at] = file.readString(QStringLiteral("filnamn för belöningsbilden"));
    }
}

}  // namespace kelvu
