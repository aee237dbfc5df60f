#include "supervisor/Form4.h"

#include "shared/app/Fonts.h"
#include "shared/app/ProgramControl.h"
#include "shared/app/Twips.h"
#include "shared/app/WindowStyle.h"
#include "shared/controls/SSCommand.h"
#include "shared/core/RuntimeError.h"
#include "supervisor/Global.h"

#include <QLabel>
#include <QLineEdit>

#include <limits>

namespace kelvuadm {

using app::twipsRect;

Form4::Form4() {
    Text1 = new QLineEdit(this);
    Text1->setGeometry(twipsRect(600, 1680, 2325, 420));
    Text1->setFont(app::boldFont(QStringLiteral("Arial"), 12));
    Text1->setMaxLength(std::numeric_limits<int>::max());  // no limit of its own
    Command3D1 = new SSCommand(QStringLiteral("Spara"), this);
    Command3D1->setGeometry(twipsRect(1920, 2280, 1005, 555));
    Command3D1->setFont(app::boldFont(QStringLiteral("Arial"), 9.75));
    Command3D2 = new SSCommand(QStringLiteral("Avbryt"), this);
    Command3D2->setGeometry(twipsRect(600, 2280, 1005, 555));
    Command3D2->setFont(app::boldFont(QStringLiteral("Arial"), 9.75));
    Label1 = new QLabel(QStringLiteral("Skriv in det namn som du vill spara inställningarna under"),
                        this);
    Label1->setGeometry(twipsRect(240, 240, 3135, 1095));
    Label1->setFont(app::boldFont(QStringLiteral("MS Sans Serif"), 12));
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label1->setWordWrap(true);
    // A screen reader names the entry box by the prompt above it, and the
    // dialog by the button that opened it.
    Text1->setAccessibleName(Label1->text());
    setAccessibleName(QStringLiteral("Spara som"));

    QWidget::setTabOrder(Text1, Command3D1);
    QWidget::setTabOrder(Command3D1, Command3D2);
    Text1->setFocus(Qt::OtherFocusReason);

    connect(Command3D1, &QPushButton::clicked, this,
            app::handlerFor(this, &Form4::Command3D1_Click));
    connect(Command3D2, &QPushButton::clicked, this,
            app::handlerFor(this, &Form4::Command3D2_Click));
}

void Form4::Command3D1_Click() {
    const QString name = Text1->text();
    if (name.isEmpty()) return;
    try {
        Global::SaveMenuFile(name);
    } catch (const core::RuntimeError& error) {
        // The dialog stays open so that another name can be tried.
        app::showRuntimeError(error);
        return;
    }
    enableMainWindowAndUnload();
}

void Form4::Command3D2_Click() {
    enableMainWindowAndUnload();
}

}  // namespace kelvuadm
