// The file of the site that a page address names, as the thank-you checks look it up.
#pragma once

#include <QString>

#include "host/formcheck/form_finding.h"
#include "host/formcheck/web_address.h"

namespace host::formcheck {

// The file a path in the site names: a folder's index.html or index.htm where it names a
// folder (index.html when neither exists).
QString fileForPath(const QString& path);

// The file a decoded address path names in the site folder `root`: its dot segments resolved
// as a web server resolves them, never above `root` (so "..%2f..%2fetc" stays inside). `base`
// is the page's folder relative to `root` ("" for the root itself).
QString fileInSite(const QString& root, const QString& base, const QString& path);

// The folder the site's pages are published from: the site's, else the page's own.
QString siteRoot(const PageContext& context);

// The file of the site folder `root` that `address` names where it lies under `site`, the
// site's published address (http: and https: alike); empty where it lies elsewhere.
QString publishedSiteFile(const QString& root, const WebAddress& site, const WebAddress& address);

}  // namespace host::formcheck
