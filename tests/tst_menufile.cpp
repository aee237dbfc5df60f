// The menu file: reading by the rules of quote-delimited input, every kind
// of name that is not a menu and each message in full, writing, the two
// encodings and the values that messages quote.
#include "shared/core/FolderText.h"
#include "shared/core/RuntimeError.h"
#include "shared/menufile/Menu.h"
#include "shared/menufile/MenuEncoding.h"
#include "shared/menufile/MenuReader.h"
#include "shared/menufile/MenuWriter.h"
#include "tests/FolderLock.h"
#include "tests/TestFiles.h"

#include "shared/core/ShortText.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#if defined(Q_OS_UNIX)
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>
#endif

using core::RuntimeError;
using menufile::MenuReader;
using menufile::MenuWriter;

namespace {

// A value as the reader gives it back, for table-driven comparisons.
struct Menu {
    int count = 0;
    int cardType = 0;
    QStringList exercises;  // name, folder, name, folder …
    int reward = 0;
    QString pictureFolder;
    QString pictureName;
};

Menu readMenu(const QString& path) {
    MenuReader reader(path);
    Menu menu;
    menu.count = reader.readInteger(QStringLiteral("antal"));
    menu.cardType = reader.readInteger(QStringLiteral("typ"));
    for (int k = 0; k < menu.count; ++k) {
        menu.exercises << reader.readString(QStringLiteral("namn"));
        menu.exercises << reader.readString(QStringLiteral("mapp"));
    }
    menu.reward = reader.readInteger(QStringLiteral("belöning"));
    if (menu.reward == 0) {
        menu.pictureFolder = reader.readString(QStringLiteral("bildmapp"));
        menu.pictureName = reader.readString(QStringLiteral("bildnamn"));
    }
    return menu;
}

// What stands under the menu's name in a row of failures.
enum class Name {
    File,
    Missing,
    Folder,
    Fifo,
    LinkToFifo,
    Device,
    Socket,
    DanglingLink,
    LinkLoop,
    InClosedFolder,  // a file in a folder that may not be entered
    Unreadable,      // a file that may not be read
    Growing,         // a file that grows after it was opened
};

#if defined(KELVU_WRAPPED_FSTAT)
// The size the next look at an opened regular file tells; -1: its own.
qint64 seemingSize = -1;

extern "C" int __real_fstat(int fd, struct stat* st);
extern "C" int __wrap_fstat(int fd, struct stat* st) {
    const int result = __real_fstat(fd, st);
    if (result == 0 && seemingSize >= 0 && S_ISREG(st->st_mode)) {
        st->st_size = seemingSize;
        seemingSize = -1;
    }
    return result;
}

// The syncs asked for since the count was last cleared: of files, and the
// folders by their inode.
int syncedFiles = 0;
QList<ino_t> syncedFolders;

extern "C" int __real_fsync(int fd);
extern "C" int __wrap_fsync(int fd) {
    struct stat st {};
    if (__real_fstat(fd, &st) == 0) {
        if (S_ISDIR(st.st_mode))
            syncedFolders << st.st_ino;
        else
            ++syncedFiles;
    }
    return __real_fsync(fd);
}
#endif

using support::writeFile;

// Makes "kelvu.ini" in the folder as the row asks; links lead only to names
// in the same folder. Returns why the row cannot run for this user, if it
// cannot.
QString make(const QString& folder, Name name, const QByteArray& bytes) {
    const QString path = folder + QStringLiteral("/kelvu.ini");
    const QString closed = folder + QStringLiteral("/stängd");
    switch (name) {
        case Name::Missing:
            break;
        case Name::File:
            writeFile(path, bytes);
            break;
        case Name::Folder:
            if (!QDir().mkdir(path)) qFatal("cannot make a folder");
            break;
        case Name::Unreadable:
            writeFile(path, bytes);
            QFile::setPermissions(path, {});
            if (QFile(path).open(QIODevice::ReadOnly))
                return QStringLiteral(
                    "permissions do not bind this user; the unprivileged run "
                    "has this row");
            break;
        case Name::InClosedFolder:
            if (!QDir().mkdir(closed)) qFatal("cannot make a folder");
            writeFile(closed + QStringLiteral("/kelvu.ini"), bytes);
            QFile::setPermissions(closed, {});
            if (QFileInfo::exists(closed + QStringLiteral("/kelvu.ini")))
                return QStringLiteral(
                    "permissions do not bind this user; the unprivileged run "
                    "has this row");
            break;
#if defined(Q_OS_UNIX)
        case Name::Fifo:
        case Name::LinkToFifo: {
            const QString fifo = name == Name::Fifo ? path : folder + QStringLiteral("/ror");
            if (::mkfifo(QFile::encodeName(fifo).constData(), 0600) != 0) qFatal("no FIFO");
            if (name == Name::LinkToFifo && !QFile::link(fifo, path)) qFatal("no link");
            break;
        }
        case Name::Device:
            // Device 0, 0 stands for no device at all: opened, it would fail.
            if (::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0600, makedev(0, 0)) != 0)
                return QStringLiteral("only root may make a device; the run as root has this row");
            break;
        case Name::Socket: {
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            const QByteArray native = QFile::encodeName(path);
            if (native.size() >= qsizetype(sizeof address.sun_path)) qFatal("path too long");
            std::copy(native.begin(), native.end(), address.sun_path);
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
                qFatal("no socket");
            ::close(fd);
            break;
        }
#else
        case Name::Fifo:
        case Name::LinkToFifo:
        case Name::Device:
        case Name::Socket:
            return QStringLiteral("no such files here");
#endif
        case Name::Growing:
            writeFile(path, bytes);
#if defined(KELVU_WRAPPED_FSTAT)
            seemingSize = 9;  // as it was when opened
            break;
#else
            return QStringLiteral("no way here to make a file seem smaller than it is");
#endif
        case Name::DanglingLink:
            if (!QFile::link(folder + QStringLiteral("/borta.ini"), path)) qFatal("no link");
            break;
        case Name::LinkLoop:
            if (!QFile::link(folder + QStringLiteral("/b.ini"), path) ||
                !QFile::link(path, folder + QStringLiteral("/b.ini")))
                qFatal("no link");
            break;
    }
    return {};
}

}  // namespace

