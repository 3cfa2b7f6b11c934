#include "host/App.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace host {

QString App::EXEName() {
    if (QCoreApplication::instance()) {
        const QString name = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
        if (!name.isEmpty()) return name;
    }
    return QStringLiteral("tallowin");
}

}  // namespace host
