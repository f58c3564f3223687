#include "core/TextUtils.h"

QString CutToken(QString &text, const QString &separator)
{
    const qsizetype at = separator.isEmpty() ? -1 : text.indexOf(separator);
    if (at < 0) {
        QString head = text;
        text.clear();
        return head;
    }
    QString head = text.left(at);
    text = text.mid(at + separator.size());
    return head;
}

QString TextAfter(const QString &text, const QString &separator)
{
    const qsizetype at = separator.isEmpty() ? -1 : text.indexOf(separator);
    return at < 0 ? QString() : text.mid(at + separator.size());
}

QString CutChars(int n, QString &text)
{
    if (n >= 0 && text.size() >= n) {
        QString head = text.left(n);
        text = text.mid(n);
        return head;
    }
    QString head = text;
    text.clear();
    return head;
}

QString ShortenText(const QString &text, int n)
{
    if (n <= 0 || n > text.size())
        return text;
    const QString kept = text.left(n - 1);
    const qsizetype blank = kept.lastIndexOf(u' ');
    if (blank < 0)
        return kept;
    return kept.left(blank) + QStringLiteral("...");
}

int FindInList(const QStringList &list, const QString &key, int start,
               const std::function<void(int)> &progress, bool prefixOnly)
{
    const QString lowered = key.toLower();
    for (int i = qMax(0, start); i < list.size(); ++i) {
        const QString line = list[i].toLower();
        const bool match = prefixOnly ? line.startsWith(lowered) : line.contains(lowered);
        if (progress)
            progress(i + 1);
        if (match)
            return i;
    }
    return -1;
}

QString NthField(const QString &text, int n)
{
    if (n < 1)
        return {};
    QString rest = text;
    QString field;
    for (int i = 0; i < n; ++i) {
        if (rest.isEmpty() && i > 0)
            return {};
        field = CutToken(rest, QStringLiteral("*"));
    }
    return field;
}

void WrapHtmlHead(QStringList &lines, const QString &bodyAttributes)
{
    lines.insert(0, QStringLiteral("<body ") + bodyAttributes + u'>');
    lines.insert(0, QStringLiteral("<head></head>"));
    lines.insert(0, QStringLiteral("<html>"));
}

void WrapHtmlTail(QStringList &lines)
{
    lines.append(QStringLiteral("</body>"));
    lines.append(QStringLiteral("</html>"));
}
