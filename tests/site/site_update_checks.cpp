// Updates the generated test site (and the corpus pages whose region is a division) the way
// `pagehost --update-region` does, twice: with the test site's content, then with the
// sign-up form. Writes every page before and after each update, with the manifests of the
// page document's browser comparison (differential.mjs: manifest.json) and validity check
// (validity.mjs: manifest.tsv). Pages not in UTF-8 are written decoded to UTF-8, as the
// browser and the checker read strings and files in UTF-8.
//
// Usage: site_update_checks <page-corpus> <snippet> <output-folder>
#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>
#include <cstdio>
#include <iostream>
#include <map>

#include "host/pagefile/page_file_format.h"
#include "host/page/source_spans.h"
#include "host/page/memory_page_text.h"
#include "host/site/region_lookup.h"
#include "host/site/region_update_command.h"
#include "tests/site/test_site.h"

namespace {

using host::site::PageOutcome;

const std::string kId = "OstrelInsert";

std::map<QString, QByteArray> folderBytes(const QString& root) {
    std::map<QString, QByteArray> out;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        if (f.open(QIODevice::ReadOnly)) out[QDir(root).relativeFilePath(f.fileName())] = f.readAll();
    }
    return out;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// What the browser and the checker read: the bytes of a UTF-8 page, any other page decoded.
QByteArray asUtf8(const QByteArray& bytes) {
    const host::DecodedPage decoded = host::decodePage(bytes);
    return decoded.format.encoding == host::TextEncoding::Utf8 ? bytes : decoded.text.toUtf8();
}

// Whether the update kept the file's format and its text outside the region's content.
QString keptAroundRegion(const QByteArray& before, const QByteArray& after) {
    const host::DecodedPage b = host::decodePage(before), a = host::decodePage(after);
    if (a.format.encoding != b.format.encoding || a.format.byteOrderMark != b.format.byteOrderMark ||
        a.format.lineEnding != b.format.lineEnding)
        return "the file's encoding or line endings changed";
    const std::string was = b.text.toStdString(), is = a.text.toStdString();
    host::PageModel model(std::make_shared<host::MemoryPageText>(was));
    const auto snapshot = model.snapshot();
    const auto elements = host::site::elementsWithId(*snapshot, kId);
    if (elements.size() != 1) return "updated, but the page had no single region";
    const auto begin = host::page::contentBegin(snapshot->parse(), elements.front());
    const auto end = host::page::endTagSpan(snapshot->parse(), elements.front());
    if (begin && is.compare(0, *begin, was, 0, *begin) != 0) return "text before the region changed";
    const std::size_t tail = end ? was.size() - end->begin : 0;
    if (is.size() < tail || is.compare(is.size() - tail, tail, was, end ? end->begin : 0, tail) != 0)
        return "text after the region changed";
    return "ok";
}

struct Line {
    QString outcome;
    QString reason;
};

// Runs the command-line update and reads its lines ("updated: a.html", "refused: b.html:
// why") by page.
std::map<QString, Line> runUpdate(const QString& source, const QString& site) {
    std::FILE* out = std::tmpfile();
    const int status = host::site::runRegionUpdateCommand(
        {"pagehost", "--update-region", QString::fromStdString(kId), "--from", source, site}, out,
        stderr);
    std::rewind(out);
    QFile lines;
    lines.open(out, QIODevice::ReadOnly);
    std::map<QString, Line> byPage;
    for (const QString& line : QString::fromUtf8(lines.readAll()).split('\n', Qt::SkipEmptyParts)) {
        std::cout << "  " << line.toStdString() << "\n";
        const QStringList parts = line.split(QStringLiteral(": "));
        if (parts.size() >= 2) byPage[parts[1]] = {parts[0], parts.mid(2).join(QStringLiteral(": "))};
    }
    lines.close();
    std::fclose(out);
    std::cout << "  exit status " << status << "\n";
    return byPage;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: site_update_checks <page-corpus> <snippet> <output>\n";
        return 2;
    }
    const QDir output(QString::fromLocal8Bit(argv[3]));
    const QString site = output.filePath("site");
    int failures = 0;
    if (!test_site::writeSite(site, test_site::siteFiles())) ++failures;
    // Corpus pages hold the region where an author put it; those where it is a division
    // are the ordinary pages of the site.
    for (const QFileInfo& f : QDir(QString::fromLocal8Bit(argv[1])).entryInfoList(QDir::Files)) {
        QByteArray bytes = readAll(f.filePath());
        if (bytes.contains("<div id=\"@MARKER@\""))
            test_site::writeFile(site + "/corpus/" + f.fileName(),
                                 bytes.replace("@MARKER@", QByteArray::fromStdString(kId)));
    }

