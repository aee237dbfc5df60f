// The supervisor's main window driven through its controls: start-up, the
// count and the exercise list, card type and reward picture, and finishing.
#include "tests/SupervisorTestSupport.h"

#include "tests/FolderLock.h"
#include "tests/Layout.h"

#include "shared/controls/SSPanel.h"
#include "shared/controls/Svartbakgrund.h"

#include <QStyleOptionSlider>

using namespace support;

namespace {

const QString CountMessage = QStringLiteral("Antal övningar är större än Valda övningar!");
const QString PictureMessage = QStringLiteral("Ingen belöningsbild är vald!");

QByteArray menuBytes(const QString& home) {
    const QByteArray h = QDir::toNativeSeparators(home).toUtf8();
    return "2\r\n1\r\n\"räkna.exe\"\r\n\"" + h + "\"\r\n\"läsa.exe\"\r\n\"" + h +
           "/läsa\"\r\n0\r\n\"" + h + "\"\r\n\"sol.bmp\"\r\n";
}

}  // namespace

class TestSupervisorWindow : public QObject {
    Q_OBJECT
private slots:
    void opensInItsInitialStateWithoutAMenu();
    void layoutAsDesigned();
    void opensTheActiveMenu();
    void rewardChoiceOneLeavesThePictureGreyed();
    void brokenActiveMenuIsReportedAndLeftAlone_data();
    void brokenActiveMenuIsReportedAndLeftAlone();

    void countSnapsBackBelowTheListedCount();
    void countChangesOnlyWhenADragEnds();
    void listStartsWithNothingChosen_data();
    void listStartsWithNothingChosen();
    void addingFillsBothListsUpToTheCount();
    void removingKeepsTheListsPaired();
    void cancelledDialogsChangeNothing();
    void namesAMenuCannotHoldAreRefused();

    void rewardChoiceGreysAndRestoresThePicture();
    void pickingAPictureFillsFolderAndName();

    void finishingChecksInTheirOrder();
    void okWritesTheActiveMenuAndEnds();
    void okThatCannotWriteKeepsEverything();
    void avbrytAndTheCloseBoxWriteNothing();
    void nyKeepsCountCardTypeAndRewardChoice();
};

void TestSupervisorWindow::opensInItsInitialStateWithoutAMenu() {
    Supervisor program;
    Form1& form = program.start();
    QVERIFY(program.errors.empty());
    QVERIFY(!program.endStatus);
    QCOMPARE(form.windowTitle(), QStringLiteral("Kelvu handledarsektion"));
    QCOMPARE(form.Label3->text(), QStringLiteral("3"));
    QCOMPARE(form.VScroll1->value(), 3);
    QCOMPARE(Global::WantedCount, qint16(3));
    QCOMPARE(form.Option3D2->selectedIndex(), 0);
    QCOMPARE(form.Option3D1->selectedIndex(), 0);
    QCOMPARE(form.List1->count(), 0);
    QCOMPARE(form.Label8->text(), QString());
    QCOMPARE(Global::HomeDir, program.home());
    QVERIFY(form.backdrop() && form.backdrop()->isVisible());
    QTRY_COMPARE(QApplication::focusWidget(), form.List1);
    QVERIFY(!QFile::exists(program.home(QStringLiteral("kelvu.ini"))));

    // The first menu can be made and saved from here.
    const QString game = program.makeFile(QStringLiteral("spel/spel.exe"));
    program.buildMenu({game, game, game}, 3, QString());
    QCOMPARE(messageFrom([&] { program.click(form.Command3D2); }), std::nullopt);
    QCOMPARE(program.endStatus, std::optional<int>(0));
    const QByteArray folder = program.folderText(QStringLiteral("spel")).toUtf8();
    QCOMPARE(
        readFile(program.home(QStringLiteral("kelvu.ini"))),
        "3\r\n3\r\n" + QByteArray("\"spel.exe\"\r\n\"" + folder + "\"\r\n").repeated(3) + "1\r\n");
}