Q_DECLARE_METATYPE(Name)

class TestMenuFile : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString write(const QByteArray& bytes, const QString& name = QStringLiteral("kelvu.ini")) {
        QFile file(m_dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write test file");
        file.write(bytes);
        return file.fileName();
    }

private slots:
    void readsTheFileForms_data();
    void readsTheFileForms();
    void failures_data();
    void failures();
    void integersAreSixteenBitSigned();
    void writerWritesTheSupervisorsForm();
    void writtenMenuReadsBack();
    void menuWritesItsNamedNumbers_data();
    void menuWritesItsNamedNumbers();
    void writerRefusesTextsTheFormatCannotHold();
    void failedWriteLeavesTheOldFile();
    void windows1252Decoding();
    void quotedTexts_data();
    void quotedTexts();
    void folderTextHasNoTrailingSeparatorButAtTheRoot();
};

void TestMenuFile::readsTheFileForms_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("cardType");
    QTest::addColumn<QStringList>("exercises");
    QTest::addColumn<int>("reward");
    QTest::addColumn<QString>("pictureFolder");
    QTest::addColumn<QString>("pictureName");

    const QStringList two = {QStringLiteral("a.exe"), QStringLiteral("C:\\x"),
                             QStringLiteral("b.exe"), QStringLiteral("C:\\y")};
    QTest::newRow("one value a line, CR LF, with picture")
        << QByteArray(
               "2\r\n1\r\n\"a.exe\"\r\n\"C:\\x\"\r\n\"b.exe\"\r\n\"C:\\y\"\r\n0\r\n\"C:\\p\"\r\n"
               "\"sol.bmp\"\r\n")
        << 2 << 1 << two << 0 << QStringLiteral("C:\\p") << QStringLiteral("sol.bmp");
    QTest::newRow("LF only")
        << QByteArray(
               "2\n1\n\"a.exe\"\n\"C:\\x\"\n\"b.exe\"\n\"C:\\y\"\n0\n\"C:\\p\"\n\"sol.bmp\"\n")
        << 2 << 1 << two << 0 << QStringLiteral("C:\\p") << QStringLiteral("sol.bmp");
    QTest::newRow("all on one line, commas, no final line end")
        << QByteArray("2,1,\"a.exe\",\"C:\\x\",\"b.exe\",\"C:\\y\",0,\"C:\\p\",\"sol.bmp\"") << 2
        << 1 << two << 0 << QStringLiteral("C:\\p") << QStringLiteral("sol.bmp");
    QTest::newRow("mixed lines, leading spaces skipped")
        << QByteArray(
               "  2 ,  1\r\n   \"a.exe\", \"C:\\x\"\r\n\"b.exe\"\r\n  \"C:\\y\"  \r\n 0,\"C:\\p\","
               "\"sol.bmp\"\r\n")
        << 2 << 1 << two << 0 << QStringLiteral("C:\\p") << QStringLiteral("sol.bmp");
    QTest::newRow("reward 1 ends after the index")
        << QByteArray("2\r\n0\r\n\"a.exe\"\r\n\"C:\\x\"\r\n\"b.exe\"\r\n\"C:\\y\"\r\n1\r\n") << 2
        << 0 << two << 1 << QString() << QString();
    QTest::newRow("N = 0") << QByteArray("0\r\n3\r\n0\r\n\"/bilder\"\r\n\"sol.png\"\r\n") << 0 << 3
                           << QStringList() << 0 << QStringLiteral("/bilder")
                           << QStringLiteral("sol.png");
    QTest::newRow("commas and spaces inside quoted names")
        << QByteArray(
               "1\r\n0\r\n\"räkna, lätt.exe\"\r\n\"C:\\Övningar, nya\"\r\n0\r\n"
               "\"C:\\a,b\"\r\n\" sol , 2.bmp\"\r\n")
        << 1 << 0
        << QStringList{QStringLiteral("räkna, lätt.exe"), QStringLiteral("C:\\Övningar, nya")} << 0
        << QStringLiteral("C:\\a,b") << QStringLiteral(" sol , 2.bmp");
    QTest::newRow("å ä ö in UTF-8")
        << QByteArray("1\r\n2\r\n\"\xC3\xA5\xC3\xA4\xC3\xB6.exe\"\r\n\"/hem/\xC3\x85sa\"\r\n1\r\n")
        << 1 << 2 << QStringList{QStringLiteral("åäö.exe"), QStringLiteral("/hem/Åsa")} << 1
        << QString() << QString();
    QTest::newRow("å ä ö in Windows-1252")
        << QByteArray("1\r\n2\r\n\"\xE5\xE4\xF6.exe\"\r\n\"C:\\\xC5sa\"\r\n1\r\n") << 1 << 2
        << QStringList{QStringLiteral("åäö.exe"), QStringLiteral("C:\\Åsa")} << 1 << QString()
        << QString();
    QTest::newRow("UTF-8 byte-order mark skipped")
        << QByteArray(
               "\xEF\xBB\xBF"
               "1\r\n0\r\n\"a.exe\"\r\n\"C:\\x\"\r\n1\r\n")
        << 1 << 0 << QStringList{QStringLiteral("a.exe"), QStringLiteral("C:\\x")} << 1 << QString()
        << QString();
    QTest::newRow("stray 8-bit byte after the last value")
        << QByteArray("1\r\n0\r\n\"\xC3\xA5.exe\"\r\n\"/x\"\r\n1\r\n\xE9") << 1 << 0
        << QStringList{QStringLiteral("å.exe"), QStringLiteral("/x")} << 1 << QString()
        << QString();
    QTest::newRow("unquoted strings run to comma or line end")
        << QByteArray("1\r\n0\r\nspel.exe  ,C:\\x\r\n1\r\n") << 1 << 0
        << QStringList{QStringLiteral("spel.exe"), QStringLiteral("C:\\x")} << 1 << QString()
        << QString();
    QTest::newRow("nothing after the last value is read")
        << QByteArray("0\r\n0\r\n1\r\nskräp\r\n\"\r\n") << 0 << 0 << QStringList() << 1 << QString()
        << QString();
    QTest::newRow("negative count") << QByteArray("-1\r\n0\r\n1\r\n") << -1 << 0 << QStringList()
                                    << 1 << QString() << QString();
    // Blanks after the last value fill the file to 1 MB less one byte, and to 1 MB.
    QTest::newRow("1 MB less one byte") << "0\r\n0\r\n1\r\n" + QByteArray(1024 * 1024 - 1 - 9, ' ')
                                        << 0 << 0 << QStringList() << 1 << QString() << QString();
    QTest::newRow("1 MB") << "0\r\n0\r\n1\r\n" + QByteArray(1024 * 1024 - 9, ' ') << 0 << 0
                          << QStringList() << 1 << QString() << QString();
}

