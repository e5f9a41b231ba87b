// pagehost --check-form: the finding table for the sample site, exit statuses, and names
// that could forge a line.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {

struct Outcome {
    int exitCode = -1;
    QString out;
    QString err;
};

// The page checks alone: the rehearsal, which starts the browser engine, has a test of its
// own among the browser tests (tests/preview/form_rehearsal_test.cpp).
Outcome pagehost(QStringList args) {
    if (args.value(0) == u"--check-form") args.insert(1, QStringLiteral("--no-rehearsal"));
    QProcess run;
    run.setWorkingDirectory(QStringLiteral(OSTREL_SOURCE_DIR));
    run.start(QStringLiteral(PAGEHOST), args);
    EXPECT_TRUE(run.waitForFinished(60000));
    return {run.exitCode(), QString::fromUtf8(run.readAllStandardOutput()),
            QString::fromUtf8(run.readAllStandardError())};
}

void write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << qPrintable(path);
    f.write(bytes);
}

const QByteArray kHttpForm =
    "<!DOCTYPE html>\n<html><head><title>t</title></head>\n<body>\n<div id=\"OstrelInsert\">\n"
    "<form method=\"post\" action=\"http://www.ostrel.example/cgi/subscribe\">\n"
    "<input type=\"hidden\" name=\"list\" value=\"club\">\n"
    "<input type=\"hidden\" name=\"redirect\" value=\"https://club.example/thanks.html\">\n"
    "<button>Join</button>\n</form>\n</div>\n</body>\n</html>\n";

TEST(FormCheckCommand, PrintsTheSampleSitesTable) {
    const Outcome run = pagehost({"--check-form", "samples/site"});
    EXPECT_EQ(run.exitCode, 0) << qPrintable(run.err);
    const QString note = QStringLiteral(
        ": note: [template and entries] the sign-up region holds no form (an e-mail link or "
        "text): only its placeholders and ids were checked \u2014 nothing to do if the e-mail "
        "link is what you chose; the wizard's HTML form choice puts a sign-up form there\n");
    EXPECT_EQ(run.out, QStringLiteral("samples/site/events.html:17:1") + note +
                           QStringLiteral("samples/site/index.html:15:1") + note +
                           QStringLiteral("samples/site/notes/tomatoes.html:16:1") + note +
                           QStringLiteral("3 pages checked: 0 errors, 0 warnings, 3 notes; 1 page "
                                          "without the sign-up region\n"));
}

TEST(FormCheckCommand, ExitsWithOneOnAnErrorAndTwoOnAWrongCommand) {
    QTemporaryDir dir;
    write(dir.filePath("join.html"), kHttpForm);
    write(dir.filePath("plain.html"), "<!DOCTYPE html><title>t</title><p>nothing</p>\n");
    QDir(dir.path()).mkdir("sub");
    write(dir.filePath("sub/new\nline.html"), kHttpForm);
    const QString join = dir.filePath("join.html");
    const struct {
        QStringList args;
        int exitCode;
        QStringList out;  // pieces of standard output
        QString err;      // a piece of standard error
    } cases[] = {
        {{"--check-form", join}, 0, {join + ":5:29: note: [transport] the form's action", "1 page checked: 0 errors, 0 warnings, 1 note\n"}, {}},
        {{"--check-form", "--published-at", "https://club.example/", join}, 1,
         {join + ":5:29: error: [transport] the form's action \"http://www.ostrel.example/cgi/subscribe\" is http: while the page is published over https (the site's published address \"https://club.example/\")",
          join + ":7:45: warning: [thank-you page] the thank-you page \"https://club.example/thanks.html\" lies in the site published at \"https://club.example/\", but the site has no file \"thanks.html\"",
          "1 page checked: 1 error, 1 warning, 0 notes\n"}, {}},
        {{"--check-form", dir.filePath("plain.html")}, 0, {"plain.html:1:1: note: [template and entries] the page has no sign-up region"}, {}},
        {{"--check-form", dir.path()}, 0,
         {"/join.html:5:29: note:", "/sub/new\\nline.html\":5:29: note:", "2 pages checked: 0 errors, 0 warnings, 2 notes; 1 page without the sign-up region\n"}, {}},
        {{"--check-form"}, 2, {}, "needs a PAGE or a SITE_FOLDER"},
        {{"--check-form", dir.filePath("missing.html")}, 2, {}, "is neither a page nor a folder"},
        {{"--check-form", "--published-at", "ftp://club.example/", join}, 2, {}, "--published-at needs"},
        {{"--check-form", "--published-at"}, 2, {}, "Missing value after '--published-at'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        const Outcome run = pagehost(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << qPrintable(run.err);
        for (const QString& piece : c.out) EXPECT_TRUE(run.out.contains(piece)) << qPrintable(run.out);
        EXPECT_TRUE(run.err.contains(c.err)) << qPrintable(run.err);
    }
}

// A name that turns the rest of its line around (U+202E) is quoted like one with a line
// break; a thank-you address whose "..%2f" climbs out of the site names a file inside it.
TEST(FormCheckCommand, QuotesHiddenControlsAndKeepsTheThankYouPageInTheSite) {
    QTemporaryDir dir;
    const QString bidi = dir.filePath(QStringLiteral("a\u202Eb.html"));
    write(bidi, kHttpForm);
    QDir(dir.path()).mkdir("site");
    QByteArray climbing = kHttpForm;
    climbing.replace("https://club.example/thanks.html", "..%2f..%2fsecret.html");
    write(dir.filePath("site/climb.html"), climbing);
    QByteArray absolute = kHttpForm;
    absolute.replace("https://club.example/thanks.html", "https://club.example/..%2F..%2Fsecret.html");
    write(dir.filePath("site/absolute.html"), absolute);
    const struct {
        QStringList args;
        QString said;
    } cases[] = {
        {{"--check-form", bidi}, QStringLiteral("a\\xE2\\x80\\xAEb.html\":5:29: note:")},
        {{"--check-form", dir.filePath("site")}, QStringLiteral("nor does the site have the file \"secret.html\"")},
        {{"--check-form", "--published-at", "https://club.example/", dir.filePath("site")},
         QStringLiteral("but the site has no file \"secret.html\"")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        const Outcome run = pagehost(c.args);
        EXPECT_TRUE(run.out.contains(c.said)) << qPrintable(run.out);
        EXPECT_FALSE(run.out.contains(QChar(0x202E)));
        EXPECT_FALSE(run.out.contains(QStringLiteral("../secret.html")));
    }
}

TEST(FormCheckCommand, IsInTheHelp) {
    const Outcome run = pagehost({"--help"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.contains(
        "pagehost --check-form [--published-at URL] [--no-rehearsal] PAGE...|SITE_FOLDER"));
    EXPECT_TRUE(run.out.contains("--no-rehearsal      leave out the rehearsal"));
}

}  // namespace
