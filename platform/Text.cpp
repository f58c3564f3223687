#include "platform/Text.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace platform {

namespace {
constexpr const char *kCodecName = "windows-1251";

QChar latinLower(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'A' && u <= u'Z') ? QChar(char16_t(u + 32)) : c;
}

// Creating an ICU converter costs far more than converting a file name, so
// each thread keeps one of each. The error flag is sticky: reset before use.
QStringDecoder &decoder()
{
    thread_local QStringDecoder d(kCodecName, QStringDecoder::Flag::Stateless);
    d.resetState();
    return d;
}

QStringEncoder &encoder()
{
    thread_local QStringEncoder e(kCodecName, QStringEncoder::Flag::Stateless);
    e.resetState();
    return e;
}

bool isAscii(QStringView text)
{
    for (QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}
} // namespace

QString decode1251(QByteArrayView bytes)
{
    for (char c : bytes) {
        if (quint8(c) >= 0x80)
            return decoder().decode(bytes);
    }
    return QString::fromLatin1(bytes);
}

QByteArray encode1251(QStringView text, bool *ok)
{
    // Windows-1251 agrees with ASCII on its lower half.
    if (isAscii(text)) {
        if (ok)
            *ok = true;
        return text.toLatin1();
    }
    QStringEncoder &e = encoder();
    QByteArray out = e.encode(text);
    if (ok)
        *ok = !e.hasError();
    return out;
}

bool sameLatinName(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (latinLower(a[i]) != latinLower(b[i]))
            return false;
    }
    return true;
}

} // namespace platform