    QJsonArray differential;
    std::vector<QString> names;           // the pages that hold the region, in order
    std::map<QString, QString> latest;    // each page's last copy for the checks
    std::map<QString, QString> refusals;  // the first refusal of each page
    const QByteArray contents[] = {test_site::kNew, readAll(QString::fromLocal8Bit(argv[2]))};
    int updated = 0;
    for (int run = 1; run <= 2; ++run) {
        std::cout << "update " << run << ":\n";
        const QString source = output.filePath(QStringLiteral("sources/run%1.html").arg(run));
        test_site::writeFile(source, test_site::page(test_site::region(contents[run - 1])));
        // The browser sets the content that the update reads from the source page.
        host::PageModel model(std::make_shared<host::MemoryPageText>(
            test_site::page(test_site::region(contents[run - 1])).toStdString()));
        const QString content =
            QString::fromStdString(host::site::findRegion(model, kId).content.value_or(""));
        const QString snippet = output.filePath(QStringLiteral("run%1.content").arg(run));
        test_site::writeFile(snippet, content.toUtf8());

        const auto before = folderBytes(site);
        const auto lines = runUpdate(source, site);
        const auto after = folderBytes(site);
        for (const auto& [path, bytes] : before) {
            const auto line = lines.find(path);
            const QByteArray now = after.contains(path) ? after.at(path) : QByteArray();
            if (line == lines.end() || line->second.outcome != "updated") {
                if (now != bytes) {
                    std::cerr << path.toStdString() << ": changed, but not reported updated\n";
                    ++failures;
                }
                if (line == lines.end()) continue;
            }
            QString name = path;
            name = name.replace('/', '-').section('.', 0, -2);
            if (!latest.contains(name)) {
                latest[name] = output.filePath(name + ".before.html");
                test_site::writeFile(latest[name], asUtf8(bytes));
                names.push_back(name);
            }
            QJsonObject c{{"name", QStringLiteral("%1.run%2").arg(name).arg(run)},
                          {"original", latest[name]},
                          {"snippet", snippet},
                          {"damaged", false},
                          {"generated", false}};
            QString byteCheck = "ok";
            if (line->second.outcome == "refused") {
                c["error"] = line->second.reason;
                refusals.try_emplace(name, line->second.reason);
            } else {
                if (line->second.outcome == "updated") {
                    byteCheck = keptAroundRegion(bytes, now);
                    c["verbatim"] = host::decodePage(now).text.contains(content);
                    ++updated;
                }
                latest[name] = output.filePath(QStringLiteral("%1.update.run%2.html").arg(name).arg(run));
                test_site::writeFile(latest[name], asUtf8(now));
                c["edited"] = latest[name];
            }
            c["bytes"] = byteCheck;
            differential.append(c);
        }
    }
    QString tsv;
    for (const QString& name : names) tsv += name + "\tupdate\t" + refusals[name] + "\n";
    test_site::writeFile(output.filePath("manifest.json"), QJsonDocument(differential).toJson());
    test_site::writeFile(output.filePath("manifest.tsv"), tsv.toUtf8());
    if (updated == 0) {
        std::cerr << "no page was updated\n";
        ++failures;
    }
    return failures == 0 ? 0 : 1;
}
