// axe-core's violations as findings in the page's source.
#include "host/formcheck/axe_findings.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <memory>
#include <optional>
#include <string>

#include "host/page/gumbo_tree.h"
#include "host/page/page_model.h"
#include "host/page/parsed_html.h"
#include "host/page/source_spans.h"
#include "host/page/text_position.h"

namespace host::formcheck {
namespace {

// The longest quotation of an element's markup in a finding.
constexpr qsizetype kQuotedChars = 80;

std::vector<const GumboNode*> elementChildren(const GumboNode* node) {
    std::vector<const GumboNode*> out;
    for (const GumboNode* child : page::childrenOf(node))
        if (page::isElement(child)) out.push_back(child);
    return out;
}

// Where the region's path leads in the source: the start tag of the last element on it
// that matched and was written.
std::optional<std::size_t> tagOffset(const page::ParsedHtml& parsed, const GumboNode* region,
                                     const QJsonArray& path) {
    std::optional<std::size_t> offset;
    const GumboNode* at = region;
    auto note = [&](const GumboNode* element) {
        if (const auto span = page::startTagSpan(parsed, element)) offset = span->begin;
    };
    note(at);
    for (const QJsonValue& step : path) {
        const auto kids = elementChildren(at);
        const int index = step[u"index"].toInt(-1);
        if (index < 0 || index >= int(kids.size())) break;
        const GumboNode* next = kids[std::size_t(index)];
        if (QString::fromStdString(page::lowerName(next)) != step[u"tag"].toString()) break;
        at = next;
        note(at);
    }
    return offset;
}

Severity severityOf(const QString& impact) {
    if (impact == u"critical" || impact == u"serious") return Severity::error;
    if (impact == u"moderate") return Severity::warning;
    return Severity::note;
}

QString quoted(QString html) {
    html = html.simplified();
    if (html.size() > kQuotedChars) html = html.left(kQuotedChars - 3) + QStringLiteral("...");
    return html;
}

}  // namespace

std::vector<Finding> axeFindings(const QByteArray& axeJson, const QByteArray& utf8Page,
                                 const QString& regionId) {
    QJsonParseError error;
    const QJsonDocument answer = QJsonDocument::fromJson(axeJson, &error);
    if (error.error != QJsonParseError::NoError || !answer.object()[u"violations"].isArray()) {
        return {{Severity::note, CheckKind::accessibility,
                 QCoreApplication::translate(
                     "host::formcheck::FormCheck",
                     "The accessibility audit gave an answer that could not be read."),
                 0, 0,
                 QCoreApplication::translate("host::formcheck::FormCheck",
                                             "Run Tools > Check Sign-up Form again.")}};
    }
    std::unique_ptr<page::ParsedHtml> parsed;
    const GumboNode* region = nullptr;
    try {
        parsed = page::ParsedHtml::parse(utf8Page.toStdString(), page::ParseLimits{});
        const auto named = PageModel::elementsNamed(page::elementsInOrder(parsed->document()),
                                                    regionId.toStdString());
        if (!named.empty()) region = named.front();
    } catch (const std::exception&) {
        // A page the parser gives up on: the findings keep no place.
    }

    std::vector<Finding> out;
    for (const QJsonValue& rule : answer.object()[u"violations"].toArray()) {
        for (const QJsonValue& node : rule[u"nodes"].toArray()) {
            Finding f;
            f.check = CheckKind::accessibility;
            f.severity = severityOf(node[u"impact"].isString() ? node[u"impact"].toString()
                                                               : rule[u"impact"].toString());
            f.what = QStringLiteral("%1: %2").arg(rule[u"help"].toString(),
                                                  quoted(node[u"html"].toString()));
            QString summary = node[u"failureSummary"].toString();
            summary.replace(QStringLiteral(":\n"), QStringLiteral(": "));
            summary.replace(u'\n', QStringLiteral("; "));
            f.advice =
                QCoreApplication::translate("host::formcheck::FormCheck",
                                            "%1 (axe-core rule %2: %3)")
                    .arg(summary.simplified(), rule[u"id"].toString(), rule[u"helpUrl"].toString());
            if (region) {
                if (const auto at = tagOffset(*parsed, region, node[u"path"].toArray())) {
                    const page::LineColumn place = page::lineColumnOf(parsed->text(), *at);
                    f.line = place.line;
                    f.column = place.column;
                }
            }
            out.push_back(std::move(f));
        }
    }
    return out;
}

QString auditSummary(const QByteArray& axeJson) {
    const QJsonObject answer = QJsonDocument::fromJson(axeJson).object();
    if (answer[u"audited"] == QJsonValue(false)) {
        return QCoreApplication::translate(
                   "host::formcheck::FormCheck",
                   "The accessibility audit was left out of this check, which ran by "
                   "itself: the page has %L1 elements (more than %L2), and auditing "
                   "them takes longer than showing the page. Tools > Check Sign-up "
                   "Form runs it.")
            .arg(answer[u"elements"].toInteger())
            .arg(answer[u"limit"].toInteger());
    }
    return QCoreApplication::translate(
               "host::formcheck::FormCheck",
               "The accessibility audit (axe-core %1, WCAG 2.2 A and AA) ran on the "
               "rendered form.")
        .arg(answer[u"axe"].toString());
}

}  // namespace host::formcheck
