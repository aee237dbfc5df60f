#pragma once

// Every text the programs show is Swedish, Qt's own dialogs and buttons too
// (the file dialog, the message boxes), whatever the desktop's language.
namespace app {

// Loads Qt's Swedish translation when it is installed; without it Qt's own
// texts stay in English.
void installSwedishTranslation();

}  // namespace app
