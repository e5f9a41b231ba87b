// Where the form is, when that alone stops every sign-up: commented out (browsers show
// nothing of it), or shown in a frame whose sandbox does not allow forms (browsers block its
// submission; Chromium says so only in its console).
#include <QCoreApplication>
#include <QFileInfo>
#include <algorithm>

#include "host/formcheck/form_checks.h"
#include "host/formcheck/service_address.h"
#include "host/page/gumbo_tree.h"
#include "host/pagefile/page_file.h"
#include "platform/text/ascii.h"

namespace host::formcheck {
namespace {

QString regionName() {
    return QString::fromLatin1(kRegionId.data(), qsizetype(kRegionId.size()));
}

// A sign-up form written inside a comment: in a region that holds nothing else (or its
// fields, left out of the comment with the form's end), or anywhere with the region's name
// where the page has no region. A region that shows an e-mail link or text beside an old form
// kept in a comment is the author's choice.
bool commentedOut(const FormPage& page, std::vector<Finding>& out) {
    const GumboNode* region = page.region();
    const GumboNode* root = region ? region : page.parse().document();
    bool empty = true, fields = false;
    if (region) {
        const auto inside = FormPage::descendants(region);
        empty = inside.empty() &&
                QString::fromStdString(FormPage::textContent(region)).trimmed().isEmpty();
        fields = std::any_of(inside.begin(), inside.end(), [](const GumboNode* e) {
            return page::isHtml(e, GUMBO_TAG_INPUT) || page::isHtml(e, GUMBO_TAG_BUTTON);
        });
    }
    for (const GumboNode* comment : FormPage::commentsIn(root)) {
        const std::string text = platform::text::asciiLowered(comment->v.text.text);
        if (text.find("<form") == std::string::npos) continue;
        if (!region && QString::fromUtf8(comment->v.text.text).indexOf(regionName()) < 0) continue;
        const bool whole = text.find("</form") != std::string::npos;
        if (region && !empty && !(fields && !whole)) continue;
        out.push_back(page.finding(
            Severity::error, CheckKind::templateEntries, page.offsetOfComment(comment),
            !region ? QCoreApplication::translate(
                          "host::formcheck::FormCheck",
                          "the sign-up region and its form are commented out (<!-- ... "
                          "-->): browsers show visitors nothing of them")
            : whole ? QCoreApplication::translate(
                          "host::formcheck::FormCheck",
                          "the sign-up form is commented out (<!-- ... -->): browsers "
                          "show visitors nothing of it")
                    : QCoreApplication::translate(
                          "host::formcheck::FormCheck",
                          "the sign-up form's <form> tag is commented out (<!-- ... "
                          "-->): its fields belong to no form, and the button sends "
                          "nothing"),
            QCoreApplication::translate(
                "host::formcheck::FormCheck",
                "take away the <!-- and --> around the form, or run the wizard again "
                "to put a new form in")));
        return true;
    }
    return false;
}

// Why the frame shows the sign-up form, or empty when it does not. A frame in a region that
// holds the form itself shows something else (a video, a map).
QString framedSignUp(const FormPage& page, const GumboNode* frame) {
    for (const GumboNode* r : page.regions()) {
        if (!page.form() && FormPage::inside(frame, r))
            //: Says which frame: it follows "the sign-up form is in a frame".
            return QCoreApplication::translate("host::formcheck::FormCheck",
                                               "in the sign-up region");
    }
    const std::string srcdoc = platform::text::asciiLowered(FormPage::value(frame, "srcdoc"));
    if (srcdoc.find("<form") != std::string::npos ||
        srcdoc.find(platform::text::asciiLowered(std::string(kRegionId))) != std::string::npos)
        //: Says which frame: it follows "the sign-up form is in a frame".
        return QCoreApplication::translate("host::formcheck::FormCheck",
                                           "whose srcdoc holds the sign-up form");
    const QString src = trimmedAddressText(QString::fromStdString(FormPage::value(frame, "src")));
    if (src.isEmpty()) return {};
    if (const auto address = parseAbsoluteAddress(src);
        address && address->isAbsoluteHttp() &&
        compareWithServiceHost(address->host) != HostMatch::other)
        //: Says which frame: it follows "the sign-up form is in a frame".
        return QCoreApplication::translate("host::formcheck::FormCheck",
                                           "that shows the service's form %1")
            .arg(quoted(src));
    const QString file = siteFileOf(page, src);
    if (file.isEmpty()) return {};
    try {
        if (!readPageFile(file).bytes.contains(QByteArray(kRegionId.data(), qsizetype(kRegionId.size()))))
            return {};
    } catch (const PageFileError&) {
        return {};  // not a page of the site that can be read: the frame shows nothing of ours
    }
    //: Says which frame: it follows "the sign-up form is in a frame".
    return QCoreApplication::translate("host::formcheck::FormCheck",
                                       "that shows %1, which holds the sign-up form")
        .arg(quoted(src));
}

bool sandboxedFrames(const FormPage& page, std::vector<Finding>& out) {
    bool found = false;
    for (const GumboNode* e : page.elements()) {
        if (!page::isHtml(e, GUMBO_TAG_IFRAME)) continue;
        const GumboAttribute* sandbox = FormPage::attribute(e, "sandbox");
        if (!sandbox || FormPage::hasToken(sandbox->value, "allow-forms")) continue;
        const QString why = framedSignUp(page, e);
        if (why.isEmpty()) continue;
        found = true;
        out.push_back(page.finding(
            Severity::error, CheckKind::templateEntries, page.offsetOfAttribute(e, sandbox),
            QCoreApplication::translate(
                "host::formcheck::FormCheck",
                "the sign-up form is in a frame %1, and the frame's sandbox does not "
                "allow forms: the browser blocks the submission, so visitors press the "
                "button and nothing is sent")
                .arg(why),
            QCoreApplication::translate(
                "host::formcheck::FormCheck",
                "add allow-forms to the frame's sandbox (sandbox=\"%1\"), or put the "
                "sign-up form in the page itself")
                .arg(QString::fromUtf8(sandbox->value).simplified().isEmpty()
                         ? QStringLiteral("allow-forms")
                         : QString::fromUtf8(sandbox->value).simplified() +
                               QStringLiteral(" allow-forms"))));
    }
    return found;
}

}  // namespace

bool checkPlacement(const FormPage& page, std::vector<Finding>& out) {
    const bool framed = sandboxedFrames(page, out);
    const bool commented = !page.form() && commentedOut(page, out);
    return framed || commented;
}

}  // namespace host::formcheck
