// The save-settings and open-settings dialogs, and menus going from the
// supervisor to a file, back into the window, and on to the learner's window.
#include "tests/SupervisorTestSupport.h"

#include "tests/FolderLock.h"
#include "tests/Layout.h"

#include "runner/Form1.h"
#include "shared/controls/Svartbakgrund.h"

#include <QCloseEvent>

using namespace support;

namespace {

QByteArray menuFile(int count, int cardType, const QString& folder, int reward,
                    const QString& picture = QString()) {
    const QByteArray f = QDir::toNativeSeparators(folder).toUtf8();
    QByteArray bytes = QByteArray::number(count) + "\r\n" + QByteArray::number(cardType) + "\r\n";
    for (int k = 0; k < count; ++k)
        bytes += "\"ovning" + QByteArray::number(k) + ".exe\"\r\n\"" + f + "\"\r\n";
    bytes += QByteArray::number(reward) + "\r\n";
    if (reward == 0) bytes += "\"" + f + "\"\r\n\"" + picture.toUtf8() + "\"\r\n";
    return bytes;
}

// A menu that passes the finishing checks: one exercise, no reward picture.
void completeMenu(Supervisor& program) {
    program.setCount(1);
    if (!program.addExercise(program.makeFile(QStringLiteral("spel/spel.exe"))))
        QFAIL("\"Lägg till övning\" opened no file dialog");
    program.chooseReward(1);
}

void type(QLineEdit* box, const QString& text) {
    QTest::keyClicks(box, text);
}

}  // namespace

class TestSupervisorDialogs : public QObject {
    Q_OBJECT
private slots:
    void saveDialogLayout();
    void saveWritesTheNameExactlyAsTyped_data();
    void saveWritesTheNameExactlyAsTyped();
    void emptyNameDoesNothing();
    void avbrytWritesNothingAndTheNextOpeningIsEmpty();
    void saveThatFailsKeepsTheDialogAndTheMenu();
    void closeRequestsWhileADialogIsOpenAreRefused();
    void dialogsOfferNoMinimiseAndComeBackWithTheMainWindow();

    void openDialogLayoutAndList();
    void openReplacesTheMenu();
    void openWithNothingSelectedDoesNothing();
    void selectionOutlivesTheDialog();
    void firstKeySelectsFromTheTop_data();
    void firstKeySelectsFromTheTop();
    void ctrlClickKeepsTheSelection();
    void noEntryLooksChosenBeforeOneIs();
    void doubleClickLoadsAtOnce();
    void notAMenuKeepsTheMenuBeingEdited();
    void openWorksOverAnIncompleteMenu();

    void savedMenuLoadsBackIntoTheSameWindow();
    void menuFromOkIsWhatTheLearnerSees();
};

void TestSupervisorDialogs::saveDialogLayout() {
    Supervisor program;
    Form1& form = program.start();
    completeMenu(program);
    kelvuadm::Form4* dialog = program.clickSaveAs();
    QVERIFY(dialog);
    QVERIFY(!form.isEnabled());
    QVERIFY(dialog->windowTitle().trimmed().isEmpty());
    QVERIFY(!dialog->isModal());
    QVERIFY(!dialog->parentWidget());
    layout::expectCentred(dialog);
    layout::expectDesign("Form4", {{"Form4", dialog},
                                   {"Text1", dialog->Text1},
                                   {"Command3D1", dialog->Command3D1},
                                   {"Command3D2", dialog->Command3D2},
                                   {"Label1", dialog->Label1}});
    QCOMPARE(dialog->Command3D1->text(), QStringLiteral("Spara"));
    QCOMPARE(dialog->Command3D2->text(), QStringLiteral("Avbryt"));
    QCOMPARE(dialog->Label1->text(),
             QStringLiteral("Skriv in det namn som du vill spara inställningarna under"));
    layout::expectTextDrawnIn(dialog->Command3D1, dialog->Command3D1->rect().adjusted(4, 4, -4, -4),
                              "Arial", 9.75, QFont::Bold, QStringLiteral("Spara"));
    QCOMPARE(dialog->Label1->font().family(), QStringLiteral("MS Sans Serif"));
    QCOMPARE(dialog->Text1->text(), QString());
    QTRY_COMPARE(QApplication::focusWidget(), dialog->Text1);
    // Enter presses nothing.
    type(dialog->Text1, QStringLiteral("namn"));
    QTest::keyClick(dialog->Text1, Qt::Key_Return);
    QVERIFY(program.openDialog<kelvuadm::Form4>());
    QVERIFY(!QFile::exists(program.home(QStringLiteral("namn.ini"))));
    // The typed name, without the blinking cursor.
    dialog->Text1->clearFocus();
    layout::expectTextDrawnIn(dialog->Text1, dialog->Text1->rect().adjusted(3, 3, -3, -3), "Arial",
                              12, QFont::Bold, QStringLiteral("namn"));
}

