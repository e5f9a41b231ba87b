// Loading the rendered view module.
#include "host/preview/rendered_view_module.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

#include <sys/resource.h>

namespace host::preview {
namespace {

bool g_started = false;

struct Module {
    CreateRenderedView create = nullptr;
    QString failure;
};

// The module sits beside the program in the build tree and in the private library folder
// when installed (OSTREL_PRIVATE_FROM_BINDIR, relative to the program's folder), never found
// through the library path; it stays loaded, since Chromium cannot be started twice in one
// process.
const Module& module() {
    static const Module loaded = [] {
        Module m;
        if (!OSTREL_WITH_RENDERED_VIEW) {
            m.failure = QCoreApplication::translate(
                "host::RenderedView",
                "This build of the editor has no rendered view: it was built without Qt "
                "WebEngine. The page's source is on the other side.");
            return m;
        }
        // Chromium's script engine reserves far more address space than it uses (its pointer
        // cage alone takes many GiB): under a limit its renderers die as they start, and a
        // view would wait for a page that never comes.
        if (rlimit limit{}; getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) {
            m.failure = QCoreApplication::translate(
                            "host::RenderedView",
                            "The rendered page is not shown: the browser engine needs an address "
                            "space without a limit, and this program's is limited to %1 MB "
                            "(ulimit -v).")
                            .arg(quint64(limit.rlim_cur) >> 20);
            return m;
        }
        const QDir programFolder(QCoreApplication::applicationDirPath());
        QString errors;
        for (const QString& folder :
             {programFolder.path(),
              programFolder.filePath(QStringLiteral(OSTREL_PRIVATE_FROM_BINDIR))}) {
            QLibrary library(QDir(folder).filePath(QStringLiteral("ostrel_preview")));
            if (!library.load()) {
                errors +=
                    (errors.isEmpty() ? QString() : QStringLiteral("; ")) + library.errorString();
                continue;
            }
            m.create =
                reinterpret_cast<CreateRenderedView>(library.resolve(kCreateRenderedViewSymbol));
            if (!m.create) {
                m.failure = QCoreApplication::translate("host::RenderedView",
                                                        "The rendered page is not shown: %1")
                                .arg(library.errorString());
            }
            return m;
        }
        m.failure =
            QCoreApplication::translate("host::RenderedView", "The rendered page is not shown: %1")
                .arg(errors);
        return m;
    }();
    return loaded;
}

}  // namespace

std::unique_ptr<RenderedView> createRenderedView(RenderedViewEvents events, QWidget* parent,
                                                 QString* failure) {
    const Module& m = module();
    if (!m.create) {
        if (failure) *failure = m.failure;
        return nullptr;
    }
    std::unique_ptr<RenderedView> view(m.create(std::move(events), parent, failure));
    g_started = g_started || view;
    return view;
}

bool renderedViewStarted() {
    return g_started;
}

bool renderedViewBuiltIn() {
    return OSTREL_WITH_RENDERED_VIEW;
}

}  // namespace host::preview
