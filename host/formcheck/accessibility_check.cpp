// What an accessibility audit of the form alone cannot see: its ids against the rest of the
// page, and whether the fields the service requires tell the visitor so.
#include <QCoreApplication>
#include <QStringList>
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

// The texts that label a field: labels around it, labels whose for= reaches it (the first
// element with that id), and the elements its aria-labelledby names.
QStringList labelTexts(const FormPage& page, const GumboNode* field) {
    QStringList texts;
    for (const GumboNode* n = field->parent; n; n = n->parent) {
        if (page::isHtml(n, GUMBO_TAG_LABEL)) texts << QString::fromStdString(FormPage::textContent(n));
    }
    const std::string id = FormPage::value(field, "id");
    const auto firstWithId = [&](const std::string& wanted) -> const GumboNode* {
        for (const GumboNode* e : page.elements()) {
            if (const char* v = page::attributeValue(e, "id"); v && wanted == v) return e;
        }
        return nullptr;
    };
    if (!id.empty() && firstWithId(id) == field) {
        for (const GumboNode* e : page.elements()) {
            if (page::isHtml(e, GUMBO_TAG_LABEL) && FormPage::value(e, "for") == id)
                texts << QString::fromStdString(FormPage::textContent(e));
        }
    }
    for (const QString& ref :
         QString::fromStdString(FormPage::value(field, "aria-labelledby")).split(u' ', Qt::SkipEmptyParts)) {
        if (const GumboNode* e = firstWithId(ref.toStdString()))
            texts << QString::fromStdString(FormPage::textContent(e));
    }
    return texts;
}

// A label marks its field as required with an asterisk or the word "required" (any case).
bool marksRequired(const QString& text) {
    return text.contains(u'*') || text.contains(QStringLiteral("required"), Qt::CaseInsensitive);
}

void checkRequiredMarks(const FormPage& page, std::vector<Finding>& out) {
    for (const RequiredName& required : requiredNames(page)) {
        const auto fields = page.visitorFields(required.name.toStdString());
        if (fields.empty()) continue;  // the template check names a missing field
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
    if (page.form()) checkRequiredMarks(page, out);
}

}  // namespace host::formcheck
