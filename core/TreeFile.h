#pragma once

#include <QList>
#include <QString>
#include <QStringView>

// The contents tree's file: one node per line, in file order. The leading
// tabs and spaces give the line's level; the rest reads caption;link;icon.

struct TTreeLine
{
    int Level = 0;   // leading tabs and spaces, as written
    int Depth = 0;   // depth of the node made for the line (top = 0)
    int Parent = -1; // index of the parent line, -1 for a top-level node
    QString Caption; // as written, trailing blanks kept
    QString Link;    // trimmed of blanks and control characters
    QString Icon;    // everything after the second ";", untrimmed
};

// One line without its placement. Missing fields are empty.
TTreeLine ParseTreeLine(QStringView line);

// Every line of the text with its place in the tree. Lines end at CR, LF or
// CR LF; a blank line is a node too, but a line break at the very end of the
// text does not start another line.
//
// A line deeper than the previous node's depth + 1 becomes a child of that
// node, like a line exactly one deeper: its caption is kept.
QList<TTreeLine> ParseTreeFile(QStringView text);

// The file read through the archive (Windows-1251); empty when it is missing.
QList<TTreeLine> ReadTreeFile(const QString &fileName);
