// Qt file choosers.
#include "host/editor/file_dialog_service.h"

#include <QCoreApplication>
#include <QFileDialog>

namespace host {
namespace {
// Asked for each time: the author's language is known only once the application runs.
QString filter() {
    return QCoreApplication::translate("host::FileDialogService",
                                       "HTML pages (*.html *.htm);;All files (*)");
}
}  // namespace

QStringList QtFileDialogService::askFilesToOpen(QWidget* parent) {
    return QFileDialog::getOpenFileNames(
        parent, QCoreApplication::translate("host::FileDialogService", "Open Page"), QString(),
        filter());
}

QString QtFileDialogService::askSaveLocation(QWidget* parent, const QString& suggestion) {
    return QFileDialog::getSaveFileName(
        parent, QCoreApplication::translate("host::FileDialogService", "Save Page As"), suggestion,
        filter());
}

}  // namespace host
