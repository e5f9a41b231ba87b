// The rendered view on Qt WebEngine.
#include "host/preview/web_rendered_view.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QJsonDocument>
#include <QKeyEvent>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QWebEngineDownloadRequest>
#include <QWebEngineLoadingInfo>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include "host/preview/chromium_switches.h"
#include "host/preview/form_audit.h"
#include "host/preview/form_capture.h"
#include "host/preview/form_rehearsal.h"
#include "host/preview/preview_page.h"

namespace host::preview {
namespace {

constexpr int kMarkMs = 1500;
// When no frame comes (a hidden view draws none), the rendering counts as settled anyway.
constexpr int kPaintFallbackMs = 1000;
// axe-core takes a fraction of a second on a form; its answer is asked for this often, and
// given up on after this long.
constexpr int kAuditPollMs = 50;
constexpr int kAuditTimeoutMs = 30000;
// The field's keyup comes a moment after the view presses Enter; without it (keys that
// never reached the page) the rehearsal says that Enter could not be tried.
constexpr int kEnterWaitMs = 5000;

void lockDown(QWebEngineSettings& s) {
    using S = QWebEngineSettings;
    s.setAttribute(S::JavascriptEnabled, false);
    s.setAttribute(S::JavascriptCanOpenWindows, false);
    s.setAttribute(S::JavascriptCanAccessClipboard, false);
    s.setAttribute(S::JavascriptCanPaste, false);
    // The page's own scheme is a local one, like file:, so its images and style sheets need
    // this; file: addresses themselves, like remote ones, are let through only to reach the
    // request guard, which blocks and counts them (refused earlier, they could not be counted).
    s.setAttribute(S::LocalContentCanAccessFileUrls, true);
    s.setAttribute(S::LocalContentCanAccessRemoteUrls, true);
    s.setAttribute(S::PluginsEnabled, false);
    s.setAttribute(S::FullScreenSupportEnabled, false);
    s.setAttribute(S::ScreenCaptureEnabled, false);
    s.setAttribute(S::NavigateOnDropEnabled, false);
    s.setAttribute(S::DnsPrefetchEnabled, false);
    // The most this setting offers; Chromium's switches (chromium_switches.cpp) go further.
    s.setAttribute(S::WebRTCPublicInterfacesOnly, true);
    s.setAttribute(S::HyperlinkAuditingEnabled, false);
    s.setAttribute(S::AutoLoadIconsForPage, false);
    s.setAttribute(S::ErrorPageEnabled, false);
    // Each refresh must leave the keyboard with the source the author is typing in.
    s.setAttribute(S::FocusOnNavigationEnabled, false);
}

// Run in the page's own world before its scripts, in every frame the engine loads: a peer
// connection would start the engine's WebRTC stack, which opens sockets no request
// interceptor sees. Chromium's switches already leave it nowhere to go; this refuses it at
// once and names the servers asked for, so that the status bar can count them.
// A frame the page makes without loading anything (an about:blank frame) gets no script from
// the engine, and its own RTCPeerConnection is a page's way round the refusal: each such frame
// is sealed the moment it joins the document (DOMNodeInserted is dispatched synchronously,
// before any script can reach the frame's window, also through window[0]) and whenever its
// window or document is asked for; a sealed frame seals its own frames the same way.
QString refusePeerConnectionsScript(const QString& token) {
    return QStringLiteral(R"JS(
(() => {
  const say = console.log.bind(console);
  const refuse = function (config) {
    let urls = [];
    try {
      for (const server of (config && config.iceServers) || []) urls = urls.concat(server.urls || []);
    } catch (e) {}
    for (const url of urls.length ? urls : ['webrtc:']) say('%1' + String(url));
    throw new DOMException('The rendered view opens no connections.', 'NotAllowedError');
  };
  const sealed = new WeakSet();
  const frameGetters = [];
  const windowOf = (frame) => {
    for (const [C, get] of frameGetters) if (frame instanceof C) return get.call(frame);
    return null;
  };
  const sealFramesIn = (node) => {
    seal(windowOf(node));
    if (node && typeof node.querySelectorAll === 'function')
      for (const frame of node.querySelectorAll('iframe, frame, object')) seal(windowOf(frame));
  };
  const onInserted = (e) => sealFramesIn(e.target);
  const seal = (w) => {
    try {
      if (!w || sealed.has(w)) return;
      sealed.add(w);
      for (const name of ['RTCPeerConnection', 'webkitRTCPeerConnection']) {
        if (name in w)
          Object.defineProperty(w, name, {value: refuse, writable: false, configurable: false});
      }
      w.addEventListener('DOMNodeInserted', onInserted, true);
      for (const C of [w.HTMLIFrameElement, w.HTMLFrameElement, w.HTMLObjectElement]) {
        const view = Object.getOwnPropertyDescriptor(C.prototype, 'contentWindow');
        const doc = Object.getOwnPropertyDescriptor(C.prototype, 'contentDocument');
        frameGetters.push([C, view.get]);
        Object.defineProperty(C.prototype, 'contentWindow', {configurable: false, enumerable: view.enumerable,
          get() { const v = view.get.call(this); seal(v); return v; }});
        Object.defineProperty(C.prototype, 'contentDocument', {configurable: false, enumerable: doc.enumerable,
          get() { seal(view.get.call(this)); return doc.get.call(this); }});
      }
      const attach = w.Element.prototype.attachShadow;
      Object.defineProperty(w.Element.prototype, 'attachShadow', {configurable: false, writable: false,
        value: function (...args) {
          const root = attach.apply(this, args);
          root.addEventListener('DOMNodeInserted', onInserted, true);
          return root;
        }});
      for (let i = 0; i < w.length; ++i) seal(w[i]);
    } catch (e) {
      // Another origin's window: its documents are loaded, and get this script from the engine.
    }
  };
  seal(window);
})();
)JS")
        .arg(token);
}

// Run in the application world of the main frame: the page reports where it is scrolled to.
// The browser side's own copy (scrollPosition) is learnt from the compositor's frames, apart
// from and later than the page's messages, so a refresh soon after the reveal could read a
// stale one; these reports come in order with the view's own messages.
QString reportScrollScript(const QString& token) {
    return QStringLiteral(R"JS(
addEventListener('scroll', (e) => {
  if (e.target === document) console.log('%1' + scrollX + ' ' + scrollY);
}, {capture: true, passive: true});
)JS")
        .arg(token);
}

QWebEngineScript pageScript(const QString& name, QWebEngineScript::ScriptWorldId world,
                            const QString& source) {
    QWebEngineScript script;
    script.setName(name);
    script.setWorldId(world);
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setRunsOnSubFrames(true);
    script.setSourceCode(source);
    return script;
}

QString randomToken(const char* what) {
    return QStringLiteral("ostrel-%1-%2")
        .arg(QLatin1String(what))
        .arg(QRandomGenerator::global()->generate64(), 16, 16, QChar(u'0'));
}

QString jsString(const QString& text) {
    QString out = QStringLiteral("'");
    for (const QChar c : text) {
        if (c.isLetterOrNumber() || c == u' ' || c == u'-' || c == u'_') {
            out += c;
        } else {
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QChar(u'0'));
        }
    }
    return out + u'\'';
}

}  // namespace

