// Bad input for both programs, as a careless or hostile user gives it: menu
// files, pictures and programs that are FIFOs, folders, links, loops or huge
// files; values that would flood a message; names to save under that are
// links or special files; leftovers of an interrupted save. Every case ends
// in a clear message within a second, and nothing outside the menu file is
// ever written. Links and FIFOs are made in the test's own folder and point
// only at files inside it.
#include "tests/SupervisorTestSupport.h"

#include "runner/Form1.h"
#include "shared/app/ProgramControl.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QScreen>

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>

using namespace support;

namespace {

// The quick answer the rules ask for.
constexpr int Second = 1000;

void makeFifo(const QString& path) {
    if (::mkfifo(QFile::encodeName(path).constData(), 0600) != 0)
        qFatal("cannot make FIFO %s", qPrintable(path));
}

void makeLink(const QString& target, const QString& link) {
    if (!QFile::link(target, link)) qFatal("cannot link %s", qPrintable(link));
}

// Sets the time a name was last changed, seconds from now, without following a link.
void setTime(const QString& path, qint64 seconds) {
    const timespec at{static_cast<time_t>(std::time(nullptr) + seconds), 0};
    const timespec times[2] = {at, at};
    if (::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, AT_SYMLINK_NOFOLLOW) != 0)
        qFatal("cannot set the time of %s", qPrintable(path));
}

// What a name is, as the system tells without following a link: kind and
// permissions, file number, time of the last change to the nanosecond, and its
// bytes or where it leads.
QString snapshot(const QString& path) {
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0) return QStringLiteral("missing");
    QString text = QStringLiteral("%1 %2 %3.%4 ")
                       .arg(st.st_mode, 0, 8)
                       .arg(st.st_ino)
                       .arg(st.st_mtim.tv_sec)
                       .arg(st.st_mtim.tv_nsec);
    if (S_ISREG(st.st_mode)) text += QString::fromLatin1(readFile(path).toHex());
    if (S_ISLNK(st.st_mode)) text += QFile::symLinkTarget(path);
    return text;
}

// A sparse file: large, but taking no room on the disk.
void makeSparse(const QString& path, const QByteArray& start, qint64 size) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(start) != start.size() || !file.resize(size))
        qFatal("cannot make %s", qPrintable(path));
}

// CRC-32 as PNG chunks carry it, bit by bit.
quint32 crc32(const QByteArray& bytes) {
    quint32 crc = 0xFFFFFFFFu;
    for (char c : bytes) {
        crc ^= quint8(c);
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QByteArray bigEndian(quint32 v) {
    QByteArray bytes;
    for (int shift = 24; shift >= 0; shift -= 8) bytes.append(char((v >> shift) & 0xFF));
    return bytes;
}

// The start of a PNG file that states the given size, without the pixels.
QByteArray pngHeader(quint32 width, quint32 height) {
    const QByteArray chunk =
        "IHDR" + bigEndian(width) + bigEndian(height) + QByteArray("\x08\x02\x00\x00\x00", 5);
    // An empty pixel chunk ends the header where the reader looks for it.
    const QByteArray pixels = "IDAT";
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + bigEndian(13) + chunk + bigEndian(crc32(chunk)) +
           bigEndian(0) + pixels + bigEndian(crc32(pixels));
}

const QByteArray OneExercise = "1\r\n0\r\n\"ovning.sh\"\r\n\"%HOME%\"\r\n1\r\n";

enum class Setup {
    FifoMenu,
    LinkToFifoMenu,
    HugeMenu,
    MenuOfExactlyTheBound,
    LinkLoopMenu,
    DanglingLinkMenu,
    FolderMenu,
    HugeValue,
    ThousandNuls,
    HugeNumber,
    FifoPicture,
    HugePicture,
    AbsurdPictureSize,
    LinkLoopPicture,
    FolderPictogram,
    LinkLoopPictureFolder,
    FolderExercise,
    LinkLoopExercise,
    DanglingLinkExercise,
    NineAndARewardDeepDown,
    NegativeCountDeepDown,
};

}  // namespace

Q_DECLARE_METATYPE(Setup)

class TestBadInput : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<Supervisor> m_program;
    QString home(const QString& name = QString()) const { return m_program->home(name); }
    QString expand(QString text) const { return text.replace(QStringLiteral("%HOME%"), home()); }
    QByteArray expand(const QByteArray& bytes) const {
        return QByteArray(bytes).replace("%HOME%", home().toUtf8());
    }
    void prepare(Setup setup);

    // A menu in the supervisor's window, loaded from a file of its own.
    void loadTwoExercises() {
        writeFile(home(QStringLiteral("meny.ini")),
                  expand(QByteArray("2\r\n1\r\n\"a.exe\"\r\n\"%HOME%\"\r\n\"b.exe\"\r\n\"%HOME%\""
                                    "\r\n1\r\n")));
        Global::LoadMenuFile(home(QStringLiteral("meny.ini")));
        QCOMPARE(items(m_program->form().List1),
                 (QStringList{QStringLiteral("a.exe"), QStringLiteral("b.exe")}));
    }

private slots:
    void init();
    void cleanup();

    void runnerRefuses_data();
    void runnerRefuses();
    void messageBoxFitsTheScreen();

    void supervisorStartReportsWhatCannotBeRead_data();
    void supervisorStartReportsWhatCannotBeRead();
    void openingASettingsFifoKeepsTheMenu();

    void savingRefusesLinksAndSpecialFiles_data();
    void savingRefusesLinksAndSpecialFiles();
    void savingUnderANameThatIsALinkKeepsTheDialogOpen();
    void savingTouchesNoOtherFile_data();
    void savingTouchesNoOtherFile();
    void byteOrderMarkStartingAValueSurvivesSaving();

    void rewardPicturesAtTheirBounds_data();
    void rewardPicturesAtTheirBounds();
};

