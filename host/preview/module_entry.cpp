// The rendered view module's entry point.
#include <unistd.h>

#include <QString>
#include <QtGlobal>

#include "host/preview/rendered_view.h"
#include "host/preview/web_rendered_view.h"

namespace {

// Chromium refuses to start its sandbox as root, and its pages would then stay blank.
bool sandboxCannotStart() {
    if (geteuid() != 0) return false;
    return !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX") &&
           !qEnvironmentVariable("QTWEBENGINE_CHROMIUM_FLAGS").contains(u"--no-sandbox");
}

}  // namespace

extern "C" Q_DECL_EXPORT host::preview::RenderedView* ostrelCreateRenderedView(
    host::preview::RenderedViewEvents events, QWidget* parent, QString* failure) {
    if (sandboxCannotStart()) {
        if (failure) {
            *failure = QStringLiteral(
                "The rendered page is not shown: its browser engine does not run as root with "
                "its sandbox. Run the editor as an ordinary user, or set "
                "QTWEBENGINE_DISABLE_SANDBOX=1 to render without the sandbox.");
        }
        return nullptr;
    }
    return new host::preview::WebRenderedView(std::move(events), parent);
}
