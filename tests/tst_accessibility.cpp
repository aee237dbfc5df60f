// What a screen reader is told about both programs, and the learner's cards
// and the supervisor's window worked by keyboard alone.
#include "tests/RunnerTestSupport.h"
#include "tests/SupervisorTestSupport.h"

#include "shared/controls/SSPanel.h"
#include "shared/controls/Svartbakgrund.h"

#include <QAccessible>
#include <QAccessibleInterface>
#include <QKeyEvent>
#include <QSignalSpy>

using support::integer;
using support::quoted;
using support::Supervisor;
using namespace Qt::StringLiterals;

namespace {

// How a held key repeats.
enum Repeats { Marked, ReleasePressPairs, PressesAlone };

QAccessibleInterface* accessible(QObject* object) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(object);
    if (!face) qFatal("no accessible interface for %s", object->metaObject()->className());
    return face;
}
QString nameOf(QObject* object) {
    return accessible(object)->text(QAccessible::Name);
}

}  // namespace

class TestAccessibility : public QObject, protected support::RunnerFixture {
    Q_OBJECT
private:
    // A runner menu of count exercises, each a script that logs its number.
    void writeRunnerMenu(int count, int cardType, bool withReward) {
        QList<QPair<QString, QString>> exercises;
        for (int k = 1; k <= count; ++k) {
            const QString name = QStringLiteral("ovning%1.sh").arg(k);
            writeExercise(home(), name, QString::number(k));
            exercises.append({name, home()});
        }
        if (withReward) support::savePicture(home(QStringLiteral("sol.png")), Qt::magenta, "PNG");
        if (cardType == 2)
            for (int k = 1; k <= count; ++k)
                support::savePicture(home(QStringLiteral("%1num.bmp").arg(k)), Qt::blue, "BMP");
        writeMenu(count, cardType, exercises, withReward ? 0 : 1, home(),
                  QStringLiteral("sol.png"));
    }
    // Loads and shows the runner as the program does, and waits until it is
    // the active window.
    void startRunner() {
        load();
        QVERIFY2(!m_error, qPrintable(m_error ? m_error->message() : QString()));
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    }
    int startedCount() const { return static_cast<int>(startedLog().size()); }
    // The cards that take the focus by Tab or click.
    QList<int> focusableCards() const {
        QList<int> cards;
        for (std::size_t i = 0; i < m_form->cards().size(); ++i)
            if (m_form->cards()[i]->focusPolicy() != Qt::NoFocus) cards << static_cast<int>(i);
        return cards;
    }
    int focusedCard() const {
        for (std::size_t i = 0; i < m_form->cards().size(); ++i)
            if (m_form->cards()[i]->hasFocus()) return static_cast<int>(i);
        return -1;
    }

private slots:
    void init();
    void cleanup();

    void runnerNames_data();
    void runnerNames();
    void backdropOffersNothing();
    void focusOnlyOnTheWorkingCard();
    void keysPressTheWorkingCard_data();
    void keysPressTheWorkingCard();
    void heldKeyPressesOnce_data();
    void heldKeyPressesOnce();
    void focusFrameOnTheWorkingCard();
    void noCardLeftTakesNoKeys();
    void focusReturnsWhenTheWindowIsActiveAgain();

    void supervisorNames_data();
    void supervisorNames();
    void everyKeyboardStopHasAName();
    void hiddenControlsAreNotShowing();
    void deleteKeyRemovesTheSelectedEntry_data();
    void deleteKeyRemovesTheSelectedEntry();
    void countBarByArrowKeys();
    void optionsByArrowKeys_data();
    void optionsByArrowKeys();
    void dialogsByKeyboard();
};

void TestAccessibility::init() {
    QVERIFY(setUp());
}

void TestAccessibility::cleanup() {
    tearDown();
}

// --- the runner ---------------------------------------------------------------

