// The page's source and rendered view side by side.
#include "host/editor/editor_tab.h"

#include <QEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>

#include "host/editor/form_trial_dialog.h"
#include "host/editor/page.h"
#include "host/editor/rendered_text.h"
#include "host/editor/view_options.h"
#include "host/preview/rendered_view_module.h"

namespace host {
namespace {

// The pause in typing before the rendered view follows the text: long enough that a
// typist's next key usually comes first, short enough to feel live; longer when the last
// refresh took long (a large page, a busy machine), so that keys that keep coming are not
// slowed by one re-render after another.
constexpr int kRefreshDelayMs = 300;
constexpr int kLongestRefreshDelayMs = 2000;
const QString kInsertionId = QStringLiteral("OstrelInsert");

}  // namespace

EditorTab::EditorTab(QPlainTextEdit* source, Page& page, ViewOptions& options,
                   FormTrialService& trials, QWidget* parent)
    : QSplitter(Qt::Horizontal, parent),
      m_source(source),
      m_page(page),
      m_options(options),
      m_trials(trials),
      m_renderedSide(new QWidget) {
    setObjectName(QStringLiteral("pageView"));
    setChildrenCollapsible(false);
    m_renderedSide->setObjectName(QStringLiteral("renderedSide"));
    auto* layout = new QVBoxLayout(m_renderedSide);
    layout->setContentsMargins(0, 0, 0, 0);
    addWidget(m_source);
    addWidget(m_renderedSide);
    setStretchFactor(0, 1);
    setStretchFactor(1, 1);

    m_refresh.setObjectName(QStringLiteral("renderedRefresh"));
    m_refresh.setSingleShot(true);
    m_refresh.setInterval(kRefreshDelayMs);
    connect(&m_refresh, &QTimer::timeout, this, &EditorTab::renderNow);
    connect(m_page.document(), &QTextDocument::contentsChanged, this, &EditorTab::refreshLater);
    // A page saved under a new name renders against its new folder.
    connect(&m_page, &Page::modificationChanged, this, &EditorTab::refreshLater);
    connect(&m_options, &ViewOptions::changed, this, &EditorTab::applyOptions);
    connect(this, &QSplitter::splitterMoved, this, [this] {
        const QList<int> s = sizes();
        if (s.size() == 2 && s[0] > 0 && s[1] > 0)
            m_options.setSourceShare(s[0] * 1000 / (s[0] + s[1]));
    });
    m_page.setViewControl(this);
    applyOptions();
}

EditorTab::~EditorTab() {
    m_page.setViewControl(nullptr);
    // The rendered view's widget is a child of this one; it goes with its owner, first.
    m_rendered.reset();
}

void EditorTab::showEvent(QShowEvent* event) {
    QSplitter::showEvent(event);
    if (!m_sized) {
        // As the author last split a tab (half and half at first); the empty rendered side
        // would otherwise start with no width.
        m_sized = true;
        const int source = width() * m_options.sourceShare() / 1000;
        setSizes({source, width() - source});
    }
    if (!m_options.renderedShown()) return;
    if (!m_rendered && !m_failure && m_options.sourceShown()) {
        if (preview::renderedViewStarted()) {
            // Chromium runs already: the load starts now and goes on in its own processes
            // while the source is coloured and painted.
            showRendered();
            return;
        }
        // Made only once the source has been painted, so that the editor shows the page
        // before Chromium starts; what the author sees first never waits for it.
        m_source->viewport()->installEventFilter(this);
        return;
    }
    QTimer::singleShot(0, this, &EditorTab::showRendered);
}

bool EditorTab::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_source->viewport() && event->type() == QEvent::Paint) {
        m_source->viewport()->removeEventFilter(this);
        QTimer::singleShot(0, this, &EditorTab::showRendered);
    }
    return QSplitter::eventFilter(watched, event);
}

void EditorTab::showRendered() {
    if (!renderedVisible()) return;
    createRendered();
    if (m_stale) renderNow();
}

bool EditorTab::renderedVisible() const {
    return isVisible() && m_options.renderedShown();
}

void EditorTab::applyOptions() {
    m_source->setVisible(m_options.sourceShown());
    m_renderedSide->setVisible(m_options.renderedShown());
    // Queued: an add-in sets the view mode just before it edits the page, so by then the
    // edit is there to be rendered.
    if (renderedVisible()) QTimer::singleShot(0, this, &EditorTab::showRendered);
}

void EditorTab::createRendered() {
    if (m_rendered || m_failure) return;
    QPointer<EditorTab> self(this);
    preview::RenderedViewEvents events;
    events.blockedChanged = [this](int count) {
        m_blocked = count;
        emit blockedCountChanged(count);
    };
    events.settled = [this] {
        if (m_renderClock.isValid()) {
            m_lastRenderMs = m_renderClock.elapsed();
            m_renderClock.invalidate();
        }
        emit settled();
    };
    events.formSubmitted = [self](const preview::FormSubmission& submission) {
        // Out of the browser's call, so that the dialog's own loop runs on a clean stack.
        QTimer::singleShot(0, self, [self, submission] {
            if (self) self->m_trials.show(self->window(), submission);
        });
    };
    QString failure;
    m_rendered = preview::createRenderedView(std::move(events), m_renderedSide, &failure);
    if (!m_rendered) {
        m_failure = new QLabel(failure, m_renderedSide);
        m_failure->setObjectName(QStringLiteral("renderedFailure"));
        m_failure->setWordWrap(true);
        m_failure->setAlignment(Qt::AlignCenter);
        m_renderedSide->layout()->addWidget(m_failure);
        return;
    }
    m_renderedSide->layout()->addWidget(m_rendered->widget());
    m_rendered->setScriptsEnabled(m_scriptsEnabled);
    m_stale = true;
}