void TestBadInput::init() {
    m_program = std::make_unique<Supervisor>();
}

void TestBadInput::cleanup() {
    m_program.reset();
}

void TestBadInput::prepare(Setup setup) {
    const QString menu = home(QStringLiteral("kelvu.ini"));
    const QByteArray withReward =
        expand(QByteArray("0\r\n0\r\n0\r\n\"%HOME%\"\r\n\"sol.bmp\"\r\n"));
    switch (setup) {
        case Setup::FifoMenu:
            makeFifo(menu);
            break;
        case Setup::LinkToFifoMenu:
            makeFifo(home(QStringLiteral("ror")));
            makeLink(home(QStringLiteral("ror")), menu);
            break;
        case Setup::HugeMenu:
            makeSparse(menu, "0\r\n0\r\n1\r\n", 1024 * 1024 + 1);
            break;
        case Setup::MenuOfExactlyTheBound:
            writeFile(menu, "0\r\n0\r\n1\r\n" + QByteArray(1024 * 1024 - 9, ' '));
            break;
        case Setup::LinkLoopMenu:
            makeLink(home(QStringLiteral("b.ini")), menu);
            makeLink(menu, home(QStringLiteral("b.ini")));
            break;
        case Setup::DanglingLinkMenu:
            makeLink(home(QStringLiteral("borta.ini")), menu);
            break;
        case Setup::FolderMenu:
            QVERIFY(QDir().mkpath(menu));
            break;
        case Setup::HugeValue:
            writeFile(menu, QByteArray(1000000, 'x') + "\r\n0\r\n1\r\n");
            break;
        case Setup::ThousandNuls:
            writeFile(menu, QByteArray(1000, '\0') + "\r\n0\r\n1\r\n");
            break;
        case Setup::HugeNumber:
            writeFile(menu, QByteArray(1000000, '7') + "\r\n0\r\n1\r\n");
            break;
        case Setup::FifoPicture:
            writeFile(menu, withReward);
            makeFifo(home(QStringLiteral("sol.bmp")));
            break;
        case Setup::HugePicture:
            writeFile(menu, withReward);
            makeSparse(home(QStringLiteral("sol.bmp")), pngHeader(2, 2), 64 * 1024 * 1024 + 1);
            break;
        case Setup::AbsurdPictureSize:
            writeFile(menu, withReward);
            writeFile(home(QStringLiteral("sol.bmp")), pngHeader(100000, 100000));
            break;
        case Setup::LinkLoopPicture:
            writeFile(menu, withReward);
            makeLink(home(QStringLiteral("sol.bmp")), home(QStringLiteral("sol.bmp")));
            break;
        case Setup::FolderPictogram:
            writeFile(menu, expand(QByteArray("1\r\n2\r\n\"ovning.sh\"\r\n\"%HOME%\"\r\n1\r\n")));
            QVERIFY(QDir().mkpath(home(QStringLiteral("1num.bmp"))));
            break;
        case Setup::LinkLoopPictureFolder:
            writeFile(menu,
                      expand(QByteArray("0\r\n0\r\n0\r\n\"%HOME%/bilder\"\r\n\"sol.bmp\"\r\n")));
            makeLink(home(QStringLiteral("bilder")), home(QStringLiteral("bilder")));
            break;
        case Setup::FolderExercise:
            writeFile(menu, expand(OneExercise));
            QVERIFY(QDir().mkpath(home(QStringLiteral("ovning.sh"))));
            break;
        case Setup::LinkLoopExercise:
            writeFile(menu, expand(OneExercise));
            makeLink(home(QStringLiteral("ovning.sh")), home(QStringLiteral("ovning.sh")));
            break;
        case Setup::DanglingLinkExercise:
            writeFile(menu, expand(OneExercise));
            makeLink(home(QStringLiteral("borta.sh")), home(QStringLiteral("ovning.sh")));
            break;
        case Setup::NineAndARewardDeepDown:
        case Setup::NegativeCountDeepDown: {
            // A start folder whose path is longer than a message quotes.
            const QString deep = home(QStringLiteral("övningar-") + QString(100, u'x'));
            QVERIFY(QDir().mkpath(deep) && QDir::setCurrent(deep));
            writeFile(QStringLiteral("kelvu.ini"),
                      setup == Setup::NegativeCountDeepDown
                          ? QByteArray("-1\r\n0\r\n1\r\n")
                          : "9\r\n0\r\n" + QByteArray("\"a\",\"b\"\r\n").repeated(9) +
                                expand(QByteArray("0\r\n\"%HOME%\"\r\n\"sol.bmp\"\r\n")));
            break;
        }
    }
}

