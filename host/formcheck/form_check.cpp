// The entry point: one parse of the page, then each check in turn, the findings in page order.
#include "host/formcheck/form_check.h"

#include <QCoreApplication>
#include <QStringList>
#include <algorithm>
#include <exception>
#include <new>

#include "host/formcheck/form_checks.h"
#include "host/formcheck/form_page.h"
#include "host/page/gumbo_tree.h"
#include "host/page/source_spans.h"

namespace host::formcheck {
namespace {

// The one finding of a page without a usable region.
void noForm(const FormPage& page, std::vector<Finding>& out) {
    const GumboNode* region = page.region();
    if (!region) {
        const GumboNode* body = nullptr;
        for (const GumboNode* e : page.elements()) {
            if (page::isHtml(e, GUMBO_TAG_BODY)) body = e;
        }
        const auto tag = body ? page::startTagSpan(page.parse(), body) : std::nullopt;
        out.push_back(
            page.finding(Severity::note, CheckKind::templateEntries, tag ? tag->begin : 0,
                         QCoreApplication::translate(
                             "host::formcheck::FormCheck",
                             "the page has no sign-up region (an element with the id \"%1\"), so "
                             "there is no form to check")
                             .arg(QLatin1StringView(kRegionId.data(), qsizetype(kRegionId.size()))),
                         QCoreApplication::translate(
                             "host::formcheck::FormCheck",
                             "run the Ostrel wizard on the page: Finish puts the form into a new "
                             "region at the end of the page, or into an element with that id")));
        return;
    }
    if (page.form()) return;
    // A form around the region: the parser drops the sign-up form's own start tag (forms do
    // not nest), and its fields go with the outer form.
    const GumboNode* outer = nullptr;
    for (const GumboNode* n = region; n && !outer; n = n->parent) {
        if (page::isHtml(n, GUMBO_TAG_FORM)) outer = n;
    }
    const auto inside = FormPage::descendants(region);
    const bool fields = std::any_of(inside.begin(), inside.end(), [](const GumboNode* e) {
        return page::isHtml(e, GUMBO_TAG_INPUT) || page::isHtml(e, GUMBO_TAG_BUTTON) ||
               page::isHtml(e, GUMBO_TAG_SELECT) || page::isHtml(e, GUMBO_TAG_TEXTAREA);
    });
    if (outer && fields) {
        out.push_back(page.finding(
            Severity::error, CheckKind::templateEntries, page.offsetOf(region),
            (outer == region ? QCoreApplication::translate("host::formcheck::FormCheck",
                                                           "the sign-up region is itself a form")
                             : QCoreApplication::translate(
                                   "host::formcheck::FormCheck",
                                   "the sign-up region lies inside another form (the <form> at %1)")
                                   .arg(page.placeName(page.offsetOf(outer)))) +
                QCoreApplication::translate(
                    "host::formcheck::FormCheck",
                    ": forms do not nest, so browsers drop the sign-up form's own "
                    "<form> tag and send its fields to that form's action instead"),
            outer == region
                ? QCoreApplication::translate(
                      "host::formcheck::FormCheck",
                      "give the sign-up form a region of its own, such as <div "
                      "id=\"OstrelInsert\"></div>, outside every form, and take the "
                      "name or id \"OstrelInsert\" off this form")
                : QCoreApplication::translate(
                      "host::formcheck::FormCheck",
                      "move the sign-up region out of the other form (after its </form>)")));
        return;
    }
    const bool empty = inside.empty() &&
                       QString::fromStdString(FormPage::textContent(region)).trimmed().isEmpty();
    out.push_back(page.finding(
        Severity::note, CheckKind::templateEntries, page.offsetOf(region),
        empty
            ? QCoreApplication::translate("host::formcheck::FormCheck",
                                          "the sign-up region is empty: there is no form to check")
            : QCoreApplication::translate(
                  "host::formcheck::FormCheck",
                  "the sign-up region holds no form (an e-mail link or text): only "
                  "its placeholders and ids were checked"),
        empty ? QCoreApplication::translate(
                    "host::formcheck::FormCheck",
                    "run the Ostrel wizard on the page to put the sign-up form in")
              : QCoreApplication::translate(
                    "host::formcheck::FormCheck",
                    "nothing to do if the e-mail link is what you chose; the wizard's "
                    "HTML form choice puts a sign-up form there")));
}

}  // namespace

std::optional<FieldValue> fieldValue(const FormPage& page, std::string_view name) {
    const GumboNode* field = page.control(name);
    if (!field) return std::nullopt;
    FieldValue v{field, FormPage::attribute(field, "value"), {}};
    if (v.attribute) v.text = QString::fromUtf8(v.attribute->value).trimmed();
    return v;
}

std::vector<RequiredName> requiredNames(const FormPage& page) {
    std::vector<RequiredName> names;
    const auto list = fieldValue(page, "required");
    if (!list || !list->attribute) return names;
    const std::size_t valueAt = page.offsetOfValue(list->field, list->attribute);
    const auto written = page.writtenValue(list->attribute);
    const bool exact = written && *written == list->attribute->value;
    std::size_t searchFrom = 0;
    for (const QString& part : list->text.split(u',')) {
        const QString name = part.trimmed();
        if (name.isEmpty()) continue;
        if (std::any_of(names.begin(), names.end(), [&](const RequiredName& n) { return n.name == name; }))
            continue;
        std::size_t at = valueAt;
        if (exact) {
            const std::string bytes = name.toStdString();
            if (const auto found = written->find(bytes, searchFrom); found != std::string_view::npos) {
                at = valueAt + found;
                searchFrom = found + bytes.size();
            }
        }
        names.push_back({name, at});
    }
    return names;
}

FormCheckRun runFormCheck(const QByteArray& utf8Page, const PageContext& context) {
    FormCheckRun run;
    std::unique_ptr<FormPage> page;
    try {
        page = std::make_unique<FormPage>(utf8Page.toStdString(), context);
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception& e) {
        run.checked = false;
        run.findings.push_back(
            Finding{Severity::warning, CheckKind::templateEntries,
                    QCoreApplication::translate("host::formcheck::FormCheck",
                                                "the form check did not run: %1")
                        .arg(QString::fromUtf8(e.what())),
                    0, 0,
                    QCoreApplication::translate(
                        "host::formcheck::FormCheck",
                        "the page must be readable by the editor's page document for its form "
                        "to be checked")});
        return run;
    }
    run.regions = int(page->regions().size());
    std::vector<Finding>& out = run.findings;
    const bool placementExplains = checkPlacement(*page, out);
    if (!page->form() && !placementExplains) noForm(*page, out);
    checkAccessibility(*page, out);
    checkTransport(*page, out);
    checkContentPolicy(*page, out);
    checkThankYouPage(*page, out);
    checkTemplateAndEntries(*page, out);
    checkToolMarkers(*page, out);
    std::stable_sort(out.begin(), out.end(), [](const Finding& a, const Finding& b) {
        return std::tie(a.line, a.column) < std::tie(b.line, b.column);
    });
    return run;
}

std::vector<Finding> checkForm(const QByteArray& utf8Page, const PageContext& context) {
    return runFormCheck(utf8Page, context).findings;
}

}  // namespace host::formcheck
