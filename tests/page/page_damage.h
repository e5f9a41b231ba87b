// Damages a page the way hand-edited pages go wrong: stray tags, text and line breaks.
#pragma once

#include <array>
#include <random>
#include <string>
#include <string_view>

namespace host::testing {

// Writes one to four pieces into the page, mostly just before a '<', sometimes anywhere
// (inside tags and attribute values too). The same generator state gives the same damage.
inline std::string damagePage(std::string page, std::mt19937& random) {
    static constexpr std::array<std::string_view, 47> kPieces = {"<p>",
                                                                 "</p>",
                                                                 "<b>",
                                                                 "</b>",
                                                                 "<i>",
                                                                 "</i>",
                                                                 "<a href=y>",
                                                                 "</a>",
                                                                 "<div>",
                                                                 "</div>",
                                                                 "<table>",
                                                                 "</table>",
                                                                 "<tr>",
                                                                 "<td>",
                                                                 "</td>",
                                                                 "<form>",
                                                                 "</form>",
                                                                 "<li>",
                                                                 "<ul>",
                                                                 "</ul>",
                                                                 "text",
                                                                 " ",
                                                                 "\n",
                                                                 "\r\n",
                                                                 "&amp;",
                                                                 "<!--c-->",
                                                                 "<template>",
                                                                 "</template>",
                                                                 "<select>",
                                                                 "<option>",
                                                                 "<svg>",
                                                                 "</svg>",
                                                                 "<body class=z>",
                                                                 "<object>",
                                                                 "<span>",
                                                                 "</span>",
                                                                 "<font color=red>",
                                                                 "<nobr>",
                                                                 "<br>",
                                                                 "</body>",
                                                                 "</html>",
                                                                 "<h2>",
                                                                 "</h2>",
                                                                 "<center>",
                                                                 "</em>",
                                                                 "<dl><dt>",
                                                                 "<dd>"};
    const int pieces = 1 + static_cast<int>(random() % 4);
    for (int k = 0; k < pieces; ++k) {
        std::size_t at = random() % (page.size() + 1);
        if (random() % 4 != 0) at = std::min(page.find('<', at), page.size());
        page.insert(at, kPieces[random() % kPieces.size()]);
    }
    return page;
}

}  // namespace host::testing