void TestBadInput::runnerRefuses_data() {
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<bool>("clickFirstCard");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("description");

    const QString x60(60, u'x');
    const QString nul60(60, QChar(0x2400));
    const QString seven60(60, u'7');
    QTest::newRow("kelvu.ini is a FIFO")
        << Setup::FifoMenu << false << 75
        << QStringLiteral(
               "Filen \"%HOME%/kelvu.ini\" är en namngiven rörledning (FIFO), inte en "
               "vanlig fil.");
    QTest::newRow("kelvu.ini is a link to a FIFO")
        << Setup::LinkToFifoMenu << false << 75
        << QStringLiteral(
               "Filen \"%HOME%/kelvu.ini\" är en namngiven rörledning (FIFO), inte en "
               "vanlig fil.");
    QTest::newRow("kelvu.ini one byte over 1 MB")
        << Setup::HugeMenu << false << 75
        << QStringLiteral("Filen \"%HOME%/kelvu.ini\" är större än 1 MB och läses inte.");
    QTest::newRow("kelvu.ini of exactly 1 MB is read")
        << Setup::MenuOfExactlyTheBound << false << 0 << QString();
    QTest::newRow("kelvu.ini is a link loop")
        << Setup::LinkLoopMenu << false << 75
        << QStringLiteral(
               "Filen \"%HOME%/kelvu.ini\" är en länk som leder runt i en slinga och "
               "aldrig når en fil.");
    QTest::newRow("kelvu.ini is a dangling link")
        << Setup::DanglingLinkMenu << false << 53
        << QStringLiteral("Filen \"%HOME%/kelvu.ini\" är en länk till något som inte finns.");
    QTest::newRow("kelvu.ini is a folder")
        << Setup::FolderMenu << false << 75
        << QStringLiteral("Filen \"%HOME%/kelvu.ini\" är en mapp, inte en fil.");
    QTest::newRow("a value of 1,000,000 letters")
        << Setup::HugeValue << false << 13
        << QStringLiteral(
               "I filen \"%HOME%/kelvu.ini\" är värde 1 (antal övningar) inte ett "
               "heltal: \"") +
               x60 + QStringLiteral("…\".");
    QTest::newRow("a value of 1,000 NUL bytes")
        << Setup::ThousandNuls << false << 13
        << QStringLiteral(
               "I filen \"%HOME%/kelvu.ini\" är värde 1 (antal övningar) inte ett "
               "heltal: \"") +
               nul60 + QStringLiteral("…\".");
    QTest::newRow("a number of 1,000,000 digits")
        << Setup::HugeNumber << false << 6
        << QStringLiteral(
               "I filen \"%HOME%/kelvu.ini\" ligger värde 1 (antal övningar) utanför "
               "−32768 till 32767: \"") +
               seven60 + QStringLiteral("…\".");
    QTest::newRow("reward picture is a FIFO")
        << Setup::FifoPicture << false << 481
        << QStringLiteral(
               "Bildfilen \"%HOME%/sol.bmp\" är en namngiven rörledning (FIFO), inte "
               "en vanlig fil.");
    QTest::newRow("reward picture over 64 MB")
        << Setup::HugePicture << false << 75
        << QStringLiteral("Bildfilen \"%HOME%/sol.bmp\" är större än 64 MB och läses inte.");
    QTest::newRow("reward picture states 100000 × 100000 pixels")
        << Setup::AbsurdPictureSize << false << 481
        << QStringLiteral(
               "Bildfilen \"%HOME%/sol.bmp\" säger sig vara 100000 × 100000 "
               "bildpunkter; så stora bilder visas inte.");
    QTest::newRow("reward picture is a link loop")
        << Setup::LinkLoopPicture << false << 481
        << QStringLiteral(
               "Bildfilen \"%HOME%/sol.bmp\" är en länk som leder runt i en slinga och "
               "aldrig når en fil.");
    QTest::newRow("pictogram is a folder")
        << Setup::FolderPictogram << false << 481
        << QStringLiteral("Bildfilen \"%HOME%/1num.bmp\" är en mapp, inte en fil.");
    QTest::newRow("reward folder is a link loop")
        << Setup::LinkLoopPictureFolder << false << 76
        << QStringLiteral(
               "Mappen \"%HOME%/bilder\" för belöningsbilden är en länk som leder runt "
               "i en slinga.");
    QTest::newRow("exercise is a folder")
        << Setup::FolderExercise << true << 75
        << QStringLiteral("Programmet \"%HOME%/ovning.sh\" för övning 1 är en mapp, inte en fil.");
    QTest::newRow("exercise is a link loop")
        << Setup::LinkLoopExercise << true << 75
        << QStringLiteral(
               "Programmet \"%HOME%/ovning.sh\" för övning 1 är en länk som leder runt i "
               "en slinga och aldrig når en fil.");
    const QString deepMenu =
        QStringLiteral("Menyn i \"…") + QString(69, u'x') + QStringLiteral("/kelvu.ini\" har ");
    QTest::newRow("nine exercises and a reward, folder of a long name")
        << Setup::NineAndARewardDeepDown << false << 9
        << deepMenu + QStringLiteral(
                          "9 övningar och en belöningsbild. Det får plats högst 9 övningar, "
                          "eller 8 med belöningsbild.");
    QTest::newRow("count -1, folder of a long name")
        << Setup::NegativeCountDeepDown << false << 9
        << deepMenu + QStringLiteral("-1 övningar; kort -1 finns inte.");
    QTest::newRow("exercise is a dangling link")
        << Setup::DanglingLinkExercise << true << 53
        << QStringLiteral(
               "Programmet \"%HOME%/ovning.sh\" för övning 1 är en länk till något som "
               "inte finns.");
}

