// Registration of the browser class under the platform's browser program id.
#pragma once

#include <QStringList>

namespace host {

struct BrowserOptions {
    // Arguments given to every browser before the address, e.g. --headless for tests.
    QStringList extraArguments;
};

// Makes com::createObject("InternetExplorer.Application") start browsers as set out in
// WebBrowser. Each creation looks for the browser afresh and fails with a clear description
// when none is found. The editor calls this at its start; tests call it in their set-up.
void registerBrowserClass(BrowserOptions options = {});
void revokeBrowserClass();

}  // namespace host
