// The learner's window: menu reading, card layout and faces, starting the
// exercises in order, ending, and every failure as its run-time error.
#include "shared/controls/Svartbakgrund.h"
#include "tests/Layout.h"
#include "tests/RunnerTestSupport.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <optional>

using support::integer;
using support::quoted;
using support::savePicture;
using support::writeFile;

class TestRunner : public QObject, protected support::RunnerFixture {
    Q_OBJECT
private:
    // A menu of blank exercises that all name the same (absent) program.
    void writeSimpleMenu(int count, int cardType, bool withReward) {
        QList<QPair<QString, QString>> exercises;
        for (int k = 0; k < count; ++k)
            exercises.append({QStringLiteral("ovning%1.sh").arg(k), home()});
        if (withReward) savePicture(home(QStringLiteral("sol.png")), Qt::yellow, "PNG");
        writeMenu(count, cardType, exercises, withReward ? 0 : 1, home(),
                  QStringLiteral("sol.png"));
    }
    void click(int i) { QTest::mouseClick(card(i), Qt::LeftButton); }
    QList<int> visibleCards() const {
        QList<int> visible;
        for (std::size_t i = 0; i < m_form->cards().size(); ++i)
            if (!m_form->cards()[i]->isHidden()) visible.append(static_cast<int>(i));
        return visible;
    }

private slots:
    void init();
    void cleanup();

    void cardLayout_data();
    void cardLayout();
    void cardFaces_data();
    void cardFaces();
    void oneLineMenuGivesTheSameCards();
    void backdropIsBehindAndTakesNoInput();
    void pressOnTheBackdropBringsTheWindowBack();
    void backdropCoversEveryScreen();

    void clicksOutOfTurnDoNothing();
    void exercisesStartInOrderInTheirOwnFolders();
    void finalCardAloneEndsAtOnce();
    void noCardsWithoutReward();
    void closingTheWindowUnloadsTheBackdrop();

    void endingAtOnceRunsNoCloseHandler();

    void startUpFailures_data();
    void startUpFailures();
    void launchFailures_data();
    void launchFailures();

    void largePicturesAreReadAtTheSizeOfTheFace_data();
    void largePicturesAreReadAtTheSizeOfTheFace();
};

void TestRunner::init() {
    QVERIFY(setUp());
}

void TestRunner::cleanup() {
    tearDown();
}

void TestRunner::cardLayout_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("reward");
    QTest::addColumn<QList<int>>("visible");
    QTest::addColumn<QString>("client");  // the row of the window's client area

    const QString designed = QStringLiteral("Form1");
    QTest::newRow("N=0 with reward") << 0 << true << QList<int>{0} << designed;
    QTest::newRow("N=0 without reward") << 0 << false << QList<int>{} << designed;
    QTest::newRow("N=3 with reward") << 3 << true << QList<int>{0, 1, 2, 3} << designed;
    QTest::newRow("N=4 with reward") << 4 << true << QList<int>{0, 1, 2, 3, 4} << designed;
    QTest::newRow("N=8 without reward")
        << 8 << false << QList<int>{0, 1, 2, 3, 4, 5, 6, 7} << designed;
    // Cards beyond the designed client area widen the window so they can be reached.
    const QString wide = QStringLiteral("Form1 wide");
    QTest::newRow("N=8 with reward") << 8 << true << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8} << wide;
    QTest::newRow("N=9 without reward")
        << 9 << false << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8} << wide;
}

