// The Help menu: the authors' handbook (F1), installed with the program and opened in the
// desktop's browser, and the About box with the version and every licence that applies.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>

class QMainWindow;
class QUrl;

namespace host {

class MessageBoxService;

// Opens an address in the desktop's browser; false when nothing could open it.
using UrlOpener = std::function<bool(const QUrl&)>;
// The desktop's own opener (QDesktopServices).
UrlOpener desktopUrlOpener();

// The installed handbook's first page, found from the program's own folder (the build
// folder lays it out as an installation does).
QString handbookPath();

// Adds Help with Handbook (F1) and About; a handbook that is missing or cannot be opened is
// named in a message.
void addHelpMenu(QMainWindow& window, UrlOpener open, MessageBoxService& messages);

// The version, the program's licence and each bundled component's licence, with links to
// the installed licence texts.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    AboutDialog(UrlOpener open, QWidget* parent);
};

}  // namespace host
