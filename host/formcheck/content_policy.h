// A Content-Security-Policy as a page's <meta> gives it, and whether a source list allows an
// address (CSP Level 3, "Does url match source list").
#pragma once

#include <QString>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/formcheck/web_address.h"

namespace host::formcheck::csp {

struct Directive {
    std::string name;                  // lower case
    std::vector<std::string> sources;  // the source expressions as written
    std::size_t at = 0;                // where the name starts in the serialized policy
};

// One serialized policy (the <meta> content): directives split at ';', each name once (a
// repeated directive is ignored, as browsers do), names that are not tokens left out.
std::vector<Directive> parsePolicy(std::string_view serialized);
const Directive* findDirective(const std::vector<Directive>& policy, std::string_view name);

// The page's own origin, where it is known: what 'self' and source expressions without a
// scheme are read against.
struct Origin {
    QString scheme;
    QString host;
    int port = -1;  // -1 for the scheme's default
};

// Whether the source list allows `url`. `redirectCount` 0 for the request itself; after a
// redirect (the thank-you page) the paths of host sources are not compared. Without a known
// origin, 'self' matches nothing and a host source without a scheme takes "http" as the
// page's scheme (which lets both http and https addresses through).
bool allows(const std::vector<std::string>& sourceList, const WebAddress& url,
            const std::optional<Origin>& self, int redirectCount);

}  // namespace host::formcheck::csp