void TestAccessibility::runnerNames_data() {
    QTest::addColumn<int>("cardType");
    QTest::addColumn<bool>("reward");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("digits") << 0 << true << QStringList{u"1"_s, u"2"_s, u"3"_s, u"Belöningsbild"_s};
    QTest::newRow("letters") << 1 << true
                             << QStringList{u"A"_s, u"B"_s, u"C"_s, u"Belöningsbild"_s};
    QTest::newRow("pictograms") << 2 << true
                                << QStringList{u"Bild 1"_s, u"Bild 2"_s, u"Bild 3"_s,
                                               u"Belöningsbild"_s};
    QTest::newRow("blank") << 3 << false
                           << QStringList{u"Kort 1"_s, u"Kort 2"_s, u"Kort 3"_s,
                                          u"Belöningsbild"_s};
    QTest::newRow("unknown type is blank")
        << 7 << true << QStringList{u"Kort 1"_s, u"Kort 2"_s, u"Kort 3"_s, u"Belöningsbild"_s};
}

void TestAccessibility::runnerNames() {
    QFETCH(int, cardType);
    QFETCH(bool, reward);
    QFETCH(QStringList, names);
    writeRunnerMenu(3, cardType, reward);
    startRunner();
    QCOMPARE(nameOf(m_form.get()), QStringLiteral("Arbetsordning"));
    QCOMPARE(accessible(m_form.get())->role(), QAccessible::Window);
    QStringList heard;
    for (int i = 0; i < 4; ++i) {
        heard << nameOf(card(i));
        QCOMPARE(accessible(card(i))->role(), QAccessible::Button);
    }
    QCOMPARE(heard, names);
    // Without a reward picture the final card is hidden, and not heard.
    QCOMPARE(accessible(card(3))->state().invisible, !reward);
}

void TestAccessibility::backdropOffersNothing() {
    writeRunnerMenu(1, 0, true);
    startRunner();
    QAccessibleInterface* backdrop = accessible(m_form->backdrop());
    QVERIFY(backdrop->state().disabled);
    QVERIFY(!backdrop->state().focusable);
    QCOMPARE(backdrop->childCount(), 0);
    QVERIFY(backdrop->actionInterface()->actionNames().isEmpty());
}

void TestAccessibility::focusOnlyOnTheWorkingCard() {
    writeRunnerMenu(3, 0, true);
    startRunner();
    QCOMPARE(focusedCard(), 0);
    QCOMPARE(focusableCards(), QList<int>{0});
    QVERIFY(accessible(card(0))->state().focused);
    // A stray Tab, forwards or back, leaves the focus where it is.
    QTest::keyClick(m_form.get(), Qt::Key_Tab);
    QCOMPARE(focusedCard(), 0);
    QTest::keyClick(m_form.get(), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(focusedCard(), 0);
    // A click on a card out of turn does not take the focus either.
    QTest::mouseClick(card(2), Qt::LeftButton);
    QCOMPARE(focusedCard(), 0);
    QTest::keyClick(card(0), Qt::Key_Space);
    QTRY_COMPARE(startedCount(), 1);
    QCOMPARE(focusedCard(), 1);
    QCOMPARE(focusableCards(), QList<int>{1});
    QTest::keyClick(card(1), Qt::Key_Tab);
    QCOMPARE(focusedCard(), 1);
    QTest::mouseClick(card(1), Qt::LeftButton);
    QTRY_COMPARE(startedCount(), 2);
    QCOMPARE(focusedCard(), 2);
    // The cards taken away are no longer heard.
    QAccessibleInterface* window = accessible(m_form.get());
    QStringList heard;
    for (int i = 0; i < window->childCount(); ++i)
        heard << window->child(i)->text(QAccessible::Name);
    QCOMPARE(heard, (QStringList{u"3"_s, u"Belöningsbild"_s}));
    QTest::keyClick(card(2), Qt::Key_Return);
    QTRY_COMPARE(startedCount(), 3);
    QCOMPARE(focusedCard(), 3);
    QCOMPARE(focusableCards(), QList<int>{3});
    QVERIFY(!m_endStatus);
    QTest::keyClick(card(3), Qt::Key_Space);
    QCOMPARE(m_endStatus, std::optional<int>(0));
}

void TestAccessibility::keysPressTheWorkingCard_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Space") << int(Qt::Key_Space) << 0;
    QTest::newRow("Return") << int(Qt::Key_Return) << 0;
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
}

