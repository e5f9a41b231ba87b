// The sign-up rehearsal in a rendered view of its own, never shown: the page as the editor
// holds it (its scripts as the page's setting says) is filled in and submitted by the
// engine, and host/formcheck judges what it sent. The Form Check panel and
// `pagehost --check-form` use it.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>
#include <optional>

class QTimer;

#include "host/formcheck/rehearsal_findings.h"
#include "host/formcheck/service_form.h"

namespace host {

namespace preview {
class RenderedView;
}

class FormRehearsalRunner : public QObject {
public:
    explicit FormRehearsalRunner(QObject* parent = nullptr);
    ~FormRehearsalRunner() override;

    using Done = std::function<void(const formcheck::Rehearsal&)>;
    // One rehearsal at a time: a newer one takes the place of one still running, whose
    // `done` is then never called. A page above the rendered view's size limit, a build
    // without the rendered view or a service description that cannot be read give a
    // rehearsal that did not run, saying why.
    void rehearse(const QByteArray& utf8Page, const formcheck::PageContext& context,
                  bool scriptsEnabled, Done done);
    // The same, waiting for the answer in an event loop of its own (the command line).
    formcheck::Rehearsal rehearseNow(const QByteArray& utf8Page,
                                     const formcheck::PageContext& context);
    // For one run over files that do not change meanwhile (the command line): each
    // thank-you page is loaded once (a site's pages share one), and the view keeps the last
    // page until the next. Otherwise (the editor) the view lets go of the page after each
    // rehearsal, so that a large one does not stay in memory.
    void forOneRun() { m_oneRun = true; }

private:
    void finish(int run, const formcheck::Rehearsal& rehearsal);
    void loadThankYou(int run, formcheck::Rehearsal rehearsal);

    std::unique_ptr<preview::RenderedView> m_view;
    QString m_viewFailure;  // why no view can be made here; stays for the process
    std::optional<formcheck::ServiceForm> m_service;
    bool m_oneRun = false;
    std::map<QString, bool> m_thankYouLoaded;
    int m_run = 0;
    Done m_done;
    QTimer* m_guard;
};

// pagehost --check-form: the page checks, and the rehearsal offscreen unless --no-rehearsal
// leaves it out.
int runFormCheckCommandLine(int argc, char** argv);

}  // namespace host