void TestSupervisorWindow::layoutAsDesigned() {
    Supervisor program;
    Form1& form = program.start();
    layout::expectCentred(&form);
    layout::expectDesign("kelvuadm", {
                                         {"Form1", &form},
                                         {"Line1", form.Line1},
                                         {"Line2", form.Line2},
                                         {"Label4", form.Label4},
                                         {"Label3", form.Label3},
                                         {"VScroll1", form.VScroll1},
                                         {"Label2", form.Label2},
                                         {"List1", form.List1},
                                         {"List2", form.List2},
                                         {"Command3D1", form.Command3D1},
                                         {"Label1", form.Label1},
                                         {"Panel3D2", form.Panel3D2},
                                         {"Option3D1(0)", form.Option3D1->option(0)},
                                         {"Option3D1(1)", form.Option3D1->option(1)},
                                         {"Label9", form.Label9},
                                         {"Label8", form.Label8},
                                         {"SSCommand1", form.SSCommand1},
                                         {"Label5", form.Label5},
                                         {"Label7", form.Label7},
                                         {"Panel3D1", form.Panel3D1},
                                         {"Option3D2(0)", form.Option3D2->option(0)},
                                         {"Option3D2(1)", form.Option3D2->option(1)},
                                         {"Option3D2(2)", form.Option3D2->option(2)},
                                         {"Option3D2(3)", form.Option3D2->option(3)},
                                         {"Command3D2", form.Command3D2},
                                         {"Command3D3", form.Command3D3},
                                         {"SSCommand4", form.SSCommand4},
                                         {"SSCommand3", form.SSCommand3},
                                         {"SSCommand2", form.SSCommand2},
                                     });
    // The window's own font, 12 points bold, on a button that keeps it.
    layout::expectTextDrawnIn(form.Command3D1, form.Command3D1->rect().adjusted(4, 4, -4, -4),
                              "MS Sans Serif", 12, QFont::Bold, QStringLiteral("Lägg till övning"));

    const std::pair<QWidget*, QString> captions[] = {
        {form.Label4, QStringLiteral("Antal övningar:")},
        {form.Label2, QStringLiteral("Valda övningar:")},
        {form.Command3D1, QStringLiteral("Lägg till övning")},
        {form.Label1, QStringLiteral("Belöningsbild / vad händer sedan?")},
        {form.Option3D1->option(0), QStringLiteral("På")},
        {form.Option3D1->option(1), QStringLiteral("Av")},
        {form.Label9, QStringLiteral("Vald bild:")},
        {form.SSCommand1, QStringLiteral("Lägg till bild")},
        {form.Label7, QStringLiteral("Typ av bilder på korten")},
        {form.Option3D2->option(0), QStringLiteral("Siffror")},
        {form.Option3D2->option(1), QStringLiteral("Bokstäver")},
        {form.Option3D2->option(2), QStringLiteral("Pictogram")},
        {form.Option3D2->option(3), QStringLiteral("Former")},
        {form.Command3D2, QStringLiteral("OK")},
        {form.Command3D3, QStringLiteral("Avbryt")},
        {form.SSCommand4, QStringLiteral("Ny")},
        {form.SSCommand3, QStringLiteral("Hämta")},
        {form.SSCommand2, QStringLiteral("Spara som")},
    };
    for (const auto& [widget, text] : captions) {
        const QString shown = qobject_cast<QLabel*>(widget)
                                  ? qobject_cast<QLabel*>(widget)->text()
                                  : qobject_cast<QAbstractButton*>(widget)->text();
        QCOMPARE(shown, text);
    }

    QVERIFY(form.List2->isHidden());
    QVERIFY(form.Label5->isHidden());
    layout::expectTextDrawnIn(form.Label3, form.Label3->rect().adjusted(2, 2, -2, -2),
                              "Times New Roman", 30, QFont::Normal, QStringLiteral("3"));
    // Beside the option's round mark.
    layout::expectTextDrawnIn(form.Option3D2->option(1),
                              form.Option3D2->option(1)->rect().adjusted(20, 0, 0, 0),
                              "MS Sans Serif", 9.75, QFont::Bold, QStringLiteral("Bokstäver"));

    // Tab order.
    QList<QWidget*> expected = {form.List1,
                                form.VScroll1,
                                form.Command3D1,
                                form.Option3D1->option(0),
                                form.Option3D1->option(1),
                                form.Command3D2,
                                form.Command3D3,
                                form.Option3D2->option(0),
                                form.Option3D2->option(1),
                                form.Option3D2->option(2),
                                form.Option3D2->option(3),
                                form.SSCommand1,
                                form.SSCommand2,
                                form.SSCommand3,
                                form.SSCommand4};
    auto nextTabStop = [&form](QWidget* widget) {
        do widget = widget->nextInFocusChain();
        while (!(widget->focusPolicy() & Qt::TabFocus) || !widget->isVisibleTo(&form) ||
               widget->focusProxy());
        return widget;
    };
    for (qsizetype i = 0; i + 1 < expected.size(); ++i)
        QCOMPARE(nextTabStop(expected[i]), expected[i + 1]);
}

