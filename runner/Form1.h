#pragma once

#include <QString>
#include <QWidget>

#include <array>
#include <memory>
#include <vector>

class SSCommand;
class Svartbakgrund;
namespace controls {
class KeyStrokeFilter;
}

namespace kelvu {

// The learner's window "Arbetsordning": one square card per exercise of the
// menu in "kelvu.ini", in menu order, and a final card with the reward
// picture. Only the next card in order reacts; a click on it starts that
// exercise in its own folder and takes the card away. Once every exercise
// has been started, a click on the reward picture ends the program.
class Form1 final : public QWidget {
    Q_OBJECT
public:
    // Slots of the exercise tables: the reward picture takes slot N, so a menu
    // holds at most 9 exercises, or 8 with a reward picture.
    static constexpr int TableSlots = 9;

    Form1();
    ~Form1() override;

    // The load handler: shows the backdrop, reads the menu and lays out the
    // cards. Run-time errors escape it; the caller reports them.
    void Form_Load();

    // Reads "kelvu.ini" from the current directory into the window state.
    void ReadMenuFile();

    // The click handler of the card with the given index.
    void Ruta_Click(qint16 index);

    // The card that works now: card NextCard while exercises remain, then
    // the final card when it shows the reward picture; nullptr once there is
    // none. Only this card takes the keyboard focus.
    SSCommand* workingCard() const;

    // The card array, card 0 first.
    const std::vector<SSCommand*>& cards() const { return Ruta; }
    // The backdrop, while it is loaded.
    Svartbakgrund* backdrop() const { return m_backdrop.get(); }

protected:
    // The unload handler: unloads the backdrop. The close is never refused.
    void closeEvent(QCloseEvent* event) override;
    // Back in front after an exercise: the working card has the focus again.
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createCards();
    void giveCardsTheirFaces();
    void setUpFinalCard();
    void fitClientAreaToCards();
    void focusWorkingCard();
    void connectCard(SSCommand* card, qint16 index);
    void startExercise(int index);
    SSCommand* card(int index) const;

    qint16 NextCard = 0;
    qint16 ExerciseCount = 0;
    qint16 CardType = 0;
    std::array<QString, TableSlots> ExerciseDirs;
    std::array<QString, TableSlots> ExerciseFiles;
    qint16 RewardChoice = 0;
    QString HomeDir;

    std::vector<SSCommand*> Ruta;
    std::vector<int> m_cardLeft;  // twips, as the cards were laid out
    std::vector<int> m_cardTop;
    std::unique_ptr<Svartbakgrund> m_backdrop;
    // Space, Return and keypad Enter press the focused card once per stroke.
    controls::KeyStrokeFilter* m_keyStrokes;
    // The window system's time of the last press or key stroke on a card.
    quint64 m_pressTime = 0;
};

}  // namespace kelvu
