// What the template and the author's entries can get wrong in the form the page holds:
// placeholders left, names and hidden fields the service needs, entries that changed the
// form's structure (they are inserted as typed, without escaping), and a second sign-up
// region or form.
#include <QCoreApplication>
#include <QRegularExpression>
#include <algorithm>
#include <cctype>
#include <set>
#include <string>

#include "host/formcheck/form_checks.h"
#include "host/formcheck/tool_markers.h"
#include "host/page/gumbo_tree.h"
#include "host/page/source_spans.h"
#include "platform/text/ascii.h"

namespace host::formcheck {
namespace {

using platform::text::asciiLower;
using platform::text::asciiLowered;
using platform::text::isAsciiSpace;

class Report {
public:
    Report(const FormPage& page, std::vector<Finding>& out) : m_page(page), m_out(out) {}
    // `once`: the rules of an entry that changed the structure may see one fault twice (the
    // heading that holds "<x" and the element <x>); the first to see it at its place reports it.
    // False where `once` and that place has a finding already.
    bool add(Severity severity, std::size_t at, QString what, QString advice, bool once = false) {
        if (once && !m_places.insert(at).second) return false;
        m_out.push_back(m_page.finding(severity, CheckKind::templateEntries, at, std::move(what),
                                       std::move(advice)));
        return true;
    }

private:
    const FormPage& m_page;
    std::vector<Finding>& m_out;
    std::set<std::size_t> m_places;
};

// The attribute names of a start tag as the tokenizer reads them (lower case), each with its
// offset in the tag: the tree keeps only the first of a repeated name.
std::vector<std::pair<std::string, std::size_t>> attributeNames(std::string_view tag) {
    std::vector<std::pair<std::string, std::size_t>> names;
    std::size_t i = 1;
    while (i < tag.size() && !isAsciiSpace(tag[i]) && tag[i] != '/' && tag[i] != '>') ++i;
    while (i < tag.size()) {
        while (i < tag.size() && (isAsciiSpace(tag[i]) || tag[i] == '/')) ++i;
        if (i >= tag.size() || tag[i] == '>') break;
        const std::size_t from = i++;  // a first '=' belongs to the name
        while (i < tag.size() && !isAsciiSpace(tag[i]) && tag[i] != '/' && tag[i] != '>' && tag[i] != '=')
            ++i;
        names.emplace_back(asciiLowered(tag.substr(from, i - from)), from);
        while (i < tag.size() && isAsciiSpace(tag[i])) ++i;
        if (i >= tag.size() || tag[i] != '=') continue;
        ++i;
        while (i < tag.size() && isAsciiSpace(tag[i])) ++i;
        if (i < tag.size() && (tag[i] == '"' || tag[i] == '\'')) {
            const char quote = tag[i++];
            while (i < tag.size() && tag[i] != quote) ++i;
            ++i;
        } else {
            while (i < tag.size() && !isAsciiSpace(tag[i]) && tag[i] != '>') ++i;
        }
    }
    return names;
}

bool isAttributeName(std::string_view name) {
    if (name.empty()) return false;
    const auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    if (!letter(name.front()) && name.front() != '_' && name.front() != ':') return false;
    return std::all_of(name.begin(), name.end(), [&](char c) {
        return letter(c) || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == ':' || c == '.';
    });
}

// Attributes a hidden field of a sign-up form has; an entry in its value that ends the
// attribute early makes others.
bool hiddenFieldAttribute(std::string_view name) {
    static const std::set<std::string_view> kUsual{"type", "name",  "value", "id",   "class",
                                                   "form", "disabled", "autocomplete", "dir",
                                                   "lang", "title"};
    return kUsual.contains(name) || name.starts_with("data-") || name.starts_with("aria-");
}

// A custom element's name: a lower-case letter first, a hyphen somewhere, no markup.
bool isCustomElementName(std::string_view name) {
    if (name.empty() || name.front() < 'a' || name.front() > 'z' ||
        name.find('-') == std::string_view::npos)
        return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
               c == '_' || static_cast<unsigned char>(c) >= 0x80;
    });
}