void TestSupervisorDialogs::saveWritesTheNameExactlyAsTyped_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("file");
    QTest::newRow("plain") << QStringLiteral("måndag") << QStringLiteral("måndag.ini");
    QTest::newRow("blanks only") << QStringLiteral("   ") << QStringLiteral("   .ini");
    QTest::newRow("ini twice") << QStringLiteral("x.ini") << QStringLiteral("x.ini.ini");
    QTest::newRow("the active menu") << QStringLiteral("kelvu") << QStringLiteral("kelvu.ini");
    // Near the 255 bytes a name can have: 249 letters and ".ini".
    QTest::newRow("249 letters") << QString(249, u'n')
                                 << QString(249, u'n') + QStringLiteral(".ini");
}

void TestSupervisorDialogs::saveWritesTheNameExactlyAsTyped() {
    QFETCH(QString, typed);
    QFETCH(QString, file);
    Supervisor program;
    writeFile(program.home(file), "gammalt innehåll");  // replaced without a question
    Form1& form = program.start();
    if (file == QStringLiteral("kelvu.ini")) QCOMPARE(program.errors.size(), std::size_t(1));
    completeMenu(program);
    kelvuadm::Form4* dialog = program.clickSaveAs();
    QVERIFY(dialog);
    type(dialog->Text1, typed);
    program.click(dialog->Command3D1);
    const QByteArray folder = program.folderText(QStringLiteral("spel")).toUtf8();
    QCOMPARE(readFile(program.home(file)), "1\r\n0\r\n\"spel.exe\"\r\n\"" + folder + "\"\r\n1\r\n");
    // No temporary file is left beside it.
    QCOMPARE(QDir(program.home()).entryList(QDir::Files | QDir::Hidden | QDir::System),
             QStringList{file});
    QTRY_VERIFY(!program.openDialog<kelvuadm::Form4>());
    QVERIFY(form.isEnabled());
    QCOMPARE(items(form.List1), QStringList{QStringLiteral("spel.exe")});
    QVERIFY(!program.endStatus);
}

void TestSupervisorDialogs::emptyNameDoesNothing() {
    Supervisor program;
    Form1& form = program.start();
    completeMenu(program);
    kelvuadm::Form4* dialog = program.clickSaveAs();
    QVERIFY(dialog);
    const QStringList before = QDir(program.home()).entryList(QDir::Files);
    program.click(dialog->Command3D1);
    QVERIFY(program.openDialog<kelvuadm::Form4>());
    QVERIFY(!form.isEnabled());
    QCOMPARE(QDir(program.home()).entryList(QDir::Files), before);
    QVERIFY(!QFile::exists(program.home(QStringLiteral(".ini"))));
    // A later name saves normally.
    type(dialog->Text1, QStringLiteral("sen"));
    program.click(dialog->Command3D1);
    QVERIFY(QFile::exists(program.home(QStringLiteral("sen.ini"))));
    QVERIFY(form.isEnabled());
}

void TestSupervisorDialogs::avbrytWritesNothingAndTheNextOpeningIsEmpty() {
    Supervisor program;
    Form1& form = program.start();
    completeMenu(program);
    kelvuadm::Form4* dialog = program.clickSaveAs();
    QVERIFY(dialog);
    type(dialog->Text1, QStringLiteral("namn"));
    program.click(dialog->Command3D2);
    QVERIFY(form.isEnabled());
    QTRY_VERIFY(!program.openDialog<kelvuadm::Form4>());
    QVERIFY(!QFile::exists(program.home(QStringLiteral("namn.ini"))));
    QCOMPARE(items(form.List1), QStringList{QStringLiteral("spel.exe")});
    dialog = program.clickSaveAs();
    QVERIFY(dialog);
    QCOMPARE(dialog->Text1->text(), QString());
}

