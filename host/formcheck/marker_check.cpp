// Markers of other tools ({{LIST_ID}}, [Your heading here], %NAME%, ...) left in the sign-up
// form: in the values the service reads, the fields it needs decide (the list id, the
// thank-you page, the required list: error), the others are sent as they are (warning); in
// the region's text, the heading is what visitors read first (error), other text shows as
// written (warning). The wizard's own <<NAME>> placeholders, written as such, are named by
// the template check.
#include <QCoreApplication>
#include <QRegularExpression>

#include "host/formcheck/form_checks.h"
#include "host/formcheck/tool_markers.h"
#include "host/page/gumbo_tree.h"
#include "platform/text/ascii.h"

namespace host::formcheck {
namespace {

bool isHeading(const GumboNode* e) {
    return page::isHtml(e, GUMBO_TAG_H1) || page::isHtml(e, GUMBO_TAG_H2) ||
           page::isHtml(e, GUMBO_TAG_H3) || page::isHtml(e, GUMBO_TAG_H4) ||
           page::isHtml(e, GUMBO_TAG_H5) || page::isHtml(e, GUMBO_TAG_H6) ||
           page::isHtml(e, GUMBO_TAG_LEGEND);
}

// The template check's own placeholder, as it finds it in the text.
bool isWizardPlaceholder(const QString& marker) {
    static const QRegularExpression re(QStringLiteral("^<<[A-Za-z0-9_]+>>$"));
    return re.match(marker).hasMatch();
}

// What the marker is, for the message: the wizard's own placeholder reaches this check only
// written escaped, where the wizard's Finish cannot find it.
QString markerKind(const QString& marker) {
    if (isWizardPlaceholder(marker)) {
        //: The object of "holds", "shows" or "reads" in the findings below.
        return QCoreApplication::translate(
            "host::formcheck::FormCheck",
            "a placeholder of the template written escaped, which the wizard does not fill");
    }
    //: The object of "holds", "shows" or "reads" in the findings below.
    return QCoreApplication::translate("host::formcheck::FormCheck",
                                       "a placeholder of another tool");
}

QString described(const QString& marker) {
    return quoted(marker) + QStringLiteral(", ") + markerKind(marker);
}

class MarkerCheck {
public:
    MarkerCheck(const FormPage& page, std::vector<Finding>& out) : m_page(page), m_out(out) {}

    void hiddenFields() {
        for (const GumboNode* c : m_page.controls()) {
            if (!page::isHtml(c, GUMBO_TAG_INPUT) ||
                platform::text::asciiLowered(FormPage::value(c, "type")) != "hidden")
                continue;
            const GumboAttribute* value = FormPage::attribute(c, "value");
            if (!value) continue;
            const std::string name = FormPage::value(c, "name");
            const auto marker = findToolMarker(QString::fromUtf8(value->value), name == "list");
            if (!marker) continue;
            const std::size_t at = inValue(c, value, *marker);
            if (at == kNamedElsewhere) continue;
            const QString shown = described(*marker);
            if (name == "list") {
                add(Severity::error, at,
                    QCoreApplication::translate(
                        "host::formcheck::FormCheck",
                        "the list id holds %1, not your list's user id: the service "
                        "adds the visitor to no list")
                        .arg(shown),
                    QCoreApplication::translate(
                        "host::formcheck::FormCheck",
                        "run the wizard again and enter your list's user id, the one "
                        "the service gave you"));
            } else if (name == "redirect") {
                add(Severity::error, at,
                    QCoreApplication::translate(
                        "host::formcheck::FormCheck",
                        "the thank-you page holds %1: after signing up, visitors are "
                        "sent to an address that does not exist")
                        .arg(shown),
                    QCoreApplication::translate(
                        "host::formcheck::FormCheck",
                        "run the wizard again and give your thank-you page's full "
                        "address"));
            } else if (name == "required") {
                add(Severity::error, at,
                    QCoreApplication::translate(
                        "host::formcheck::FormCheck",
                        "the required list holds %1: the service looks for a field of "
                        "that name, finds none and turns every sign-up away")
                        .arg(shown),
                    QCoreApplication::translate(
                        "host::formcheck::FormCheck",
                        "run the wizard again and tick the fields visitors must fill "
                        "in"));
            } else {
                add(Severity::warning, at,
                    QCoreApplication::translate(
                        "host::formcheck::FormCheck",
                        "the hidden field %1 holds %2: the service receives it as it "
                        "is")
                        .arg(quoted(name), shown),
                    QCoreApplication::translate(
                        "host::formcheck::FormCheck",
                        "write the value meant (the wizard fills the tracking and "
                        "message number entries)"));
            }
        }
    }