void TestMenuFile::readsTheFileForms() {
    QFETCH(QByteArray, bytes);
    const Menu menu = readMenu(write(bytes));
    QTEST(menu.count, "count");
    QTEST(menu.cardType, "cardType");
    QTEST(menu.exercises, "exercises");
    QTEST(menu.reward, "reward");
    QTEST(menu.pictureFolder, "pictureFolder");
    QTEST(menu.pictureName, "pictureName");
}

void TestMenuFile::failures_data() {
    QTest::addColumn<Name>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");  // %DIR% stands for the test's folder

    const QString e53 = QStringLiteral("Körfel 53: Filen hittades inte\n\nFilen \"%DIR%/");
    const QString e62 = QStringLiteral("Körfel 62: Indata efter filslut\n\n");
    const QString e75 =
        QStringLiteral("Körfel 75: Fel vid åtkomst till sökväg eller fil\n\nFilen \"%DIR%/");
    const QString e13 =
        QStringLiteral("Körfel 13: Typerna stämmer inte överens\n\nI filen \"%DIR%/");
    const QString e6 = QStringLiteral("Körfel 6: Spill\n\nI filen \"%DIR%/");
    const QByteArray none;
    QTest::newRow("missing file") << Name::Missing << none
                                  << e53 + QStringLiteral("kelvu.ini\" finns inte.");
    QTest::newRow("a folder, not a file")
        << Name::Folder << none << e75 + QStringLiteral("kelvu.ini\" är en mapp, inte en fil.");
    QTest::newRow("empty file") << Name::File << none
                                << e62 + QStringLiteral(
                                             "Filen \"%DIR%/kelvu.ini\" tar slut innan värde 1 "
                                             "(antal) har lästs.");
    QTest::newRow("ends before the picture name")
        << Name::File << QByteArray("0\r\n0\r\n0\r\n\"C:\\p\"\r\n")
        << e62 + QStringLiteral(
                     "Filen \"%DIR%/kelvu.ini\" tar slut innan värde 5 (bildnamn) har lästs.");
    QTest::newRow("ends inside the exercise pairs")
        << Name::File << QByteArray("3\r\n0\r\n\"a.exe\"\r\n\"C:\\x\"\r\n")
        << e62 +
               QStringLiteral("Filen \"%DIR%/kelvu.ini\" tar slut innan värde 5 (namn) har lästs.");
    QTest::newRow("quotation mark never closed")
        << Name::File << QByteArray("1\r\n0\r\n\"a.exe\"\r\n\"C:\\x\r\n1\r\n")
        << e62 + QStringLiteral(
                     "I filen \"%DIR%/kelvu.ini\" avslutas citattecknet i värde 4 (mapp) "
                     "aldrig; filen tar slut först.");
    QTest::newRow("count not a number")
        << Name::File << QByteArray("tre\r\n0\r\n1\r\n")
        << e13 + QStringLiteral("kelvu.ini\" är värde 1 (antal) inte ett heltal: \"tre\".");
    QTest::newRow("card type quoted text")
        << Name::File << QByteArray("0\r\n\"Siffror\"\r\n1\r\n")
        << e13 + QStringLiteral("kelvu.ini\" är värde 2 (typ) inte ett heltal: \"Siffror\".");
    QTest::newRow("empty integer field")
        << Name::File << QByteArray("\r\n0\r\n1\r\n")
        << e13 + QStringLiteral("kelvu.ini\" är värde 1 (antal) inte ett heltal: \"\".");
    QTest::newRow("decimal number, quoted with blanks")
        << Name::File << QByteArray("\" 1.5 \"\r\n")
        << e13 + QStringLiteral("kelvu.ini\" är värde 1 (antal) inte ett heltal: \" 1.5 \".");
    QTest::newRow("32768") << Name::File << QByteArray("32768\r\n0\r\n1\r\n")
                           << e6 + QStringLiteral(
                                       "kelvu.ini\" ligger värde 1 (antal) utanför −32768 till "
                                       "32767: \"32768\".");
    QTest::newRow("-32769, quoted with blanks")
        << Name::File << QByteArray("0\r\n\" -32769 \"\r\n1\r\n")
        << e6 + QStringLiteral(
                    "kelvu.ini\" ligger värde 2 (typ) utanför −32768 till 32767: \"-32769\".");
    QTest::newRow("many digits")
        << Name::File << QByteArray("99999999999999999999999\r\n")
        << e6 + QStringLiteral(
                    "kelvu.ini\" ligger värde 1 (antal) utanför −32768 till 32767: "
                    "\"99999999999999999999999\".");
    QTest::newRow("1 MB and one byte")
        << Name::File << "0\r\n0\r\n1\r\n" + QByteArray(1024 * 1024 + 1 - 9, ' ')
        << e75 + QStringLiteral("kelvu.ini\" är större än 1 MB och läses inte.");
    QTest::newRow("9 bytes when opened, then 1 MB and one byte")
        << Name::Growing << "0\r\n0\r\n1\r\n" + QByteArray(1024 * 1024 + 1 - 9, ' ')
        << e75 + QStringLiteral("kelvu.ini\" är större än 1 MB och läses inte.");
#if defined(Q_OS_UNIX)
    QTest::newRow("FIFO") << Name::Fifo << none
                          << e75 + QStringLiteral(
                                       "kelvu.ini\" är en namngiven rörledning (FIFO), inte en "
                                       "vanlig fil.");
    QTest::newRow("link to a FIFO")
        << Name::LinkToFifo << none
        << e75 +
               QStringLiteral("kelvu.ini\" är en namngiven rörledning (FIFO), inte en vanlig fil.");
    QTest::newRow("device") << Name::Device << none
                            << e75 + QStringLiteral(
                                         "kelvu.ini\" är en enhetsfil, inte en vanlig fil.");
    QTest::newRow("socket") << Name::Socket << none
                            << e75 + QStringLiteral(
                                         "kelvu.ini\" är ett uttag (socket), inte en vanlig fil.");
    QTest::newRow("dangling link")
        << Name::DanglingLink << none
        << e53 + QStringLiteral("kelvu.ini\" är en länk till något som inte finns.");
    QTest::newRow("link loop") << Name::LinkLoop << none
                               << e75 + QStringLiteral(
                                            "kelvu.ini\" är en länk som leder runt i en slinga "
                                            "och aldrig når en fil.");
    QTest::newRow("in a folder that may not be entered")
        << Name::InClosedFolder << QByteArray("0\r\n0\r\n1\r\n")
        << e75 + QStringLiteral("stängd/kelvu.ini\" ligger i en mapp som inte får läsas.");
    QTest::newRow("may not be read")
        << Name::Unreadable << QByteArray("0\r\n0\r\n1\r\n")
        << e75 + QStringLiteral("kelvu.ini\" kan inte öppnas för läsning.");
#endif
}