void TestSupervisorWindow::opensTheActiveMenu() {
    Supervisor program;
    writeFile(program.home(QStringLiteral("kelvu.ini")), menuBytes(program.home()));
    Form1& form = program.start();
    QVERIFY(program.errors.empty());
    QCOMPARE(form.Label3->text(), QStringLiteral("2"));
    QCOMPARE(form.VScroll1->value(), 2);
    QCOMPARE(Global::ListedCount, qint16(2));
    QCOMPARE(Global::WantedCount, qint16(2));
    QCOMPARE(items(form.List1),
             (QStringList{QStringLiteral("räkna.exe"), QStringLiteral("läsa.exe")}));
    QCOMPARE(items(form.List2),
             (QStringList{program.folderText(QString()),
                          program.folderText(QString()) + QStringLiteral("/läsa")}));
    QCOMPARE(form.Option3D2->selectedIndex(), 1);
    QCOMPARE(form.Option3D1->selectedIndex(), 0);
    QCOMPARE(form.Label8->text(), QStringLiteral("sol.bmp"));
    QCOMPARE(form.Label5->text(), program.folderText(QString()));
    QVERIFY(form.Label8->isEnabled());
}

void TestSupervisorWindow::rewardChoiceOneLeavesThePictureGreyed() {
    Supervisor program;
    writeFile(program.home(QStringLiteral("kelvu.ini")), "1\r\n2\r\n\"a.exe\"\r\n\"/x\"\r\n1\r\n");
    Form1& form = program.start();
    QCOMPARE(form.Option3D1->selectedIndex(), 1);
    QCOMPARE(form.Option3D2->selectedIndex(), 2);
    QVERIFY(!form.Label8->isEnabled());
    QCOMPARE(form.Label8->palette().color(QPalette::Window), QColor(layout::MenuGrey));
    QCOMPARE(form.Label8->text(), QString());
}

void TestSupervisorWindow::brokenActiveMenuIsReportedAndLeftAlone_data() {
    QTest::addColumn<QByteArray>("menu");
    QTest::addColumn<QString>("message");  // %MENU% stands for the menu's path
    const QString e380 =
        QStringLiteral("Körfel 380: Ogiltigt egenskapsvärde\n\nI filen \"%MENU%\" ");
    const QString e9 = QStringLiteral("Körfel 9: Index utanför intervallet\n\nI filen \"%MENU%\" ");
    QTest::newRow("count 0") << QByteArray("0\r\n0\r\n1\r\n")
                             << e380 + QStringLiteral(
                                           "är antalet övningar 0, men får bara vara 1 till 7.");
    QTest::newRow("count 8") << QByteArray("8\r\n0\r\n")
                             << e380 + QStringLiteral(
                                           "är antalet övningar 8, men får bara vara 1 till 7.");
    QTest::newRow("card type 4") << QByteArray("1\r\n4\r\n\"a\"\r\n\"b\"\r\n1\r\n")
                                 << e9 + QStringLiteral(
                                             "är korttypen 4, men får bara vara 0 till 3.");
    QTest::newRow("reward choice 2")
        << QByteArray("1\r\n0\r\n\"a\"\r\n\"b\"\r\n2\r\n")
        << e9 + QStringLiteral("är valet av belöningsbild 2, men får bara vara 0 till 1.");
    QTest::newRow("ends early")
        << QByteArray("2\r\n0\r\n\"a\"\r\n\"b\"\r\n")
        << QStringLiteral(
               "Körfel 62: Indata efter filslut\n\nFilen \"%MENU%\" tar slut innan värde 5 "
               "(filnamn för övning 2) har lästs.");
    QTest::newRow("not a number")
        << QByteArray("[meny]\r\n")
        << QStringLiteral(
               "Körfel 13: Typerna stämmer inte överens\n\nI filen \"%MENU%\" är värde 1 (antal "
               "övningar) inte ett heltal: \"[meny]\".");
}

void TestSupervisorWindow::brokenActiveMenuIsReportedAndLeftAlone() {
    QFETCH(QByteArray, menu);
    QFETCH(QString, message);
    Supervisor program;
    const QString path = program.home(QStringLiteral("kelvu.ini"));
    writeFile(path, menu);
    Form1& form = program.start();
    QCOMPARE(program.errors.size(), std::size_t(1));
    QCOMPARE(program.errors.front().message(), message.replace(QStringLiteral("%MENU%"), path));
    QVERIFY(!program.endStatus);
    // The window opens in its initial state; the file is not touched.
    QVERIFY(form.isVisible());
    QCOMPARE(form.Label3->text(), QStringLiteral("3"));
    QCOMPARE(form.VScroll1->value(), 3);
    QCOMPARE(form.List1->count(), 0);
    QCOMPARE(Global::ListedCount, qint16(0));
    QCOMPARE(form.Option3D2->selectedIndex(), 0);
    QCOMPARE(form.Option3D1->selectedIndex(), 0);
    QCOMPARE(readFile(path), menu);
}

