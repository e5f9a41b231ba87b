// The page's source view on non-ASCII text: going to a line and column as the page document
// counts them, find and replace, messages that offer to go to the place they name, and the
// colours, which change nothing in the page.
#include "host/sourceview/source_view.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextDocumentLayout>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include "host/editor/editor_window.h"
#include "host/editor/page.h"
#include "host/sourceview/find_bar.h"
#include "support/editor_harness.h"
#include "support/modal.h"

namespace {

using host::TextPlace;

// A tab, letters outside ASCII and one outside the Basic Multilingual Plane.
const QString kPage = QStringLiteral(
    "<p>Gr\u00FC\u00DFe gr\u00FC\u00DFe</p>\n"
    "\t<b>\u65E5\u672C\u8A9E</b> \U0001F600x\n"
    "<p>\u00C9cole \u00E9cole</p>\n");

struct ViewOnPage {
    ViewOnPage() {
        document.setDocumentLayout(new QPlainTextDocumentLayout(&document));
        document.setPlainText(kPage);
        view = std::make_unique<host::SourceView>(&document);
        view->show();
    }
    QString text() const { return document.toPlainText(); }
    // The text from the cursor's selection start to the end of its line.
    QString atCursor() const {
        QTextCursor c = view->textCursor();
        c.setPosition(c.selectionStart());
        c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        return c.selectedText();
    }
    void press(QKeyCombination key) {
        QTest::keyClick(view.get(), key.key(), key.keyboardModifiers());
    }

