#pragma once

#include "platform/Companion.h"

#include <QLocalServer>
#include <QObject>
#include <QPointer>

#include <functional>

class QLocalSocket;

// The viewer's side of the companion conversation: it listens under its own
// title for requests, answers on the same connection, and tells a listening
// companion when it closes.
namespace platform {

class CompanionLink : public QObject
{
    Q_OBJECT

public:
    explicit CompanionLink(QObject *parent = nullptr);
    ~CompanionLink() override;

    // Listens (user-only access) under the title; false when the socket
    // cannot be made. A socket left by a crashed viewer is replaced.
    bool listen(const QString &title);
    QString socketPath() const;

    // Called for every request; the reply, if any, goes through reply().
    std::function<void(const CompanionRequest &request, QLocalSocket *sender)> OnRequest;
    // Called when a second start of the viewer hands over its manual and page.
    std::function<void(const OpenRequest &request)> OnOpen;

    static void send(QLocalSocket *to, quint32 message, quint32 wParam = 0, quint32 lParam = 0,
                     const QByteArray &payload = {});

    // Sends the close message to a companion listening under its title;
    // false when none listens.
    static bool notifyClose(const QString &companionTitle, int timeoutMs = 1000);

    // Hands a second start's manual and page to the copy listening under the
    // title. A copy that is still building its windows gets until the timeout
    // to start listening; false when none listened by then.
    static bool handOver(const QString &title, const OpenRequest &request, int timeoutMs = 5000);

private:
    void accept();
    void readFrom(QLocalSocket *socket);

    QLocalServer m_server;
};

} // namespace platform