bool isHeading(const GumboNode* e) {
    if (!page::isElement(e) || e->v.element.tag_namespace != GUMBO_NAMESPACE_HTML) return false;
    switch (e->v.element.tag) {
        case GUMBO_TAG_H1: case GUMBO_TAG_H2: case GUMBO_TAG_H3:
        case GUMBO_TAG_H4: case GUMBO_TAG_H5: case GUMBO_TAG_H6:
        case GUMBO_TAG_LEGEND:
            return true;
        default:
            return false;
    }
}

// Text-level elements a heading may hold by design; anything else in it came from an entry.
bool isPhrasing(const GumboNode* e) {
    if (!page::isElement(e) || e->v.element.tag_namespace != GUMBO_NAMESPACE_HTML) return false;
    switch (e->v.element.tag) {
        case GUMBO_TAG_A: case GUMBO_TAG_ABBR: case GUMBO_TAG_B: case GUMBO_TAG_BDI:
        case GUMBO_TAG_BDO: case GUMBO_TAG_BR: case GUMBO_TAG_CITE: case GUMBO_TAG_CODE:
        case GUMBO_TAG_DFN: case GUMBO_TAG_EM: case GUMBO_TAG_I: case GUMBO_TAG_IMG:
        case GUMBO_TAG_KBD: case GUMBO_TAG_MARK: case GUMBO_TAG_Q: case GUMBO_TAG_S:
        case GUMBO_TAG_SAMP: case GUMBO_TAG_SMALL: case GUMBO_TAG_SPAN: case GUMBO_TAG_STRONG:
        case GUMBO_TAG_SUB: case GUMBO_TAG_SUP: case GUMBO_TAG_TIME: case GUMBO_TAG_U:
        case GUMBO_TAG_VAR: case GUMBO_TAG_WBR:
            return true;
        default:
            return false;
    }
}

bool isControl(const GumboNode* e) {
    return page::isHtml(e, GUMBO_TAG_INPUT) || page::isHtml(e, GUMBO_TAG_SELECT) ||
           page::isHtml(e, GUMBO_TAG_TEXTAREA) || page::isHtml(e, GUMBO_TAG_BUTTON);
}

// Where `<<NAME>>` placeholders stand in [from, to) of the text.
std::vector<std::pair<std::size_t, std::size_t>> placeholders(std::string_view text, std::size_t from,
                                                              std::size_t to) {
    std::vector<std::pair<std::size_t, std::size_t>> found;
    to = std::min(to, text.size());
    for (std::size_t at = text.find("<<", from); at != std::string_view::npos && at + 4 < to;
         at = text.find("<<", at + 1)) {
        std::size_t i = at + 2;
        while (i < to && (std::isalnum(static_cast<unsigned char>(text[i])) || text[i] == '_')) ++i;
        if (i > at + 2 && i + 1 < to && text[i] == '>' && text[i + 1] == '>') {
            found.emplace_back(at, i + 2);
            at = i + 1;
        }
    }
    return found;
}

// Where the next end tag ("</" and a letter) or start of markup ("<" and a letter, '!' or '?')
// is in [from, to), and whether it is an end tag.
struct Markup {
    std::size_t at = std::string::npos;
    bool endTag = false;
    std::string name;  // lower case, for tags
};
std::vector<Markup> markupIn(std::string_view text, std::size_t from, std::size_t to) {
    std::vector<Markup> found;
    const auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    for (std::size_t at = text.find('<', from); at != std::string_view::npos && at + 1 < to;
         at = text.find('<', at + 1)) {
        const char next = text[at + 1];
        Markup m{at, next == '/', {}};
        std::size_t i = at + (m.endTag ? 2 : 1);
        if (i >= to || !(letter(text[i]) || (!m.endTag && (next == '!' || next == '?')))) continue;
        while (i < to && !isAsciiSpace(text[i]) && text[i] != '/' && text[i] != '>') m.name += asciiLower(text[i++]);
        found.push_back(std::move(m));
    }
    return found;
}