WebRenderedView::WebRenderedView(RenderedViewEvents events, QWidget* parent)
    : m_events(std::move(events)),
      m_guard([this](int count) {
          if (m_events.blockedChanged) m_events.blockedChanged(count);
      }),
      m_profile(nullptr),
      m_page(nullptr),
      m_paintedToken(randomToken("painted")),
      m_refusedToken(randomToken("refused") + u' '),
      m_scrolledToken(randomToken("scrolled") + u' '),
      m_blockedToken(randomToken("blocked") + u' '),
      m_enterToken(randomToken("enter") + u' ') {
    registerPageScheme();
    startChromiumOffline();
    // No storage name: off the record, nothing of the page is kept on disk.
    m_profile = new QWebEngineProfile();
    m_profile->setUrlRequestInterceptor(&m_guard);
    m_profile->installUrlSchemeHandler(kPageScheme, &m_scheme);
    QObject::connect(m_profile, &QWebEngineProfile::downloadRequested, m_profile,
                     [](QWebEngineDownloadRequest* download) { download->cancel(); });

    m_view = new QWebEngineView(parent);
    m_view->setObjectName(QStringLiteral("renderedPage"));
    // Its menu would offer to open links, go back or save the page.
    m_view->setContextMenuPolicy(Qt::NoContextMenu);
    m_page = makePage();
    m_view->setPage(m_page);

    m_paintFallback.setSingleShot(true);
    m_paintFallback.setInterval(kPaintFallbackMs);
    QObject::connect(&m_paintFallback, &QTimer::timeout, [this] { settle(); });
    m_auditPoll.setInterval(kAuditPollMs);
    QObject::connect(&m_auditPoll, &QTimer::timeout, [this] { pollAudit(); });
    m_enterWait.setSingleShot(true);
    m_enterWait.setInterval(kEnterWaitMs);
    QObject::connect(&m_enterWait, &QTimer::timeout, [this] {
        m_rehearsalAnswer.insert(u"enter", QJsonObject{{QStringLiteral("delivered"), false}});
        finishRehearsal({});
    });
}

