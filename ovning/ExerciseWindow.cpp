#include "ExerciseWindow.h"

#include "KeyStrokeFilter.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace ovning {

namespace {

const QColor Background(232, 241, 236);  // a pale sea green
const QColor Ink(27, 42, 74);            // dark blue, for the text
const QColor ButtonColour(46, 125, 50);  // green, with white text

QFont largeFont(int points, QFont::Weight weight) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSize(points);
    font.setWeight(weight);
    return font;
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
      m_instruction(new QLabel(text.instruction, this)),
      m_done(new QPushButton(QStringLiteral("Klar"), this)) {
    setWindowTitle(text.title);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Background);
    colours.setColor(QPalette::WindowText, Ink);
    setPalette(colours);
    setAutoFillBackground(true);

    m_instruction->setTextFormat(Qt::PlainText);
    m_instruction->setWordWrap(true);
    m_instruction->setAlignment(Qt::AlignCenter);
    m_instruction->setFont(largeFont(30, QFont::Bold));

    m_done->setFont(largeFont(30, QFont::Bold));
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
    (new shared::KeyStrokeFilter(this))->watch(m_done);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(48, 48, 48, 40);
    layout->setSpacing(36);
    layout->addWidget(m_instruction, 1);
    layout->addWidget(m_done, 0, Qt::AlignHCenter);

    setFixedSize(680, 380);
    // Centred across, a little below the middle: the cards still to come
    // stay in sight above it.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        QRect frame = rect();
        frame.moveCenter(QPoint(area.center().x(), area.top() + area.height() * 5 / 8));
        move(frame.topLeft());
    }
    m_done->setFocus();
}

}  // namespace ovning
