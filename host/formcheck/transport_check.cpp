// Where the form sends the sign-up: an absolute http(s) address, and not http: from a page
// published over https.
#include <QCoreApplication>
#include <algorithm>

#include "host/formcheck/form_checks.h"
#include "host/formcheck/service_address.h"

namespace host::formcheck {
namespace {

QString withHttps(const QString& address) {
    return QStringLiteral("https:") + address.mid(address.indexOf(u':') + 1);
}

// "//host/path" (browsers take "\\" and "/\\" there alike for web addresses).
bool isSchemeRelative(const QString& text) {
    const auto slash = [&](qsizetype i) { return text.size() > i && (text[i] == u'/' || text[i] == u'\\'); };
    return slash(0) && slash(1);
}

// A host that is not the service's: an error where it is a near miss, else the author's
// choice (a relay of their own, another service).
void checkHost(const FormPage& page, const FormAction& action, std::vector<Finding>& out) {
    if (!action.address || compareWithServiceHost(action.address->host) != HostMatch::nearMiss)
        return;
    out.push_back(page.finding(
        Severity::error, CheckKind::transport, action.at,
        QCoreApplication::translate(
            "host::formcheck::FormCheck",
            "the form's action goes to the host %1, not to the service's host %2: "
            "no sign-up reaches the service, and visitors see an error page (or a "
            "stranger's server receives their names and addresses)")
            .arg(quoted(action.address->host), quoted(QString::fromLatin1(kServiceHost))),
        QCoreApplication::translate("host::formcheck::FormCheck",
                                    "write the service's address, action=\"%1\"")
            .arg(QLatin1StringView(kServiceAction))));
}

QString fullAddressAdvice() {
    return QCoreApplication::translate(
               "host::formcheck::FormCheck",
               "write the service's full address, starting with https://, for "
               "example \"%1\"")
        .arg(QLatin1StringView(kServiceAction));
}

}  // namespace

FormAction formAction(const FormPage& page) {
    FormAction action;
    const GumboNode* form = page.form();
    if (!form) return action;
    action.attribute = FormPage::attribute(form, "action");
    action.text = action.attribute ? trimmedAddressText(QString::fromUtf8(action.attribute->value)) : QString();
    action.at = action.attribute ? page.offsetOfValue(form, action.attribute) : page.offsetOf(form);
    action.address = parseAbsoluteAddress(action.text);
    if (!action.address && isSchemeRelative(action.text)) {
        // Read with the page's scheme, as browsers do: https: wherever the page tells it is
        // published over https, else the scheme of its address where known.
        const Publishing& published = page.publishing();
        QString scheme = QStringLiteral("https");
        if (published.httpsSource.isEmpty() && published.pageAddress)
            scheme = published.pageAddress->scheme;
        action.schemeRelative = true;
        action.schemeKnown = !published.httpsSource.isEmpty() || published.pageAddress.has_value();
        action.address = parseAbsoluteAddress(scheme + QStringLiteral("://") + action.text.mid(2));
    }
    return action;
}

void checkTransport(const FormPage& page, std::vector<Finding>& out) {
    const GumboNode* form = page.form();
    if (!form) return;
    const FormAction action = formAction(page);
    const QString& text = action.text;
    const std::size_t at = action.at;
    if (text.isEmpty()) {
        out.push_back(page.finding(
            Severity::error, CheckKind::transport, at,
            action.attribute ? QCoreApplication::translate(
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
    const auto& address = action.address;
    if (!address) {
        out.push_back(page.finding(
            Severity::error, CheckKind::transport, at,
            QCoreApplication::translate(
                "host::formcheck::FormCheck",
                "the form's action %1 is not an absolute address: the browser reads it "
                "against the page's own address, so the sign-up goes to the page's "
                "server, not to the service")
                .arg(quoted(text)),
            fullAddressAdvice()));
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
            fullAddressAdvice()));
        return;
    }
    checkHost(page, action, out);
    if (action.schemeRelative && !action.schemeKnown) {
        out.push_back(page.finding(
            Severity::note, CheckKind::transport, at,
            QCoreApplication::translate(
                "host::formcheck::FormCheck",
                "the form's action %1 has no scheme: browsers send the sign-up with the "
                "page's own, encrypted from a page served over https: but unencrypted "
                "from one served over http:")
                .arg(quoted(text)),
            QCoreApplication::translate(
                "host::formcheck::FormCheck",
                "write the service's https: address, %1, so that it is encrypted "
                "wherever the page is served")
                .arg(quoted(QStringLiteral("https:") + text))));
        return;
    }
    if (address->scheme != u"http") return;
    // A scheme-relative action is named with the scheme the page gives it.
    const QString shown =
        action.schemeRelative
            ? quoted(text) + QCoreApplication::translate("host::formcheck::FormCheck",
                                                         " (http: from the page's address)")
            : quoted(text);
    const QString httpsAddress =
        quoted(withHttps(action.schemeRelative ? address->toString() : text));
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
                             .arg(shown, https),
                         QCoreApplication::translate("host::formcheck::FormCheck",
                                                     "use the service's https: address, %1")
                             .arg(httpsAddress)));
    } else if (!https.isEmpty()) {
        out.push_back(page.finding(
            Severity::warning, CheckKind::transport, at,
            QCoreApplication::translate(
                "host::formcheck::FormCheck",
                "the form's action %1 is http: on a page published over https (%2); "
                "the page's policy upgrade-insecure-requests makes browsers send it to "
                "the https: address instead")
                .arg(shown, https),
            QCoreApplication::translate(
                "host::formcheck::FormCheck",
                "write the https: address, %1, so that the form works where the policy "
                "is left out")
                .arg(httpsAddress)));
    } else {
        out.push_back(
            page.finding(Severity::note, CheckKind::transport, at,
                         QCoreApplication::translate(
                             "host::formcheck::FormCheck",
                             "the form's action %1 is http: it sends visitors' names and addresses "
                             "unencrypted")
                             .arg(shown),
                         QCoreApplication::translate(
                             "host::formcheck::FormCheck",
                             "use the service's https: address, %1; published over https, the page "
                             "would make browsers warn before sending")
                             .arg(httpsAddress)));
    }
}

}  // namespace host::formcheck