void TestAccessibility::keysPressTheWorkingCard() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    writeRunnerMenu(2, 1, true);
    startRunner();
    QTest::keyClick(card(0), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QTRY_COMPARE(startedCount(), 1);
    QVERIFY(card(0)->isHidden());
    QCOMPARE(focusedCard(), 1);
    QTest::keyClick(card(1), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QTRY_COMPARE(startedCount(), 2);
    QVERIFY(!m_endStatus);
    QTest::keyClick(card(2), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(m_endStatus, std::optional<int>(0));
    // Each exercise logs its number and the folder it runs in.
    QCOMPARE(startedLog(), QStringList({u"1 "_s + home(), u"2 "_s + home()}));
}

void TestAccessibility::heldKeyPressesOnce_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("repeats");
    // Qt marks the repeats as such, or they come as the X server sends them: a
    // release and a press with the same time, not marked; or a device repeats
    // presses alone.
    const char* forms[] = {"marked repeats", "release and press pairs", "presses alone"};
    for (int form = Marked; form <= PressesAlone; ++form) {
        QTest::addRow("Space, %s", forms[form]) << int(Qt::Key_Space) << 0 << form;
        QTest::addRow("Return, %s", forms[form]) << int(Qt::Key_Return) << 0 << form;
        QTest::addRow("keypad Enter, %s", forms[form])
            << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << form;
    }
}

void TestAccessibility::heldKeyPressesOnce() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, repeats);
    writeRunnerMenu(3, 0, true);
    startRunner();
    auto send = [&](QEvent::Type type, quint64 time, bool repeat) {
        QWidget* focused = QApplication::focusWidget();
        QVERIFY(focused);
        QKeyEvent event(type, key, Qt::KeyboardModifiers(modifiers), QString(), repeat);
        event.setTimestamp(time);
        QApplication::sendEvent(focused, &event);
    };
    // The card is pressed on the stroke, before the key comes up.
    send(QEvent::KeyPress, 1000, false);
    QVERIFY(card(0)->isHidden());
    QCOMPARE(m_form->workingCard(), card(1));
    // Held for a while: a repeat every 40 ms after the first 800, then the
    // one release. The next card has the focus meanwhile and stays.
    for (quint64 time = 1800; time <= 2000; time += 40) {
        if (repeats == ReleasePressPairs) send(QEvent::KeyRelease, time, false);
        send(QEvent::KeyPress, time, repeats == Marked);
    }
    send(QEvent::KeyRelease, 2100, false);
    QVERIFY(!card(1)->isHidden());
    QCOMPARE(m_form->workingCard(), card(1));
    // A new stroke starts exactly the next exercise.
    send(QEvent::KeyPress, 2500, false);
    send(QEvent::KeyRelease, 2600, false);
    QCOMPARE(m_form->workingCard(), card(2));
    QTRY_COMPARE(startedCount(), 2);
}

void TestAccessibility::focusFrameOnTheWorkingCard() {
    writeRunnerMenu(2, 0, true);
    startRunner();
    auto frameAt = [this](int i, int x) {
        const QImage face = card(i)->grab().toImage();
        return face.pixelColor(x, face.height() / 2) == QColor(Qt::black);
    };
    QVERIFY(card(0)->hasFocusFrame());
    QVERIFY(!card(1)->hasFocusFrame());
    QVERIFY(!card(2)->hasFocusFrame());
    // Four pixels wide along the edge, the face inside it untouched.
    QVERIFY(frameAt(0, 0));
    QVERIFY(frameAt(0, 3));
    QVERIFY(!frameAt(0, 4));
    QVERIFY(!frameAt(1, 1));
    QVERIFY(!frameAt(1, 3));
    QTest::mouseClick(card(0), Qt::LeftButton);
    QTRY_COMPARE(startedCount(), 1);
    QVERIFY(card(1)->hasFocusFrame());
    QVERIFY(frameAt(1, 1));
    QVERIFY(frameAt(1, 3));
    QVERIFY(!card(2)->hasFocusFrame());
}

void TestAccessibility::noCardLeftTakesNoKeys() {
    writeRunnerMenu(1, 0, false);
    startRunner();
    QTest::keyClick(card(0), Qt::Key_Return);
    QTRY_COMPARE(startedCount(), 1);
    QCOMPARE(QApplication::focusWidget(), nullptr);
    QCOMPARE(focusableCards(), QList<int>{});
    for (int key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Tab})
        QTest::keyClick(m_form.get(), Qt::Key(key));
    QCOMPARE(QApplication::focusWidget(), nullptr);
    QVERIFY(!m_endStatus);
    QCOMPARE(startedCount(), 1);
}

