// The accessibility audit's scripts and where axe-core is found.
#include "host/preview/form_audit.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMutex>

namespace host::preview {
namespace {

// Globals of the view's script world, which the page's own scripts never see. They are
// read as own properties only: an element with that id would otherwise stand in for them.
const QString kStore = QStringLiteral("__ostrelAudits");

QString jsonArrayText(const QJsonArray& array) {
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact));
}

}  // namespace

QString axeCorePath() {
    const QString given = qEnvironmentVariable("OSTREL_AXE_CORE");
    if (!given.isEmpty()) return given;
    return QDir(QCoreApplication::applicationDirPath())
        .filePath(QStringLiteral(OSTREL_DATA_FROM_BINDIR "/pagehost/axe-core/axe.min.js"));
}

QString axeCoreSource(QString* failure) {
    static QMutex lock;
    static QString readPath, source;
    const QMutexLocker locked(&lock);
    const QString path = QDir::cleanPath(axeCorePath());
    if (path == readPath && !source.isEmpty()) return source;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (failure) {
            *failure = file.exists()
                           ? QStringLiteral("axe-core could not be read (%1: %2)")
                                 .arg(path, file.errorString())
                           : QStringLiteral("axe-core is not installed (no %1)").arg(path);
        }
        return {};
    }
    source = QString::fromUtf8(file.readAll());
    readPath = path;
    return source;
}

QString startAuditScript(const QString& axeSource, const QString& elementId, int token,
                         int elementLimit) {
    QJsonArray tags;
    for (const char* tag : kAuditTags) tags.append(QLatin1String(tag));
    // axe.min.js assigns window.axe; in a function of its own its names stay out of the way.
    // With the page's scripts off, Chromium fires no timer in any world, the view's own
    // included, and axe ends each run on a setTimeout(..., 0). In that function axe finds
    // timers of the script's own instead: short ones run as the next task (a message on a
    // channel, which event dispatch delivers); longer ones are axe's guards against a
    // frame or a fetch that never answers, which do not fire (iframes are not audited, and
    // the view gives up on the whole audit after its own time limit).
    // The first function answers at once where there is nothing to audit; the others see
    // that answer kept and do nothing. One pass of arg(): a later one would also replace
    // "%N" inside axe-core's own text.
    // A node's path counts element children from the audited element down, with each
    // element's name, so that the page's source can be walked the same way.
    return QStringLiteral(R"JS(
// The first element with that id, or that name where a name identifies an element (a form,
// an image, ...), in document order: the element the add-in puts its form into.
var regionOf = () => {
  const found = document.all.namedItem(%4[0]);
  return found instanceof Element ? found : found && found[0];
};
(() => {
  const own = Object.prototype.hasOwnProperty;
  if (!own.call(window, '%2')) window['%2'] = {};
  const answer = value => { window['%2']['%3'] = JSON.stringify(value); };
  if (!regionOf()) return answer({region: false});
  const elements = document.getElementsByTagName('*').length;
  const limit = %6;
  if (limit > 0 && elements > limit)
    answer({region: true, audited: false, elements, limit, violations: []});
})();
(function () {
  const own = Object.prototype.hasOwnProperty;
  if (own.call(window, 'axe') || own.call(window['%2'], '%3')) return;
  const soon = new Map();
  let last = 0;
  const channel = new MessageChannel();
  channel.port1.onmessage = e => {
    const run = soon.get(e.data);
    if (!run) return;
    soon.delete(e.data);
    run();
  };
  const setTimeout = (callback, ms, ...args) => {
    const id = ++last;
    if (!(ms > 50)) {
      soon.set(id, () => callback(...args));
      channel.port2.postMessage(id);
    }
    return id;
  };
  const clearTimeout = id => { soon.delete(id); };
%1
}).call(window);
(() => {
  const own = Object.prototype.hasOwnProperty;
  const store = window['%2'];
  const token = '%3';
  if (own.call(store, token)) return;
  const region = regionOf();
  const get = (proto, name) => Object.getOwnPropertyDescriptor(proto, name).get;
  const parentOf = get(Node.prototype, 'parentElement');
  const childrenOf = get(Element.prototype, 'children');
  const nameOf = get(Element.prototype, 'localName');
  const pathOf = element => {
    const path = [];
    for (let e = element; e !== region; ) {
      const parent = e && parentOf.call(e);
      if (!parent) return null;
      path.unshift({index: Array.prototype.indexOf.call(childrenOf.call(parent), e),
                    tag: nameOf.call(e)});
      e = parent;
    }
    return path;
  };
  const tags = %5;
  // Nodes are found by their path; axe's selectors for them would cost a pass over the page.
  axe.run(region, {runOnly: {type: 'tag', values: tags}, resultTypes: ['violations'],
                   elementRef: true, selectors: false, iframes: false})
    .then(result => {
      store[token] = JSON.stringify({
        axe: result.testEngine.version, region: true, tags,
        violations: result.violations.map(v => ({
          id: v.id, impact: v.impact, help: v.help, description: v.description,
          helpUrl: v.helpUrl,
          nodes: v.nodes.map(n => ({html: n.html, impact: n.impact,
                                    failureSummary: n.failureSummary, path: pathOf(n.element)})),
        })),
      });
    }, e => { store[token] = JSON.stringify({error: String(e && e.message || e)}); });
})();
)JS")
        .arg(axeSource, kStore, QString::number(token), jsonArrayText(QJsonArray{elementId}),
             jsonArrayText(tags), QString::number(elementLimit));
}

QString auditAnswerScript(int token) {
    return QStringLiteral(
               "(() => { if (!Object.prototype.hasOwnProperty.call(window, '%1')) return null;"
               " const answer = window['%1']['%2']; delete window['%1']['%2'];"
               " return answer === undefined ? null : answer; })()")
        .arg(kStore, QString::number(token));
}

}  // namespace host::preview
