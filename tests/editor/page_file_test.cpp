// Pages read and written in their own encoding and line endings, without losing a byte.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

#include "host/editor/page.h"
#include "host/pagefile/page_file_format.h"
#include "host/site/page_on_disk.h"
#include "support/editor_harness.h"

namespace {

using host::LineEnding;
using host::TextEncoding;

QByteArray allBytes() {
    QByteArray bytes;
    for (int b = 0; b < 256; ++b) bytes.append(char(b));
    return bytes;
}

TEST(PageFormat, DetectsEncodingBomAndLineEndings) {
    struct Case {
        QByteArray bytes;
        TextEncoding encoding;
        bool bom;
        LineEnding ending;
        bool mixed;
        QString text;
    };
    const Case cases[] = {
        {"<p>a</p>\n<p>b</p>\n", TextEncoding::Utf8, false, LineEnding::Lf, false,
         "<p>a</p>\n<p>b</p>\n"},
        {"\xEF\xBB\xBFh\xC3\xA9\r\nx", TextEncoding::Utf8, true, LineEnding::CrLf, false,
         u"h\u00e9\nx"_qs},
        {"caf\xE9 \x80\r\n", TextEncoding::Windows1252, false, LineEnding::CrLf, false,
         u"caf\u00e9 \u20ac\n"_qs},
        {"a\r\nb\r\nc\nd", TextEncoding::Utf8, false, LineEnding::CrLf, true, "a\nb\nc\nd"},
        {"a\rb\rc", TextEncoding::Utf8, false, LineEnding::Cr, false, "a\nb\nc"},
        // An overlong form and a lone surrogate are not UTF-8.
        {"\xC0\xAF", TextEncoding::Windows1252, false, LineEnding::Lf, false, u"\u00c0\u00af"_qs},
        {"\xED\xA0\x80", TextEncoding::Windows1252, false, LineEnding::Lf, false,
         u"\u00ed\u00a0\u20ac"_qs},
    };
    for (const Case& c : cases) {
        const host::DecodedPage page = host::decodePage(c.bytes);
        EXPECT_EQ(page.format.encoding, c.encoding) << c.bytes.toStdString();
        EXPECT_EQ(page.format.byteOrderMark, c.bom) << c.bytes.toStdString();
        EXPECT_EQ(page.format.lineEnding, c.ending) << c.bytes.toStdString();
        EXPECT_EQ(page.format.mixedLineEndings, c.mixed) << c.bytes.toStdString();
        EXPECT_EQ(page.text, c.text) << c.bytes.toStdString();
        if (!c.mixed) {
            EXPECT_EQ(host::encodePage(page.text, page.format), c.bytes);
        }
    }
}

TEST(PageFormat, EveryByteSurvivesWindows1252BothWays) {
    const QByteArray bytes = allBytes();
    const host::DecodedPage page = host::decodePage(bytes);
    ASSERT_EQ(page.format.encoding, TextEncoding::Windows1252);
    // The lone CR (byte 13) reads as a line break and the dominant ending is LF, so only
    // that byte may change.
    QByteArray expected = bytes;
    expected[13] = '\n';
    EXPECT_EQ(host::encodePage(page.text, page.format), expected);
}

TEST(PageFormat, CharacterOutsideWindows1252IsNamedWithItsPlace) {
    host::PageFileFormat format;
    format.encoding = TextEncoding::Windows1252;
    try {
        host::encodePage(u"ok\nsee \u2192 here"_qs, format);
        FAIL();
    } catch (const host::UnencodableCharacter& e) {
        EXPECT_EQ(e.codePoint(), U'\u2192');
        EXPECT_EQ(e.line(), 2);
        EXPECT_EQ(e.column(), 5);
        EXPECT_NE(std::string(e.what()).find("U+2192"), std::string::npos);
    }
}

class PageFileTest : public testing::Test {
protected:
    std::unique_ptr<host::Page> open(const QByteArray& bytes, const QString& name = "page.html") {
        m_path = m_harness.writeFile(name, bytes);
        return host::Page::open(m_path, {});
    }
    void type(host::Page& page, const QString& text) {
        QTextCursor cursor(page.document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(text);
    }
    QByteArray saved() const { return EditorHarness::readFile(m_path); }

    EditorHarness m_harness;
    QString m_path;
};

TEST_F(PageFileTest, UnchangedPagesAreWrittenBackByteForByte) {
    const QByteArray samples[] = {
        "<html>\r\n<body>\r\n</body>\r\n</html>\r\n",
        "\xEF\xBB\xBF<p>\xE2\x82\xAC \xF0\x9F\x98\x80</p>\n",
        "mixed\r\nline\nendings\rhere",
        "<p>caf\xE9 \x81\x8D\x8F\x90\x9D</p>",
        "no final line break",
        "",
        QByteArray("nul\0byte\n", 9),
        "\xC2\xA0no-break spaces\xC2\xA0",
    };
    for (const QByteArray& bytes : samples) {
        auto page = open(bytes);
        EXPECT_TRUE(page->readOnlyReason().isEmpty()) << page->readOnlyReason().toStdString();
        page->save();
        EXPECT_EQ(saved(), bytes);
    }
}

TEST_F(PageFileTest, EditedPagesKeepTheirEncodingBomAndLineEndings) {
    auto crlf = open("\xEF\xBB\xBF<p>\xC3\xA9</p>\r\n");
    type(*crlf, "<p>\u00fc</p>\n");
    crlf->save();
    EXPECT_EQ(saved(), "\xEF\xBB\xBF<p>\xC3\xA9</p>\r\n<p>\xC3\xBC</p>\r\n");

    auto legacy = open("<p>caf\xE9</p>\n", "legacy.html");
    type(*legacy, u"\u20ac"_qs);
    legacy->save();
    EXPECT_EQ(saved(), "<p>caf\xE9</p>\n\x80");
    EXPECT_FALSE(legacy->isModified());

    // A mixed file becomes one kind of line ending once it is edited.
    auto mixed = open("a\r\nb\r\nc\nd", "mixed.html");
    type(*mixed, "!");
    mixed->save();
    EXPECT_EQ(saved(), "a\r\nb\r\nc\r\nd!");
    EXPECT_FALSE(mixed->format().mixedLineEndings);
}

// The bytes of `text` in UTF-16, with its byte order mark.
QByteArray utf16(const QString& text, bool littleEndian) {
    QByteArray out;
    for (QChar c : u"\uFEFF"_qs + text) {
        const char lo = char(c.unicode() & 0xFF), hi = char(c.unicode() >> 8);
        out.append(littleEndian ? lo : hi).append(littleEndian ? hi : lo);
    }
    return out;
}

TEST_F(PageFileTest, Utf16AndDeclaredEncodingsAreReadAndWrittenInTheirOwnBytes) {
    struct Case {
        QByteArray bytes;
        QString encoding;
        QString text;  // as the editor shows it
        QString typed;
        QByteArray saved;
    };
    const QByteArray iso2 = "<meta charset=\"ISO-8859-2\">\n<p>\xB1";
    const QByteArray koi8 =
        "<META http-equiv=Content-Type content='text/html; charset=koi8-r'>\xC1";
    const QByteArray skipped = "<!-- <meta charset=koi8-r> --><meta charset=windows-1250>\x9C";
    // Declared Latin-1 over UTF-8 bytes: a browser shows the two characters, and so does
    // the editor.
    const QByteArray latin1 = "<meta charset=latin1>caf\xC3\xA9";
    const Case cases[] = {
        {utf16(u"<p>\u00e9\U0001F600</p>\r\n"_qs, true), "UTF-16 LE",
         u"<p>\u00e9\U0001F600</p>\n"_qs, u"\u00fc"_qs,
         utf16(u"<p>\u00e9\U0001F600</p>\r\n\u00fc"_qs, true)},
        {utf16(u"<p>\u20ac</p>\n"_qs, false), "UTF-16 BE", u"<p>\u20ac</p>\n"_qs, "x",
         utf16(u"<p>\u20ac</p>\nx"_qs, false)},
        {iso2, "ISO-8859-2", u"<meta charset=\"ISO-8859-2\">\n<p>\u0105"_qs, u"\u0142"_qs,
         iso2 + "\xB3"},
        {koi8, "KOI8-R", QString::fromLatin1(koi8.left(koi8.size() - 1)) + u"\u0430"_qs,
         u"\u0431"_qs, koi8 + "\xC2"},
        {skipped, "windows-1250",
         QString::fromLatin1(skipped.left(skipped.size() - 1)) + u"\u015b"_qs, u"\u0161"_qs,
         skipped + "\x9A"},
        {latin1, "Windows-1252", u"<meta charset=latin1>caf\u00c3\u00a9"_qs, u"\u20ac"_qs,
         latin1 + "\x80"},
    };
    for (const Case& c : cases) {
        auto page = open(c.bytes);
        EXPECT_EQ(host::encodingName(page->format()), c.encoding) << c.bytes.toStdString();
        EXPECT_EQ(page->document()->toPlainText(), c.text) << c.bytes.toStdString();
        page->save();
        EXPECT_EQ(saved(), c.bytes) << "unchanged, byte for byte";
        type(*page, c.typed);
        page->save();
        EXPECT_EQ(saved(), c.saved) << c.bytes.toStdString();
    }
}

TEST_F(PageFileTest, EncodingTheAuthorDeclaresAnewIsTheOneSaved) {
    auto page = open("<meta charset=\"utf-8\">\n<p>\xC3\xA9</p>\n");
    QTextCursor cursor = page->document()->find("utf-8");
    cursor.insertText("iso-8859-2");
    page->save();
    EXPECT_EQ(saved(), "<meta charset=\"iso-8859-2\">\n<p>\xE9</p>\n");
    EXPECT_EQ(host::encodingName(page->format()), "ISO-8859-2");
}

TEST_F(PageFileTest, UnwritableCharacterKeepsFileAndChanges) {
    struct Case {
        QByteArray original;
        QString encoding;
        QString place;
    };
    const Case cases[] = {
        {"<p>caf\xE9</p>", "Windows-1252", "line 1, column 13"},
        {"<meta charset=iso-8859-2>\n<p>\xB1</p>", "ISO-8859-2", "line 2, column 10"},
    };
    for (const Case& c : cases) {
        auto page = open(c.original);
        type(*page, u" \u2192"_qs);
        try {
            page->save();
            ADD_FAILURE() << "saved a character " << c.encoding.toStdString() << " cannot hold";
        } catch (const host::PageError& e) {
            for (const QString& part :
                 {QStringLiteral("U+2192"), c.encoding, c.place, QStringLiteral("&#8594;")})
                EXPECT_TRUE(e.message().contains(part)) << e.what();
        }
        EXPECT_EQ(saved(), c.original);
        EXPECT_TRUE(page->isModified());
        EXPECT_TRUE(page->document()->toRawText().endsWith(u"\u2192"_qs));
    }
}

TEST_F(PageFileTest, BytesThatAreNoTextInTheirEncodingAreNeverRewritten) {
    struct Case {
        QByteArray bytes;
        QString problem;  // in the refusal, or in the reason the page is read-only
        bool opens;
    };
    const Case cases[] = {
        {"<meta charset=iso-8859-16><p>\xA1</p>", "\"iso-8859-16\"", false},
        {"<meta charset=ISO-2022-KR><p>x</p>", "\"iso-2022-kr\"", false},
        // 0xA5 is a hole in ISO-8859-3.
        {"<meta charset=iso-8859-3>\n<p>\xA5</p>", "line 2, column 4", true},
        {"\xFF\xFE<\0p\0>", "half a UTF-16 character", true},
    };
    for (const Case& c : cases) {
        std::unique_ptr<host::Page> page;
        try {
            page = open(c.bytes);
        } catch (const host::PageError& e) {
            EXPECT_FALSE(c.opens) << e.what();
            EXPECT_TRUE(e.message().contains(c.problem)) << e.what();
            continue;
        }
        ASSERT_TRUE(c.opens) << c.bytes.toStdString();
        EXPECT_TRUE(page->readOnlyReason().contains(c.problem))
            << page->readOnlyReason().toStdString();
        EXPECT_THROW(page->pageText()->replace(0, 0, "x"), com::Error);
        EXPECT_EQ(saved(), c.bytes);
    }
}

TEST_F(PageFileTest, TextTheEditorCannotKeepOpensReadOnly) {
    // U+2029 would become a line break of the editor's own.
    const QByteArray bytes =
        "<p>a\xE2\x80\xA9"
        "b</p>";
    auto page = open(bytes);
    EXPECT_TRUE(page->readOnlyReason().contains("U+2029")) << page->readOnlyReason().toStdString();
    EXPECT_THROW(page->save(), host::PageError);
    EXPECT_THROW(page->pageText()->replace(0, 0, "x"), com::Error);
    EXPECT_EQ(saved(), bytes);
}

TEST_F(PageFileTest, MissingFileIsAClearError) {
    try {
        host::Page::open(m_harness.dir.filePath("absent.html"), {});
        FAIL();
    } catch (const host::PageError& e) {
        EXPECT_TRUE(e.message().contains("absent.html")) << e.what();
    }
}

}  // namespace

// Both writers of an author's page (Save, and the site update) replace it in one step without
// taking it over: a read-only page is refused, also for root, and a page of another user keeps
// its owner, group and mode.
TEST_F(PageFileTest, WritersKeepOwnerGroupAndModeAndRefuseReadOnlyPages) {
    const std::function<void(const QString&, const QByteArray&)> writers[] = {
        [](const QString& path, const QByteArray&) { host::Page::open(path, {})->save(); },
        [](const QString& path, const QByteArray& bytes) {
            host::site::writePageAtomically(path, bytes + "<!-- updated -->");
        },
    };
    for (const auto& write : writers) {
        auto page = open("<p>read-only</p>\n", "readonly.html");
        page.reset();
        ::chmod(QFile::encodeName(m_path).constData(), 0444);
        EXPECT_ANY_THROW(write(m_path, saved()));
        EXPECT_EQ(saved(), "<p>read-only</p>\n");

        if (::geteuid() != 0) continue;  // only root can hand a file to another user
        open("<p>theirs</p>\n", "theirs.html").reset();
        const QByteArray path = QFile::encodeName(m_path);
        ASSERT_EQ(::chown(path.constData(), 65534, 65534), 0);
        ::chmod(path.constData(), 0640);
        write(m_path, saved());
        struct stat st {};
        ASSERT_EQ(::stat(path.constData(), &st), 0);
        EXPECT_EQ(st.st_uid, 65534u);
        EXPECT_EQ(st.st_gid, 65534u);
        EXPECT_EQ(st.st_mode & 07777, 0640u);
    }
}
