// What an accessibility audit of the form alone cannot see: its ids and references against the
// rest of the page, and whether the fields the service requires tell the visitor so.
#include <QCoreApplication>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <map>
#include <set>
#include <string>

#include "host/formcheck/form_checks.h"
#include "host/page/gumbo_tree.h"
#include "platform/text/ascii.h"

namespace host::formcheck {
namespace {

// Attributes that name other elements by id; a reference to a duplicated id reaches only the
// first element with it.
constexpr const char* kSingleReferences[] = {"for", "form", "list"};
constexpr const char* kListReferences[] = {"aria-labelledby", "aria-describedby",
                                           "aria-controls", "aria-owns", "headers"};

std::set<std::string> referencedIds(const FormPage& page) {
    std::set<std::string> ids;
    for (const GumboNode* e : page.elements()) {
        for (const char* name : kSingleReferences) {
            if (const char* v = page::attributeValue(e, name); v && *v) ids.insert(v);
        }
        for (const char* name : kListReferences) {
            const char* v = page::attributeValue(e, name);
            if (!v) continue;
            for (const QString& id : QString::fromUtf8(v).split(u' ', Qt::SkipEmptyParts))
                ids.insert(id.trimmed().toStdString());
        }
    }
    return ids;
}

void checkIdClashes(const FormPage& page, std::vector<Finding>& out) {
    std::map<std::string, std::vector<const GumboNode*>> byId;
    for (const GumboNode* e : page.elements()) {
        if (const char* id = page::attributeValue(e, "id"); id && *id) byId[id].push_back(e);
    }
    std::set<std::string> reported{std::string(kRegionId)};  // two regions: template_check
    std::set<std::string> referenced;
    bool referencesRead = false;
    for (const GumboNode* region : page.regions()) {
        for (const GumboNode* e : FormPage::descendants(region)) {
            const char* id = page::attributeValue(e, "id");
            if (!id || !*id || reported.contains(id)) continue;
            const auto& all = byId[id];
            if (all.size() < 2) continue;
            reported.insert(id);
            if (!referencesRead) {
                referenced = referencedIds(page);
                referencesRead = true;
            }
            const GumboNode* other = all.front() == e ? all[1] : all.front();
            const bool isReferenced = referenced.contains(id);
            const bool otherInRegion =
                std::any_of(page.regions().begin(), page.regions().end(),
                            [&](const GumboNode* r) { return FormPage::inside(other, r); });
            QString what =
                QCoreApplication::translate(
                    "host::formcheck::FormCheck",
                    "the id %1 of this <%2> in the sign-up region is also the "
                    "id of the <%3> at %4%5")
                    .arg(quoted(std::string_view(id)), QString::fromStdString(page::lowerName(e)),
                         QString::fromStdString(page::lowerName(other)),
                         page.placeName(page.offsetOf(other)),
                         all.size() > 2 ? QCoreApplication::translate("host::formcheck::FormCheck",
                                                                      " (%1 elements in all)")
                                              .arg(all.size())
                                        : QString());
            if (isReferenced)
                what += QCoreApplication::translate(
                    "host::formcheck::FormCheck",
                    "; labels and references to it reach only the first of them");
            const QString advice =
                otherInRegion && page.regions().size() > 1
                    ? QCoreApplication::translate(
                          "host::formcheck::FormCheck",
                          "keep one sign-up region in the page: a second copy of the "
                          "form repeats every id")
                    : QCoreApplication::translate(
                          "host::formcheck::FormCheck",
                          "give one of them another id (an id names one element of "
                          "the page), and change the label's for= and any reference "
                          "to it with it");
            out.push_back(page.finding(isReferenced ? Severity::error : Severity::warning,
                                       CheckKind::accessibility, page.offsetOf(e), what, advice));
        }
    }
}

const GumboNode* firstWithId(const FormPage& page, const std::string& wanted) {
    for (const GumboNode* e : page.elements()) {
        if (const char* v = page::attributeValue(e, "id"); v && wanted == v) return e;
    }
    return nullptr;
}

}  // namespace

QStringList labelTexts(const FormPage& page, const GumboNode* field) {
    QStringList texts;
    for (const GumboNode* n = field->parent; n; n = n->parent) {
        if (page::isHtml(n, GUMBO_TAG_LABEL)) texts << QString::fromStdString(FormPage::textContent(n));
    }
    const std::string id = FormPage::value(field, "id");
    if (!id.empty() && firstWithId(page, id) == field) {
        for (const GumboNode* e : page.elements()) {
            if (page::isHtml(e, GUMBO_TAG_LABEL) && FormPage::value(e, "for") == id)
                texts << QString::fromStdString(FormPage::textContent(e));
        }
    }
    for (const QString& ref :
         QString::fromStdString(FormPage::value(field, "aria-labelledby")).split(u' ', Qt::SkipEmptyParts)) {
        if (const GumboNode* e = firstWithId(page, ref.toStdString()))
            texts << QString::fromStdString(FormPage::textContent(e));
    }
    return texts;
}

namespace {

// A label marks its field as required with an asterisk or the word "required" (any case).
bool marksRequired(const QString& text) {
    return text.contains(u'*') || text.contains(QStringLiteral("required"), Qt::CaseInsensitive);
}

// The field a label with a broken for= was written for: the next field after its start in
// the region (the one it wraps, if any, comes first).
const GumboNode* fieldMeant(const std::vector<const GumboNode*>& inRegion, std::size_t labelIndex) {
    for (std::size_t i = labelIndex + 1; i < inRegion.size(); ++i) {
        if (FormPage::isVisitorField(inRegion[i])) return inRegion[i];
    }
    return nullptr;
}

// A label's for= that names no element of the page: the label is tied to no field. The field
// it was written for keeps a name where something else names it; else screen readers give it
// none, which is an error as a field without a label is.
void danglingLabel(const FormPage& page, const GumboNode* label, const GumboAttribute* forAttribute,
                   const GumboNode* meant, std::vector<Finding>& out) {
    const bool wraps = meant && FormPage::inside(meant, label);
    const bool otherName = meant && (!FormPage::value(meant, "aria-label").empty() ||
                                     !FormPage::value(meant, "title").empty() ||
                                     labelTexts(page, meant).size() > (wraps ? 1 : 0));
    const QString field =
        meant ? QCoreApplication::translate("host::formcheck::FormCheck", "the field %1")
                    .arg(elementName(meant))
              : QString();
    const std::string meantId = meant ? FormPage::value(meant, "id") : std::string();
    out.push_back(page.finding(
        otherName ? Severity::warning : Severity::error, CheckKind::accessibility,
        page.offsetOfValue(label, forAttribute),
        QCoreApplication::translate(
            "host::formcheck::FormCheck",
            "the label %1 is for the id %2, but no element of the page has that id: "
            "the label is tied to no field%3")
            .arg(quoted(QString::fromStdString(FormPage::textContent(label)).simplified()),
                 quoted(std::string_view(forAttribute->value)),
                 !meant      ? QString()
                 : otherName ? QCoreApplication::translate("host::formcheck::FormCheck",
                                                           ", and clicking it does not reach %1")
                                   .arg(field)
                             : QCoreApplication::translate(
                                   "host::formcheck::FormCheck",
                                   ", so screen readers announce %1 without a name, and "
                                   "clicking the label does not reach it")
                                   .arg(field)),
        !meantId.empty()
            ? QCoreApplication::translate("host::formcheck::FormCheck",
                                          "write for=%1, the field's id")
                  .arg(quoted(meantId))
            : QCoreApplication::translate("host::formcheck::FormCheck",
                                          "give the field an id and write the same in the "
                                          "label's for=")));
}

// An aria-labelledby or aria-describedby naming ids no element has: the form or field loses
// its name or description to screen readers; the sign-up still works.
void danglingAria(const FormPage& page, const GumboNode* e, const char* name,
                  const std::set<std::string>& ids, std::vector<Finding>& out) {
    const GumboAttribute* a = FormPage::attribute(e, name);
    if (!a) return;
    QStringList missing;
    static const QRegularExpression space(QStringLiteral("[ \t\n\r\f]+"));
    for (const QString& ref : QString::fromUtf8(a->value).split(space, Qt::SkipEmptyParts)) {
        if (!ids.contains(ref.toStdString())) missing << quoted(ref);
    }
    if (missing.isEmpty()) return;
    const bool labelledBy = std::string_view(name) == "aria-labelledby";
    const bool isForm = page::isHtml(e, GUMBO_TAG_FORM);
    // The form's name is its heading's text: the advice names the heading's id.
    const GumboNode* heading = nullptr;
    if (isForm && labelledBy) {
        for (const GumboNode* d : FormPage::descendants(e)) {
            const std::string tag = page::lowerName(d);
            if (tag.size() == 2 && tag[0] == 'h' && tag[1] >= '1' && tag[1] <= '6') {
                heading = d;
                break;
            }
        }
    }
    const std::string headingId = heading ? FormPage::value(heading, "id") : std::string();
    // Whole sentences for each case: a name and a description differ in other languages.
    const QString those =
        missing.size() > 1 ? QCoreApplication::translate("host::formcheck::FormCheck", "those ids")
                           : QCoreApplication::translate("host::formcheck::FormCheck", "that id");
    const QString what =
        isForm
            ? (labelledBy ? QCoreApplication::translate(
                                "host::formcheck::FormCheck",
                                "the form's %1 names %2, but no element of the page "
                                "has %3: screen readers announce the form without "
                                "its name")
                          : QCoreApplication::translate(
                                "host::formcheck::FormCheck",
                                "the form's %1 names %2, but no element of the page "
                                "has %3: screen readers announce the form without "
                                "its description"))
                  .arg(QLatin1StringView(name), missing.join(QStringLiteral(", ")), those)
            : (labelledBy
                   ? QCoreApplication::translate(
                         "host::formcheck::FormCheck",
                         "the %1's %2 names %3, but no element of the page "
                         "has %4: screen readers announce it without its name")
                   : QCoreApplication::translate("host::formcheck::FormCheck",
                                                 "the %1's %2 names %3, but no element of the page "
                                                 "has %4: screen readers announce it without its "
                                                 "description"))
                  .arg(elementName(e), QLatin1StringView(name), missing.join(QStringLiteral(", ")),
                       those);
    out.push_back(page.finding(
        Severity::warning, CheckKind::accessibility, page.offsetOfValue(e, a), what,
        !headingId.empty() ? QCoreApplication::translate("host::formcheck::FormCheck",
                                                         "write %1=%2, the id of its heading")
                                 .arg(QLatin1StringView(name), quoted(headingId))
        : heading ? QCoreApplication::translate("host::formcheck::FormCheck",
                                                "give the form's heading the id %1")
                        .arg(missing.front())
                  : QCoreApplication::translate(
                        "host::formcheck::FormCheck",
                        "write the id of the element meant, or take the attribute "
                        "away")));
}

// References in the regions left behind when an id was changed. Returns the fields a label
// with a dangling for= was meant for (their finding is the label's).
std::set<const GumboNode*> checkDanglingReferences(const FormPage& page, std::vector<Finding>& out) {
    std::set<std::string> ids;
    for (const GumboNode* e : page.elements()) {
        if (const char* id = page::attributeValue(e, "id"); id && *id) ids.insert(id);
    }
    std::set<const GumboNode*> meantFields;
    for (const GumboNode* region : page.regions()) {
        const auto inRegion = FormPage::descendants(region);
        for (std::size_t i = 0; i < inRegion.size(); ++i) {
            const GumboNode* e = inRegion[i];
            const GumboAttribute* forAttribute =
                page::isHtml(e, GUMBO_TAG_LABEL) ? FormPage::attribute(e, "for") : nullptr;
            if (forAttribute && *forAttribute->value && !ids.contains(forAttribute->value)) {
                const GumboNode* meant = fieldMeant(inRegion, i);
                if (meant) meantFields.insert(meant);
                danglingLabel(page, e, forAttribute, meant, out);
            }
            danglingAria(page, e, "aria-labelledby", ids, out);
            danglingAria(page, e, "aria-describedby", ids, out);
        }
    }
    return meantFields;
}

void checkRequiredMarks(const FormPage& page, const std::set<const GumboNode*>& namedElsewhere,
                        std::vector<Finding>& out) {
    for (const RequiredName& required : requiredNames(page)) {
        const auto fields = page.visitorFields(required.name.toStdString());
        if (fields.empty()) continue;  // the template check names a missing field
        if (std::any_of(fields.begin(), fields.end(), [&](const GumboNode* f) { return namedElsewhere.contains(f); }))
            continue;  // its label's broken for= is the finding
        const bool marked = std::any_of(fields.begin(), fields.end(), [&](const GumboNode* f) {
            if (FormPage::attribute(f, "required")) return true;
            const QStringList texts = labelTexts(page, f);
            return std::any_of(texts.begin(), texts.end(), marksRequired);
        });
        if (marked) continue;
        const GumboNode* field = fields.front();
        const QStringList texts = labelTexts(page, field);
        out.push_back(page.finding(
            Severity::warning, CheckKind::accessibility, page.offsetOf(field),
            QCoreApplication::translate(
                "host::formcheck::FormCheck",
                "the field %1 must be filled in (the form's required list names it), "
                "but nothing tells the visitor: it has no required attribute and %2")
                .arg(quoted(required.name),
                     texts.isEmpty()
                         ? QCoreApplication::translate("host::formcheck::FormCheck", "no label")
                         : QCoreApplication::translate("host::formcheck::FormCheck",
                                                       "its label %1 does not say so")
                               .arg(quoted(texts.front().simplified()))),
            QCoreApplication::translate(
                "host::formcheck::FormCheck",
                "add the attribute required to the field, or mark its label, for "
                "example \"Your name (required)\" or \"Your name *\"")));
    }
}

}  // namespace

void checkAccessibility(const FormPage& page, std::vector<Finding>& out) {
    checkIdClashes(page, out);
    const auto labelledInVain = checkDanglingReferences(page, out);
    if (page.form()) checkRequiredMarks(page, labelledInVain, out);
}

}  // namespace host::formcheck
