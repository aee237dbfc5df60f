#pragma once

#include <QString>
#include <QStringList>

// A supervisor's menu as a value: read from a menu file and checked against
// what the main window can take, or written to one.
namespace kelvuadm {

struct MenuData {
    // The range of the count scroll bar.
    static constexpr int LowestCount = 1;
    static constexpr int HighestCount = 7;

    qint16 count = 0;
    qint16 cardType = 0;
    QStringList files;    // exercise file names, in menu order
    QStringList folders;  // their folders, same order
    qint16 rewardChoice = 0;
    QString pictureFolder;
    QString pictureName;

    bool operator==(const MenuData&) const = default;
};

// Reads and checks a whole menu file. Throws a RuntimeError naming the file
// and the value: the reading errors of the menu format, 380 for a count
// outside 1 to 7, 9 for a card type above 3 or a reward choice above 1.
MenuData readMenuData(const QString& path);

// Writes the menu to the file: the count, the card type, one name and folder
// pair per exercise, the reward choice and, with a reward picture, its folder
// and name. Throws a RuntimeError when it cannot be written; the old file is
// then left whole.
void writeMenuData(const QString& path, const MenuData& menu);

}  // namespace kelvuadm
