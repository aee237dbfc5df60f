#include "supervisor/Form5.h"

#include "shared/app/Fonts.h"
#include "shared/app/ProgramControl.h"
#include "shared/app/Twips.h"
#include "shared/app/WindowStyle.h"
#include "shared/controls/ListBox.h"
#include "shared/controls/SSCommand.h"
#include "shared/core/RuntimeError.h"
#include "supervisor/Global.h"

#include <QDir>
#include <QListWidget>

namespace kelvuadm {

using app::twipsRect;

QStringList settingsFiles() {
    QDir folder(QDir::currentPath());
    folder.setNameFilters({QStringLiteral("*.ini")});
    folder.setFilter(QDir::Files);
    folder.setSorting(QDir::Name | QDir::IgnoreCase);
    return folder.entryList();
}

Form5::Form5() {
    File1 = new controls::ListBox(this);
    File1->setGeometry(twipsRect(270, 180, 2085, 2880));
    File1->setFont(app::boldFont(QStringLiteral("Arial"), 12));
    File1->addItems(settingsFiles());
    File1->setAccessibleName(QStringLiteral("Sparade inställningar"));
    // Named, for a screen reader, by the button that opened it.
    setAccessibleName(QStringLiteral("Hämta"));
    Command3D1 = new SSCommand(QStringLiteral("Hämta"), this);
    Command3D1->setGeometry(twipsRect(2520, 2520, 1005, 555));
    Command3D1->setFont(app::boldFont(QStringLiteral("Arial"), 9.75));
    Command3D2 = new SSCommand(QStringLiteral("Avbryt"), this);
    Command3D2->setGeometry(twipsRect(2520, 1890, 1005, 555));
    Command3D2->setFont(app::boldFont(QStringLiteral("Arial"), 9.75));

    QWidget::setTabOrder(File1, Command3D1);
    QWidget::setTabOrder(Command3D1, Command3D2);
    File1->setFocus(Qt::OtherFocusReason);

    using app::handlerFor;
    connect(File1, &QListWidget::itemSelectionChanged, this, handlerFor(this, &Form5::File1_Click));
    connect(File1, &QListWidget::itemDoubleClicked, this, handlerFor(this, &Form5::File1_DblClick));
    connect(Command3D1, &QPushButton::clicked, this, handlerFor(this, &Form5::Command3D1_Click));
    connect(Command3D2, &QPushButton::clicked, this, handlerFor(this, &Form5::Command3D2_Click));
}

void Form5::File1_Click() {
    const QList<QListWidgetItem*> selected = File1->selectedItems();
    if (!selected.isEmpty()) Global::SelectedSettingsFile = selected.constFirst()->text();
}

void Form5::File1_DblClick() {
    Command3D1_Click();
}

void Form5::Command3D1_Click() {
    if (Global::SelectedSettingsFile.isEmpty()) return;
    // The whole file is read and checked before the menu being edited is
    // cleared, so a file that is not a menu costs nothing.
    menufile::Menu menu;
    try {
        menu = menufile::readMenu(Global::SelectedSettingsFile, menufile::MenuCheck::Ranges);
    } catch (const core::RuntimeError& error) {
        app::showRuntimeError(error);
        return;
    }
    Global::ClearMenu();
    Global::ApplyMenu(menu);
    enableMainWindowAndUnload();
}

void Form5::Command3D2_Click() {
    enableMainWindowAndUnload();
}

}  // namespace kelvuadm
