#include "supervisor/Form1.h"

#include "shared/app/Fonts.h"
#include "shared/app/ProgramControl.h"
#include "shared/app/SystemColours.h"
#include "shared/app/Twips.h"
#include "shared/app/WindowStyle.h"
#include "shared/controls/AccessibleControls.h"
#include "shared/controls/CommonDialog.h"
#include "shared/controls/ListBox.h"
#include "shared/controls/SSCommand.h"
#include "shared/controls/SSOptionGroup.h"
#include "shared/controls/SSPanel.h"
#include "shared/controls/Svartbakgrund.h"
#include "shared/core/PlatformFiles.h"
#include "shared/core/RuntimeError.h"
#include "shared/core/ShortText.h"
#include "shared/menufile/Menu.h"
#include "shared/menufile/MenuWriter.h"
#include "supervisor/Form4.h"
#include "supervisor/Form5.h"
#include "supervisor/Global.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QScrollBar>
#include <QShortcut>

namespace kelvuadm {

using app::SystemColour;
using app::systemColour;
using app::twipsRect;
using app::twipsToPixels;

namespace {

const QColor White(255, 255, 255);
const QColor Grey(128, 128, 128);

const QString ActiveMenuFile = QStringLiteral("kelvu.ini");

QLabel* label(QWidget* parent, const QString& text, QRect geometry) {
    auto* l = new QLabel(text, parent);
    l->setGeometry(geometry);
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return l;
}

QLabel* whiteBox(QWidget* parent, QRect geometry) {
    auto* l = new QLabel(parent);
    l->setGeometry(geometry);
    l->setTextFormat(Qt::PlainText);  // it shows names, never markup
    l->setAlignment(Qt::AlignCenter);
    l->setFrameStyle(QFrame::Box | QFrame::Plain);
    l->setLineWidth(1);
    app::setBackColour(l, White);
    return l;
}

SSCommand* button(QWidget* parent, const QString& caption, QRect geometry) {
    auto* b = new SSCommand(caption, parent);
    b->setGeometry(geometry);
    return b;
}

QFrame* line(QWidget* parent, QRect geometry) {
    auto* l = new QFrame(parent);
    l->setGeometry(geometry);
    app::setBackColour(l, Grey);
    return l;
}

SSOptionGroup* optionGroup(QObject* owner, SSPanel* panel,
                           const QList<std::pair<QString, QRect>>& options) {
    auto* group = new SSOptionGroup(owner);
    for (const auto& [caption, geometry] : options) {
        auto* option = new SSOption(caption, panel);
        option->setFont(app::boldFont(QStringLiteral("MS Sans Serif"), 9.75));
        option->setGeometry(geometry);
        group->add(option);
    }
    return group;
}

}  // namespace

void showMessage(QWidget* parent, const QString& text, const QString& title) {
    QMessageBox box(QMessageBox::Information, title, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

Form1::Form1() {
    controls::installAccessibleControls();
    setWindowTitle(QStringLiteral("Kelvu handledarsektion"));
    setWindowFlags(app::MainWindowFlags);
    setFixedSize(twipsToPixels(app::MainClientWidth), twipsToPixels(app::MainClientHeight));
    app::setBackColour(this, app::LightYellow);
    // The text colour of windows; a disabled control keeps the desktop's
    // greyed text.
    QPalette text = palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        text.setColor(group, QPalette::WindowText, systemColour(SystemColour::WindowText));
    setPalette(text);
    setFont(app::boldFont(QStringLiteral("MS Sans Serif"), 12));
    buildLayout();
    setTabOrder();
    connectHandlers();
}

Form1::~Form1() = default;

void Form1::buildLayout() {
    Line1 = line(this, QRect(twipsToPixels(4800) - 1, 0, 3, twipsToPixels(6840)));
    Line2 = line(this, QRect(0, twipsToPixels(3600) - 1, twipsToPixels(9600), 3));

    // Top left: count and exercise list.
    Label4 = label(this, QStringLiteral("Antal övningar:"), twipsRect(120, 120, 1335, 735));
    Label4->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label3 = whiteBox(this, twipsRect(480, 1080, 495, 735));
    Label3->setFont(app::makeFont(QStringLiteral("Times New Roman"), 30, QFont::Normal));
    Label3->setText(QStringLiteral("3"));
    VScroll1 = new QScrollBar(Qt::Vertical, this);
    VScroll1->setGeometry(twipsRect(960, 840, 255, 1215));
    VScroll1->setRange(menufile::Menu::LowestCount, menufile::Menu::HighestCount);
    VScroll1->setPageStep(1);
    VScroll1->setFocusPolicy(Qt::StrongFocus);
    VScroll1->setValue(3);
    VScroll1->setAccessibleName(QStringLiteral("Antal övningar"));
    // The change event comes once a drag of the thumb ends, not for every
    // value the thumb passes on the way.
    VScroll1->setTracking(false);
    // As in any vertical scroll bar, 1 is at the top: the upper arrow lowers
    // the count, the lower arrow raises it.
    Label2 = label(this, QStringLiteral("Valda övningar:"), twipsRect(1920, 120, 2055, 375));
    List1 = new controls::ListBox(this);
    List1->setGeometry(twipsRect(1560, 480, 2655, 2160));
    List1->setAccessibleName(QStringLiteral("Valda övningar"));
    List2 = new QListWidget(this);
    List2->setGeometry(twipsRect(1920, 840, 2055, 1785));
    List2->setFont(app::boldFont(QStringLiteral("MS Sans Serif"), 8.25));
    List2->hide();
    Command3D1 = button(this, QStringLiteral("Lägg till övning"), twipsRect(1560, 2760, 2655, 495));

    // Top right: reward picture.
    Label1 = label(this, QStringLiteral("Belöningsbild / vad händer sedan?"),
                   twipsRect(5160, 360, 4215, 375));
    Panel3D2 = new SSPanel(this);
    Panel3D2->setGeometry(twipsRect(5160, 1320, 1035, 1065));
    Panel3D2->setFont(app::boldFont(QStringLiteral("MS Sans Serif"), 8.25));
    Panel3D2->setBackColor(systemColour(SystemColour::InactiveCaptionText));
    Panel3D2->setAccessibleName(Label1->text());
    Option3D1 = optionGroup(this, Panel3D2,
                            {{QStringLiteral("På"), twipsRect(240, 240, 615, 255)},
                             {QStringLiteral("Av"), twipsRect(240, 600, 615, 255)}});
    Option3D1->option(menufile::RewardPicture)->setChecked(true);
    Label9 = label(this, QStringLiteral("Vald bild:"), twipsRect(7320, 960, 1695, 375));
    Label8 = whiteBox(this, twipsRect(6600, 1320, 2655, 375));
    SSCommand1 = button(this, QStringLiteral("Lägg till bild"), twipsRect(6600, 1920, 2655, 495));
    Label5 = label(this, QString(), twipsRect(6480, 2880, 2415, 375));
    Label5->setTextFormat(Qt::PlainText);
    Label5->setFont(app::boldFont(QStringLiteral("MS Sans Serif"), 8.25));
    Label5->hide();

    // Bottom left: card type.
    Label7 =
        label(this, QStringLiteral("Typ av bilder på korten"), twipsRect(960, 3960, 2775, 375));
    Panel3D1 = new SSPanel(this);
    Panel3D1->setGeometry(twipsRect(1080, 4560, 2295, 1815));
    Panel3D1->setFont(app::boldFont(QStringLiteral("MS Sans Serif"), 8.25));
    Panel3D1->setBackColor(systemColour(SystemColour::ButtonFace));
    Panel3D1->setAccessibleName(Label7->text());
    Option3D2 = optionGroup(this, Panel3D1,
                            {{QStringLiteral("Siffror"), twipsRect(240, 240, 1455, 255)},
                             {QStringLiteral("Bokstäver"), twipsRect(240, 600, 1815, 255)},
                             {QStringLiteral("Pictogram"), twipsRect(240, 960, 1575, 255)},
                             {QStringLiteral("Former"), twipsRect(240, 1320, 1575, 255)}});
    Option3D2->option(menufile::Digits)->setChecked(true);

    // Bottom right: finishing, saving and opening.
    Command3D2 = button(this, QStringLiteral("OK"), twipsRect(5280, 4800, 1575, 855));
    Command3D3 = button(this, QStringLiteral("Avbryt"), twipsRect(5280, 5760, 1575, 855));
    SSCommand4 = button(this, QStringLiteral("Ny"), twipsRect(7560, 3840, 1575, 855));
    SSCommand3 = button(this, QStringLiteral("Hämta"), twipsRect(7560, 4800, 1575, 855));
    SSCommand2 = button(this, QStringLiteral("Spara som"), twipsRect(7560, 5760, 1575, 855));

    hämtafil = new CommonDialog(this);
}

void Form1::setTabOrder() {
    QList<QWidget*> order = {List1, VScroll1, Command3D1};
    for (int i = 0; i < Option3D1->count(); ++i) order << Option3D1->option(i);
    order << Command3D2 << Command3D3;
    for (int i = 0; i < Option3D2->count(); ++i) order << Option3D2->option(i);
    order << SSCommand1 << SSCommand2 << SSCommand3 << SSCommand4;
    for (qsizetype i = 0; i + 1 < order.size(); ++i) QWidget::setTabOrder(order[i], order[i + 1]);
}

void Form1::connectHandlers() {
    using app::handlerFor;
    connect(Command3D1, &QPushButton::clicked, this, handlerFor(this, &Form1::Command3D1_Click));
    connect(List1, &QListWidget::itemDoubleClicked, this, handlerFor(this, &Form1::List1_DblClick));
    // Delete removes the selected entry, for those who work by keyboard.
    auto* deleteKey = new QShortcut(QKeySequence(Qt::Key_Delete), List1);
    deleteKey->setContext(Qt::WidgetShortcut);
    connect(deleteKey, &QShortcut::activated, this, handlerFor(this, &Form1::List1_DeleteKey));
    connect(VScroll1, &QScrollBar::valueChanged, this, handlerFor(this, &Form1::VScroll1_Change));
    connect(Option3D1, &SSOptionGroup::clicked, this, handlerFor(this, &Form1::Option3D1_Click));
    // Choosing a card type changes nothing beyond the group's own selection.
    connect(SSCommand1, &QPushButton::clicked, this, handlerFor(this, &Form1::SSCommand1_Click));
    connect(Command3D2, &QPushButton::clicked, this, handlerFor(this, &Form1::Command3D2_Click));
    connect(Command3D3, &QPushButton::clicked, this, handlerFor(this, &Form1::Command3D3_Click));
    connect(SSCommand2, &QPushButton::clicked, this, handlerFor(this, &Form1::SSCommand2_Click));
    connect(SSCommand3, &QPushButton::clicked, this, handlerFor(this, &Form1::SSCommand3_Click));
    connect(SSCommand4, &QPushButton::clicked, this, handlerFor(this, &Form1::SSCommand4_Click));
}

void Form1::Form_Load() {
    m_backdrop = std::make_unique<Svartbakgrund>();
    m_backdrop->showBehind(this);
    Global::HomeDir = QDir::currentPath();
    // The first start in a folder has no active menu yet: the window opens
    // in its initial state so that the first menu can be made. A menu file
    // that cannot be read is reported and left untouched until "OK".
    bool loaded = false;
    // Anything of that name but nothing at all is tried, and reported when it
    // is not a menu: a folder, a FIFO, a link loop or a dangling link too.
    if (core::fileKind(ActiveMenuFile) != core::FileKind::Missing) {
        try {
            Global::LoadMenuFile(ActiveMenuFile);
            loaded = true;
        } catch (const core::RuntimeError& error) {
            app::showRuntimeError(error);
        }
    }
    // In the initial state the wanted count is the one the window shows.
    if (!loaded) Global::WantedCount = static_cast<qint16>(VScroll1->value());
    app::centreOnScreen(this);
}

void Form1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!m_focusGiven) {
        m_focusGiven = true;
        List1->setFocus(Qt::OtherFocusReason);
    }
}

void Form1::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange && isEnabled() && m_dialogOpener) {
        m_dialogOpener->setFocus(Qt::OtherFocusReason);
        m_dialogOpener = nullptr;
    }
    if (event->type() != QEvent::ActivationChange || !isActiveWindow() || isEnabled() || !m_dialog)
        return;
    if (m_dialog->isMinimized()) m_dialog->showNormal();
    m_dialog->raise();
    m_dialog->activateWindow();
}

