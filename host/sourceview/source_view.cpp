// The source view: a plain text editor with a line number margin and a find bar in the
// margins around its viewport.
#include "host/sourceview/source_view.h"

#include <QFontDatabase>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QRegularExpressionValidator>
#include <QTextBlock>

#include "host/sourceview/find_bar.h"
#include "host/sourceview/html_highlighter.h"
#include "host/sourceview/source_layout.h"

namespace host {

class SourceView::LineNumbers final : public QWidget {
public:
    explicit LineNumbers(SourceView* view) : QWidget(view), m_view(view) {
        setObjectName("lineNumbers");
    }

protected:
    void paintEvent(QPaintEvent* event) override { m_view->paintLineNumbers(event); }

private:
    SourceView* m_view;
};

SourceView::SourceView(QTextDocument* document, QWidget* parent)
    : QPlainTextEdit(parent), m_lineNumbers(new LineNumbers(this)), m_findBar(new FindBar(*this)) {
    setObjectName("pageEditor");
    if (!qobject_cast<SourceLayout*>(document->documentLayout()))
        document->setDocumentLayout(new SourceLayout(document));
    setDocument(document);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setLineWrapMode(QPlainTextEdit::NoWrap);
    // Tab stops every 8 characters, where the page document's columns put them.
    setTabStopDistance(8 * fontMetrics().horizontalAdvance(u' '));
    setHighlighting(true);

    connect(this, &QPlainTextEdit::blockCountChanged, this, &SourceView::layOutMargins);
    connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect& rect, int dy) {
        if (dy != 0) {
            m_lineNumbers->scroll(0, dy);
        } else {
            m_lineNumbers->update(0, rect.y(), m_lineNumbers->width(), rect.height());
        }
    });
    connect(m_findBar, &FindBar::closed, this, [this] {
        layOutMargins();
        setFocus();
    });
    layOutMargins();
}

SourceView::~SourceView() = default;

void SourceView::setHighlighting(bool on) {
    if (on == highlighting()) return;
    if (on) {
        // The document outlives the view: the colours go with the view.
        m_highlighter = new HtmlHighlighter(document(), this);
    } else {
        delete m_highlighter;
        m_highlighter = nullptr;
    }
}

bool SourceView::highlightingComplete() const {
    return !m_highlighter || m_highlighter->isComplete();
}

void SourceView::run(SourceCommand command) {
    switch (command) {
        case SourceCommand::Find:
        case SourceCommand::Replace:
            m_findBar->open(command == SourceCommand::Replace);
            layOutMargins();
            break;
        case SourceCommand::FindNext:
        case SourceCommand::FindPrevious:
            if (m_findBar->isHidden()) {
                m_findBar->open(false);
                layOutMargins();
            }
            if (command == SourceCommand::FindNext) {
                m_findBar->findNext();
            } else {
                m_findBar->findPrevious();
            }
            break;
        case SourceCommand::GoToLine:
            askForPlace();
            break;
    }
}

void SourceView::askForPlace() {
    QInputDialog dialog(this);
    dialog.setObjectName("goToLineDialog");
    dialog.setWindowTitle(tr("Go to Line"));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setLabelText(tr("&Line, or line:column (1 to %1):").arg(blockCount()));
    const TextPlace here = cursorPlace();
    dialog.setTextValue(QString::number(here.line));
    if (auto* field = dialog.findChild<QLineEdit*>()) {
        field->setObjectName("goToLineField");
        field->setValidator(new QRegularExpressionValidator(
            QRegularExpression(QStringLiteral(R"(\s*\d{0,9}\s*(:\s*\d{0,9}\s*)?)")), field));
    }
    if (dialog.exec() != QDialog::Accepted) return;
    if (const auto place = parseGoToInput(dialog.textValue())) goTo(*place);
}

void SourceView::goTo(TextPlace place) {
    QTextCursor cursor(document());
    cursor.setPosition(positionOf(*document(), place));
    setTextCursor(cursor);
    centerCursor();
    setFocus();
}

TextPlace SourceView::cursorPlace() const {
    return placeOf(*document(), textCursor().position());
}

bool SourceView::event(QEvent* event) {
    // The view's own keys come before the window's shortcuts for the same commands.
    if (event->type() == QEvent::ShortcutOverride &&
        sourceCommandOf(*static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QPlainTextEdit::event(event);
}

void SourceView::keyPressEvent(QKeyEvent* event) {
    if (const auto command = sourceCommandOf(*event)) {
        run(*command);
        return;
    }
    if (event->key() == Qt::Key_Escape && !m_findBar->isHidden()) {
        m_findBar->hide();
        layOutMargins();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

int SourceView::lineNumbersWidth() const {
    int digits = 1;
    for (int n = std::max(1, blockCount()); n >= 10; n /= 10) ++digits;
    return 8 + fontMetrics().horizontalAdvance(u'9') * std::max(digits, 3);
}

void SourceView::layOutMargins() {
    const int bar = !m_findBar->isHidden() ? m_findBar->sizeHint().height() : 0;
    setViewportMargins(lineNumbersWidth(), 0, 0, bar);
    const QRect view = viewport()->geometry();
    m_lineNumbers->setGeometry(view.left() - lineNumbersWidth(), view.top(), lineNumbersWidth(),
                               view.height());
    const QRect inside = contentsRect();
    m_findBar->setGeometry(inside.left(), view.bottom() + 1, inside.width(), bar);
}

void SourceView::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    layOutMargins();
}

void SourceView::paintLineNumbers(QPaintEvent* event) {
    QPainter painter(m_lineNumbers);
    const QPalette& p = palette();
    painter.fillRect(event->rect(), p.color(QPalette::Window));
    painter.setPen(p.color(QPalette::PlaceholderText));
    painter.setFont(font());
    const int width = m_lineNumbers->width() - 4;
    const int height = fontMetrics().height();
    QTextBlock block = firstVisibleBlock();
    int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
    while (block.isValid() && top <= event->rect().bottom()) {
        const int bottom = top + qRound(blockBoundingRect(block).height());
        if (block.isVisible() && bottom >= event->rect().top()) {
            painter.drawText(0, top, width, height, Qt::AlignRight,
                             QString::number(block.blockNumber() + 1));
        }
        block = block.next();
        top = bottom;
    }
}

}  // namespace host
