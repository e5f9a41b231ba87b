// Shared main of the benchmarks that need widgets: a QApplication (offscreen unless the
// environment names a platform) around the benchmark library's run.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <unistd.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Chromium (the editor's rendered view) will not start its sandbox as root, as when
    // benchmarks run in a container; the pages measured are generated ones.
    if (geteuid() == 0) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
