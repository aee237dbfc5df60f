#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include "ovning/WrappingLabel.h"

class QPushButton;

namespace ovning {

// What an exercise window shows: its title and the one instruction.
struct ExerciseText {
    QString title;
    QString instruction;
};

// The exercise's texts from its arguments (without the program name): the
// title first, then the instruction. Missing ones take the defaults below.
ExerciseText exerciseTextFromArguments(const QStringList& arguments);

// A calm window for a demo exercise: one large instruction and a big "Klar"
// button that ends it, a little below the middle of the screen. "Klar" has
// the focus, so a stroke of Space, Return or keypad Enter ends it too. The
// window fits its text: a long one is shown whole, wrapped, and never reaches
// beyond the screen.
class ExerciseWindow final : public QWidget {
    Q_OBJECT
public:
    explicit ExerciseWindow(const ExerciseText& text, QWidget* parent = nullptr);

    QLabel* instructionLabel() const { return m_instruction; }
    QPushButton* doneButton() const { return m_done; }

private:
    // The size that shows the whole instruction, wrapped, on the screen.
    void fitToText();

    WrappingLabel* m_instruction;
    QPushButton* m_done;
};

}  // namespace ovning