void TestRunner::cardLayout() {
    QFETCH(int, count);
    QFETCH(bool, reward);
    QFETCH(QList<int>, visible);
    QFETCH(QString, client);
    writeSimpleMenu(count, 0, reward);
    load();
    QVERIFY2(!m_error, m_error ? qPrintable(m_error->message()) : "");
    QCOMPARE(m_form->cards().size(), std::size_t(count + 1));
    QCOMPARE(visibleCards(), visible);
    for (int i = 0; i <= count; ++i)
        QCOMPARE(card(i)->geometry(),
                 layout::row("kelvu", qPrintable(QStringLiteral("Ruta(%1)").arg(i))).pixels);
    const layout::Row& area = layout::row("kelvu", qPrintable(client));
    QCOMPARE(m_form->size(), area.pixels.size());
    QCOMPARE(m_form->windowTitle(), QStringLiteral("Arbetsordning"));
    QCOMPARE(m_form->palette().color(QPalette::Window), QColor(area.background));
    if (count > 0)  // the digit inside the bevel
        layout::expectTextDrawnIn(card(0), card(0)->rect().adjusted(8, 8, -8, -8),
                                  "Times New Roman", 79.5, QFont::Normal, QStringLiteral("1"));
    QCOMPARE(card(count)->text(), QString());
    QCOMPARE(card(count)->hasPicture(), reward);
    layout::expectCentred(m_form.get());
    QCOMPARE(QDir::currentPath(), home());
}

void TestRunner::cardFaces_data() {
    QTest::addColumn<int>("cardType");
    QTest::addColumn<QString>("captions");  // one character a card; empty: no captions
    QTest::addColumn<bool>("pictures");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("reward");
    QTest::newRow("0 digits, 5 and a reward") << 0 << QStringLiteral("12345") << false << 5 << true;
    QTest::newRow("0 digits, 9") << 0 << QStringLiteral("123456789") << false << 9 << false;
    QTest::newRow("1 letters, 5 and a reward")
        << 1 << QStringLiteral("ABCDE") << false << 5 << true;
    QTest::newRow("1 letters, 8 and a reward")
        << 1 << QStringLiteral("ABCDEFGH") << false << 8 << true;
    QTest::newRow("1 letters, 9") << 1 << QStringLiteral("ABCDEFGHI") << false << 9 << false;
    QTest::newRow("2 pictures, 9") << 2 << QString() << true << 9 << false;
    QTest::newRow("2 pictures, 8 and a reward") << 2 << QString() << true << 8 << true;
    QTest::newRow("3 blank") << 3 << QString() << false << 5 << true;
    QTest::newRow("7 blank like 3") << 7 << QString() << false << 5 << true;
    QTest::newRow("-1 blank like 3") << -1 << QString() << false << 5 << true;
}

void TestRunner::cardFaces() {
    QFETCH(int, cardType);
    QFETCH(QString, captions);
    QFETCH(bool, pictures);
    QFETCH(int, count);
    QFETCH(bool, reward);
    // Each picture has a colour of its own: card k must show picture k + 1.
    // Every other one is a PNG under its .bmp name: the content decides.
    auto colour = [](int k) { return QColor::fromHsv(k * 40, 255, 200).toRgb(); };
    for (int k = 0; k < 9; ++k)
        savePicture(home(QStringLiteral("%1num.bmp").arg(k + 1)), colour(k), k % 2 ? "PNG" : "BMP");
    writeSimpleMenu(count, cardType, reward);
    load();
    QVERIFY2(!m_error, m_error ? qPrintable(m_error->message()) : "");
    for (int k = 0; k < count; ++k) {
        QCOMPARE(card(k)->text(), captions.isEmpty() ? QString() : QString(captions.at(k)));
        QCOMPARE(card(k)->hasPicture(), pictures);
        if (pictures) QCOMPARE(card(k)->picture().toImage().pixel(0, 0), colour(k).rgb());
    }
    // The final card never has a caption.
    QCOMPARE(card(count)->text(), QString());
    QCOMPARE(card(count)->isHidden(), !reward);
    if (reward) QCOMPARE(card(count)->picture().toImage().pixelColor(0, 0), QColor(Qt::yellow));
}