void checkRegionsAndForms(const FormPage& page, Report& report) {
    const auto& regions = page.regions();
    for (std::size_t i = 1; i < regions.size(); ++i) {
        const bool byId = FormPage::value(regions[i], "id") == kRegionId;
        report.add(
            Severity::error, page.offsetOf(regions[i]),
            QCoreApplication::translate(
                "host::formcheck::FormCheck",
                "a second sign-up region (an element %1 \"%2\"); the first is "
                "at %3")
                .arg(byId ? QCoreApplication::translate("host::formcheck::FormCheck", "with the id")
                          : QCoreApplication::translate("host::formcheck::FormCheck", "named"),
                     QLatin1StringView(kRegionId.data(), qsizetype(kRegionId.size())),
                     page.placeName(page.offsetOf(regions[0]))),
            QCoreApplication::translate(
                "host::formcheck::FormCheck",
                "keep one sign-up region in the page: with two, the add-in and "
                "the site update cannot tell which to fill, and the page has "
                "every id of the form twice"));
    }
    const GumboNode* form = page.form();
    const std::string action = form ? trimmedAddressText(QString::fromStdString(FormPage::value(form, "action"))).toStdString() : std::string();
    std::vector<const GumboNode*> forms;
    for (const GumboNode* e : page.elements()) {
        if (!page::isHtml(e, GUMBO_TAG_FORM) || page.isRegion(e)) continue;
        const bool inRegion = std::any_of(regions.begin(), regions.end(),
                                          [&](const GumboNode* r) { return FormPage::inside(e, r); });
        const std::string classes = " " + asciiLowered(FormPage::value(e, "class")) + " ";
        const bool marked = classes.find(" ostrel-signup ") != std::string::npos;
        bool sameService = false;
        if (!action.empty() &&
            trimmedAddressText(QString::fromStdString(FormPage::value(e, "action"))).toStdString() == action) {
            for (const GumboNode* d : FormPage::descendants(e)) {
                if (isControl(d) && FormPage::value(d, "name") == "list") sameService = true;
            }
        }
        if (inRegion || marked || sameService) forms.push_back(e);
    }
    for (std::size_t i = 1; i < forms.size(); ++i) {
        // A form in another region is named by that region's finding.
        const bool inOtherRegion = std::any_of(regions.begin(), regions.end(), [&](const GumboNode* r) {
            return r != page.region() && FormPage::inside(forms[i], r);
        });
        if (inOtherRegion) continue;
        report.add(Severity::error, page.offsetOf(forms[i]),
                   QCoreApplication::translate("host::formcheck::FormCheck",
                                               "a second sign-up form; the first is at %1")
                       .arg(page.placeName(page.offsetOf(forms[0]))),
                   QCoreApplication::translate(
                       "host::formcheck::FormCheck",
                       "keep one sign-up form in the page, inside the sign-up region: "
                       "two copies repeat every id of the form and confuse visitors"));
    }
}

void checkPlaceholders(const FormPage& page, Report& report,
                       std::vector<std::pair<std::size_t, std::size_t>>& found) {
    const std::string_view text = page.text();
    for (const GumboNode* region : page.regions()) {
        for (const auto& [from, to] : placeholders(text, page.offsetOf(region), page.endOf(region))) {
            found.emplace_back(from, to);
            report.add(Severity::error, from,
                       QCoreApplication::translate("host::formcheck::FormCheck",
                                                   "the placeholder %1 was left in the form")
                           .arg(quoted(text.substr(from, to - from))),
                       QCoreApplication::translate(
                           "host::formcheck::FormCheck",
                           "run the wizard again and press Finish, which fills every "
                           "placeholder of the shipped template; a template of your own "
                           "may use only <<USERID>>, <<HEADERFIELD>>, <<ADTRACKING>>, "
                           "<<REDIRECT>>, <<MSGNO>> and <<REQUIREDFIELD>>"));
        }
    }
}

// A comment in the form that holds a field of this name ("<!-- <input name="from"> -->").
const GumboNode* commentedField(const GumboNode* form, const QString& name) {
    const QRegularExpression field(
        QStringLiteral(R"(<(input|select|textarea)\b[^>]*\bname\s*=\s*["']?%1(["'\s/>]|$))")
            .arg(QRegularExpression::escape(name)),
        QRegularExpression::CaseInsensitiveOption);
    for (const GumboNode* comment : FormPage::commentsIn(form)) {
        if (QString::fromUtf8(comment->v.text.text).contains(field)) return comment;
    }
    return nullptr;
}

