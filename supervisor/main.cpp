#include "shared/app/Fonts.h"
#include "shared/app/PlatformWindows.h"
#include "shared/app/ProgramControl.h"
#include "shared/app/Translation.h"
#include "supervisor/Form1.h"
#include "supervisor/Global.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[]) {
    app::chooseWindowSystem();
    QApplication application(argc, argv);
    // Every control of the window shows text: its fonts are needed at once.
    const app::FontConfigurationReader fontConfiguration;
    app::installFontSubstitutes();
    app::installSwedishTranslation();
    QApplication::setApplicationName(QStringLiteral("Kelvuadm"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/kelvu/kelvu.png")));

    kelvuadm::Form1& window = kelvuadm::Global::MainWindow();
    app::runHandler([&window] { window.Form_Load(); });
    if (app::endRequested()) return app::endStatus();
    window.show();
    const int status = QApplication::exec();
    kelvuadm::Global::ResetState();
    return status;
}