void TestRunner::oneLineMenuGivesTheSameCards() {
    savePicture(home(QStringLiteral("sol.png")), Qt::yellow, "PNG");
    writeFile(home(QStringLiteral("kelvu.ini")),
              "2,1,\"a.sh\",\"" + home().toUtf8() + "\",\"b.sh\",\"" + home().toUtf8() + "\",0,\"" +
                  home().toUtf8() + "\",\"sol.png\"");
    load();
    QVERIFY(!m_error);
    QCOMPARE(visibleCards(), (QList<int>{0, 1, 2}));
    QCOMPARE(card(0)->text(), QStringLiteral("A"));
    QCOMPARE(card(1)->text(), QStringLiteral("B"));
    QVERIFY(card(2)->hasPicture());
}

void TestRunner::backdropIsBehindAndTakesNoInput() {
    writeSimpleMenu(1, 0, false);
    load();
    Svartbakgrund* backdrop = m_form->backdrop();
    QVERIFY(backdrop);
    QVERIFY(backdrop->isVisible());
    QVERIFY(!backdrop->isEnabled());
    QCOMPARE(backdrop->focusPolicy(), Qt::NoFocus);
    QVERIFY(backdrop->windowTitle().trimmed().isEmpty());
    QCOMPARE(backdrop->geometry(), QGuiApplication::primaryScreen()->geometry());
    QVERIFY(backdrop->isFullScreen());  // over the panels, not only the work area
    QCOMPARE(backdrop->grab().toImage().pixelColor(5, 5), QColor(Qt::black));
    QVERIFY(backdrop->parentWidget() == nullptr);
    // The window manager keeps the runner's window in front of it.
    QCOMPARE(m_form->windowHandle()->transientParent(), backdrop->windowHandle());
    // Minimised (with the program's windows, as some window managers do):
    // back on the screen at once.
    backdrop->showMinimized();
    QTRY_VERIFY(!backdrop->isMinimized());
    QVERIFY(backdrop->isFullScreen() && backdrop->isVisible());
}

void TestRunner::pressOnTheBackdropBringsTheWindowBack() {
    writeSimpleMenu(1, 0, false);
    load();
    QWidget other;  // a window that took the focus after the start
    other.show();
    other.activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), &other);
    QTest::mousePress(m_form->backdrop()->windowHandle(), Qt::LeftButton, {}, QPoint(5, 5));
    QTRY_COMPARE(QApplication::activeWindow(), m_form.get());
    QTest::mouseRelease(m_form->backdrop()->windowHandle(), Qt::LeftButton, {}, QPoint(5, 5));
    // Minimised anyway: one press on the black brings it back, active.
    m_form->showMinimized();
    QTRY_VERIFY(m_form->isMinimized());
    QTest::mouseClick(m_form->backdrop()->windowHandle(), Qt::LeftButton, {}, QPoint(5, 5));
    QTRY_VERIFY(!m_form->isMinimized());
    QTRY_COMPARE(QApplication::activeWindow(), m_form.get());
    QVERIFY(!m_endStatus);
}

void TestRunner::backdropCoversEveryScreen() {
    // Also run with a second screen (tests/CMakeLists.txt): one black window
    // in full-screen state on each screen, the runner's window in the middle
    // of the first.
    writeSimpleMenu(1, 0, false);
    load();
    QList<QRect> covered;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!qobject_cast<Svartbakgrund*>(window) || !window->isVisible()) continue;
        QVERIFY(window->isFullScreen());
        QCOMPARE(window->grab().toImage().pixelColor(5, 5), QColor(Qt::black));
        covered << window->geometry();
    }
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens()) screens << screen->geometry();
    const auto byLeft = [](const QRect& a, const QRect& b) { return a.x() < b.x(); };
    std::sort(covered.begin(), covered.end(), byLeft);
    std::sort(screens.begin(), screens.end(), byLeft);
    QCOMPARE(covered, screens);
    const QPoint middle = QGuiApplication::primaryScreen()->availableGeometry().center();
    QVERIFY((m_form->geometry().center() - middle).manhattanLength() <= 1);
}

