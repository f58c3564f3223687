#include "platform/Dialogs.h"

#include <cstdio>

namespace platform {

namespace {

class ConsoleDialogs : public Dialogs
{
public:
    void message(MessageKind, const QString &title, const QString &text) override
    {
        const QString line = title.isEmpty() ? text : title + QStringLiteral(": ") + text;
        std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    }
    QString openFile(const FileDialogRequest &) override { return {}; }
};

ConsoleDialogs g_console;
Dialogs *g_instance = nullptr;

} // namespace

Dialogs &dialogs()
{
    return g_instance ? *g_instance : g_console;
}

void setDialogs(Dialogs *instance)
{
    g_instance = instance;
}

PrintDialogAnswer Dialogs::printDialog(const PrintDialogRequest &)
{
    return {};
}

void showMessage(const QString &text)
{
    dialogs().message(MessageKind::Plain, QString(), text);
}

void showError(const QString &title, const QString &text)
{
    dialogs().message(MessageKind::Error, title, text);
}

void showSkinnedMessage(const QString &text)
{
    dialogs().message(MessageKind::Skinned, QString(), text);
}

void RecordingDialogs::message(MessageKind kind, const QString &title, const QString &text)
{
    messages.append({kind, title, text});
}

QString RecordingDialogs::openFile(const FileDialogRequest &request)
{
    fileRequests.append(request);
    return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
}

PrintDialogAnswer RecordingDialogs::printDialog(const PrintDialogRequest &request)
{
    printRequests.append(request);
    return printAnswers.isEmpty() ? PrintDialogAnswer() : printAnswers.takeFirst();
}

QStringList RecordingDialogs::texts() const
{
    QStringList out;
    for (const MessageRecord &m : messages)
        out.append(m.text);
    return out;
}

void RecordingDialogs::clear()
{
    messages.clear();
    fileRequests.clear();
    fileAnswers.clear();
    printRequests.clear();
    printAnswers.clear();
}

ScopedRecordingDialogs::ScopedRecordingDialogs()
    : m_previous(g_instance)
{
    setDialogs(this);
}

ScopedRecordingDialogs::~ScopedRecordingDialogs()
{
    setDialogs(m_previous);
}

} // namespace platform