void checkServiceFields(const FormPage& page, Report& report) {
    const GumboNode* form = page.form();
    // Fields of the region that a stray </form> left outside the form are named by the
    // structure check, once for all.
    std::set<std::string> outsideNames;
    for (const GumboNode* e : FormPage::descendants(page.region())) {
        bool inForm = false;
        for (const GumboNode* n = e->parent; n && n != page.region(); n = n->parent)
            inForm = inForm || page::isHtml(n, GUMBO_TAG_FORM);
        if (isControl(e) && !inForm) outsideNames.insert(FormPage::value(e, "name"));
    }
    for (const RequiredName& required : requiredNames(page)) {
        if (!page.visitorFields(required.name.toStdString()).empty()) continue;
        if (outsideNames.contains(required.name.toStdString())) continue;
        if (findToolMarker(required.name, false)) continue;  // the marker check names it
        if (const GumboNode* comment = commentedField(form, required.name)) {
            report.add(Severity::error, page.offsetOfComment(comment),
                       QCoreApplication::translate(
                           "host::formcheck::FormCheck",
                           "the field %1, which the form's required list names, is "
                           "commented out (<!-- ... -->): visitors cannot fill it in, "
                           "and the service turns every sign-up away")
                           .arg(quoted(required.name)),
                       QCoreApplication::translate(
                           "host::formcheck::FormCheck",
                           "take away the <!-- and --> around the field, or clear its "
                           "check box in the wizard"));
            continue;
        }
        report.add(
            Severity::error, required.at,
            QCoreApplication::translate(
                "host::formcheck::FormCheck",
                "the form's required list names %1, but the form has no field "
                "of that name for the visitor to fill in: the service finds no "
                "value for it and turns every sign-up away")
                .arg(quoted(required.name)),
            QCoreApplication::translate("host::formcheck::FormCheck",
                                        "name the field %1 (the service's names are \"name\" and "
                                        "\"from\"), or clear its check box in the wizard")
                .arg(quoted(required.name)));
    }
    const auto list = fieldValue(page, "list");
    if (!list && !outsideNames.contains("list")) {
        report.add(
            Severity::error, page.offsetOf(form),
            QCoreApplication::translate("host::formcheck::FormCheck",
                                        "the form has no field \"list\" (the list id): the service "
                                        "cannot tell which list to add the visitor to"),
            QCoreApplication::translate(
                "host::formcheck::FormCheck",
                "use the shipped template, or give the form <input "
                "type=\"hidden\" name=\"list\" value=\"<<USERID>>\">, and run "
                "the wizard again"));
    } else if (list && (list->text.isEmpty() || list->text == u"None")) {
        report.add(
            Severity::error,
            list->attribute ? page.offsetOfValue(list->field, list->attribute)
                            : page.offsetOf(list->field),
            list->text.isEmpty()
                ? QCoreApplication::translate(
                      "host::formcheck::FormCheck",
                      "the list id is empty: the service adds the visitor to no list")
                : QCoreApplication::translate(
                      "host::formcheck::FormCheck",
                      "the list id is \"None\", the wizard's value for an empty "
                      "entry: the service adds the visitor to no list"),
            QCoreApplication::translate("host::formcheck::FormCheck",
                                        "run the wizard again and enter your list's user id"));
    }
    if (!fieldValue(page, "redirect") && !outsideNames.contains("redirect")) {
        report.add(
            Severity::warning, page.offsetOf(form),
            QCoreApplication::translate("host::formcheck::FormCheck",
                                        "the form has no field \"redirect\" (the thank-you page): "
                                        "visitors land on the service's own page after signing up"),
            QCoreApplication::translate(
                "host::formcheck::FormCheck",
                "use the shipped template, or give the form <input "
                "type=\"hidden\" name=\"redirect\" value=\"<<REDIRECT>>\">, and "
                "run the wizard again"));
    }
}

// Asked for each time: the author's language is known only once the application runs.
QString entryAdvice() {
    return QCoreApplication::translate(
        "host::formcheck::FormCheck",
        "an entry is inserted as typed: run the wizard again and leave quotes and < out of the "
        "entries (write &quot; and &lt; where they must show), or mend the form's markup here");
}

