#pragma once

// Shared steps of the supervisor's widget tests: a fresh program state in a
// fresh folder, and answers to the modal message boxes and file dialogs the
// window opens, given through their own controls.
#include "shared/app/ProgramControl.h"
#include "shared/controls/SSCommand.h"
#include "shared/controls/SSOptionGroup.h"
#include "supervisor/Form1.h"
#include "supervisor/Form4.h"
#include "supervisor/Form5.h"
#include "supervisor/Global.h"
#include "tests/TestFiles.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

namespace support {

using kelvuadm::Form1;
namespace Global = kelvuadm::Global;

struct MessageSeen {
    QString text;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
    QRect geometry;  // where the box stood, its frame included
};

struct FileDialogSeen {
    QString title;
    QStringList nameFilters;
    QString directory;
};

// The modal window types that a running whileModal answers.
inline QList<const QMetaObject*>& awaitedModals() {
    static QList<const QMetaObject*> types;
    return types;
}

// An unexpected modal window fails the test at once, and is closed so that
// the test goes on instead of hanging.
inline void failAndClose(QWidget* modal) {
    QTest::qFail(
        qPrintable(QStringLiteral("an unexpected %1 \"%2\" opened")
                       .arg(QLatin1String(modal->metaObject()->className()), modal->windowTitle())),
        __FILE__, __LINE__);
    if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
}

// Closes a modal window that no whileModal waits for, failing the test.
inline void closeUnexpectedModal() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible()) return;
    for (const QMetaObject* type : awaitedModals())
        if (type->cast(modal)) return;
    failAndClose(modal);
}

// Runs action, which may open a modal window of type T; answer is given the
// window once it is shown. Returns whether it was shown. One of type T left
// unanswered is closed after the deadline, so a test never hangs.
template <class T>
bool whileModal(const std::function<void()>& action, const std::function<void(T*)>& answer,
                int timeoutMs = 10000) {
    bool seen = false;
    QPointer<QWidget> answered;
    QElapsedTimer clock;
    clock.start();
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        T* window = qobject_cast<T*>(modal);
        if (!seen && window && window->isVisible()) {
            seen = true;
            answered = window;
            answer(window);
        } else if (seen && window && window->isVisible() && window != answered) {
            failAndClose(window);  // a second one is not awaited
        } else if (clock.elapsed() > timeoutMs) {
            // Whatever is still modal was not answered: close it so the test ends.
            if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
        }
    });
    awaitedModals().append(&T::staticMetaObject);
    poll.start();
    action();
    poll.stop();
    awaitedModals().removeLast();
    return seen;
}

// The text a label shows: markup is rendered, not shown, unless the label
// takes its text as plain text.
inline QString shownText(const QLabel* label) {
    const QString text = label->text();
    if (label->textFormat() == Qt::PlainText ||
        (label->textFormat() == Qt::AutoText && !Qt::mightBeRichText(text)))
        return text;
    QTextDocument document;
    document.setHtml(text);
    return document.toPlainText();
}

// Runs action and answers a message box it shows with OK.
inline std::optional<MessageSeen> messageFrom(const std::function<void()>& action) {
    MessageSeen message;
    const bool shown = whileModal<QMessageBox>(action, [&](QMessageBox* box) {
        message = {shownText(box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))),
                   box->windowTitle(), box->icon(), static_cast<int>(box->buttons().size()),
                   box->frameGeometry()};
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
    if (!shown) return std::nullopt;
    return message;
}

// Answers an open file dialog the way a user does: types the file name and
// presses "Open", or presses "Cancel" when path is empty.
inline void answerFileDialog(QFileDialog* dialog, const QString& path, FileDialogSeen* seen) {
    if (seen)
        *seen = {dialog->windowTitle(), dialog->nameFilters(), dialog->directory().absolutePath()};
    auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    if (path.isEmpty()) {
        QTest::mouseClick(buttons->button(QDialogButtonBox::Cancel), Qt::LeftButton);
        return;
    }
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    name->setText(path);
    QTest::mouseClick(buttons->button(QDialogButtonBox::Open), Qt::LeftButton);
}

// Answers an open file dialog by going to the file's folder, selecting the
// file in the list of files and pressing "Open": the way to choose a name that
// the name box would read as a list of names (it holds a quotation mark).
inline void chooseInFileList(QFileDialog* dialog, const QString& path) {
    dialog->setDirectory(QFileInfo(path).absolutePath());
    auto* model = dialog->findChild<QFileSystemModel*>();
    auto* view = dialog->findChild<QListView*>(QStringLiteral("listView"));
    QModelIndex index;
    QElapsedTimer clock;
    clock.start();
    while (!(index = model->index(path)).isValid() && clock.elapsed() < 5000) QTest::qWait(5);
    QTRY_VERIFY_WITH_TIMEOUT(view->visualRect(index).isValid(), 5000);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
    auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    QTRY_VERIFY_WITH_TIMEOUT(buttons->button(QDialogButtonBox::Open)->isEnabled(), 5000);
    QTest::mouseClick(buttons->button(QDialogButtonBox::Open), Qt::LeftButton);
}

