#pragma once

#include <QWidget>

namespace kelvuadm {

// What the save-settings and open-settings dialogs share: a small light
// yellow window without title or title-bar buttons, centred on the screen,
// shown without an owner while the main window is disabled. Its own buttons
// are the only way to close it: every other close request is refused, so
// the main window is never left disabled.
class SettingsDialog : public QWidget {
    Q_OBJECT
public:
    SettingsDialog();

protected:
    // Enables the main window again and unloads the dialog.
    void enableMainWindowAndUnload();

    void closeEvent(QCloseEvent* event) override;

private:
    bool m_unloading = false;
};

}  // namespace kelvuadm