bool Form1::pickFile(const QString& title, const QString& filter) {
    hämtafil->DialogTitle = title;
    hämtafil->Filter = filter;
    hämtafil->InitDir = Global::HomeDir;
    hämtafil->FileName = QString();
    hämtafil->ShowOpen();
    if (hämtafil->FileName.isEmpty()) return false;
    if (!menufile::MenuWriter::canStore(hämtafil->FileTitle()) ||
        !menufile::MenuWriter::canStore(hämtafil->Folder())) {
        showMessage(
            this,
            QStringLiteral("Filen \"%1\" kan inte väljas: namnet eller mappen innehåller "
                           "citattecken eller radbrytning, och sådana kan inte sparas i menyn.")
                .arg(core::shortName(hämtafil->FileName)),
            QStringLiteral("Fel"));
        return false;
    }
    return true;
}

void Form1::Command3D1_Click() {
    if (Global::ListedCount >= Global::WantedCount) return;
    QString filter = QStringLiteral("Program fil (*.exe)|*.exe");
#ifndef Q_OS_WIN
    // Programs here carry no ".exe" ending.
    filter += QStringLiteral("|Alla filer (*)|*");
#endif
    if (!pickFile(QStringLiteral("Hämta fil"), filter)) return;
    List1->addItem(hämtafil->FileTitle());
    List2->addItem(hämtafil->Folder());
    ++Global::ListedCount;
}