void TestSupervisorWindow::countSnapsBackBelowTheListedCount() {
    Supervisor program;
    Form1& form = program.start();
    const QString game = program.makeFile(QStringLiteral("spel.exe"));
    program.stepCountTo(4);
    QCOMPARE(Global::WantedCount, qint16(4));
    QCOMPARE(form.Label3->text(), QStringLiteral("4"));
    program.addExercise(game);
    program.addExercise(game);
    QCOMPARE(Global::ListedCount, qint16(2));

    // Dragged straight to 1, below the two listed: snaps back.
    form.VScroll1->triggerAction(QAbstractSlider::SliderToMinimum);
    QCOMPARE(form.VScroll1->value(), 4);
    QCOMPARE(form.Label3->text(), QStringLiteral("4"));
    QCOMPARE(Global::WantedCount, qint16(4));

    program.stepCountTo(2);  // exactly the listed count is accepted
    QCOMPARE(Global::WantedCount, qint16(2));
    QCOMPARE(form.Label3->text(), QStringLiteral("2"));
    program.stepCountTo(1);
    QCOMPARE(form.VScroll1->value(), 2);
    QCOMPARE(form.Label3->text(), QStringLiteral("2"));

    program.stepCountTo(7);  // raising adds nothing
    QCOMPARE(Global::WantedCount, qint16(7));
    QCOMPARE(form.List1->count(), 2);
    program.stepCountTo(9);
    QCOMPARE(form.VScroll1->value(), 7);
}

void TestSupervisorWindow::countChangesOnlyWhenADragEnds() {
    Supervisor program;
    Form1& form = program.start();
    QScrollBar* bar = form.VScroll1;
    QVERIFY(!bar->hasTracking());
    program.stepCountTo(5);
    const QString game = program.makeFile(QStringLiteral("spel.exe"));
    program.addExercise(game);
    program.addExercise(game);

    // The thumb dragged with the mouse from 5 to the top, past the two listed.
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = Qt::Vertical;
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    const QPoint thumb =
        bar->style()
            ->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, bar)
            .center();
    QTest::mousePress(bar, Qt::LeftButton, {}, thumb);
    QTest::mouseMove(bar, QPoint(thumb.x(), thumb.y() - 20));
    QTest::mouseMove(bar, QPoint(thumb.x(), 0));
    QCOMPARE(bar->sliderPosition(), 1);  // the thumb is at the top
    QCOMPARE(bar->value(), 5);           // but nothing has changed yet
    QCOMPARE(form.Label3->text(), QStringLiteral("5"));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(thumb.x(), 0));
    QCOMPARE(bar->value(), 5);  // back at the count before the drag
    QCOMPARE(bar->sliderPosition(), 5);
    QCOMPARE(form.Label3->text(), QStringLiteral("5"));
    QCOMPARE(Global::WantedCount, qint16(5));

    // The same drag released at 2 is taken.
    QTest::mousePress(bar, Qt::LeftButton, {}, thumb);
    int y = thumb.y();
    while (y > 0 && bar->sliderPosition() > 2) QTest::mouseMove(bar, QPoint(thumb.x(), --y));
    QCOMPARE(bar->sliderPosition(), 2);
    QCOMPARE(form.Label3->text(), QStringLiteral("5"));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(thumb.x(), y));
    QCOMPARE(bar->value(), 2);
    QCOMPARE(form.Label3->text(), QStringLiteral("2"));
    QCOMPARE(Global::WantedCount, qint16(2));
}

void TestSupervisorWindow::listStartsWithNothingChosen_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("row");
    QTest::newRow("Down") << int(Qt::Key_Down) << 0;
    QTest::newRow("Up") << int(Qt::Key_Up) << 0;
    QTest::newRow("Home") << int(Qt::Key_Home) << 0;
    QTest::newRow("End") << int(Qt::Key_End) << 2;
}

void TestSupervisorWindow::listStartsWithNothingChosen() {
    QFETCH(int, key);
    QFETCH(int, row);
    Supervisor program;
    const QByteArray h = QDir::toNativeSeparators(program.home()).toUtf8();
    writeFile(program.home(QStringLiteral("kelvu.ini")),
              "3\r\n0\r\n\"ett.exe\"\r\n\"" + h + "\"\r\n\"tv\xc3\xa5.exe\"\r\n\"" + h +
                  "\"\r\n\"tre.exe\"\r\n\"" + h + "\"\r\n1\r\n");
    Form1& form = program.start();
    QListWidget* list = form.List1;
    QCOMPARE(list->count(), 3);
    QTRY_COMPARE(QApplication::focusWidget(), list);  // the focus on opening
    QCOMPARE(list->currentRow(), -1);                 // no entry current, none selected
    QVERIFY(list->selectedItems().isEmpty());
    QTest::keyClick(list, Qt::Key(key));
    QCOMPARE(list->currentRow(), row);
    QCOMPARE(list->selectedItems(), QList<QListWidgetItem*>{list->item(row)});
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(list->currentRow(), row == 2 ? 2 : 1);

    // After the selected entry is removed, the keys start from the top again.
    program.doubleClickEntry(1);
    QCOMPARE(items(list), (QStringList{QStringLiteral("ett.exe"), QStringLiteral("tre.exe")}));
    list->clearSelection();
    QTest::keyClick(list, Qt::Key(key));
    QCOMPARE(list->currentRow(), row == 2 ? 1 : 0);
    QCOMPARE(list->selectedItems().size(), 1);
}

