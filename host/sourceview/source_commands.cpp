// The source view's command table.
#include "host/sourceview/source_commands.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <array>

#include "host/sourceview/source_view.h"

namespace host {
namespace {

struct Entry {
    SourceCommand command;
    const char* text;
    QKeySequence key;
};

const std::array<Entry, 5>& entries() {
    static const std::array<Entry, 5> table = {{
        {SourceCommand::Find, QT_TRANSLATE_NOOP("host::SourceView", "&Find..."),
         QKeySequence(Qt::CTRL | Qt::Key_F)},
        {SourceCommand::Replace, QT_TRANSLATE_NOOP("host::SourceView", "R&eplace..."),
         QKeySequence(Qt::CTRL | Qt::Key_H)},
        {SourceCommand::FindNext, QT_TRANSLATE_NOOP("host::SourceView", "Find &Next"),
         QKeySequence(Qt::Key_F3)},
        {SourceCommand::FindPrevious, QT_TRANSLATE_NOOP("host::SourceView", "Find Pre&vious"),
         QKeySequence(Qt::SHIFT | Qt::Key_F3)},
        {SourceCommand::GoToLine, QT_TRANSLATE_NOOP("host::SourceView", "&Go to Line..."),
         QKeySequence(Qt::CTRL | Qt::Key_L)},
    }};
    return table;
}

}  // namespace

std::optional<SourceCommand> sourceCommandOf(const QKeyEvent& event) {
    const QKeySequence pressed(event.keyCombination());
    for (const Entry& e : entries()) {
        if (e.key == pressed) return e.command;
    }
    return std::nullopt;
}

void addSourceCommands(QMenu& menu, std::function<SourceView*()> activeView) {
    for (const Entry& e : entries()) {
        auto* action = menu.addAction(QCoreApplication::translate("host::SourceView", e.text));
        action->setShortcut(e.key);
        QObject::connect(action, &QAction::triggered, &menu, [activeView, command = e.command] {
            if (SourceView* view = activeView()) view->run(command);
        });
    }
}

}  // namespace host
