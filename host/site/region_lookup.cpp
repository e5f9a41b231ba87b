// Finding an element by id in a page's bytes and its parse.
#include "host/site/region_lookup.h"

#include <algorithm>

#include "host/pagefile/page_file_format.h"
#include "host/page/gumbo_tree.h"
#include "host/page/source_spans.h"

namespace host::site {

IdPrefilter::IdPrefilter(const QString& id) {
    std::vector<QByteArray> forms{id.toUtf8()};
    const auto add = [&](QByteArray form) {
        if (!form.isEmpty() && std::find(forms.begin(), forms.end(), form) == forms.end())
            forms.push_back(std::move(form));
    };
    QByteArray le, be;
    for (QChar c : id) {
        le.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
        be.append(char(c.unicode() >> 8)).append(char(c.unicode() & 0xFF));
    }
    add(le);
    add(be);
    PageFileFormat windows1252;
    windows1252.encoding = TextEncoding::Windows1252;
    try {
        add(encodePage(id, windows1252));
    } catch (const UnencodableCharacter&) {
    }
    for (const QByteArray& f : forms) m_matchers.emplace_back(f);
}

bool IdPrefilter::mayHold(const QByteArray& bytes) const {
    for (const QByteArrayMatcher& m : m_matchers) {
        if (m.indexIn(bytes) >= 0) return true;
    }
    return false;
}

std::vector<const GumboNode*> elementsWithId(const PageSnapshot& snapshot, const std::string& id) {
    std::vector<const GumboNode*> found;
    page::forEachElement(snapshot.parse().document(), [&](const GumboNode* e) {
        const char* value = page::attributeValue(e, "id");
        if (value && id == value) found.push_back(e);
    });
    return found;
}

std::string contentSource(PageModel& model, const PageSnapshot& snapshot,
                          const GumboNode* element) {
    const page::ParsedHtml& parse = snapshot.parse();
    const auto begin = page::contentBegin(parse, element);
    const auto end = page::endTagSpan(parse, element);
    std::string content = begin && end && *begin <= end->begin && !snapshot.movedElements()
                              ? parse.text().substr(*begin, end->begin - *begin)
                              : model.innerHtml(model.refOf(snapshot, element));
    // An open page's text has the file's own line breaks; pages compare and take content
    // with '\n' alone, and each writes it back with its own.
    if (content.find('\r') == std::string::npos) return content;
    std::string out;
    for (std::size_t i = 0; i < content.size(); ++i) {
        if (content[i] != '\r') {
            out += content[i];
        } else if (i + 1 >= content.size() || content[i + 1] != '\n') {
            out += '\n';
        }
    }
    return out;
}

}  // namespace host::site
