// The address each site folder is published at, as the author gave it in the site panel:
// kept in the editor's settings, so that the Form Check knows whether a site's pages are
// served over https and where its thank-you pages live.
#pragma once

#include <QString>

class QSettings;

namespace host::site {

// The address kept for `folder`, or empty.
QString publishedAt(QSettings& settings, const QString& folder);
// Keeps `address` for `folder`; an empty address forgets it.
void setPublishedAt(QSettings& settings, const QString& folder, const QString& address);
// Why `address` cannot be kept (it is not a full http: or https: address), or empty when it
// can; an empty address can.
QString publishedAtProblem(const QString& address);

}  // namespace host::site