void TestSupervisorDialogs::saveThatFailsKeepsTheDialogAndTheMenu() {
    Supervisor program;
    Form1& form = program.start();
    completeMenu(program);
    kelvuadm::Form4* dialog = program.clickSaveAs();
    QVERIFY(dialog);
    type(dialog->Text1, QStringLiteral("finns inte/namn"));
    program.click(dialog->Command3D1);
    QCOMPARE(program.errors.size(), std::size_t(1));
    QCOMPARE(program.errors.front().number(), 76);
    QVERIFY(program.errors.front().description().contains(QStringLiteral("namn.ini")));
    QVERIFY(!program.endStatus);
    QVERIFY(program.openDialog<kelvuadm::Form4>());
    QVERIFY(!form.isEnabled());
    QCOMPARE(items(form.List1), QStringList{QStringLiteral("spel.exe")});

    // A folder where nothing can be written: the old file there stays whole.
    const QString locked = program.home(QStringLiteral("låst"));
    QVERIFY(QDir().mkpath(locked));
    writeFile(QDir(locked).filePath(QStringLiteral("gammal.ini")), "gammal");
    {
        FolderLock lock(locked);
        QVERIFY2(lock.locked(), "the folder could not be locked");
        dialog->Text1->setText(QStringLiteral("låst/gammal"));
        program.click(dialog->Command3D1);
        QCOMPARE(program.errors.size(), std::size_t(2));
        QCOMPARE(program.errors.back().number(), 75);
        QVERIFY(program.openDialog<kelvuadm::Form4>());
        QVERIFY(!form.isEnabled());
    }
    QCOMPARE(readFile(QDir(locked).filePath(QStringLiteral("gammal.ini"))), QByteArray("gammal"));
    QCOMPARE(items(form.List1), QStringList{QStringLiteral("spel.exe")});

    // Another name then saves.
    dialog->Text1->setText(QStringLiteral("namn"));
    program.click(dialog->Command3D1);
    QVERIFY(QFile::exists(program.home(QStringLiteral("namn.ini"))));
    QVERIFY(form.isEnabled());
}

void TestSupervisorDialogs::closeRequestsWhileADialogIsOpenAreRefused() {
    Supervisor program;
    Form1& form = program.start();
    completeMenu(program);
    kelvuadm::Form4* save = program.clickSaveAs();
    QVERIFY(!form.close());  // the disabled main window stays
    QVERIFY(form.isVisible());
    QVERIFY(form.backdrop());
    QVERIFY(!save->close());  // the dialog closes only by its buttons
    QVERIFY(program.openDialog<kelvuadm::Form4>());
    program.click(save->Command3D2);
    QTRY_VERIFY(!program.openDialog<kelvuadm::Form4>());

    kelvuadm::Form5* open = program.clickOpen();
    QVERIFY(open);
    QVERIFY(!form.close());
    QVERIFY(!open->close());
    program.click(open->Command3D2);
    QVERIFY(form.isEnabled());
    QVERIFY(form.close());
}

void TestSupervisorDialogs::dialogsOfferNoMinimiseAndComeBackWithTheMainWindow() {
    Supervisor program;
    Form1& form = program.start();
    completeMenu(program);
    kelvuadm::Form4* save = program.clickSaveAs();
    kelvuadm::Form5* none = nullptr;
    QVERIFY(save);
    QVERIFY(save->parentWidget() == nullptr);
    QTRY_COMPARE(QApplication::activeWindow(), save);

    // The window manager keeps both in front of the backdrop.
    QCOMPARE(save->windowHandle()->transientParent(), form.backdrop()->windowHandle());
    QCOMPARE(form.windowHandle()->transientParent(), form.backdrop()->windowHandle());

    // Minimised anyway: activating the main window brings it back, active.
    save->showMinimized();
    QTRY_VERIFY(save->isMinimized());
    form.activateWindow();
    QTRY_VERIFY(!save->isMinimized());
    QTRY_COMPARE(QApplication::activeWindow(), save);
    // And so does a click on the black, also with the main window minimised.
    save->showMinimized();
    form.showMinimized();
    QTRY_VERIFY(save->isMinimized() && form.isMinimized());
    QTest::mouseClick(form.backdrop()->windowHandle(), Qt::LeftButton, {}, QPoint(5, 5));
    QTRY_VERIFY(!save->isMinimized() && !form.isMinimized());
    QTRY_COMPARE(QApplication::activeWindow(), save);
    QVERIFY(!form.isEnabled());
    program.click(save->Command3D2);
    QTRY_VERIFY(!program.openDialog<kelvuadm::Form4>());

    // Once the dialog is gone, activating the main window brings nothing up.
    form.activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), &form);
    QCOMPARE(program.openDialog<kelvuadm::Form5>(), none);
}

