// Saves two menus in turn as "kelvu.ini" in the given folder, for ever, until
// it is killed; with "once", saves the first menu once and ends. Prints a
// line after its first save, so that a test knows saving is under way.
#include "shared/core/RuntimeError.h"
#include "tests/AlternateMenus.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 2 || !QDir::setCurrent(args.at(1))) return 2;
    const QString file = QStringLiteral("kelvu.ini");
    const menufile::Menu menus[] = {alternate::first(), alternate::second()};
    try {
        menufile::writeMenu(file, menus[0]);
        if (args.size() > 2 && args.at(2) == QStringLiteral("once")) return 0;
        std::puts("saving");
        std::fflush(stdout);
        for (unsigned i = 1;; ++i) menufile::writeMenu(file, menus[i % 2]);
    } catch (const core::RuntimeError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
}
