#include "ovning/ExerciseWindow.h"

#include "ovning/WrappingLabel.h"
#include "shared/controls/KeyStrokeFilter.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace ovning {

namespace {

const QColor Background(232, 241, 236);  // a pale sea green
const QColor Ink(27, 42, 74);            // dark blue, for the text
const QColor ButtonColour(46, 125, 50);  // green, with white text

// The window is never smaller than this, and for a short instruction exactly
// this; a longer one makes it taller, then wider, then its letters smaller,
// until the whole text fits on the screen.
constexpr QSize SmallestSize(680, 380);
constexpr int WidestWindow = 1200;
constexpr int LargestPoints = 30;
constexpr int SmallestPoints = 12;
// Room for the frame that the window manager puts around the window.
constexpr QSize FrameAllowance(16, 48);
constexpr QMargins Margins(48, 48, 48, 40);
constexpr int Spacing = 36;

QFont largeFont(int points, QFont::Weight weight) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSize(points);
    font.setWeight(weight);
    return font;
}

QRect workArea() {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        return screen->availableGeometry();
    return {0, 0, 800, 600};
}

}  // namespace

ExerciseText exerciseTextFromArguments(const QStringList& arguments) {
    ExerciseText text{QStringLiteral("Övning"), QStringLiteral("Räkna fingrarna på ena handen.")};
    if (arguments.size() > 0 && !arguments.at(0).isEmpty()) text.title = arguments.at(0);
    if (arguments.size() > 1 && !arguments.at(1).isEmpty()) text.instruction = arguments.at(1);
    return text;
}

ExerciseWindow::ExerciseWindow(const ExerciseText& text, QWidget* parent)
    : QWidget(parent),
      m_instruction(new WrappingLabel(text.instruction, this)),
      m_done(new QPushButton(QStringLiteral("Klar"), this)) {
    setWindowTitle(text.title);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Background);
    colours.setColor(QPalette::WindowText, Ink);
    setPalette(colours);
    setAutoFillBackground(true);

    m_instruction->setAlignment(Qt::AlignCenter);

    m_done->setFont(largeFont(LargestPoints, QFont::Bold));
    m_done->setMinimumSize(280, 110);
    m_done->setDefault(true);
    m_done->setStyleSheet(
        QStringLiteral("QPushButton { background: %1; color: white; "
                       "border: 3px solid %2; border-radius: 14px; }"
                       "QPushButton:focus { border: 5px solid %3; }")
            .arg(ButtonColour.name(), ButtonColour.darker(150).name(), Ink.name()));
    connect(m_done, &QPushButton::clicked, this, &QWidget::close);
    // A key still held from the card that started the exercise does not
    // press "Klar": only a new stroke does.
    (new controls::KeyStrokeFilter(this))->watch(m_done);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(Margins);
    layout->setSpacing(Spacing);
    layout->addWidget(m_instruction, 1);
    layout->addWidget(m_done, 0, Qt::AlignHCenter);

    fitToText();
    // Centred across, a little below the middle: the cards still to come
    // stay in sight above it. A tall window moves up to stay on the screen.
    const QRect area = workArea();
    QRect frame(QPoint(0, 0), size() + FrameAllowance);
    frame.moveCenter(QPoint(area.center().x(), area.top() + area.height() * 5 / 8));
    if (frame.bottom() > area.bottom()) frame.moveBottom(area.bottom());
    if (frame.top() < area.top()) frame.moveTop(area.top());
    move(frame.topLeft());
    m_done->setFocus();
}

void ExerciseWindow::fitToText() {
    const QSize room = workArea().size() - FrameAllowance;
    const int widest = std::min(WidestWindow, room.width());
    const int narrowest = std::min(SmallestSize.width(), widest);
    const int button = std::max(m_done->minimumHeight(), m_done->sizeHint().height());
    QSize fitted;
    for (int points = LargestPoints; points >= SmallestPoints; points -= 2) {
        m_instruction->setFont(largeFont(points, QFont::Bold));
        for (const int width : {narrowest, widest}) {
            const int text =
                m_instruction->heightForWidth(width - Margins.left() - Margins.right());
            const int height = Margins.top() + text + Spacing + button + Margins.bottom();
            fitted = QSize(width, std::max(SmallestSize.height(), height));
            if (fitted.height() <= room.height()) {
                setFixedSize(fitted);
                return;
            }
        }
    }
    // Text of this length is no instruction; as much of it as the screen holds.
    setFixedSize(fitted.width(), room.height());
}

}  // namespace ovning