void TestSupervisorWindow::addingFillsBothListsUpToTheCount() {
    Supervisor program;
    Form1& form = program.start();
    const QString first = program.makeFile(QStringLiteral("övningar/räkna.exe"));
    const QString second = program.makeFile(QStringLiteral("andra, mappen/<b>läsa.exe"));
    program.setCount(3);

    FileDialogSeen seen;
    QVERIFY(program.addExercise(first, &seen));
    QCOMPARE(seen.title, QStringLiteral("Hämta fil"));
    QCOMPARE(seen.nameFilters.value(0), QStringLiteral("Program fil (*.exe)"));
#ifndef Q_OS_WIN
    QCOMPARE(seen.nameFilters.value(1), QStringLiteral("Alla filer (*)"));
#else
    QCOMPARE(seen.nameFilters.size(), 1);
#endif
    QCOMPARE(seen.directory, program.home());
    QCOMPARE(QDir::currentPath(), program.home());
    QVERIFY(program.addExercise(second));
    QVERIFY(program.addExercise(first));  // the same program twice
    QCOMPARE(items(form.List1),
             (QStringList{QStringLiteral("räkna.exe"), QStringLiteral("<b>läsa.exe"),
                          QStringLiteral("räkna.exe")}));
    QCOMPARE(items(form.List2), (QStringList{program.folderText(QStringLiteral("övningar")),
                                             program.folderText(QStringLiteral("andra, mappen")),
                                             program.folderText(QStringLiteral("övningar"))}));
    QCOMPARE(Global::ListedCount, qint16(3));

    // A full list ignores the button: no dialog opens.
    QVERIFY(!program.addExercise(first));
    QCOMPARE(form.List1->count(), 3);
}

void TestSupervisorWindow::removingKeepsTheListsPaired() {
    Supervisor program;
    Form1& form = program.start();
    program.setCount(3);
    for (const char* name : {"a/ett.exe", "b/två.exe", "c/tre.exe"})
        program.addExercise(program.makeFile(QString::fromUtf8(name)));

    program.doubleClickEntry(1);
    QCOMPARE(items(form.List1),
             (QStringList{QStringLiteral("ett.exe"), QStringLiteral("tre.exe")}));
    QCOMPARE(items(form.List2), (QStringList{program.folderText(QStringLiteral("a")),
                                             program.folderText(QStringLiteral("c"))}));
    QCOMPARE(Global::ListedCount, qint16(2));
    QCOMPARE(form.Label3->text(), QStringLiteral("3"));
    QCOMPARE(Global::WantedCount, qint16(3));

    // The freed place can be filled again.
    QVERIFY(program.addExercise(program.makeFile(QStringLiteral("d/fyra.exe"))));
    QCOMPARE(items(form.List1).last(), QStringLiteral("fyra.exe"));
    QCOMPARE(items(form.List2).last(), program.folderText(QStringLiteral("d")));

    // A double-click beside the entries removes nothing.
    form.List1->setCurrentRow(0);
    QTest::mouseDClick(form.List1->viewport(), Qt::LeftButton, {},
                       QPoint(5, form.List1->viewport()->height() - 3));
    QCOMPARE(form.List1->count(), 3);
    QCOMPARE(form.List2->count(), 3);
    QCOMPARE(Global::ListedCount, qint16(3));

    for (int i = 0; i < 3; ++i) program.doubleClickEntry(0);
    QCOMPARE(form.List1->count(), 0);
    QCOMPARE(form.List2->count(), 0);
    QCOMPARE(Global::ListedCount, qint16(0));
}

void TestSupervisorWindow::cancelledDialogsChangeNothing() {
    Supervisor program;
    Form1& form = program.start();
    program.setCount(2);
    QVERIFY(program.addExercise(QString()));
    QCOMPARE(form.List1->count(), 0);
    QCOMPARE(Global::ListedCount, qint16(0));
    QVERIFY(program.pickPicture(program.makeFile(QStringLiteral("bilder/sol.bmp"))));
    QVERIFY(program.pickPicture(QString()));
    QCOMPARE(form.Label8->text(), QStringLiteral("sol.bmp"));
    QCOMPARE(form.Label5->text(), program.folderText(QStringLiteral("bilder")));
    QCOMPARE(QDir::currentPath(), program.home());
}

