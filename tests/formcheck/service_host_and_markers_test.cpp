// The two judgements the rules make on single values: how near a host comes to the
// service's, and whether a value is another tool's placeholder (escaped or not), with the
// ordinary values that look like either.
#include <gtest/gtest.h>

#include <QUrl>

#include "host/formcheck/service_address.h"
#include "host/formcheck/tool_markers.h"

namespace {

using host::formcheck::HostMatch;

TEST(ServiceHost, TellsTheServiceItsNearMissesAndOtherHostsApart) {
    const QString cyrillicO =
        QString::fromLatin1(QUrl::toAce(QStringLiteral("www.\u043Estrel.example")));
    const struct {
        QString host;
        HostMatch match;
    } cases[] = {
        {"www.ostrel.example", HostMatch::service},
        {"www.ostrel.example.", HostMatch::service},
        {"ostrel.example", HostMatch::service},
        {"www.ostrel.exmaple", HostMatch::nearMiss},
        {"ww.ostrel.example", HostMatch::nearMiss},
        {"wwww.ostrel.example", HostMatch::nearMiss},
        {"www.ostrelexample", HostMatch::nearMiss},
        {"www.ostrel.example.com", HostMatch::nearMiss},
        {"secure.ostrel.example", HostMatch::nearMiss},
        {"www.ostrel-example.com", HostMatch::nearMiss},
        {"www.0strel.example", HostMatch::nearMiss},
        {cyrillicO, HostMatch::nearMiss},
        {"club.example", HostMatch::other},
        {"forms.club.example", HostMatch::other},
        {"www.hostel.example", HostMatch::other},
        {"www.publisher.example", HostMatch::other},
    };
    for (const auto& c : cases)
        EXPECT_EQ(host::formcheck::compareWithServiceHost(c.host), c.match) << qPrintable(c.host);
}

TEST(ToolMarkers, FindsEachSyntaxEscapedOrNotAndLeavesOrdinaryValues) {
    const struct {
        QString value;
        bool identifier;
        QString found;  // empty: no marker
    } cases[] = {
        {"{{LIST_ID}}", false, "{{LIST_ID}}"},
        {"Join {{ list.name }} today", false, "{{ list.name }}"},
        {"[[newsletter]]", false, "[[newsletter]]"},
        {"[Your heading here]", false, "[Your heading here]"},
        {"[insert list id]", false, "[insert list id]"},
        {"%LIST_ID%", false, "%LIST_ID%"},
        {"%DATE%", false, "%DATE%"},
        {"${listId}", false, "${listId}"},
        {"<<USERID>>", false, "<<USERID>>"},
        {"*|FNAME|*", false, "*|FNAME|*"},
        {"{% heading %}", false, "{% heading %}"},
        {"&lt;&lt;USERID&gt;&gt;", false, "<<USERID>>"},
        {"&#123;&#123;LIST&#125;&#125;", false, "{{LIST}}"},
        {"%7B%7BLIST_ID%7D%7D", false, "{{LIST_ID}}"},
        {"\\{\\{LIST_ID\\}\\}", false, "{{LIST_ID}}"},
        {"{list}", true, "{list}"},
        {"[LIST]", true, "[LIST]"},
        {"$LIST_ID", true, "$LIST_ID"},
        {"__LIST_ID__", true, "__LIST_ID__"},
        {"gardenclub", true, ""},
        {"garden-club_2", true, ""},
        {"{list}", false, ""},
        {"Save 20% on seeds, 50% on tools", false, ""},
        {"https://club.example/danke-sch%C3%B6n.html?from=%E2%80%9Cjoin%E2%80%9D", false, ""},
        {"<< Previous | Next >>", false, ""},
        {"Your name (required) {as on your card} [members only]", false, ""},
        {"Costs $5 a year", false, ""},
    };
    for (const auto& c : cases) {
        const auto found = host::formcheck::findToolMarker(c.value, c.identifier);
        EXPECT_EQ(found.value_or(QString()), c.found) << qPrintable(c.value);
    }
}

}  // namespace
