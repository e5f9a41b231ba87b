// Where the service receives sign-ups, and how near another host comes to it: a typo in the
// action's host sends every sign-up nowhere, without a word to the visitor.
#pragma once

#include <QString>

namespace host::formcheck {

// The action of the shipped template (resources/template/template.wtf; a test checks that
// they agree).
inline constexpr const char* kServiceAction = "https://www.ostrel.example/cgi/subscribe";
// Its host, where the service receives sign-ups.
inline constexpr const char* kServiceHost = "www.ostrel.example";

enum class HostMatch {
    service,   // the service's host, or its domain without "www." (letter case and a final dot
               // aside)
    nearMiss,  // a typo of it, or another host of the service's name: no sign-up reaches it
    other,     // a host of its own (a relay of the author's, another service)
};

// `host` as WebAddress holds it (lower case, an international name in its xn-- form).
HostMatch compareWithServiceHost(const QString& host);

}  // namespace host::formcheck
