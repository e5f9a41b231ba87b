// Plays a tour script against the running editor, from inside its event loops, so that
// it can also press the buttons of a modal dialog an add-in opens.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <vector>

#include "host/editor/tour_script.h"

namespace host {

class EditorWindow;

class TourRunner : public QObject {
    Q_OBJECT
public:
    TourRunner(EditorWindow& window, QString outputDir, std::vector<TourStep> steps,
               int stepTimeoutMs = 20000);

    void start();
    bool succeeded() const { return m_succeeded; }
    const QString& failure() const { return m_failure; }
    // Every picture written, in order.
    const QStringList& pictures() const { return m_pictures; }
    // The rendered pictures left out because the rendered page could not be shown.
    const QStringList& renderedLeftOut() const { return m_renderedLeftOut; }
    // The exit status of a tour that finished without them.
    static constexpr int kRenderedLeftOutStatus = 3;

signals:
    void finished(bool succeeded);

private:
    void tick();
    // Runs one step; returns false while the step has to wait.
    bool run(const TourStep& step, class QWidget* dialog);
    void savePicture(QWidget& widget, const QString& name);
    void finish(bool succeeded, const QString& failure = {});

    EditorWindow& m_window;
    QString m_outputDir;
    std::vector<TourStep> m_steps;
    int m_stepTimeoutMs;
    std::size_t m_next = 0;
    QTimer m_timer;
    QElapsedTimer m_waiting;
    QStringList m_pictures;
    QStringList m_renderedLeftOut;
    QString m_failure;
    bool m_finished = false;
    bool m_succeeded = false;
};

}  // namespace host
