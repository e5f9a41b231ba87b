// The published-at addresses, one entry per folder in an array of the editor's settings
// (folder paths hold the '/' that separates QSettings' keys).
#include "host/editor/site_published_at.h"

#include <QCoreApplication>
#include <QSettings>
#include <vector>

#include "host/formcheck/web_address.h"

namespace host::site {
namespace {

const QString kArray = QStringLiteral("sitePublishedAt");
const QString kFolder = QStringLiteral("folder");
const QString kAddress = QStringLiteral("address");

struct Entry {
    QString folder, address;
};

std::vector<Entry> entries(QSettings& settings) {
    std::vector<Entry> out;
    const int size = settings.beginReadArray(kArray);
    for (int i = 0; i < size; ++i) {
        settings.setArrayIndex(i);
        out.push_back({settings.value(kFolder).toString(), settings.value(kAddress).toString()});
    }
    settings.endArray();
    return out;
}

}  // namespace

QString publishedAt(QSettings& settings, const QString& folder) {
    for (const Entry& e : entries(settings))
        if (e.folder == folder) return e.address;
    return {};
}

void setPublishedAt(QSettings& settings, const QString& folder, const QString& address) {
    std::vector<Entry> kept = entries(settings);
    std::erase_if(kept, [&](const Entry& e) { return e.folder == folder; });
    if (!address.isEmpty()) kept.push_back({folder, address});
    settings.remove(kArray);
    settings.beginWriteArray(kArray, int(kept.size()));
    for (int i = 0; i < int(kept.size()); ++i) {
        settings.setArrayIndex(i);
        settings.setValue(kFolder, kept[std::size_t(i)].folder);
        settings.setValue(kAddress, kept[std::size_t(i)].address);
    }
    settings.endArray();
}

QString publishedAtProblem(const QString& address) {
    if (address.isEmpty()) return {};
    const auto parsed = formcheck::parseAbsoluteAddress(address);
    if (parsed && parsed->isAbsoluteHttp()) return {};
    return QCoreApplication::translate("host::site::SitePanel",
                                       "\"%1\" is not a full http: or https: address, such as "
                                       "https://www.your-site.example/. It is not kept.")
        .arg(address);
}

}  // namespace host::site
