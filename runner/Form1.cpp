#include "runner/Form1.h"

#include "shared/app/Fonts.h"
#include "shared/app/Picture.h"
#include "shared/app/ProgramControl.h"
#include "shared/app/ProgramStart.h"
#include "shared/app/Twips.h"
#include "shared/app/WindowStyle.h"
#include "shared/controls/AccessibleControls.h"
#include "shared/controls/KeyStrokeFilter.h"
#include "shared/controls/SSCommand.h"
#include "shared/controls/Svartbakgrund.h"
#include "shared/core/FolderText.h"
#include "shared/core/PlatformFiles.h"
#include "shared/core/RegularFile.h"
#include "shared/core/RuntimeError.h"
#include "shared/core/ShortText.h"
#include "shared/menufile/Menu.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QInputEvent>

#include <utility>

namespace kelvu {

using app::twipsRect;
using app::twipsToPixels;
using core::RuntimeError;
using core::ErrorNumber::FileNotFound;
using core::ErrorNumber::PathFileAccessError;
using core::ErrorNumber::PathNotFound;
using core::ErrorNumber::SubscriptOutOfRange;

namespace {

const QString MenuFileName = QStringLiteral("kelvu.ini");

// The card layout is made for the main window's client area.
using app::MainClientHeight;
using app::MainClientWidth;
// The margin right of the fourth card of a row, kept when the window has to
// widen for cards further right.
constexpr int RightMargin = MainClientWidth - (7260 + 2055);

// Card 0 as designed, in twips; every other card derives from it.
constexpr int CardLeft = 360;
constexpr int CardTop = 480;
constexpr int CardSide = 2055;
constexpr int CardStep = 2300;
constexpr int SecondRowTop = 4500;
constexpr int FirstCardOfSecondRow = 4;

using menufile::RewardPicture;
static_assert(Form1::TableSlots == menufile::Menu::Slots);

}  // namespace

Form1::Form1() : m_keyStrokes(new controls::KeyStrokeFilter(this)) {
    controls::installAccessibleControls();
    setWindowTitle(QStringLiteral("Arbetsordning"));
    setWindowFlags(app::MainWindowFlags);
    setAccessibleName(QStringLiteral("Arbetsordning"));
    app::setBackColour(this, app::LightYellow);
    setFixedSize(twipsToPixels(MainClientWidth), twipsToPixels(MainClientHeight));

    auto* first = new SSCommand(this);
    first->setFont(app::makeFont(QStringLiteral("Times New Roman"), 79.5, QFont::Normal));
    QPalette text = first->palette();
    text.setColor(QPalette::ButtonText, palette().color(QPalette::WindowText));
    first->setPalette(text);
    first->setGeometry(twipsRect(CardLeft, CardTop, CardSide, CardSide));
    Ruta.push_back(first);
    m_cardLeft.push_back(CardLeft);
    m_cardTop.push_back(CardTop);
    connectCard(first, 0);
}

void Form1::connectCard(SSCommand* card, qint16 index) {
    // No card takes the focus until it is the one that works.
    card->setFocusPolicy(Qt::NoFocus);
    m_keyStrokes->watch(card);
    // Sees the press that clicks it first, for the time of the learner's action.
    card->installEventFilter(this);
    connect(card, &QPushButton::clicked, this,
            [this, index] { app::runHandler([this, index] { Ruta_Click(index); }); });
}

Form1::~Form1() = default;

SSCommand* Form1::card(int index) const {
    if (index < 0 || index >= static_cast<int>(Ruta.size()))
        throw RuntimeError(SubscriptOutOfRange,
                           QStringLiteral("Menyn i \"%1\" har %2 övningar; kort %3 finns inte.")
                               .arg(core::shortName(core::displayFileName(MenuFileName)))
                               .arg(ExerciseCount)
                               .arg(index));
    return Ruta[static_cast<std::size_t>(index)];
}

void Form1::ReadMenuFile() {
    // The values read before a failure stay in the window state.
    menufile::Menu menu;
    auto keep = [&] {
        ExerciseCount = menu.count;
        CardType = menu.cardType;
        ExerciseDirs = {};
        ExerciseFiles = {};
        for (qsizetype k = 0; k < menu.files.size(); ++k)
            ExerciseFiles[static_cast<std::size_t>(k)] = menu.files.at(k);
        for (qsizetype k = 0; k < menu.folders.size(); ++k)
            ExerciseDirs[static_cast<std::size_t>(k)] = menu.folders.at(k);
        RewardChoice = menu.rewardChoice;
        // The reward picture takes the slot after the last exercise.
        if (RewardChoice == RewardPicture && ExerciseCount >= 0 && ExerciseCount < TableSlots) {
            ExerciseDirs[static_cast<std::size_t>(ExerciseCount)] = menu.pictureFolder;
            ExerciseFiles[static_cast<std::size_t>(ExerciseCount)] = menu.pictureName;
        }
    };
    try {
        menufile::readMenu(MenuFileName, menu, menufile::MenuCheck::Slots);
    } catch (...) {
        keep();
        throw;
    }
    keep();
}

void Form1::Form_Load() {
    m_backdrop = std::make_unique<Svartbakgrund>();
    m_backdrop->showBehind(this);
    HomeDir = QDir::currentPath();
    NextCard = 0;
    ReadMenuFile();
    createCards();
    giveCardsTheirFaces();
    setUpFinalCard();
    fitClientAreaToCards();
    focusWorkingCard();

    // Centred on the screen, in front of the backdrop.
    app::centreOnScreen(this);
}

void Form1::createCards() {
    const int count = ExerciseCount;
    SSCommand* first = Ruta.front();
    for (int i = 1; i <= count; ++i) {
        auto* copy = new SSCommand(this);
        copy->setFont(first->font());
        copy->setPalette(first->palette());
        int left = m_cardLeft[i - 1] + CardStep;
        int top = m_cardTop[i - 1];
        if (i == FirstCardOfSecondRow) {
            top = SecondRowTop;
            left = m_cardLeft.front();
        }
        copy->setGeometry(twipsRect(left, top, CardSide, CardSide));
        copy->setVisible(true);
        Ruta.push_back(copy);
        m_cardLeft.push_back(left);
        m_cardTop.push_back(top);
        connectCard(copy, static_cast<qint16>(i));
    }
}

void Form1::giveCardsTheirFaces() {
    for (int k = 0; k < ExerciseCount; ++k) {
        SSCommand* face = card(k);
        const QString number = QString::number(k + 1);
        switch (CardType) {
            case menufile::Digits:
                face->setText(QString(QChar(49 + k)));
                face->setAccessibleName(face->text());
                break;
            case menufile::Letters:
                face->setText(QString(QChar(65 + k)));
                face->setAccessibleName(face->text());
                break;
            case menufile::Pictograms:
                face->setPicture(app::loadPicture(
                    QDir(HomeDir).filePath(QString(QChar(49 + k)) + QStringLiteral("num.bmp")),
                    face->pictureSpace()));
                face->setAccessibleName(QStringLiteral("Bild ") + number);
                break;
            default:  // "Former" and anything else: a blank card
                face->setAccessibleName(QStringLiteral("Kort ") + number);
                break;
        }
    }
}

namespace {

// Why a folder from the menu cannot be used, or "" when it can.
QString folderProblem(const QString& folder) {
    return core::describeFolderKind(core::fileKind(QDir::fromNativeSeparators(folder)));
}

}  // namespace

void Form1::setUpFinalCard() {
    card(ExerciseCount)->setAccessibleName(QStringLiteral("Belöningsbild"));
    if (RewardChoice != RewardPicture) {
        card(ExerciseCount)->hide();
        return;
    }
    const QString& folder = ExerciseDirs[static_cast<std::size_t>(ExerciseCount)];
    if (const QString problem = folderProblem(folder); !problem.isEmpty())
        throw RuntimeError(PathNotFound, QStringLiteral("Mappen \"%1\" för belöningsbilden %2.")
                                             .arg(core::shortName(folder), problem));
    SSCommand* finalCard = card(ExerciseCount);
    finalCard->setPicture(app::loadPicture(
        core::joinFolderAndFile(folder, ExerciseFiles[static_cast<std::size_t>(ExerciseCount)]),
        finalCard->pictureSpace()));
}

void Form1::fitClientAreaToCards() {
    int right = 0;
    for (std::size_t i = 0; i < Ruta.size(); ++i)
        if (!Ruta[i]->isHidden()) right = std::max(right, m_cardLeft[i] + CardSide);
    const int width = std::max(MainClientWidth, right + RightMargin);
    setFixedSize(twipsToPixels(width), twipsToPixels(MainClientHeight));
}

void Form1::Ruta_Click(qint16 index) {
    if (index == ExerciseCount && NextCard == ExerciseCount) {
        app::endAtOnce(0);
        return;
    }
    if (index != NextCard) return;
    ++NextCard;
    startExercise(index);
    card(index)->hide();
    focusWorkingCard();
}

SSCommand* Form1::workingCard() const {
    int index = NextCard;
    if (NextCard >= ExerciseCount) {
        if (RewardChoice != RewardPicture) return nullptr;
        index = ExerciseCount;
    }
    if (index < 0 || index >= static_cast<int>(Ruta.size())) return nullptr;
    SSCommand* working = Ruta[static_cast<std::size_t>(index)];
    return working->isHidden() ? nullptr : working;
}

void Form1::focusWorkingCard() {
    SSCommand* working = workingCard();
    for (SSCommand* each : Ruta) {
        each->setFocusPolicy(each == working ? Qt::StrongFocus : Qt::NoFocus);
        each->setFocusFrame(each == working);
    }
    if (working)
        working->setFocus(Qt::OtherFocusReason);
    else if (QWidget* focused = focusWidget())
        focused->clearFocus();
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::KeyPress:
        case QEvent::TouchBegin:
            m_pressTime = static_cast<QInputEvent*>(event)->timestamp();
            break;
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) focusWorkingCard();
}