void TestRunner::clicksOutOfTurnDoNothing() {
    const QString folder = home(QStringLiteral("ovningar"));
    writeExercise(folder, QStringLiteral("a.sh"), QStringLiteral("a"));
    writeExercise(folder, QStringLiteral("b.sh"), QStringLiteral("b"));
    savePicture(home(QStringLiteral("sol.png")), Qt::yellow, "PNG");
    writeMenu(2, 0, {{QStringLiteral("a.sh"), folder}, {QStringLiteral("b.sh"), folder}}, 0, home(),
              QStringLiteral("sol.png"));
    load();
    click(1);  // before card 0
    click(2);  // the reward picture, with two exercises left
    QCOMPARE(visibleCards(), (QList<int>{0, 1, 2}));
    QVERIFY(!m_endStatus);
    click(0);
    QTRY_COMPARE_WITH_TIMEOUT(startedLog().size(), 1, 10000);
    click(2);  // one exercise still left
    QVERIFY(!m_endStatus);
    QCOMPARE(visibleCards(), (QList<int>{1, 2}));
    click(1);  // card 1 still works once card 0 has been started
    QTRY_COMPARE_WITH_TIMEOUT(startedLog().size(), 2, 10000);
    QCOMPARE(startedLog(),
             (QStringList{QStringLiteral("a ") + folder, QStringLiteral("b ") + folder}));
    QCOMPARE(visibleCards(), QList<int>{2});
    QVERIFY(!m_error);
    QVERIFY(!m_endStatus);
}

void TestRunner::exercisesStartInOrderInTheirOwnFolders() {
    // Two exercises with the same file name in different folders, one
    // folder with a space and a comma in its name.
    const QString first = home(QStringLiteral("första, mappen"));
    const QString second = home(QStringLiteral("andra"));
    writeExercise(first, QStringLiteral("spel.sh"), QStringLiteral("ett"));
    writeExercise(second, QStringLiteral("spel.sh"), QStringLiteral("två"));
    writeExercise(home(QStringLiteral("tredje")), QStringLiteral("tre.sh"), QStringLiteral("tre"));
    const QString pictures = home(QStringLiteral("bilder"));
    QDir().mkpath(pictures);
    savePicture(QDir(pictures).filePath(QStringLiteral("pris.jpg")), Qt::yellow, "JPG");
    writeMenu(3, 0,
              {{QStringLiteral("spel.sh"), first},
               {QStringLiteral("spel.sh"), second},
               {QStringLiteral("tre.sh"), home(QStringLiteral("tredje"))}},
              0, pictures, QStringLiteral("pris.jpg"));
    load();
    QVERIFY(!m_error);

    const QStringList expected = {QStringLiteral("ett ") + first, QStringLiteral("två ") + second,
                                  QStringLiteral("tre ") + home(QStringLiteral("tredje"))};
    for (int i = 0; i < 3; ++i) {
        click(i);
        QVERIFY(card(i)->isHidden());
        QCOMPARE(QDir::currentPath(), home());
        QTRY_COMPARE_WITH_TIMEOUT(startedLog().size(), i + 1, 10000);
        QCOMPARE(startedLog().at(i), expected.at(i));
        QVERIFY(!m_endStatus);
    }
    QCOMPARE(visibleCards(), QList<int>{3});
    click(3);
    QCOMPARE(m_endStatus, std::optional<int>(0));
    QVERIFY(!m_error);
    // Ending at once runs no unload handler: the backdrop is still loaded.
    QVERIFY(m_form->backdrop());
}

void TestRunner::finalCardAloneEndsAtOnce() {
    writeSimpleMenu(0, 0, true);
    load();
    QCOMPARE(visibleCards(), QList<int>{0});
    click(0);
    QCOMPARE(m_endStatus, std::optional<int>(0));
}

void TestRunner::noCardsWithoutReward() {
    writeSimpleMenu(0, 1, false);
    load();
    QVERIFY(!m_error);
    QVERIFY(visibleCards().isEmpty());
    QVERIFY(m_form->isVisible());
    QVERIFY(!m_endStatus);
}

