#include "Global.h"

#include "Form1.h"
#include "MenuReader.h"
#include "MenuWriter.h"
#include "RuntimeError.h"
#include "SSOptionGroup.h"

#include <QLabel>
#include <QListWidget>
#include <QScrollBar>

#include <memory>

namespace kelvuadm::Global {

qint16 ListedCount = 0;
qint16 WantedCount = 0;
QString HomeDir;
QString SelectedSettingsFile;

namespace {

std::unique_ptr<Form1>& mainWindowHolder() {
    static std::unique_ptr<Form1> window;
    return window;
}

using shared::RuntimeError;

void checkRange(const shared::MenuReader& file, int value, int lowest, int highest, int number,
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

Form1& MainWindow() {
    auto& window = mainWindowHolder();
    if (!window) window = std::make_unique<Form1>();
    return *window;
}

MenuData ReadMenuFile(const QString& path) {
    shared::MenuReader file(path);
    MenuData menu;
    menu.count = file.readInteger(QStringLiteral("antal övningar"));
    checkRange(file, menu.count, Form1::LowestCount, Form1::HighestCount,
               shared::ErrorNumber::InvalidPropertyValue, QStringLiteral("antalet övningar"));
    menu.cardType = file.readInteger(QStringLiteral("korttyp"));
    checkRange(file, menu.cardType, 0, 3, shared::ErrorNumber::SubscriptOutOfRange,
               QStringLiteral("korttypen"));
    for (int k = 1; k <= menu.count; ++k) {
        menu.files << file.readString(QStringLiteral("filnamn för övning %1").arg(k));
        menu.folders << file.readString(QStringLiteral("mapp för övning %1").arg(k));
    }
    menu.rewardChoice = file.readInteger(QStringLiteral("val av belöningsbild"));
    checkRange(file, menu.rewardChoice, 0, 1, shared::ErrorNumber::SubscriptOutOfRange,
               QStringLiteral("valet av belöningsbild"));
    if (menu.rewardChoice == 0) {
        menu.pictureFolder = file.readString(QStringLiteral("mapp för belöningsbilden"));
        menu.pictureName = file.readString(QStringLiteral("filnamn för belöningsbilden"));
    }
    return menu;
}

void ApplyMenu(const MenuData& menu) {
    Form1& form = MainWindow();
    ListedCount = menu.count;
    WantedCount = menu.count;
    form.Label3->setText(QString::number(menu.count));
    // Raises the scroll bar's change event when the value changes.
    form.VScroll1->setValue(menu.count);
    form.Option3D2->setOption(menu.cardType);
    for (int k = 0; k < ListedCount; ++k) {
        form.List1->addItem(menu.files.at(k));
        form.List2->addItem(menu.folders.at(k));
    }
    form.Option3D1->setOption(menu.rewardChoice);
    if (menu.rewardChoice == 0) {
        form.Label5->setText(menu.pictureFolder);
        form.Label8->setText(menu.pictureName);
    }
}

void LoadMenuFile(const QString& path) {
    ApplyMenu(ReadMenuFile(path));
}

void ClearMenu() {
    Form1& form = MainWindow();
    while (ListedCount != 0) {
        delete form.List1->takeItem(ListedCount - 1);
        delete form.List2->takeItem(ListedCount - 1);
        --ListedCount;
    }
    form.Label5->setText(QString());
    form.Label8->setText(QString());
}

void SaveMenuFile(const QString& name) {
    Form1& form = MainWindow();
    shared::MenuWriter file(name + QStringLiteral(".ini"));
    file.writeInteger(form.Label3->text().toInt());
    file.writeInteger(form.Option3D2->selectedIndex());
    for (int k = 0; k < ListedCount; ++k) {
        file.writeString(form.List1->item(k)->text());
        file.writeString(form.List2->item(k)->text());
    }
    const int reward = form.Option3D1->selectedIndex();
    file.writeInteger(reward);
    if (reward == 0) {
        file.writeString(form.Label5->text());
        file.writeString(form.Label8->text());
    }
    file.commit();
}

void ResetState() {
    mainWindowHolder().reset();
    ListedCount = 0;
    WantedCount = 0;
    HomeDir.clear();
    SelectedSettingsFile.clear();
}

}  // namespace kelvuadm::Global