void TestSupervisorWindow::namesAMenuCannotHoldAreRefused() {
#ifdef Q_OS_WIN
    QSKIP("Windows file names cannot hold a quotation mark");
#endif
    Supervisor program;
    Form1& form = program.start();
    program.setCount(2);
    // Qt's file dialog cannot accept a file name with a quotation mark, but a
    // folder may hold one, or a line break.
    const QString quoted = program.makeFile(QStringLiteral("rad\nbrytning/spel.exe"));
    // The refusal is said in a "Fel" box that names the file, inside the same click.
    auto clickAndChoose = [&](QAbstractButton* button, const QString& path) {
        whileModal<QFileDialog>([&] { program.click(button); },
                                [&](QFileDialog* d) { chooseInFileList(d, path); });
    };
    auto message = messageFrom([&] { clickAndChoose(form.Command3D1, quoted); });
    QVERIFY(message);
    QCOMPARE(message->title, QStringLiteral("Fel"));
    QVERIFY(program.errors.empty());
    QCOMPARE(form.List1->count(), 0);
    QCOMPARE(Global::ListedCount, qint16(0));
    // A name of 120 line breaks is quoted short, each break a visible sign,
    // in a box that fits the smallest screen.
    const QString lines =
        program.makeFile(QStringLiteral("rader") + QStringLiteral("\na").repeated(120) +
                         QStringLiteral("/spel.exe"));
    message = messageFrom([&] { clickAndChoose(form.Command3D1, lines); });
    QVERIFY(message);
    QCOMPARE(message->text, QStringLiteral("Filen \"…") + QStringLiteral("␊a").repeated(35) +
                                QStringLiteral("/spel.exe\" kan inte väljas: namnet eller "
                                               "mappen innehåller citattecken eller "
                                               "radbrytning, och sådana kan inte sparas i "
                                               "menyn."));
    QVERIFY(QRect(0, 0, 800, 600).contains(message->geometry));
    QCOMPARE(form.List1->count(), 0);

    const QString broken = program.makeFile(QStringLiteral("citat\"mapp/<b>sol.bmp"));
    message = messageFrom([&] { clickAndChoose(form.SSCommand1, broken); });
    QVERIFY(message);
    QCOMPARE(message->title, QStringLiteral("Fel"));
    QCOMPARE(message->icon, QMessageBox::Information);
    QVERIFY(message->text.contains(QStringLiteral("<b>sol.bmp")));
    QCOMPARE(form.Label8->text(), QString());
    QCOMPARE(form.Label5->text(), QString());
}

void TestSupervisorWindow::rewardChoiceGreysAndRestoresThePicture() {
    Supervisor program;
    Form1& form = program.start();
    program.pickPicture(program.makeFile(QStringLiteral("sol.gif")));
    // The darkest colour of the name as it is drawn.
    auto ink = [&form] {
        const QImage shown = form.Label8->grab().toImage();
        QColor darkest = Qt::white;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                if (shown.pixelColor(x, y).lightness() < darkest.lightness())
                    darkest = shown.pixelColor(x, y);
        return darkest;
    };
    program.chooseReward(1);
    QVERIFY(!form.Label8->isEnabled());
    QCOMPARE(form.Label8->text(), QStringLiteral("sol.gif"));
    QCOMPARE(form.Label8->palette().color(QPalette::Window), QColor(layout::MenuGrey));
    QCOMPARE(ink(), QColor(layout::DisabledText));
    QVERIFY(form.SSCommand1->isEnabled());
    program.chooseReward(0);
    QVERIFY(form.Label8->isEnabled());
    QCOMPARE(form.Label8->text(), QStringLiteral("sol.gif"));
    QCOMPARE(form.Label8->palette().color(QPalette::Window), QColor(layout::White));
    QCOMPARE(ink(), QColor(Qt::black));
    // Clicking the option that is already set keeps it set.
    program.chooseReward(0);
    QCOMPARE(form.Option3D1->selectedIndex(), 0);
}

