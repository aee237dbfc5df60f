// Throughput of the menu file reader: opening a menu file and reading every
// value, as the runner does at start-up. Two menus: a typical one (three
// exercises and a reward picture, folders of ordinary length) and the
// largest the runner accepts (eight exercises and a reward picture, every
// file name 255 bytes and every folder 4095 bytes, the usual file system
// limits). Beside them, the other pieces of the runner's start-up that
// read files: the Swedish translation and one card picture.
#include "shared/app/Picture.h"
#include "shared/app/Translation.h"
#include "shared/menufile/MenuReader.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QTranslator>

#include <cstdlib>

namespace {

struct Menu {
    QString path;
    qint64 bytes = 0;
};

QByteArray quoted(const QByteArray& text) {
    return '"' + text + "\"\r\n";
}

// A menu of count exercises and a reward picture; names and folders of the
// given lengths, in Swedish letters as a supervisor would name them.
Menu writeMenu(const QDir& folder, const QString& fileName, int count, int nameBytes,
               int folderBytes) {
    // "/home/anna/övningar/<tag>/räkna/räkna/…", cut to the length on a
    // character boundary (the filler is ASCII).
    auto pad = [](QByteArray t, int bytes) {
        while (t.size() < bytes) t += "rakna/"[t.size() % 6];
        t.truncate(bytes);
        return t;
    };
    auto folderText = [&pad](char tag, int bytes) {
        return pad(QByteArray("/home/anna/\xc3\xb6vningar/") + tag + '/', bytes);
    };
    auto nameText = [&pad](char tag, int bytes) {
        return pad(QByteArray("\xc3\xb6vning-") + tag, bytes - 4) + ".exe";
    };
    QByteArray menu = QByteArray::number(count) + "\r\n2\r\n";
    for (int k = 0; k < count; ++k) {
        const char tag = static_cast<char>('a' + k);
        menu += quoted(nameText(tag, nameBytes)) + quoted(folderText(tag, folderBytes));
    }
    menu += "0\r\n" + quoted(folderText('z', folderBytes)) + quoted("stjarna.bmp");
    Menu result{folder.filePath(fileName), menu.size()};
    QFile file(result.path);
    if (!file.open(QIODevice::WriteOnly) || file.write(menu) != menu.size()) std::abort();
    return result;
}

void readMenu(benchmark::State& state, const Menu& menu) {
    for (auto _ : state) {
        menufile::MenuReader reader(menu.path);
        const qint16 count = reader.readInteger(QStringLiteral("antal övningar"));
        benchmark::DoNotOptimize(reader.readInteger(QStringLiteral("korttyp")));
        for (int k = 0; k < count; ++k) {
            benchmark::DoNotOptimize(reader.readString(QStringLiteral("filnamn")));
            benchmark::DoNotOptimize(reader.readString(QStringLiteral("mapp")));
        }
        if (reader.readInteger(QStringLiteral("val av belöningsbild")) == 0) {
            benchmark::DoNotOptimize(reader.readString(QStringLiteral("mapp")));
            benchmark::DoNotOptimize(reader.readString(QStringLiteral("filnamn")));
        }
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * menu.bytes);
}

void loadTranslation(benchmark::State& state) {
    for (auto _ : state) {
        app::installSwedishTranslation();
        // A translator is taken out again when it is deleted.
        qDeleteAll(QCoreApplication::instance()->findChildren<QTranslator*>());
    }
}

void loadPicture(benchmark::State& state, const QString& path) {
    for (auto _ : state) benchmark::DoNotOptimize(app::loadPicture(path));
}

}  // namespace

int main(int argc, char* argv[]) {
    QGuiApplication application(argc, argv);  // pictures need one; "-platform offscreen" will do
    QTemporaryDir work;
    if (!work.isValid()) return 1;
    const QDir folder(work.path());
    const Menu typical = writeMenu(folder, QStringLiteral("typical.ini"), 3, 20, 40);
    const Menu largest = writeMenu(folder, QStringLiteral("largest.ini"), 8, 255, 4095);
    benchmark::RegisterBenchmark("read_menu/typical", readMenu, typical);
    benchmark::RegisterBenchmark("read_menu/largest", readMenu, largest);
    // A card picture as the demo has them: 96 x 96 pixels, 16 colours.
    QImage card(96, 96, QImage::Format_Indexed8);
    card.setColorCount(16);
    for (int i = 0; i < 16; ++i) card.setColor(i, qRgb(i * 16, 255 - i * 16, 128));
    card.fill(3);
    const QString picture = folder.filePath(QStringLiteral("1num.bmp"));
    if (!card.save(picture, "BMP")) return 1;
    benchmark::RegisterBenchmark("start_up/translation", loadTranslation);
    benchmark::RegisterBenchmark("start_up/card_picture", loadPicture, picture);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
