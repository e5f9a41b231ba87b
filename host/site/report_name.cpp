// Names on report lines: plain where that cannot mislead, quoted with escapes otherwise.
#include "host/site/report_name.h"

#include <algorithm>
#include <string_view>

#include "platform/text/text_format.h"
#include "platform/text/utf8.h"

namespace host::site {

QString reportName(const QByteArray& bytes) {
    const std::string_view view(bytes.constData(), std::size_t(bytes.size()));
    const bool plain = platform::text::isValidUtf8(view) &&
                       std::none_of(view.begin(), view.end(), [](char c) {
                           return static_cast<unsigned char>(c) < 0x20 || c == 0x7F || c == '"' ||
                                  c == '\\';
                       });
    return QString::fromUtf8(plain ? bytes : QByteArray::fromStdString(platform::text::quoteText(view)));
}

}  // namespace host::site
