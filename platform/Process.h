#pragma once

#include <QList>

#include <functional>

// Ending the process at once (the restart key, a window that ends the
// program). Tests install a recorder, so that asking for an exit does not end
// the test run; callers must therefore be ready for exitProcess to return.
namespace platform {

void exitProcess(int code);

using ExitHandler = std::function<void(int code)>;
// Installs a handler in place of the real exit; an empty handler restores it.
void setExitHandler(ExitHandler handler);

// Records exit requests for the lifetime of the guard.
class ScopedExitRecorder
{
public:
    ScopedExitRecorder();
    ~ScopedExitRecorder();
    ScopedExitRecorder(const ScopedExitRecorder &) = delete;
    ScopedExitRecorder &operator=(const ScopedExitRecorder &) = delete;

    QList<int> codes;

private:
    ExitHandler m_previous;
};

} // namespace platform
