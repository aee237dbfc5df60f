#pragma once

// The windows as designed, in pixels and RGB values written out by hand.
// Positions were designed in twips; at 15 twips to a pixel each one is
// divided by 15 and rounded to the nearest pixel (4960 twips are 330.67
// pixels: 331). The twips stand at the end of each row.
#include <QColor>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QRect>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <initializer_list>
#include <utility>

namespace layout {

struct Row {
    const char* window;   // the program's window: "kelvuadm", "Form4", "Form5", "kelvu"
    const char* control;  // the control, or the window's name for its client area
    QRect pixels;         // left, top, width, height
    QRgb background = 0;  // 0: not checked
};

constexpr QRgb LightYellow = 0xFFFF80;  // 255, 255, 128
constexpr QRgb White = 0xFFFFFF;        // 255, 255, 255
constexpr QRgb Grey = 0x808080;         // 128, 128, 128
// System colours as Qt's own palette gives them on the offscreen platform.
constexpr QRgb MenuGrey = 0xEFEFEF;    // 4 menu background (palette window), 239, 239, 239
constexpr QRgb ButtonFace = 0xEFEFEF;  // 0F button face (palette button), 239, 239, 239
constexpr QRgb LightGrey = 0xCACACA;   // 13 light grey (palette midlight), 202, 202, 202
// Text of a disabled control (palette disabled window text), 190, 190, 190.
constexpr QRgb DisabledText = 0xBEBEBE;

inline const Row Design[] = {
    {"kelvuadm", "Form1", {0, 0, 634, 455}, LightYellow},    // 9510 x 6825
    {"kelvuadm", "Line1", {319, 0, 3, 456}, Grey},           // x 4800, y 0 to 6840, 3 pixels wide
    {"kelvuadm", "Line2", {0, 239, 640, 3}, Grey},           // y 3600, x 0 to 9600
    {"kelvuadm", "Label4", {8, 8, 89, 49}},                  // 120, 120, 1335, 735
    {"kelvuadm", "Label3", {32, 72, 33, 49}, White},         // 480, 1080, 495, 735
    {"kelvuadm", "VScroll1", {64, 56, 17, 81}},              // 960, 840, 255, 1215
    {"kelvuadm", "Label2", {128, 8, 137, 25}},               // 1920, 120, 2055, 375
    {"kelvuadm", "List1", {104, 32, 177, 144}},              // 1560, 480, 2655, 2160
    {"kelvuadm", "List2", {128, 56, 137, 119}},              // 1920, 840, 2055, 1785
    {"kelvuadm", "Command3D1", {104, 184, 177, 33}},         // 1560, 2760, 2655, 495
    {"kelvuadm", "Label1", {344, 24, 281, 25}},              // 5160, 360, 4215, 375
    {"kelvuadm", "Panel3D2", {344, 88, 69, 71}, LightGrey},  // 5160, 1320, 1035, 1065
    {"kelvuadm", "Option3D1(0)", {16, 16, 41, 17}},          // 240, 240, 615, 255
    {"kelvuadm", "Option3D1(1)", {16, 40, 41, 17}},          // 240, 600, 615, 255
    {"kelvuadm", "Label9", {488, 64, 113, 25}},              // 7320, 960, 1695, 375
    {"kelvuadm", "Label8", {440, 88, 177, 25}, White},       // 6600, 1320, 2655, 375
    {"kelvuadm", "SSCommand1", {440, 128, 177, 33}},         // 6600, 1920, 2655, 495
    {"kelvuadm", "Label5", {432, 192, 161, 25}},             // 6480, 2880, 2415, 375
    {"kelvuadm", "Label7", {64, 264, 185, 25}},              // 960, 3960, 2775, 375
    {"kelvuadm", "Panel3D1", {72, 304, 153, 121}, ButtonFace},  // 1080, 4560, 2295, 1815
    {"kelvuadm", "Option3D2(0)", {16, 16, 97, 17}},             // 240, 240, 1455, 255
    {"kelvuadm", "Option3D2(1)", {16, 40, 121, 17}},            // 240, 600, 1815, 255
    {"kelvuadm", "Option3D2(2)", {16, 64, 105, 17}},            // 240, 960, 1575, 255
    {"kelvuadm", "Option3D2(3)", {16, 88, 105, 17}},            // 240, 1320, 1575, 255
    {"kelvuadm", "Command3D2", {352, 320, 105, 57}},            // 5280, 4800, 1575, 855
    {"kelvuadm", "Command3D3", {352, 384, 105, 57}},            // 5280, 5760, 1575, 855
    {"kelvuadm", "SSCommand4", {504, 256, 105, 57}},            // 7560, 3840, 1575, 855
    {"kelvuadm", "SSCommand3", {504, 320, 105, 57}},            // 7560, 4800, 1575, 855
    {"kelvuadm", "SSCommand2", {504, 384, 105, 57}},            // 7560, 5760, 1575, 855

    {"Form4", "Form4", {0, 0, 250, 219}, LightYellow},  // 3750 x 3285
    {"Form4", "Text1", {40, 112, 155, 28}},             // 600, 1680, 2325, 420
    {"Form4", "Command3D1", {128, 152, 67, 37}},        // 1920, 2280, 1005, 555
    {"Form4", "Command3D2", {40, 152, 67, 37}},         // 600, 2280, 1005, 555
    {"Form4", "Label1", {16, 16, 209, 73}},             // 240, 240, 3135, 1095

    {"Form5", "Form5", {0, 0, 250, 219}, LightYellow},  // 3750 x 3285
    {"Form5", "File1", {18, 12, 139, 192}},             // 270, 180, 2085, 2880
    {"Form5", "Command3D1", {168, 168, 67, 37}},        // 2520, 2520, 1005, 555
    {"Form5", "Command3D2", {168, 126, 67, 37}},        // 2520, 1890, 1005, 555

    {"kelvu", "Form1", {0, 0, 634, 455}, LightYellow},  // 9510 x 6825
    // Wide enough for a card at 9560: 9560 + 2055 + 195 = 11810 wide.
    {"kelvu", "Form1 wide", {0, 0, 787, 455}, LightYellow},
    {"kelvu", "Ruta(0)", {24, 32, 137, 137}},    // 360, 480, 2055, 2055
    {"kelvu", "Ruta(1)", {177, 32, 137, 137}},   // 2660, 480
    {"kelvu", "Ruta(2)", {331, 32, 137, 137}},   // 4960, 480
    {"kelvu", "Ruta(3)", {484, 32, 137, 137}},   // 7260, 480
    {"kelvu", "Ruta(4)", {24, 300, 137, 137}},   // 360, 4500
    {"kelvu", "Ruta(5)", {177, 300, 137, 137}},  // 2660, 4500
    {"kelvu", "Ruta(6)", {331, 300, 137, 137}},  // 4960, 4500
    {"kelvu", "Ruta(7)", {484, 300, 137, 137}},  // 7260, 4500
    {"kelvu", "Ruta(8)", {637, 300, 137, 137}},  // 9560, 4500
    {"kelvu", "Ruta(9)", {791, 300, 137, 137}},  // 11860, 4500
};

inline const Row& row(const char* window, const char* control) {
    for (const Row& r : Design)
        if (qstrcmp(r.window, window) == 0 && qstrcmp(r.control, control) == 0) return r;
    qFatal("no layout row %s %s", window, control);
}

using Controls = std::initializer_list<std::pair<const char*, QWidget*>>;

// Compares every row of the window with its control, found by name in
// controls. The window's own row gives its client area's size.
inline void expectDesign(const char* window, Controls controls) {
    for (const Row& r : Design) {
        if (qstrcmp(r.window, window) != 0) continue;
        QWidget* widget = nullptr;
        for (const auto& [name, control] : controls)
            if (qstrcmp(name, r.control) == 0) widget = control;
        QVERIFY2(widget, r.control);
        const QRect shown =
            widget->isWindow() ? QRect(QPoint(0, 0), widget->size()) : widget->geometry();
        const auto text = [](QRect q) {
            return QStringLiteral("%1, %2, %3, %4")
                .arg(q.x())
                .arg(q.y())
                .arg(q.width())
                .arg(q.height());
        };
        QVERIFY2(shown == r.pixels,
                 qPrintable(QStringLiteral("%1 stands at %2, designed at %3")
                                .arg(QLatin1String(r.control), text(shown), text(r.pixels))));
        const QColor colour = widget->palette().color(QPalette::Window);
        if (r.background)
            QVERIFY2((colour.rgb() & 0xFFFFFF) == r.background,
                     qPrintable(
                         QStringLiteral("%1 is %2").arg(QLatin1String(r.control), colour.name())));
    }
}

// The window stands in the middle of the screen: the space on either side,
// across and down, differs by at most the pixel that an odd difference leaves.
inline void expectCentred(const QWidget* window) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect shown = window->geometry();
    const int left = shown.left() - screen.left();
    const int right = screen.right() - shown.right();
    const int top = shown.top() - screen.top();
    const int bottom = screen.bottom() - shown.bottom();
    QVERIFY2(qAbs(left - right) <= 1 && qAbs(top - bottom) <= 1,
             qPrintable(QStringLiteral("%1 pixels left, %2 right, %3 above, %4 below")
                            .arg(left)
                            .arg(right)
                            .arg(top)
                            .arg(bottom)));
}

// The text a control shows stands as wide and as tall as the designed font
// draws it, to within two pixels: the ink darker than mid-grey inside area
// (the control's own coordinates) against Qt's own bounds of that text.
inline void expectTextDrawnIn(QWidget* control, QRect area, const char* family, qreal points,
                              QFont::Weight weight, const QString& text) {
    QFont designed(QString::fromLatin1(family));
    designed.setPointSizeF(points);
    designed.setWeight(weight);
    const QSize expected = QFontMetrics(designed).tightBoundingRect(text).size();
    const QImage shown = control->grab().toImage();
    QRect ink;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(shown.pixel(x, y)) < 96) ink |= QRect(x, y, 1, 1);
    QVERIFY2(
        qAbs(ink.width() - expected.width()) <= 2 && qAbs(ink.height() - expected.height()) <= 2,
        qPrintable(QStringLiteral("\"%1\" stands %2 × %3, in %4 %5 pt it is %6 × %7")
                       .arg(text)
                       .arg(ink.width())
                       .arg(ink.height())
                       .arg(QLatin1String(family))
                       .arg(points)
                       .arg(expected.width())
                       .arg(expected.height())));
}

}  // namespace layout
