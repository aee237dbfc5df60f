#pragma once

#include "supervisor/SettingsDialog.h"

class QListWidget;
class SSCommand;

namespace kelvuadm {

// The open-settings dialog: lists the ".ini" files of the current folder,
// and "Hämta" replaces the menu in the main window with the picked one.
class Form5 final : public SettingsDialog {
    Q_OBJECT
public:
    Form5();

    QListWidget* File1;
    SSCommand* Command3D1;  // "Hämta"
    SSCommand* Command3D2;  // "Avbryt"

private:
    void File1_Click();
    void File1_DblClick();
    void Command3D1_Click();
    void Command3D2_Click();
};

// The names of the files matching "*.ini" (in any letter case) in the
// current folder, hidden files left out, sorted by name.
QStringList settingsFiles();

}  // namespace kelvuadm
