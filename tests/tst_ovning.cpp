// The demo's exercise program: its texts from the arguments, and the window
// that shows the instruction and ends on "Klar".
#include "ExerciseWindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using ovning::ExerciseText;
using ovning::ExerciseWindow;

class TestOvning : public QObject {
    Q_OBJECT
private slots:
    void textsFromArguments_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("instruction");
        const QString defaultTitle = QStringLiteral("Övning");
        const QString defaultInstruction = QStringLiteral("Räkna fingrarna på ena handen.");
        QTest::newRow("none") << QStringList() << defaultTitle << defaultInstruction;
        QTest::newRow("title only")
            << QStringList{QStringLiteral("Läsa")} << QStringLiteral("Läsa") << defaultInstruction;
        QTest::newRow("both") << QStringList{QStringLiteral("Rita"),
                                             QStringLiteral("Rita ett hus på ett papper.")}
                              << QStringLiteral("Rita")
                              << QStringLiteral("Rita ett hus på ett papper.");
        QTest::newRow("empty title") << QStringList{QString(), QStringLiteral("Läs ordet: SOL")}
                                     << defaultTitle << QStringLiteral("Läs ordet: SOL");
        QTest::newRow("empty instruction") << QStringList{QStringLiteral("Läsa"), QString()}
                                           << QStringLiteral("Läsa") << defaultInstruction;
        QTest::newRow("more than two")
            << QStringList{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}
            << QStringLiteral("A") << QStringLiteral("B");
    }
    void textsFromArguments() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, title);
        QFETCH(QString, instruction);
        const ExerciseText text = ovning::exerciseTextFromArguments(arguments);
        QCOMPARE(text.title, title);
        QCOMPARE(text.instruction, instruction);
    }

    void windowShowsTheInstructionAsPlainText() {
        ExerciseWindow window({QStringLiteral("Läsa"), QStringLiteral("<b>SOL</b> & MÅNE")});
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.windowTitle(), QStringLiteral("Läsa"));
        QCOMPARE(window.instructionLabel()->text(), QStringLiteral("<b>SOL</b> & MÅNE"));
        QCOMPARE(window.instructionLabel()->textFormat(), Qt::PlainText);
        QCOMPARE(window.doneButton()->text(), QStringLiteral("Klar"));
        QCOMPARE(window.size(), QSize(680, 380));
        QVERIFY(window.instructionLabel()->font().pointSize() >= 28);
    }

    // "Klar" ends the exercise: by a click, and by Enter or Space because it
    // has the focus.
    void doneEndsTheExercise_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("click") << 0;
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Space") << int(Qt::Key_Space);
    }
    void doneEndsTheExercise() {
        QFETCH(int, key);
        ExerciseWindow window({QStringLiteral("Räkna"), QStringLiteral("Räkna till tre.")});
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QCOMPARE(QApplication::focusWidget(), window.doneButton());
        if (key == 0)
            QTest::mouseClick(window.doneButton(), Qt::LeftButton);
        else
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QTRY_VERIFY(!window.isVisible());
    }

    // A key held down when the window comes up, as the key that pressed the
    // card: the window sees its repeats, release and press with the same
    // time, then the release. Only a new stroke presses "Klar".
    void heldKeyDoesNotPressDone_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Space") << int(Qt::Key_Space);
        QTest::newRow("Return") << int(Qt::Key_Return);
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
    }
    void heldKeyDoesNotPressDone() {
        QFETCH(int, key);
        ExerciseWindow window({QStringLiteral("Räkna"), QStringLiteral("Räkna till tre.")});
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto send = [&](QEvent::Type type, quint64 time) {
            QKeyEvent event(type, key, Qt::NoModifier);
            event.setTimestamp(time);
            QApplication::sendEvent(window.doneButton(), &event);
        };
        for (quint64 time = 5000; time <= 5400; time += 40) {
            send(QEvent::KeyRelease, time);
            send(QEvent::KeyPress, time);
        }
        send(QEvent::KeyRelease, 5500);
        QVERIFY(window.isVisible());
        send(QEvent::KeyPress, 6000);
        QVERIFY(!window.isVisible());
    }
};

QTEST_MAIN(TestOvning)
#include "tst_ovning.moc"
