#pragma once

// The windows name the classic Windows fonts. Where a family is missing, the
// metric-compatible Liberation families stand in; MS Sans Serif is closest to
// Arial's metrics, so it takes the same stand-in.
namespace app {

void installFontSubstitutes();

}  // namespace app