PreviewPage* WebRenderedView::makePage() {
    PreviewPage::Hooks hooks;
    hooks.mayLoadFrame = [this](const QUrl& url) { return m_guard.allows(url); };
    hooks.formSubmitted = [this](const FormSubmission& submission) {
        if (m_events.formSubmitted) m_events.formSubmitted(submission);
    };
    hooks.consoleMessage = [this](const QString& message) {
        if (message.startsWith(m_refusedToken)) {
            m_guard.refuse(message.mid(m_refusedToken.size()));
        } else if (message.startsWith(m_scrolledToken)) {
            // A report from the document a load is replacing is no longer where the view is.
            const QStringList xy = message.mid(m_scrolledToken.size()).split(u' ');
            if (m_loadingUrl.isEmpty() && xy.size() == 2)
                m_scroll = QPointF(xy[0].toDouble(), xy[1].toDouble());
        } else if (message.startsWith(m_enterToken)) {
            if (!m_rehearsing || m_rehearsalLoad != m_loads || !m_enterWait.isActive()) return;
            QJsonObject enter =
                QJsonDocument::fromJson(message.mid(m_enterToken.size()).toUtf8()).object();
            enter.insert(u"delivered", true);
            m_rehearsalAnswer.insert(u"enter", enter);
            finishRehearsal({});
        } else if (message == m_paintedToken && m_loadingUrl.isEmpty()) {
            settle();
        }
    };
    auto* page = new PreviewPage(m_profile, std::move(hooks));
    page->setBlockedSubmissionToken(m_blockedToken);
    lockDown(*page->settings());
    page->settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, m_scriptsEnabled);
    QObject::connect(page, &QWebEnginePage::featurePermissionRequested, page,
                     [page](const QUrl& origin, QWebEnginePage::Feature feature) {
                         page->setFeaturePermission(origin, feature,
                                                    QWebEnginePage::PermissionDeniedByUser);
                     });
    page->scripts().insert(pageScript(QStringLiteral("ostrel-form-capture"),
                                      QWebEngineScript::ApplicationWorld,
                                      formCaptureScript(m_blockedToken)));
    page->scripts().insert(pageScript(QStringLiteral("ostrel-one-submission-per-task"),
                                      QWebEngineScript::MainWorld, oneSubmissionPerTaskScript()));
    page->scripts().insert(pageScript(QStringLiteral("ostrel-refuse-peer-connections"),
                                      QWebEngineScript::MainWorld,
                                      refusePeerConnectionsScript(m_refusedToken)));
    QWebEngineScript scrolled = pageScript(QStringLiteral("ostrel-report-scroll"),
                                           QWebEngineScript::ApplicationWorld,
                                           reportScrollScript(m_scrolledToken));
    scrolled.setRunsOnSubFrames(false);
    page->scripts().insert(scrolled);
    QObject::connect(page, &QWebEnginePage::loadingChanged, page,
                     [this](const QWebEngineLoadingInfo& info) { loadingChanged(info); });
    return page;
}

void WebRenderedView::replacePage() {
    // The old page's renderer may be stuck in a script that never returns; a new page gets
    // a renderer of its own, and the old one ends with the last page that used it.
    PreviewPage* old = m_page;
    m_page = makePage();
    m_view->setPage(m_page);
    delete old;
    ++m_loads;  // an audit under way starts again in the new page
    m_loadingUrl.clear();
    m_loadAgain = false;
}

WebRenderedView::~WebRenderedView() {
    // Deleting the page answers its scripts still pending, with nothing.
    m_closing = true;
    m_auditPoll.stop();
    m_enterWait.stop();
    // The view shows the page, and the page lives in the profile.
    delete m_view;
    delete m_page;
    delete m_profile;
}

QWidget* WebRenderedView::widget() {
    return m_view;
}

void WebRenderedView::render(const QByteArray& utf8Html, const QString& pagePath,
                             const QString& untitledName) {
    m_html = utf8Html;
    m_pagePath = pagePath;
    m_untitledName = untitledName;
    m_settled = false;
    if (!m_loadingUrl.isEmpty()) {
        // One load at a time; the newest text follows when this one is done.
        m_loadAgain = true;
        return;
    }
    startLoad();
}