void TestMenuFile::failures() {
    QFETCH(Name, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString skip = make(dir.path(), name, bytes);
    // A folder closed for the row is opened again, so that it can be removed.
    const auto reopen = qScopeGuard([&dir] {
        QFile::setPermissions(dir.filePath(QStringLiteral("stängd")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    });
    if (!skip.isEmpty()) QSKIP(qPrintable(skip));
    const QString path =
        dir.filePath(name == Name::InClosedFolder ? QStringLiteral("stängd/kelvu.ini")
                                                  : QStringLiteral("kelvu.ini"));
    try {
        readMenu(path);
        QFAIL("the read did not fail");
    } catch (const RuntimeError& error) {
        QCOMPARE(error.message(),
                 message.replace(QStringLiteral("%DIR%"), QDir::toNativeSeparators(dir.path())));
    }
}

void TestMenuFile::integersAreSixteenBitSigned() {
    MenuReader reader(write("32767,-32768,+7, 0 ,-0\r\n"));
    QCOMPARE(reader.readInteger(QStringLiteral("a")), qint16(32767));
    QCOMPARE(reader.readInteger(QStringLiteral("b")), qint16(-32768));
    QCOMPARE(reader.readInteger(QStringLiteral("c")), qint16(7));
    QCOMPARE(reader.readInteger(QStringLiteral("d")), qint16(0));
    QCOMPARE(reader.readInteger(QStringLiteral("e")), qint16(0));
}

void TestMenuFile::writerWritesTheSupervisorsForm() {
    const QString path = m_dir.filePath(QStringLiteral("skriven.ini"));
    MenuWriter writer(path);
    writer.writeInteger(1);
    writer.writeInteger(0);
    writer.writeString(QStringLiteral("räkna.exe"));
    writer.writeString(QStringLiteral("C:\\Öva"));
    writer.writeInteger(-1);
    QVERIFY(!QFile::exists(path));  // nothing on disk before the commit
#if defined(KELVU_WRAPPED_FSTAT)
    syncedFiles = 0;
    syncedFolders.clear();
#endif
    writer.commit();
#if defined(KELVU_WRAPPED_FSTAT)
    // The new file reaches the disk before it takes the name, and the new
    // name itself with the folder.
    struct stat folder {};
    QCOMPARE(::stat(QFile::encodeName(m_dir.path()).constData(), &folder), 0);
    QCOMPARE(syncedFiles, 1);
    QCOMPARE(syncedFolders, QList<ino_t>{folder.st_ino});
#endif
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(),
             QByteArray("1\r\n0\r\n\"r\xC3\xA4kna.exe\"\r\n\"C:\\\xC3\x96va\"\r\n-1\r\n"));
}

void TestMenuFile::writtenMenuReadsBack() {
    const QString path = m_dir.filePath(QStringLiteral("runt.ini"));
    const QStringList exercises = {QStringLiteral("a, b.exe"), QStringLiteral("/hem/å ä ö"),
                                   QStringLiteral(" blank "), QStringLiteral("/")};
    MenuWriter writer(path);
    writer.writeInteger(2);
    writer.writeInteger(2);
    for (const QString& value : exercises) writer.writeString(value);
    writer.writeInteger(0);
    writer.writeString(QStringLiteral("/bilder, glada"));
    writer.writeString(QStringLiteral("sol.gif"));
    writer.commit();
    const Menu menu = readMenu(path);
    QCOMPARE(menu.count, 2);
    QCOMPARE(menu.cardType, 2);
    QCOMPARE(menu.exercises, exercises);
    QCOMPARE(menu.reward, 0);
    QCOMPARE(menu.pictureFolder, QStringLiteral("/bilder, glada"));
    QCOMPARE(menu.pictureName, QStringLiteral("sol.gif"));
}

void TestMenuFile::menuWritesItsNamedNumbers_data() {
    QTest::addColumn<qint16>("cardType");
    QTest::addColumn<qint16>("rewardChoice");
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray exercise = "\"r\xC3\xA4kna.exe\"\r\n\"/hem\"\r\n";
    QTest::newRow("pictograms, reward picture")
        << qint16(menufile::Pictograms) << qint16(menufile::RewardPicture)
        << "1\r\n2\r\n" + exercise + "0\r\n\"/bilder\"\r\n\"sol.bmp\"\r\n";
    QTest::newRow("shapes, none") << qint16(menufile::Shapes) << qint16(menufile::NoRewardPicture)
                                  << "1\r\n3\r\n" + exercise + "1\r\n";
}

void TestMenuFile::menuWritesItsNamedNumbers() {
    QFETCH(qint16, cardType);
    QFETCH(qint16, rewardChoice);
    menufile::Menu menu;
    menu.count = 1;
    menu.cardType = cardType;
    menu.files = {QStringLiteral("räkna.exe")};
    menu.folders = {QStringLiteral("/hem")};
    menu.rewardChoice = rewardChoice;
    if (rewardChoice == menufile::RewardPicture) {
        menu.pictureFolder = QStringLiteral("/bilder");
        menu.pictureName = QStringLiteral("sol.bmp");
    }
    const QString path = m_dir.filePath(QStringLiteral("meny.ini"));
    menufile::writeMenu(path, menu);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QTEST(file.readAll(), "bytes");
    QCOMPARE(menufile::readMenu(path, menufile::MenuCheck::Ranges), menu);
    QCOMPARE(menufile::readMenu(path, menufile::MenuCheck::Slots), menu);
}

void TestMenuFile::writerRefusesTextsTheFormatCannotHold() {
    const std::pair<QString, QString> refused[] = {
        {QStringLiteral("a\"b.exe"), QStringLiteral("a\"b.exe")},
        {QStringLiteral("rad\nbrytning"), QStringLiteral("rad␊brytning")},
        {QStringLiteral("rad\rbrytning"), QStringLiteral("rad␍brytning")}};
    for (const auto& [bad, shown] : refused) {
        QVERIFY(!MenuWriter::canStore(bad));
        MenuWriter writer(m_dir.filePath(QStringLiteral("ogiltig.ini")));
        try {
            writer.writeString(bad);
            QFAIL("the text was written");
        } catch (const RuntimeError& error) {
            QCOMPARE(
                error.message(),
                QStringLiteral("Körfel 5: Ogiltigt proceduranrop eller argument\n\nTexten \"") +
                    shown +
                    QStringLiteral("\" innehåller citattecken eller radbrytning och kan inte "
                                   "sparas i filen \"") +
                    QDir::toNativeSeparators(m_dir.path()) + QStringLiteral("/ogiltig.ini\"."));
        }
    }
    QVERIFY(MenuWriter::canStore(QStringLiteral("C:\\vanlig, mapp")));
}

void TestMenuFile::failedWriteLeavesTheOldFile() {
    MenuWriter missingFolder(m_dir.filePath(QStringLiteral("finns/inte/meny.ini")));
    missingFolder.writeInteger(1);
    try {
        missingFolder.commit();
        QFAIL("writing into a missing folder succeeded");
    } catch (const RuntimeError& error) {
        QCOMPARE(error.message(),
                 QStringLiteral("Körfel 76: Sökvägen hittades inte\n\nMappen för filen \"") +
                     QDir::toNativeSeparators(m_dir.path()) +
                     QStringLiteral("/finns/inte/meny.ini\" finns inte."));
    }

    // A folder standing where the file should be: the write fails, nothing changes.
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("upptagen.ini")));
    MenuWriter onFolder(m_dir.filePath(QStringLiteral("upptagen.ini")));
    onFolder.writeInteger(1);
    QVERIFY_THROWS_EXCEPTION(RuntimeError, onFolder.commit());
    QVERIFY(QFileInfo(m_dir.filePath(QStringLiteral("upptagen.ini"))).isDir());

    // A folder where nothing can be written: the old file stays as it was.
    QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("låst")));
    const QString kept = m_dir.filePath(QStringLiteral("låst/meny.ini"));
    QFile old(kept);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("gammal\r\n");
    old.close();
    {
        FolderLock lock(m_dir.filePath(QStringLiteral("låst")));
        QVERIFY2(lock.locked(), "the folder could not be locked");
        MenuWriter locked(kept);
        locked.writeInteger(1);
        try {
            locked.commit();
            QFAIL("writing into a locked folder succeeded");
        } catch (const RuntimeError& error) {
            QCOMPARE(error.number(), 75);
        }
    }
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("gammal\r\n"));

    // An existing file is replaced only by a complete new content.
    const QString path = write("gammal\r\n", QStringLiteral("gammal.ini"));
    MenuWriter replacing(path);
    replacing.writeInteger(5);
    replacing.commit();
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("5\r\n"));
}

