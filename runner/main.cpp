#include "runner/Form1.h"
#include "shared/app/Fonts.h"
#include "shared/app/PlatformWindows.h"
#include "shared/app/ProgramControl.h"
#include "shared/app/Translation.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[]) {
    shared::chooseWindowSystem();
    QApplication app(argc, argv);
    shared::installFontSubstitutes();
    shared::installSwedishTranslation();
    QApplication::setApplicationName(QStringLiteral("Kelvu"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/kelvu/kelvu.png")));

    kelvu::Form1 window;
    shared::runHandler([&window] { window.Form_Load(); });
    if (shared::endRequested()) return shared::endStatus();
    window.show();
    return QApplication::exec();
}
