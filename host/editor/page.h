// One open page: its file, its text with undo history, and the objects add-ins reach it by.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>
#include <stdexcept>

#include "com/com_ptr.h"
#include "com/host_application.h"
#include "host/editor/document_page_text.h"
#include "host/editor/html_document_factory.h"
#include "host/pagefile/page_file.h"
#include "host/pagefile/page_file_format.h"
#include "host/editor/page_view_control.h"

class QTextDocument;

namespace host {

class PageWindowObject;

// A page that cannot be read or written; the message names the file and the cause.
class PageError : public std::runtime_error {
public:
    explicit PageError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

class Page : public QObject {
    Q_OBJECT
public:
    // Throws PageError when the file cannot be read, or when the page would not fit in
    // `memoryForPage` bytes (0: the memory the system has free), or when memory runs out
    // while reading it; nothing else in the editor is touched then.
    static std::unique_ptr<Page> open(const QString& path, HtmlDocumentFactory documents,
                                      std::int64_t memoryForPage = 0);
    static std::unique_ptr<Page> createUntitled(const QString& name, HtmlDocumentFactory documents);
    ~Page() override;

    QTextDocument* document() const { return m_document; }
    const QString& path() const { return m_path; }  // empty until first saved
    QString displayName() const;
    const PageFileFormat& format() const { return m_format; }
    bool isModified() const;
    // Why the page cannot be edited or saved, or empty when it can.
    const QString& readOnlyReason() const { return m_readOnlyReason; }

    // Writes the page to `path` (its own path when empty) in the file's own format; an
    // unchanged page is written back byte for byte. Throws PageError; on failure the file
    // on disk is left as it was. It writes over whatever the file holds: the window asks
    // the author first when diskChange() says someone else changed it.
    void save(const QString& path = {});

    // How the file differs from what the editor last read from it or wrote to it; None for
    // a page without a file. `quick` trusts an unchanged size, time and inode.
    DiskChange diskChange(bool quick = false);
    // The rules the editor reads and writes page files by: a link the author named is
    // followed, and a page may be as large as the text view holds.
    static const PageFileRules& fileRules();
    // Reads the page again from its file, dropping its unsaved changes and its undo
    // history; add-ins holding its objects see the new text. Throws PageError and then
    // leaves the page as it was.
    void reload();

    std::shared_ptr<DocumentPageText> pageText() const { return m_text; }
    // The page text (pageText()->text()) without making it, while that is the bytes last
    // read or saved: an unchanged UTF-8 page with one kind of line ending. Empty otherwise.
    QByteArray utf8AsSaved() const;
    // The page's HTML document, made on first use and kept so its parse is reused.
    com::ComPtr<com::IHTMLDocument2> htmlDocument();
    com::ComPtr<com::IPageWindow> window();

    // Drops the objects add-ins may still hold; their calls fail from now on.
    void detach();

    // The page's view in the editor window, if it has one.
    PageViewControl* viewControl() const { return m_viewControl; }
    void setViewControl(PageViewControl* control) { m_viewControl = control; }

signals:
    void modificationChanged(bool modified);
    void reloaded();

private:
    Page(QString path, QString untitledName, HtmlDocumentFactory documents);
    void load(const QByteArray& bytes);

    QString m_path;
    QString m_untitledName;
    HtmlDocumentFactory m_documents;
    QTextDocument* m_document;
    PageFileFormat m_format;
    QByteArray m_savedBytes;
    DiskStamp m_disk;
    std::int64_t m_memoryForPage = 0;
    QString m_readOnlyReason;
    std::shared_ptr<DocumentPageText> m_text;
    com::ComPtr<com::IHTMLDocument2> m_html;
    com::ComPtr<PageWindowObject> m_window;
    PageViewControl* m_viewControl = nullptr;
};

}  // namespace host
