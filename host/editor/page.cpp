// Reading, keeping and writing one page.
#include "host/editor/page.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextDocumentLayout>
#include <QTextDocument>
#include <algorithm>
#include <limits>
#include <new>

#include "com/error.h"
#include "host/editor/page_window_object.h"
#include "host/preview/rendered_view.h"

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
    return Page::tr("U+%1 on line %2").arg(unsigned(c), 4, 16, QChar(u'0')).toUpper().arg(line);
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

namespace {

// What an open page holds per byte of its file: the bytes, the text as read, the text
// view's blocks and layout, and the UTF-8 copy the page document parses (measured 10.5 for
// opening a 20 MB page in a window, 12.5 with the copy).
constexpr std::int64_t kMemoryPerPageByte = 13;
// The text view counts characters in int; well below that, and beyond any hand-made page.
constexpr std::int64_t kLargestPage = std::int64_t(1) << 30;

// The editor's own share and that of the rendered view's processes, which show only pages up
// to their limit (a larger one gets a note instead).
std::int64_t memoryToOpen(std::int64_t size) {
    const std::int64_t rendered =
        size <= preview::kLargestRenderedPage ? size * preview::kRenderedMemoryPerPageByte : 0;
    return size * kMemoryPerPageByte + rendered;
}

std::int64_t numberInFile(const QString& path, const QByteArray& key = {}) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return -1;
    for (QByteArray line = file.readLine(); !line.isEmpty(); line = file.readLine()) {
        if (!line.startsWith(key)) continue;
        bool ok = false;
        const std::int64_t n = line.mid(key.size()).trimmed().split(' ').value(0).toLongLong(&ok);
        return ok ? n : -1;
    }
    return -1;
}

// The memory the system can give without swapping, within the limit of the editor's
// control group; a very large number when unknown.
std::int64_t freeMemory() {
    std::int64_t available = std::numeric_limits<std::int64_t>::max();
    if (const std::int64_t kb = numberInFile(QStringLiteral("/proc/meminfo"), "MemAvailable:");
        kb >= 0)
        available = kb * 1024;
    const std::int64_t limit = numberInFile(QStringLiteral("/sys/fs/cgroup/memory.max"));
    const std::int64_t used = numberInFile(QStringLiteral("/sys/fs/cgroup/memory.current"));
    if (limit >= 0 && used >= 0)
        available = std::min(available, std::max<std::int64_t>(0, limit - used));
    return available;
}

QString megabytes(std::int64_t bytes) {
    return QString::number(double(bytes) / (1024 * 1024), 'f', 1) + Page::tr(" MB");
}

QString tooLarge(const QString& path, std::int64_t size, std::int64_t needed,
                 std::int64_t available) {
    return Page::tr(
               "%1 (%2) is too large to open: holding and rendering it takes about %3 of "
               "memory, and %4 is free. The file was not changed, and the other pages stay as "
               "they are. Close other programs and try again, or split the page into smaller "
               "ones.")
        .arg(QDir::toNativeSeparators(path), megabytes(size), megabytes(needed),
             megabytes(available));
}

// Throws PageError before a page of `size` bytes is read when it would not fit.
void checkFits(const QString& path, std::int64_t size, std::int64_t memoryForPage) {
    if (size > kLargestPage) {
        throw PageError(
            Page::tr("%1 (%2) is too large to open: the editor holds pages of "
                     "up to %3. The file was not changed.")
                .arg(QDir::toNativeSeparators(path), megabytes(size), megabytes(kLargestPage)));
    }
    const std::int64_t needed = memoryToOpen(size);
    const std::int64_t available = memoryForPage > 0 ? memoryForPage : freeMemory();
    if (needed > available) throw PageError(tooLarge(path, size, needed, available));
}

QString outOfMemory(const QString& path, std::int64_t size) {
    return Page::tr(
               "%1 (%2) was not opened: memory ran out while reading it (holding and rendering "
               "it takes about %3). The file was not changed, and the other pages stay as they "
               "are. Close other pages or programs and try again, or split the page into "
               "smaller ones.")
        .arg(QDir::toNativeSeparators(path), megabytes(size), megabytes(memoryToOpen(size)));
}

// Reads the page through the page-file service, checking first that it fits.
PageFile readForEditor(const QString& path, std::int64_t memoryForPage) {
    PageFileRules rules = Page::fileRules();
    std::int64_t size = 0;
    rules.beforeReading = [&](qint64 bytes) {
        size = bytes;
        checkFits(path, bytes, memoryForPage);
    };
    try {
        return readPageFile(path, rules);
    } catch (const PageFileError& e) {
        if (e.kind() == PageFileError::Kind::OutOfMemory) throw PageError(outOfMemory(path, size));
        throw PageError(e.message());
    }
}

}  // namespace

const PageFileRules& Page::fileRules() {
    static const PageFileRules rules{kLargestPage, true, {}};
    return rules;
}