void TestMenuFile::windows1252Decoding() {
    // 0x80 to 0x9F, where Windows-1252 differs from Latin-1; the five codes it
    // leaves undefined stay the C1 controls of the same number.
    QByteArray high;
    for (int byte = 0x80; byte <= 0x9F; ++byte) high.append(char(byte));
    QCOMPARE(menufile::decodeWindows1252(high),
             QStringLiteral("\u20AC\u0081\u201A\u0192\u201E\u2026\u2020\u2021"     // 80 to 87
                            "\u02C6\u2030\u0160\u2039\u0152\u008D\u017D\u008F"     // 88 to 8F
                            "\u0090\u2018\u2019\u201C\u201D\u2022\u2013\u2014"     // 90 to 97
                            "\u02DC\u2122\u0161\u203A\u0153\u009D\u017E\u0178"));  // 98 to 9F
    // Either side of that range, the byte is the character of the same number.
    QCOMPARE(menufile::decodeWindows1252(QByteArray("\x00\x7F\xA0\xE5\xFF", 5)),
             QStringLiteral("\0\u007F\u00A0\u00E5\u00FF"));
    QCOMPARE(menufile::decodeMenuText("\xE5\xE4\xF6\x80"), QStringLiteral("åäö€"));
    QCOMPARE(menufile::decodeMenuText("\xC3\xA5"), QStringLiteral("å"));
}

