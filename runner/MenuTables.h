#pragma once

#include <QString>

#include <array>

// The runner's view of a menu: the count, the card type, the two tables of
// nine slots and the reward choice, read from a menu file in order.
namespace kelvu {

struct MenuTables {
    // The reward picture takes slot N, so a menu holds at most 9 exercises,
    // or 8 with a reward picture.
    static constexpr int Slots = 9;
    static constexpr int RewardPicture = 0;

    qint16 ExerciseCount = 0;
    qint16 CardType = 0;
    std::array<QString, Slots> ExerciseDirs;
    std::array<QString, Slots> ExerciseFiles;
    qint16 RewardChoice = 0;
};

// Reads the menu file into the tables, value by value. Throws the reading
// errors of the menu format, and 9 when a slot above 8 is needed; the values
// read before a failure stay in "menu".
void readMenuTables(const QString& path, MenuTables& menu);

}  // namespace kelvu
