#include "SettingsDialog.h"

#include "Form1.h"
#include "Global.h"
#include "Twips.h"
#include "WindowStyle.h"

#include <QCloseEvent>

namespace kelvuadm {

SettingsDialog::SettingsDialog()
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setAttribute(Qt::WA_DeleteOnClose);
    // A title bar without buttons. Window managers that follow the Motif
    // hints take minimise and maximise away on the flags above; openbox
    // decides by the window's type alone, and offers neither for a toolbar.
    // Being a dialog without owner, the window stays in front of all the
    // program's ordinary windows: the main window and the backdrop.
    winId();  // the type is given to the native window
    setAttribute(Qt::WA_X11NetWmWindowTypeToolBar);
    // No caption. Qt never hands the window system an empty title (it puts the
    // program's name there instead), so the caption is a single blank.
    setWindowTitle(QStringLiteral(" "));
    shared::setBackColour(this, shared::LightYellow);
    resize(shared::twipsToPixels(3750), shared::twipsToPixels(3285));
    shared::centreOnScreen(this);
}

void SettingsDialog::enableMainWindowAndUnload() {
    Global::MainWindow().setEnabled(true);
    m_unloading = true;
    close();
}

void SettingsDialog::closeEvent(QCloseEvent* event) {
    if (m_unloading)
        event->accept();
    else
        event->ignore();
}

}  // namespace kelvuadm