void Form1::startExercise(int index) {
    const QString& folder = ExerciseDirs[static_cast<std::size_t>(index)];
    const QString& name = ExerciseFiles[static_cast<std::size_t>(index)];
    const QString workingDir = QFileInfo(QDir::fromNativeSeparators(folder)).absoluteFilePath();
    if (const QString problem = folderProblem(workingDir); !problem.isEmpty())
        throw RuntimeError(PathNotFound, QStringLiteral("Mappen \"%1\" för övning %2 %3.")
                                             .arg(core::shortName(folder))
                                             .arg(index + 1)
                                             .arg(problem));
    const QString program = QDir(workingDir).absoluteFilePath(name);
    const QString shownProgram = core::shortName(QDir::toNativeSeparators(program));
    const core::FileKind kind = name.isEmpty() ? core::FileKind::Missing : core::fileKind(program);
    if (kind != core::FileKind::Regular)
        throw RuntimeError(core::isAbsent(kind) ? FileNotFound : PathFileAccessError,
                           QStringLiteral("Programmet \"%1\" för övning %2 %3.")
                               .arg(shownProgram)
                               .arg(index + 1)
                               .arg(core::describeFileKind(kind)));
    // The time of the press that started it, once: a start that no press
    // on a card caused (a screen reader's action) says no time.
    const std::optional<app::Launch> launch = app::startProgram(
        program, workingDir, QFileInfo(name).completeBaseName(), std::exchange(m_pressTime, 0));
    if (!launch)
        throw RuntimeError(PathFileAccessError,
                           QStringLiteral("Programmet \"%1\" för övning %2 kan inte startas.")
                               .arg(shownProgram)
                               .arg(index + 1));
    m_backdrop->noteLaunch(*launch);
}

void Form1::closeEvent(QCloseEvent* event) {
    m_backdrop.reset();
    event->accept();
}

}  // namespace kelvu
