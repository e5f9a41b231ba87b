// One parse of the page, the sign-up region and form found in it, and positions for findings.
#include "host/formcheck/form_page.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>
#include <algorithm>
#include <cstring>

#include "host/page/gumbo_tree.h"
#include "host/page/page_model.h"
#include "host/page/source_spans.h"
#include "host/page/text_position.h"
#include "platform/text/ascii.h"

namespace host::formcheck {
namespace {

bool isControl(const GumboNode* e) {
    return page::isHtml(e, GUMBO_TAG_INPUT) || page::isHtml(e, GUMBO_TAG_SELECT) ||
           page::isHtml(e, GUMBO_TAG_TEXTAREA) || page::isHtml(e, GUMBO_TAG_BUTTON);
}

// The path of a file below a folder as an address path: each name percent-encoded.
QString encodedRelativePath(const QString& relative) {
    QStringList parts;
    for (const QString& part : relative.split(u'/')) {
        parts << QString::fromLatin1(QUrl::toPercentEncoding(part));
    }
    return parts.join(u'/');
}

// Whether a published-at address names a page rather than a folder (a page checked alone is
// often given its own address), and then whether it is this page's: its path in the site,
// or that path without ".html" as servers that hide the extension publish it.
struct NamedPage {
    bool page = false;
    bool thisPage = false;
};
NamedPage namedPage(const WebAddress& published, const QString& relative) {
    if (published.path.endsWith(u'/')) return {};
    const QString path = QUrl::fromPercentEncoding(published.path.toUtf8());
    QString bare = relative;
    for (const char* extension : {".html", ".htm"}) {
        if (bare.endsWith(QLatin1StringView(extension), Qt::CaseInsensitive)) {
            bare.chop(qsizetype(std::strlen(extension)));
            break;
        }
    }
    if (!relative.isEmpty() &&
        (path.endsWith(u'/' + relative) || (bare != relative && path.endsWith(u'/' + bare))))
        return {true, true};
    static const QRegularExpression pageFile(
        QStringLiteral(R"(\.(html?|xhtml|shtml|php|aspx?|jsp)$)"), QRegularExpression::CaseInsensitiveOption);
    return {path.section(u'/', -1).contains(pageFile), false};
}

}  // namespace

std::optional<csp::Origin> Publishing::origin() const {
    if (!pageAddress || !pageAddress->isAbsoluteHttp()) return std::nullopt;
    return csp::Origin{pageAddress->scheme, pageAddress->host, pageAddress->port};
}

FormPage::FormPage(std::string utf8, const PageContext& context)
    : m_context(context), m_parse(page::ParsedHtml::parse(std::move(utf8), page::ParseLimits{})) {
    m_elements = page::elementsInOrder(m_parse->document());
    findRegionAndForm();
    readPublishing();
}

FormPage::~FormPage() = default;

std::string_view FormPage::text() const {
    return m_parse->text();
}

void FormPage::findRegionAndForm() {
    // Found as the add-in's own lookup finds the region.
    m_regions = PageModel::elementsNamed(m_elements, kRegionId);
    if (m_regions.empty()) return;
    // The first form inside a region (not a region itself), in document order.
    for (const GumboNode* e : m_elements) {
        if (!page::isHtml(e, GUMBO_TAG_FORM) || isRegion(e)) continue;
        for (const GumboNode* r : m_regions) {
            if (inside(e, r)) {
                m_form = e;
                m_formRegion = r;
                break;
            }
        }
        if (m_form) break;
    }
    if (!m_form) return;
    for (const GumboNode* e : descendants(m_form)) {
        if (isControl(e)) m_controls.push_back(e);
    }
}

bool FormPage::isRegion(const GumboNode* e) const {
    return std::find(m_regions.begin(), m_regions.end(), e) != m_regions.end();
}

void FormPage::readPublishing() {
    const auto https = [](const std::optional<WebAddress>& a) {
        return a && a->isAbsoluteHttp() && a->scheme == u"https";
    };
    // The setting: the address of the site's folder (the page's own folder for a page checked
    // alone), or of a page.
    std::optional<WebAddress> published;
    if (!m_context.publishedAt.isEmpty()) published = parseAbsoluteAddress(m_context.publishedAt);
    if (published && published->isAbsoluteHttp()) {
        QString relative;
        if (!m_context.pagePath.isEmpty()) {
            const QString folder = m_context.siteFolder.isEmpty()
                                       ? QFileInfo(m_context.pagePath).absolutePath()
                                       : m_context.siteFolder;
            relative = QDir(folder).relativeFilePath(QFileInfo(m_context.pagePath).absoluteFilePath());
            if (relative.startsWith(QStringLiteral("../"))) relative.clear();
        }
        if (const NamedPage named = namedPage(*published, relative); named.page) {
            // The site's folder is the folder above the page by its path in the site (by none
            // for another page's address).
            const int up = named.thisPage ? int(relative.count(u'/')) : 0;
            m_publishing.siteAddress = resolveAddress(
                *published, up == 0 ? QStringLiteral("./") : QStringLiteral("../").repeated(up));
            m_publishing.pageAddress =
                named.thisPage || relative.isEmpty() || !m_publishing.siteAddress
                    ? published
                    : resolveAddress(*m_publishing.siteAddress, encodedRelativePath(relative));
        } else {
            WebAddress root = *published;
            if (!root.path.endsWith(u'/')) root.path += u'/';
            m_publishing.siteAddress = root;
            m_publishing.pageAddress =
                relative.isEmpty() ? root : resolveAddress(root, encodedRelativePath(relative));
        }
        if (https(published))
            m_publishing.httpsSource =
                QCoreApplication::translate("host::formcheck::FormCheck",
                                            "the site's published address %1")
                    .arg(quoted(published->toString()));
    }
    const GumboNode* canonical = nullptr;
    const GumboNode* base = nullptr;
    for (const GumboNode* e : m_elements) {
        if (!canonical && page::isHtml(e, GUMBO_TAG_LINK) && hasToken(value(e, "rel"), "canonical") &&
            attribute(e, "href")) {
            canonical = e;
        }
        if (!base && page::isHtml(e, GUMBO_TAG_BASE) && attribute(e, "href")) base = e;
    }
    const auto read = [&](const GumboNode* e, const char* what) {
        if (!e) return;
        auto address = parseAbsoluteAddress(QString::fromStdString(value(e, "href")));
        if (!address || !address->isAbsoluteHttp()) return;
        if (!m_publishing.pageAddress) m_publishing.pageAddress = address;
        if (m_publishing.httpsSource.isEmpty() && https(address)) {
            m_publishing.httpsSource =
                QCoreApplication::translate("host::formcheck::FormCheck", "%1 at %2")
                    .arg(QCoreApplication::translate("host::formcheck::FormCheck", what),
                         placeName(offsetOf(e)));
        }
    };
    read(canonical, QT_TRANSLATE_NOOP("host::formcheck::FormCheck", "the canonical link"));
    read(base, QT_TRANSLATE_NOOP("host::formcheck::FormCheck", "the <base href>"));
}

const GumboNode* FormPage::control(std::string_view name) const {
    for (const GumboNode* c : m_controls) {
        const char* n = page::attributeValue(c, "name");
        if (n && name == n) return c;
    }
    return nullptr;
}

bool FormPage::isVisitorField(const GumboNode* e) {
    if (page::isHtml(e, GUMBO_TAG_SELECT) || page::isHtml(e, GUMBO_TAG_TEXTAREA)) return true;
    if (!page::isHtml(e, GUMBO_TAG_INPUT)) return false;
    const std::string type = platform::text::asciiLowered(value(e, "type"));
    return type != "hidden" && type != "submit" && type != "reset" && type != "button" &&
           type != "image";
}

std::vector<const GumboNode*> FormPage::visitorFields(std::string_view name) const {
    std::vector<const GumboNode*> found;
    for (const GumboNode* c : m_controls) {
        const char* n = page::attributeValue(c, "name");
        if (n && name == n && isVisitorField(c)) found.push_back(c);
    }
    return found;
}

bool FormPage::inside(const GumboNode* node, const GumboNode* ancestor) {
    for (const GumboNode* n = node; n; n = n->parent) {
        if (n == ancestor) return true;
    }
    return false;
}

std::vector<const GumboNode*> FormPage::descendants(const GumboNode* element) {
    std::vector<const GumboNode*> out;
    page::forEachElement(element, [&](const GumboNode* e) {
        if (e != element) out.push_back(e);
    });
    return out;
}

std::vector<const GumboNode*> FormPage::commentsIn(const GumboNode* root) {
    std::vector<const GumboNode*> found;
    std::vector<const GumboNode*> pending{root};
    while (!pending.empty()) {
        const GumboNode* n = pending.back();
        pending.pop_back();
        if (n->type == GUMBO_NODE_COMMENT) found.push_back(n);
        if (n->type != GUMBO_NODE_ELEMENT && n->type != GUMBO_NODE_DOCUMENT) continue;
        auto kids = page::childrenOf(n);
        for (auto it = kids.rbegin(); it != kids.rend(); ++it) pending.push_back(*it);
    }
    return found;
}

std::size_t FormPage::offsetOfComment(const GumboNode* comment) const {
    const std::size_t at = m_parse->offsetOf(comment->v.text.original_text.data);
    return at == std::string::npos ? 0 : at;
}

std::string FormPage::textContent(const GumboNode* element) {
    std::string out;
    std::vector<const GumboNode*> pending{element};
    while (!pending.empty()) {
        const GumboNode* n = pending.back();
        pending.pop_back();
        if (page::isTextLike(n) || n->type == GUMBO_NODE_CDATA) {
            out += n->v.text.text;
            continue;
        }
        if (n->type != GUMBO_NODE_ELEMENT) continue;
        auto kids = page::childrenOf(n);
        for (auto it = kids.rbegin(); it != kids.rend(); ++it) pending.push_back(*it);
    }
    return out;
}

bool FormPage::hasToken(std::string_view list, std::string_view token) {
    const std::string lowered = platform::text::asciiLowered(list);
    std::string_view rest(lowered);
    while (!rest.empty()) {
        const auto begin = rest.find_first_not_of(" \t\n\r\f");
        if (begin == std::string_view::npos) break;
        rest.remove_prefix(begin);
        const auto end = std::min(rest.find_first_of(" \t\n\r\f"), rest.size());
        if (rest.substr(0, end) == token) return true;
        rest.remove_prefix(end);
    }
    return false;
}

const GumboAttribute* FormPage::attribute(const GumboNode* element, const char* name) {
    if (!page::isElement(element)) return nullptr;
    return gumbo_get_attribute(&element->v.element.attributes, name);
}

std::string FormPage::value(const GumboNode* element, const char* name) {
    const GumboAttribute* a = attribute(element, name);
    return a && a->value ? std::string(a->value) : std::string();
}

std::size_t FormPage::offsetOf(const GumboNode* element) const {
    if (const auto tag = page::startTagSpan(*m_parse, element)) return tag->begin;
    if (page::isElement(element)) {
        const std::size_t at = m_parse->offsetOf(element->v.element.start_pos);
        if (at < text().size()) return at;
    }
    return 0;
}

std::size_t FormPage::offsetOfAttribute(const GumboNode* element, const GumboAttribute* a) const {
    if (a && a->original_name.data) {
        const std::size_t at = m_parse->offsetOf(a->original_name.data);
        if (at != std::string::npos) return at;
    }
    return offsetOf(element);
}

std::size_t FormPage::offsetOfValue(const GumboNode* element, const GumboAttribute* a) const {
    if (a && a->original_value.data && a->original_value.length > 0) {
        const std::size_t at = m_parse->offsetOf(a->original_value.data);
        if (at != std::string::npos) {
            const char first = a->original_value.data[0];
            return at + (first == '"' || first == '\'' ? 1 : 0);
        }
    }
    return offsetOfAttribute(element, a);
}

std::optional<std::string_view> FormPage::writtenValue(const GumboAttribute* a) const {
    if (!a || !a->original_value.data || m_parse->offsetOf(a->original_value.data) == std::string::npos)
        return std::nullopt;
    std::string_view v(a->original_value.data, a->original_value.length);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return v;
}

std::size_t FormPage::endOf(const GumboNode* element) const {
    if (const auto tag = page::endTagSpan(*m_parse, element)) return tag->end;
    std::size_t end = offsetOf(element);
    if (const auto tag = page::startTagSpan(*m_parse, element)) end = tag->end;
    std::vector<const GumboNode*> pending{element};
    while (!pending.empty()) {
        const GumboNode* n = pending.back();
        pending.pop_back();
        if (page::isTextLike(n) || n->type == GUMBO_NODE_CDATA || n->type == GUMBO_NODE_COMMENT) {
            const std::size_t at = m_parse->offsetOf(n->v.text.original_text.data);
            if (at != std::string::npos) end = std::max(end, at + n->v.text.original_text.length);
            continue;
        }
        if (n->type != GUMBO_NODE_ELEMENT) continue;
        if (const auto tag = page::endTagSpan(*m_parse, n)) end = std::max(end, tag->end);
        if (const auto tag = page::startTagSpan(*m_parse, n)) end = std::max(end, tag->end);
        for (const GumboNode* kid : page::childrenOf(n)) pending.push_back(kid);
    }
    return end;
}

QString FormPage::placeName(std::size_t offset) const {
    const page::LineColumn at = page::lineColumnOf(text(), offset);
    return QCoreApplication::translate("host::formcheck::FormCheck", "line %1, column %2")
        .arg(at.line)
        .arg(at.column);
}

Finding FormPage::finding(Severity severity, CheckKind check, std::size_t offset, QString what,
                          QString advice) const {
    const page::LineColumn at = page::lineColumnOf(text(), offset);
    return Finding{severity, check, std::move(what), at.line, at.column, std::move(advice)};
}

QString elementName(const GumboNode* e) {
    QString name = u'<' + QString::fromStdString(page::lowerName(e));
    if (const char* n = page::attributeValue(e, "name"); n && *n)
        name += QCoreApplication::translate("host::formcheck::FormCheck", " name=%1")
                    .arg(quoted(std::string_view(n)));
    else if (const char* id = page::attributeValue(e, "id"); id && *id)
        name += QCoreApplication::translate("host::formcheck::FormCheck", " id=%1")
                    .arg(quoted(std::string_view(id)));
    return name + u'>';
}

QString quoted(std::string_view value) {
    return quoted(QString::fromUtf8(value.data(), qsizetype(value.size())));
}

QString quoted(const QString& value) {
    constexpr qsizetype kLongest = 60;
    QString out = QStringLiteral("\"");
    qsizetype shown = 0;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (shown == kLongest) {
            out += QStringLiteral("...");
            break;
        }
        const QChar c = value[i];
        if (c == u'\n') {
            out += QStringLiteral("\\n");
        } else if (c == u'\t') {
            out += QStringLiteral("\\t");
        } else if (c == u'"' || c == u'\\') {
            out += u'\\';
            out += c;
        } else if (c.unicode() < 0x20 || c.unicode() == 0x7F ||
                   (c.unicode() >= 0x80 && c.unicode() < 0xA0) || c == QChar(0x2028) ||
                   c == QChar(0x2029)) {
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        } else {
            out += c;
        }
        ++shown;
    }
    return out + u'"';
}

}  // namespace host::formcheck
