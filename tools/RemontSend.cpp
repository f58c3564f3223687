// remont-send: plays the companion wiring-diagram viewer. It asks a running
// viewer to show a page or print a picture, or listens as the companion and
// prints every message the viewer sends it.
#include "core/CommandLine.h"
#include "platform/Companion.h"

#include <QCoreApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QVariant>

#include <cstdio>

namespace {

QString help()
{
    return QStringLiteral(
        "Usage: remont-send show PAGE\n"
        "  or:  remont-send print PICTURE\n"
        "  or:  remont-send listen\n"
        "Talk to a running viewer as its companion wiring-diagram viewer does.\n"
        "\n"
        "  show      ask the viewer to show PAGE; prints its reply (shown ...)\n"
        "  print     ask the viewer to print PICTURE; prints its replies (hide, show)\n"
        "  listen    listen as the companion; prints every message, ends on close\n"
        "\n"
        "      --help      display this help and exit\n"
        "      --version   output version information and exit\n"
        "\n"
        "Exit status: 0 when the viewer replied, 1 when no viewer runs or no reply\n"
        "came, 2 on a usage error.\n");
}

int usage()
{
    std::fprintf(stderr, "usage: remont-send show PAGE\n"
                         "       remont-send print PICTURE\n"
                         "       remont-send listen\n");
    return 2;
}

void printFrame(const platform::CompanionFrame &frame)
{
    const char *name = "message";
    switch (frame.message) {
    case platform::MsgClose:
        name = "close";
        break;
    case platform::MsgShown:
        name = "shown";
        break;
    case platform::MsgShowWindow:
        name = frame.wParam == 0 ? "hide" : "show";
        break;
    case platform::MsgCopyData:
        name = "request";
        break;
    default:
        break;
    }
    std::printf("%s %u %u %u\n", name, frame.message, frame.wParam, frame.lParam);
    std::fflush(stdout);
}

// Sends a request and prints every answer until the viewer has replied to
// it (a shown page, or the window shown again after a print).
int request(quint16 command, const QString &name)
{
    QLocalSocket socket;
    socket.connectToServer(platform::companionSocketPath(platform::viewerTitle()));
    if (!socket.waitForConnected(3000)) {
        std::fprintf(stderr, "remont-send: no viewer is running\n");
        return 1;
    }
    const QByteArray record = platform::encodeCompanionRecord(command, name);
    socket.write(platform::encodeFrame({platform::MsgCopyData, 0, 0, record}));
    socket.flush();
    QByteArray buffer;
    for (;;) {
        if (!socket.waitForReadyRead(command == 1 ? 600000 : 30000)) {
            std::fprintf(stderr, "remont-send: no reply\n");
            return 1;
        }
        buffer += socket.readAll();
        platform::CompanionFrame frame;
        bool bad = false;
        while (platform::takeFrame(buffer, frame, &bad)) {
            printFrame(frame);
            if (frame.message == platform::MsgShown ||
                (frame.message == platform::MsgShowWindow && frame.wParam != 0))
                return 0;
        }
        if (bad)
            return 1;
    }
}

int listen(QCoreApplication &app)
{
    QLocalServer server;
    server.setSocketOptions(QLocalServer::UserAccessOption);
    const QString path = platform::companionSocketPath(platform::companionTitle());
    if (!server.listen(path)) {
        QLocalServer::removeServer(path);
        if (!server.listen(path)) {
            std::fprintf(stderr, "remont-send: cannot listen on %s\n", qPrintable(path));
            return 1;
        }
    }
    std::printf("listening %s\n", qPrintable(path));
    std::fflush(stdout);
    QObject::connect(&server, &QLocalServer::newConnection, [&] {
        while (QLocalSocket *socket = server.nextPendingConnection()) {
            QObject::connect(socket, &QLocalSocket::readyRead, [socket, &app] {
                QByteArray buffer = socket->property("buffer").toByteArray() + socket->readAll();
                platform::CompanionFrame frame;
                bool bad = false;
                while (platform::takeFrame(buffer, frame, &bad)) {
                    printFrame(frame);
                    if (frame.message == platform::MsgClose)
                        app.quit(); // the companion closes with the viewer
                }
                socket->setProperty("buffer", buffer);
            });
            QObject::connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
    return app.exec();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (const QString option = StandardOption(args); !option.isEmpty()) {
        PrintStandardOption(option, QStringLiteral("remont-send"), help());
        return 0;
    }
    if (args.size() == 2 && args[0] == QLatin1String("show"))
        return request(0, args[1]);
    if (args.size() == 2 && args[0] == QLatin1String("print"))
        return request(1, args[1]);
    if (args.size() == 1 && args[0] == QLatin1String("listen"))
        return listen(app);
    return usage();
}
