// The Form Check panel.
#include "host/editor/form_check_panel.h"

#include <QAction>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTabWidget>
#include <QTextBlock>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <new>

#include "host/commandbars/menu_lookup.h"
#include "host/editor/editor_tab.h"
#include "host/editor/editor_window.h"
#include "host/editor/form_rehearsal_runner.h"
#include "host/editor/page.h"
#include "host/editor/site_controller.h"
#include "host/formcheck/axe_findings.h"
#include "host/formcheck/form_check.h"
#include "host/preview/form_audit.h"

namespace host {
namespace {

const QString kRegionId = QStringLiteral("OstrelInsert");
enum Column { kSeverity, kWhere, kWhat, kAdvice };
constexpr int kLineRole = Qt::UserRole;
constexpr int kColumnRole = Qt::UserRole + 1;

QString counted(std::size_t n, const QString& one, const QString& many) {
    return n == 1 ? one : many.arg(n);
}

QString severityText(formcheck::Severity severity) {
    switch (severity) {
        case formcheck::Severity::error:
            return FormCheckPanel::tr("error");
        case formcheck::Severity::warning:
            return FormCheckPanel::tr("warning");
        case formcheck::Severity::note:
            return FormCheckPanel::tr("note");
    }
    return formcheck::severityName(severity);
}

QString checkText(formcheck::CheckKind check) {
    switch (check) {
        case formcheck::CheckKind::accessibility:
            return FormCheckPanel::tr("accessibility");
        case formcheck::CheckKind::transport:
            return FormCheckPanel::tr("transport");
        case formcheck::CheckKind::contentPolicy:
            return FormCheckPanel::tr("content policy");
        case formcheck::CheckKind::thankYouPage:
            return FormCheckPanel::tr("thank-you page");
        case formcheck::CheckKind::templateEntries:
            return FormCheckPanel::tr("template and entries");
        case formcheck::CheckKind::rehearsal:
            return FormCheckPanel::tr("rehearsal");
    }
    return formcheck::checkName(check);
}

// Places first, in the order of the text; findings tied to no place after them.
bool before(const formcheck::Finding& a, const formcheck::Finding& b) {
    const auto key = [](const formcheck::Finding& f) {
        return std::tuple(f.line == 0, f.line, f.column, int(f.severity));
    };
    return key(a) < key(b);
}

// A page too large to copy for the check leaves the editor as it was.
formcheck::Finding outOfMemory() {
    return {
        formcheck::Severity::warning,
        formcheck::CheckKind::templateEntries,
        FormCheckPanel::tr("The check did not run: there was not enough memory to copy the page."),
        0,
        0,
        FormCheckPanel::tr("Close other pages or programs and check again.")};
}

QMenu* toolsMenu(QMenuBar* bar) {
    return &menuOf(*bar, QStringLiteral("menuTools"), FormCheckPanel::tr("&Tools"));
}

// The column counts characters, a character outside the Basic Multilingual Plane as one.
void placeCursor(QPlainTextEdit& view, int line, int column) {
    const QTextBlock block = view.document()->findBlockByNumber(std::max(line, 1) - 1);
    if (!block.isValid()) return;
    const QString text = block.text();
    qsizetype i = 0;
    for (int c = 1; c < column && i < text.size(); ++c)
        i += text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
    QTextCursor cursor(block);
    cursor.setPosition(block.position() + int(i));
    view.setTextCursor(cursor);
    view.centerCursor();
    view.setFocus();
}

}  // namespace

FormCheckPanel::FormCheckPanel(EditorWindow& window)
    : QDockWidget(tr("Sign-up Form Check"), &window),
      m_window(window),
      m_summary(new QLabel),
      m_audit(new QLabel),
      m_rehearsal(new QLabel),
      m_rehearsals(new FormRehearsalRunner(this)),
      m_list(new QTreeWidget),
      m_checkAction(new QAction(tr("Check Sign-up &Form"), this)) {
    setObjectName(QStringLiteral("formCheckPanel"));
    m_summary->setObjectName(QStringLiteral("formCheckSummary"));
    m_audit->setObjectName(QStringLiteral("formCheckAudit"));
    m_rehearsal->setObjectName(QStringLiteral("formCheckRehearsal"));
    m_list->setObjectName(QStringLiteral("formCheckFindings"));
    for (QLabel* label : {m_summary, m_rehearsal, m_audit}) {
        label->setWordWrap(true);
        label->setTextFormat(Qt::PlainText);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    m_list->setColumnCount(4);
    m_list->setHeaderLabels({tr("Severity"), tr("Where"), tr("What is wrong"), tr("What to do")});
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(false);
    m_list->setWordWrap(true);
    m_list->header()->setStretchLastSection(true);
    m_list->setColumnWidth(kWhat, m_list->fontMetrics().averageCharWidth() * 56);
    m_list->setAccessibleName(tr("Form Check findings"));
    connect(m_list, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { goTo(item); });

    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->addWidget(m_summary);
    layout->addWidget(m_rehearsal);
    layout->addWidget(m_audit);
    layout->addWidget(m_list, 1);
    setWidget(content);
    window.addDockWidget(Qt::BottomDockWidgetArea, this);
    hide();

    m_checkAction->setObjectName(QStringLiteral("checkFormAction"));
    m_checkAction->setStatusTip(
        tr("Checks the page's sign-up form: accessibility, transport, content policy, thank-you "
           "page and template"));
    connect(m_checkAction, &QAction::triggered, this,
            [this] { check(m_window.activePage(), Start::asked); });
    toolsMenu(window.menuBar())->addAction(m_checkAction);
    if (auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("pageTabs")))
        connect(tabs, &QTabWidget::currentChanged, this, [this] { showActive(); });
    showActive();
}

FormCheckPanel::~FormCheckPanel() = default;

void FormCheckPanel::check(Page* page, Start start) {
    if (!page) return;
    if (!m_results.contains(page))
        connect(page, &QObject::destroyed, this, [this, page] { m_results.erase(page); });
    Result& result = m_results[page];
    result = {};
    result.run = ++m_runs;
    result.pageName = page->displayName();

    formcheck::PageContext context;
    context.pagePath = page->path();
    const QString site = m_window.site().siteFolder();
    if (!site.isEmpty() && !page->path().isEmpty() &&
        !QDir(site).relativeFilePath(page->path()).startsWith(QLatin1String(".."))) {
        context.siteFolder = site;
        context.publishedAt = m_window.site().publishedAt();
    }
    QByteArray text;
    try {
        text = QByteArray::fromStdString(page->pageText()->text());
        result.fromPage = formcheck::checkForm(text, context);
    } catch (const std::bad_alloc&) {
        result.fromPage = {outOfMemory()};
    }
    // The rehearsal fills in and submits the page's form in a view of its own, with the
    // page's scripts as its view runs them; like the audit, only where the author has the
    // rendered page shown (hidden, no browser engine starts for it).
    EditorTab* pageTab = m_window.tabOf(page);
    const auto answer = [self = QPointer<FormCheckPanel>(this), page = QPointer<Page>(page),
                         run = result.run](const formcheck::Rehearsal& rehearsal) {
        if (self && page) self->rehearsed(page, run, rehearsal);
    };
    if (!pageTab || pageTab->viewMode() == kSourceOnly) {
        const QString why = pageTab ? tr("the rendered page is hidden (View > Rendered Page shows it)")
                                    : tr("the page has no view");
        QTimer::singleShot(0, this, [answer, why] { answer(formcheck::rehearsalNotRun(why)); });
    } else {
        m_rehearsals->rehearse(text, context, pageTab->scriptsEnabled(), answer);
    }

    show();
    raise();
    if (!m_sized) {
        // Low at first, so that the page keeps most of the window; the author's own height
        // is kept afterwards.
        m_sized = true;
        m_window.resizeDocks({this}, {fontMetrics().height() * 10}, Qt::Vertical);
    }
    showActive();
    EditorTab* tab = m_window.tabOf(page);
    if (!tab) {
        auditAnswered(page, result.run, {}, tr("the page has no view"));
        return;
    }
    const int elementLimit = start == Start::byItself ? preview::kAutomaticAuditElementLimit : 0;
    tab->auditForm(kRegionId, elementLimit,
                   [self = QPointer<FormCheckPanel>(this), page = QPointer<Page>(page),
                    run = result.run](const QByteArray& json, const QString& failure) {
                       if (self && page) self->auditAnswered(page, run, json, failure);
                   });
}

void FormCheckPanel::auditAnswered(Page* page, int run, const QByteArray& axeJson,
                                   const QString& failure) {
    const auto it = m_results.find(page);
    if (it == m_results.end() || it->second.run != run) return;  // a newer check runs
    Result& result = it->second;
    result.auditing = false;
    if (failure.isEmpty()) {
        // Placed in the text as it is now: the view audits the latest text.
        try {
            result.fromAudit = formcheck::axeFindings(
                axeJson, QByteArray::fromStdString(page->pageText()->text()), kRegionId);
        } catch (const std::bad_alloc&) {
            result.fromAudit = {outOfMemory()};
        }
        result.auditSummary = formcheck::auditSummary(axeJson);
    } else {
        result.auditFailure = failure;
    }
    showActive();
    answeredIfDone(page, result);
}

void FormCheckPanel::rehearsed(Page* page, int run, const formcheck::Rehearsal& rehearsal) {
    const auto it = m_results.find(page);
    if (it == m_results.end() || it->second.run != run) return;  // a newer check runs
    it->second.rehearsing = false;
    it->second.rehearsal = rehearsal;
    showActive();
    answeredIfDone(page, it->second);
}

void FormCheckPanel::answeredIfDone(Page* page, const Result& result) {
    if (!result.auditing && !result.rehearsing) emit checked(page);
}

QString FormCheckPanel::rehearsalState() const {
    return m_rehearsal->text();
}

QString FormCheckPanel::summary() const {
    return m_summary->text();
}

QString FormCheckPanel::auditState() const {
    return m_audit->text();
}

bool FormCheckPanel::isChecking(const Page* page) const {
    const auto it = m_results.find(page);
    return it != m_results.end() && (it->second.auditing || it->second.rehearsing);
}

std::vector<formcheck::Finding> FormCheckPanel::findings(const Page* page) const {
    const auto it = m_results.find(page);
    if (it == m_results.end()) return {};
    std::vector<formcheck::Finding> all = it->second.fromPage;
    formcheck::mergeRehearsalFindings(all, it->second.rehearsal);
    all.insert(all.end(), it->second.fromAudit.begin(), it->second.fromAudit.end());
    std::stable_sort(all.begin(), all.end(), before);
    return all;
}

void FormCheckPanel::showActive() {
    m_list->clear();
    const Page* page = m_window.activePage();
    const auto it = m_results.find(page);
    if (it == m_results.end()) {
        m_summary->setText(page ? tr("This page has not been checked. Tools > Check "
                                     "Sign-up Form checks it.")
                                : QString());
        m_audit->hide();
        m_rehearsal->hide();
        return;
    }
    const Result& result = it->second;
    const std::vector<formcheck::Finding> all = findings(page);
    std::size_t count[3] = {0, 0, 0};
    for (const formcheck::Finding& f : all) {
        ++count[int(f.severity)];
        auto* item = new QTreeWidgetItem(m_list);
        const bool placed = f.line > 0;
        item->setText(kSeverity, severityText(f.severity));
        item->setText(kWhere, placed ? QStringLiteral("%1:%2").arg(f.line).arg(f.column)
                                     : QStringLiteral("-"));
        item->setText(kWhat, f.what);
        item->setText(kAdvice, f.advice);
        item->setData(kWhere, kLineRole, f.line);
        item->setData(kWhere, kColumnRole, f.column);
        item->setToolTip(kWhat, QStringLiteral("%1 (%2)").arg(f.what, checkText(f.check)));
        item->setToolTip(kAdvice, f.advice);
        if (placed) {
            item->setToolTip(kWhere, tr("Line %1, column %2: Enter or a double click "
                                        "goes there in the source")
                                         .arg(f.line)
                                         .arg(f.column));
        }
    }
    m_list->resizeColumnToContents(kSeverity);
    m_list->resizeColumnToContents(kWhere);
    const QString counts = all.empty() ? tr("no problem found")
                                       : tr("%1, %2, %3")
                                             .arg(counted(count[int(formcheck::Severity::error)],
                                                          tr("1 error"), tr("%1 errors")),
                                                  counted(count[int(formcheck::Severity::warning)],
                                                          tr("1 warning"), tr("%1 warnings")),
                                                  counted(count[int(formcheck::Severity::note)],
                                                          tr("1 note"), tr("%1 notes")));
    m_summary->setText(tr("Sign-up form of %1: %2%3.")
                           .arg(result.pageName, counts,
                                result.auditing || result.rehearsing ? tr(" so far") : QString()));
    m_rehearsal->setText(
        result.rehearsing
            ? tr("The rehearsal (the form filled in and sent in the rendered page's engine, as a "
                 "visitor would) is running...")
            : tr("Rehearsal:\n%1").arg(formcheck::rehearsalSummary(result.rehearsal)));
    m_rehearsal->show();
    if (result.auditing) {
        m_audit->setText(tr("The accessibility audit of the rendered form is running..."));
    } else if (!result.auditFailure.isEmpty()) {
        m_audit->setText(tr("The accessibility audit did not run: %1. The other "
                            "checks ran.")
                             .arg(result.auditFailure));
    } else {
        m_audit->setText(result.auditSummary);
    }
    m_audit->show();
}

void FormCheckPanel::goTo(QTreeWidgetItem* item) {
    const int line = item->data(kWhere, kLineRole).toInt();
    Page* page = m_window.activePage();
    EditorTab* tab = m_window.tabOf(page);
    if (line <= 0 || !tab) return;
    if (tab->viewMode() == kRenderedOnly) tab->setViewMode(kSourceAndRendered);
    placeCursor(*tab->source(), line, item->data(kWhere, kColumnRole).toInt());
}

}  // namespace host
