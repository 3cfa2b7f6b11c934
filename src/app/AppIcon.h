#pragma once
#include <QIcon>

// The application's icon at every size it was rendered in, from the program's own resources.
QIcon AppIcon();
