#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// The action language: commands separated by "//", a command's parts by "*",
// the first part the command's name (lower-cased), the others its parameters.
// Nothing is trimmed, empty parameters and nameless commands are dropped.

// The record every action travels in, from the control (or hot key, or help
// button) that fired it to the dispatcher and on to the owner window.
struct RHelpAction
{
    QString Action;    // the action text
    qint32 Height = 0; // height of the control that fired it, or 0
    qint32 X = 0;      // screen x of that control's client origin (or of the mouse), or 0
    qint32 Y = 0;      // screen y, or 0
};

struct RCommand
{
    QString Name;       // lower-cased
    QString ParamText;  // the raw text after the name's "*"
    QStringList Params; // the non-empty parameters in order
    QString Tail;       // the unparsed rest after this command's "//"
};

class TSkCommand
{
public:
    explicit TSkCommand(const QString &text);

    void Parse(const QString &text);
    const QList<RCommand> &Commands() const { return m_commands; }
    int Count() const { return int(m_commands.size()); }
    // The normalised command: name, then "*" and each parameter.
    QString CommandText(int i) const;

private:
    QList<RCommand> m_commands;
};

// Parameter i (from 0), or empty. "open_file(PATTERN)" asks for a file through
// an open dialog filtered by "*" + PATTERN and answers the chosen file (in the
// program's path form) or empty when cancelled.
QString GetParam(const QStringList &params, int i);

// Replaces every lower-case "insert" in the template by the value; with append
// set and no "insert" in it, the value becomes a further parameter.
QString InsertValue(const QString &templ, const QString &value, bool append);
