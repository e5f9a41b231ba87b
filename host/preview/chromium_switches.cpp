// Starting the rendered view's Chromium with the network it cannot be guarded on shut.
#include "host/preview/chromium_switches.h"

#include <QByteArray>
#include <QWebEngineProfile>
#include <QtGlobal>

namespace host::preview {
namespace {

constexpr char kFlagsVariable[] = "QTWEBENGINE_CHROMIUM_FLAGS";
// Qt WebEngine leaves Chromium's accessibility off on Linux unless this is set; with it, the
// page's tree is built only while assistive technology is active (QAccessible::isActive), so
// it costs nothing otherwise.
constexpr char kAccessibilityVariable[] = "QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY";

}  // namespace

QStringList offlineSwitches() {
    return {
        // WebRTC and WebTransport open their own sockets, past every request interceptor:
        // WebRTC may use no UDP of its own, and its TCP (TURN) goes through the proxy below.
        // Only the forcing switch is honoured here (the plain --webrtc-ip-handling-policy
        // changes nothing), and it overrides the page setting.
        QStringLiteral("--force-webrtc-ip-handling-policy=disable_non_proxied_udp"),
        // A peer connection's first use otherwise makes the engine bind the multicast DNS
        // socket (224.0.0.251:5353), to hide local addresses behind .local names it then
        // answers for. This engine (Chromium 102) has no switch that keeps the WebRTC stack
        // from starting at all; the rendered view refuses the constructor in every frame
        // (web_rendered_view.cpp), and these switches leave a connection made anyway nothing
        // to send on.
        QStringLiteral("--disable-features=WebRtcHideLocalIpsWithMdns"),
        QStringLiteral("--disable-blink-features=WebTransport"),
        QStringLiteral("--disable-quic"),
        QStringLiteral("--dns-prefetch-disable"),
        // No name the page chooses reaches the system's resolver, and every connection the
        // guard did not see (preconnects, TURN over TCP) goes to a proxy that cannot be found.
        // The page's own files come through the editor's scheme and need neither.
        QStringLiteral("--host-resolver-rules=MAP * ~NOTFOUND"),
        QStringLiteral("--proxy-server=http://no-proxy.example:9"),
        QStringLiteral("--proxy-bypass-list=<-loopback>"),
    };
}

void startChromiumOffline() {
    static const bool started = [] {
        const bool had = qEnvironmentVariableIsSet(kFlagsVariable);
        const QByteArray own = qgetenv(kFlagsVariable);
        QByteArray flags = own;
        for (const QString& s : offlineSwitches()) {
            // Chromium splits the variable at spaces; quoted, the one switch with spaces
            // stays whole.
            flags += (flags.isEmpty() ? "" : " ") +
                     (s.contains(u' ') ? '"' + s.toUtf8() + '"' : s.toUtf8());
        }
        qputenv(kFlagsVariable, flags);
        const bool hadAccessibility = qEnvironmentVariableIsSet(kAccessibilityVariable);
        const QByteArray ownAccessibility = qgetenv(kAccessibilityVariable);
        if (!hadAccessibility) qputenv(kAccessibilityVariable, "1");
        // Chromium starts with the first profile made; one off the record leaves nothing on disk.
        { const QWebEngineProfile first; }
        // Programs the editor starts (a browser on Qt WebEngine, say) keep the user's own.
        if (had) {
            qputenv(kFlagsVariable, own);
        } else {
            qunsetenv(kFlagsVariable);
        }
        if (hadAccessibility) {
            qputenv(kAccessibilityVariable, ownAccessibility);
        } else {
            qunsetenv(kAccessibilityVariable);
        }
        return true;
    }();
    (void)started;
}

}  // namespace host::preview
