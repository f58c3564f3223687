#include "core/ValueSyntax.h"

#include "core/TextUtils.h"

EConvertError::EConvertError(const QString &message)
    : std::runtime_error(message.toStdString())
    , m_message(message)
{}

std::optional<int> ParseInteger(const QString &text)
{
    qsizetype i = 0;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        ++i;
    if (i == text.size())
        return std::nullopt;
    for (qsizetype j = i; j < text.size(); ++j) {
        if (text[j] < u'0' || text[j] > u'9')
            return std::nullopt;
    }
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    return ok ? std::optional<int>(value) : std::nullopt;
}

int StrictInteger(const QString &text, const QString &section, const QString &key)
{
    const std::optional<int> value = ParseInteger(text);
    if (!value) {
        throw EConvertError(
            QStringLiteral("Объект %1, ключ %2: значение \"%3\" не является целым числом")
                .arg(section, key, text));
    }
    return *value;
}

TFontSpec ParseFont(const QString &text, const QString &section, const QString &key)
{
    TFontSpec parsed;
    QString rest = text;
    const QString face = CutToken(rest, QStringLiteral("*"));
    const QString size = CutToken(rest, QStringLiteral("*"));
    const QString color = CutToken(rest, QStringLiteral("*"));
    const QString style = rest; // everything after the third "*"
    if (!face.isEmpty())
        parsed.Face = face;
    if (!size.isEmpty())
        parsed.Size = StrictInteger(size, section, key);
    if (!color.isEmpty())
        parsed.Color = ParseColor(color);
    if (!style.isEmpty()) {
        const QString lower = style.toLower();
        parsed.SetStyle = true;
        parsed.Italic = lower.contains(u'i');
        parsed.Bold = lower.contains(u'b');
        parsed.Underline = lower.contains(u'u');
    }
    return parsed;
}

TAnchorSpec ParseAnchor(const QString &text, const QString &section, const QString &key)
{
    QString rest = text;
    std::optional<int> fields[4];
    for (auto &field : fields) {
        const QString part = CutToken(rest, QStringLiteral(" "));
        if (part != QLatin1String("*"))
            field = StrictInteger(part, section, key);
    }
    return {fields[0], fields[1], fields[2], fields[3]};
}

int ParseCursor(const QString &text, const QString &section, const QString &key)
{
    static const struct
    {
        const char *name;
        int value;
    } kNames[] = {
        {"crdefault", 0},   {"crarrow", -2},      {"crcross", -3},      {"cribeam", -4},
        {"crsizenesw", -6}, {"crsizens", -7},     {"crsizenwse", -8},   {"crsizewe", -9},
        {"cruparrow", -10}, {"crhourglass", -11}, {"crdrag", -12},      {"crnodrop", -13},
        {"crhsplit", -14},  {"crvsplit", -15},    {"crmultidrag", -16}, {"crsqlwait", -17},
        {"crno", -18},      {"crappstart", -19},  {"crhelp", -20},      {"crhandpoint", -21},
        {"crsizeall", -22}, {"crsize", -22},
    };
    const QString lower = text.trimmed().toLower();
    for (const auto &entry : kNames) {
        if (lower == QLatin1String(entry.name))
            return entry.value;
    }
    return StrictInteger(text, section, key);
}

bool ParseBool(const QString &text, bool defaultValue)
{
    const QString t = text.trimmed().toLower();
    if (t == QLatin1String("true") || t == QLatin1String("1"))
        return true;
    if (t == QLatin1String("false") || t == QLatin1String("0"))
        return false;
    return defaultValue;
}

QString BoolText(bool value)
{
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

std::optional<TColor> ParseColor(const QString &text)
{
    QString value = text.trimmed();
    if (value.startsWith(u'#')) {
        const QString digits = value.mid(1);
        if (digits.size() >= 6)
            value = u'$' + digits.mid(4, 2) + digits.mid(2, 2) + digits.mid(0, 2);
        else
            value = u'$' + digits;
    }
    if (!value.startsWith(u'$'))
        value = u'$' + value;
    const QString hex = value.mid(1);
    if (hex.isEmpty() || hex.size() > 8)
        return std::nullopt;
    for (QChar c : hex) {
        if (!isxdigit(c.unicode() < 128 ? c.toLatin1() : 'x'))
            return std::nullopt;
    }
    bool ok = false;
    const uint parsed = hex.toUInt(&ok, 16);
    if (!ok)
        return std::nullopt;
    return TColor(parsed & 0x00FFFFFFu);
}

bool IsEven(int value)
{
    return value % 2 == 0;
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