void TestMenuFile::quotedTexts_data() {
    QTest::addColumn<bool>("name");  // a file name, cut at its start; else a value, cut at its end
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");

    const QString face = QStringLiteral("\U0001F600");  // two UTF-16 units
    const QString x = QStringLiteral("x");
    QTest::newRow("value of 59") << false << x.repeated(59) << x.repeated(59);
    QTest::newRow("value of 60") << false << x.repeated(60) << x.repeated(60);
    QTest::newRow("value of 61") << false << x.repeated(61) << x.repeated(60) + u'…';
    QTest::newRow("value, pair across the cut")
        << false << x.repeated(59) + face << x.repeated(59) + u'…';
    QTest::newRow("value, pair ending at the cut")
        << false << x.repeated(58) + face + u'y' << x.repeated(58) + face + u'…';
    QTest::newRow("value of 60 ending in a pair")
        << false << x.repeated(58) + face << x.repeated(58) + face;
    QTest::newRow("space and what stays")
        << false << QStringLiteral(" ~\u00A0å\u200D\u2027\u202F\u2065\u206A")
        << QStringLiteral(" ~\u00A0å\u200D\u2027\u202F\u2065\u206A");
    QTest::newRow("C0 controls") << false << QStringLiteral("\0\t\n\r\x1F")
                                 << QStringLiteral("␀␉␊␍␟");
    QTest::newRow("DEL and C1 controls")
        << false << QStringLiteral("\x7F\u0080\u009F") << QStringLiteral("␡\\x80\\x9F");
    QTest::newRow("separators, marks and the byte-order mark")
        << false << QStringLiteral("\u2028\u2029\u200E\u200F\uFEFF")
        << QStringLiteral("\\u2028\\u2029\\u200E\\u200F\\uFEFF");
    QTest::newRow("embeddings and isolates") << false << QStringLiteral("\u202A\u202E\u2066\u2069")
                                             << QStringLiteral("\\u202A\\u202E\\u2066\\u2069");
    QTest::newRow("value of 61 controls")
        << false << QString(61, QChar(u'\x1F')) << QStringLiteral("␟").repeated(60) + u'…';

    // 81 characters: "ab", 78 x and "z".
    const QString tail = x.repeated(78) + u'z';
    QTest::newRow("name of 79") << true << tail << tail;
    QTest::newRow("name of 80") << true << u'b' + tail << u'b' + tail;
    QTest::newRow("name of 81") << true << QStringLiteral("ab") + tail << u'…' + tail;
    QTest::newRow("name, pair across the cut")
        << true << u'a' + face + x.repeated(77) + u'z' << u'…' + x.repeated(77) + u'z';
    QTest::newRow("name, pair starting at the cut")
        << true << QStringLiteral("ab") + face + x.repeated(76) + u'z'
        << u'…' + face + x.repeated(76) + u'z';
    QTest::newRow("name with controls") << true << QStringLiteral("/mapp\n\u0085\u202E/a.ini")
                                        << QStringLiteral("/mapp␊\\x85\\u202E/a.ini");
}

void TestMenuFile::quotedTexts() {
    QFETCH(bool, name);
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(name ? core::shortName(text) : core::shortValue(text), shown);
}

void TestMenuFile::folderTextHasNoTrailingSeparatorButAtTheRoot() {
    QCOMPARE(core::folderText(QDir::rootPath()), QDir::toNativeSeparators(QDir::rootPath()));
    QVERIFY(core::folderText(QDir::rootPath()).endsWith(QDir::separator()));
    const QString folder = m_dir.filePath(QStringLiteral("å ä ö"));
    QCOMPARE(core::folderText(folder + u'/'), QDir::toNativeSeparators(folder));
    QCOMPARE(core::folderText(folder + QStringLiteral("/./")), QDir::toNativeSeparators(folder));
    QCOMPARE(core::joinFolderAndFile(QDir::toNativeSeparators(folder), QStringLiteral("x.exe")),
             folder + QStringLiteral("/x.exe"));
}

QTEST_GUILESS_MAIN(TestMenuFile)
#include "tst_menufile.moc"
