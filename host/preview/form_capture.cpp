// The form capture script and what it hands back.
#include "host/preview/form_capture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>
#include <QUrlQuery>

#include "host/preview/page_scheme.h"

namespace host::preview {

QString formCaptureScript(const QString& blockedToken) {
    // Chromium builds the entry list twice for one submission, the second time without the
    // submit button, so the first list after a submit event is the one that would go.
    // Lists that page scripts build with new FormData() fire the event too; they would be
    // taken only for a submission that fires no submit event (form.submit()).
    return QStringLiteral(R"JS(
(() => {
  const kept = [];
  let submitter = null;
  // Only the first submission of a task goes: each costs the editor's process work, and
  // a page clicking its submit button or calling requestSubmit() in a loop would pile it up.
  let submitting = false;
  document.addEventListener('submit', e => {
    if (!e.isTrusted || e.defaultPrevented) return;
    if (submitting) {
      e.preventDefault();
      return;
    }
    submitting = true;
    queueMicrotask(() => { submitting = false; });
    kept.length = 0;
    submitter = e.submitter || null;
  }, true);
  document.addEventListener('formdata', e => {
    if (e.isTrusted) kept.push({form: e.target, data: e.formData, submitter});
  }, true);
  // The browser refuses a submission its form-action forbids before any navigation; the
  // editor learns of it here, and the list kept for it is taken as for one that went.
  const say = console.log.bind(console);
  document.addEventListener('securitypolicyviolation', e => {
    if (!e.isTrusted || e.effectiveDirective !== 'form-action') return;
    say(%1 + JSON.stringify({policy: e.originalPolicy, blocked: e.blockedURI}));
  }, true);
  window.__ostrelTakeSubmission = () => {
    const first = kept[0];
    kept.length = 0;
    submitter = null;
    if (!first) return null;
    const f = first.form, s = first.submitter;
    // The form's own getters: a control named "action" or "method" would stand in for the
    // form's property of that name.
    const formProp = name => Object.getOwnPropertyDescriptor(HTMLFormElement.prototype, name).get.call(f);
    const by = (attr, prop) => s && s.hasAttribute(attr) ? s[prop] : formProp(prop);
    return JSON.stringify({
      method: by('formmethod', 'method'),
      action: by('formaction', 'action'),
      actionWritten: s && s.hasAttribute('formaction') ? s.getAttribute('formaction') : f.getAttribute('action'),
      enctype: by('formenctype', 'enctype'),
      fields: [...first.data.entries()].map(([k, v]) => [k, typeof v === 'string' ? v : v.name]),
    });
  };
})();
)JS")
        .arg(QString::fromUtf8(
            QJsonDocument(QJsonArray{blockedToken}).toJson(QJsonDocument::Compact)) +
             QStringLiteral("[0]"));
}

QString oneSubmissionPerTaskScript() {
    // Chromium sends one submission a task anyway, yet each form.submit() costs the editor's
    // process work, which a page submitting in a loop piles up far faster than it is done
    // (hundreds of MB within seconds, and the editor stops answering). So only the first of
    // a task's submit() calls goes; the capture script does the same for the submissions
    // that fire a submit event.
    return QStringLiteral(R"JS(
(() => {
  const proto = HTMLFormElement.prototype;
  const descriptor = Object.getOwnPropertyDescriptor(proto, 'submit');
  const submit = descriptor.value;
  const lengthOf = Object.getOwnPropertyDescriptor(proto, 'length').get;
  const isForm = o => { try { lengthOf.call(o); return true; } catch (e) { return false; } };
  let submitted = false;
  descriptor.value = {submit() {
    if (submitted && isForm(this)) return;
    if (!submitted) {
      submitted = true;
      queueMicrotask(() => { submitted = false; });
    }
    return submit.call(this);
  }}.submit;
  Object.defineProperty(proto, 'submit', descriptor);
})();
)JS");
}

QString takeSubmissionScript() {
    return QStringLiteral("window.__ostrelTakeSubmission ? window.__ostrelTakeSubmission() : null");
}

namespace {

// A relative action resolves against the view's own scheme; the author's browser would
// resolve it against the file.
QString asTheFileWouldGive(QUrl url) {
    if (url.scheme() == QLatin1String(kPageScheme)) url.setScheme(QStringLiteral("file"));
    return url.toString();
}

}  // namespace

FormSubmission readSubmission(const QVariant& taken, const QUrl& navigationUrl) {
    FormSubmission out;
    const QJsonObject kept = QJsonDocument::fromJson(taken.toString().toUtf8()).object();
    if (kept.isEmpty()) {
        out.action = asTheFileWouldGive(navigationUrl.adjusted(QUrl::RemoveQuery));
        for (const auto& [name, value] :
             QUrlQuery(navigationUrl).queryItems(QUrl::FullyDecoded))
            out.fields.emplace_back(name, value);
        return out;
    }
    out.method = kept["method"].toString().toUpper();
    out.action = asTheFileWouldGive(QUrl(kept["action"].toString()));
    if (out.method == u"GET") {
        out.requestUrl = asTheFileWouldGive(navigationUrl);
    } else {
        out.encoding = kept["enctype"].toString();
    }
    for (const QJsonValue& field : kept["fields"].toArray()) {
        const QJsonArray pair = field.toArray();
        out.fields.emplace_back(pair.at(0).toString(), pair.at(1).toString());
    }
    return out;
}

FormSubmission readBlockedSubmission(const QVariant& taken, const QString& violation) {
    const QJsonObject v = QJsonDocument::fromJson(violation.toUtf8()).object();
    const QString address = v["blocked"].toString();
    FormSubmission out = readSubmission(taken, QUrl(address));
    out.requestUrl.clear();  // the address the browser would have asked for is not known
    out.blockedAddress = address;
    // The directive as the page wrote it, from the policy that refused the submission.
    for (const QString& directive : v["policy"].toString().split(u';')) {
        const QString d = directive.trimmed();
        if (d.section(u' ', 0, 0).compare(u"form-action", Qt::CaseInsensitive) == 0)
            out.blockedBy = d.simplified();
    }
    if (out.blockedBy.isEmpty()) out.blockedBy = QStringLiteral("form-action");
    return out;
}

}  // namespace host::preview
