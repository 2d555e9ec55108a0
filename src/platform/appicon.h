#pragma once

#include <QIcon>

// The application icon at 16x16 and 32x32: a ruler on a blue tile between two arrows.
QIcon applicationIcon();
