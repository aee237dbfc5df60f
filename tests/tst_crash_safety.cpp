// A save killed at any moment: a helper saves two menus in turn and is
// killed (SIGKILL) at random moments. After each kill "kelvu.ini" reads as
// one whole menu, the old or the new, and the next save leaves no temporary
// file behind. KELVU_KILL_COUNT sets how many kills (200 unless set).
#include "shared/core/RuntimeError.h"
#include "tests/AlternateMenus.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Everything in the folder but the menu.
QStringList leftovers(const QString& folder) {
    QStringList names = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                               QDir::NoDotAndDotDot);
    names.removeOne(QStringLiteral("kelvu.ini"));
    return names;
}

}  // namespace

class TestCrashSafety : public QObject {
    Q_OBJECT
private slots:
    void killedSavesLeaveOneWholeMenu();
};

void TestCrashSafety::killedSavesLeaveOneWholeMenu() {
    const int kills = qEnvironmentVariableIsSet("KELVU_KILL_COUNT")
                          ? qEnvironmentVariableIntValue("KELVU_KILL_COUNT")
                          : 200;
    QVERIFY(kills > 0);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const menufile::Menu first = alternate::first();
    const menufile::Menu second = alternate::second();
    QVERIFY(first != second);

    // A fixed seed unless one is given, so that a failure can be repeated.
    const quint32 seed = qEnvironmentVariableIsSet("KELVU_KILL_SEED")
                             ? quint32(qEnvironmentVariableIntValue("KELVU_KILL_SEED"))
                             : 20261208u;
    QRandomGenerator random(seed);
    int firstSeen = 0, secondSeen = 0, leftBehind = 0;
    for (int kill = 1; kill <= kills; ++kill) {
        QProcess saver;
        saver.start(QStringLiteral(SAVER_PROGRAM), {folder.path()});
        QVERIFY(saver.waitForStarted(10000));
        // Saving is under way once the first save is done.
        QVERIFY2(saver.waitForReadyRead(10000), saver.readAllStandardError().constData());
        // Then a random moment of up to 8 ms: long enough to span a save.
        QVERIFY2(!saver.waitForFinished(int(random.bounded(9))),
                 saver.readAllStandardError().constData());
        saver.kill();
        QVERIFY(saver.waitForFinished(10000));
        QCOMPARE(saver.exitStatus(), QProcess::CrashExit);

        const menufile::Menu read = menufile::readMenu(
            QDir(folder.path()).filePath(QStringLiteral("kelvu.ini")), menufile::MenuCheck::Ranges);
        QVERIFY2(read == first || read == second, qPrintable(QStringLiteral("kill %1").arg(kill)));
        (read == first ? firstSeen : secondSeen) += 1;
        const QStringList left = leftovers(folder.path());
        if (!left.isEmpty()) ++leftBehind;
        // A killed save leaves at most its own temporary file, hidden and marked.
        QVERIFY2(left.size() <= 1, qPrintable(left.join(u' ')));
        for (const QString& name : left)
            QVERIFY2(name.startsWith(QStringLiteral(".kelvu-sparning-")) &&
                         name.endsWith(QStringLiteral(".tmp")) && name.size() == 28,
                     qPrintable(name));

        // The next save clears what the killed one left.
        QProcess next;
        next.start(QStringLiteral(SAVER_PROGRAM), {folder.path(), QStringLiteral("once")});
        QVERIFY(next.waitForFinished(10000));
        QCOMPARE(next.exitCode(), 0);
        QCOMPARE(leftovers(folder.path()), QStringList());
    }
    qInfo(
        "%d kills: %d left the first menu, %d the second; %d left a temporary file, which the "
        "next save removed",
        kills, firstSeen, secondSeen, leftBehind);
}

QTEST_GUILESS_MAIN(TestCrashSafety)
#include "tst_crash_safety.moc"
