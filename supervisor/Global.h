#pragma once

#include <QString>
#include <QStringList>

#include "shared/menufile/Menu.h"

// The supervisor's shared menu state and the routines that move a menu
// between a menu file and the main window.
namespace kelvuadm {

class Form1;

namespace Global {

// Number of exercises now in the exercise list (List1, and equally List2).
extern qint16 ListedCount;
// Number of exercises the menu is to have; mirrors VScroll1 and Label3.
extern qint16 WantedCount;
// The current directory when the main window loaded.
extern QString HomeDir;
// The settings file last picked in the open-settings dialog; "" until then.
extern QString SelectedSettingsFile;

// The one main window, created on first use.
Form1& MainWindow();

// Puts a checked menu into the main window, appending to the exercise lists.
void ApplyMenu(const menufile::Menu& menu);

// Reads the whole menu file and checks it against what the window can show
// (menufile::MenuCheck::Ranges), then puts it into the main window. On a
// failure the window is left as it was.
void LoadMenuFile(const QString& path);

// Empties the exercise list and the reward picture.
void ClearMenu();

// Writes the main window's menu to name + ".ini". Throws a RuntimeError when
// the file cannot be written; the old file is then left whole.
void SaveMenuFile(const QString& name);

// Deletes the main window and returns every variable to its start value.
void ResetState();

}  // namespace Global
}  // namespace kelvuadm
