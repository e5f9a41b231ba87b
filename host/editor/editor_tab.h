// An editor tab: one page, its source beside the rendered page, in a splitter. The rendered
// side is made the first time it shows, follows the text shortly after typing stops, and
// turns a form's submission into the "try the form" dialog.
#pragma once

#include <QElapsedTimer>
#include <QSplitter>
#include <QTimer>
#include <memory>
#include <utility>
#include <vector>

#include "host/editor/page_text_worker.h"
#include "host/editor/page_view_control.h"
#include "host/preview/rendered_view.h"

class QLabel;
class QPlainTextEdit;

namespace host {

class FormTrialService;
class Page;
class ViewOptions;

class EditorTab : public QSplitter, public PageViewControl {
    Q_OBJECT
public:
    EditorTab(QPlainTextEdit* source, Page& page, ViewOptions& options, FormTrialService& trials,
              QWidget* parent = nullptr);
    ~EditorTab() override;

    QPlainTextEdit* source() const { return m_source; }
    // Null until the rendered side has first been shown (or when it cannot be made).
    preview::RenderedView* rendered() const { return m_rendered.get(); }
    // Outside resources the rendered page asked for and did not get.
    int blockedCount() const { return m_blocked; }
    // Nothing is waiting to be rendered or painted where the author can see it.
    bool isSettled() const;
    // Whether this page's rendered view runs the page's scripts; off until the author turns
    // them on, and not remembered once the page is closed.
    bool scriptsEnabled() const { return m_scriptsEnabled; }
    void setScriptsEnabled(bool enabled);
    // The rendered view's accessibility audit of the element `elementId` in the page's
    // latest text (rendered first if it is not on screen yet), unless `elementLimit` is not 0
    // and the page has more elements (see RenderedView::auditForm). `done` gets a failure
    // instead when there is no rendered view, or the author has hidden the rendered side.
    void auditForm(const QString& elementId, int elementLimit,
                   preview::RenderedView::AuditDone done);

    std::int32_t viewMode() const override;
    void setViewMode(std::int32_t mode) override;

signals:
    void blockedCountChanged(int count);
    void scriptsEnabledChanged(bool enabled);
    void settled();
    // An add-in changed the page just after setting its view mode (as it does before an
    // insertion), in the same turn of the event loop.
    void addInChangedPage();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyOptions();
    void showRendered();
    void createRendered();
    void refreshLater();
    void renderNow();
    void textReady(const RenderedText& text);
    void auditRendered(const QString& elementId, int elementLimit,
                       preview::RenderedView::AuditDone done);
    void showDeclined(const QString& why);
    void render();
    bool renderedVisible() const;

    QPlainTextEdit* m_source;
    Page& m_page;
    ViewOptions& m_options;
    FormTrialService& m_trials;
    QWidget* m_renderedSide;
    QLabel* m_failure = nullptr;
    QLabel* m_declined = nullptr;  // in the view's place while the page is not rendered
    std::unique_ptr<preview::RenderedView> m_rendered;
    QTimer m_refresh;
    QElapsedTimer m_renderClock;  // from a refresh until the view has settled
    qint64 m_lastRenderMs = 0;
    // Audits asked for while the page's text is being converted for the view.
    struct WaitingAudit {
        QString elementId;
        int elementLimit;
        preview::RenderedView::AuditDone done;
    };
    std::vector<WaitingAudit> m_auditsWaiting;
    PageTextWorker m_text{[this](const RenderedText& text) { textReady(text); }};
    bool m_stale = true;
    bool m_revealPending = false;
    bool m_sized = false;
    bool m_scriptsEnabled = false;
    int m_blocked = 0;
};

}  // namespace host
