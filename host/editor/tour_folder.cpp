// Claiming a tour's folder: only files that tours wrote there may be replaced.
#include "host/editor/tour_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "host/editor/command_line.h"
#include "platform/files/user_file.h"

namespace host {
namespace {

const QString kRecordName = QStringLiteral(".pagehost-tour");

// A file name that stays in the folder: no separators, no "." or "..".
bool isPlainName(const QString& name) {
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') &&
           !name.contains(QChar(0));
}

}  // namespace

QStringList tourOutputNames(const QString& pageName, const std::vector<TourStep>& steps,
                            bool settingsInFolder) {
    // The add-ins' settings folder too: a tour never reads or writes the user's own.
    QStringList names{pageName, QStringLiteral("tour-failure.png"), QString::fromLatin1(kTourSettingsFolder)};
    if (settingsInFolder)
        names << QStringLiteral("pagehost.ini") << QStringLiteral("pagehost.ini.lock");
    for (const TourStep& step : steps) {
        if (step.kind == TourStep::Kind::Shot || step.kind == TourStep::Kind::DialogShot)
            names << step.target + QStringLiteral(".png");
        if (step.kind == TourStep::Kind::DialogRead) names << step.target + QStringLiteral(".txt");
    }
    names.removeDuplicates();
    return names;
}

void claimTourFolder(const QString& dir, const QStringList& names) {
    for (const QString& name : names) {
        if (!isPlainName(name)) {
            throw CommandLineError(
                QStringLiteral("The tour would write \"%1\", which is not a plain file name in "
                               "the tour's folder; nothing was written")
                    .arg(name));
        }
    }
    if (!QDir().mkpath(dir))
        throw CommandLineError(QStringLiteral("Cannot make the folder %1").arg(dir));
    const QDir folder(dir);

    const QFileInfo recordInfo(folder.filePath(kRecordName));
    QStringList written;
    if (recordInfo.isSymLink() || (recordInfo.exists() && !recordInfo.isFile())) {
        throw CommandLineError(
            QStringLiteral("%1 is not a record this program wrote; choose another tour folder")
                .arg(recordInfo.filePath()));
    }
    const std::filesystem::path recordPath = QFile::encodeName(recordInfo.filePath()).toStdString();
    try {
        if (const auto text = platform::files::readFile(recordPath, "Tour"))
            written = QString::fromStdString(*text).split(u'\n', Qt::SkipEmptyParts);
    } catch (const std::exception& e) {
        throw CommandLineError(QString::fromUtf8(e.what()));
    }

    QStringList foreign;
    for (const QString& name : names) {
        const QFileInfo file(folder.filePath(name));
        if ((file.exists() || file.isSymLink()) && !written.contains(name)) foreign << name;
    }
    if (!foreign.isEmpty()) {
        throw CommandLineError(
            QStringLiteral("The tour folder %1 already holds %2, which no tour wrote there; the "
                           "tour would replace it. Choose an empty or new folder, or move it "
                           "away; nothing was changed")
                .arg(dir, foreign.join(QStringLiteral(", "))));
    }

    for (const QString& name : names) {
        if (!written.contains(name)) written << name;
    }
    try {
        platform::files::replaceFile(recordPath, (written.join(u'\n') + u'\n').toStdString(), "Tour",
                                     platform::files::kDocumentReplace);
    } catch (const std::exception& e) {
        throw CommandLineError(QString::fromUtf8(e.what()));
    }
}

}  // namespace host
