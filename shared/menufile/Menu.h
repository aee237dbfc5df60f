#pragma once

#include <QString>
#include <QStringList>

// A menu as both programs see it: how many exercises, the card faces, each
// exercise as a file name and its folder, and whether a reward picture
// follows the last exercise. The file holds these values in this order.
namespace menufile {

// The faces of the learner's cards, as stored in the menu.
enum CardType : qint16 {
    Digits = 0,      // "Siffror": 1, 2, 3 …
    Letters = 1,     // "Bokstäver": A, B, C …
    Pictograms = 2,  // "Pictogram": the pictures 1num.bmp, 2num.bmp …
    Shapes = 3,      // "Former": blank cards
};

// What follows the last exercise, as stored in the menu.
enum RewardChoice : qint16 {
    RewardPicture = 0,    // "På": a card with the reward picture
    NoRewardPicture = 1,  // "Av": nothing
};

struct Menu {
    // The counts a menu made in the supervisor can have.
    static constexpr int LowestCount = 1;
    static constexpr int HighestCount = 7;
    // The places the runner has for cards: the exercises and, after them,
    // the reward picture. So a menu it runs holds at most 9 exercises, or 8
    // with a reward picture.
    static constexpr int Slots = 9;

    // The numbers as they stand in the file; what a program accepts of them
    // is checked as it reads (MenuCheck).
    qint16 count = 0;
    qint16 cardType = Digits;
    QStringList files;    // exercise file names, in menu order
    QStringList folders;  // their folders, same order
    qint16 rewardChoice = RewardPicture;
    QString pictureFolder;  // with a reward picture only
    QString pictureName;

    bool operator==(const Menu&) const = default;
};

// What is checked while a menu is read; the first value that fails stops
// the read with a RuntimeError that names the file and the value.
enum class MenuCheck {
    // As the runner lays out a menu: any numbers, but no exercise or
    // reward picture beyond the last slot (9, subscript out of range).
    Slots,
    // As the supervisor shows a menu: besides the slots, a count outside
    // 1 to 7 (380), a card type outside 0 to 3 or a reward choice outside
    // 0 to 1 (9).
    Ranges,
};

// Reads the menu file value by value into "menu". Throws the reading errors
// of the menu format and those of the check; the values read before a
// failure stay in "menu".
void readMenu(const QString& path, Menu& menu, MenuCheck check);
// The same, for a caller that needs all of the menu or nothing.
Menu readMenu(const QString& path, MenuCheck check);

// Writes the menu: the count, the card type, one name and folder pair per
// exercise, the reward choice and, with a reward picture, its folder and
// name. Throws a RuntimeError when it cannot be written; the old file is then
// left whole.
void writeMenu(const QString& path, const Menu& menu);

}  // namespace menufile