void TestRunner::closingTheWindowUnloadsTheBackdrop() {
    writeSimpleMenu(2, 0, true);
    load();
    QVERIFY(m_form->backdrop()->isVisible());
    QVERIFY(m_form->close());
    QVERIFY(!m_form->backdrop());
    QVERIFY(!m_endStatus);
}

void TestRunner::startUpFailures_data() {
    QTest::addColumn<QByteArray>("menu");
    QTest::addColumn<QString>("message");  // HOME stands for the start folder
    const QByteArray here = quoted(QStringLiteral("HOME"));
    const QString e53 = QStringLiteral("Körfel 53: Filen hittades inte\n\n");
    const QString e481 = QStringLiteral("Körfel 481: Ogiltig bild\n\nFilen \"HOME/");
    const QString e9 =
        QStringLiteral("Körfel 9: Index utanför intervallet\n\nMenyn i \"HOME/kelvu.ini\" har ");
    const QString full =
        QStringLiteral(". Det får plats högst 9 övningar, eller 8 med belöningsbild.");
    QTest::newRow("no kelvu.ini") << QByteArray()
                                  << e53 + QStringLiteral("Filen \"HOME/kelvu.ini\" finns inte.");
    QTest::newRow("kelvu.ini cannot be opened")
        << QByteArray("FOLDER")
        << QStringLiteral(
               "Körfel 75: Fel vid åtkomst till sökväg eller fil\n\nFilen \"HOME/kelvu.ini\" är en "
               "mapp, inte en fil.");
    QTest::newRow("ends early")
        << QByteArray("2\r\n0\r\n\"a.sh\"\r\n")
        << QStringLiteral(
               "Körfel 62: Indata efter filslut\n\nFilen \"HOME/kelvu.ini\" tar slut innan värde 4 "
               "(mapp för övning 1) har lästs.");
    QTest::newRow("count 32768")
        << QByteArray("32768\r\n0\r\n1\r\n")
        << QStringLiteral(
               "Körfel 6: Spill\n\nI filen \"HOME/kelvu.ini\" ligger värde 1 (antal övningar) "
               "utanför −32768 till 32767: \"32768\".");
    QTest::newRow("card type not a number")
        << QByteArray("0\r\nx\r\n1\r\n")
        << QStringLiteral(
               "Körfel 13: Typerna stämmer inte överens\n\nI filen \"HOME/kelvu.ini\" är värde 2 "
               "(korttyp) inte ett heltal: \"x\".");
    QTest::newRow("ten exercises")
        << QByteArray("10\r\n0\r\n") + QByteArray("\"a\",\"b\"\r\n").repeated(10) + "1\r\n"
        << e9 + QStringLiteral("10 övningar") + full;
    QTest::newRow("nine exercises with reward")
        << QByteArray("9\r\n0\r\n") + QByteArray("\"a\",\"b\"\r\n").repeated(9) + "0\r\n" + here +
               quoted(QStringLiteral("sol.png"))
        << e9 + QStringLiteral("9 övningar och en belöningsbild") + full;
    QTest::newRow("negative count with reward")
        << QByteArray("-1\r\n0\r\n0\r\n") + here + quoted(QStringLiteral("sol.png"))
        << e9 + QStringLiteral("-1 övningar och en belöningsbild") + full;
    QTest::newRow("negative count without reward")
        << QByteArray("-1\r\n0\r\n1\r\n")
        << e9 + QStringLiteral("-1 övningar; kort -1 finns inte.");
    QTest::newRow("missing pictogram")
        << QByteArray("3\r\n2\r\n") + QByteArray("\"a\",\"b\"\r\n").repeated(3) + "1\r\n"
        << e53 + QStringLiteral("Bildfilen \"HOME/3num.bmp\" finns inte.");
    QTest::newRow("pictogram not a picture")
        << QByteArray("1\r\n2\r\n\"a\",\"b\"\r\n1\r\nBROKEN1")
        << e481 + QStringLiteral("1num.bmp\" är ingen bild som kan visas.");
    QTest::newRow("reward folder missing")
        << QByteArray("1\r\n0\r\n\"a\",\"b\"\r\n0\r\n") + quoted(QStringLiteral("HOME/borta")) +
               quoted(QStringLiteral("sol.png"))
        << QStringLiteral(
               "Körfel 76: Sökvägen hittades inte\n\nMappen \"HOME/borta\" för belöningsbilden "
               "finns inte.");
    QTest::newRow("reward picture missing")
        << QByteArray("1\r\n0\r\n\"a\",\"b\"\r\n0\r\n") + here + quoted(QStringLiteral("moln.png"))
        << e53 + QStringLiteral("Bildfilen \"HOME/moln.png\" finns inte.");
    QTest::newRow("reward not a picture")
        << QByteArray("1\r\n0\r\n\"a\",\"b\"\r\n0\r\n") + here + quoted(QStringLiteral("kelvu.ini"))
        << e481 + QStringLiteral("kelvu.ini\" är ingen bild som kan visas.");
}

