#pragma once
#include <QIcon>

// The application's icon at every size it was rendered in, from the program's own resources.
QIcon AppIcon();
// The same icon while the clipboard is not watched: faded, with a pause sign (two upright bars on
// a dark disc) over its lower right quarter, so it reads as paused by its shape as well as its tone.
QIcon PausedIcon();
