// A near miss of the service's host: within one edit of it (a letter or dot left out, added
// or changed, or two neighbours swapped), read in ASCII and as the visitor reads an
// international name (a Cyrillic "о" for "o"), or any host with a label (or a part of one
// between hyphens) within one edit of the service's name (secure.ostrel.example,
// www.ostrel.com, www.ostrel-example.com). Two edits would take in real names of other
// sites ("hostel" is two from "ostrel").
#include "host/formcheck/service_address.h"

#include <QRegularExpression>
#include <QStringList>
#include <QUrl>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace host::formcheck {
namespace {

constexpr qsizetype kHostEdits = 1;
constexpr qsizetype kNameEdits = 1;

// Edits between a and b (insert, delete, change one character, swap two neighbours); past
// `limit` the count stops at limit + 1.
qsizetype edits(const QString& a, const QString& b, qsizetype limit) {
    if (std::abs(a.size() - b.size()) > limit) return limit + 1;
    const qsizetype n = a.size(), m = b.size();
    std::vector<qsizetype> previous2(m + 1), previous(m + 1), row(m + 1);
    for (qsizetype j = 0; j <= m; ++j) previous[j] = j;
    for (qsizetype i = 1; i <= n; ++i) {
        row[0] = i;
        qsizetype best = row[0];
        for (qsizetype j = 1; j <= m; ++j) {
            const qsizetype change = a[i - 1] == b[j - 1] ? 0 : 1;
            row[j] = std::min({previous[j] + 1, row[j - 1] + 1, previous[j - 1] + change});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                row[j] = std::min(row[j], previous2[j - 2] + 1);
            best = std::min(best, row[j]);
        }
        if (best > limit) return limit + 1;
        std::swap(previous2, previous);
        std::swap(previous, row);
    }
    return previous[m];
}

// The service's name: its host's label before the top-level one.
QString serviceName() {
    const QStringList labels = QString::fromLatin1(kServiceHost).split(u'.');
    return labels.size() >= 2 ? labels[labels.size() - 2] : labels.front();
}

}  // namespace

HostMatch compareWithServiceHost(const QString& host) {
    QString ascii = host.toLower();
    if (ascii.endsWith(u'.')) ascii.chop(1);
    const QString expected = QString::fromLatin1(kServiceHost);
    // The bare domain too: services answer on it as on "www.", and it is no typo.
    if (ascii == expected || QStringLiteral("www.") + ascii == expected) return HostMatch::service;
    const QString shown = QUrl::fromAce(ascii.toLatin1()).toLower();
    const QString name = serviceName();
    for (const QString& form : {ascii, shown}) {
        if (edits(form, expected, kHostEdits) <= kHostEdits) return HostMatch::nearMiss;
        for (const QString& label : form.split(QRegularExpression(QStringLiteral("[.-]")))) {
            if (edits(label, name, kNameEdits) <= kNameEdits) return HostMatch::nearMiss;
        }
    }
    return HostMatch::other;
}

}  // namespace host::formcheck
