#include "supervisor/Global.h"

#include "shared/controls/SSOptionGroup.h"
#include "supervisor/Form1.h"

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

}  // namespace

Form1& MainWindow() {
    auto& window = mainWindowHolder();
    if (!window) window = std::make_unique<Form1>();
    return *window;
}

void ApplyMenu(const menufile::Menu& menu) {
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
    if (menu.rewardChoice == menufile::RewardPicture) {
        form.Label5->setText(menu.pictureFolder);
        form.Label8->setText(menu.pictureName);
    }
}

void LoadMenuFile(const QString& path) {
    ApplyMenu(menufile::readMenu(path, menufile::MenuCheck::Ranges));
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
    menufile::Menu menu;
    // Line 1 comes from Label3, the pairs from the lists.
    menu.count = static_cast<qint16>(form.Label3->text().toInt());
    menu.cardType = static_cast<qint16>(form.Option3D2->selectedIndex());
    for (int k = 0; k < ListedCount; ++k) {
        menu.files << form.List1->item(k)->text();
        menu.folders << form.List2->item(k)->text();
    }
    menu.rewardChoice = static_cast<qint16>(form.Option3D1->selectedIndex());
    if (menu.rewardChoice == menufile::RewardPicture) {
        menu.pictureFolder = form.Label5->text();
        menu.pictureName = form.Label8->text();
    }
    menufile::writeMenu(name + QStringLiteral(".ini"), menu);
}

void ResetState() {
    mainWindowHolder().reset();
    ListedCount = 0;
    WantedCount = 0;
    HomeDir.clear();
    SelectedSettingsFile.clear();
}

}  // namespace kelvuadm::Global