void TestSupervisorDialogs::openDialogLayoutAndList() {
    Supervisor program;
    for (const char* name : {"kelvu.ini", "B.ini", "a.INI", ".ini", "ingen.txt", "c.ini.bak"})
        writeFile(program.home(QString::fromUtf8(name)), "x");
    QDir(program.home()).mkdir(QStringLiteral("mapp.ini"));
    Form1& form = program.start();
    program.errors.clear();  // "x" is not a menu
    kelvuadm::Form5* dialog = program.clickOpen();
    QVERIFY(dialog);
    QVERIFY(!form.isEnabled());
    QVERIFY(dialog->windowTitle().trimmed().isEmpty());
    layout::expectCentred(dialog);
    layout::expectDesign("Form5", {{"Form5", dialog},
                                   {"File1", dialog->File1},
                                   {"Command3D1", dialog->Command3D1},
                                   {"Command3D2", dialog->Command3D2}});
    QCOMPARE(dialog->Command3D1->text(), QStringLiteral("Hämta"));
    QCOMPARE(dialog->Command3D2->text(), QStringLiteral("Avbryt"));
    QCOMPARE(dialog->File1->font().family(), QStringLiteral("Arial"));
    QCOMPARE(items(dialog->File1), (QStringList{QStringLiteral("a.INI"), QStringLiteral("B.ini"),
                                                QStringLiteral("kelvu.ini")}));
    QVERIFY(dialog->File1->selectedItems().isEmpty());
    QTRY_COMPARE(QApplication::focusWidget(), dialog->File1);
    QVERIFY(dialog->File1->selectedItems().isEmpty());
    program.click(dialog->Command3D2);
    QVERIFY(form.isEnabled());
}

void TestSupervisorDialogs::openReplacesTheMenu() {
    Supervisor program;
    writeFile(program.home(QStringLiteral("tisdag.ini")), menuFile(2, 1, program.home(), 1));
    Form1& form = program.start();
    program.setCount(3);
    for (int i = 0; i < 3; ++i) program.addExercise(program.makeFile(QStringLiteral("spel.exe")));
    program.pickPicture(program.makeFile(QStringLiteral("sol.bmp")));

    kelvuadm::Form5* dialog = program.clickOpen();
    QVERIFY(dialog);
    QTest::mouseClick(dialog->File1->viewport(), Qt::LeftButton, {},
                      dialog->File1->visualItemRect(dialog->File1->item(0)).center());
    QCOMPARE(Global::SelectedSettingsFile, QStringLiteral("tisdag.ini"));
    program.click(dialog->Command3D1);
    QVERIFY(program.errors.empty());
    QTRY_VERIFY(!program.openDialog<kelvuadm::Form5>());
    QVERIFY(form.isEnabled());
    QCOMPARE(items(form.List1),
             (QStringList{QStringLiteral("ovning0.exe"), QStringLiteral("ovning1.exe")}));
    QCOMPARE(form.List2->count(), 2);
    QCOMPARE(Global::ListedCount, qint16(2));
    QCOMPARE(form.Label3->text(), QStringLiteral("2"));
    QCOMPARE(form.VScroll1->value(), 2);
    QCOMPARE(form.Option3D2->selectedIndex(), 1);
    QCOMPARE(form.Option3D1->selectedIndex(), 1);
    // Reward choice 1 has no picture lines: the picture was emptied first.
    QCOMPARE(form.Label8->text(), QString());
    QCOMPARE(form.Label5->text(), QString());
    QVERIFY(!form.Label8->isEnabled());
}

void TestSupervisorDialogs::openWithNothingSelectedDoesNothing() {
    Supervisor program;
    Form1& form = program.start();
    kelvuadm::Form5* dialog = program.clickOpen();
    QVERIFY(dialog);
    QCOMPARE(dialog->File1->count(), 0);
    program.click(dialog->Command3D1);
    QVERIFY(program.openDialog<kelvuadm::Form5>());
    QVERIFY(!form.isEnabled());
    QVERIFY(program.errors.empty());
    program.click(dialog->Command3D2);
    QVERIFY(form.isEnabled());
}

