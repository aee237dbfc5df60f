#include "shared/app/Fonts.h"
#include "shared/app/PlatformWindows.h"
#include "shared/app/ProgramControl.h"
#include "shared/app/Translation.h"
#include "supervisor/Form1.h"
#include "supervisor/Global.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[]) {
    shared::chooseWindowSystem();
    QApplication app(argc, argv);
    shared::installFontSubstitutes();
    shared::installSwedishTranslation();
    QApplication::setApplicationName(QStringLiteral("Kelvuadm"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/kelvu/kelvu.png")));

    kelvuadm::Form1& window = kelvuadm::Global::MainWindow();
    shared::runHandler([&window] { window.Form_Load(); });
    if (shared::endRequested()) return shared::endStatus();
    window.show();
    const int status = QApplication::exec();
    kelvuadm::Global::ResetState();
    return status;
}
