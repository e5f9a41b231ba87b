// The template the build puts beside the module: complete, well-formed and accessible.
#include <gtest/gtest.h>
#include <gumbo.h>

#include <set>
#include <string>
#include <vector>

#include "tests/snippet/recording_settings_store.h"
#include "wizard/snippet/module_folder.h"
#include "wizard/snippet/snippet_builder.h"

namespace {

std::string attribute(const GumboNode* node, const char* name) {
    const GumboAttribute* a = gumbo_get_attribute(&node->v.element.attributes, name);
    return a ? a->value : "";
}

void collectElements(const GumboNode* node, std::vector<const GumboNode*>& out) {
    if (node->type != GUMBO_NODE_ELEMENT) return;
    out.push_back(node);
    const GumboVector& children = node->v.element.children;
    for (unsigned i = 0; i < children.length; ++i) {
        collectElements(static_cast<const GumboNode*>(children.data[i]), out);
    }
}

TEST(ShippedTemplate, GivesAWellFormedLabelledSignUpFormWithEveryPlaceholderFilled) {
    snippet_test::RecordingSettingsStore store;
    const ostrel::WizardEntries entries;  // every box empty, both fields required
    const std::string snippet = ostrel::buildSnippet(entries, store, ostrel::moduleFolder());
    EXPECT_EQ(snippet.find("<<"), std::string::npos) << snippet;
    EXPECT_EQ(snippet.find(">>"), std::string::npos) << snippet;

    const std::string page =
        "<!DOCTYPE html><html lang=\"en\"><head><title>t</title></head><body>" + snippet +
        "</body></html>";
    GumboOutput* output = gumbo_parse(page.c_str());
    EXPECT_EQ(output->errors.length, 0u) << "the page with the form does not parse cleanly";
    std::vector<const GumboNode*> elements;
    collectElements(output->root, elements);

    std::set<std::string> labelled, fieldIds, fieldNames, hiddenValues, actions;
    int headings = 0;
    for (const GumboNode* e : elements) {
        switch (e->v.element.tag) {
            case GUMBO_TAG_FORM:
                actions.insert(attribute(e, "action"));
                break;
            case GUMBO_TAG_H2:
                ++headings;
                break;
            case GUMBO_TAG_LABEL:
                labelled.insert(attribute(e, "for"));
                break;
            case GUMBO_TAG_INPUT:
                if (attribute(e, "type") == "hidden") {
                    hiddenValues.insert(attribute(e, "value"));
                } else {
                    fieldIds.insert(attribute(e, "id"));
                    fieldNames.insert(attribute(e, "name"));
                }
                break;
            default:
                break;
        }
    }
    gumbo_destroy_output(&kGumboDefaultOptions, output);

    EXPECT_EQ(actions, std::set<std::string>{"https://www.ostrel.example/cgi/subscribe"});
    EXPECT_EQ(headings, 1);
    EXPECT_EQ(labelled, fieldIds) << "every visible field has its label";
    EXPECT_EQ(fieldNames, (std::set<std::string>{"name", "from"}));
    EXPECT_EQ(hiddenValues,
              (std::set<std::string>{"None", "adcategory", "http://www.ostrel.example/", "none",
                                     "name,from"}));
}

}  // namespace
