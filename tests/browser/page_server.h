// A web server on loopback for tests with a real browser.
#pragma once

#include <QString>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>

namespace testing_browser {

// Serves one small page to whoever asks and remembers the paths asked for.
class PageServer {
public:
    PageServer() {
        m_server.listen(QHostAddress::LocalHost);
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection()) {
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    const QList<QByteArray> requestLine = socket->readLine().split(' ');
                    if (requestLine.size() >= 2) m_paths << QString::fromUtf8(requestLine[1]);
                    const QByteArray body = "<html><body>Ostrel test page</body></html>";
                    socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
                                  QByteArray::number(body.size()) +
                                  "\r\nConnection: close\r\n\r\n" + body);
                    socket->disconnectFromHost();
                });
                QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }
    QString url(const QString& path) const {
        return QString("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path);
    }
    const QStringList& paths() const { return m_paths; }

private:
    QTcpServer m_server;
    QStringList m_paths;
};

}  // namespace testing_browser
