#include "platform/Shell.h"

#include "platform/FileSystem.h"

#include <QProcess>

namespace platform {

namespace {

bool looksLikeUrl(const QString &target)
{
    const qsizetype colon = target.indexOf(u':');
    // "C:\x" is a drive, "http://x" or "mailto:x" a URL.
    return colon > 1;
}

class DesktopShell : public Shell
{
public:
    bool open(const QString &target, const QString &parameters, const QString &) override
    {
        if (target.isEmpty())
            return false;
        const QString what = looksLikeUrl(target) ? target : findOnDisk(target);
        if (what.isEmpty())
            return false;
        QStringList args{what};
        if (!parameters.isEmpty())
            args += QProcess::splitCommand(parameters);
        return QProcess::startDetached(QStringLiteral("xdg-open"), args);
    }

    bool start(const QString &program, const QStringList &arguments,
               const QString &workingFolder) override
    {
        const QString native = findOnDisk(program);
        const QString folder = workingFolder.isEmpty() ? QString() : findOnDisk(workingFolder);
        return QProcess::startDetached(native.isEmpty() ? program : native, arguments, folder);
    }
};

DesktopShell g_desktop;
Shell *g_instance = nullptr;

} // namespace

Shell &shell()
{
    return g_instance ? *g_instance : g_desktop;
}

void setShell(Shell *instance)
{
    g_instance = instance;
}

bool RecordingShell::open(const QString &target, const QString &parameters, const QString &verb)
{
    requests.append({ShellRequest::Open, target, parameters, verb, {}});
    return true;
}

bool RecordingShell::start(const QString &program, const QStringList &arguments,
                           const QString &workingFolder)
{
    requests.append({ShellRequest::Start, program, arguments.join(u' '), {}, workingFolder});
    return true;
}

ScopedRecordingShell::ScopedRecordingShell()
    : m_previous(g_instance)
{
    setShell(this);
}

ScopedRecordingShell::~ScopedRecordingShell()
{
    setShell(m_previous);
}

} // namespace platform
