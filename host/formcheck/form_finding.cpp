// The names the panel and the command line give severities and checks.
#include "host/formcheck/form_finding.h"

namespace host::formcheck {

QString severityName(Severity severity) {
    switch (severity) {
        case Severity::error:
            return QStringLiteral("error");
        case Severity::warning:
            return QStringLiteral("warning");
        case Severity::note:
            return QStringLiteral("note");
    }
    return QStringLiteral("error");
}

QString checkName(CheckKind check) {
    switch (check) {
        case CheckKind::accessibility:
            return QStringLiteral("accessibility");
        case CheckKind::transport:
            return QStringLiteral("transport");
        case CheckKind::contentPolicy:
            return QStringLiteral("content policy");
        case CheckKind::thankYouPage:
            return QStringLiteral("thank-you page");
        case CheckKind::templateEntries:
            return QStringLiteral("template and entries");
        case CheckKind::rehearsal:
            return QStringLiteral("rehearsal");
    }
    return QString();
}

}  // namespace host::formcheck
