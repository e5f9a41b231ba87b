// Every interface header compiles on its own and its identifiers are distinct.
#include <gtest/gtest.h>

#include <set>

#include "com/addin_extensibility.h"
#include "com/class_factory.h"
#include "com/command_bars.h"
#include "com/host_application.h"
#include "com/html_document.h"
#include "com/web_browser.h"

TEST(Interfaces, IdentifiersAreDistinct) {
    const std::set<com::Guid> ids{
        com::IUnknown::iid,          com::IDispatch::iid,         com::IClassFactory::iid,
        com::ICommandBars::iid,      com::ICommandBar::iid,       com::ICommandBarControls::iid,
        com::ICommandBarControl::iid, com::ICommandBarButton::iid, com::ICommandBarButtonEvents::iid,
        com::IHostApplication::iid,  com::IPageWindow::iid,       com::IHTMLDocument2::iid,
        com::IHTMLElementCollection::iid, com::IHTMLElement::iid, com::IDTExtensibility2::iid,
        com::IWebBrowser::iid,       com::DWebBrowserEvents::iid};
    EXPECT_EQ(ids.size(), 17u);
    EXPECT_EQ(com::IHostApplication::iid.toString(), "{04DF1014-7007-11D1-83BC-006097ABE675}");
    EXPECT_EQ(com::IPageWindow::iid.toString(), "{48FB4014-D3D0-11D1-83D7-006097ABE675}");
}
