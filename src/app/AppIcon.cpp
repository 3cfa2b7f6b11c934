#include "app/AppIcon.h"

#include <QFile>

QIcon AppIcon() {
    Q_INIT_RESOURCE(tallowin);
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const QString file = QStringLiteral(":/icons/tallowin-%1.png").arg(size);
        if (QFile::exists(file)) icon.addFile(file, QSize(size, size));
    }
    return icon;
}
