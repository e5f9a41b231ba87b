// Loading the rendered view module.
#include "host/preview/rendered_view_module.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace host::preview {
namespace {

struct Module {
    CreateRenderedView create = nullptr;
    QString failure;
};

// The module sits beside the program, as the add-in modules do; it stays loaded, since
// Chromium cannot be started twice in one process.
const Module& module() {
    static const Module loaded = [] {
        Module m;
        QLibrary library(QDir(QCoreApplication::applicationDirPath())
                             .filePath(QStringLiteral("ostrel_preview")));
        if (!library.load()) {
            m.failure = QStringLiteral("The rendered page is not shown: %1").arg(library.errorString());
            return m;
        }
        m.create = reinterpret_cast<CreateRenderedView>(library.resolve(kCreateRenderedViewSymbol));
        if (!m.create) {
            m.failure =
                QStringLiteral("The rendered page is not shown: %1").arg(library.errorString());
        }
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
    return std::unique_ptr<RenderedView>(m.create(std::move(events), parent, failure));
}

}  // namespace host::preview
