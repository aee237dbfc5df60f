#include "SettingsDialog.h"

#include "Form1.h"
#include "Global.h"
#include "Twips.h"
#include "WindowStyle.h"

#include <QCloseEvent>

namespace kelvuadm {

SettingsDialog::SettingsDialog()
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setAttribute(Qt::WA_DeleteOnClose);
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
