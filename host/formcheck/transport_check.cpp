// Where the form sends the sign-up: an absolute http(s) address, and not http: from a page
// published over https.
#include <QCoreApplication>
#include <algorithm>

#include "host/formcheck/form_checks.h"

namespace host::formcheck {
namespace {

constexpr const char* kServiceAction = "https://www.ostrel.example/cgi/subscribe";

QString withHttps(const QString& address) {
    return QStringLiteral("https:") + address.mid(address.indexOf(u':') + 1);
}

}  // namespace

void checkTransport(const FormPage& page, std::vector<Finding>& out) {
    const GumboNode* form = page.form();
    if (!form) return;
    const GumboAttribute* action = FormPage::attribute(form, "action");
    const QString text = action ? trimmedAddressText(QString::fromUtf8(action->value)) : QString();
    const std::size_t at = action ? page.offsetOfValue(form, action) : page.offsetOf(form);
    if (text.isEmpty()) {
        out.push_back(page.finding(
            Severity::error, CheckKind::transport, at,
            action ? QCoreApplication::translate(
                         "host::formcheck::FormCheck",
                         "the form's action is empty: it sends the sign-up to this page "
                         "itself, not to the service")
                   : QCoreApplication::translate(
                         "host::formcheck::FormCheck",
                         "the form has no action: it sends the sign-up to this page "
                         "itself, not to the service"),
            QCoreApplication::translate("host::formcheck::FormCheck",
                                        "give the form the service's address, action=\"%1\"")
                .arg(QLatin1StringView(kServiceAction))));
        return;
    }
    const auto address = parseAbsoluteAddress(text);
    if (!address) {
        out.push_back(page.finding(
            Severity::error, CheckKind::transport, at,
            QCoreApplication::translate(
                "host::formcheck::FormCheck",
                "the form's action %1 is not an absolute address: the browser reads it "
                "against the page's own address, so the sign-up goes to the page's "
                "server, not to the service")
                .arg(quoted(text)),
            QCoreApplication::translate(
                "host::formcheck::FormCheck",
                "write the service's full address, starting with https://, for "
                "example \"%1\"")
                .arg(QLatin1StringView(kServiceAction))));
        return;
    }
    if (!address->isAbsoluteHttp()) {
        out.push_back(page.finding(
            Severity::error, CheckKind::transport, at,
            address->isHttp() ? QCoreApplication::translate("host::formcheck::FormCheck",
                                                            "the form's action %1 names no server")
                                    .arg(quoted(text))
                              : QCoreApplication::translate(
                                    "host::formcheck::FormCheck",
                                    "the form's action %1 is a %2: address, not a web address the "
                                    "service can receive the sign-up at")
                                    .arg(quoted(text), address->scheme),
            QCoreApplication::translate(
                "host::formcheck::FormCheck",
                "write the service's full address, starting with https://, for "
                "example \"%1\"")
                .arg(QLatin1StringView(kServiceAction))));
        return;
    }
    if (address->scheme != u"http") return;
    const auto policies = metaPolicies(page);
    const bool upgraded = std::any_of(policies.begin(), policies.end(), [](const MetaPolicy& p) {
        return csp::findDirective(p.directives, "upgrade-insecure-requests") != nullptr;
    });
    const QString https = page.publishing().httpsSource;
    if (!https.isEmpty() && !upgraded) {
        out.push_back(
            page.finding(Severity::error, CheckKind::transport, at,
                         QCoreApplication::translate(
                             "host::formcheck::FormCheck",
                             "the form's action %1 is http: while the page is published over https "
                             "(%2): browsers warn visitors that the form is not secure before it "
                             "sends their names and addresses unencrypted")
                             .arg(quoted(text), https),
                         QCoreApplication::translate("host::formcheck::FormCheck",
                                                     "use the service's https: address, %1")
                             .arg(quoted(withHttps(text)))));
    } else if (!https.isEmpty()) {
        out.push_back(page.finding(
            Severity::warning, CheckKind::transport, at,
            QCoreApplication::translate(
                "host::formcheck::FormCheck",
                "the form's action %1 is http: on a page published over https (%2); "
                "the page's policy upgrade-insecure-requests makes browsers send it to "
                "the https: address instead")
                .arg(quoted(text), https),
            QCoreApplication::translate(
                "host::formcheck::FormCheck",
                "write the https: address, %1, so that the form works where the policy "
                "is left out")
                .arg(quoted(withHttps(text)))));
    } else {
        out.push_back(
            page.finding(Severity::note, CheckKind::transport, at,
                         QCoreApplication::translate(
                             "host::formcheck::FormCheck",
                             "the form's action %1 is http: it sends visitors' names and addresses "
                             "unencrypted")
                             .arg(quoted(text)),
                         QCoreApplication::translate(
                             "host::formcheck::FormCheck",
                             "use the service's https: address, %1; published over https, the page "
                             "would make browsers warn before sending")
                             .arg(quoted(withHttps(text)))));
    }
}

}  // namespace host::formcheck
