#include "core/ActionText.h"

#include "core/TextUtils.h"
#include "platform/Dialogs.h"

TSkCommand::TSkCommand(const QString &text)
{
    Parse(text);
}

void TSkCommand::Parse(const QString &text)
{
    m_commands.clear();
    QString rest = text;
    while (!rest.isEmpty()) {
        QString piece = CutToken(rest, QStringLiteral("//"));
        const QString name = CutToken(piece, QStringLiteral("*"));
        if (name.isEmpty())
            continue;
        RCommand command;
        command.Name = name.toLower();
        command.ParamText = piece;
        command.Tail = rest;
        for (const QString &param : piece.split(u'*')) {
            if (!param.isEmpty())
                command.Params.append(param);
        }
        m_commands.append(std::move(command));
    }
}

QString TSkCommand::CommandText(int i) const
{
    if (i < 0 || i >= m_commands.size())
        return {};
    QString text = m_commands[i].Name;
    for (const QString &param : m_commands[i].Params)
        text += u'*' + param;
    return text;
}

QString GetParam(const QStringList &params, int i)
{
    if (i < 0 || i >= params.size())
        return {};
    const QString param = params[i];
    QString lowered = param.toLower();
    const QString head = CutToken(lowered, QStringLiteral("("));
    if (head != QLatin1String("open_file"))
        return param;
    const QString pattern = CutToken(lowered, QStringLiteral(")"));
    platform::FileDialogRequest request;
    request.filter = u'*' + pattern;
    return platform::dialogs().openFile(request);
}

QString InsertValue(const QString &templ, const QString &value, bool append)
{
    if (templ.isEmpty())
        return {};
    QString result = templ;
    result.replace(QStringLiteral("insert"), value, Qt::CaseSensitive);
    if (append && result == templ) {
        if (!result.endsWith(u'*'))
            result += u'*';
        result += value;
    }
    return result;
}
