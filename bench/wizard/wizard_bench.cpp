// How long the wizard takes from being asked to show until its window is first painted,
// and how much memory the open wizard holds, next to a bare dialog with as many widgets.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "wizard/form/wizard_form.h"
#include "wizard/frmOstWiz.h"
#include "wizard/settings/ini_settings_store.h"

namespace {

std::size_t heapInUse() { return mallinfo2().uordblks; }

// Ends a modal dialog at its first paint, noting the time and the heap then. It watches the
// whole application, so it sees the first paint of a window created after it.
class FirstPaint : public QObject {
public:
    FirstPaint(QString windowName, const QElapsedTimer& clock)
        : m_windowName(std::move(windowName)), m_clock(clock) {
        qApp->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && elapsedNs < 0 &&
            watched->objectName() == m_windowName) {
            elapsedNs = m_clock.nsecsElapsed();
            heapAtPaint = heapInUse();
            auto* dialog = static_cast<QDialog*>(watched);
            QTimer::singleShot(0, dialog, [dialog] { dialog->done(QDialog::Rejected); });
        }
        return false;
    }
    qint64 elapsedNs = -1;
    std::size_t heapAtPaint = 0;

private:
    QString m_windowName;
    const QElapsedTimer& m_clock;
};

struct Environment {
    Environment() {
        std::ofstream(std::filesystem::path(dir.path().toStdString()) / "template.wtf") << "<form></form>";
    }
    ostrel::WizardEnvironment get() {
        return {std::make_shared<ostrel::IniSettingsStore>(
                    std::filesystem::path(dir.path().toStdString()) / "Ostrel_Plugin.ini"),
                dir.path().toStdString()};
    }
    QTemporaryDir dir;
};

// From the add-in's call to Show: the form is loaded, filled from the settings and stacked.
void BM_WizardClickToPainted(benchmark::State& state) {
    Environment env;
    double heapAdded = 0;
    for (auto _ : state) {
        auto wizard = com::make<ostrel::frmOstWiz>(env.get());
        QElapsedTimer clock;
        FirstPaint watcher("frmOstWiz", clock);
        const std::size_t heapBefore = heapInUse();
        clock.start();
        wizard->Show();
        state.SetIterationTime(watcher.elapsedNs / 1e9);
        heapAdded = double(watcher.heapAtPaint) - double(heapBefore);
    }
    state.counters["heap_KiB"] = heapAdded / 1024;
}

// A dialog with as many widgets of the same kinds, built in code, as the baseline.
void BM_BareDialogClickToPainted(benchmark::State& state) {
    double heapAdded = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        const std::size_t heapBefore = heapInUse();
        clock.start();
        QDialog dialog;
        dialog.setObjectName("bareDialog");
        dialog.resize(573, 386);
        for (int i = 0; i < 9; ++i) {
            auto* frame = new QFrame(&dialog);
            frame->setGeometry(10, 88, 553, 217);
            new QLabel("Instructions for this page of the dialog", frame);
            frame->setVisible(i == 0);
        }
        for (int i = 0; i < 8; ++i) new QPushButton("Button", &dialog);
        for (int i = 0; i < 6; ++i) new QLineEdit(&dialog);
        for (int i = 0; i < 3; ++i) new QCheckBox("Check", &dialog);
        for (int i = 0; i < 7; ++i) new QLabel("Label", &dialog);
        FirstPaint watcher("bareDialog", clock);
        dialog.exec();
        state.SetIterationTime(watcher.elapsedNs / 1e9);
        heapAdded = double(watcher.heapAtPaint) - double(heapBefore);
    }
    state.counters["heap_KiB"] = heapAdded / 1024;
}

}  // namespace

BENCHMARK(BM_WizardClickToPainted)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_BareDialogClickToPainted)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);