void checkAttributes(const FormPage& page, Report& report, const GumboNode* e) {
    for (unsigned i = 0; i < e->v.element.attributes.length; ++i) {
        const auto* a = static_cast<const GumboAttribute*>(e->v.element.attributes.data[i]);
        const std::string_view name(a->name);
        const bool hidden = page::isHtml(e, GUMBO_TAG_INPUT) &&
                            asciiLowered(FormPage::value(e, "type")) == "hidden";
        QString why;
        if (!isAttributeName(name)) {
            why = QCoreApplication::translate(
                "host::formcheck::FormCheck",
                "that no markup has: a quote in an entry ended the value before it");
        } else if (name.starts_with("on")) {
            why = QCoreApplication::translate(
                "host::formcheck::FormCheck",
                "that runs a script: a quote in an entry ended the value before it");
        } else if (hidden && !hiddenFieldAttribute(name)) {
            why = QCoreApplication::translate(
                "host::formcheck::FormCheck",
                "that a hidden field does not have: a quote in an entry ended the "
                "value before it");
        }
        if (why.isEmpty()) continue;
        report.add(Severity::error, page.offsetOfAttribute(e, a),
                   QCoreApplication::translate("host::formcheck::FormCheck",
                                               "the %1 has an attribute %2 %3")
                       .arg(elementName(e), quoted(name), why),
                   entryAdvice(), true);
    }
    const auto tag = page::startTagSpan(page.parse(), e);
    if (!tag) return;
    const std::string_view text = page.text().substr(tag->begin, tag->end - tag->begin);
    std::set<std::string> seen;
    for (const auto& [name, at] : attributeNames(text)) {
        if (seen.insert(name).second) continue;
        report.add(Severity::error, tag->begin + at,
                   QCoreApplication::translate(
                       "host::formcheck::FormCheck",
                       "the %1 has the attribute %2 twice: browsers keep the first, %3, "
                       "and drop this one; a quote in an entry ended the value early")
                       .arg(elementName(e), quoted(name), quoted(FormPage::value(e, name.c_str()))),
                   entryAdvice(), true);
    }
}

template <class InPlaceholder>
void checkHeading(const FormPage& page, Report& report, const GumboNode* heading,
                  const InPlaceholder& inPlaceholder) {
    const auto start = page::startTagSpan(page.parse(), heading);
    if (!start) return;
    const auto end = page::endTagSpan(page.parse(), heading);
    const std::size_t contentEnd = end ? end->begin : page.endOf(heading);
    auto markup = markupIn(page.text(), start->end, contentEnd);
    std::erase_if(markup, [&](const Markup& m) { return inPlaceholder(m.at); });
    if (markup.empty() && end) return;
    std::set<std::string> inside;
    bool foreign = !end;
    for (const GumboNode* d : FormPage::descendants(heading)) {
        if (inPlaceholder(page.offsetOf(d))) continue;
        inside.insert(page::lowerName(d));
        if (!isPhrasing(d)) foreign = true;
    }
    for (const Markup& m : markup) {
        if (m.endTag && !inside.contains(m.name)) foreign = true;
    }
    const std::size_t at = markup.empty() ? start->begin : markup.front().at;
    if (foreign) {
        report.add(Severity::error, at,
                   QCoreApplication::translate(
                       "host::formcheck::FormCheck",
                       "the heading %1 holds markup that changes the form: a < in the "
                       "entry %2")
                       .arg(elementName(heading),
                            end ? QCoreApplication::translate(
                                      "host::formcheck::FormCheck",
                                      "opened or closed elements, and the form's fields "
                                      "may now lie elsewhere")
                                : QCoreApplication::translate(
                                      "host::formcheck::FormCheck",
                                      "opened a tag that swallowed the heading's end "
                                      "and what follows it")),
                   entryAdvice(), true);
    } else {
        report.add(
            Severity::warning, at,
            QCoreApplication::translate(
                "host::formcheck::FormCheck",
                "the heading %1 holds markup (<%2>): if the entry meant < as a "
                "character, it opened an element instead")
                .arg(elementName(heading), QString::fromStdString(markup.front().name)),
            QCoreApplication::translate("host::formcheck::FormCheck",
                                        "write &lt; in the heading's entry where < must show"),
            true);
    }
}