void TestBadInput::runnerRefuses() {
    QFETCH(Setup, setup);
    QFETCH(bool, clickFirstCard);
    QFETCH(int, number);
    QFETCH(QString, description);
    prepare(setup);
    auto& errors = m_program->errors;

    QElapsedTimer clock;
    clock.start();
    kelvu::Form1 runner;
    app::runHandler([&runner] { runner.Form_Load(); });
    if (clickFirstCard && errors.empty()) {
        runner.show();
        QTest::mouseClick(runner.cards().front(), Qt::LeftButton);
    }
    QVERIFY2(clock.elapsed() < Second, qPrintable(QString::number(clock.elapsed())));
    if (number == 0) {
        QVERIFY2(errors.empty(), errors.empty() ? "" : qPrintable(errors.front().message()));
        return;
    }
    QCOMPARE(errors.size(), std::size_t(1));
    QCOMPARE(errors.front().number(), number);
    QCOMPARE(errors.front().description(), expand(description));
    QCOMPARE(m_program->endStatus, std::optional<int>(app::RuntimeErrorExitStatus));
}

void TestBadInput::messageBoxFitsTheScreen() {
    // The real message box, not the test's observer.
    app::setErrorObserver({});
    writeFile(home(QStringLiteral("kelvu.ini")), QByteArray(1000, '\0') + "\r\n0\r\n1\r\n");
    QSize boxSize;
    const bool shown = whileModal<QMessageBox>(
        [] {
            kelvu::Form1 runner;
            app::runHandler([&runner] { runner.Form_Load(); });
        },
        [&](QMessageBox* box) {
            boxSize = box->frameGeometry().size();
            box->accept();
        });
    QVERIFY(shown);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY2(boxSize.width() <= screen.width(),
             qPrintable(QStringLiteral("%1 > %2").arg(boxSize.width()).arg(screen.width())));
    QVERIFY(boxSize.height() <= screen.height());
}

