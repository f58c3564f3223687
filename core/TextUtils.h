#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Text helpers shared by every part of the viewer; positions and counts are in
// characters.

// Head before the first separator; the text keeps what follows it. Without the
// separator the whole text is the head and the text becomes empty.
QString CutToken(QString &text, const QString &separator);
QString TextAfter(const QString &text, const QString &separator);
QString CutChars(int n, QString &text);
QString ShortenText(const QString &text, int n);

// First line at or after start that contains the key ignoring case (or starts
// with it when prefixOnly); -1 when none. progress receives index + 1 after
// every tested line.
int FindInList(const QStringList &list, const QString &key, int start,
               const std::function<void(int)> &progress, bool prefixOnly);

// The n-th (1-based) "*"-separated field; empty when missing or n < 1.
QString NthField(const QString &text, int n);
void WrapHtmlHead(QStringList &lines, const QString &bodyAttributes);
void WrapHtmlTail(QStringList &lines);