void WebRenderedView::startLoad() {
    m_paintFallback.stop();
    const QUrl url = pageUrl(m_pagePath, m_untitledName);
    if (url != m_shownUrl) m_scroll = {};  // another page, or this one under a new name
    m_shownUrl = url;
    const PageFolder folder(m_pagePath);
    m_scheme.setPage(m_html, url, folder);
    m_guard.reset(url, folder);
    m_page->setPageUrl(url);
    ++m_loads;
    m_loadingUrl = url;
    m_page->load(url);
}

void WebRenderedView::loadingChanged(const QWebEngineLoadingInfo& info) {
    // Refused navigations (a form, a link) report on their own addresses.
    if (m_loadingUrl.isEmpty() || info.url() != m_loadingUrl ||
        info.status() == QWebEngineLoadingInfo::LoadStartedStatus)
        return;
    m_loadingUrl.clear();
    if (m_loadAgain) {
        m_loadAgain = false;
        startLoad();
        return;
    }
    m_lastLoadOk = info.status() == QWebEngineLoadingInfo::LoadSucceededStatus;
    afterLoad();
    answerLoaded(m_lastLoadOk);
    startRehearsal();
}

void WebRenderedView::afterLoad() {
    QString script;
    if (!m_reveal.isEmpty()) {
        script = QStringLiteral(
                     "(() => { const e = document.getElementById(%1); if (!e) return;"
                     " e.scrollIntoView({block: 'start'}); const s = e.style;"
                     " const was = [s.outline, s.outlineOffset];"
                     " s.outline = '3px solid #e8a317'; s.outlineOffset = '3px';"
                     " window.__ostrelUnmark = () => { s.outline = was[0]; s.outlineOffset = was[1]; };"
                     " })();")
                     .arg(jsString(m_reveal));
        m_reveal.clear();
        QTimer::singleShot(kMarkMs, m_page, [this] {
            m_page->runJavaScript(QStringLiteral("window.__ostrelUnmark && window.__ostrelUnmark()"),
                                  QWebEngineScript::ApplicationWorld);
        });
    } else {
        script = QStringLiteral("window.scrollTo(%1, %2);").arg(m_scroll.x()).arg(m_scroll.y());
    }
    // Where that left the page, told before it is settled: the next refresh keeps it. Two
    // frames on, the new text has been painted.
    script += QStringLiteral(
                  " console.log('%1' + scrollX + ' ' + scrollY);"
                  " requestAnimationFrame(() => requestAnimationFrame(() => console.log('%2')));")
                  .arg(m_scrolledToken, m_paintedToken);
    m_page->runJavaScript(script, QWebEngineScript::ApplicationWorld);
    m_paintFallback.start();
}

void WebRenderedView::settle() {
    m_paintFallback.stop();
    if (m_settled) return;
    m_settled = true;
    if (m_events.settled) m_events.settled();
    startAudit();
}

void WebRenderedView::setScriptsEnabled(bool enabled) {
    if (m_scriptsEnabled == enabled) return;
    m_scriptsEnabled = enabled;
    if (enabled) {
        m_page->settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, true);
    } else {
        replacePage();
    }
    if (!m_pagePath.isEmpty() || !m_untitledName.isEmpty())
        render(m_html, m_pagePath, m_untitledName);
}

void WebRenderedView::revealAfterRender(const QString& elementId) {
    m_reveal = elementId;
}

void WebRenderedView::inspect(const QString& script, std::function<void(const QVariant&)> done) {
    m_page->runJavaScript(script, QWebEngineScript::ApplicationWorld, std::move(done));
}

void WebRenderedView::auditForm(const QString& elementId, int elementLimit, AuditDone done) {
    m_audits.push_back({elementId, elementLimit, std::move(done)});
    startAudit();
}

void WebRenderedView::startAudit() {
    if (m_audits.empty() || m_auditRunning || !m_settled || !m_loadingUrl.isEmpty()) return;
    QString failure;
    const QString axe = axeCoreSource(&failure);
    if (axe.isEmpty()) {
        finishAudit({}, failure);
        return;
    }
    m_auditRunning = true;
    m_auditAsking = false;
    m_auditLoad = m_loads;
    m_auditClock.start();
    const AuditRequest& audit = m_audits.front();
    m_page->runJavaScript(
        startAuditScript(axe, audit.elementId, ++m_auditToken, audit.elementLimit),
        QWebEngineScript::ApplicationWorld);
    m_auditPoll.start();
}

