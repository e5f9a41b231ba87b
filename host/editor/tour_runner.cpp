// Playing a tour script.
#include "host/editor/tour_runner.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <cstdio>

#include "host/editor/editor_tab.h"
#include "host/editor/editor_window.h"
#include "host/editor/form_check_panel.h"
#include "host/editor/page.h"
#include "host/preview/rendered_view.h"

namespace host {
namespace {

class StepFailed : public std::runtime_error {
public:
    explicit StepFailed(const QString& why) : std::runtime_error(why.toStdString()) {}
};

}  // namespace

TourRunner::TourRunner(EditorWindow& window, QString outputDir, std::vector<TourStep> steps,
                       int stepTimeoutMs)
    : m_window(window),
      m_outputDir(std::move(outputDir)),
      m_steps(std::move(steps)),
      m_stepTimeoutMs(stepTimeoutMs) {
    m_timer.setInterval(50);
    connect(&m_timer, &QTimer::timeout, this, &TourRunner::tick);
}

void TourRunner::start() {
    m_waiting.start();
    m_timer.start();
}

void TourRunner::tick() {
    if (m_finished) return;
    if (m_next >= m_steps.size()) {
        finish(true);
        return;
    }
    const TourStep& step = m_steps[m_next];
    QWidget* dialog = QApplication::activeModalWidget();
    if (dialog && !dialog->isVisible()) dialog = nullptr;
    bool done = false;
    try {
        if (step.needsDialog() == (dialog != nullptr)) done = run(step, dialog);
    } catch (const StepFailed& e) {
        finish(false, QStringLiteral("Tour step %1 failed: %2")
                          .arg(step.describe(), QString::fromStdString(e.what())));
        return;
    }
    if (done) {
        ++m_next;
        m_waiting.restart();
    } else if (m_waiting.elapsed() > m_stepTimeoutMs) {
        const QString waitedFor =
            step.needsDialog() ? QStringLiteral("a modal dialog (with that control enabled)")
            : dialog           ? QStringLiteral("the modal dialog to close")
                               : QStringLiteral("the rendered page");
        finish(false, QStringLiteral("Tour step %1 failed: waited %2 s for %3")
                          .arg(step.describe())
                          .arg(m_stepTimeoutMs / 1000)
                          .arg(waitedFor));
    }
}

bool TourRunner::run(const TourStep& step, QWidget* dialog) {
    switch (step.kind) {
        case TourStep::Kind::Shot: {
            const EditorTab* view = m_window.tabOf(m_window.activePage());
            if (view && !view->isSettled()) return false;
            // A Form Check under way shows its result in the picture.
            if (m_window.formCheck().isChecking(m_window.activePage())) return false;
            savePicture(m_window, step.target);
            return true;
        }
        case TourStep::Kind::RenderedShot: {
            EditorTab* view = m_window.tabOf(m_window.activePage());
            if (!view) throw StepFailed(QStringLiteral("no page is open"));
            if (!view->isSettled()) return false;
            // The rendered side could not start (as root without its sandbox, say): the
            // tour says why once and goes on without the rendered pictures.
            const auto* failure = view->findChild<QLabel*>(QStringLiteral("renderedFailure"));
            if (!view->rendered() && failure) {
                if (m_renderedLeftOut.isEmpty()) {
                    std::fprintf(stderr,
                                 "pagehost: the tour goes on without pictures of the rendered "
                                 "page: %s\n",
                                 qUtf8Printable(failure->text()));
                }
                m_renderedLeftOut << step.target;
                return true;
            }
            if (!view->rendered() || !view->rendered()->widget()->isVisible())
                throw StepFailed(QStringLiteral("the rendered page is not shown"));
            savePicture(*view->rendered()->widget(), step.target);
            return true;
        }
        case TourStep::Kind::DialogShot:
            savePicture(*dialog, step.target);
            return true;
        case TourStep::Kind::Click: {
            CommandBarObject* bar = m_window.commandBars().bar(step.target);
            if (!bar)
                throw StepFailed(QStringLiteral("there is no command bar '%1'").arg(step.target));
            for (std::size_t i = 0; i < bar->count(); ++i) {
                CommandBarButtonObject* control = bar->control(i);
                if (control->caption() == step.argument && control->action()) {
                    // Queued: the click runs a modal dialog, whose loop must find this
                    // runner free to play the next steps.
                    QTimer::singleShot(0, control->action(), &QAction::trigger);
                    return true;
                }
            }
            throw StepFailed(
                QStringLiteral("the bar '%1' has no control '%2' (was the add-in loaded?)")
                    .arg(step.target, step.argument));
        }
        case TourStep::Kind::DialogClick: {
            auto* button = dialog->findChild<QAbstractButton*>(step.target);
            if (!button)
                throw StepFailed(QStringLiteral("the dialog has no button '%1'").arg(step.target));
            if (!button->isEnabled() || !button->isVisible()) return false;
            QTimer::singleShot(0, button, &QAbstractButton::click);
            return true;
        }
        case TourStep::Kind::DialogText: {
            auto* edit = dialog->findChild<QLineEdit*>(step.target);
            if (!edit)
                throw StepFailed(
                    QStringLiteral("the dialog has no text box '%1'").arg(step.target));
            if (!edit->isVisible()) return false;
            edit->setText(step.argument);
            return true;
        }
        case TourStep::Kind::DialogRead: {
            QStringList texts{dialog->windowTitle()};
            for (const QLabel* label : dialog->findChildren<QLabel*>()) {
                if (!label->isVisible()) continue;
                const bool rich =
                    label->textFormat() == Qt::RichText ||
                    (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(label->text()));
                texts << (rich ? QTextDocumentFragment::fromHtml(label->text()).toPlainText()
                               : label->text());
            }
            QFile file(QDir(m_outputDir).filePath(step.target + QStringLiteral(".txt")));
            if (!file.open(QIODevice::WriteOnly) ||
                file.write((texts.join(u'\n') + u'\n').toUtf8()) < 0)
                throw StepFailed(QStringLiteral("cannot write %1").arg(file.fileName()));
            return true;
        }
        case TourStep::Kind::Menu: {
            auto* action = m_window.findChild<QAction*>(step.target);
            if (!action)
                throw StepFailed(
                    QStringLiteral("the window has no menu item '%1'").arg(step.target));
            // Queued, as a click: the item may open a modal dialog.
            QTimer::singleShot(0, action, &QAction::trigger);
            return true;
        }
        case TourStep::Kind::WaitClosed:
            return true;
        case TourStep::Kind::Save: {
            Page* page = m_window.activePage();
            if (!page) throw StepFailed(QStringLiteral("no page is open"));
            if (!m_window.savePage(page))
                throw StepFailed(QStringLiteral("the page was not saved"));
            return true;
        }
    }
    return true;
}

void TourRunner::savePicture(QWidget& widget, const QString& name) {
    const QString path = QDir(m_outputDir).filePath(name + QStringLiteral(".png"));
    if (!widget.grab().save(path, "PNG"))
        throw StepFailed(QStringLiteral("cannot write %1").arg(path));
    m_pictures << path;
}

void TourRunner::finish(bool succeeded, const QString& failure) {
    m_timer.stop();
    m_finished = true;
    m_succeeded = succeeded;
    m_failure = failure;
    if (!succeeded) {
        // A picture of where it stopped helps to see why.
        QWidget* dialog = QApplication::activeModalWidget();
        try {
            savePicture(dialog ? *dialog : static_cast<QWidget&>(m_window),
                        QStringLiteral("tour-failure"));
        } catch (const StepFailed&) {
        }
    }
    emit finished(succeeded);
}

}  // namespace host