// An end tag </form> between the form's start and fields of the region that it left outside
// the form: the entry's, or the author's, written before the fields. False where there is
// none, or its place has a finding already (a heading that holds it).
bool strayFormEnd(const FormPage& page, Report& report, const std::vector<const GumboNode*>& outside) {
    const GumboNode* form = page.form();
    if (!form || page.offsetOf(outside.front()) < page.offsetOf(form)) return false;
    for (const Markup& m : markupIn(page.text(), page.offsetOf(form), page.offsetOf(outside.front()))) {
        if (!m.endTag || m.name != "form") continue;
        return report.add(
            Severity::error, m.at,
            QCoreApplication::translate(
                "host::formcheck::FormCheck",
                "this </form> ends the sign-up form before its field %1%2: browsers "
                "send none of the fields after it, and the form's own </form> further "
                "on is ignored")
                .arg(elementName(outside.front()),
                     outside.size() > 1 ? QCoreApplication::translate("host::formcheck::FormCheck",
                                                                      " and %1 more after it")
                                              .arg(outside.size() - 1)
                                        : QString()),
            QCoreApplication::translate(
                "host::formcheck::FormCheck",
                "take this </form> away: the form ends at the </form> after its last "
                "field"),
            true);
    }
    return false;
}

// A heading whose entry held its end tag: "Cakes</h2><h2>Bread" closes the heading and opens
// another, "Cakes</h2>Bread" leaves the rest as text before a stray </h2>. Both stay on the
// line the template wrote the heading on.
void checkHeadingEnd(const FormPage& page, Report& report, const GumboNode* heading) {
    const auto end = page::endTagSpan(page.parse(), heading);
    if (!end) return;
    const std::string_view text = page.text();
    const std::size_t lineEnd = std::min(text.find('\n', end->end), text.size());
    std::size_t next = end->end;
    while (next < lineEnd && (text[next] == ' ' || text[next] == '\t')) ++next;
    const std::string name = page::lowerName(heading);
    const GumboNode* sibling = nullptr;
    if (heading->parent) {
        const auto kids = page::childrenOf(heading->parent);
        const auto self = std::find(kids.begin(), kids.end(), heading);
        for (auto it = self + 1; it != kids.end() && !sibling; ++it) {
            if (page::isElement(*it)) sibling = *it;
        }
    }
    const auto siblingTag = sibling ? page::startTagSpan(page.parse(), sibling) : std::nullopt;
    const bool reopened = sibling && siblingTag && siblingTag->begin == next &&
                          page::lowerName(sibling) == name && sibling->v.element.attributes.length == 0;
    bool closedEarly = false;
    if (!reopened) {
        for (const Markup& m : markupIn(text, end->end, lineEnd)) {
            if (m.name != name) continue;
            closedEarly = m.endTag;
            break;
        }
    }
    if (!reopened && !closedEarly) return;
    const QString shownName = QString::fromStdString(name);
    report.add(
        Severity::error, end->begin,
        reopened
            ? QCoreApplication::translate("host::formcheck::FormCheck",
                                          "the heading %1 ends inside its entry: \"</%2><%2>\" in "
                                          "it closes the heading and opens a second one, so "
                                          "visitors see two headings, %3 and %4")
                  .arg(elementName(heading), shownName,
                       quoted(QString::fromStdString(FormPage::textContent(heading)).simplified()),
                       quoted(QString::fromStdString(FormPage::textContent(sibling)).simplified()))
            : QCoreApplication::translate("host::formcheck::FormCheck",
                                          "the heading %1 ends inside its entry: \"</%2>\" in it "
                                          "closes the heading early, and the rest of the entry "
                                          "shows as ordinary text after it")
                  .arg(elementName(heading), shownName),
        entryAdvice(), true);
}

// A box ticked before the visitor chooses signs them up to more than the form asks (another
// list, offers) unless they notice it: consent given for them. The list the form signs up
// to anyway is no more.
void checkTickedBoxes(const FormPage& page, Report& report) {
    const auto list = fieldValue(page, "list");
    for (const GumboNode* c : page.controls()) {
        if (!page::isHtml(c, GUMBO_TAG_INPUT) || asciiLowered(FormPage::value(c, "type")) != "checkbox")
            continue;
        const GumboAttribute* checked = FormPage::attribute(c, "checked");
        if (!checked || FormPage::attribute(c, "disabled")) continue;
        const QString value = QString::fromStdString(FormPage::value(c, "value")).trimmed();
        if (FormPage::value(c, "name") == "list" && list && list->field != c && value == list->text)
            continue;
        const QStringList labels = labelTexts(page, c);
        report.add(
            Severity::warning, page.offsetOfAttribute(c, checked),
            QCoreApplication::translate(
                "host::formcheck::FormCheck",
                "the box %1 is ticked before the visitor chooses: whoever does not "
                "notice it signs up to more than the form asks")
                .arg(labels.isEmpty() ? elementName(c) : quoted(labels.front().simplified())),
            QCoreApplication::translate(
                "host::formcheck::FormCheck",
                "take checked away, so that visitors tick the box themselves if "
                "they want it"));
    }
}

