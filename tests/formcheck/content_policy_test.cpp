// Source-list matching of the content policy check, case by case against CSP Level 3.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/formcheck/content_policy.h"

namespace {

using namespace host::formcheck;

struct Case {
    const char* sources;  // the directive's value
    const char* url;
    bool allowed;
    int redirects = 0;
    const char* self = "https://club.example";  // "" for an unknown origin
};

std::vector<std::string> split(const std::string& s) {
    std::vector<std::string> out;
    for (const auto& d : csp::parsePolicy("form-action " + s)) out = d.sources;
    return out;
}

TEST(ContentPolicyMatching, FollowsTheSourceListRules) {
    const Case cases[] = {
        {"'none'", "https://www.ostrel.example/cgi/subscribe", false},
        {"", "https://www.ostrel.example/cgi/subscribe", false},
        {"*", "https://www.ostrel.example/cgi/subscribe", true},
        {"*", "ftp://www.ostrel.example/", false},
        {"'self'", "https://club.example/thanks.html", true},
        {"'self'", "https://www.ostrel.example/cgi/subscribe", false},
        {"'self'", "https://club.example/thanks.html", false, 0, ""},
        {"'SELF'", "https://club.example:443/x", true},
        {"'self'", "http://club.example/x", false},  // no downgrade from an https page
        {"https:", "https://www.ostrel.example/cgi/subscribe", true},
        {"http:", "https://www.ostrel.example/cgi/subscribe", true},  // upgrade allowed
        {"https:", "http://www.ostrel.example/cgi/subscribe", false},
        {"www.ostrel.example", "https://www.ostrel.example/cgi/subscribe", true},
        {"www.ostrel.example", "http://www.ostrel.example/cgi/subscribe", false},  // page is https
        {"www.ostrel.example", "http://www.ostrel.example/", true, 0, ""},  // unknown: http
        {"WWW.Ostrel.Example", "https://www.ostrel.example/", true},
        {"https://www.ostrel.example", "https://www.ostrel.example/cgi/subscribe", true},
        {"http://www.ostrel.example", "https://www.ostrel.example/cgi/subscribe", true},
        {"https://www.ostrel.example", "http://www.ostrel.example/cgi/subscribe", false},
        {"*.ostrel.example", "https://www.ostrel.example/", true},
        {"*.ostrel.example", "https://a.b.ostrel.example/", true},
        {"*.ostrel.example", "https://ostrel.example/", false},
        {"https://*", "https://anything.example/", true},
        {"www.ostrel.example:443", "https://www.ostrel.example/", true},
        {"www.ostrel.example:8443", "https://www.ostrel.example/", false},
        {"www.ostrel.example:8443", "https://www.ostrel.example:8443/", true},
        {"www.ostrel.example", "https://www.ostrel.example:8443/", false},
        {"www.ostrel.example:*", "https://www.ostrel.example:8443/", true},
        {"www.ostrel.example/cgi/", "https://www.ostrel.example/cgi/subscribe", true},
        {"www.ostrel.example/cgi", "https://www.ostrel.example/cgi/subscribe", false},
        {"www.ostrel.example/cgi/subscribe", "https://www.ostrel.example/cgi/subscribe", true},
        {"www.ostrel.example/cgi/Subscribe", "https://www.ostrel.example/cgi/subscribe", false},
        {"www.ostrel.example/c%67i/", "https://www.ostrel.example/cgi/subscribe", true},
        {"club.example/only/", "https://club.example/thanks.html", false},
        {"club.example/only/", "https://club.example/thanks.html", true, 1},  // after a redirect
        {"'self' https://www.ostrel.example", "https://www.ostrel.example/cgi/subscribe", true},
        {"'none' https://www.ostrel.example", "https://www.ostrel.example/cgi/subscribe", true},
        {"'unsafe-inline' 'nonce-abc' 'sha256-xyz'", "https://club.example/", false},
        {"data:", "data:text/html,x", true},
        {"bad.example^", "https://bad.example/", false},
    };
    for (const Case& c : cases) {
        const auto url = parseAbsoluteAddress(QString::fromLatin1(c.url));
        ASSERT_TRUE(url) << c.url;
        std::optional<csp::Origin> self;
        if (*c.self) {
            const auto o = parseAbsoluteAddress(QString::fromLatin1(c.self));
            self = csp::Origin{o->scheme, o->host, o->port};
        }
        EXPECT_EQ(csp::allows(split(c.sources), *url, self, c.redirects), c.allowed)
            << "form-action " << c.sources << " for " << c.url << " (self " << c.self << ", "
            << c.redirects << " redirects)";
    }
}

TEST(ContentPolicyMatching, ReadsAPolicyAsBrowsersDo) {
    const auto policy = csp::parsePolicy(
        "  Default-Src 'self' ;form-action https://a.example  'self';form-action *;; bad=name x");
    ASSERT_EQ(policy.size(), 2u);
    EXPECT_EQ(policy[0].name, "default-src");
    EXPECT_EQ(policy[0].at, 2u);
    EXPECT_EQ(policy[1].name, "form-action");
    EXPECT_EQ(policy[1].sources, (std::vector<std::string>{"https://a.example", "'self'"}))
        << "the first of a repeated directive counts";
    EXPECT_EQ(policy[1].at, 22u);
    EXPECT_EQ(csp::findDirective(policy, "script-src"), nullptr);
}

}  // namespace
