#include "ovning/ExerciseWindow.h"
#include "shared/app/Translation.h"

#include <QApplication>
#include <QIcon>

// A demo exercise: kelvu-ovning [TITLE [INSTRUCTION]].
int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    app::installSwedishTranslation();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/kelvu/kelvu.png")));
    ovning::ExerciseWindow window(
        ovning::exerciseTextFromArguments(QApplication::arguments().mid(1)));
    window.show();
    return QApplication::exec();
}
