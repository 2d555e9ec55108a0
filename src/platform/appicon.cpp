#include "platform/appicon.h"

// Rendered from appicon.svg during the build.
QIcon applicationIcon() {
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/mervel-16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/icons/mervel-32.png"), QSize(32, 32));
    return icon;
}
