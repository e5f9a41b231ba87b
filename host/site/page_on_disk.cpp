// Reading and writing site pages, refusing links and read-only files.
#include "host/site/page_on_disk.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include "platform/files/user_file.h"

namespace host::site {
namespace {

// A link could point outside the site; a page the author made read-only must stay so
// (an atomic replace would otherwise swap it for a writable file).
void checkPlainFile(const QFileInfo& info, bool forWriting) {
    const QString path = info.absoluteFilePath();
    if (info.isSymLink())
        throw SiteError(
            QCoreApplication::translate("host::site::SiteUpdate", "%1 is a symbolic link")
                .arg(path));
    if (!info.isFile())
        throw SiteError(
            QCoreApplication::translate("host::site::SiteUpdate", "%1 is not a file").arg(path));
    // The owner's write bit as well, since a process with every right (root) may write
    // anything.
    if (forWriting && (!info.isWritable() || !(info.permissions() & QFileDevice::WriteOwner)))
        throw SiteError(
            QCoreApplication::translate("host::site::SiteUpdate", "%1 is read-only").arg(path));
}

}  // namespace

QString tooLargeForSite(qint64 size) {
    if (size <= kLargestSitePage) return {};
    const auto mb = [](qint64 bytes) { return QString::number(double(bytes) / (1 << 20), 'f', 1); };
    return QCoreApplication::translate(
               "host::site::SiteUpdate",
               "it is %1 MB, and the site update reads pages of up to %2 MB; it was "
               "not read or changed. Update its region in the editor")
        .arg(mb(size), mb(kLargestSitePage));
}

PageOnDisk readPageOnDisk(const QString& path) {
    const QFileInfo info(path);
    checkPlainFile(info, false);
    if (const QString why = tooLargeForSite(info.size()); !why.isEmpty())
        throw SiteError(QStringLiteral("%1: %2").arg(info.absoluteFilePath(), why));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw SiteError(QCoreApplication::translate("host::site::SiteUpdate", "Cannot read %1: %2")
                            .arg(path, file.errorString()));
    PageOnDisk page{info.absoluteFilePath(), file.readAll(), {}};
    if (file.error() != QFileDevice::NoError)
        throw SiteError(QCoreApplication::translate("host::site::SiteUpdate", "Cannot read %1: %2")
                            .arg(path, file.errorString()));
    page.stamp = platform::files::stampOf(path);
    return page;
}

bool unchangedOnDisk(const PageOnDisk& page) {
    const QFileInfo info(page.path);
    if (info.isSymLink() || !info.isFile() || platform::files::stampOf(page.path) != page.stamp) return false;
    // The same size and time can still hide a change made within the clock's resolution.
    QFile file(page.path);
    return file.open(QIODevice::ReadOnly) && file.readAll() == page.bytes;
}

void writePageAtomically(const QString& path, const QByteArray& bytes) {
    checkPlainFile(QFileInfo(path), true);
    try {
        platform::files::replaceFile(QFile::encodeName(path).toStdString(),
                                     std::string_view(bytes.constData(), std::size_t(bytes.size())),
                                     "Site update", platform::files::kDocumentReplace);
    } catch (const platform::Error& e) {
        throw SiteError(QString::fromStdString(e.description()));
    }
}

}  // namespace host::site