inline QStringList items(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
    return texts;
}

// One test's program: a fresh folder as current directory, a fresh Global
// state, and observers for run-time errors and for the end of the program.
class Supervisor {
public:
    Supervisor() {
        m_modalGuard.setInterval(5);
        QObject::connect(&m_modalGuard, &QTimer::timeout, &closeUnexpectedModal);
        m_modalGuard.start();
        m_startDir = QDir::currentPath();
        if (!m_home.isValid() || !QDir::setCurrent(m_home.path())) qFatal("no test folder");
        Global::ResetState();
        app::resetProgramControl();
        app::setErrorObserver([this](const core::RuntimeError& e) { errors.push_back(e); });
        app::setEndObserver([this](int status) { endStatus = status; });
    }
    ~Supervisor() {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (qobject_cast<kelvuadm::Form4*>(window) || qobject_cast<kelvuadm::Form5*>(window))
                delete window;
        Global::ResetState();
        app::setErrorObserver({});
        app::setEndObserver({});
        app::resetProgramControl();
        QDir::setCurrent(m_startDir);
    }
    Supervisor(const Supervisor&) = delete;
    Supervisor& operator=(const Supervisor&) = delete;

    QString home(const QString& name = QString()) const {
        return name.isEmpty() ? m_home.path() : m_home.filePath(name);
    }
    QString folderText(const QString& name) const { return QDir::toNativeSeparators(home(name)); }
    // A file in a sub-folder of the test folder, made on the way.
    QString makeFile(const QString& relative, const QByteArray& bytes = "x") {
        const QString path = home(relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        writeFile(path, bytes);
        return path;
    }

    // Loads and shows the main window as the program does.
    Form1& start() {
        Form1& window = Global::MainWindow();
        app::runHandler([&window] { window.Form_Load(); });
        window.show();
        return window;
    }
    Form1& form() const { return Global::MainWindow(); }

    void click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

    // Clicks "Lägg till övning" and answers its dialog with path ("" cancels).
    bool addExercise(const QString& path, FileDialogSeen* seen = nullptr) {
        return whileModal<QFileDialog>([&] { click(form().Command3D1); },
                                       [&](QFileDialog* d) { answerFileDialog(d, path, seen); });
    }
    // Clicks "Lägg till bild" and answers its dialog with path ("" cancels).
    bool pickPicture(const QString& path, FileDialogSeen* seen = nullptr) {
        return whileModal<QFileDialog>([&] { click(form().SSCommand1); },
                                       [&](QFileDialog* d) { answerFileDialog(d, path, seen); });
    }
    // Moves the count scroll bar as the user does, one step at a time.
    void stepCountTo(int value) {
        QScrollBar* bar = form().VScroll1;
        for (int guard = 0; guard < 20 && bar->value() != value; ++guard)
            bar->triggerAction(bar->value() < value ? QAbstractSlider::SliderSingleStepAdd
                                                    : QAbstractSlider::SliderSingleStepSub);
    }
    void setCount(int value) { form().VScroll1->setValue(value); }
    void chooseReward(int index) { click(form().Option3D1->option(index)); }
    void chooseCardType(int index) { click(form().Option3D2->option(index)); }
    // Double-clicks entry i of List1.
    void doubleClickEntry(int i) {
        QListWidget* list = form().List1;
        const QRect rect = list->visualItemRect(list->item(i));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    }

    template <class T>
    T* openDialog() const {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<T*>(window); dialog && dialog->isVisible())
                return dialog;
        return nullptr;
    }
    // "Spara som" and "Hämta" as clicked; the dialog they show, if any.
    kelvuadm::Form4* clickSaveAs() {
        click(form().SSCommand2);
        return openDialog<kelvuadm::Form4>();
    }
    kelvuadm::Form5* clickOpen() {
        click(form().SSCommand3);
        return openDialog<kelvuadm::Form5>();
    }

    // Builds a complete menu through the window: count, exercises, card type,
    // reward picture.
    void buildMenu(const QStringList& exercisePaths, int cardType, const QString& picture) {
        setCount(static_cast<int>(exercisePaths.size()));
        for (const QString& path : exercisePaths)
            if (!addExercise(path)) QFAIL("\"Lägg till övning\" opened no file dialog");
        chooseCardType(cardType);
        if (picture.isEmpty()) {
            chooseReward(1);
        } else {
            chooseReward(0);
            if (!pickPicture(picture)) QFAIL("\"Lägg till bild\" opened no file dialog");
        }
    }

    std::vector<core::RuntimeError> errors;
    std::optional<int> endStatus;

private:
    QTemporaryDir m_home;
    QString m_startDir;
    QTimer m_modalGuard;
};

}  // namespace support
