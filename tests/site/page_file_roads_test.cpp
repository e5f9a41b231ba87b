// The page-file service and every road onto it: what it refuses to read and why, and that the
// site update and the Form Check report bad pages and special files quickly, changing nothing.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <map>
#include <thread>

#include "host/pagefile/page_file.h"
#include "host/pagefile/page_file_format.h"
#include "host/site/parallel_pages.h"

namespace {

QByteArray declaredUtf8(const QByteArray& region) {
    return "<html><head><meta charset=\"utf-8\"></head><body>\n<div id=\"OstrelInsert\">" + region +
           "</div>\n</body></html>\n";
}
// Caf\u00e9, then one encoded surrogate, which is no UTF-8.
const QByteArray kBroken = declaredUtf8("Caf\xC3\xA9 \xED\xA0\x80 \xE2\x9C\x93");
const char* const kBrokenPlace = "line 2, column 29 holds bytes that are not UTF-8 (ED A0 80)";

void write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// The site's files as they are: the bytes of each small one, the size of a large one.
std::map<QString, QByteArray> pagesIn(const QString& root) {
    std::map<QString, QByteArray> out;
    for (const QFileInfo& info : QDir(root).entryInfoList(QDir::Files | QDir::NoSymLinks)) {
        QFile f(info.filePath());
        if (info.size() > (1 << 20))
            out[info.fileName()] = QByteArray::number(info.size());
        else if (f.open(QIODevice::ReadOnly))
            out[info.fileName()] = f.readAll();
    }
    return out;
}

TEST(PageFile, RefusesByRuleBeforeReading) {
    QTemporaryDir dir;
    write(dir.filePath("page.html"), "<p>x</p>");
    QFile::link(dir.filePath("page.html"), dir.filePath("link.html"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("pipe.html")).constData(), 0600), 0);
    write(dir.filePath("huge.html"), "<p>");
    QFile(dir.filePath("huge.html")).resize(qint64(20) << 30);  // sparse: nothing on disk
    using Kind = host::PageFileError::Kind;
    const struct {
        const char* name;
        bool followLinks;
        std::optional<Kind> refused;
        const char* says;
    } cases[] = {
        {"page.html", false, std::nullopt, ""},
        {"link.html", false, Kind::NotAFile, "symbolic link"},
        {"link.html", true, std::nullopt, ""},
        {"pipe.html", false, Kind::NotAFile, "named pipe"},  // and never waited on
        {"huge.html", false, Kind::TooLarge, "20480.0 MB (a sparse file, 0.0 MB of it on disk)"},
        {"missing.html", false, Kind::Missing, "does not exist"},
        {".", false, Kind::NotAFile, "folder"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            const host::PageFile page =
                host::readPageFile(dir.filePath(c.name), {host::kLargestParsedPage, c.followLinks, {}});
            EXPECT_FALSE(c.refused);
            EXPECT_EQ(page.bytes, "<p>x</p>");
            EXPECT_EQ(page.stamp.hash, host::contentHash(page.bytes));
        } catch (const host::PageFileError& e) {
            ASSERT_TRUE(c.refused) << e.what();
            EXPECT_EQ(e.kind(), *c.refused);
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(c.says))) << e.what();
        }
    }
}

// One rule for "changed on disk?": what the file holds, not its time; and a replacement keeps
// the file's mode.
TEST(PageFile, ChangedMeansOtherBytesAndReplacingKeepsTheMode) {
    QTemporaryDir dir;
    const QString path = dir.filePath("page.html");
    write(path, "<p>one</p>");
    ::chmod(QFile::encodeName(path).constData(), 0640);
    host::PageFile page = host::readPageFile(path);
    write(path, "<p>one</p>");  // the same bytes again: a new time, no change
    EXPECT_EQ(host::diskChange(path, page.stamp, false), host::DiskChange::None);
    write(path, "<p>two</p>");
    EXPECT_EQ(host::diskChange(path, page.stamp, false), host::DiskChange::Changed);
    page.stamp = host::replacePageFile(path, "<p>three</p>", "Test");
    EXPECT_EQ(host::diskChange(path, page.stamp, true), host::DiskChange::None);
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    QFile::remove(path);
    EXPECT_EQ(host::diskChange(path, page.stamp, true), host::DiskChange::Removed);
}

TEST(PageFile, BytesThatSayUtf8AndAreNotAreRefusedWithTheirPlace) {
    const struct {
        QByteArray bytes;
        const char* says;  // empty: read as Windows-1252, since nothing says UTF-8
    } cases[] = {
        {kBroken, kBrokenPlace},
        {"\xEF\xBB\xBFok\r\nab\xC0\xAF", "byte order mark, but line 2, column 3 holds bytes that are not UTF-8 (C0 AF)"},
        {"<p>caf\xE9</p>", ""},
    };
    for (const auto& c : cases) {
        try {
            const host::DecodedPage page = host::decodePage(c.bytes);
            EXPECT_STREQ(c.says, "");
            EXPECT_EQ(page.format.encoding, host::TextEncoding::Windows1252);
        } catch (const host::UnreadableEncoding& e) {
            EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << e.what();
            EXPECT_STRNE(c.says, "");
        }
    }
}

