#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

// SIGTERM, SIGHUP and SIGINT (a desktop logout, a closed terminal, Ctrl+C)
// reach the event loop as an ordinary call, so the program can close its
// windows the normal way and save what it keeps.
namespace platform {

class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    // Installs the handlers; one instance per process.
    explicit TerminationSignals(std::function<void(int signal)> onSignal,
                                QObject *parent = nullptr);
    ~TerminationSignals() override;

private:
    void readSignal();

    std::function<void(int)> m_onSignal;
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace platform