void TestRunner::startUpFailures() {
    QFETCH(QByteArray, menu);
    QFETCH(QString, message);
    savePicture(home(QStringLiteral("sol.png")), Qt::yellow, "PNG");
    savePicture(home(QStringLiteral("1num.bmp")), Qt::red, "BMP");
    savePicture(home(QStringLiteral("2num.bmp")), Qt::red, "BMP");
    if (menu.endsWith("BROKEN1")) {
        menu.chop(7);
        writeFile(home(QStringLiteral("1num.bmp")), "inte en bild");
    }
    if (menu == "FOLDER")
        QVERIFY(QDir(home()).mkdir(QStringLiteral("kelvu.ini")));
    else if (!menu.isEmpty())
        writeFile(home(QStringLiteral("kelvu.ini")), menu.replace("HOME", home().toUtf8()));
    load();
    QVERIFY(m_error);
    QCOMPARE(m_error->message(), message.replace(QStringLiteral("HOME"), home()));
    QCOMPARE(m_endStatus, std::optional<int>(app::RuntimeErrorExitStatus));
    // The backdrop was already on the screen when the error came.
    QVERIFY(m_form->backdrop() && m_form->backdrop()->isVisible());
}

void TestRunner::launchFailures_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("message");  // %HOME% stands for the start folder
    QTest::newRow("folder missing")
        << QStringLiteral("saknas") << QStringLiteral("spel.sh")
        << QStringLiteral(
               "Körfel 76: Sökvägen hittades inte\n\nMappen \"%HOME%/saknas\" för övning 1 finns "
               "inte.");
    QTest::newRow("folder is a file")
        << QStringLiteral("ovningar/text.txt") << QStringLiteral("spel.sh")
        << QStringLiteral(
               "Körfel 76: Sökvägen hittades inte\n\nMappen \"%HOME%/ovningar/text.txt\" för "
               "övning 1 är ingen mapp.");
    QTest::newRow("program missing")
        << QStringLiteral("ovningar") << QStringLiteral("borta.sh")
        << QStringLiteral(
               "Körfel 53: Filen hittades inte\n\nProgrammet \"%HOME%/ovningar/borta.sh\" för "
               "övning 1 finns inte.");
    QTest::newRow("not executable")
        << QStringLiteral("ovningar") << QStringLiteral("text.txt")
        << QStringLiteral(
               "Körfel 75: Fel vid åtkomst till sökväg eller fil\n\nProgrammet "
               "\"%HOME%/ovningar/text.txt\" för övning 1 kan inte startas.");
}