void checkStructure(const FormPage& page, Report& report,
                    const std::vector<std::pair<std::size_t, std::size_t>>& placeholderSpans) {
    const std::string_view text = page.text();
    const auto inPlaceholder = [&](std::size_t at) {
        return std::any_of(placeholderSpans.begin(), placeholderSpans.end(),
                           [&](const auto& s) { return at > s.first && at < s.second; });
    };
    for (const GumboNode* region : page.regions()) {
        std::vector<const GumboNode*> outside;
        for (const GumboNode* e : FormPage::descendants(region)) {
            const std::size_t at = page.offsetOf(e);
            if (inPlaceholder(at)) continue;  // <<NAME>> reads as an element <NAME>
            checkAttributes(page, report, e);
            if (e->v.element.tag == GUMBO_TAG_UNKNOWN &&
                e->v.element.tag_namespace == GUMBO_NAMESPACE_HTML &&
                !isCustomElementName(page::lowerName(e))) {
                report.add(Severity::error, at,
                           QCoreApplication::translate(
                               "host::formcheck::FormCheck",
                               "the element <%1> is no element of HTML: a < in an entry "
                               "opened it, and it takes in what follows")
                               .arg(QString::fromStdString(page::lowerName(e))),
                           entryAdvice(), true);
            }
            if (isHeading(e)) {
                checkHeading(page, report, e, inPlaceholder);
                checkHeadingEnd(page, report, e);
            }
            bool inForm = false;
            for (const GumboNode* n = e->parent; n && n != region->parent; n = n->parent)
                inForm = inForm || page::isHtml(n, GUMBO_TAG_FORM);
            if (isControl(e) && !inForm && page.form()) outside.push_back(e);
        }
        // Fields of the region that no form holds: named once, at the </form> that ended the
        // form before them where it is written, else at the first of them.
        if (!outside.empty() && !strayFormEnd(page, report, outside)) {
            report.add(Severity::error, page.offsetOf(outside.front()),
                       outside.size() > 1
                           ? QCoreApplication::translate(
                                 "host::formcheck::FormCheck",
                                 "the field %1 and %2 more after it lie outside the "
                                 "form: the form does not send them")
                                 .arg(elementName(outside.front()))
                                 .arg(outside.size() - 1)
                           : QCoreApplication::translate(
                                 "host::formcheck::FormCheck",
                                 "the field %1 lies outside the form: the form does not "
                                 "send it")
                                 .arg(elementName(outside.front())),
                       entryAdvice(), true);
        }
    }
    // An end tag </form> before one of the form's fields ends the form there: browsers send
    // none of the fields after it, although they stay inside the form in the tree.
    const GumboNode* form = page.form();
    if (!form || page.controls().empty()) return;
    const std::size_t lastField = page.offsetOf(page.controls().back());
    for (const Markup& m : markupIn(text, page.offsetOf(form), lastField)) {
        if (!m.endTag || m.name != "form") continue;
        const GumboNode* cut = nullptr;
        for (const GumboNode* c : page.controls()) {
            if (page.offsetOf(c) > m.at) {
                cut = c;
                break;
            }
        }
        report.add(Severity::error, m.at,
                   QCoreApplication::translate(
                       "host::formcheck::FormCheck",
                       "an end tag </form> ends the form before its field %1: browsers "
                       "send none of the fields after it")
                       .arg(cut ? elementName(cut) : QString()),
                   entryAdvice(), true);
        break;
    }
}

}  // namespace

void checkTemplateAndEntries(const FormPage& page, std::vector<Finding>& out) {
    Report report(page, out);
    checkRegionsAndForms(page, report);
    std::vector<std::pair<std::size_t, std::size_t>> spans;
    checkPlaceholders(page, report, spans);
    checkStructure(page, report, spans);
    if (page.form()) {
        checkServiceFields(page, report);
        checkTickedBoxes(page, report);
    }
}

}  // namespace host::formcheck
