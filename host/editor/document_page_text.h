// The page text seam over the editor's QTextDocument: UTF-8 byte offsets in, character
// positions and undo steps out.
#pragma once

#include <QByteArray>
#include <QMetaObject>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <string>

#include "host/pagefile/page_file_format.h"
#include "host/page/page_text.h"

class QTextDocument;

namespace host {

// text() is the page as Save would write it, in UTF-8: every line break is the file's own
// line ending. replace() is one undo step. Once the page closes (detach), every call fails.
class DocumentPageText final : public PageText {
public:
    DocumentPageText(QTextDocument* document, LineEnding lineEnding);
    ~DocumentPageText() override;
    DocumentPageText(const DocumentPageText&) = delete;
    DocumentPageText& operator=(const DocumentPageText&) = delete;

    std::string text() const override;
    void replace(std::size_t offset, std::size_t length, std::string_view replacement) override;
    std::uint64_t revision() const override { return m_revision; }

    // What text() is made from, taken cheaply on the window's thread so that the making can
    // run on another (utf8()).
    struct Snapshot {
        QString raw;  // the document's text, each block break U+2029
        LineEnding lineEnding = LineEnding::Lf;
        std::uint64_t revision = 0;
    };
    Snapshot snapshot() const;
    // The page text of a snapshot, as text() gives it; safe on any thread.
    static QByteArray utf8(const Snapshot& snapshot);

    // Edits through the seam fail with this reason while it is set (a page open read-only).
    void setReadOnlyReason(QString reason) { m_readOnlyReason = std::move(reason); }
    // For a page read again from its file, which may use another line ending.
    void setLineEnding(LineEnding lineEnding) {
        m_lineEnding = lineEnding;
        ++m_revision;
    }
    void detach();

private:
    QTextDocument& document() const;

    QPointer<QTextDocument> m_document;
    LineEnding m_lineEnding;
    QMetaObject::Connection m_changed;
    std::uint64_t m_revision = 1;
    QString m_readOnlyReason;
    mutable std::uint64_t m_cachedRevision = 0;
    mutable std::string m_cachedText;
};

}  // namespace host
