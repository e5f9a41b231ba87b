// The form capture script and what it hands back.
#include "host/preview/form_capture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>
#include <QUrlQuery>

#include "host/preview/page_scheme.h"

namespace host::preview {

QString formCaptureScript() {
    // Chromium builds the entry list twice for one submission, the second time without the
    // submit button, so the first list after a submit event is the one that would go.
    // Lists that page scripts build with new FormData() fire the event too; they would be
    // taken only for a submission that fires no submit event (form.submit()).
    return QStringLiteral(R"JS(
(() => {
  const kept = [];
  let submitter = null;
  document.addEventListener('submit', e => {
    if (!e.isTrusted) return;
    kept.length = 0;
    submitter = e.submitter || null;
  }, true);
  document.addEventListener('formdata', e => {
    if (e.isTrusted) kept.push({form: e.target, data: e.formData, submitter});
  }, true);
  window.__ostrelTakeSubmission = () => {
    const first = kept[0];
    kept.length = 0;
    submitter = null;
    if (!first) return null;
    const f = first.form, s = first.submitter;
    const by = (attr, prop) => s && s.hasAttribute(attr) ? s[prop] : f[prop];
    return JSON.stringify({
      method: by('formmethod', 'method'),
      action: by('formaction', 'action'),
      enctype: by('formenctype', 'enctype'),
      fields: [...first.data.entries()].map(([k, v]) => [k, typeof v === 'string' ? v : v.name]),
    });
  };
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

}  // namespace host::preview