void TestBadInput::supervisorStartReportsWhatCannotBeRead_data() {
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("description");
    QTest::newRow("FIFO") << Setup::FifoMenu << 75
                          << QStringLiteral(
                                 "Filen \"%HOME%/kelvu.ini\" är en namngiven rörledning "
                                 "(FIFO), inte en vanlig fil.");
    QTest::newRow("link loop") << Setup::LinkLoopMenu << 75
                               << QStringLiteral(
                                      "Filen \"%HOME%/kelvu.ini\" är en länk som leder "
                                      "runt i en slinga och aldrig når en fil.");
    QTest::newRow("dangling link")
        << Setup::DanglingLinkMenu << 53
        << QStringLiteral("Filen \"%HOME%/kelvu.ini\" är en länk till något som inte finns.");
    QTest::newRow("folder") << Setup::FolderMenu << 75
                            << QStringLiteral(
                                   "Filen \"%HOME%/kelvu.ini\" är en mapp, inte en fil.");
    QTest::newRow("over 1 MB") << Setup::HugeMenu << 75
                               << QStringLiteral(
                                      "Filen \"%HOME%/kelvu.ini\" är större än 1 MB och "
                                      "läses inte.");
}

void TestBadInput::supervisorStartReportsWhatCannotBeRead() {
    QFETCH(Setup, setup);
    QFETCH(int, number);
    QFETCH(QString, description);
    prepare(setup);
    QElapsedTimer clock;
    clock.start();
    Form1& window = m_program->start();
    QVERIFY(clock.elapsed() < Second);
    QCOMPARE(m_program->errors.size(), std::size_t(1));
    QCOMPARE(m_program->errors.front().number(), number);
    QCOMPARE(m_program->errors.front().description(), expand(description));
    // Then the window in its initial state, and the program goes on.
    QCOMPARE(m_program->endStatus, std::nullopt);
    QVERIFY(window.isVisible());
    QCOMPARE(window.Label3->text(), QStringLiteral("3"));
    QCOMPARE(window.List1->count(), 0);
}

void TestBadInput::openingASettingsFifoKeepsTheMenu() {
    Form1& window = m_program->start();
    loadTwoExercises();
    writeFile(home(QStringLiteral("ror.ini")), "0\r\n0\r\n1\r\n");
    makeFifo(home(QStringLiteral("fifo.ini")));
    m_program->click(window.SSCommand3);  // "Hämta"
    kelvuadm::Form5* dialog = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* found = qobject_cast<kelvuadm::Form5*>(w)) dialog = found;
    QVERIFY(dialog);
    // Only files are listed, not the FIFO.
    QCOMPARE(items(dialog->File1),
             (QStringList{QStringLiteral("meny.ini"), QStringLiteral("ror.ini")}));
    // The file picked becomes a FIFO before "Hämta": it is never read.
    dialog->File1->setCurrentRow(1);
    QVERIFY(QFile::remove(home(QStringLiteral("ror.ini"))));
    makeFifo(home(QStringLiteral("ror.ini")));
    QElapsedTimer clock;
    clock.start();
    m_program->click(dialog->Command3D1);
    QVERIFY(clock.elapsed() < Second);
    QCOMPARE(m_program->errors.size(), std::size_t(1));
    QCOMPARE(m_program->errors.front().description(),
             expand(QStringLiteral("Filen \"%HOME%/ror.ini\" är en namngiven rörledning (FIFO), "
                                   "inte en vanlig fil.")));
    QVERIFY(dialog->isVisible());
    QCOMPARE(items(window.List1), (QStringList{QStringLiteral("a.exe"), QStringLiteral("b.exe")}));
}

void TestBadInput::savingRefusesLinksAndSpecialFiles_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("description");
    QTest::newRow("link to a file elsewhere")
        << QStringLiteral("link")
        << QStringLiteral(
               "\"%HOME%/kelvu.ini\" är en länk. En meny sparas bara som en vanlig fil "
               "med eget namn; ingenting har skrivits.");
    QTest::newRow("dangling link")
        << QStringLiteral("dangling")
        << QStringLiteral(
               "\"%HOME%/kelvu.ini\" är en länk. En meny sparas bara som en vanlig fil "
               "med eget namn; ingenting har skrivits.");
    QTest::newRow("FIFO") << QStringLiteral("fifo")
                          << QStringLiteral(
                                 "\"%HOME%/kelvu.ini\" är en namngiven rörledning "
                                 "(FIFO), inte en vanlig fil; där kan ingen meny sparas. "
                                 "Ingenting har skrivits.");
    QTest::newRow("folder") << QStringLiteral("folder")
                            << QStringLiteral(
                                   "\"%HOME%/kelvu.ini\" är en mapp, inte en fil; där "
                                   "kan ingen meny sparas. Ingenting har skrivits.");
}

