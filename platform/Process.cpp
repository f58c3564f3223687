#include "platform/Process.h"

#include <cstdio>
#include <cstdlib>

namespace platform {

namespace {

ExitHandler &handler()
{
    static ExitHandler instance;
    return instance;
}

} // namespace

void exitProcess(int code)
{
    if (handler()) {
        handler()(code);
        return;
    }
    std::fflush(nullptr);
    std::exit(code);
}

void setExitHandler(ExitHandler replacement)
{
    handler() = std::move(replacement);
}

ScopedExitRecorder::ScopedExitRecorder()
    : m_previous(handler())
{
    setExitHandler([this](int code) { codes.append(code); });
}

ScopedExitRecorder::~ScopedExitRecorder()
{
    setExitHandler(std::move(m_previous));
}

} // namespace platform
