#include "platform/CompanionLink.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QThread>
#include <QVariant>

namespace platform {

CompanionLink::CompanionLink(QObject *parent)
    : QObject(parent)
{
    connect(&m_server, &QLocalServer::newConnection, this, &CompanionLink::accept);
}

CompanionLink::~CompanionLink() = default;

bool CompanionLink::listen(const QString &title)
{
    const QString path = companionSocketPath(title);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    if (m_server.listen(path))
        return true;
    // Another copy cannot be running (the single-instance lock says so), so
    // the socket file is a leftover of one that crashed.
    QLocalServer::removeServer(path);
    return m_server.listen(path);
}

QString CompanionLink::socketPath() const
{
    return m_server.fullServerName();
}

void CompanionLink::accept()
{
    while (QLocalSocket *socket = m_server.nextPendingConnection()) {
        socket->setParent(this);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readFrom(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void CompanionLink::readFrom(QLocalSocket *socket)
{
    QByteArray buffer = socket->property("remontBuffer").toByteArray() + socket->readAll();
    CompanionFrame frame;
    bool bad = false;
    QPointer<QLocalSocket> alive(socket);
    while (takeFrame(buffer, frame, &bad)) {
        if (frame.message == MsgCopyData && OnRequest)
            OnRequest(decodeCompanionRecord(frame.payload), socket);
        else if (frame.message == MsgOpen && OnOpen)
            OnOpen(decodeOpenRequest(frame.payload));
        if (!alive)
            return;
    }
    if (bad) {
        // A frame that announces an absurd size is not a companion talking.
        socket->abort();
        return;
    }
    socket->setProperty("remontBuffer", buffer);
}

void CompanionLink::send(QLocalSocket *to, quint32 message, quint32 wParam, quint32 lParam,
                         const QByteArray &payload)
{
    if (!to || to->state() != QLocalSocket::ConnectedState)
        return;
    to->write(encodeFrame({message, wParam, lParam, payload}));
    to->flush();
}

bool CompanionLink::notifyClose(const QString &companionTitle, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(companionSocketPath(companionTitle));
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(encodeFrame({MsgClose, 0, 0, {}}));
    socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    return true;
}

bool CompanionLink::handOver(const QString &title, const OpenRequest &request, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        QLocalSocket socket;
        socket.connectToServer(companionSocketPath(title));
        if (socket.waitForConnected(timeoutMs)) {
            socket.write(encodeFrame({MsgOpen, 0, 0, encodeOpenRequest(request)}));
            const bool written = socket.waitForBytesWritten(timeoutMs);
            socket.disconnectFromServer();
            return written;
        }
        if (clock.elapsed() >= timeoutMs)
            return false;
        QThread::msleep(100);
    }
}

} // namespace platform
