// A longest-common-subsequence diff over lines; regions are short, so the table is small.
#include "host/site/line_diff.h"

#include <QStringList>
#include <vector>

namespace host::site {

QString sourceDiff(const std::string& before, const std::string& after) {
    const QStringList a = QString::fromStdString(before).split(u'\n');
    const QStringList b = QString::fromStdString(after).split(u'\n');
    const auto n = std::size_t(a.size()), m = std::size_t(b.size());
    QStringList out;
    const auto mark = [&](const char* prefix, const QString& line) {
        out << QString::fromLatin1(prefix) + line;
    };
    constexpr std::size_t kMaxCells = std::size_t(4) << 20;
    if (n * m > kMaxCells) {
        for (const QString& line : a) mark("- ", line);
        for (const QString& line : b) mark("+ ", line);
        return out.join(u'\n');
    }
    // common[i][j]: length of the longest common run of lines of a[i..] and b[j..].
    std::vector<std::vector<unsigned>> common(n + 1, std::vector<unsigned>(m + 1, 0));
    for (std::size_t i = n; i-- > 0;)
        for (std::size_t j = m; j-- > 0;)
            common[i][j] = a[qsizetype(i)] == b[qsizetype(j)]
                               ? common[i + 1][j + 1] + 1
                               : std::max(common[i + 1][j], common[i][j + 1]);
    std::size_t i = 0, j = 0;
    while (i < n || j < m) {
        if (i < n && j < m && a[qsizetype(i)] == b[qsizetype(j)]) {
            mark("  ", a[qsizetype(i++)]);
            ++j;
        } else if (i < n && (j == m || common[i + 1][j] >= common[i][j + 1])) {
            mark("- ", a[qsizetype(i++)]);
        } else {
            mark("+ ", b[qsizetype(j++)]);
        }
    }
    return out.join(u'\n');
}

}  // namespace host::site