void TestBadInput::savingRefusesLinksAndSpecialFiles() {
    QFETCH(QString, kind);
    QFETCH(QString, description);
    Form1& window = m_program->start();
    loadTwoExercises();
    const QString menu = home(QStringLiteral("kelvu.ini"));
    const QString target = m_program->makeFile(QStringLiteral("annan/viktig.txt"), "viktigt\n");
    if (kind == QStringLiteral("link")) makeLink(target, menu);
    if (kind == QStringLiteral("dangling")) makeLink(home(QStringLiteral("annan/ny.txt")), menu);
    if (kind == QStringLiteral("fifo")) makeFifo(menu);
    if (kind == QStringLiteral("folder")) QVERIFY(QDir().mkpath(menu));

    QElapsedTimer clock;
    clock.start();
    m_program->click(window.Command3D2);  // "OK"
    QVERIFY(clock.elapsed() < Second);
    QCOMPARE(m_program->errors.size(), std::size_t(1));
    QCOMPARE(m_program->errors.front().number(), 75);
    QCOMPARE(m_program->errors.front().description(), expand(description));
    // Nothing written anywhere, the program goes on with the menu.
    QCOMPARE(m_program->endStatus, std::nullopt);
    QCOMPARE(readFile(target), QByteArray("viktigt\n"));
    QVERIFY(!QFileInfo::exists(home(QStringLiteral("annan/ny.txt"))));
    QCOMPARE(QDir(home()).entryList({QStringLiteral("kelvu.ini*")},
                                    QDir::AllEntries | QDir::System | QDir::Hidden),
             QStringList{QStringLiteral("kelvu.ini")});
    QCOMPARE(QFileInfo(menu).isSymLink(),
             kind == QStringLiteral("link") || kind == QStringLiteral("dangling"));
    QCOMPARE(items(window.List1), (QStringList{QStringLiteral("a.exe"), QStringLiteral("b.exe")}));
}

void TestBadInput::savingUnderANameThatIsALinkKeepsTheDialogOpen() {
    Form1& window = m_program->start();
    loadTwoExercises();
    const QString target = m_program->makeFile(QStringLiteral("annan/viktig.txt"), "viktigt\n");
    makeLink(target, home(QStringLiteral("vecka.ini")));
    m_program->click(window.SSCommand2);  // "Spara som"
    kelvuadm::Form4* dialog = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* found = qobject_cast<kelvuadm::Form4*>(w)) dialog = found;
    QVERIFY(dialog);
    QTest::keyClicks(dialog->Text1, QStringLiteral("vecka"));
    m_program->click(dialog->Command3D1);  // "Spara"
    QCOMPARE(m_program->errors.size(), std::size_t(1));
    QCOMPARE(m_program->errors.front().description(),
             expand(QStringLiteral("\"%HOME%/vecka.ini\" är en länk. En meny sparas bara som en "
                                   "vanlig fil med eget namn; ingenting har skrivits.")));
    QVERIFY(dialog->isVisible());
    QCOMPARE(readFile(target), QByteArray("viktigt\n"));
    QVERIFY(QFileInfo(home(QStringLiteral("vecka.ini"))).isSymLink());
}

void TestBadInput::savingTouchesNoOtherFile_data() {
    QTest::addColumn<QString>("saveAs");  // the name typed for "Spara", or "" for "OK"
    QTest::addColumn<QString>("menu");
    QTest::newRow("OK") << QString() << QStringLiteral("kelvu.ini");
    QTest::newRow("Spara") << QStringLiteral("fredag") << QStringLiteral("fredag.ini");
}