void Form1::List1_DblClick() {
    // A double-click reaches here only on an entry, which it has selected.
    const int i = List1->currentRow();
    if (i < 0 || i >= Global::ListedCount) return;
    delete List1->takeItem(i);
    delete List2->takeItem(i);
    --Global::ListedCount;
}

void Form1::List1_DeleteKey() {
    // Only a selected entry is removed, as a double-click selects the entry
    // it removes.
    const QListWidgetItem* current = List1->currentItem();
    if (current && current->isSelected()) List1_DblClick();
}

void Form1::VScroll1_Change() {
    const int v = VScroll1->value();
    if (v < Global::ListedCount)
        VScroll1->setValue(Global::WantedCount);  // runs this handler again, nested
    else
        Global::WantedCount = static_cast<qint16>(v);
    Label3->setText(QString::number(VScroll1->value()));
}

void Form1::Option3D1_Click(int /*index*/, bool /*value*/) {
    // The picture name applies only while "På" is set; otherwise it shows greyed.
    const bool applies = Option3D1->option(menufile::RewardPicture)->isChecked();
    Label8->setEnabled(applies);
    app::setBackColour(Label8, systemColour(applies ? SystemColour::Window : SystemColour::Menu));
}

void Form1::SSCommand1_Click() {
    if (!pickFile(QStringLiteral("Hämta "),
                  QStringLiteral("Bild fil (*.bmp *.jpg *.gif)|*.bmp;*.jpg;*.gif")))
        return;
    Label5->setText(hämtafil->Folder());
    Label8->setText(hämtafil->FileTitle());
}

