// The template the build puts beside the module: complete, well-formed and accessible.
#include <gtest/gtest.h>
#include <gumbo.h>

#include <map>
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

std::string textOf(const GumboNode* node) {
    if (node->type == GUMBO_NODE_TEXT) return node->v.text.text;
    std::string text;
    if (node->type == GUMBO_NODE_ELEMENT) {
        const GumboVector& children = node->v.element.children;
        for (unsigned i = 0; i < children.length; ++i) {
            text += textOf(static_cast<const GumboNode*>(children.data[i]));
        }
    }
    return text;
}

void collect(const GumboNode* node, GumboTag tag, std::vector<const GumboNode*>& out) {
    if (node->type != GUMBO_NODE_ELEMENT) return;
    if (node->v.element.tag == tag) out.push_back(node);
    const GumboVector& children = node->v.element.children;
    for (unsigned i = 0; i < children.length; ++i) {
        collect(static_cast<const GumboNode*>(children.data[i]), tag, out);
    }
}

class ShippedTemplate : public testing::Test {
protected:
    void SetUp() override {
        ostrel::WizardEntries entries;  // every box empty, both fields required
        m_snippet = ostrel::buildSnippet(entries, m_store, ostrel::moduleFolder());
        m_page = "<!DOCTYPE html><html lang=\"en\"><head><title>t</title></head><body>" +
                 m_snippet + "</body></html>";
        m_output = gumbo_parse(m_page.c_str());
    }
    void TearDown() override { gumbo_destroy_output(&kGumboDefaultOptions, m_output); }
    std::vector<const GumboNode*> all(GumboTag tag) const {
        std::vector<const GumboNode*> out;
        collect(m_output->root, tag, out);
        return out;
    }

    snippet_test::RecordingSettingsStore m_store;
    std::string m_snippet, m_page;
    GumboOutput* m_output = nullptr;
};

TEST_F(ShippedTemplate, EveryPlaceholderIsFilled) {
    EXPECT_EQ(m_snippet.find("<<"), std::string::npos) << m_snippet;
    EXPECT_EQ(m_snippet.find(">>"), std::string::npos) << m_snippet;
    EXPECT_EQ(m_output->errors.length, 0u) << "the page with the form does not parse cleanly";
}

TEST_F(ShippedTemplate, IsAnAccessibleSignUpForm) {
    const auto forms = all(GUMBO_TAG_FORM);
    ASSERT_EQ(forms.size(), 1u);
    EXPECT_TRUE(attribute(forms[0], "action").starts_with("http://www.ostrel.example/"));

    const auto headings = all(GUMBO_TAG_H2);
    ASSERT_EQ(headings.size(), 1u);
    EXPECT_EQ(textOf(headings[0]), "For More Information");

    std::set<std::string> labelled;
    for (const GumboNode* label : all(GUMBO_TAG_LABEL)) labelled.insert(attribute(label, "for"));
    std::set<std::string> visibleNames;
    std::map<std::string, std::string> hidden;
    for (const GumboNode* input : all(GUMBO_TAG_INPUT)) {
        if (attribute(input, "type") == "hidden") {
            hidden[attribute(input, "name")] = attribute(input, "value");
            continue;
        }
        visibleNames.insert(attribute(input, "name"));
        EXPECT_TRUE(labelled.contains(attribute(input, "id")))
            << "no label for field " << attribute(input, "name");
    }
    EXPECT_EQ(visibleNames, (std::set<std::string>{"name", "from"}));

    std::set<std::string> hiddenValues;
    for (const auto& [name, value] : hidden) hiddenValues.insert(value);
    EXPECT_EQ(hiddenValues,
              (std::set<std::string>{"None", "adcategory", "http://www.ostrel.example/", "none",
                                     "name,from"}));
}

}  // namespace