    QTextDocument document;
    std::unique_ptr<host::SourceView> view;
};

TEST(SourceView, GoToLineTakesLineOrLineColonColumnCountedAsThePageDocumentCounts) {
    const struct {
        const char* typed;
        TextPlace place;  // where the cursor lands, read back
        QString rest;     // the line from there on
    } cases[] = {
        {"1:4", {1, 4}, QStringLiteral("Gr\u00FC\u00DFe gr\u00FC\u00DFe</p>")},
        {"2:11", {2, 11}, QStringLiteral("\u65E5\u672C\u8A9E</b> \U0001F600x")},
        {"2:20", {2, 20}, QStringLiteral("x")},  // the emoji is one column
        {"2:5", {2, 1}, QStringLiteral("\t<b>\u65E5\u672C\u8A9E</b> \U0001F600x")},  // in the tab
        {" 3 ", {3, 1}, QStringLiteral("<p>\u00C9cole \u00E9cole</p>")},
        {"99:99", {4, 1}, QString()},  // past the end: the end
        {"3:999", {3, 19}, QString()},
    };
    ViewOnPage v;
    for (const auto& c : cases) {
        whileModal([&] { v.press(Qt::CTRL | Qt::Key_L); },
                   [&](QWidget* dialog) {
                       auto* field = dialog->findChild<QLineEdit*>("goToLineField");
                       ASSERT_NE(field, nullptr);
                       field->selectAll();
                       QTest::keyClicks(field, QString::fromUtf8(c.typed));
                       QTest::keyClick(field, Qt::Key_Return);
                   });
        EXPECT_EQ(v.view->cursorPlace(), c.place) << c.typed;
        EXPECT_EQ(v.atCursor(), c.rest) << c.typed;
    }
    EXPECT_EQ(host::parseGoToInput("12:"), (TextPlace{12, 1}));
    EXPECT_FALSE(host::parseGoToInput("line 3"));
}

TEST(SourceView, FindMovesThroughMatchesInEitherDirectionAndGoesRoundTheEnd) {
    ViewOnPage v;
    v.press(Qt::CTRL | Qt::Key_F);
    host::FindBar& bar = v.view->findBar();
    ASSERT_TRUE(bar.isVisible());
    QTest::keyClicks(bar.findField(), QStringLiteral("\u00C9COLE"));  // any letter case
    const struct {
        QKeyCombination key;
        int column;
        bool wrapped;
    } steps[] = {
        {Qt::Key_F3, 10, false},
        {Qt::Key_F3, 4, true},
        {Qt::SHIFT | Qt::Key_F3, 10, true},
    };
    EXPECT_EQ(v.view->cursorPlace(), (TextPlace{3, 9})) << "typing finds the first match";
    for (const auto& s : steps) {
        v.press(s.key);
        EXPECT_EQ(v.view->cursorPlace(), (TextPlace{3, s.column + 5}));
        EXPECT_EQ(bar.status() == "Wrapped around", s.wrapped) << s.column;
    }
    bar.matchCase()->setChecked(true);
    QTest::keyClick(bar.findField(), Qt::Key_Return);
    EXPECT_EQ(bar.status(), "Not found");
}

TEST(SourceView, ReplaceAllIsOneUndoStepAndHonoursLetterCase) {
    const struct {
        const char* find;
        const char* replacement;
        bool matchCase;
        QString line1;
        QString line3;
    } cases[] = {
        {"gr\u00FC\u00DFe", "Hallo", false, "<p>Hallo Hallo</p>", "<p>\u00C9cole \u00E9cole</p>"},
        {"gr\u00FC\u00DFe", "Hallo", true, "<p>Gr\u00FC\u00DFe Hallo</p>",
         "<p>\u00C9cole \u00E9cole</p>"},
        {"\u00E9", "\u00E9\u00E9", false, "<p>Gr\u00FC\u00DFe gr\u00FC\u00DFe</p>",
         "<p>\u00E9\u00E9cole \u00E9\u00E9cole</p>"},  // a replacement holding the match
        {"zzz", "x", false, "<p>Gr\u00FC\u00DFe gr\u00FC\u00DFe</p>",
         "<p>\u00C9cole \u00E9cole</p>"},
    };
    for (const auto& c : cases) {
        ViewOnPage v;
        v.press(Qt::CTRL | Qt::Key_H);
        host::FindBar& bar = v.view->findBar();
        bar.findField()->setText(QString::fromUtf8(c.find));
        bar.replaceField()->setText(QString::fromUtf8(c.replacement));
        bar.matchCase()->setChecked(c.matchCase);
        QTest::mouseClick(bar.findChild<QPushButton*>("replaceAllButton"), Qt::LeftButton);
        const QStringList lines = v.text().split(u'\n');
        EXPECT_EQ(lines[0], c.line1) << c.find;
        EXPECT_EQ(lines[2], c.line3) << c.find;
        v.document.undo();
        EXPECT_EQ(v.text(), kPage) << "one undo step takes back every replacement";
    }
}

TEST(SourceView, ReplaceNeverChangesAReadOnlyPage) {
    ViewOnPage v;
    v.view->setReadOnly(true);
    v.press(Qt::CTRL | Qt::Key_H);
    host::FindBar& bar = v.view->findBar();
    EXPECT_FALSE(bar.replaceField()->isVisible());
    bar.findField()->setText("p");
    bar.replaceField()->setText("div");
    bar.replaceAll();
    EXPECT_EQ(v.text(), kPage);
}

// The format the highlighter gave the first character of `probe` in `text`.
QTextCharFormat formatAt(const QTextDocument& doc, const QString& text, const QString& probe) {
    const int at = int(text.indexOf(probe));
    const QTextBlock block = doc.findBlock(at);
    for (const QTextLayout::FormatRange& r : block.layout()->formats()) {
        if (at - block.position() >= r.start && at - block.position() < r.start + r.length)
            return r.format;
    }
    return {};
}

TEST(SourceView, ColoursFollowConstructsAcrossLines) {
    const struct {
        QString page;
        const char* probe;
        const char* like;  // coloured as this, or "" for plain text
    } cases[] = {
        {"<!-- a\nb -->c", "b", "<!--"},
        {"<!-- a\nb -->c", "c", ""},
        {"<a href=\"x\ny\">z</a>", "y", "\"x"},
        {"<a href=\"x\ny\">z</a>", "z", ""},
        {"<script>\nif (a<b) s='<p>';\n</script><p>", "<p>'", "if"},
        {"<script>\nif (a<b) s='<p>';\n</script><p>", "</script", "<script"},
        {"<title>&amp; <b></title>", "<b>", ""},  // no tags in a title
        {"x &#x41; &eacute y", "&eacute", "&#x41;"},
        {"<!DOCTYPE html>\n<p>", "html", "<!DOCTYPE"},
    };
    for (const auto& c : cases) {
        QTextDocument doc;
        doc.setDocumentLayout(new QPlainTextDocumentLayout(&doc));
        doc.setPlainText(c.page);
        host::SourceView view(&doc);
        QCoreApplication::processEvents();  // the first colouring runs from the event loop
        const QTextCharFormat probe = formatAt(doc, c.page, QString::fromUtf8(c.probe));
        if (*c.like) {
            const QTextCharFormat like = formatAt(doc, c.page, QString::fromUtf8(c.like));
            EXPECT_TRUE(like.hasProperty(QTextFormat::ForegroundBrush)) << c.like;
            EXPECT_EQ(probe, like) << c.probe << " in " << c.page.toStdString();
        } else {
            EXPECT_FALSE(probe.hasProperty(QTextFormat::ForegroundBrush))
                << c.probe << " in " << c.page.toStdString();
        }
    }
}

TEST(SourceView, AnEditColoursTheLinesAfterItWhoseStartChanges) {
    ViewOnPage v;
    const QTextCharFormat before = formatAt(v.document, v.text(), "<p>\u00C9cole");
    v.view->moveCursor(QTextCursor::Start);
    QTest::keyClicks(v.view.get(), "<!--");
    EXPECT_NE(formatAt(v.document, v.text(), "<p>\u00C9cole"), before);
    EXPECT_EQ(formatAt(v.document, v.text(), "<p>\u00C9cole"),
              formatAt(v.document, v.text(), "<!--"));
    while (v.document.isUndoAvailable()) v.document.undo();
    EXPECT_EQ(formatAt(v.document, v.text(), "<p>\u00C9cole"), before);
}

TEST(SourceView, ALargePageTakesItsColoursInTurnsAndKeepsEditsMadeMeanwhile) {
    QTextDocument doc;
    doc.setDocumentLayout(new QPlainTextDocumentLayout(&doc));
    doc.setPlainText(QStringLiteral("<p>x</p>\n").repeated(20000) + QStringLiteral("end"));
    host::SourceView view(&doc);
    EXPECT_FALSE(view.highlightingComplete());
    EXPECT_TRUE(doc.lastBlock().layout()->formats().isEmpty());
    QTextCursor(doc.lastBlock()).insertText(QStringLiteral("<b>"));
    while (!view.highlightingComplete()) QCoreApplication::processEvents();
    EXPECT_EQ(doc.lastBlock().text(), "<b>end");
    EXPECT_EQ(formatAt(doc, doc.toPlainText(), "<b>end"), formatAt(doc, doc.toPlainText(), "<p>"));
}

TEST(SourceView, ColouringLeavesThePageUnchanged) {
    EditorHarness harness;
    host::Page* page = harness.window().openPage(harness.writeFile("a.html", kPage.toUtf8()));
    const std::uint64_t revision = page->pageText()->revision();
    QCoreApplication::processEvents();
    harness.window().editorOf(page)->viewport()->repaint();
    EXPECT_EQ(page->pageText()->revision(), revision);
    EXPECT_FALSE(page->isModified());
}

TEST(SourceView, AMessageNamingALineOffersToGoThere) {
    EditorHarness harness;
    host::EditorWindow& window = harness.window();
    window.openPage(harness.writeFile("a.html", kPage.toUtf8()));
    harness.messages.answers = {host::MessageButton::GoTo};
    window.reportClickFailure(
        {5, "The page ends inside the <b> opened at line 2, column 20. The page was not changed.",
         "HTMLDocument"});
    ASSERT_EQ(harness.messages.shown.size(), 1u);
    EXPECT_EQ(harness.messages.shown[0].goToText, "&Go to Line 2");
    EXPECT_EQ(window.activeSourceView()->cursorPlace(), (TextPlace{2, 20}));

    window.reportClickFailure({5, "Type mismatch", "Connect"});
    ASSERT_EQ(harness.messages.shown.size(), 2u);
    EXPECT_EQ(harness.messages.shown[1].buttons, std::vector{host::MessageButton::Ok});

    // A save that fails on a character offers its place in that page.
    host::Page* legacy = window.openPage(harness.writeFile("legacy.html", "<p>caf\xE9</p>\n"));
    QTextCursor at(legacy->document());
    at.setPosition(3);
    at.insertText(QStringLiteral("\u65E5"));
    harness.messages.answers = {host::MessageButton::GoTo};
    EXPECT_FALSE(window.savePage(legacy));
    EXPECT_EQ(harness.messages.shown.back().goToText, "&Go to Line 1");
    EXPECT_EQ(window.activeSourceView()->cursorPlace(), (TextPlace{1, 4}));
    harness.messages.answers = {host::MessageButton::Discard};
}

TEST(SourceView, TheMessageBoxShowsTheGoToButtonAndReportsItsChoice) {
    host::QtMessageBoxService boxes;
    const host::MessageRequest request{"pagehost",
                                       "At line 3.",
                                       host::MessageIcon::Warning,
                                       {host::MessageButton::GoTo, host::MessageButton::Ok},
                                       host::MessageButton::Ok,
                                       "&Go to Line 3"};
    const struct {
        const char* press;
        host::MessageButton chosen;
    } cases[] = {{"goToButton", host::MessageButton::GoTo}, {"", host::MessageButton::Ok}};
    for (const auto& c : cases) {
        host::MessageButton chosen{};
        whileModal([&] { chosen = boxes.show(nullptr, request); },
                   [&](QWidget* box) {
                       if (*c.press) {
                           auto* goTo = box->findChild<QAbstractButton*>(c.press);
                           ASSERT_NE(goTo, nullptr);
                           EXPECT_EQ(goTo->text(), "&Go to Line 3");
                           goTo->click();
                       } else {
                           QTest::keyClick(box, Qt::Key_Escape);
                       }
                   });
        EXPECT_EQ(chosen, c.chosen) << c.press;
    }
}

}  // namespace
