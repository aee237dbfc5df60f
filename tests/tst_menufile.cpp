// The menu file: reading by the rules of quote-delimited input, writing and
// the two encodings.
#include "FolderLock.h"
#include "FolderText.h"
#include "MenuEncoding.h"
#include "MenuReader.h"
#include "MenuWriter.h"
#include "RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using shared::MenuReader;
using shared::MenuWriter;
using shared::RuntimeError;

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

}  // namespace

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
    void writerRefusesTextsTheFormatCannotHold();
    void failedWriteLeavesTheOldFile();
    void windows1252Decoding();
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
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("createFile");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("mentions");

    QTest::newRow("missing file") << QByteArray() << false << 53 << QStringLiteral("finns inte");
    QTest::newRow("a folder, not a file")
        << QByteArray("FOLDER") << false << 75 << QStringLiteral("är en mapp, inte en fil");
    QTest::newRow("empty file") << QByteArray() << true << 62 << QStringLiteral("värde 1 (antal)");
    QTest::newRow("ends before the picture name")
        << QByteArray("0\r\n0\r\n0\r\n\"C:\\p\"\r\n") << true << 62
        << QStringLiteral("värde 5 (bildnamn)");
    QTest::newRow("ends inside the exercise pairs")
        << QByteArray("3\r\n0\r\n\"a.exe\"\r\n\"C:\\x\"\r\n") << true << 62
        << QStringLiteral("värde 5 (namn)");
    QTest::newRow("count not a number")
        << QByteArray("tre\r\n0\r\n1\r\n") << true << 13 << QStringLiteral("\"tre\"");
    QTest::newRow("card type quoted text")
        << QByteArray("0\r\n\"Siffror\"\r\n1\r\n") << true << 13 << QStringLiteral("värde 2 (typ)");
    QTest::newRow("empty integer field")
        << QByteArray("\r\n0\r\n1\r\n") << true << 13 << QStringLiteral("värde 1");
    QTest::newRow("decimal number")
        << QByteArray("1.5\r\n") << true << 13 << QStringLiteral("\"1.5\"");
    QTest::newRow("32768") << QByteArray("32768\r\n0\r\n1\r\n") << true << 6
                           << QStringLiteral("\"32768\"");
    QTest::newRow("-32769") << QByteArray("0\r\n-32769\r\n1\r\n") << true << 6
                            << QStringLiteral("värde 2");
    QTest::newRow("many digits") << QByteArray("99999999999999999999999\r\n") << true << 6
                                 << QStringLiteral("värde 1");
    QTest::newRow("quotation mark never closed")
        << QByteArray("1\r\n0\r\n\"a.exe\"\r\n\"C:\\x\r\n1\r\n") << true << 62
        << QStringLiteral("värde 4 (mapp)");
}

void TestMenuFile::failures() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, createFile);
    QFETCH(int, number);
    QFETCH(QString, mentions);
    QString path = createFile ? write(bytes, QStringLiteral("fel.ini"))
                              : m_dir.filePath(QStringLiteral("saknas.ini"));
    if (bytes == "FOLDER") {
        path = m_dir.filePath(QStringLiteral("mapp.ini"));
        QVERIFY(QDir().mkpath(path));
    }
    try {
        readMenu(path);
        QFAIL("the read did not fail");
    } catch (const RuntimeError& error) {
        QCOMPARE(error.number(), number);
        QVERIFY2(error.description().contains(QDir::toNativeSeparators(path)),
                 qPrintable(error.description()));
        QVERIFY2(error.description().contains(mentions), qPrintable(error.description()));
        QVERIFY(error.message().contains(QString::number(number)));
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
    writer.commit();
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

void TestMenuFile::writerRefusesTextsTheFormatCannotHold() {
    for (const QString& bad : {QStringLiteral("a\"b.exe"), QStringLiteral("rad\nbrytning"),
                               QStringLiteral("rad\rbrytning")}) {
        QVERIFY(!MenuWriter::canStore(bad));
        MenuWriter writer(m_dir.filePath(QStringLiteral("ogiltig.ini")));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, writer.writeString(bad));
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
        QCOMPARE(error.number(), 76);
        QVERIFY(error.description().contains(QStringLiteral("meny.ini")));
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
    // The range where Windows-1252 differs from Latin-1.
    QCOMPARE(shared::decodeWindows1252("\x80\x96\x9F"), QStringLiteral("€–Ÿ"));
    QCOMPARE(shared::decodeMenuText("\xE5\xE4\xF6\x80"), QStringLiteral("åäö€"));
    QCOMPARE(shared::decodeMenuText("\xC3\xA5"), QStringLiteral("å"));
}

void TestMenuFile::folderTextHasNoTrailingSeparatorButAtTheRoot() {
    QCOMPARE(shared::folderText(QDir::rootPath()), QDir::toNativeSeparators(QDir::rootPath()));
    QVERIFY(shared::folderText(QDir::rootPath()).endsWith(QDir::separator()));
    const QString folder = m_dir.filePath(QStringLiteral("å ä ö"));
    QCOMPARE(shared::folderText(folder + u'/'), QDir::toNativeSeparators(folder));
    QCOMPARE(shared::folderText(folder + QStringLiteral("/./")), QDir::toNativeSeparators(folder));
    QCOMPARE(shared::joinFolderAndFile(QDir::toNativeSeparators(folder), QStringLiteral("x.exe")),
             folder + QStringLiteral("/x.exe"));
}

QTEST_GUILESS_MAIN(TestMenuFile)
#include "tst_menufile.moc"
