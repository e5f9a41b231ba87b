// The page's own content security policies (<meta http-equiv="Content-Security-Policy">)
// against the addresses the sign-up goes to: the form's action, and the thank-you page the
// service redirects the visitor to.
//
// Only form-action governs form submissions: it does not fall back to default-src (CSP
// Level 3, 6.4.1; default-src covers fetches only), so a policy without form-action lets any
// form through, whatever its default-src says. Browsers apply form-action to the redirect
// that follows the submission too (Chromium does; paths are not compared after a redirect),
// so the thank-you page's address must be allowed as well.
#include <QCoreApplication>
#include <algorithm>

#include "host/formcheck/form_checks.h"
#include "host/formcheck/service_address.h"
#include "host/page/gumbo_tree.h"
#include "platform/text/ascii.h"

namespace host::formcheck {
namespace {

WebAddress upgraded(WebAddress a) {
    if (a.scheme == u"http") {
        a.scheme = QStringLiteral("https");
        if (a.port == 80) a.port = -1;
    }
    return a;
}

QString directiveText(const csp::Directive& d) {
    std::string text = d.name;
    for (const std::string& s : d.sources) text += ' ' + s;
    return quoted(text);
}

bool namesSelf(const csp::Directive& d) {
    return std::any_of(d.sources.begin(), d.sources.end(), [](const std::string& s) {
        return platform::text::asciiLowered(s) == "'self'";
    });
}

}  // namespace

std::vector<MetaPolicy> metaPolicies(const FormPage& page) {
    std::vector<MetaPolicy> policies;
    for (const GumboNode* e : page.elements()) {
        if (!page::isHtml(e, GUMBO_TAG_META) || !e->parent || !page::isHtml(e->parent, GUMBO_TAG_HEAD))
            continue;
        const std::string equiv =
            platform::text::asciiLowered(trimmedAddressText(QString::fromStdString(
                                             FormPage::value(e, "http-equiv"))).toStdString());
        const GumboAttribute* content = FormPage::attribute(e, "content");
        if (equiv != "content-security-policy" || !content) continue;
        MetaPolicy policy;
        policy.meta = e;
        policy.directives = csp::parsePolicy(content->value);
        const auto written = page.writtenValue(content);
        policy.written = written && *written == content->value;
        policy.at = policy.written ? page.offsetOfValue(e, content) : page.offsetOf(e);
        policies.push_back(std::move(policy));
    }
    return policies;
}

void checkContentPolicy(const FormPage& page, std::vector<Finding>& out) {
    const GumboNode* form = page.form();
    if (!form) return;
    const auto policies = metaPolicies(page);
    if (policies.empty()) return;
    const bool upgrade = std::any_of(policies.begin(), policies.end(), [](const MetaPolicy& p) {
        return csp::findDirective(p.directives, "upgrade-insecure-requests") != nullptr;
    });
    const auto usable = [&](std::optional<WebAddress> a) -> std::optional<WebAddress> {
        if (!a || !a->isAbsoluteHttp()) return std::nullopt;
        return upgrade ? upgraded(*a) : *a;
    };
    // The transport check names an action that is no absolute address.
    const auto action = usable(formAction(page).address);
    // The service is never the page's own site: where the action goes to it, 'self' cannot
    // be what lets it through, known origin or not.
    const bool actionToService =
        action && compareWithServiceHost(action->host) != HostMatch::other;
    std::optional<WebAddress> thanks;
    if (const auto redirect = fieldValue(page, "redirect"); redirect && !redirect->text.isEmpty())
        thanks = usable(parseAbsoluteAddress(redirect->text));
    const auto self = page.publishing().origin();

    for (const MetaPolicy& policy : policies) {
        const csp::Directive* d = csp::findDirective(policy.directives, "form-action");
        if (!d) continue;
        const std::size_t at = policy.written ? policy.at + d->at : policy.at;
        const bool selfUnknown = !self && namesSelf(*d);
        const QString unknownOrigin =
            selfUnknown ? QCoreApplication::translate(
                              "host::formcheck::FormCheck",
                              "; the page's own address is not known, so 'self' was "
                              "taken to allow nothing: if the address is the page's own "
                              "site, give the site's published address")
                        : QString();
        if (action && !csp::allows(d->sources, *action, self, 0)) {
            const bool certain = !selfUnknown || actionToService;
            out.push_back(page.finding(
                certain ? Severity::error : Severity::warning, CheckKind::contentPolicy, at,
                QCoreApplication::translate(
                    "host::formcheck::FormCheck",
                    "the page's content security policy (%1) does not allow the form's "
                    "action %2: the browser blocks the sign-up%3")
                    .arg(directiveText(*d), quoted(action->toString()),
                         selfUnknown && actionToService
                             ? QCoreApplication::translate(
                                   "host::formcheck::FormCheck",
                                   " ('self' allows only the page's own site, and the "
                                   "service's host is never that)")
                             : QString()),
                QCoreApplication::translate(
                    "host::formcheck::FormCheck",
                    "add the service's origin %1 to form-action in the <meta> policy "
                    "(and in any policy the server sends for the page)%2")
                    .arg(quoted(action->origin()), certain ? QString() : unknownOrigin)));
        }
        if (thanks && !csp::allows(d->sources, *thanks, self, 1)) {
            out.push_back(page.finding(
                selfUnknown ? Severity::warning : Severity::error, CheckKind::contentPolicy, at,
                QCoreApplication::translate(
                    "host::formcheck::FormCheck",
                    "the page's content security policy (%1) does not allow the "
                    "thank-you page %2: browsers apply form-action to the service's "
                    "redirect after the sign-up and block it, so the visitor sees an "
                    "error instead of the thank-you page")
                    .arg(directiveText(*d), quoted(thanks->toString())),
                QCoreApplication::translate("host::formcheck::FormCheck",
                                            "add the thank-you page's origin %1 to form-action%2")
                    .arg(quoted(thanks->origin()), unknownOrigin)));
        }
    }
}

}  // namespace host::formcheck
