// The thank-you page the service sends visitors to after they sign up (the hidden field
// "redirect"): given, a full address, and a file of the site where it lies in the site.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

#include "host/formcheck/form_checks.h"
#include "host/formcheck/site_file.h"
#include "host/formcheck/tool_markers.h"

namespace host::formcheck {
namespace {

// Asked for each time: the author's language is known only once the application runs.
QString advicePage() {
    return QCoreApplication::translate(
        "host::formcheck::FormCheck",
        "make a page of your site that says \"check your inbox to confirm your subscription\" and "
        "give its full address as the thank-you page in the wizard");
}

// Whether the address is the home page `home` (http: or https:).
bool isHomePage(const WebAddress& a, const char* home) {
    const auto h = parseAbsoluteAddress(QString::fromLatin1(home));
    return h && a.isHttp() && a.host == h->host && a.port == h->port &&
           (a.path.isEmpty() || a.path == u"/") && a.query.isEmpty();
}

// The path part of an address written in the page, without query and fragment, decoded.
QString decodedPath(QString written) {
    const qsizetype cut = written.indexOf(QRegularExpression(QStringLiteral("[?#]")));
    if (cut >= 0) written.truncate(cut);
    return QUrl::fromPercentEncoding(written.toUtf8());
}

// The file a relative thank-you address names, read against the page's file (or, from "/",
// the site's folder); empty when it cannot be told.
QString relativeFile(const PageContext& context, const QString& written) {
    const QString path = decodedPath(written);
    if (path.isEmpty()) return {};
    if (path.startsWith(u'/')) {
        if (context.siteFolder.isEmpty()) return {};
        return fileInSite(context.siteFolder, {}, path);
    }
    if (context.pagePath.isEmpty()) return {};
    const QString root = siteRoot(context);
    const QString folder = QDir(root).relativeFilePath(QFileInfo(context.pagePath).absolutePath());
    return fileInSite(root, folder == u"." || folder.startsWith(u"..") ? QString() : folder, path);
}

// The file of the site a full address names: under the site's published address, read as
// http or https alike; empty elsewhere.
QString publishedFile(const FormPage& page, const WebAddress& address) {
    const QString root = siteRoot(page.context());
    const auto& site = page.publishing().siteAddress;
    return root.isEmpty() || !site ? QString() : publishedSiteFile(root, *site, address);
}

QString shownFile(const PageContext& context, const QString& file) {
    const QString root = siteRoot(context);
    if (root.isEmpty()) return file;
    const QString relative = QDir(root).relativeFilePath(file);
    return relative.startsWith(QStringLiteral("../")) ? file : relative;
}

}  // namespace

QString siteFileOf(const FormPage& page, const QString& written) {
    const auto address = parseAbsoluteAddress(written);
    if (!address) return relativeFile(page.context(), written);
    return address->isAbsoluteHttp() ? publishedFile(page, *address) : QString();
}

void checkThankYouPage(const FormPage& page, std::vector<Finding>& out) {
    if (!page.form()) return;
    const auto redirect = fieldValue(page, "redirect");
    if (!redirect) return;  // the template check names the missing field
    const QString& text = redirect->text;
    if (findToolMarker(text, false)) return;  // the marker check names it
    const std::size_t at = redirect->attribute ? page.offsetOfValue(redirect->field, redirect->attribute)
                                               : page.offsetOf(redirect->field);
    const auto address = parseAbsoluteAddress(text);
    const bool service = address && isHomePage(*address, kServiceHomePage);
    const bool publisher = address && isHomePage(*address, kPublisherHomePage);
    if (text.isEmpty() || service || publisher) {
        // The sign-up is recorded, but the visitor leaves the site on a page that does not
        // say "check your inbox", and a subscription left unconfirmed is lost: more than a
        // remark, not a form that cannot be sent.
        out.push_back(page.finding(
            Severity::warning, CheckKind::thankYouPage, at,
            text.isEmpty()
                ? QCoreApplication::translate(
                      "host::formcheck::FormCheck",
                      "the thank-you page is empty: after signing up, visitors land on "
                      "the service's home page, not on your site, and nothing tells "
                      "them to confirm their subscription in their inbox")
                : QCoreApplication::translate(
                      "host::formcheck::FormCheck",
                      "the thank-you page is %1 %2 (%3): after signing up, visitors "
                      "land there, not on your site, and nothing tells them to confirm "
                      "their subscription in their inbox")
                      .arg(
                          service ? QCoreApplication::translate("host::formcheck::FormCheck",
                                                                "the service's home page")
                                  : QCoreApplication::translate("host::formcheck::FormCheck",
                                                                "the add-in publisher's home page"),
                          quoted(text),
                          service
                              ? QCoreApplication::translate("host::formcheck::FormCheck",
                                                            "the wizard's value for an empty entry")
                              : QCoreApplication::translate("host::formcheck::FormCheck",
                                                            "the wizard's first suggestion")),
            advicePage()));
        return;
    }
    const PageContext& context = page.context();
    const QString file = siteFileOf(page, text);
    const bool missing = !file.isEmpty() && !QFileInfo(file).isFile();
    if (!address) {
        out.push_back(page.finding(
            Severity::warning, CheckKind::thankYouPage, at,
            QCoreApplication::translate(
                "host::formcheck::FormCheck",
                "the thank-you page %1 is not a full address: the service sends "
                "visitors to it as written, and their browser reads it against the "
                "service's address, not your site's%2")
                .arg(quoted(text),
                     missing ? QCoreApplication::translate("host::formcheck::FormCheck",
                                                           "; nor does the site have the file %1")
                                   .arg(quoted(shownFile(context, file)))
                             : QString()),
            QCoreApplication::translate(
                "host::formcheck::FormCheck",
                "write the page's full address, starting with https:// and your "
                "site's address%1")
                .arg(missing ? QCoreApplication::translate("host::formcheck::FormCheck",
                                                           ", and make the page")
                             : QString())));
        return;
    }
    if (!address->isAbsoluteHttp()) {
        out.push_back(page.finding(
            Severity::warning, CheckKind::thankYouPage, at,
            QCoreApplication::translate("host::formcheck::FormCheck",
                                        "the thank-you page %1 is not a web page's address")
                .arg(quoted(text)),
            advicePage()));
        return;
    }
    if (!missing) return;  // elsewhere than the site, or its file is there
    out.push_back(
        page.finding(Severity::warning, CheckKind::thankYouPage, at,
                     QCoreApplication::translate(
                         "host::formcheck::FormCheck",
                         "the thank-you page %1 lies in the site published at %2, but the site has "
                         "no file %3: visitors who sign up land on a missing page")
                         .arg(quoted(text), quoted(page.publishing().siteAddress->toString()),
                              quoted(shownFile(context, file))),
                     QCoreApplication::translate(
                         "host::formcheck::FormCheck",
                         "make that page (one that says \"check your inbox to confirm your "
                         "subscription\"), or correct the address")));
}

}  // namespace host::formcheck