void TestBadInput::savingTouchesNoOtherFile() {
    QFETCH(QString, saveAs);
    QFETCH(QString, menu);
    Form1& window = m_program->start();
    loadTwoExercises();
    // The teacher's own files, copies of menus among them, and what killed
    // saves of the program left: hidden files of its mark. Each has a time of
    // its own, hours ago, but one an hour ahead.
    const QStringList files = {
        QStringLiteral("kelvu.ini"),
        QStringLiteral("fredag.ini"),
        QStringLiteral("kelvu.ini.backup"),
        QStringLiteral("kelvu.ini.240915"),
        QStringLiteral("fredag.ini.gammal"),
        QStringLiteral(".dold"),
        QStringLiteral(".kelvu-sparning-Ab12Cd34.tmp"),
        QStringLiteral(".kelvu-sparning-Ab12Cd3.tmp"),
        QStringLiteral("kelvu-sparning-Ab12Cd34.tmp"),
        QStringLiteral(".kelvu-sparning-Lk12Lk34.tmp"),
        QStringLiteral(".kelvu-sparning-Fu12Tr34.tmp"),
    };
    for (const QString& name : files) writeFile(home(name), name.toUtf8() + "\r\n");
    makeLink(home(QStringLiteral("kelvu.ini.backup")),
             home(QStringLiteral(".kelvu-sparning-Qw12Er34.tmp")));
    QVERIFY(QDir().mkpath(home(QStringLiteral(".kelvu-sparning-Xy12Zw34.tmp"))));
    makeFifo(home(QStringLiteral(".kelvu-sparning-Ff12Gg34.tmp")));
    // One of the mark that another user's save left (only root can make it).
    const bool asRoot = ::geteuid() == 0;
    if (asRoot) {
        const QString others = home(QStringLiteral(".kelvu-sparning-Nb12Dy34.tmp"));
        writeFile(others, "nobody\r\n");
        const passwd* nobody = ::getpwnam("nobody");
        QVERIFY(nobody);
        QCOMPARE(::chown(QFile::encodeName(others).constData(), nobody->pw_uid, nobody->pw_gid), 0);
    }
    const QStringList all = QDir(home()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden |
                                                   QDir::NoDotAndDotDot);
    for (qsizetype i = 0; i < all.size(); ++i)
        setTime(home(all[i]),
                all[i] == QStringLiteral(".kelvu-sparning-Fu12Tr34.tmp") ? 3600 : -3600 * (i + 1));
    // A save still at work in another process holds its file locked.
    QFile working(home(QStringLiteral(".kelvu-sparning-Lk12Lk34.tmp")));
    QVERIFY(working.open(QIODevice::ReadOnly));
    QCOMPARE(::flock(working.handle(), LOCK_EX | LOCK_NB), 0);
    QHash<QString, QString> before;
    for (const QString& name : all) before[name] = snapshot(home(name));

    if (saveAs.isEmpty()) {
        m_program->click(window.Command3D2);  // "OK"
        QCOMPARE(m_program->endStatus, std::optional<int>(0));
    } else {
        kelvuadm::Form4* dialog = m_program->clickSaveAs();
        QVERIFY(dialog);
        QTest::keyClicks(dialog->Text1, saveAs);
        m_program->click(dialog->Command3D1);  // "Spara"
        QTRY_VERIFY(!m_program->openDialog<kelvuadm::Form4>());
    }
    QVERIFY2(m_program->errors.empty(),
             m_program->errors.empty() ? "" : qPrintable(m_program->errors.front().message()));
    QCOMPARE(readFile(home(menu)),
             expand(QByteArray("2\r\n1\r\n\"a.exe\"\r\n\"%HOME%\"\r\n\"b.exe\"\r\n\"%HOME%\"\r\n"
                               "1\r\n")));
    // Only the abandoned file of the mark is gone; every other name is
    // what it was, to the byte and to the nanosecond.
    QStringList expected = all;
    expected.removeOne(QStringLiteral(".kelvu-sparning-Ab12Cd34.tmp"));
    QCOMPARE(expected.size(), asRoot ? 15 : 14);
    QCOMPARE(QDir(home()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden |
                                    QDir::NoDotAndDotDot),
             expected);
    for (const QString& name : expected)
        if (name != menu) QCOMPARE(snapshot(home(name)), before.value(name));
}

void TestBadInput::byteOrderMarkStartingAValueSurvivesSaving() {
    // Only the mark at the very start of the file is not part of a value.
    const QByteArray menu =
        "\xEF\xBB\xBF"
        "1\r\n0\r\n\"\xEF\xBB\xBF"
        "a.exe\"\r\n\"\xEF\xBB\xBF\xEF\xBB\xBF\"\r\n1\r\n";
    writeFile(home(QStringLiteral("kelvu.ini")), menu);
    Form1& window = m_program->start();
    QCOMPARE(items(window.List1), QStringList{QStringLiteral("\uFEFFa.exe")});
    m_program->click(window.Command3D2);  // "OK"
    QVERIFY(m_program->errors.empty());
    QCOMPARE(readFile(home(QStringLiteral("kelvu.ini"))),
             QByteArray("1\r\n0\r\n\"\xEF\xBB\xBF"
                        "a.exe\"\r\n\"\xEF\xBB\xBF\xEF\xBB\xBF\"\r\n1\r\n"));
}

