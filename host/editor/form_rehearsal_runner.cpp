// The sign-up rehearsal's runner.
#include "host/editor/form_rehearsal_runner.h"

#include <QApplication>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <cstring>

#include "host/formcheck/form_check_command.h"
#include "host/pagefile/page_file.h"
#include "host/pagefile/page_file_format.h"
#include "host/preview/rendered_view_module.h"

namespace host {
namespace {

const QString kRegionId = QStringLiteral("OstrelInsert");
// The engine answers within a second or two; this only ends a rehearsal whose engine never
// answers (a renderer that hangs), so that nothing waits for ever.
constexpr int kGuardMs = 60000;

QString megabytes(qint64 bytes) {
    return QStringLiteral("%1 MB").arg(double(bytes) / (1 << 20), 0, 'f', 0);
}

}  // namespace

FormRehearsalRunner::FormRehearsalRunner(QObject* parent)
    : QObject(parent), m_guard(new QTimer(this)) {
    m_guard->setSingleShot(true);
    m_guard->setInterval(kGuardMs);
    connect(m_guard, &QTimer::timeout, this, [this] {
        // A view whose renderer hangs is of no more use: the next rehearsal makes a new one.
        m_view.reset();
        finish(m_run,
               formcheck::rehearsalNotRun(
                   QCoreApplication::translate("host::formcheck::FormCheck",
                                               "the rendered view gave no answer within %1 seconds")
                       .arg(kGuardMs / 1000)));
    });
}

FormRehearsalRunner::~FormRehearsalRunner() = default;

void FormRehearsalRunner::rehearse(const QByteArray& utf8Page,
                                   const formcheck::PageContext& context, bool scriptsEnabled,
                                   Done done) {
    if (m_done) {
        // The one it takes the place of still answers, so that nobody waits for it.
        QTimer::singleShot(0, this, [previous = std::move(m_done)] {
            previous(formcheck::rehearsalNotRun(QCoreApplication::translate(
                "host::formcheck::FormCheck", "a newer rehearsal took its place")));
        });
    }
    const int run = ++m_run;
    m_done = std::move(done);
    const auto notRun = [&](const QString& why) {
        QTimer::singleShot(0, this, [this, run, why] { finish(run, formcheck::rehearsalNotRun(why)); });
    };
    if (utf8Page.size() > preview::kLargestRenderedPage) {
        notRun(
            QCoreApplication::translate("host::formcheck::FormCheck",
                                        "the page (%1) is larger than the rendered view shows (%2)")
                .arg(megabytes(utf8Page.size()), megabytes(preview::kLargestRenderedPage)));
        return;
    }
    if (!m_service) {
        QString failure;
        m_service = formcheck::loadServiceForm(&failure);
        if (!m_service) {
            notRun(QCoreApplication::translate("host::formcheck::FormCheck",
                                               "what the service reads is not known: %1")
                       .arg(failure));
            return;
        }
    }
    if (!m_view && m_viewFailure.isEmpty()) {
        m_view = preview::createRenderedView({}, nullptr, &m_viewFailure);
        if (m_view) {
            // Laid out and painted like a shown page, but never on screen.
            QWidget* w = m_view->widget();
            w->setAttribute(Qt::WA_DontShowOnScreen);
            w->setAttribute(Qt::WA_QuitOnClose, false);
            w->resize(1024, 768);
            w->show();
        } else if (!preview::renderedViewBuiltIn()) {
            m_viewFailure =
                QCoreApplication::translate("host::formcheck::FormCheck",
                                            "this build has no rendered view (it was built without "
                                            "Qt WebEngine)");
        }
    }
    if (!m_view) {
        notRun(m_viewFailure);
        return;
    }
    m_guard->start();
    m_view->setScriptsEnabled(scriptsEnabled);
    m_view->render(utf8Page, context.pagePath, QStringLiteral("Untitled rehearsal"));
    m_view->rehearseForm(kRegionId, [this, run, utf8Page, context](const QByteArray& json,
                                                                    const QString& failure) {
        if (run != m_run) return;
        if (!failure.isEmpty()) {
            finish(run, formcheck::rehearsalNotRun(failure));
            return;
        }
        loadThankYou(run, formcheck::judgeRehearsal(json, utf8Page, context, *m_service));
    });
}

// The service's answer sends the visitor to the thank-you page: the engine loads that file
// of the site.
void FormRehearsalRunner::loadThankYou(int run, formcheck::Rehearsal rehearsal) {
    if (rehearsal.thankYouFile.isEmpty()) {
        finish(run, rehearsal);
        return;
    }
    if (const auto known = m_thankYouLoaded.find(rehearsal.thankYouFile);
        known != m_thankYouLoaded.end()) {
        formcheck::addThankYouLoad(rehearsal, known->second);
        finish(run, rehearsal);
        return;
    }
    QByteArray text;
    bool read = false;
    try {
        PageFileRules rules;
        rules.largest = preview::kLargestRenderedPage;
        text = decodePage(readPageFile(rehearsal.thankYouFile, rules).bytes).text.toUtf8();
        read = true;
    } catch (const std::exception&) {
        // Not a page the view can show (a link, too large, not text): it does not load.
    }
    if (!read) {
        formcheck::addThankYouLoad(rehearsal, false);
        finish(run, rehearsal);
        return;
    }
    m_view->render(text, rehearsal.thankYouFile, {});
    m_view->whenLoaded([this, run, rehearsal](bool loaded) mutable {
        if (m_oneRun) m_thankYouLoaded[rehearsal.thankYouFile] = loaded;
        formcheck::addThankYouLoad(rehearsal, loaded);
        finish(run, rehearsal);
    });
}

void FormRehearsalRunner::finish(int run, const formcheck::Rehearsal& rehearsal) {
    if (run != m_run || !m_done) return;
    m_guard->stop();
    if (m_view && !m_oneRun) m_view->render({}, {}, QStringLiteral("Untitled rehearsal"));
    Done done = std::move(m_done);
    m_done = nullptr;
    done(rehearsal);
}

formcheck::Rehearsal FormRehearsalRunner::rehearseNow(const QByteArray& utf8Page,
                                                      const formcheck::PageContext& context) {
    std::optional<formcheck::Rehearsal> result;
    QEventLoop loop;
    rehearse(utf8Page, context, false, [&](const formcheck::Rehearsal& r) {
        result = r;
        loop.quit();
    });
    if (!result) loop.exec();
    return *result;
}

int runFormCheckCommandLine(int argc, char** argv) {
    QStringList arguments;
    bool rehearse = true;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
        if (std::strcmp(argv[i], "--no-rehearsal") == 0) rehearse = false;
    }
    if (!rehearse) return formcheck::runFormCheckCommand(arguments, stdout, stderr);
    // No window is ever shown: the rehearsal's view is laid out offscreen.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    FormRehearsalRunner runner;
    runner.forOneRun();
    return formcheck::runFormCheckCommand(
        arguments, stdout, stderr,
        [&](const QByteArray& utf8Page, const formcheck::PageContext& context) {
            return runner.rehearseNow(utf8Page, context);
        });
}

}  // namespace host