void WebRenderedView::pollAudit() {
    if (!m_auditRunning) return;
    if (m_loads != m_auditLoad) {
        // A newer text took the document away: the audit starts again once it is settled.
        m_auditPoll.stop();
        m_auditRunning = false;
        startAudit();
        return;
    }
    if (m_auditClock.hasExpired(kAuditTimeoutMs)) {
        finishAudit({}, QStringLiteral("axe-core gave no answer within %1 seconds")
                            .arg(kAuditTimeoutMs / 1000));
        return;
    }
    if (m_auditAsking) return;
    m_auditAsking = true;
    m_page->runJavaScript(
        auditAnswerScript(m_auditToken), QWebEngineScript::ApplicationWorld,
        [this, page = m_page, token = m_auditToken](const QVariant& answer) {
            // A page being replaced or destroyed answers with nothing.
            if (m_closing || page != m_page || !m_auditRunning || token != m_auditToken) return;
            m_auditAsking = false;
            if (answer.typeId() != QMetaType::QString) return;  // still running
            const QByteArray json = answer.toString().toUtf8();
            const QJsonObject result = QJsonDocument::fromJson(json).object();
            if (result.contains(u"error")) {
                finishAudit({}, QStringLiteral("axe-core failed: %1")
                                    .arg(result.value(u"error").toString()));
            } else if (!result.value(u"region").toBool()) {
                finishAudit({}, QStringLiteral("the page has no element with the id or name \"%1\"")
                                    .arg(m_audits.front().elementId));
            } else {
                finishAudit(json, {});
            }
        });
}

void WebRenderedView::finishAudit(const QByteArray& axeJson, const QString& failure) {
    m_auditPoll.stop();
    m_auditRunning = false;
    m_auditAsking = false;
    AuditDone done = std::move(m_audits.front().done);
    m_audits.pop_front();
    // Out of the browser's call; not at all once the view is gone.
    QTimer::singleShot(0, m_view, [done = std::move(done), axeJson, failure] {
        done(axeJson, failure);
    });
    startAudit();
}

}  // namespace host::preview

namespace host::preview {

void WebRenderedView::whenLoaded(std::function<void(bool loaded)> done) {
    m_loadWaiters.push_back(std::move(done));
    if (m_loadingUrl.isEmpty() && m_loads > 0) answerLoaded(m_lastLoadOk);
}

void WebRenderedView::answerLoaded(bool loaded) {
    for (auto& done : std::exchange(m_loadWaiters, {}))
        QTimer::singleShot(0, m_view, [done = std::move(done), loaded] { done(loaded); });
}

void WebRenderedView::rehearseForm(const QString& elementId, RehearsalDone done) {
    m_rehearsals.push_back({elementId, std::move(done)});
    startRehearsal();
}

void WebRenderedView::startRehearsal() {
    if (m_rehearsals.empty() || m_rehearsing || !m_loadingUrl.isEmpty() || m_loads == 0) return;
    m_rehearsing = true;
    m_rehearsalLoad = m_loads;
    m_rehearsalAnswer = {};
    m_page->runJavaScript(
        rehearseFormScript(m_rehearsals.front().elementId, m_enterToken),
        QWebEngineScript::ApplicationWorld, [this, page = m_page](const QVariant& answer) {
            if (m_closing || !m_rehearsing) return;
            if (page != m_page || m_rehearsalLoad != m_loads) {
                finishRehearsal(QStringLiteral("the page was rendered again during the rehearsal"));
                return;
            }
            m_rehearsalAnswer = QJsonDocument::fromJson(answer.toString().toUtf8()).object();
            if (m_rehearsalAnswer.isEmpty()) {
                finishRehearsal(QStringLiteral("the rehearsal's script gave no answer"));
            } else if (m_rehearsalAnswer.value(u"enterIn").isObject()) {
                pressEnter();
            } else {
                finishRehearsal({});
            }
        });
}

void WebRenderedView::pressEnter() {
    // Sent to the widget that takes the page's keys, without taking the keyboard from the
    // rest of the window: the field has the page's focus already.
    QWidget* target = m_view->focusProxy() ? m_view->focusProxy() : m_view.data();
    QFocusEvent focusIn(QEvent::FocusIn, Qt::OtherFocusReason);
    QCoreApplication::sendEvent(target, &focusIn);
    for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent key(type, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        QCoreApplication::sendEvent(target, &key);
    }
    m_enterWait.start();
}

void WebRenderedView::finishRehearsal(const QString& failure) {
    m_enterWait.stop();
    m_rehearsing = false;
    RehearsalDone done = std::move(m_rehearsals.front().done);
    m_rehearsals.pop_front();
    const QByteArray json =
        failure.isEmpty() ? QJsonDocument(m_rehearsalAnswer).toJson(QJsonDocument::Compact)
                          : QByteArray();
    QTimer::singleShot(0, m_view, [done = std::move(done), json, failure] { done(json, failure); });
    startRehearsal();
}

}  // namespace host::preview
