// The rendered view on Qt WebEngine: one off-the-record profile per view, whose requests
// all pass the guard and whose page text comes from the editor.
#pragma once

#include <QElapsedTimer>
#include <QJsonObject>
#include <QPointF>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "host/preview/page_scheme.h"
#include "host/preview/rendered_view.h"
#include "host/preview/request_guard.h"

class QWebEngineProfile;
class QWebEngineView;
class QWebEngineLoadingInfo;

namespace host::preview {

class PreviewPage;

class WebRenderedView final : public RenderedView {
public:
    WebRenderedView(RenderedViewEvents events, QWidget* parent);
    ~WebRenderedView() override;

    QWidget* widget() override;
    void render(const QByteArray& utf8Html, const QString& pagePath,
                const QString& untitledName) override;
    void setScriptsEnabled(bool enabled) override;
    void revealAfterRender(const QString& elementId) override;
    bool isSettled() const override { return m_settled; }
    int blockedCount() const override { return m_guard.blockedCount(); }
    void inspect(const QString& script, std::function<void(const QVariant&)> done) override;
    void auditForm(const QString& elementId, int elementLimit, AuditDone done) override;
    void rehearseForm(const QString& elementId, RehearsalDone done) override;
    void whenLoaded(std::function<void(bool loaded)> done) override;

private:
    PreviewPage* makePage();
    void replacePage();
    void startLoad();
    void loadingChanged(const QWebEngineLoadingInfo& info);
    void afterLoad();
    void settle();
    void startAudit();
    void pollAudit();
    void finishAudit(const QByteArray& axeJson, const QString& failure);
    void startRehearsal();
    void pressEnter();
    void finishRehearsal(const QString& failure);
    void answerLoaded(bool loaded);

    RenderedViewEvents m_events;
    RequestGuard m_guard;
    PageSchemeHandler m_scheme;
    QWebEngineProfile* m_profile;
    PreviewPage* m_page;
    QPointer<QWebEngineView> m_view;
    QTimer m_paintFallback;
    QString m_paintedToken;
    QString m_refusedToken;  // starts a console message naming a connection refused
    QString m_scrolledToken;  // starts a console message with the page's scroll position
    QString m_blockedToken;  // starts one naming a form submission the page's policy blocked
    bool m_scriptsEnabled = false;

    QByteArray m_html;
    QString m_pagePath;
    QString m_untitledName;
    QUrl m_loadingUrl;  // empty when no load is under way
    bool m_loadAgain = false;
    QUrl m_shownUrl;
    QPointF m_scroll;  // where the shown page is scrolled to, as it last said
    QString m_reveal;
    bool m_settled = true;
    std::uint64_t m_loads = 0;  // documents started, each with a script world of its own

    // The first audit asked for runs once the text is settled; the others wait their turn.
    struct AuditRequest {
        QString elementId;
        int elementLimit;
        AuditDone done;
    };
    std::deque<AuditRequest> m_audits;
    bool m_auditRunning = false;
    bool m_auditAsking = false;  // a question for the answer is out
    int m_auditToken = 0;
    std::uint64_t m_auditLoad = 0;  // the document it runs in
    QTimer m_auditPoll;
    QElapsedTimer m_auditClock;
    bool m_closing = false;

    // Rehearsals run one at a time, each on the document loaded when it starts.
    struct RehearsalRequest {
        QString elementId;
        RehearsalDone done;
    };
    std::deque<RehearsalRequest> m_rehearsals;
    bool m_rehearsing = false;
    std::uint64_t m_rehearsalLoad = 0;
    QJsonObject m_rehearsalAnswer;
    QString m_enterToken;  // starts the console message that tells what Enter sent
    QTimer m_enterWait;
    std::vector<std::function<void(bool)>> m_loadWaiters;
    bool m_lastLoadOk = false;
};

}  // namespace host::preview