void EditorTab::refreshLater() {
    m_stale = true;
    // Twice what the last refresh took, from the text's conversion until the view settled:
    // while keys keep coming, the view renders at most a third of the time.
    const qint64 delay =
        std::clamp<qint64>(2 * m_lastRenderMs, kRefreshDelayMs, kLongestRefreshDelayMs);
    m_refresh.start(static_cast<int>(delay));
}

void EditorTab::renderNow() {
    m_refresh.stop();
    if (!m_rendered || !renderedVisible()) return;  // stays stale until it shows
    render();
}

void EditorTab::render() {
    m_refresh.stop();
    m_stale = false;
    if (m_revealPending) {
        m_rendered->revealAfterRender(kInsertionId);
        m_revealPending = false;
    }
    // Converting a large page takes longer than a key may wait; only the copy of the
    // document's text is made here.
    m_renderClock.start();
    m_text.convert(m_page);
}

void EditorTab::textReady(const RenderedText& text) {
    if (!m_rendered) return;
    showDeclined(text.declined);
    // A declined page leaves the view empty, so that its processes give back what the last
    // rendering took.
    m_rendered->render(text.html, m_page.path(), m_page.displayName());
    for (auto& [elementId, elementLimit, done] : std::exchange(m_auditsWaiting, {}))
        auditRendered(elementId, elementLimit, std::move(done));
}

void EditorTab::showDeclined(const QString& why) {
    if (why.isEmpty() && !m_declined) return;
    if (!m_declined) {
        m_declined = new QLabel(m_renderedSide);
        m_declined->setObjectName(QStringLiteral("renderedDeclined"));
        m_declined->setWordWrap(true);
        m_declined->setAlignment(Qt::AlignCenter);
        m_renderedSide->layout()->addWidget(m_declined);
    }
    m_declined->setText(why);
    m_declined->setVisible(!why.isEmpty());
    m_rendered->widget()->setVisible(why.isEmpty());
}

void EditorTab::setScriptsEnabled(bool enabled) {
    if (m_scriptsEnabled == enabled) return;
    m_scriptsEnabled = enabled;
    // Turned off, the view starts again on a renderer of its own, so that a script that
    // never returns cannot keep it blank.
    if (m_rendered) m_rendered->setScriptsEnabled(enabled);
    emit scriptsEnabledChanged(enabled);
}

bool EditorTab::isSettled() const {
    if (m_refresh.isActive() || m_text.busy()) return false;
    if (!renderedVisible() || m_failure) return true;
    return m_rendered && !m_stale && m_rendered->isSettled();
}

std::int32_t EditorTab::viewMode() const {
    if (!m_options.renderedShown()) return kSourceOnly;
    return m_options.sourceShown() ? kSourceAndRendered : kRenderedOnly;
}

void EditorTab::setViewMode(std::int32_t mode) {
    m_options.setShown(mode != kRenderedOnly, mode != kSourceOnly);
    if (mode == kSourceOnly) return;
    // An add-in sets the mode just before it changes the page; once that change is
    // rendered, the view shows where it went. Nothing changed by the end of this turn of
    // the event loop means nothing to show.
    m_revealPending = true;
    const std::uint64_t before = m_page.pageText()->revision();
    QTimer::singleShot(0, this, [this, before] {
        if (m_page.pageText()->revision() == before) {
            m_revealPending = false;
        } else {
            emit addInChangedPage();
        }
    });
}

void EditorTab::auditForm(const QString& elementId, int elementLimit,
                          preview::RenderedView::AuditDone done) {
    QString why;
    if (!m_options.renderedShown()) {
        why = tr("the rendered page is hidden (View > Rendered Page shows it)");
    } else {
        createRendered();
        if (m_failure) {
            why = m_failure->text();
            why[0] = why[0].toLower();
        }
    }
    if (!why.isEmpty()) {
        QTimer::singleShot(0, this, [done = std::move(done), why] { done({}, why); });
        return;
    }
    // The audit is of the text as it is now, even on a tab not in front: once its
    // conversion is done, the view has it and audits it when it is on screen.
    if (m_stale || m_refresh.isActive()) render();
    if (m_text.busy()) {
        m_auditsWaiting.push_back({elementId, elementLimit, std::move(done)});
        return;
    }
    auditRendered(elementId, elementLimit, std::move(done));
}

void EditorTab::auditRendered(const QString& elementId, int elementLimit,
                              preview::RenderedView::AuditDone done) {
    if (m_declined && !m_declined->isHidden()) {
        QTimer::singleShot(0, this, [done = std::move(done)] {
            done({},
                 EditorTab::tr("the rendered view does not show this page (its side says why)"));
        });
        return;
    }
    m_rendered->auditForm(elementId, elementLimit, std::move(done));
}

}  // namespace host