void TestSupervisorWindow::pickingAPictureFillsFolderAndName() {
    Supervisor program;
    Form1& form = program.start();
    program.chooseReward(1);  // a pick while "Av" is chosen fills the names all the same
    FileDialogSeen seen;
    QVERIFY(program.pickPicture(program.makeFile(QStringLiteral("bilder/glad sol.jpg")), &seen));
    QCOMPARE(seen.title, QStringLiteral("Hämta "));
    QCOMPARE(seen.nameFilters, QStringList{QStringLiteral("Bild fil (*.bmp *.jpg *.gif)")});
    QCOMPARE(seen.directory, program.home());
    QCOMPARE(form.Label8->text(), QStringLiteral("glad sol.jpg"));
    QCOMPARE(form.Label5->text(), program.folderText(QStringLiteral("bilder")));
    QVERIFY(!form.Label8->isEnabled());
    QCOMPARE(QDir::currentPath(), program.home());
    // A new pick replaces the earlier one.
    QVERIFY(program.pickPicture(program.makeFile(QStringLiteral("<b>moln.bmp"))));
    QCOMPARE(shownText(form.Label8), QStringLiteral("<b>moln.bmp"));
    QCOMPARE(form.Label5->text(), program.folderText(QString()));

    // While "Av" stays chosen the menu gets no picture lines.
    program.setCount(1);
    program.addExercise(program.makeFile(QStringLiteral("spel.exe")));
    kelvuadm::Form4* save = program.clickSaveAs();
    QVERIFY(save);
    save->Text1->setText(QStringLiteral("utan"));
    program.click(save->Command3D1);
    QCOMPARE(
        readFile(program.home(QStringLiteral("utan.ini"))),
        "1\r\n0\r\n\"spel.exe\"\r\n\"" + program.folderText(QString()).toUtf8() + "\"\r\n1\r\n");
}

void TestSupervisorWindow::finishingChecksInTheirOrder() {
    Supervisor program;
    Form1& form = program.start();
    const QString game = program.makeFile(QStringLiteral("spel.exe"));
    program.setCount(5);
    for (int i = 0; i < 3; ++i) program.addExercise(game);

    // Both conditions hold: only the count message, from "OK" and from "Spara som".
    for (QAbstractButton* button : {static_cast<QAbstractButton*>(form.Command3D2),
                                    static_cast<QAbstractButton*>(form.SSCommand2)}) {
        auto message = messageFrom([&] { program.click(button); });
        QVERIFY(message);
        QCOMPARE(message->text, CountMessage);
        QCOMPARE(message->title, QStringLiteral("Fel"));
        QCOMPARE(message->icon, QMessageBox::Information);
        QCOMPARE(message->buttons, 1);
        QVERIFY(form.isEnabled());
        QVERIFY(!program.openDialog<kelvuadm::Form4>());
    }
    QVERIFY(!program.endStatus);
    QVERIFY(!QFile::exists(program.home(QStringLiteral("kelvu.ini"))));

    program.setCount(3);
    auto message = messageFrom([&] { program.click(form.Command3D2); });
    QVERIFY(message);
    QCOMPARE(message->text, PictureMessage);
    QCOMPARE(message->title, QStringLiteral("Fel"));
    message = messageFrom([&] { program.click(form.SSCommand2); });
    QVERIFY(message);
    QCOMPARE(message->text, PictureMessage);
    QVERIFY(!QFile::exists(program.home(QStringLiteral("kelvu.ini"))));

    // "Av" with no picture passes.
    program.chooseReward(1);
    QCOMPARE(messageFrom([&] { program.click(form.SSCommand2); }), std::nullopt);
    QVERIFY(program.openDialog<kelvuadm::Form4>());
    QVERIFY(!form.isEnabled());
}

void TestSupervisorWindow::okWritesTheActiveMenuAndEnds() {
    Supervisor program;
    writeFile(program.home(QStringLiteral("kelvu.ini")), "gammal");
    Form1& form = program.start();  // the broken file is reported
    QCOMPARE(program.errors.size(), std::size_t(1));
    const QString game = program.makeFile(QStringLiteral("ö v/spel.exe"));
    const QString picture = program.makeFile(QStringLiteral("bilder/sol.bmp"));
    program.buildMenu({game, game}, 2, picture);
    QCOMPARE(messageFrom([&] { program.click(form.Command3D2); }), std::nullopt);
    QCOMPARE(program.endStatus, std::optional<int>(0));
    // Ending at once runs no unload handler.
    QVERIFY(form.backdrop());
    const QByteArray folder = program.folderText(QStringLiteral("ö v")).toUtf8();
    QCOMPARE(readFile(program.home(QStringLiteral("kelvu.ini"))),
             "2\r\n2\r\n" + QByteArray("\"spel.exe\"\r\n\"" + folder + "\"\r\n").repeated(2) +
                 "0\r\n\"" + program.folderText(QStringLiteral("bilder")).toUtf8() +
                 "\"\r\n\"sol.bmp\"\r\n");
}