void TestSupervisorDialogs::selectionOutlivesTheDialog() {
    Supervisor program;
    writeFile(program.home(QStringLiteral("a.ini")), menuFile(1, 3, program.home(), 1));
    writeFile(program.home(QStringLiteral("b.ini")), menuFile(4, 2, program.home(), 1));
    Form1& form = program.start();
    program.addExercise(program.makeFile(QStringLiteral("spel.exe")));
    kelvuadm::Form5* dialog = program.clickOpen();
    QVERIFY(dialog);
    dialog->File1->setFocus();
    QTest::keyClick(dialog->File1, Qt::Key_Down);  // the arrow keys select too
    QTest::keyClick(dialog->File1, Qt::Key_Down);
    QCOMPARE(Global::SelectedSettingsFile, QStringLiteral("b.ini"));
    program.click(dialog->Command3D2);  // closed with "Avbryt": the name stays
    QCOMPARE(items(form.List1), QStringList{QStringLiteral("spel.exe")});  // the menu is untouched
    QCOMPARE(form.List2->count(), 1);
    QCOMPARE(Global::SelectedSettingsFile, QStringLiteral("b.ini"));

    dialog = program.clickOpen();
    QVERIFY(dialog->File1->selectedItems().isEmpty());
    program.click(dialog->Command3D1);  // nothing selected in this opening
    QTRY_VERIFY(!program.openDialog<kelvuadm::Form5>());
    QCOMPARE(form.List1->count(), 4);
    QCOMPARE(form.Option3D2->selectedIndex(), 2);
}

void TestSupervisorDialogs::firstKeySelectsFromTheTop_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("selected");
    QTest::newRow("Down") << int(Qt::Key_Down) << QStringLiteral("a.ini");
    QTest::newRow("Up") << int(Qt::Key_Up) << QStringLiteral("a.ini");
    QTest::newRow("Home") << int(Qt::Key_Home) << QStringLiteral("a.ini");
    QTest::newRow("End") << int(Qt::Key_End) << QStringLiteral("c.ini");
}

void TestSupervisorDialogs::firstKeySelectsFromTheTop() {
    QFETCH(int, key);
    QFETCH(QString, selected);
    Supervisor program;
    for (const char* name : {"a.ini", "b.ini", "c.ini"})
        writeFile(program.home(QString::fromUtf8(name)), menuFile(1, 0, program.home(), 1));
    program.start();
    kelvuadm::Form5* dialog = program.clickOpen();
    QTRY_COMPARE(QApplication::focusWidget(), dialog->File1);
    QCOMPARE(dialog->File1->currentRow(), -1);
    QCOMPARE(Global::SelectedSettingsFile, QString());
    QTest::keyClick(dialog->File1, Qt::Key(key));
    QCOMPARE(Global::SelectedSettingsFile, selected);
    QCOMPARE(dialog->File1->selectedItems().size(), 1);
    QCOMPARE(dialog->File1->selectedItems().constFirst()->text(), selected);
    program.click(dialog->Command3D2);
}

void TestSupervisorDialogs::ctrlClickKeepsTheSelection() {
    Supervisor program;
    for (const char* name : {"a.ini", "b.ini"})
        writeFile(program.home(QString::fromUtf8(name)), menuFile(1, 0, program.home(), 1));
    program.start();
    kelvuadm::Form5* dialog = program.clickOpen();
    const QPoint b = dialog->File1->visualItemRect(dialog->File1->item(1)).center();
    QTest::mouseClick(dialog->File1->viewport(), Qt::LeftButton, {}, b);
    QCOMPARE(Global::SelectedSettingsFile, QStringLiteral("b.ini"));
    QTest::mouseClick(dialog->File1->viewport(), Qt::LeftButton, Qt::ControlModifier, b);
    QCOMPARE(dialog->File1->selectedItems(), QList<QListWidgetItem*>{dialog->File1->item(1)});
    QCOMPARE(Global::SelectedSettingsFile, QStringLiteral("b.ini"));
    QTest::keyClick(dialog->File1, Qt::Key_Space, Qt::ControlModifier);
    QCOMPARE(dialog->File1->selectedItems(), QList<QListWidgetItem*>{dialog->File1->item(1)});
    program.click(dialog->Command3D2);
}