void TestAccessibility::focusReturnsWhenTheWindowIsActiveAgain() {
    writeRunnerMenu(3, 0, true);
    startRunner();
    // Another program's window comes to the front, as a started exercise does.
    QWidget other;
    other.setFocusPolicy(Qt::StrongFocus);
    // Space goes down on the card, and comes up in the other window.
    QTest::keyPress(card(0), Qt::Key_Space);
    QVERIFY(card(0)->isHidden());
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QCOMPARE(focusedCard(), -1);
    other.close();
    m_form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    QCOMPARE(focusedCard(), 1);
    QTest::keyClick(card(1), Qt::Key_Space);
    QTRY_COMPARE(startedCount(), 2);
}

// --- the supervisor -----------------------------------------------------------

void TestAccessibility::supervisorNames_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("role");
    QTest::newRow("window") << u"window"_s << u"Kelvu handledarsektion"_s
                            << int(QAccessible::Window);
    QTest::newRow("List1") << u"List1"_s << u"Valda övningar"_s << int(QAccessible::List);
    QTest::newRow("VScroll1") << u"VScroll1"_s << u"Antal övningar"_s
                              << int(QAccessible::ScrollBar);
    QTest::newRow("Panel3D2") << u"Panel3D2"_s << u"Belöningsbild / vad händer sedan?"_s
                              << int(QAccessible::Grouping);
    QTest::newRow("Panel3D1") << u"Panel3D1"_s << u"Typ av bilder på korten"_s
                              << int(QAccessible::Grouping);
    QTest::newRow("Option3D1(0)") << u"Option3D1(0)"_s << u"På"_s << int(QAccessible::RadioButton);
    QTest::newRow("Option3D1(1)") << u"Option3D1(1)"_s << u"Av"_s << int(QAccessible::RadioButton);
    QTest::newRow("Option3D2(0)") << u"Option3D2(0)"_s << u"Siffror"_s
                                  << int(QAccessible::RadioButton);
    QTest::newRow("Option3D2(1)") << u"Option3D2(1)"_s << u"Bokstäver"_s
                                  << int(QAccessible::RadioButton);
    QTest::newRow("Option3D2(2)") << u"Option3D2(2)"_s << u"Pictogram"_s
                                  << int(QAccessible::RadioButton);
    QTest::newRow("Option3D2(3)") << u"Option3D2(3)"_s << u"Former"_s
                                  << int(QAccessible::RadioButton);
    QTest::newRow("Command3D1") << u"Command3D1"_s << u"Lägg till övning"_s
                                << int(QAccessible::Button);
    QTest::newRow("SSCommand1") << u"SSCommand1"_s << u"Lägg till bild"_s
                                << int(QAccessible::Button);
    QTest::newRow("Command3D2") << u"Command3D2"_s << u"OK"_s << int(QAccessible::Button);
    QTest::newRow("Command3D3") << u"Command3D3"_s << u"Avbryt"_s << int(QAccessible::Button);
    QTest::newRow("SSCommand4") << u"SSCommand4"_s << u"Ny"_s << int(QAccessible::Button);
    QTest::newRow("SSCommand3") << u"SSCommand3"_s << u"Hämta"_s << int(QAccessible::Button);
    QTest::newRow("SSCommand2") << u"SSCommand2"_s << u"Spara som"_s << int(QAccessible::Button);
}

void TestAccessibility::supervisorNames() {
    QFETCH(QString, control);
    QFETCH(QString, name);
    QFETCH(int, role);
    Supervisor program;
    kelvuadm::Form1& form = program.start();
    const QHash<QString, QWidget*> controls = {
        {u"window"_s, &form},
        {u"List1"_s, form.List1},
        {u"VScroll1"_s, form.VScroll1},
        {u"Panel3D2"_s, form.Panel3D2},
        {u"Panel3D1"_s, form.Panel3D1},
        {u"Option3D1(0)"_s, form.Option3D1->option(0)},
        {u"Option3D1(1)"_s, form.Option3D1->option(1)},
        {u"Option3D2(0)"_s, form.Option3D2->option(0)},
        {u"Option3D2(1)"_s, form.Option3D2->option(1)},
        {u"Option3D2(2)"_s, form.Option3D2->option(2)},
        {u"Option3D2(3)"_s, form.Option3D2->option(3)},
        {u"Command3D1"_s, form.Command3D1},
        {u"SSCommand1"_s, form.SSCommand1},
        {u"Command3D2"_s, form.Command3D2},
        {u"Command3D3"_s, form.Command3D3},
        {u"SSCommand4"_s, form.SSCommand4},
        {u"SSCommand3"_s, form.SSCommand3},
        {u"SSCommand2"_s, form.SSCommand2},
    };
    QAccessibleInterface* face = accessible(controls.value(control));
    QCOMPARE(face->text(QAccessible::Name), name);
    QCOMPARE(int(face->role()), role);
    QVERIFY(!face->state().invisible);
}

