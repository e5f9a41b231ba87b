// The creator registered for the browser program id.
#include "host/browser/browser_class.h"

#include "com/class_factory.h"
#include "com/error.h"
#include "com/web_browser.h"
#include "host/browser/browser_object.h"

namespace host {

void registerBrowserClass(BrowserOptions options) {
    com::registerClass(std::string(com::kBrowserProgId), [options]() -> com::ComPtr<com::IUnknown> {
        auto program = findBrowserProgram();
        if (!program) {
            throw com::Error(com::errc::cannotCreateObject,
                             "No web browser found: set $BROWSER or install chromium or firefox",
                             std::string(com::kBrowserProgId));
        }
        auto browser = com::make<WebBrowser>(std::move(*program), options.extraArguments);
        return com::ComPtr<com::IUnknown>(static_cast<com::IWebBrowser*>(browser.get()));
    });
}

void revokeBrowserClass() {
    com::revokeClass(com::kBrowserProgId);
}

}  // namespace host