void TestSupervisorDialogs::noEntryLooksChosenBeforeOneIs() {
    Supervisor program;
    for (const char* name : {"a.ini", "b.ini"})
        writeFile(program.home(QString::fromUtf8(name)), menuFile(1, 0, program.home(), 1));
    program.start();
    kelvuadm::Form5* dialog = program.clickOpen();
    QListWidget* list = dialog->File1;
    QTRY_COMPARE(QApplication::focusWidget(), list);
    const QImage unfocused = [&] {
        list->clearFocus();
        return list->viewport()->grab().toImage();
    }();
    // Round the tab order back to the list, as a user does with the keys:
    // the list then draws the focus frame of the entry that is current.
    QTest::keyClick(dialog->Command3D2, Qt::Key_Tab);
    QTRY_COMPARE(QApplication::focusWidget(), list);
    QVERIFY(list->window()->testAttribute(Qt::WA_KeyboardFocusChange));
    QCOMPARE(list->currentRow(), -1);
    QVERIFY(list->viewport()->grab().toImage() == unfocused);

    // An entry left current by a mouse press without a selection shows no
    // frame either.
    list->selectionModel()->setCurrentIndex(list->model()->index(0, 0),
                                            QItemSelectionModel::NoUpdate);
    QVERIFY(list->selectedItems().isEmpty());
    QVERIFY(list->viewport()->grab().toImage() == unfocused);
    QTest::keyClick(list, Qt::Key_Down);  // and the first key still starts at the top
    QCOMPARE(Global::SelectedSettingsFile, QStringLiteral("a.ini"));
    program.click(dialog->Command3D2);
}

void TestSupervisorDialogs::doubleClickLoadsAtOnce() {
    Supervisor program;
    writeFile(program.home(QStringLiteral("a.ini")), menuFile(1, 3, program.home(), 1));
    writeFile(program.home(QStringLiteral("kelvu.ini")),
              menuFile(5, 1, program.home(), 0, QStringLiteral("sol.png")));
    Form1& form = program.start();
    program.click(form.SSCommand4);  // unsaved changes…
    kelvuadm::Form5* dialog = program.clickOpen();
    QVERIFY(dialog);
    const QRect entry = dialog->File1->visualItemRect(dialog->File1->item(1));
    QCOMPARE(dialog->File1->item(1)->text(), QStringLiteral("kelvu.ini"));
    QTest::mouseClick(dialog->File1->viewport(), Qt::LeftButton, {}, entry.center());
    QTest::mouseDClick(dialog->File1->viewport(), Qt::LeftButton, {}, entry.center());
    QTRY_VERIFY(!program.openDialog<kelvuadm::Form5>());
    QVERIFY(form.isEnabled());
    // …are discarded: the active menu is back.
    QCOMPARE(form.List1->count(), 5);
    QCOMPARE(form.Label8->text(), QStringLiteral("sol.png"));
    QCOMPARE(form.Label5->text(), program.folderText(QString()));
    QVERIFY(form.Label8->isEnabled());
}

void TestSupervisorDialogs::notAMenuKeepsTheMenuBeingEdited() {
    Supervisor program;
    writeFile(program.home(QStringLiteral("desktop.ini")), "[.ShellClassInfo]\r\nIconFile=x\r\n");
    writeFile(program.home(QStringLiteral("nio.ini")), menuFile(2, 9, program.home(), 1));
    Form1& form = program.start();
    program.setCount(2);
    program.addExercise(program.makeFile(QStringLiteral("spel.exe")));
    program.pickPicture(program.makeFile(QStringLiteral("sol.bmp")));
    kelvuadm::Form5* dialog = program.clickOpen();
    QVERIFY(dialog);

    const QString messages[] = {
        QStringLiteral("Körfel 13: Typerna stämmer inte överens\n\nI filen \"HOME/desktop.ini\" är "
                       "värde 1 (antal övningar) inte ett heltal: \"[.ShellClassInfo]\"."),
        QStringLiteral("Körfel 9: Index utanför intervallet\n\nI filen \"HOME/nio.ini\" är "
                       "korttypen 9, men får bara vara 0 till 3.")};
    for (int row = 0; row < 2; ++row) {
        dialog->File1->setCurrentRow(row);
        program.click(dialog->Command3D1);
        QCOMPARE(program.errors.size(), std::size_t(row + 1));
        QCOMPARE(program.errors.back().message(),
                 QString(messages[row]).replace(QStringLiteral("HOME"), program.home()));
        QVERIFY(program.openDialog<kelvuadm::Form5>());
        QVERIFY(!form.isEnabled());
        QCOMPARE(items(form.List1), QStringList{QStringLiteral("spel.exe")});
        QCOMPARE(form.List2->count(), 1);
        QCOMPARE(Global::ListedCount, qint16(1));
        QCOMPARE(Global::WantedCount, qint16(2));
        QCOMPARE(form.Label8->text(), QStringLiteral("sol.bmp"));
    }
    QVERIFY(!program.endStatus);
    program.click(dialog->Command3D2);
    QVERIFY(form.isEnabled());
}

