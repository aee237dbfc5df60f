// Measures how long a click on the next card takes to get its exercise
// running: the runner's window of the real program code, a menu of eight
// exercises that are copies of bench_exercise, each in a folder of its own.
// The click is sent inside the process (QTest), and the monotonic clock is
// read just before the mouse button goes down; the exercise reads the same
// clock as the first thing it does. The difference is the time the runner
// needs from the click to a running exercise, without the X server's part in
// delivering the click.
//
//   bench_click_to_exercise EXERCISE ROUNDS
//
// Prints one line per click, "click MS HANDLER_MS PRESS_MS": the time to the
// running exercise, the time the click took (mouse press to the return of the
// release), and the part of it the press took (the button drawn pressed).
// Then, for comparison, one line per exercise started by a bare call of
// QProcess::startDetached from the same process, "direct MS": the part of
// the click that Qt's process start takes.
#include "runner/Form1.h"
#include "shared/app/ProgramControl.h"
#include "shared/controls/SSCommand.h"
#include "shared/core/RuntimeError.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <ctime>

namespace {

constexpr int Exercises = 8;

long long nowNs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

bool writeMenu(const QDir& folder, const QString& exercise) {
    QByteArray menu = QByteArray::number(Exercises) + "\r\n0\r\n";
    for (int k = 1; k <= Exercises; ++k) {
        const QString dir = folder.filePath(QStringLiteral("ex%1").arg(k));
        if (!folder.mkpath(dir) ||
            !QFile::copy(exercise, QDir(dir).filePath(QStringLiteral("exercise"))))
            return false;
        menu += "\"exercise\"\r\n\"" + dir.toUtf8() + "\"\r\n";
    }
    menu += "1\r\n";
    QFile file(folder.filePath(QStringLiteral("kelvu.ini")));
    return file.open(QIODevice::WriteOnly) && file.write(menu) == menu.size();
}

// The same exercises, each started by QProcess::startDetached alone.
bool direct(const QDir& folder) {
    for (int k = 1; k <= Exercises; ++k) {
        const QDir dir(folder.filePath(QStringLiteral("ex%1").arg(k)));
        QFile stamp(dir.filePath(QStringLiteral("started")));
        stamp.remove();
        const long long called = nowNs();
        if (!QProcess::startDetached(dir.filePath(QStringLiteral("exercise")), {}, dir.path()) ||
            !QTest::qWaitFor([&stamp] { return stamp.exists(); }, 10000) ||
            !stamp.open(QIODevice::ReadOnly))
            return false;
        const long long started = stamp.readAll().trimmed().toLongLong();
        std::printf("direct %.3f\n", static_cast<double>(started - called) / 1e6);
    }
    return true;
}

// One round: a fresh window, every card clicked in order.
bool round(const QDir& folder) {
    for (int k = 1; k <= Exercises; ++k)
        QFile::remove(folder.filePath(QStringLiteral("ex%1/started").arg(k)));
    kelvu::Form1 window;
    app::runHandler([&window] { window.Form_Load(); });
    if (app::endRequested()) return false;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return false;
    for (int k = 0; k < Exercises; ++k) {
        SSCommand* card = window.cards()[static_cast<std::size_t>(k)];
        QFile stamp(folder.filePath(QStringLiteral("ex%1/started").arg(k + 1)));
        const long long clicked = nowNs();
        QTest::mousePress(card, Qt::LeftButton);
        const long long pressed = nowNs();
        QTest::mouseRelease(card, Qt::LeftButton);
        const long long handled = nowNs();
        if (!QTest::qWaitFor([&stamp] { return stamp.exists(); }, 10000) ||
            !stamp.open(QIODevice::ReadOnly))
            return false;
        const long long started = stamp.readAll().trimmed().toLongLong();
        std::printf("click %.3f %.3f %.3f\n", static_cast<double>(started - clicked) / 1e6,
                    static_cast<double>(handled - clicked) / 1e6,
                    static_cast<double>(pressed - clicked) / 1e6);
    }
    // While the window is still up, so that the process is as large as at
    // the clicks.
    return direct(folder);
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench_click_to_exercise EXERCISE ROUNDS\n");
        return 2;
    }
    const QString exercise = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    const int rounds = QByteArray(argv[2]).toInt();
    app::setErrorObserver([](const core::RuntimeError& error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.message()));
    });
    QTemporaryDir work;
    if (!work.isValid() || !writeMenu(QDir(work.path()), exercise)) {
        std::fprintf(stderr, "bench_click_to_exercise: cannot set up the menu\n");
        return 1;
    }
    QDir::setCurrent(work.path());
    for (int r = 0; r < rounds; ++r)
        if (!round(QDir(work.path()))) {
            std::fprintf(stderr, "bench_click_to_exercise: round %d failed\n", r + 1);
            return 1;
        }
    return 0;
}
