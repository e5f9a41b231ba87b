// The page as the form checks read it: one parse of the page document, the sign-up region
// and its form, where things are in the text, and where the page is published.
#pragma once

#include <gumbo.h>

#include <QString>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/formcheck/content_policy.h"
#include "host/formcheck/form_finding.h"
#include "host/formcheck/web_address.h"
#include "host/page/parsed_html.h"

namespace host::formcheck {

// The id of the element the add-in writes the snippet into.
inline constexpr std::string_view kRegionId = "OstrelInsert";

// What the page says about the address it is published at: the first of the published-at
// setting (with the page's path in the site), its canonical link and its <base href>.
struct Publishing {
    std::optional<WebAddress> pageAddress;  // the page's own address, where known
    // The published-at setting as the address of the site's folder (the page's folder for a
    // page checked alone), where it is given: the setting may name the page itself.
    std::optional<WebAddress> siteAddress;
    // Where the page tells that it is published over https, in the author's words ("the
    // canonical link at line 5, column 1"); empty when nothing tells so.
    QString httpsSource;
    std::optional<csp::Origin> origin() const;
};

class FormPage {
public:
    // Parses the page (UTF-8). Throws com::Error when the page is too large or too complex
    // for the parser.
    FormPage(std::string utf8, const PageContext& context);
    ~FormPage();
    FormPage(const FormPage&) = delete;
    FormPage& operator=(const FormPage&) = delete;

    const page::ParsedHtml& parse() const { return *m_parse; }
    std::string_view text() const;
    const PageContext& context() const { return m_context; }

    // Every element in document order.
    const std::vector<const GumboNode*>& elements() const { return m_elements; }
    // The sign-up regions: the elements the add-in's lookup finds by "OstrelInsert" (an id,
    // or the name of a form, input, image and the like), in document order.
    const std::vector<const GumboNode*>& regions() const { return m_regions; }
    bool isRegion(const GumboNode* element) const;
    // The region that holds the form, else the first; nullptr without one.
    const GumboNode* region() const {
        return m_formRegion ? m_formRegion : m_regions.empty() ? nullptr : m_regions.front();
    }
    // The sign-up form: the first form inside a region (not a region itself); nullptr without one.
    const GumboNode* form() const { return m_form; }
    // The form's controls (input, select, textarea, button) inside it in the tree.
    const std::vector<const GumboNode*>& controls() const { return m_controls; }
    // The first control of the form with this name (any type), or nullptr.
    const GumboNode* control(std::string_view name) const;
    // The controls a visitor fills in with this name: neither hidden nor buttons.
    std::vector<const GumboNode*> visitorFields(std::string_view name) const;
    static bool isVisitorField(const GumboNode* element);
    const Publishing& publishing() const { return m_publishing; }

    // Whether `node` lies inside `ancestor` (or is it).
    static bool inside(const GumboNode* node, const GumboNode* ancestor);
    // The element's descendants that are elements, in document order.
    static std::vector<const GumboNode*> descendants(const GumboNode* element);
    // The comments under `root` (an element, or the document), in document order.
    static std::vector<const GumboNode*> commentsIn(const GumboNode* root);
    // The text content of an element (its text nodes in order).
    static std::string textContent(const GumboNode* element);
    static const GumboAttribute* attribute(const GumboNode* element, const char* name);
    // The attribute's value, or "" when it is missing.
    static std::string value(const GumboNode* element, const char* name);
    // Whether a list of tokens separated by white space (rel, sandbox) holds `token` (lower
    // case), in any letter case.
    static bool hasToken(std::string_view list, std::string_view token);

    // Where things start in the text (byte offsets): an element's start tag (or, for an
    // element the parser made up, the nearest written element around it), an attribute's
    // name and an attribute's value (after its quote).
    std::size_t offsetOf(const GumboNode* element) const;
    std::size_t offsetOfAttribute(const GumboNode* element, const GumboAttribute* a) const;
    std::size_t offsetOfValue(const GumboNode* element, const GumboAttribute* a) const;
    // The attribute's value as written in the text (between its quotes), or nothing when it
    // cannot be found there.
    std::optional<std::string_view> writtenValue(const GumboAttribute* a) const;
    // Where a comment starts (its "<!--").
    std::size_t offsetOfComment(const GumboNode* comment) const;
    // Where an element's source ends: its end tag, or the end of its last written descendant.
    std::size_t endOf(const GumboNode* element) const;

    // "line 12, column 3" of an offset, and the finding at that offset.
    QString placeName(std::size_t offset) const;
    Finding finding(Severity severity, CheckKind check, std::size_t offset, QString what,
                    QString advice) const;

private:
    void findRegionAndForm();
    void readPublishing();

    PageContext m_context;
    std::unique_ptr<page::ParsedHtml> m_parse;
    std::vector<const GumboNode*> m_elements;
    std::vector<const GumboNode*> m_regions;
    const GumboNode* m_form = nullptr;
    const GumboNode* m_formRegion = nullptr;
    std::vector<const GumboNode*> m_controls;
    Publishing m_publishing;
};

// A value as it can stand in a message: in quotes, shortened past 60 characters, control
// characters shown as \n, \t or \xHH.
QString quoted(std::string_view value);
QString quoted(const QString& value);

// An element as a message names it: <input name="from">, <h2 id="title">, or <p>.
QString elementName(const GumboNode* element);

}  // namespace host::formcheck