void TestSupervisorWindow::okThatCannotWriteKeepsEverything() {
    Supervisor program;
    Form1& form = program.start();
    const QString game = program.makeFile(QStringLiteral("spel.exe"));
    program.buildMenu({game}, 1, QString());
    // A folder stands where the menu file should be written.
    QVERIFY(QDir(program.home()).mkdir(QStringLiteral("kelvu.ini")));
    program.click(form.Command3D2);
    QCOMPARE(program.errors.size(), std::size_t(1));
    QCOMPARE(program.errors.front().number(), 75);
    QVERIFY(program.errors.front().description().contains(QStringLiteral("kelvu.ini")));
    QVERIFY(!program.endStatus);
    QVERIFY(form.isEnabled());
    QCOMPARE(items(form.List1), QStringList{QStringLiteral("spel.exe")});
    QVERIFY(QFileInfo(program.home(QStringLiteral("kelvu.ini"))).isDir());

    // A start folder where nothing can be written: the old menu file stays.
    QVERIFY(QDir(program.home()).rmdir(QStringLiteral("kelvu.ini")));
    writeFile(program.home(QStringLiteral("kelvu.ini")), "gammal meny");
    {
        FolderLock lock(program.home());
        QVERIFY2(lock.locked(), "the folder could not be locked");
        program.click(form.Command3D2);
        QCOMPARE(program.errors.size(), std::size_t(2));
        QCOMPARE(program.errors.back().number(), 75);
        QVERIFY(!program.endStatus);
    }
    QCOMPARE(readFile(program.home(QStringLiteral("kelvu.ini"))), QByteArray("gammal meny"));
    QCOMPARE(items(form.List1), QStringList{QStringLiteral("spel.exe")});

    // Once the way is free, the same menu is saved.
    program.click(form.Command3D2);
    QCOMPARE(program.endStatus, std::optional<int>(0));
    QVERIFY(
        readFile(program.home(QStringLiteral("kelvu.ini"))).startsWith("1\r\n1\r\n\"spel.exe\""));
}

void TestSupervisorWindow::avbrytAndTheCloseBoxWriteNothing() {
    const QByteArray old = "1\r\n0\r\n\"a.exe\"\r\n\"/x\"\r\n1\r\n";
    {
        Supervisor program;
        writeFile(program.home(QStringLiteral("kelvu.ini")), old);
        Form1& form = program.start();
        program.setCount(2);
        program.click(form.Command3D3);
        QCOMPARE(program.endStatus, std::optional<int>(0));
        QCOMPARE(readFile(program.home(QStringLiteral("kelvu.ini"))), old);
        QCOMPARE(QDir(program.home()).entryList(QDir::Files),
                 QStringList{QStringLiteral("kelvu.ini")});
    }
    {
        Supervisor program;
        writeFile(program.home(QStringLiteral("kelvu.ini")), old);
        Form1& form = program.start();
        program.setCount(2);
        QVERIFY(form.close());
        QVERIFY(!form.backdrop());  // the unload handler unloaded the backdrop
        QVERIFY(!program.endStatus);
        QCOMPARE(readFile(program.home(QStringLiteral("kelvu.ini"))), old);
    }
}

void TestSupervisorWindow::nyKeepsCountCardTypeAndRewardChoice() {
    Supervisor program;
    Form1& form = program.start();
    const QString game = program.makeFile(QStringLiteral("spel.exe"));
    program.buildMenu({game, game}, 3, program.makeFile(QStringLiteral("sol.bmp")));
    program.chooseReward(1);
    program.click(form.SSCommand4);
    QCOMPARE(form.List1->count(), 0);
    QCOMPARE(form.List2->count(), 0);
    QCOMPARE(Global::ListedCount, qint16(0));
    QCOMPARE(form.Label8->text(), QString());
    QCOMPARE(form.Label5->text(), QString());
    QCOMPARE(form.Label3->text(), QStringLiteral("2"));
    QCOMPARE(form.VScroll1->value(), 2);
    QCOMPARE(form.Option3D2->selectedIndex(), 3);
    QCOMPARE(form.Option3D1->selectedIndex(), 1);
    QVERIFY(!form.Label8->isEnabled());
    // The count message until the list is filled again.
    auto message = messageFrom([&] { program.click(form.Command3D2); });
    QVERIFY(message);
    QCOMPARE(message->text, CountMessage);
    // "Ny" on an empty list only empties the picture.
    program.pickPicture(program.makeFile(QStringLiteral("moln.bmp")));
    QCOMPARE(form.Label8->text(), QStringLiteral("moln.bmp"));
    program.click(form.SSCommand4);
    QCOMPARE(Global::ListedCount, qint16(0));
    QCOMPARE(form.Label8->text(), QString());
    QCOMPARE(form.Label5->text(), QString());
    QCOMPARE(form.Label3->text(), QStringLiteral("2"));
}

QTEST_MAIN(TestSupervisorWindow)
#include "tst_supervisor_window.moc"
