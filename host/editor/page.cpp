// Reading, keeping and writing one page.
#include "host/editor/page.h"

#include <QFile>
#include <QFileInfo>
#include <QPlainTextDocumentLayout>
#include <QSaveFile>
#include <QTextDocument>

#include "com/error.h"
#include "host/editor/page_window_object.h"

namespace host {
namespace {

// The document's text with its block breaks as '\n'.
QString documentText(const QTextDocument& doc) {
    QString text = doc.toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    return text;
}

QString describeFirstDifference(const QString& expected, const QString& kept) {
    qsizetype i = 0;
    while (i < expected.size() && i < kept.size() && expected[i] == kept[i]) ++i;
    const qsizetype line = expected.left(i).count(u'\n') + 1;
    const char16_t c = i < expected.size() ? expected[i].unicode() : 0;
    return QStringLiteral("U+%1 on line %2")
        .arg(unsigned(c), 4, 16, QChar(u'0'))
        .toUpper()
        .arg(line);
}

}  // namespace

Page::Page(QString path, QString untitledName, HtmlDocumentFactory documents)
    : m_path(std::move(path)),
      m_untitledName(std::move(untitledName)),
      m_documents(std::move(documents)),
      m_document(new QTextDocument(this)) {
    m_document->setDocumentLayout(new QPlainTextDocumentLayout(m_document));
    m_text = std::make_shared<DocumentPageText>(m_document, m_format.lineEnding);
    connect(m_document, &QTextDocument::modificationChanged, this, &Page::modificationChanged);
}

Page::~Page() {
    detach();
}

std::unique_ptr<Page> Page::open(const QString& path, HtmlDocumentFactory documents) {
    QFile file(path);
    if (!QFileInfo(path).isFile()) throw PageError(QStringLiteral("%1 is not a file").arg(path));
    if (!file.open(QIODevice::ReadOnly)) {
        throw PageError(QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()));
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        throw PageError(QStringLiteral("Cannot read %1: %2").arg(path, file.errorString()));
    }
    std::unique_ptr<Page> page(
        new Page(QFileInfo(path).absoluteFilePath(), QString(), std::move(documents)));
    page->load(bytes);
    return page;
}

std::unique_ptr<Page> Page::createUntitled(const QString& name, HtmlDocumentFactory documents) {
    std::unique_ptr<Page> page(new Page(QString(), name, std::move(documents)));
    page->load(QByteArray());
    return page;
}

void Page::load(const QByteArray& bytes) {
    DecodedPage decoded = decodePage(bytes);
    m_format = decoded.format;
    m_savedBytes = bytes;
    m_text->detach();
    m_text = std::make_shared<DocumentPageText>(m_document, m_format.lineEnding);
    m_document->setUndoRedoEnabled(false);
    m_document->setPlainText(decoded.text);
    m_document->setUndoRedoEnabled(true);
    m_document->setModified(false);
    // The text view turns a few characters (paragraph and frame marks) into breaks of its
    // own; a page holding them could not be written back unchanged, so it is not edited.
    if (documentText(*m_document) != decoded.text) {
        m_readOnlyReason = QStringLiteral(
                               "%1 holds a character that the editor cannot keep as it is (%2); "
                               "it is open read-only so that saving cannot change it.")
                               .arg(displayName(), describeFirstDifference(
                                                       decoded.text, documentText(*m_document)));
        m_text->setReadOnlyReason(m_readOnlyReason);
    }
}

QString Page::displayName() const {
    return m_path.isEmpty() ? m_untitledName : QFileInfo(m_path).fileName();
}

bool Page::isModified() const {
    return m_document->isModified();
}

void Page::save(const QString& path) {
    const QString target = path.isEmpty() ? m_path : QFileInfo(path).absoluteFilePath();
    if (target.isEmpty())
        throw PageError(QStringLiteral("%1 has no file name yet").arg(displayName()));
    if (!m_readOnlyReason.isEmpty()) throw PageError(m_readOnlyReason);
    QByteArray bytes;
    if (!isModified()) {
        bytes = m_savedBytes;
    } else {
        try {
            bytes = encodePage(documentText(*m_document), m_format);
        } catch (const UnencodableCharacter& e) {
            throw PageError(QStringLiteral("%1 was not saved. %2. Replace it (for example with a "
                                           "character reference such as &#%3;) and save again.")
                                .arg(displayName(), QString::fromStdString(e.what()))
                                .arg(unsigned(e.codePoint())));
        }
    }
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        throw PageError(QStringLiteral("Cannot write %1: %2").arg(target, file.errorString()));
    }
    m_path = target;
    m_savedBytes = bytes;
    // After a save the file holds one kind of line ending, whatever it held before.
    m_format.mixedLineEndings = m_format.mixedLineEndings && !isModified();
    m_document->setModified(false);
}

com::ComPtr<com::IHTMLDocument2> Page::htmlDocument() {
    if (!m_html) {
        if (!m_documents) {
            throw com::Error(com::errc::objectNotSet,
                             "This editor has no HTML document object for its pages", "pagehost");
        }
        m_html = m_documents(m_text);
        if (!m_html) {
            throw com::Error(com::errc::objectNotSet, "The page's HTML document could not be made",
                             "pagehost");
        }
    }
    return m_html;
}

com::ComPtr<com::IPageWindow> Page::window() {
    if (!m_window) m_window = com::make<PageWindowObject>(this);
    return m_window;
}

void Page::detach() {
    if (m_window) {
        m_window->detach();
        m_window = nullptr;
    }
    m_html = nullptr;
    if (m_text) m_text->detach();
}

}  // namespace host
