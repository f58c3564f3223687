#include "platform/ThemeLink.h"

#include "platform/FileSystem.h"
#include "platform/Text.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStyle>
#include <QVariant>
#include <QWidget>

namespace platform {

namespace {

constexpr qint64 maxSkinFileSize = 4 * 1024 * 1024;
constexpr char skinObjectProperty[] = "skinObject";

// Braces must balance outside comments and strings; Qt drops a sheet it cannot
// parse silently, and a half-applied skin is worse than none.
bool looksLikeStyleSheet(const QString &text)
{
    int depth = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'/' && i + 1 < text.size() && text.at(i + 1) == u'*') {
            const qsizetype end = text.indexOf(QLatin1String("*/"), i + 2);
            if (end < 0)
                return false;
            i = end + 1;
        } else if (c == u'"' || c == u'\'') {
            const qsizetype end = text.indexOf(c, i + 1);
            if (end < 0)
                return false;
            i = end;
        } else if (c == u'{') {
            ++depth;
        } else if (c == u'}') {
            if (--depth < 0)
                return false;
        }
    }
    return depth == 0;
}

bool isRelativeUrl(const QString &url)
{
    if (url.isEmpty() || url.startsWith(u'/') || url.startsWith(u':') || url.startsWith(u'\\'))
        return false;
    if (url.size() > 1 && url.at(1) == u':') // a drive
        return false;
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    return !scheme.match(url).hasMatch();
}

QString decodeSkinText(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    // Skins are ASCII or UTF-8; an author's editor may still save Windows-1251.
    if (utf8.hasError())
        text = decode1251(bytes);
    return text;
}

void repolish(QWidget *control)
{
    QStyle *style = control->style();
    style->unpolish(control);
    style->polish(control);
    control->update();
}

} // namespace

QString prepareSkinSheet(const QString &text, const QString &folder, bool *ok)
{
    if (!looksLikeStyleSheet(text)) {
        if (ok)
            *ok = false;
        return QString();
    }
    static const QRegularExpression urlPattern(
        QStringLiteral(R"(url\(\s*(["']?)([^"')]*)\1\s*\))"));
    QString result;
    qsizetype last = 0;
    auto it = urlPattern.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        const QString url = m.captured(2).trimmed();
        if (!isRelativeUrl(url))
            continue;
        QString native = findOnDisk(folder + QString(url).replace(u'/', u'\\'));
        native.replace(u'"', QLatin1String("\\\""));
        result += text.mid(last, m.capturedStart() - last);
        result += QStringLiteral("url(\"%1\")").arg(native);
        last = m.capturedEnd();
    }
    result += text.mid(last);
    if (ok)
        *ok = true;
    return result;
}

ThemeLink::ThemeLink(QObject *owner)
    : QObject(owner)
{}

bool ThemeLink::setSkinFile(const QString &fileName)
{
    m_file = fileName;
    m_sheet.clear();
    m_loaded = false;

    const QString native = findOnDisk(fileName);
    const QFileInfo info(native);
    QByteArray bytes;
    if (!native.isEmpty() && info.isFile() && info.size() <= maxSkinFileSize &&
        readFile(fileName, bytes)) {
        QString folder = fileName;
        folder.replace(u'/', u'\\');
        folder.truncate(folder.lastIndexOf(u'\\') + 1);
        bool ok = false;
        m_sheet = prepareSkinSheet(decodeSkinText(bytes), folder, &ok);
        m_loaded = ok;
    }
    for (const QPointer<QWidget> &control : std::as_const(m_linked)) {
        if (control)
            control->setStyleSheet(m_sheet);
    }
    return m_loaded;
}

void ThemeLink::link(QWidget *control)
{
    if (!control)
        return;
    if (!isLinked(control))
        m_linked.append(control);
    if (m_loaded)
        control->setStyleSheet(m_sheet);
}

bool ThemeLink::isLinked(const QWidget *control) const
{
    for (const QPointer<QWidget> &linked : m_linked) {
        if (linked == control)
            return true;
    }
    return false;
}

void setSkinObject(QWidget *control, const QString &name)
{
    if (!control || skinObject(control) == name)
        return;
    control->setProperty(skinObjectProperty, name);
    repolish(control);
}

QString skinObject(const QWidget *control)
{
    return control ? control->property(skinObjectProperty).toString() : QString();
}

} // namespace platform