    void regionText() {
        for (const GumboNode* region : m_page.regions()) {
            std::vector<const GumboNode*> pending{region};
            while (!pending.empty()) {
                const GumboNode* n = pending.back();
                pending.pop_back();
                if (page::isTextLike(n)) {
                    text(n);
                    continue;
                }
                if (!page::isElement(n) || page::writesTextRaw(n) || n->type == GUMBO_NODE_TEMPLATE)
                    continue;
                if (n != region) visibleAttributes(n);
                auto kids = page::childrenOf(n);
                for (auto it = kids.rbegin(); it != kids.rend(); ++it) pending.push_back(*it);
            }
        }
    }

private:
    static constexpr std::size_t kNamedElsewhere = std::string::npos;

    void add(Severity severity, std::size_t at, QString what, QString advice) {
        m_out.push_back(m_page.finding(severity, CheckKind::templateEntries, at, std::move(what),
                                       std::move(advice)));
    }

    // Where the marker is written in an attribute's value (the value's start when it is
    // written escaped); kNamedElsewhere for the wizard's placeholder written as such.
    std::size_t inValue(const GumboNode* e, const GumboAttribute* a, const QString& marker) const {
        const std::size_t at = m_page.offsetOfValue(e, a);
        const auto written = m_page.writtenValue(a);
        const std::string bytes = marker.toStdString();
        const auto found = written ? written->find(bytes) : std::string_view::npos;
        if (found != std::string_view::npos && isWizardPlaceholder(marker)) return kNamedElsewhere;
        return found != std::string_view::npos ? at + found : at;
    }

    void text(const GumboNode* node) {
        const auto marker = findToolMarker(QString::fromUtf8(node->v.text.text), false);
        if (!marker) return;
        const std::string_view raw(node->v.text.original_text.data,
                                   node->v.text.original_text.length);
        std::size_t at = m_page.parse().offsetOf(node->v.text.original_text.data);
        if (at == std::string::npos) at = m_page.offsetOf(node->parent);
        if (const auto found = raw.find(marker->toStdString()); found != std::string_view::npos) {
            if (isWizardPlaceholder(*marker)) return;
            at += found;
        } else if (const auto first = raw.find_first_not_of(" \t\r\n\f");
                   first != std::string_view::npos) {
            at += first;
        }
        const GumboNode* heading = nullptr;
        for (const GumboNode* p = node->parent; p && !heading; p = p->parent) {
            if (isHeading(p)) heading = p;
            if (m_page.isRegion(p)) break;
        }
        if (heading) {
            add(Severity::error, at,
                QCoreApplication::translate(
                    "host::formcheck::FormCheck",
                    "the heading %1 reads %2: visitors see it as the form's title")
                    .arg(elementName(heading), described(*marker)),
                QCoreApplication::translate(
                    "host::formcheck::FormCheck",
                    "run the wizard again and enter the heading, or write it here"));
        } else {
            add(Severity::warning, at,
                QCoreApplication::translate(
                    "host::formcheck::FormCheck",
                    "the sign-up region shows %1: visitors see it as written")
                    .arg(described(*marker)),
                QCoreApplication::translate("host::formcheck::FormCheck",
                                            "write the words meant in its place"));
        }
    }

    // Attributes whose text visitors see or hear (a hidden field's value is read above).
    void visibleAttributes(const GumboNode* e) {
        const bool hidden = page::isHtml(e, GUMBO_TAG_INPUT) &&
                            platform::text::asciiLowered(FormPage::value(e, "type")) == "hidden";
        for (const char* name : {"placeholder", "value", "title", "alt", "aria-label"}) {
            if (hidden && std::string_view(name) == "value") continue;
            if (std::string_view(name) == "value" && !page::isHtml(e, GUMBO_TAG_INPUT) &&
                !page::isHtml(e, GUMBO_TAG_BUTTON))
                continue;
            const GumboAttribute* a = FormPage::attribute(e, name);
            if (!a) continue;
            const auto marker = findToolMarker(QString::fromUtf8(a->value), false);
            if (!marker) continue;
            const std::size_t at = inValue(e, a, *marker);
            if (at == kNamedElsewhere) continue;
            add(Severity::warning, at,
                QCoreApplication::translate("host::formcheck::FormCheck",
                                            "the %1's %2 holds %3: visitors see it as written")
                    .arg(elementName(e), QLatin1StringView(name), described(*marker)),
                QCoreApplication::translate("host::formcheck::FormCheck",
                                            "write the words meant in its place"));
        }
    }

    const FormPage& m_page;
    std::vector<Finding>& m_out;
};

}  // namespace

void checkToolMarkers(const FormPage& page, std::vector<Finding>& out) {
    MarkerCheck check(page, out);
    check.hiddenFields();
    check.regionText();
}

}  // namespace host::formcheck
