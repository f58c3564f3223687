#include "core/TreeFile.h"

#include "core/ResourceArchive.h"
#include "platform/Text.h"

namespace {

// Blanks and control characters, as the link trimming knows them (a
// no-break space is text).
bool isTrimmed(QChar c)
{
    return c.unicode() <= u' ';
}

QString trimmedLink(QStringView link)
{
    qsizetype from = 0;
    qsizetype to = link.size();
    while (from < to && isTrimmed(link[from]))
        ++from;
    while (to > from && isTrimmed(link[to - 1]))
        --to;
    return link.sliced(from, to - from).toString();
}

} // namespace

TTreeLine ParseTreeLine(QStringView line)
{
    TTreeLine out;
    qsizetype at = 0;
    while (at < line.size() && (line[at] == u'\t' || line[at] == u' '))
        ++at;
    out.Level = int(at);
    const QStringView rest = line.sliced(at);
    const qsizetype first = rest.indexOf(u';');
    if (first < 0) {
        out.Caption = rest.toString();
        return out;
    }
    out.Caption = rest.first(first).toString();
    const QStringView fields = rest.sliced(first + 1);
    const qsizetype second = fields.indexOf(u';');
    if (second < 0) {
        out.Link = trimmedLink(fields);
        return out;
    }
    out.Link = trimmedLink(fields.first(second));
    out.Icon = fields.sliced(second + 1).toString();
    return out;
}

QList<TTreeLine> ParseTreeFile(QStringView text)
{
    QList<TTreeLine> lines;
    // lastAt[d]: the latest line placed at depth d, which is the ancestor at
    // that depth of every line placed after it until a shallower one comes.
    QList<int> lastAt;
    qsizetype start = 0;
    const qsizetype size = text.size();
    while (start < size) {
        qsizetype end = start;
        while (end < size && text[end] != u'\r' && text[end] != u'\n')
            ++end;
        TTreeLine line = ParseTreeLine(text.sliced(start, end - start));
        if (lines.isEmpty()) {
            line.Depth = 0;
        } else {
            const int prevDepth = lines.last().Depth;
            // Equal: a sibling; shallower: a sibling of the ancestor at that
            // level; deeper by one or more: a child of the previous node.
            line.Depth = qMin(line.Level, prevDepth + 1);
        }
        line.Parent = line.Depth == 0 ? -1 : lastAt[line.Depth - 1];
        lastAt.resize(line.Depth + 1);
        lastAt[line.Depth] = int(lines.size());
        lines.append(std::move(line));

        if (end < size && text[end] == u'\r' && end + 1 < size && text[end + 1] == u'\n')
            ++end;
        start = end + 1;
    }
    return lines;
}

QList<TTreeLine> ReadTreeFile(const QString &fileName)
{
    const TPack pack(fileName);
    return ParseTreeFile(platform::decode1251(pack.data()));
}