void TestBadInput::rewardPicturesAtTheirBounds_data() {
    QTest::addColumn<QByteArray>("start");  // the picture file's first bytes
    QTest::addColumn<qint64>("size");       // its size, the rest sparse; 0: the start alone
    QTest::addColumn<QString>("message");   // the whole message; empty: the picture is shown

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImage dot(2, 2, QImage::Format_RGB32);
    dot.fill(Qt::yellow);
    dot.save(&buffer, "PNG");
    const QByteArray png = buffer.data();
    const QString tooLarge = QStringLiteral("Körfel 75: Fel vid åtkomst till sökväg eller fil\n\n");
    const QString bounds =
        QStringLiteral("Körfel 481: Ogiltig bild\n\nBildfilen \"%HOME%/sol.bmp\" ");
    // Within the bounds, the picture is decoded, and a header alone is none.
    const QString undecoded = QStringLiteral(
        "Körfel 481: Ogiltig bild\n\nFilen \"%HOME%/sol.bmp\" är ingen bild som kan visas.");
    constexpr qint64 MB = 1024 * 1024;
    QTest::newRow("a picture of 64 MB less one byte") << png << 64 * MB - 1 << QString();
    QTest::newRow("a picture of 64 MB") << png << 64 * MB << QString();
    QTest::newRow("a picture of 64 MB and one byte")
        << png << 64 * MB + 1
        << tooLarge +
               QStringLiteral("Bildfilen \"%HOME%/sol.bmp\" är större än 64 MB och läses inte.");
    QTest::newRow("10000 × 1") << pngHeader(10000, 1) << qint64(0) << undecoded;
    QTest::newRow("1 × 10000") << pngHeader(1, 10000) << qint64(0) << undecoded;
    QTest::newRow("10001 × 1")
        << pngHeader(10001, 1) << qint64(0)
        << bounds +
               QStringLiteral("säger sig vara 10001 × 1 bildpunkter; så stora bilder visas inte.");
    QTest::newRow("1 × 10001")
        << pngHeader(1, 10001) << qint64(0)
        << bounds +
               QStringLiteral("säger sig vara 1 × 10001 bildpunkter; så stora bilder visas inte.");
    QTest::newRow("10000 × 4000, 40,000,000 pixels")
        << pngHeader(10000, 4000) << qint64(0) << undecoded;
    // 40,000,001 = 53 × 754717: the fewest pixels over the bound with both
    // sides inside theirs are 5437 × 7357 = 40,000,009.
    QTest::newRow("5437 × 7357, 40,000,009 pixels")
        << pngHeader(5437, 7357) << qint64(0)
        << bounds + QStringLiteral(
                        "säger sig vara 5437 × 7357 bildpunkter; så stora bilder visas inte.");
}

void TestBadInput::rewardPicturesAtTheirBounds() {
    QFETCH(QByteArray, start);
    QFETCH(qint64, size);
    QFETCH(QString, message);
    writeFile(home(QStringLiteral("kelvu.ini")),
              expand(QByteArray("0\r\n0\r\n0\r\n\"%HOME%\"\r\n\"sol.bmp\"\r\n")));
    makeSparse(home(QStringLiteral("sol.bmp")), start, size ? size : start.size());
    QElapsedTimer clock;
    clock.start();
    kelvu::Form1 runner;
    app::runHandler([&runner] { runner.Form_Load(); });
    QVERIFY2(clock.elapsed() < Second, qPrintable(QString::number(clock.elapsed())));
    const auto& errors = m_program->errors;
    if (message.isEmpty()) {
        QVERIFY2(errors.empty(), errors.empty() ? "" : qPrintable(errors.front().message()));
        QCOMPARE(runner.cards().front()->picture().toImage().pixelColor(0, 0), QColor(Qt::yellow));
        return;
    }
    QCOMPARE(errors.size(), std::size_t(1));
    QCOMPARE(errors.front().message(), expand(message));
}

QTEST_MAIN(TestBadInput)
#include "tst_bad_input.moc"
