// Runs the add-in's insertion over every corpus page and snippet and writes the edited pages
// and a manifest for the browser comparison (differential.mjs).
//
// Usage: page_differential_edit <corpus-folder> <snippet-folder> <output-folder> [N [sweep]]
// N: how many damaged copies of corpus pages to add (see below). sweep: a folder of the
// element sweep's pages (element-pages.mjs), each edited once and compared parse for parse.
// Each page is run with "@MARKER@" written as "OstrelInsert" and as "OstrelOther", and each
// edit both with the checkpoint check and with whole-page checks.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>

#include "com/error.h"
#include "host/page/gumbo_tree.h"
#include "host/page/html_document_object.h"
#include "host/page/page_model.h"
#include "testing/addin_operation.h"
#include "tests/page/file_io.h"
#include "tests/page/recording_page_text.h"
#include "tests/page/page_damage.h"

namespace fs = std::filesystem;

namespace {

using test_files::readFile;
using test_files::writeFile;

std::string json(const std::string& s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    return out + "\"";
}

const char* namespaceUri(GumboNamespaceEnum ns) {
    switch (ns) {
        case GUMBO_NAMESPACE_SVG:
            return "http://www.w3.org/2000/svg";
        case GUMBO_NAMESPACE_MATHML:
            return "http://www.w3.org/1998/Math/MathML";
        default:
            return "http://www.w3.org/1999/xhtml";
    }
}

const char* attributeNamespace(GumboAttributeNamespaceEnum ns) {
    switch (ns) {
        case GUMBO_ATTR_NAMESPACE_XLINK:
            return "http://www.w3.org/1999/xlink";
        case GUMBO_ATTR_NAMESPACE_XML:
            return "http://www.w3.org/XML/1998/namespace";
        case GUMBO_ATTR_NAMESPACE_XMLNS:
            return "http://www.w3.org/2000/xmlns/";
        default:
            return "";
    }
}

// Gumbo's tree in the browser helper's dump format (chromium.mjs, dumpTree), so that the
// browser can say where gumbo reads the original page unlike itself.
std::string dumpTree(const host::page::ParsedHtml& parsed) {
    namespace hp = host::page;
    const GumboNode* document = parsed.document();
    std::string out = parsed.quirks() ? "mode BackCompat" : "mode CSS1Compat";
    const GumboDocument& d = document->v.document;
    struct Frame {
        const GumboNode* node;
        std::size_t next;
        int depth;
    };
    std::vector<Frame> stack{{document, 0, 0}};
    std::string text;
    bool inText = false;
    bool doctypeDone = !d.has_doctype;
    std::size_t doctypeAt = 0;
    for (std::size_t at = parsed.text().find("<!"); at != std::string::npos;
         at = parsed.text().find("<!", at + 2)) {
        if (parsed.text().size() > at + 9 &&
            std::equal(at + parsed.text().begin() + 2, at + parsed.text().begin() + 9, "doctype",
                       [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; })) {
            doctypeAt = at;
            break;
        }
    }
    auto flush = [&](int depth) {
        if (inText) out += "\n" + std::string(depth, ' ') + "#text " + json(text);
        inText = false;
        text.clear();
    };
    while (!stack.empty()) {
        Frame& f = stack.back();
        const auto kids = hp::childrenOf(f.node);
        // Gumbo keeps no doctype node: it goes before the first node written after it.
        if (!doctypeDone && (f.next == kids.size() ||
                             parsed.offsetOf(kids[f.next]->type == GUMBO_NODE_ELEMENT
                                                 ? kids[f.next]->v.element.start_pos
                                                 : kids[f.next]->v.text.start_pos) >= doctypeAt)) {
            // A legacy doctype's name is changed before parsing (see parsed_html.cpp).
            const std::string name = d.name == std::string("htm_") ? "html" : d.name;
            out += "\n#doctype " + name + "|" + d.public_identifier + "|" + d.system_identifier;
            doctypeDone = true;
        }
        if (f.next == kids.size()) {
            flush(f.depth);
            stack.pop_back();
            continue;
        }
        const GumboNode* n = kids[f.next++];
        const std::string pad(f.depth, ' ');
        if (n->type == GUMBO_NODE_TEXT || n->type == GUMBO_NODE_WHITESPACE ||
            n->type == GUMBO_NODE_CDATA) {
            text += n->v.text.text;
            inText = true;
            continue;
        }
        flush(f.depth);
        if (n->type == GUMBO_NODE_COMMENT) {
            out += "\n" + pad + "#comment " + json(n->v.text.text);
            continue;
        }
        const GumboElement& e = n->v.element;
        out += "\n" + pad + "<" + namespaceUri(e.tag_namespace) + "|" + hp::serializedName(n) +
               "> ";
        for (unsigned i = 0; i < e.attributes.length; ++i) {
            const auto* a = static_cast<const GumboAttribute*>(e.attributes.data[i]);
            out += std::string(i ? " " : "") + attributeNamespace(a->attr_namespace) + "|" +
                   a->name + "=" + json(a->value);
        }
        stack.push_back({n, 0, f.depth + 1});
    }
    return out;
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

std::vector<fs::path> filesIn(const fs::path& folder) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.is_regular_file()) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4 || argc > 6) {
        std::cerr << "usage: page_differential_edit <corpus> <snippets> <output> [damaged-pages "
                     "[sweep-folder]]\n";
        return 2;
    }
    const int damagedPages = argc >= 5 ? std::atoi(argv[4]) : 0;
    const fs::path corpus = argv[1];
    const fs::path snippets = argv[2];
    const fs::path output = argv[3];
    fs::create_directories(output);
    std::ofstream manifest(output / "manifest.json", std::ios::binary);
    manifest << "[\n";
    int failures = 0;
    bool first = true;
    std::vector<std::pair<std::string, std::string>> pages;  // name, text
    for (const fs::path& pagePath : filesIn(corpus)) {
        pages.emplace_back(pagePath.stem().string(), readFile(pagePath));
    }
    const std::size_t written = pages.size();
    // Damaged pages: corpus pages with stray tags, text and line breaks written in at random
    // places (a fixed seed). Refusing one is allowed; a wrong tree is not.
    std::mt19937 random(20261207);
    for (int n = 0; n < damagedPages; ++n) {
        const std::string page =
            host::testing::damagePage(pages[random() % written].second, random);
        pages.emplace_back("damaged-" + std::to_string(n), page);
    }

    // Generated pages: each element kind in the places where parsers have changed their rules
    // (inside a paragraph, a table, a select, foreign content, left open at the end).
    const std::size_t generatedFrom = pages.size();
    for (const char* tag :
         {"search", "hgroup", "menu", "dialog", "details", "summary", "main", "template",
          "image", "isindex", "keygen", "nobr", "marquee", "listing", "xmp", "plaintext",
          "noscript", "math", "svg", "button", "select", "option", "hr", "datalist",
          "object", "applet", "frameset", "ruby", "rb", "rtc", "font", "center", "table"}) {
        const std::string t = tag;
        for (const std::string& body :
             {"<p>one <" + t + ">two</" + t + "> three</p>\n<p>four</p>\n",
              "<table><tr><td>a<" + t + ">b</td></tr></table>\n<p>c</p>\n",
              "<select><option>a<" + t + ">b</" + t + "></select>\n<p>c</p>\n",
              "<svg><" + t + ">a</" + t + "><p>b</svg>\n<p>c</p>\n",
              "<p>one <" + t + ">two\n"}) {
            pages.emplace_back("generated-" + t + "-" + std::to_string(pages.size()),
                               "<!DOCTYPE html>\n<html><head><title>t</title></head>\n<body>\n" +
                                   body + "</body>\n</html>\n");
        }
    }
    // Pages that end inside something left open, in the head or the body.
    for (const char* ending :
         {"<head><script>var a = 1;\n", "<head><style>p { color: red }\n",
          "<head><title>Club news\n", "<head><!-- note\n", "<body><textarea>Your note\n",
          "<body><p>x</p><script><!--\n", "<body><b><p><i>x\n", "<body><table><tr><td>x\n",
          "<body><select><option>x\n", "<body><p>x<a href=y>link\n",
          // Closers written before the division: '>', "-->", "]]>", end tags.
          "<body><p>x<?php echo 1;\n", "<body><p>x<!x\n", "<body><p>x<!-- note\n",
          "<body><p>x<!--\n", "<body><p>x<!-\n", "<body><svg><![CDATA[x\n",
          "<body><math><mi><![CDATA[x\n", "<body><table><tr><td>x<!-- c\n",
          "<body><p>x</b", "<body><p>x<b", "<body><script>x<!--<script>\n",
          "<body><script>x<!--\n", "<body><b><table><tr><td>x</b>\n",
          "<body><table><b>x\n", "<body><table><tr><td><b>x\n", "<body><table><i><tr><td>x\n",
          "<head><title>t</title><!-- c\n", "<head><?xml x\n", "<body><div><select>x<!-- c\n",
          "<body><textarea>x</textarea\n", "<body><p>x<svg><p>y\n", "<body>x&amp\n",
          // Constructs gumbo reads unlike browsers, each refused or edited to their tree.
          "<body>\n<dialog open><p>Hello</dialog>\n</body>\n", "<body><search><div>x</search>\n",
          "<body><form><isindex>x\n", "<body><p>x<?", "<body><p>x<?\n",
          "<body><nobr><table><marquee></table><nobr>\n", "<body><script><!--<script </",
          // Comments whose end the page has begun: the closer finishes it.
          "<body><p>x<!-- c -", "<body><p>x<!-- c --", "<body><p>x<!-- c --!"}) {
        pages.emplace_back("generated-open-end-" + std::to_string(pages.size()),
                           std::string("<!DOCTYPE html>\n<html>") + ending);
    }
    // Pages that only the author's own text can change into one that takes the division:
    // browsers keep a "</" at the very end as text, and any text after it makes it a tag or
    // a comment. Refusing them is allowed.
    const std::size_t refusableFrom = pages.size();
    for (const char* ending : {"<body><p>x</", "<body><p>x</\n"}) {
        pages.emplace_back("generated-refusable-" + std::to_string(pages.size()),
                           std::string("<!DOCTYPE html>\n<html>") + ending);
    }

    const std::size_t sweepFrom = pages.size();
    if (argc == 6) {
        for (const fs::path& pagePath : filesIn(argv[5])) {
            pages.emplace_back(pagePath.stem().string(), readFile(pagePath));
        }
    }

    for (std::size_t index = 0; index < pages.size(); ++index) {
        const auto& [pageName, page] = pages[index];
        const bool damaged = index >= written && index < generatedFrom;
        const bool generated = index >= generatedFrom;
        // The sweep's pages: one edit each, the way the editor checks it.
        const bool sweep = index >= sweepFrom;
        const bool refusable = index >= refusableFrom && index < sweepFrom;
        for (const char* variant : {"marker", "plain"})
            for (const bool wholePage : {false, true}) {
                if (sweep && (std::string(variant) == "marker" || wholePage)) continue;
                const std::string original =
                    replaceAll(page, "@MARKER@",
                               std::string(variant) == "marker" ? "OstrelInsert" : "OstrelOther");
                for (const fs::path& snippetPath : filesIn(snippets)) {
                    // Generated pages: the appended division, with three snippets.
                    if (generated && (std::string(variant) == "marker" ||
                                      snippetPath.stem().string() > (sweep ? "a-signup-form" : "c"))) {
                        continue;
                    }
                    const std::string snippet = readFile(snippetPath);
                    const std::string name = pageName + "." + variant + "." +
                                             snippetPath.stem().string() +
                                             (wholePage ? ".whole" : ".checkpoint");
                    auto text = std::make_shared<host::testing::RecordingPageText>(original);
                    std::string error;
                    try {
                        auto document = host::createHtmlDocument(std::make_shared<host::PageModel>(
                            text, host::page::ParseLimits{}, wholePage));
                        host::testing::runAddinInsertion(document.get(), snippet);
                    } catch (const com::Error& e) {
                        error = e.description();
                    }
                    const std::string& edited = text->current();
                    // Every byte outside the one replaced range is the author's.
                    std::string byteCheck = "ok";
                    const auto& edits = text->replacements();
                    if (error.empty() && edits.size() != 1) byteCheck = "expected one replacement";
                    if (!error.empty() && (!edits.empty() || edited != original)) {
                        byteCheck = "text changed by a failed edit";
                    }
                    if (edits.size() == 1) {
                        const auto& r = edits[0];
                        const std::size_t tail = original.size() - r.offset - r.length;
                        if (edited.compare(0, r.offset, original, 0, r.offset) != 0 ||
                            edited.compare(edited.size() - tail, tail, original,
                                           original.size() - tail, tail) != 0) {
                            byteCheck = "bytes outside the edit changed";
                        }
                    }
                    if (byteCheck != "ok") ++failures;
                    // A page edited once takes the next run (the marker's content replaced).
                    std::string secondRun;
                    bool verbatim = false;
                    if (error.empty()) {
                        const std::string& inserted = edits.at(0).text;
                        verbatim = inserted == snippet ||
                                   inserted.find(host::testing::kWrapperStart + snippet +
                                                 host::testing::kWrapperEnd) != std::string::npos;
                        auto again = std::make_shared<host::testing::RecordingPageText>(edited);
                        try {
                            host::testing::runAddinInsertion(
                                host::createHtmlDocument(std::make_shared<host::PageModel>(again))
                                    .get(),
                                snippet);
                        } catch (const com::Error& e) {
                            secondRun = e.description();
                        }
                    }
                    writeFile(output / (name + ".original.html"), original);
                    if (error.empty()) writeFile(output / (name + ".edited.html"), edited);
                    manifest << (first ? "" : ",\n") << "{\"name\":" << json(name)
                             << ",\"original\":"
                             << json((output / (name + ".original.html")).string())
                             << ",\"snippet\":" << json(snippetPath.string());
                    if (error.empty()) {
                        manifest << ",\"edited\":"
                                 << json((output / (name + ".edited.html")).string())
                                 << ",\"offset\":" << edits[0].offset
                                 << ",\"removed\":" << edits[0].length
                                 << ",\"inserted\":" << json(edits[0].text)
                                 << ",\"verbatim\":" << (verbatim ? "true" : "false");
                        if (!secondRun.empty()) manifest << ",\"secondRun\":" << json(secondRun);
                    } else {
                        manifest << ",\"error\":" << json(error);
                    }
                    // Gumbo's own tree of the page, for the browser to compare with its own
                    // (once per page, and where a generated page was refused).
                    if (generated || (std::string(variant) == "plain" && wholePage &&
                                      snippetPath.stem() == "a-signup-form")) {
                        manifest << ",\"gumbo\":"
                                 << json(dumpTree(*host::page::ParsedHtml::parse(original, {})));
                    }
                    manifest << ",\"bytes\":" << json(byteCheck)
                             << ",\"damaged\":" << (damaged ? "true" : "false")
                             << ",\"generated\":" << (generated ? "true" : "false")
                             << ",\"sweep\":" << (sweep ? "true" : "false")
                             << ",\"refusable\":" << (refusable ? "true" : "false") << "}";
                    first = false;
                }
            }
    }
    manifest << "\n]\n";
    if (com::liveObjectCount() != 0) {
        std::cerr << "counted objects left alive: " << com::liveObjectCount() << "\n";
        ++failures;
    }
    return failures == 0 ? 0 : 1;
}
