#include "res/Cursors.h"

#include <QPixmap>

QCursor ZoomCursor() {
    return QCursor(QPixmap(QStringLiteral(":/cursors/zoom.svg")), 9, 8);
}

QCursor WindowCursor() {
    return QCursor(QPixmap(QStringLiteral(":/cursors/window.svg")), 16, 16);
}
