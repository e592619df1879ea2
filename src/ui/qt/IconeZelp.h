// The program's own icon, drawn in code: the tray icon and the window icon.
#pragma once

#include <QIcon>

// A 24 x 24 icon (with a 48 x 48 version of the same drawing for screens that scale by two).
QIcon IconeZelp();
