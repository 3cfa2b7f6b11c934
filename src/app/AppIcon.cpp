#include "app/AppIcon.h"

#include <QFile>
#include <QPainter>

QIcon AppIcon() {
    Q_INIT_RESOURCE(tallowin);
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const QString file = QStringLiteral(":/icons/tallowin-%1.png").arg(size);
        if (QFile::exists(file)) icon.addFile(file, QSize(size, size));
    }
    return icon;
}

QIcon PausedIcon() {
    const QIcon watching = AppIcon();
    QIcon paused;
    for (const QSize& size : watching.availableSizes()) {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setOpacity(0.4);
        painter.drawPixmap(0, 0, watching.pixmap(size));
        painter.setOpacity(1.0);
        // The sign covers the lower right quarter and a little more, so it stays legible at 16 px.
        const qreal side = size.width() * 0.6;
        const QRectF disc(size.width() - side, size.height() - side, side, side);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(40, 40, 40));
        painter.drawEllipse(disc);
        painter.setBrush(Qt::white);
        const qreal bar = side * 0.16, height = side * 0.5;
        const qreal top = disc.center().y() - height / 2;
        painter.drawRect(QRectF(disc.center().x() - bar * 1.6, top, bar, height));
        painter.drawRect(QRectF(disc.center().x() + bar * 0.6, top, bar, height));
        painter.end();
        paused.addPixmap(pixmap);
    }
    return paused;
}