bool Form1::passesFinishingChecks() {
    if (Global::WantedCount > Global::ListedCount) {
        showMessage(this, QStringLiteral("Antal övningar är större än Valda övningar!"),
                    QStringLiteral("Fel"));
        return false;
    }
    if (Option3D1->option(menufile::RewardPicture)->isChecked() && Label8->text().isEmpty()) {
        showMessage(this, QStringLiteral("Ingen belöningsbild är vald!"), QStringLiteral("Fel"));
        return false;
    }
    return true;
}

void Form1::Command3D2_Click() {
    if (!passesFinishingChecks()) return;
    try {
        Global::SaveMenuFile(QStringLiteral("kelvu"));
    } catch (const core::RuntimeError& error) {
        // Nothing is lost: the menu stays in the window and can be saved again.
        app::showRuntimeError(error);
        return;
    }
    app::endAtOnce(0);
}

void Form1::Command3D3_Click() {
    app::endAtOnce(0);
}

void Form1::showDialog(QWidget* dialog, QWidget* opener) {
    m_dialogOpener = opener;
    setEnabled(false);
    m_dialog = dialog;
    m_dialog->show();
    m_dialog->activateWindow();
}

void Form1::SSCommand2_Click() {
    if (!passesFinishingChecks()) return;
    showDialog(new Form4(), SSCommand2);
}

void Form1::SSCommand3_Click() {
    showDialog(new Form5(), SSCommand3);
}

void Form1::SSCommand4_Click() {
    Global::ClearMenu();
}

void Form1::closeEvent(QCloseEvent* event) {
    if (!isEnabled()) {
        event->ignore();
        return;
    }
    m_backdrop.reset();
    event->accept();
}

}  // namespace kelvuadm