void TestRunner::launchFailures() {
    QFETCH(QString, folder);
    QFETCH(QString, program);
    QFETCH(QString, message);
    writeExercise(home(QStringLiteral("ovningar")), QStringLiteral("spel.sh"), QStringLiteral("x"));
    writeFile(home(QStringLiteral("ovningar/text.txt")), "hej\n");
    writeMenu(1, 0, {{program, home(folder)}}, 1);
    load();
    QVERIFY(!m_error);
    click(0);
    QVERIFY(m_error);
    QCOMPARE(m_error->message(), message.replace(QStringLiteral("%HOME%"), home()));
    QCOMPARE(m_endStatus, std::optional<int>(app::RuntimeErrorExitStatus));
    QCOMPARE(QDir::currentPath(), home());
}

namespace {
class CountingWindow final : public QWidget {
public:
    int closes = 0;

protected:
    void closeEvent(QCloseEvent* event) override {
        ++closes;
        QWidget::closeEvent(event);
    }
};
}  // namespace

void TestRunner::endingAtOnceRunsNoCloseHandler() {
    // The real ending, without the observer the other tests use.
    app::setEndObserver({});
    CountingWindow window;
    window.show();
    QTimer::singleShot(0, &window, [] { app::endAtOnce(3); });
    const int status = QApplication::exec();
    app::setEndObserver([this](int s) { m_endStatus = s; });
    QCOMPARE(status, 3);
    QVERIFY(window.isHidden());
    QCOMPARE(window.closes, 0);
    QVERIFY(app::endRequested());

    // A run-time error in a handler shows the message and ends with a failure status.
    app::resetProgramControl();
    app::setEndObserver({});
    window.show();
    QTimer::singleShot(0, &window, [] {
        app::runHandler([] { throw core::RuntimeError(53, QStringLiteral("prov")); });
    });
    const int failed = QApplication::exec();
    app::setEndObserver([this](int s) { m_endStatus = s; });
    QCOMPARE(failed, app::RuntimeErrorExitStatus);
    QVERIFY(m_error && m_error->number() == 53);
    QCOMPARE(window.closes, 0);
    // Once ending, no further handler runs.
    bool ran = false;
    app::runHandler([&ran] { ran = true; });
    QVERIFY(!ran);
}

void TestRunner::largePicturesAreReadAtTheSizeOfTheFace_data() {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QSize>("kept");
    // A card is 137 pixels square, its face 6 pixels inside the bevel: 125.
    QTest::newRow("JPEG photo, wide") << QSize(1000, 500) << QByteArray("JPG") << QSize(125, 62);
    QTest::newRow("PNG, tall") << QSize(300, 900) << QByteArray("PNG") << QSize(41, 125);
    QTest::newRow("BMP, wider only") << QSize(200, 50) << QByteArray("BMP") << QSize(125, 31);
    QTest::newRow("BMP, the face") << QSize(125, 125) << QByteArray("BMP") << QSize(125, 125);
    QTest::newRow("BMP, smaller") << QSize(60, 40) << QByteArray("BMP") << QSize(60, 40);
}

void TestRunner::largePicturesAreReadAtTheSizeOfTheFace() {
    QFETCH(QSize, size);
    QFETCH(QByteArray, format);
    QFETCH(QSize, kept);
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::blue);
    // The card picture and the reward picture, each whatever its name says.
    QVERIFY(image.save(home(QStringLiteral("1num.bmp")), format.constData()));
    QVERIFY(image.save(home(QStringLiteral("pris.jpg")), format.constData()));
    writeMenu(1, 2, {{QStringLiteral("a.sh"), home()}}, 0, home(), QStringLiteral("pris.jpg"));
    load();
    QVERIFY2(!m_error, m_error ? qPrintable(m_error->message()) : "");
    QCOMPARE(card(0)->picture().size(), kept);
    QCOMPARE(card(1)->picture().size(), kept);
    // Still the picture: blue in the middle (JPEG may be a shade off).
    const QColor middle =
        card(1)->picture().toImage().pixelColor(kept.width() / 2, kept.height() / 2);
    QVERIFY2(middle.blue() > 240 && middle.red() < 16 && middle.green() < 16,
             qPrintable(middle.name()));
}

QTEST_MAIN(TestRunner)
#include "tst_runner.moc"