void TestSupervisorDialogs::openWorksOverAnIncompleteMenu() {
    Supervisor program;
    Form1& form = program.start();
    program.setCount(5);
    QVERIFY(program.clickOpen());
    QVERIFY(!form.isEnabled());
}

void TestSupervisorDialogs::savedMenuLoadsBackIntoTheSameWindow() {
    Supervisor program;
    Form1& form = program.start();
    const QString first = program.makeFile(QStringLiteral("ett, två/räkna.exe"));
    const QString second = program.makeFile(QStringLiteral("tre/läsa.exe"));
    program.buildMenu({first, second, first}, 2,
                      program.makeFile(QStringLiteral("bilder/sol.gif")));
    const QStringList names = items(form.List1);
    const QStringList folders = items(form.List2);
    kelvuadm::Form4* save = program.clickSaveAs();
    QVERIFY(save);
    type(save->Text1, QStringLiteral("vecka 1"));
    program.click(save->Command3D1);

    program.click(form.SSCommand4);
    program.chooseCardType(0);
    program.chooseReward(1);
    program.setCount(6);

    kelvuadm::Form5* open = program.clickOpen();
    QVERIFY(open);
    open->File1->setCurrentRow(0);
    QCOMPARE(Global::SelectedSettingsFile, QStringLiteral("vecka 1.ini"));
    program.click(open->Command3D1);
    QCOMPARE(items(form.List1), names);
    QCOMPARE(items(form.List2), folders);
    QCOMPARE(form.Label3->text(), QStringLiteral("3"));
    QCOMPARE(Global::WantedCount, qint16(3));
    QCOMPARE(form.Option3D2->selectedIndex(), 2);
    QCOMPARE(form.Option3D1->selectedIndex(), 0);
    QCOMPARE(form.Label8->text(), QStringLiteral("sol.gif"));
    QCOMPARE(form.Label5->text(), program.folderText(QStringLiteral("bilder")));
    QVERIFY(form.Label8->isEnabled());
}

void TestSupervisorDialogs::menuFromOkIsWhatTheLearnerSees() {
    Supervisor program;
    Form1& form = program.start();
    QImage picture(30, 30, QImage::Format_RGB32);
    picture.fill(Qt::magenta);
    QDir().mkpath(program.home(QStringLiteral("bilder")));
    QVERIFY(picture.save(program.home(QStringLiteral("bilder/pris.bmp"))));
    const QStringList games = {program.makeFile(QStringLiteral("a/ett.exe")),
                               program.makeFile(QStringLiteral("b/två.exe")),
                               program.makeFile(QStringLiteral("c/tre.exe"))};
    program.buildMenu(games, 1, program.home(QStringLiteral("bilder/pris.bmp")));
    program.click(form.Command3D2);
    QCOMPARE(program.endStatus, std::optional<int>(0));

    // The learner's window, started in the same folder, reads that menu.
    app::resetProgramControl();
    kelvu::Form1 learner;
    learner.Form_Load();
    QCOMPARE(learner.cards().size(), std::size_t(4));
    QCOMPARE(learner.cards()[0]->text(), QStringLiteral("A"));
    QCOMPARE(learner.cards()[2]->text(), QStringLiteral("C"));
    QVERIFY(learner.cards()[3]->hasPicture());
    QCOMPARE(learner.cards()[3]->picture().toImage().pixelColor(1, 1), QColor(Qt::magenta));
    QVERIFY(program.errors.empty());
}

QTEST_MAIN(TestSupervisorDialogs)
#include "tst_supervisor_dialogs.moc"
