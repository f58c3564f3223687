#include "shell/skUtils.h"

#include "platform/FileSystem.h"
#include "shell/gPack.h"
#include "shell/uUtils.h"

#include <QFile>

QString StripAppFolder(const QString &name)
{
    if (name.contains(u':'))
        return name.mid(AppFolder().size());
    return name;
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

Qt::Alignment ParseAlignment(const QString &text)
{
    const QString t = text.toLower();
    if (t == QLatin1String("left"))
        return Qt::AlignLeft;
    if (t == QLatin1String("right"))
        return Qt::AlignRight;
    return Qt::AlignHCenter;
}

TAlign ParseAlign(const QString &text)
{
    const QString t = text.toLower();
    if (t == QLatin1String("top"))
        return TAlign::Top;
    if (t == QLatin1String("bottom"))
        return TAlign::Bottom;
    if (t == QLatin1String("left"))
        return TAlign::Left;
    if (t == QLatin1String("right"))
        return TAlign::Right;
    if (t == QLatin1String("client"))
        return TAlign::Client;
    if (t == QLatin1String("custom"))
        return TAlign::Custom;
    return TAlign::None;
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

bool ResourceExists(const QString &name)
{
    if (FindEntry(StripFolder(name)) >= 0)
        return true;
    return platform::fileExists(AppPath(name));
}

QString ExtractToTemp(const QString &name)
{
    const QString folder = AddSlash(LongPathName(TempFolder()));
    const QString file = TempFileName(folder, QStringLiteral("BMA"));
    if (file.isEmpty())
        return {};
    const TPack pack(name);
    QFile out(platform::toNative(file));
    if (out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        out.write(pack.data());
    return file;
}
