// What the editor sees of a page's rendered view. The Qt WebEngine code behind it lives in
// a module of its own (ostrel_preview), loaded on first use, so that an editor that never
// shows a rendered page never loads Chromium.
#pragma once

#include <QString>
#include <QVariant>
#include <QtGlobal>
#include <functional>
#include <utility>
#include <vector>

class QWidget;

namespace host::preview {

// The largest page the rendered view shows; a larger one gets a note in its place, and its
// source stays editable. Chromium's processes take about 60 MB of their own and 80 to 130 MB
// more per MB of page (measured on pages of paragraphs with links: 190 MB at 1 MB, 460 MB at
// 4 MB, 1.36 GB at 16 MB), so this keeps them under about 1.6 GB.
inline constexpr qint64 kLargestRenderedPage = qint64(16) << 20;
// What the rendered view's processes take per byte of a page they show, for the estimate
// that decides whether a page can be opened.
inline constexpr qint64 kRenderedMemoryPerPageByte = 100;

// What a browser would send for one form submission, taken from the page's own DOM.
struct FormSubmission {
    QString method;      // "GET" or "POST"
    QString action;      // the address the form sends to, resolved against the page
    QString encoding;    // the POST body's type; empty for GET
    QString requestUrl;  // the full address a GET would ask for, fields included
    std::vector<std::pair<QString, QString>> fields;  // in the order they would go; a file field gives its file name
    // The page's content policy stops this submission in a browser: the directive that
    // refused it and the address it refused ("form-action 'self'", "https://list.example/").
    // Empty when nothing stops it.
    QString blockedBy;
    QString blockedAddress;
};

// The module calls these on the editor's thread; any may be empty.
struct RenderedViewEvents {
    std::function<void(int count)> blockedChanged;  // outside resources not loaded, this rendering
    std::function<void(const FormSubmission&)> formSubmitted;
    std::function<void()> settled;  // the latest text is painted (see isSettled)
};

class RenderedView {
public:
    virtual ~RenderedView() = default;
    virtual QWidget* widget() = 0;
    // Renders `html` as if it were the file `pagePath` (empty for a page never saved, which
    // then loads nothing beside itself and is known by `untitledName`). The scroll position
    // is kept from one rendering of a page to the next.
    virtual void render(const QByteArray& utf8Html, const QString& pagePath,
                        const QString& untitledName) = 0;
    // Takes effect at once (the page is rendered again).
    virtual void setScriptsEnabled(bool enabled) = 0;
    // After the next rendering, scrolls to the element with this id and marks it briefly.
    virtual void revealAfterRender(const QString& elementId) = 0;
    // True when the last text given is loaded, scrolled and painted.
    virtual bool isSettled() const = 0;
    virtual int blockedCount() const = 0;
    // Runs `script` in a world of its own beside the page's (it sees the page's DOM, even
    // with the page's scripts off); tests and the tour read the rendered page with it.
    virtual void inspect(const QString& script, std::function<void(const QVariant&)> done) = 0;
    // Audits the element with `elementId` for accessibility once the last text given is on
    // screen, with axe-core in that world (so with the page's scripts off too), unless
    // `elementLimit` is not 0 and the page has more elements than that: `done` gets
    // axe's answer as JSON text (form_audit.h says what it holds), or an empty text and
    // `failure` saying why the audit did not run (axe-core not installed, say). Never
    // called once the view is gone.
    using AuditDone = std::function<void(const QByteArray& axeJson, const QString& failure)>;
    virtual void auditForm(const QString& elementId, int elementLimit, AuditDone done) = 0;
    // Rehearses the sign-up once the last text given has loaded: fills the form in the
    // element `elementId` as a visitor would, presses its submit control, then Enter in its
    // e-mail field, and keeps every request in as always. `done` gets what the engine did
    // and would have sent, as JSON text (host/formcheck/rehearsal_findings.h reads it), or
    // an empty text and `failure` saying why it could not run. Never called once the view
    // is gone. The page's fields keep the sample entries: rehearse in a view of its own.
    using RehearsalDone = std::function<void(const QByteArray& json, const QString& failure)>;
    virtual void rehearseForm(const QString& elementId, RehearsalDone done) = 0;
    // Calls `done` once the last text given has loaded (true) or could not be (false).
    virtual void whenLoaded(std::function<void(bool loaded)> done) = 0;
};

// The module's one entry point; null, with `failure` saying why, when no view can be made.
using CreateRenderedView = RenderedView* (*)(RenderedViewEvents events, QWidget* parent,
                                             QString* failure);
inline constexpr const char* kCreateRenderedViewSymbol = "ostrelCreateRenderedView";

}  // namespace host::preview
