// The Help menu and the About box.
#include "host/editor/help_menu.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "host/commandbars/menu_lookup.h"
#include "host/editor/command_line.h"
#include "host/editor/data_folder.h"
#include "host/messagebox/message_box_service.h"

namespace host {
namespace {

// A link to an installed file, or the file's name alone where it is not installed.
QString fileLink(const QString& path, const QString& text) {
    if (!QFileInfo::exists(path)) return text.toHtmlEscaped();
    return QStringLiteral("<a href=\"%1\">%2</a>")
        .arg(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded), text.toHtmlEscaped());
}

}  // namespace

UrlOpener desktopUrlOpener() {
    return [](const QUrl& url) { return QDesktopServices::openUrl(url); };
}

QString handbookPath() {
    return dataPath(QStringLiteral("handbook/index.html"));
}

void addHelpMenu(QMainWindow& window, UrlOpener open, MessageBoxService& messages) {
    QMenu* help =
        &menuOf(*window.menuBar(), QString::fromLatin1(kHelpMenuName), AboutDialog::tr("&Help"));
    QAction* handbook = help->addAction(AboutDialog::tr("&Handbook"));
    handbook->setObjectName(QStringLiteral("helpHandbook"));
    handbook->setShortcut(QKeySequence::HelpContents);
    QObject::connect(handbook, &QAction::triggered, &window, [&window, open, &messages] {
        const QString path = handbookPath();
        if (QFileInfo::exists(path) && open(QUrl::fromLocalFile(path))) return;
        const QString text =
            QFileInfo::exists(path)
                ? AboutDialog::tr(
                      "The handbook could not be shown: no program of the desktop "
                      "opens web pages. Open %1 in a web browser.")
                : AboutDialog::tr(
                      "The handbook is not installed (there is no %1). Install the "
                      "program again to bring it back.");
        messages.show(&window, {QStringLiteral("pagehost"),
                                text.arg(QDir::toNativeSeparators(path)),
                                MessageIcon::Warning,
                                {MessageButton::Ok},
                                MessageButton::Ok});
    });
    help->addSeparator();
    QAction* about = help->addAction(AboutDialog::tr("&About PageHost"));
    about->setObjectName(QStringLiteral("helpAbout"));
    about->setMenuRole(QAction::AboutRole);
    QObject::connect(about, &QAction::triggered, &window, [&window, open] {
        AboutDialog dialog(open, &window);
        dialog.exec();
    });
}

AboutDialog::AboutDialog(UrlOpener open, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowTitle(tr("About PageHost"));
    const QString axe = dataPath(QStringLiteral("axe-core"));
    const QString axeState = QFileInfo::exists(axe + QStringLiteral("/axe.min.js"))
                                 ? tr("installed in %1").arg(QDir::toNativeSeparators(axe))
                                 : tr("not installed with this build; the Form Check says so");
    const QString text =
        QStringLiteral(
            "<h3>PageHost %1</h3><p>%2</p><p>%3</p><p>%4</p><ul><li>%5</li></ul><p>%6</p>")
            .arg(programVersion().toHtmlEscaped(),
                 tr("A web page editor that shows each page's source beside the page as a "
                    "browser renders it, with the Ostrel add-in that puts a mailing-list "
                    "sign-up form into pages.")
                     .toHtmlEscaped(),
                 tr("Copyright 2026 The OstrelPlugin developers. PageHost and the Ostrel "
                    "add-in are free software under the MIT licence.")
                     .toHtmlEscaped(),
                 tr("Bundled with it:").toHtmlEscaped(),
                 tr("axe-core %1, the accessibility rules of the Form Check (%2): Mozilla "
                    "Public License 2.0 (MPL-2.0), see %3. The code it bundles is under the "
                    "MIT and ISC licences, listed in %4.")
                     .toHtmlEscaped()
                     .arg(QStringLiteral(OSTREL_AXE_CORE_VERSION), axeState.toHtmlEscaped(),
                          fileLink(axe + QStringLiteral("/LICENSE"), QStringLiteral("LICENSE")),
                          fileLink(axe + QStringLiteral("/LICENSE-3RD-PARTY.txt"),
                                   QStringLiteral("LICENSE-3RD-PARTY.txt"))),
                 tr("It runs on Qt %1 (LGPL-3.0) and reads pages with gumbo (Apache-2.0), both "
                    "from the system; the rendered view is Qt WebEngine's Chromium.")
                     .arg(QString::fromLatin1(qVersion()))
                     .toHtmlEscaped());
    auto* label = new QLabel(text);
    label->setObjectName(QStringLiteral("aboutText"));
    label->setWordWrap(true);
    label->setTextFormat(Qt::RichText);
    label->setTextInteractionFlags(Qt::TextBrowserInteraction);
    connect(label, &QLabel::linkActivated, this, [open](const QString& link) { open(QUrl(link)); });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    buttons->button(QDialogButtonBox::Close)->setObjectName(QStringLiteral("aboutClose"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(buttons);
    setMinimumWidth(460);
}

}  // namespace host
