#pragma once

#include <QPointer>
#include <QWidget>

#include <memory>

class CommonDialog;
class QFrame;
class QLabel;
class QListWidget;
class QScrollBar;
class SSCommand;
class SSOptionGroup;
class SSPanel;
class Svartbakgrund;

namespace kelvuadm {

// The supervisor's main window "Kelvu handledarsektion": the menu being
// edited (count, exercise list, card type, reward picture) and the buttons
// that finish, save, open or clear it.
//
// The controls keep their designer names and are reachable by the menu
// routines of Global, which fill and read them.
class Form1 final : public QWidget {
    Q_OBJECT
public:
    Form1();
    ~Form1() override;

    // The load handler: shows the backdrop, remembers the start folder and
    // reads the active menu "kelvu.ini" when there is one.
    void Form_Load();

    // Field top left: count and exercise list.
    QLabel* Label4;
    QLabel* Label3;
    QScrollBar* VScroll1;
    QLabel* Label2;
    QListWidget* List1;
    QListWidget* List2;
    SSCommand* Command3D1;
    // Field top right: reward picture.
    QLabel* Label1;
    SSPanel* Panel3D2;
    SSOptionGroup* Option3D1;
    QLabel* Label9;
    QLabel* Label8;
    SSCommand* SSCommand1;
    QLabel* Label5;
    // Field bottom left: card type.
    QLabel* Label7;
    SSPanel* Panel3D1;
    SSOptionGroup* Option3D2;
    // Field bottom right: finishing, saving and opening.
    SSCommand* Command3D2;
    SSCommand* Command3D3;
    SSCommand* SSCommand4;
    SSCommand* SSCommand3;
    SSCommand* SSCommand2;
    QFrame* Line1;
    QFrame* Line2;
    CommonDialog* hämtafil;

    Svartbakgrund* backdrop() const { return m_backdrop.get(); }

protected:
    // The unload handler: unloads the backdrop. A close request while a
    // dialog has the main window disabled is refused, so the window is never
    // left disabled without the dialog that enables it again.
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // Enabled again when a dialog closes: the keyboard focus goes back to the
    // button that opened it.
    // Activating the window while a dialog has it disabled brings that
    // dialog back in front, even when it was minimised.
    void changeEvent(QEvent* event) override;

private:
    void buildLayout();
    void setTabOrder();
    void connectHandlers();

    // Event handlers.
    void Command3D1_Click();
    void List1_DblClick();
    void List1_DeleteKey();
    void VScroll1_Change();
    void Option3D1_Click(int index, bool value);
    void SSCommand1_Click();
    void Command3D2_Click();
    void Command3D3_Click();
    void SSCommand2_Click();
    void SSCommand3_Click();
    void SSCommand4_Click();

    // The file-picking steps; false when the user cancelled or picked a file
    // that a menu cannot store (the user has then been told).
    bool pickFile(const QString& title, const QString& filter);
    // The two finishing checks; false after showing the message of the first
    // that fails.
    bool passesFinishingChecks();
    // Disables the window and shows the dialog, which enables it again when
    // it closes; the focus then goes back to the button that opened it.
    void showDialog(QWidget* dialog, QWidget* opener);

    bool m_focusGiven = false;
    QWidget* m_dialogOpener = nullptr;
    QPointer<QWidget> m_dialog;  // the save- or open-settings dialog while shown
    std::unique_ptr<Svartbakgrund> m_backdrop;
};

// Shows a message box with an information icon and one OK button.
void showMessage(QWidget* parent, const QString& text, const QString& title);

}  // namespace kelvuadm
