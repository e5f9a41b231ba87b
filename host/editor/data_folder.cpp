// The editor's data folder, relative to its program.
#include "host/editor/data_folder.h"

#include <QCoreApplication>
#include <QDir>

namespace host {

QString dataPath(const QString& relative) {
    return QDir::cleanPath(
        QDir(QCoreApplication::applicationDirPath())
            .filePath(QStringLiteral(OSTREL_DATA_FROM_BINDIR "/pagehost/") + relative));
}

}  // namespace host
