// The find and replace bar.
#include "host/sourceview/find_bar.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

#include "host/sourceview/text_search.h"

namespace host {
namespace {

QPushButton* button(const QString& text, const char* name, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

QLineEdit* field(const QString& label, const char* name, QGridLayout& grid, int row,
                 QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    auto* caption = new QLabel(label, parent);
    caption->setBuddy(edit);
    edit->setAccessibleName(QString(label).remove(u'&').remove(u':'));
    grid.addWidget(caption, row, 0);
    grid.addWidget(edit, row, 1);
    return edit;
}

}  // namespace

FindBar::FindBar(QPlainTextEdit& editor) : QWidget(&editor), m_editor(editor) {
    setObjectName("findBar");
    setAutoFillBackground(true);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 2, 4, 2);
    m_find = field(tr("Fi&nd:"), "findField", *grid, 0, this);
    auto* findRow = new QHBoxLayout;
    auto* previous = button(tr("&Previous"), "findPreviousButton", this);
    auto* next = button(tr("Ne&xt"), "findNextButton", this);
    m_matchCase = new QCheckBox(tr("&Match case"), this);
    m_matchCase->setObjectName("matchCase");
    m_status = new QLabel(this);
    m_status->setObjectName("findStatus");
    auto* close = new QToolButton(this);
    close->setObjectName("closeFindBar");
    close->setText(QStringLiteral("\u00D7"));
    close->setAccessibleName(tr("Close the find bar"));
    close->setToolTip(tr("Close (Escape)"));
    for (QWidget* w : std::initializer_list<QWidget*>{previous, next, m_matchCase, m_status})
        findRow->addWidget(w);
    findRow->addStretch();
    findRow->addWidget(close);
    grid->addLayout(findRow, 0, 2);

    m_replaceRow = new QWidget(this);
    auto* replaceRow = new QHBoxLayout(m_replaceRow);
    replaceRow->setContentsMargins(0, 0, 0, 0);
    m_replace = field(tr("Replace &with:"), "replaceField", *grid, 1, this);
    auto* replaceOne = button(tr("&Replace"), "replaceButton", m_replaceRow);
    auto* replaceEvery = button(tr("Replace &All"), "replaceAllButton", m_replaceRow);
    replaceRow->addWidget(replaceOne);
    replaceRow->addWidget(replaceEvery);
    replaceRow->addStretch();
    grid->addWidget(m_replaceRow, 1, 2);
    grid->setColumnStretch(1, 1);

    m_find->installEventFilter(this);
    connect(m_find, &QLineEdit::textEdited, this, [this] { find(false, true); });
    connect(m_find, &QLineEdit::returnPressed, this, &FindBar::findNext);
    connect(m_replace, &QLineEdit::returnPressed, this, &FindBar::replace);
    connect(next, &QPushButton::clicked, this, &FindBar::findNext);
    connect(previous, &QPushButton::clicked, this, &FindBar::findPrevious);
    connect(replaceOne, &QPushButton::clicked, this, &FindBar::replace);
    connect(replaceEvery, &QPushButton::clicked, this, &FindBar::replaceAll);
    connect(close, &QToolButton::clicked, this, [this] {
        hide();
        emit closed();
    });
    hide();
}

void FindBar::open(bool replacing) {
    const QString selected = m_editor.textCursor().selectedText();
    if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator))
        m_find->setText(selected);
    setReplacing(replacing);
    show();
    QLineEdit* focus = replacing && !m_find->text().isEmpty() ? m_replace : m_find;
    focus->setFocus();
    focus->selectAll();
}

void FindBar::setReplacing(bool replacing) {
    const bool allowed = replacing && !m_editor.isReadOnly();
    m_replaceRow->setVisible(allowed);
    m_replace->setVisible(allowed);
    for (QLabel* l : findChildren<QLabel*>()) {
        if (l->buddy() == m_replace) l->setVisible(allowed);
    }
    m_status->clear();
    adjustSize();
}

QString FindBar::status() const {
    return m_status->text();
}

void FindBar::findNext() {
    find(false);
}

void FindBar::findPrevious() {
    find(true);
}

void FindBar::find(bool backward, bool fromSelectionStart) {
    QTextCursor from = m_editor.textCursor();
    // Typing into the field grows the current match rather than moving past it.
    if (fromSelectionStart) from.setPosition(from.selectionStart());
    const SearchResult found =
        findFrom(*m_editor.document(), m_find->text(), from, backward, m_matchCase->isChecked());
    if (found.match.isNull()) {
        m_status->setText(m_find->text().isEmpty() ? QString() : tr("Not found"));
        return;
    }
    m_editor.setTextCursor(found.match);
    m_editor.centerCursor();
    m_status->setText(found.wrapped ? tr("Wrapped around") : QString());
}

bool FindBar::selectionIsMatch() const {
    const QString selected = m_editor.textCursor().selectedText();
    return !selected.isEmpty() &&
           selected.compare(m_find->text(), m_matchCase->isChecked() ? Qt::CaseSensitive
                                                                     : Qt::CaseInsensitive) == 0;
}

void FindBar::replace() {
    if (m_editor.isReadOnly()) return;
    if (selectionIsMatch()) m_editor.textCursor().insertText(m_replace->text());
    findNext();
}

void FindBar::replaceAll() {
    if (m_editor.isReadOnly()) return;
    const int count = host::replaceAll(*m_editor.document(), m_find->text(), m_replace->text(),
                                       m_matchCase->isChecked());
    m_status->setText(count == 0 ? tr("Not found") : tr("Replaced %n", nullptr, count));
}

void FindBar::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        hide();
        emit closed();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool FindBar::eventFilter(QObject* watched, QEvent* event) {
    // The field would take Shift+Enter for a plain Enter.
    if (watched == m_find && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            key->modifiers() & Qt::ShiftModifier) {
            findPrevious();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace host
