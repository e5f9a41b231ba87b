// File choosers of the editor, as an injected service so that tests can answer them.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace host {

class FileDialogService {
public:
    virtual ~FileDialogService() = default;
    // The files to open; empty when the author cancels.
    virtual QStringList askFilesToOpen(QWidget* parent) = 0;
    // Where to save; empty when the author cancels.
    virtual QString askSaveLocation(QWidget* parent, const QString& suggestion) = 0;
};

class QtFileDialogService final : public FileDialogService {
public:
    QStringList askFilesToOpen(QWidget* parent) override;
    QString askSaveLocation(QWidget* parent, const QString& suggestion) override;
};

}  // namespace host
