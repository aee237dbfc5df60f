// The demo's exercise program: its texts from the arguments, and the window
// that shows the instruction and ends on "Klar".
#include "ovning/ExerciseWindow.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTextDocument>
#include <QTextOption>

using ovning::ExerciseText;
using ovning::ExerciseWindow;

namespace {

// The bounds of everything drawn that differs from the paper at the top left.
QRect inkBounds(const QImage& shown) {
    const QRgb paper = shown.pixel(0, 0);
    QRect ink;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            if (shown.pixel(x, y) != paper) ink |= QRect(x, y, 1, 1);
    return ink;
}

}  // namespace

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
        const QString typed = QStringLiteral("<b>SOL</b> & MÅNE");
        QCOMPARE(window.instructionLabel()->text(), typed);
        QCOMPARE(window.doneButton()->text(), QStringLiteral("Klar"));
        QCOMPARE(window.size(), QSize(680, 380));
        // Drawn as typed, markup and all: as wide as the plain text in the
        // label's letters, and those at least 28 points tall.
        QLabel* label = window.instructionLabel();
        const QRect ink = inkBounds(label->grab().toImage());
        QFont least = label->font();
        least.setPointSize(28);
        const QRect plain = label->fontMetrics().tightBoundingRect(typed);
        QVERIFY2(
            qAbs(ink.width() - plain.width()) <= 2,
            qPrintable(
                QStringLiteral("%1 wide, the plain text %2").arg(ink.width()).arg(plain.width())));
        const int leastHeight = QFontMetrics(least).tightBoundingRect(typed).height();
        QVERIFY2(
            ink.height() >= leastHeight,
            qPrintable(
                QStringLiteral("%1 tall, at 28 points %2").arg(ink.height()).arg(leastHeight)));
    }

    // The launcher's message when the working folder cannot be used, for a
    // home folder path of ordinary length and for a long one without spaces:
    // the whole text on the screen, wrapped, not one letter cut off.
    void longTextIsShownWhole_data() {
        QTest::addColumn<QString>("home");
        QTest::newRow("ordinary") << QStringLiteral("/home/anna");
        QTest::newRow("long, no spaces")
            << QStringLiteral("/srv/hem/elevhalsan/") + QString(100, u'x');
    }
    void longTextIsShownWhole() {
        QFETCH(QString, home);
        const QString text =
            QStringLiteral(
                "Mappen %1/Kelvu kan inte skapas eller öppnas. Ta bort eller byt namn "
                "på det som står där, eller ge dig själv skrivrätt, och starta Kelvu "
                "igen.")
                .arg(home);
        ExerciseWindow window({QStringLiteral("Kelvu"), text});
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.instructionLabel()->text(), text);
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(screen.size(), QSize(800, 600));
        QVERIFY(screen.contains(window.frameGeometry()));
        // Laid out apart from the label, the text needs no more room than it has.
        QLabel* label = window.instructionLabel();
        QTextDocument document;
        document.setDocumentMargin(0);
        document.setDefaultFont(label->font());
        QTextOption wrapping;
        wrapping.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        document.setDefaultTextOption(wrapping);
        document.setPlainText(text);
        document.setTextWidth(label->contentsRect().width());
        QVERIFY(document.size().height() <= label->contentsRect().height());
        // Drawn as laid out: the ink spans the text's height but for the room
        // above the capitals and below the last line, and nothing touches the
        // label's edges.
        const QImage shown = label->grab().toImage();
        const QRect ink = inkBounds(shown);
        QVERIFY(ink.bottom() - ink.top() >
                document.size().height() - label->fontMetrics().lineSpacing());
        QVERIFY(ink.top() > 0 && ink.left() > 0 && ink.bottom() < shown.height() - 1 &&
                ink.right() < shown.width() - 1);
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
