#pragma once

#include <QString>

class QWidget;

namespace Ui {

class GLWidget;

// What the program keeps between runs besides the last folders (LastFolders.h): where its
// windows were, the view colours, and each view's grid spacing and lamps. Everything goes
// through QSettings under the application's organisation and name.
namespace UserSettings {

// A top-level window's position, size and maximized state, stored under `name`.
void saveGeometry(const QString &name, const QWidget &window);
// False when nothing was stored under `name` (the window is left as it is).
bool restoreGeometry(const QString &name, QWidget &window);

// The colour table's current set and the user's custom set.
void saveColors();
void loadColors();

// The grid spacing and the lamps (count, active lamp, radius, angles, enabled) of a view.
void saveView(const GLWidget &view);
// Leaves the view's defaults where nothing was stored.
void loadView(GLWidget &view);

} // namespace UserSettings
} // namespace Ui
