// Fuzz target for the menu file: each input is read the way the runner reads
// "kelvu.ini" and the way the supervisor reads a menu. Either reading gives a
// menu or one of the named run-time errors, never anything else; what the
// supervisor accepts, the runner reads the same; and a menu the supervisor
// accepts saves and reads back equal.
#include "shared/core/RuntimeError.h"
#include "shared/menufile/Menu.h"
#include "shared/menufile/MenuWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "menu fuzz: %s\n", what);
    std::abort();
}

bool isNamedError(int number) {
    namespace E = core::ErrorNumber;
    switch (number) {
        case E::InvalidArgument:
        case E::Overflow:
        case E::SubscriptOutOfRange:
        case E::TypeMismatch:
        case E::FileNotFound:
        case E::InputPastEndOfFile:
        case E::PathFileAccessError:
        case E::PathNotFound:
        case E::InvalidPropertyValue:
            return true;
        default:
            return false;
    }
}

// A message stays short whatever the file holds: quoted values are cut.
void requireSoundError(const core::RuntimeError& error) {
    require(isNamedError(error.number()), "a run-time error without a known number");
    require(!error.description().isEmpty(), "a run-time error without a description");
    require(error.message().size() < 1000, "a message that quotes too much");
}

const QDir& workFolder() {
    static QTemporaryDir dir;
    require(dir.isValid(), "no temporary folder");
    static const QDir folder(dir.path());
    return folder;
}

void writeInput(const QString& path, const uint8_t* data, size_t size) {
    QFile file(path);
    require(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "cannot write the input");
    require(file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) ==
                static_cast<qint64>(size),
            "cannot write the whole input");
}

bool storable(const menufile::Menu& menu) {
    QStringList texts = menu.files + menu.folders;
    texts << menu.pictureFolder << menu.pictureName;
    for (const QString& text : texts)
        if (!menufile::MenuWriter::canStore(text)) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString input = workFolder().filePath(QStringLiteral("kelvu.ini"));
    const QString copy = workFolder().filePath(QStringLiteral("kopia.ini"));
    writeInput(input, data, size);

    // As the runner reads it.
    using menufile::MenuCheck;
    menufile::Menu tables;
    bool runnerAccepts = false;
    try {
        menufile::readMenu(input, tables, MenuCheck::Slots);
        runnerAccepts = true;
        const int slotsUsed =
            tables.count + (tables.rewardChoice == menufile::RewardPicture ? 1 : 0);
        require(slotsUsed <= menufile::Menu::Slots,
                "the runner took a menu its tables cannot hold");
    } catch (const core::RuntimeError& error) {
        requireSoundError(error);
    }

    // As the supervisor reads it, and what it saves.
    try {
        const menufile::Menu menu = menufile::readMenu(input, MenuCheck::Ranges);
        require(menu.count >= 1 && menu.count <= 7, "the supervisor took a count outside 1 to 7");
        require(menu.cardType >= 0 && menu.cardType <= 3, "the supervisor took a bad card type");
        require(menu.rewardChoice == 0 || menu.rewardChoice == 1, "bad reward choice");
        require(menu.files.size() == menu.count && menu.folders.size() == menu.count,
                "the exercise lists do not match the count");

        require(runnerAccepts, "the runner refuses a menu the supervisor takes");
        require(tables == menu, "the runner reads another menu than the supervisor");

        try {
            menufile::writeMenu(copy, menu);
            require(storable(menu), "a text the format cannot hold was saved");
            require(menufile::readMenu(copy, MenuCheck::Ranges) == menu,
                    "a saved menu reads back differently");
        } catch (const core::RuntimeError& error) {
            require(error.number() == core::ErrorNumber::InvalidArgument && !storable(menu),
                    "a menu the supervisor took could not be saved");
        }
    } catch (const core::RuntimeError& error) {
        requireSoundError(error);
    }
    return 0;
}
