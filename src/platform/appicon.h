#pragma once

#include <QIcon>

// The application icon, drawn at 16x16 and 32x32.
QIcon applicationIcon();
