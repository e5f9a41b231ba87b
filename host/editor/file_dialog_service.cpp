// Qt file choosers.
#include "host/editor/file_dialog_service.h"

#include <QFileDialog>

namespace host {
namespace {
const QString kFilter = QStringLiteral("HTML pages (*.html *.htm);;All files (*)");
}

QStringList QtFileDialogService::askFilesToOpen(QWidget* parent) {
    return QFileDialog::getOpenFileNames(parent, QStringLiteral("Open Page"), QString(), kFilter);
}

QString QtFileDialogService::askSaveLocation(QWidget* parent, const QString& suggestion) {
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Save Page As"), suggestion,
                                        kFilter);
}

}  // namespace host
