// The floor the programs are measured against: the least a Qt program can do
// to show what Kelvu and Kelvuadm show at start-up, a black frameless window
// over the whole screen and, in front of it, a light yellow window of the
// programs' size centred on the screen. No translation, no font of its own,
// no pictures, no menu file.
//
//   bench_bare_window [--text]    --text: a line of text in the window, so
//                                 that the cost of drawing text shows
#include "shared/app/Twips.h"
#include "shared/app/WindowStyle.h"

#include <QApplication>
#include <QLabel>
#include <QPalette>
#include <QScreen>
#include <QStyle>
#include <QWidget>

namespace {

void fill(QWidget& window, const QColor& colour) {
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, colour);
    window.setPalette(palette);
    window.setAutoFillBackground(true);
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QScreen* screen = QGuiApplication::primaryScreen();

    QWidget backdrop(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus |
                                  Qt::WindowStaysOnBottomHint);
    fill(backdrop, Qt::black);
    backdrop.setGeometry(screen->geometry());
    backdrop.setWindowState(Qt::WindowMaximized);
    backdrop.show();

    // The client area of both programs' main window.
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    fill(window, app::LightYellow);
    window.setFixedSize(app::twipsToPixels(app::MainClientWidth),
                        app::twipsToPixels(app::MainClientHeight));
    window.setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window.size(),
                                           screen->availableGeometry()));
    if (argc > 1 && QByteArray(argv[1]) == "--text") {
        auto* label = new QLabel(QStringLiteral("Kelvu handledarsektion"), &window);
        label->move(200, 200);
    }
    window.show();
    return QApplication::exec();
}
