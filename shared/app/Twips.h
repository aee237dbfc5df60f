#pragma once

#include <QRect>

// Window geometry is given in twips, 1/1440 inch; at the usual 96 dots per
// inch that is 15 twips to a logical pixel. Qt scales logical pixels for
// high-density screens itself.
namespace app {

inline constexpr int TwipsPerPixel = 15;

// Rounds to the nearest pixel, so that positions built by adding twips stay
// where the sum in twips puts them.
constexpr int twipsToPixels(int twips) {
    return twips >= 0 ? (twips + TwipsPerPixel / 2) / TwipsPerPixel
                      : -((-twips + TwipsPerPixel / 2) / TwipsPerPixel);
}

constexpr QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}

}  // namespace app