std::unique_ptr<Page> Page::open(const QString& path, HtmlDocumentFactory documents,
                                 std::int64_t memoryForPage) {
    PageFile file = readForEditor(path, memoryForPage);
    try {
        std::unique_ptr<Page> page(
            new Page(QFileInfo(path).absoluteFilePath(), QString(), std::move(documents)));
        page->m_memoryForPage = memoryForPage;
        page->load(file.bytes);
        page->m_disk = std::move(file.stamp);
        return page;
    } catch (const std::bad_alloc&) {
        throw PageError(outOfMemory(path, file.stamp.size));
    }
}

std::unique_ptr<Page> Page::createUntitled(const QString& name, HtmlDocumentFactory documents) {
    std::unique_ptr<Page> page(new Page(QString(), name, std::move(documents)));
    page->load(QByteArray());
    return page;
}

void Page::reload() {
    PageFile file = readForEditor(m_path, m_memoryForPage);
    try {
        load(file.bytes);
        m_disk = std::move(file.stamp);
    } catch (const std::bad_alloc&) {
        throw PageError(outOfMemory(m_path, file.stamp.size));
    }
    emit reloaded();
}

DiskChange Page::diskChange(bool quick) {
    return m_path.isEmpty() ? DiskChange::None : host::diskChange(m_path, m_disk, quick, fileRules());
}

void Page::load(const QByteArray& bytes) {
    DecodedPage decoded;
    try {
        decoded = decodePage(bytes);
    } catch (const BrokenUtf8& e) {
        throw PageError(tr("The editor cannot read %1: %2.").arg(displayName(), e.what()));
    } catch (const UnreadableEncoding& e) {
        throw PageError(tr("The editor cannot read %1: %2. Convert it to UTF-8 (and "
                           "its <meta charset> with it) in another program to edit "
                           "it here.")
                            .arg(displayName(), e.what()));
    }
    m_format = decoded.format;
    m_savedBytes = bytes;
    m_text->setLineEnding(m_format.lineEnding);
    m_document->setUndoRedoEnabled(false);
    m_document->setPlainText(decoded.text);
    m_document->setUndoRedoEnabled(true);
    m_document->setModified(false);
    m_readOnlyReason.clear();
    if (!decoded.readOnlyReason.isEmpty()) {
        m_readOnlyReason = tr("%1 %2; it is open read-only so that saving cannot "
                              "change it.")
                               .arg(displayName(), decoded.readOnlyReason);
    }
    // The text view turns a few characters (paragraph and frame marks) into breaks of its
    // own; a page holding them could not be written back unchanged, so it is not edited.
    if (m_readOnlyReason.isEmpty() && documentText(*m_document) != decoded.text) {
        m_readOnlyReason = tr("%1 holds a character that the editor cannot keep as it is (%2); "
                              "it is open read-only so that saving cannot change it.")
                               .arg(displayName(), describeFirstDifference(
                                                       decoded.text, documentText(*m_document)));
    }
    m_text->setReadOnlyReason(m_readOnlyReason);
}

QString Page::displayName() const {
    return m_path.isEmpty() ? m_untitledName : QFileInfo(m_path).fileName();
}

bool Page::isModified() const {
    return m_document->isModified();
}

QByteArray Page::utf8AsSaved() const {
    // A read-only page's text is not its bytes, and mixed line endings become one kind.
    if (isModified() || !m_readOnlyReason.isEmpty() || m_format.encoding != TextEncoding::Utf8 ||
        m_format.mixedLineEndings)
        return {};
    return m_format.byteOrderMark ? m_savedBytes.sliced(3) : m_savedBytes;
}

void Page::save(const QString& path) {
    const QString target = path.isEmpty() ? m_path : QFileInfo(path).absoluteFilePath();
    if (target.isEmpty()) throw PageError(tr("%1 has no file name yet").arg(displayName()));
    if (!m_readOnlyReason.isEmpty()) throw PageError(m_readOnlyReason);
    QByteArray bytes;
    PageFileFormat format = m_format;
    if (!isModified()) {
        bytes = m_savedBytes;
    } else {
        const QString text = documentText(*m_document);
        try {
            format = formatToWrite(text, m_format);
            bytes = encodePage(text, format);
        } catch (const UnreadableEncoding& e) {
            throw PageError(tr("%1 was not saved: %2. Declare an encoding the editor "
                               "can write, such as UTF-8, and save again.")
                                .arg(displayName(), e.what()));
        } catch (const UnencodableCharacter& e) {
            throw PageError(tr("%1 was not saved. %2. Replace it (for example with a "
                               "character reference such as &#%3;) and save again.")
                                .arg(displayName(), QString::fromStdString(e.what()))
                                .arg(unsigned(e.codePoint())));
        }
    }
    DiskStamp written;
    try {
        written = replacePageFile(target, bytes, "Save", fileRules());
    } catch (const PageFileError& e) {
        throw PageError(e.message());
    }
    m_path = target;
    m_savedBytes = bytes;
    m_disk = std::move(written);
    // After a save the file holds one kind of line ending, whatever it held before.
    format.mixedLineEndings = format.mixedLineEndings && !isModified();
    m_format = format;
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
