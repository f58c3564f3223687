#pragma once

#include <QString>
#include <QStringList>
#include <Qt>

// Helpers of the structure engine.

// Alignment of a control inside its parent, in the form framework's terms.
enum class TAlign
{
    None,
    Top,
    Bottom,
    Left,
    Right,
    Client,
    Custom
};

// The name without its first length(AppFolder) characters when it contains
// ":" anywhere (the folder is taken to be its prefix, not compared).
QString StripAppFolder(const QString &name);
// The n-th (1-based) "*"-separated field; empty when missing or n < 1.
QString NthField(const QString &text, int n);
// "left", "right", "center" ignoring case; anything else centres.
Qt::Alignment ParseAlignment(const QString &text);
// "top", "bottom", "left", "right", "client", "custom", "none" ignoring case;
// anything else is None.
TAlign ParseAlign(const QString &text);
void WrapHtmlHead(QStringList &lines, const QString &bodyAttributes);
void WrapHtmlTail(QStringList &lines);

// True when the archive holds the name or AppPath(name) exists on disk.
bool ResourceExists(const QString &name);
// Writes the named file (archive or disk) to a new "BMA....tmp" file in the
// temporary folder and answers its name; the caller deletes it.
QString ExtractToTemp(const QString &name);
