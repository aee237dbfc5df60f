#pragma once

namespace controls {

// Tells Qt's accessibility how to present the programs' windows and 3-D
// controls: windows as windows, option buttons as radio buttons, panels as
// named groups. Safe to call more than once; the controls call it themselves
// when the first of them is made.
void installAccessibleControls();

}  // namespace controls
