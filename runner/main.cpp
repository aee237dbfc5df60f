#include "runner/Form1.h"
#include "shared/app/Fonts.h"
#include "shared/app/PlatformWindows.h"
#include "shared/app/ProgramControl.h"
#include "shared/app/Translation.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[]) {
    app::chooseWindowSystem();
    QApplication application(argc, argv);
    app::installFontSubstitutes();
    app::installSwedishTranslation();
    QApplication::setApplicationName(QStringLiteral("Kelvu"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/kelvu/kelvu.png")));

    kelvu::Form1 window;
    app::runHandler([&window] { window.Form_Load(); });
    if (app::endRequested()) return app::endStatus();
    window.show();
    return QApplication::exec();
}
