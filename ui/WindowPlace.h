#pragma once

class QWidget;

namespace ui {

// Each window opens where the user left it the last time, at the same size (or maximised). A place on a
// screen that is no longer there is moved onto a screen that is, as Qt restores a window's geometry; a window
// that no longer fits whole on any screen opens as on its first time: at its usual size, centred over the
// window it belongs to, or on the screen when it belongs to none. The place is kept in the program's settings
// under the window's object name each time the window closes or is hidden.
void keepWindowPlace(QWidget* window);

// Centres a window over the window it belongs to, or on its screen, keeping it inside the screen.
void centreWindow(QWidget* window);

} // namespace ui
