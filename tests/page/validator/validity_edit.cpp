// Runs the add-in twice over every corpus page, with the project's own web form and the
// e-mail link as the wizard generates them (entries with HTML specials), and writes each
// page before and after each run for the Nu Html Checker (validity.mjs).
//
// Usage: page_validity_edit <corpus-folder> <template.wtf> <output-folder>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

#include "com/error.h"
#include "host/page/html_document_object.h"
#include "host/page/page_model.h"
#include "testing/addin_operation.h"
#include "tests/page/file_io.h"
#include "tests/page/recording_page_text.h"
#include "wizard/snippet/snippet_builder.h"
#include "wizard/snippet/template_file.h"

namespace fs = std::filesystem;

namespace {

using test_files::readFile;
using test_files::writeFile;

class MemoryStore : public ostrel::SettingsStore {
public:
    std::optional<std::string> value(std::string_view, std::string_view,
                                     std::string_view key) const override {
        const auto found = m_values.find(std::string(key));
        if (found == m_values.end()) return std::nullopt;
        return found->second;
    }
    void setValue(std::string_view, std::string_view, std::string_view key,
                  std::string_view value) override {
        m_values[std::string(key)] = value;
    }

private:
    std::map<std::string, std::string> m_values;
};

// The snippets of a first and a second run, as the wizard builds them.
std::pair<std::string, std::string> snippets(bool emailLink, const std::string& templateText) {
    MemoryStore store;
    store.setValue("", "", "MailtoLink", "<a href=\"mailto:<<EMAIL>>\"><<MAILTOTEXT>></a>");
    ostrel::WizardEntries first;
    first.emailLink = emailLink;
    first.listId = "gardener42";
    first.linkText = "Write to us & join the <em>list</em>";
    first.formHeader = "Tips &amp; news from the <em>Harbour Lane</em> growers";
    first.adTracking = "spring-2027";
    first.thankUrl = "http://www.gardenclub.example/thanks.html?from=form&list=news";
    first.msgNo = "1";
    ostrel::WizardEntries second = first;
    second.listId = "o'brien";
    second.linkText = "Sign up \xE2\x80\x93 it's free";
    second.formHeader = "Join us \xE2\x80\x94 it's free & easy";
    second.requireName = 0;
    auto build = [&](const ostrel::WizardEntries& e) {
        return emailLink ? ostrel::buildSnippet(e, store, {})
                         : ostrel::fillWebForm(templateText, e, store);
    };
    return {build(first), build(second)};
}

// The page after the add-in's insertion, or the failure's description after "!".
std::string run(const std::string& page, const std::string& snippet) {
    auto text = std::make_shared<host::testing::RecordingPageText>(page);
    try {
        host::testing::runAddinInsertion(
            host::createHtmlDocument(std::make_shared<host::PageModel>(text)).get(), snippet);
    } catch (const com::Error& e) {
        return "!" + e.description();
    }
    return text->current();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: page_validity_edit <corpus> <template.wtf> <output>\n";
        return 2;
    }
    const fs::path output = argv[3];
    fs::create_directories(output);
    const fs::path templatePath = argv[2];
    const std::string templateText = ostrel::readTemplateFile(
        templatePath.parent_path(), templatePath.filename().string());
    std::vector<fs::path> pages;
    for (const auto& entry : fs::directory_iterator(argv[1])) pages.push_back(entry.path());
    std::sort(pages.begin(), pages.end());
    std::ofstream manifest(output / "manifest.tsv", std::ios::binary);
    int failures = 0;
    for (const fs::path& path : pages) {
        // The marker under another name: the first run appends the division.
        std::string page = readFile(path);
        for (std::size_t at; (at = page.find("@MARKER@")) != std::string::npos;) {
            page.replace(at, 8, "OstrelOther");
        }
        const std::string name = path.stem().string();
        writeFile(output / (name + ".before.html"), page);
        for (const bool emailLink : {false, true}) {
            const auto [first, second] = snippets(emailLink, templateText);
            const std::string kind = emailLink ? "link" : "form";
            const std::string once = run(page, first);
            std::string twice;
            if (!once.starts_with('!')) {
                writeFile(output / (name + "." + kind + ".run1.html"), once);
                twice = run(once, second);
                if (twice.starts_with('!')) {
                    std::cerr << name << " (" << kind << "): edited once, then refused: "
                              << twice.substr(1) << "\n";
                    ++failures;
                } else {
                    writeFile(output / (name + "." + kind + ".run2.html"), twice);
                }
            }
            manifest << name << '\t' << kind << '\t'
                     << (once.starts_with('!') ? once.substr(1) : "") << '\n';
        }
    }
    if (com::liveObjectCount() != 0) {
        std::cerr << "counted objects left alive: " << com::liveObjectCount() << "\n";
        ++failures;
    }
    return failures == 0 ? 0 : 1;
}
