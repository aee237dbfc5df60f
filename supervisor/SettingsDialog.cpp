#include "supervisor/SettingsDialog.h"

#include "shared/app/PlatformWindows.h"
#include "shared/app/Twips.h"
#include "shared/app/WindowStyle.h"
#include "supervisor/Form1.h"
#include "supervisor/Global.h"

#include <QCloseEvent>

namespace kelvuadm {

SettingsDialog::SettingsDialog()
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setAttribute(Qt::WA_DeleteOnClose);
    // A resizable border without a title bar, so without the buttons of one:
    // neither close, minimise nor maximise is offered, nor a title bar that
    // some window managers would give a close button whatever the window
    // asks. Openbox decides minimise and maximise by the window's type alone,
    // and offers neither for a toolbar. Being a dialog, the window stays in
    // front of the main window and the backdrop.
    winId();  // the type and the frame are given to the native window
    setAttribute(Qt::WA_X11NetWmWindowTypeToolBar);
    app::requestBorderWithoutTitle(windowHandle());
    // No caption. Qt never hands the window system an empty title (it puts the
    // program's name there instead), so the caption is a single blank.
    setWindowTitle(QStringLiteral(" "));
    app::setBackColour(this, app::LightYellow);
    resize(app::twipsToPixels(3750), app::twipsToPixels(3285));
    app::centreOnScreen(this);
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