void TestAccessibility::everyKeyboardStopHasAName() {
    Supervisor program;
    kelvuadm::Form1& form = program.start();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    // The count is read as the bar's value; "På" and "Siffror" are set.
    QCOMPARE(accessible(form.VScroll1)->valueInterface()->currentValue().toInt(), 3);
    QVERIFY(accessible(form.Option3D1->option(0))->state().checked);
    QVERIFY(!accessible(form.Option3D1->option(1))->state().checked);
    QVERIFY(accessible(form.Option3D2->option(0))->state().checkable);
    // Pressing an option through its accessible action sets it, as a click does.
    accessible(form.Option3D2->option(2))
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(form.Option3D2->selectedIndex(), 2);
    QVERIFY(accessible(form.Option3D2->option(2))->state().checked);

    QStringList heard;
    QWidget* stop = form.List1;
    QCOMPARE(QApplication::focusWidget(), stop);
    for (int i = 0; i < 14; ++i) {
        heard << nameOf(QApplication::focusWidget());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(heard, (QStringList{u"Valda övningar"_s, u"Antal övningar"_s, u"Lägg till övning"_s,
                                 u"På"_s, u"Av"_s, u"OK"_s, u"Avbryt"_s, u"Siffror"_s,
                                 u"Bokstäver"_s, u"Pictogram"_s, u"Former"_s, u"Lägg till bild"_s,
                                 u"Spara som"_s, u"Hämta"_s}));
}

void TestAccessibility::hiddenControlsAreNotShowing() {
    Supervisor program;
    program.makeFile(QStringLiteral("ovningar/rita.exe"));
    support::writeFile(program.home(QStringLiteral("kelvu.ini")),
                       integer(1) + integer(0) + quoted(QStringLiteral("rita.exe")) +
                           quoted(program.folderText(QStringLiteral("ovningar"))) + integer(0) +
                           quoted(program.folderText(QStringLiteral("bilder"))) +
                           quoted(QStringLiteral("pris.bmp")));
    kelvuadm::Form1& form = program.start();
    QCOMPARE(form.List2->count(), 1);
    QVERIFY(!form.Label5->text().isEmpty());
    QVERIFY(accessible(form.List2)->state().invisible);
    QVERIFY(accessible(form.Label5)->state().invisible);
    QVERIFY(!accessible(form.List1)->state().invisible);
    // A screen reader walking the window does not come upon them at all.
    QAccessibleInterface* window = accessible(&form);
    QCOMPARE(window->indexOfChild(accessible(form.List2)), -1);
    QCOMPARE(window->indexOfChild(accessible(form.Label5)), -1);
    QList<QObject*> children;
    for (int i = 0; i < window->childCount(); ++i) children << window->child(i)->object();
    QVERIFY(children.contains(form.List1));
    QVERIFY(!children.contains(form.List2));
    QVERIFY(!children.contains(form.Label5));
    QCOMPARE(window->child(window->indexOfChild(accessible(form.List1)))->object(), form.List1);
}

void TestAccessibility::deleteKeyRemovesTheSelectedEntry_data() {
    QTest::addColumn<int>("row");        // the current entry, -1: none
    QTest::addColumn<bool>("selected");  // whether it is selected too
    QTest::addColumn<QStringList>("left");
    QTest::newRow("first") << 0 << true << QStringList{u"b.exe"_s, u"c.exe"_s};
    QTest::newRow("middle") << 1 << true << QStringList{u"a.exe"_s, u"c.exe"_s};
    QTest::newRow("last") << 2 << true << QStringList{u"a.exe"_s, u"b.exe"_s};
    QTest::newRow("none") << -1 << false << QStringList{u"a.exe"_s, u"b.exe"_s, u"c.exe"_s};
    QTest::newRow("current, not selected")
        << 1 << false << QStringList{u"a.exe"_s, u"b.exe"_s, u"c.exe"_s};
}

void TestAccessibility::deleteKeyRemovesTheSelectedEntry() {
    QFETCH(int, row);
    QFETCH(bool, selected);
    QFETCH(QStringList, left);
    Supervisor program;
    QByteArray menu = integer(3) + integer(0);
    for (const char* name : {"a", "b", "c"}) {
        const QString file = QString::fromLatin1(name) + QStringLiteral(".exe");
        program.makeFile(QString::fromLatin1(name) + QStringLiteral("/") + file);
        menu += quoted(file) + quoted(program.folderText(QString::fromLatin1(name)));
    }
    support::writeFile(program.home(QStringLiteral("kelvu.ini")), menu + integer(1));
    kelvuadm::Form1& form = program.start();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(QApplication::focusWidget(), form.List1);
    if (row >= 0)
        form.List1->setCurrentRow(
            row, selected ? QItemSelectionModel::ClearAndSelect : QItemSelectionModel::NoUpdate);
    QTest::keyClick(form.List1, Qt::Key_Delete);
    QCOMPARE(support::items(form.List1), left);
    QStringList folders;
    for (const QString& name : left) folders << program.folderText(name.left(1));
    QCOMPARE(support::items(form.List2), folders);
    QCOMPARE(support::Global::ListedCount, left.size());
    QCOMPARE(support::Global::WantedCount, 3);
    QCOMPARE(form.Label3->text(), QStringLiteral("3"));
}

void TestAccessibility::countBarByArrowKeys() {
    Supervisor program;
    QByteArray menu = integer(2) + integer(0);
    for (const char* name : {"a", "b"}) {
        const QString file = QString::fromLatin1(name) + QStringLiteral(".exe");
        program.makeFile(QString::fromLatin1(name) + QStringLiteral("/") + file);
        menu += quoted(file) + quoted(program.folderText(QString::fromLatin1(name)));
    }
    support::writeFile(program.home(QStringLiteral("kelvu.ini")), menu + integer(1));
    kelvuadm::Form1& form = program.start();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    form.VScroll1->setFocus();
    // 1 is at the top: Up lowers the count, Down raises it. Below the two
    // listed exercises it snaps back to the count before, even from Home.
    const QList<std::pair<Qt::Key, QString>> steps = {
        {Qt::Key_Up, u"2"_s},   {Qt::Key_Down, u"3"_s}, {Qt::Key_Down, u"4"_s},
        {Qt::Key_Up, u"3"_s},   {Qt::Key_End, u"7"_s},  {Qt::Key_Down, u"7"_s},
        {Qt::Key_Home, u"7"_s}, {Qt::Key_Up, u"6"_s}};
    for (const auto& [key, shown] : steps) {
        QTest::keyClick(form.VScroll1, key);
        QCOMPARE(form.Label3->text(), shown);
        QCOMPARE(form.VScroll1->value(), shown.toInt());
        QCOMPARE(int(support::Global::WantedCount), shown.toInt());
        QCOMPARE(accessible(form.VScroll1)->valueInterface()->currentValue().toInt(),
                 shown.toInt());
    }
}

void TestAccessibility::optionsByArrowKeys_data() {
    QTest::addColumn<int>("group");  // 1: Option3D1 (reward), 2: Option3D2 (card type)
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("to");
    QTest::addColumn<bool>("nameApplies");  // Label8 enabled afterwards
    QTest::newRow("På, Down: Av") << 1 << 0 << int(Qt::Key_Down) << 1 << false;
    QTest::newRow("Av, Down: round to På") << 1 << 1 << int(Qt::Key_Down) << 0 << true;
    QTest::newRow("På, Left: round to Av") << 1 << 0 << int(Qt::Key_Left) << 1 << false;
    QTest::newRow("Siffror, Down: Bokstäver") << 2 << 0 << int(Qt::Key_Down) << 1 << true;
    QTest::newRow("Pictogram, Left: Bokstäver") << 2 << 2 << int(Qt::Key_Left) << 1 << true;
    QTest::newRow("Former, Right: round to Siffror") << 2 << 3 << int(Qt::Key_Right) << 0 << true;
    QTest::newRow("Siffror, Up: round to Former") << 2 << 0 << int(Qt::Key_Up) << 3 << true;
}

void TestAccessibility::optionsByArrowKeys() {
    QFETCH(int, group);
    QFETCH(int, from);
    QFETCH(int, key);
    QFETCH(int, to);
    QFETCH(bool, nameApplies);
    Supervisor program;
    kelvuadm::Form1& form = program.start();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    SSOptionGroup* options = group == 1 ? form.Option3D1 : form.Option3D2;
    program.click(options->option(from));
    QSignalSpy clicks(options, &SSOptionGroup::clicked);
    // The arrow chooses the option it moves to, raising the click event once.
    QTest::keyClick(options->option(from), Qt::Key(key));
    QCOMPARE(QApplication::focusWidget(), options->option(to));
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(clicks.front(), (QVariantList{to, true}));
    for (int i = 0; i < options->count(); ++i) QCOMPARE(options->option(i)->isChecked(), i == to);
    QCOMPARE(form.Label8->isEnabled(), nameApplies);
}

void TestAccessibility::dialogsByKeyboard() {
    Supervisor program;
    kelvuadm::Form1& form = program.start();
    program.setCount(1);
    program.makeFile(QStringLiteral("ovningar/rita.exe"));
    program.addExercise(program.home(QStringLiteral("ovningar/rita.exe")));
    program.chooseReward(1);

    // Save: the entry box is named by its prompt; Enter and Esc press
    // nothing; Tab to "Spara" and Space saves.
    kelvuadm::Form4* save = program.clickSaveAs();
    QVERIFY(save);
    QVERIFY(QTest::qWaitForWindowActive(save));
    QCOMPARE(nameOf(save), QStringLiteral("Spara som"));
    QCOMPARE(nameOf(save->Text1),
             QStringLiteral("Skriv in det namn som du vill spara inställningarna under"));
    QCOMPARE(QApplication::focusWidget(), save->Text1);
    QTest::keyClicks(save->Text1, QStringLiteral("hemma"));
    for (QWidget* target :
         {static_cast<QWidget*>(save->Text1), static_cast<QWidget*>(save->Command3D1)}) {
        target->setFocus();
        QTest::keyClick(target, Qt::Key_Return);
        QTest::keyClick(target, Qt::Key_Enter, Qt::KeypadModifier);
        QTest::keyClick(target, Qt::Key_Escape);
    }
    QVERIFY(save->isVisible());
    QVERIFY(!QFile::exists(program.home(QStringLiteral("hemma.ini"))));
    save->Text1->setFocus();
    QTest::keyClick(save->Text1, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), save->Command3D1);
    QTest::keyClick(save->Command3D1, Qt::Key_Space);
    QTRY_VERIFY(program.openDialog<kelvuadm::Form4>() == nullptr);
    QVERIFY(QFile::exists(program.home(QStringLiteral("hemma.ini"))));
    QVERIFY(form.isEnabled());
    // The focus is back on the button that opened the dialog.
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(QApplication::focusWidget(), form.SSCommand2);

    // Open: the list is named; Tab, Tab to "Avbryt" and Space closes it.
    kelvuadm::Form5* open = program.clickOpen();
    QVERIFY(open);
    QVERIFY(QTest::qWaitForWindowActive(open));
    QCOMPARE(nameOf(open), QStringLiteral("Hämta"));
    QCOMPARE(nameOf(open->File1), QStringLiteral("Sparade inställningar"));
    QCOMPARE(accessible(open->File1)->role(), QAccessible::List);
    QTRY_COMPARE(QApplication::focusWidget(), open->File1);
    QTest::keyClick(open->File1, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), open->Command3D1);
    QTest::keyClick(open->Command3D1, Qt::Key_Escape);
    QTest::keyClick(open->Command3D1, Qt::Key_Return);
    QVERIFY(open->isVisible());
    QTest::keyClick(open->Command3D1, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), open->Command3D2);
    QTest::keyClick(open->Command3D2, Qt::Key_Space);
    QTRY_VERIFY(program.openDialog<kelvuadm::Form5>() == nullptr);
    QVERIFY(form.isEnabled());
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(QApplication::focusWidget(), form.SSCommand3);
    QCOMPARE(support::items(form.List1), QStringList{u"rita.exe"_s});
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
