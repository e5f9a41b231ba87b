// Reading tour scripts.
#include "host/editor/tour_script.h"

#include <QRegularExpression>
#include <QStringList>

namespace host {
namespace {

struct Verb {
    const char* name;
    TourStep::Kind kind;
    int words;  // words after the verb: 0, 1 (target) or 2 (target, then the rest of the line)
};

constexpr Verb kVerbs[] = {
    {"shot", TourStep::Kind::Shot, 1},
    {"rendered-shot", TourStep::Kind::RenderedShot, 1},
    {"click", TourStep::Kind::Click, 2},
    {"dialog-shot", TourStep::Kind::DialogShot, 1},
    {"dialog-click", TourStep::Kind::DialogClick, 1},
    {"dialog-text", TourStep::Kind::DialogText, 2},
    {"dialog-read", TourStep::Kind::DialogRead, 1},
    {"menu", TourStep::Kind::Menu, 1},
    {"wait-closed", TourStep::Kind::WaitClosed, 0},
    {"save", TourStep::Kind::Save, 0},
};

}  // namespace

QString TourStep::describe() const {
    for (const Verb& v : kVerbs) {
        if (v.kind == kind) {
            QString s = QString::fromLatin1(v.name);
            if (!target.isEmpty()) s += u' ' + target;
            if (!argument.isEmpty()) s += u' ' + argument;
            return QStringLiteral("line %1 (%2)").arg(line).arg(s);
        }
    }
    return QStringLiteral("line %1").arg(line);
}

std::vector<TourStep> parseTourScript(const QString& text) {
    std::vector<TourStep> steps;
    const QStringList lines = text.split(u'\n');
    static const QRegularExpression space(QStringLiteral("\\s+"));
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(u'#')) continue;
        const QString verb = line.section(space, 0, 0);
        const Verb* found = nullptr;
        for (const Verb& v : kVerbs) {
            if (verb == QLatin1String(v.name)) found = &v;
        }
        if (!found) {
            throw TourScriptError(
                QStringLiteral("Tour script line %1: unknown step '%2'").arg(i + 1).arg(verb));
        }
        TourStep step{found->kind, {}, {}, i + 1};
        const QString rest = line.section(space, 1).trimmed();
        if (found->words >= 1) {
            step.target = rest.section(space, 0, 0);
            step.argument = rest.section(space, 1).trimmed();
        }
        const bool complete = found->words == 0 ? rest.isEmpty()
                              : found->words == 1
                                  ? !step.target.isEmpty() && step.argument.isEmpty()
                                  : !step.target.isEmpty() && !step.argument.isEmpty();
        if (!complete) {
            throw TourScriptError(
                QStringLiteral("Tour script line %1: '%2' takes %3")
                    .arg(i + 1)
                    .arg(verb, found->words == 0   ? QStringLiteral("nothing after it")
                               : found->words == 1 ? QStringLiteral("one word")
                                                   : QStringLiteral("a name and a text")));
        }
        steps.push_back(step);
    }
    return steps;
}

QString defaultTourScript() {
    return QStringLiteral(
        "shot editor-before\n"
        "rendered-shot rendered-before\n"
        "click Insert Ostrel...\n"
        "dialog-shot wizard-page-0\n"
        "dialog-click cmdWizControl_2\n"
        "dialog-text txtUserName demo-list\n"
        "dialog-shot wizard-page-1\n"
        "dialog-click cmdWizControl_2\n"
        "dialog-shot wizard-page-2\n"
        "dialog-click cmdWizControl_2\n"
        "dialog-click cmdWizControl_2\n"
        "dialog-click cmdWizControl_2\n"
        "dialog-click cmdWizControl_2\n"
        "dialog-click cmdWizControl_2\n"
        "dialog-shot wizard-page-8\n"
        "dialog-click cmdWizControl_3\n"
        "wait-closed\n"
        "save\n"
        "shot editor-after\n"
        "rendered-shot rendered-after\n");
}

}  // namespace host