// Each road meets a broken page, a sparse page of 20 GiB and special files in the site folder:
// a clear message at once, a count, and no page of the site changed.
TEST(PageFileRoads, EveryCommandReportsBadFilesAndChangesNothing) {
    QTemporaryDir dir, elsewhere;
    const QString site = dir.filePath("site");
    QDir().mkpath(site);
    write(QDir(site).filePath("a.html"), declaredUtf8("<p>old</p>"));
    write(QDir(site).filePath("broken.html"), kBroken);
    write(QDir(site).filePath("huge.html"), declaredUtf8("<p>old</p>"));
    QFile(QDir(site).filePath("huge.html")).resize(qint64(20) << 30);
    ASSERT_EQ(::mkfifo(QFile::encodeName(QDir(site).filePath("pipe.html")).constData(), 0600), 0);
    QFile::link(QDir(site).filePath("a.html"), QDir(site).filePath("link.html"));
    QFile::link(dir.path(), QDir(site).filePath("outside"));
    write(elsewhere.filePath("broken.html"), kBroken);
    write(elsewhere.filePath("good.html"), declaredUtf8("<p>new</p>"));
    const auto before = pagesIn(site);
    const QString skipped[] = {"huge.html: skipped: it is 20480.0 MB (a sparse file",
                               "pipe.html: skipped: it is a named pipe (FIFO), not a file",
                               "link.html: skipped: it is a symbolic link, which is not followed",
                               "outside: skipped: it is a symbolic link"};
    const struct {
        QStringList args;
        int exitCode;
        QStringList says;
    } cases[] = {
        {{"--update-region", "OstrelInsert", "--from", elsewhere.filePath("broken.html"), site},
         2, {kBrokenPlace, "no page was changed"}},
        {{"--check-form", site},
         1, {QStringLiteral("broken.html: not checked: it declares the character encoding UTF-8, but ") + kBrokenPlace,
             "4 entries skipped"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        QProcess run;
        run.start(PAGEHOST, c.args);
        ASSERT_TRUE(run.waitForFinished(20000));
        const QString out = QString::fromUtf8(run.readAllStandardOutput() + run.readAllStandardError());
        EXPECT_EQ(run.exitCode(), c.exitCode) << out.toStdString();
        for (const QString& line : c.says) EXPECT_TRUE(out.contains(line)) << out.toStdString();
        if (c.args.contains("--check-form")) {
            for (const QString& line : skipped) EXPECT_TRUE(out.contains(line)) << out.toStdString();
        }
        EXPECT_TRUE(pagesIn(site) == before) << "no page of the site changed";
    }
    // The update from a good page: the broken page is refused by its place and the others
    // named, the huge one as not read.
    QProcess run;
    run.start(PAGEHOST, {"--update-region", "OstrelInsert", "--from", elsewhere.filePath("good.html"), site});
    ASSERT_TRUE(run.waitForFinished(20000));
    const QString out = QString::fromUtf8(run.readAllStandardOutput());
    EXPECT_EQ(run.exitCode(), 1) << out.toStdString();
    for (const QString& line :
         {QStringLiteral("updated: a.html"), QStringLiteral("refused: broken.html: it declares the character encoding UTF-8"),
          QStringLiteral("skipped: huge.html: it is 20480.0 MB"), QStringLiteral("; it may hold the region and was not updated"),
          QStringLiteral("skipped: pipe.html: it is a named pipe"), QStringLiteral(", 4 skipped")})
        EXPECT_TRUE(out.contains(line)) << out.toStdString();
    const auto after = pagesIn(site);
    EXPECT_EQ(after.at("broken.html"), kBroken);
    EXPECT_EQ(after.at("huge.html"), before.at("huge.html"));
}

// Out of memory in the Form Check is a message, never an abort: under an address-space limit
// the editor starts within, a page of 30 MB cannot be parsed, and one of 1.5 GiB is refused
// by its size before it is read.
TEST(PageFileRoads, FormCheckOutOfMemoryIsAMessage) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "a sanitizer's shadow memory does not fit under an address-space limit";
#endif
    QTemporaryDir dir;
    write(dir.filePath("small.html"), declaredUtf8("<p>x</p>"));
    write(dir.filePath("large.html"), declaredUtf8(QByteArray("<p>x</p>").repeated(30 << 17)));
    write(dir.filePath("huge.html"), "<p>");
    QFile(dir.filePath("huge.html")).resize(qint64(1536) << 20);
    const struct {
        const char* page;
        int exitCode;
        const char* says;
    } cases[] = {
        {"small.html", 0, "1 page checked"},
        {"large.html", 1, "large.html: not checked: there was not enough memory"},
        {"huge.html", 1, "it is 1536.0 MB (a sparse file, 0.0 MB of it on disk), larger than the 32.0 MB"},
    };
    for (const auto& c : cases) {
        QProcess run;
        run.start("/bin/sh", {"-c", "ulimit -v 600000 && exec \"$0\" --check-form \"$1\"", PAGEHOST,
                              dir.filePath(c.page)});
        ASSERT_TRUE(run.waitForFinished(20000));
        const QString out = QString::fromUtf8(run.readAllStandardOutput() + run.readAllStandardError());
        EXPECT_EQ(run.exitStatus(), QProcess::NormalExit) << c.page << out.toStdString();
        EXPECT_EQ(run.exitCode(), c.exitCode) << c.page << out.toStdString();
        EXPECT_TRUE(out.contains(c.says)) << out.toStdString();
    }
}

// A job that throws on a worker thread does not end the program: the rest stop and the
// failure reaches the caller, who reports it.
TEST(ParallelPages, AFailingJobIsThrownToTheCaller) {
    // Jobs after the failing one wait for it, so no thread can finish them all before the
    // others are told to stop.
    constexpr std::size_t kJobs = 100000;
    std::atomic<bool> thrown{false};
    std::atomic<std::size_t> ran{0};
    EXPECT_THROW(host::site::forEachPage(kJobs,
                                         [&](std::size_t i) {
                                             ++ran;
                                             if (i == 3) {
                                                 thrown = true;
                                                 throw std::runtime_error("page 3");
                                             }
                                             while (i > 3 && !thrown) std::this_thread::yield();
                                         }),
                 std::runtime_error);
    EXPECT_LT(ran.load(), kJobs);
}

}  // namespace
