#pragma once

#include "supervisor/SettingsDialog.h"

class QLabel;
class QLineEdit;
class SSCommand;

namespace kelvuadm {

// The save-settings dialog: the supervisor types a name, and the menu in the
// main window is saved as that name followed by ".ini".
class Form4 final : public SettingsDialog {
    Q_OBJECT
public:
    Form4();

    QLineEdit* Text1;
    SSCommand* Command3D1;  // "Spara"
    SSCommand* Command3D2;  // "Avbryt"
    QLabel* Label1;

private:
    void Command3D1_Click();
    void Command3D2_Click();
};

}  // namespace kelvuadm
