#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Opening documents and starting programs leaves the process; tests replace
// the hook so that nothing is really started.
namespace platform {

struct ShellRequest
{
    enum Kind
    {
        Open,
        Start
    } kind = Open;
    QString target;     // program form for files, or a URL
    QString parameters; // Open: the shell verb's parameters; Start: command-line arguments
    QString verb;       // Open only ("open", "print", ...)
    QString workingFolder;
};

class Shell
{
public:
    virtual ~Shell() = default;
    // Opens a document or URL with the desktop's handler (xdg-open).
    virtual bool open(const QString &target, const QString &parameters, const QString &verb) = 0;
    // Starts a program detached; arguments are split like a command line.
    virtual bool start(const QString &program, const QStringList &arguments,
                       const QString &workingFolder) = 0;
};

Shell &shell();
void setShell(Shell *instance); // not owned; nullptr restores the desktop one

class RecordingShell : public Shell
{
public:
    bool open(const QString &target, const QString &parameters, const QString &verb) override;
    bool start(const QString &program, const QStringList &arguments,
               const QString &workingFolder) override;
    QList<ShellRequest> requests;
};

class ScopedRecordingShell : public RecordingShell
{
public:
    ScopedRecordingShell();
    ~ScopedRecordingShell() override;
    ScopedRecordingShell(const ScopedRecordingShell &) = delete;
    ScopedRecordingShell &operator=(const ScopedRecordingShell &) = delete;

private:
    Shell *m_previous;
};

} // namespace platform
