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
} // namespace

QString decode1251(QByteArrayView bytes)
{
    QStringDecoder decoder(kCodecName, QStringDecoder::Flag::Stateless);
    return decoder.decode(bytes);
}

QByteArray encode1251(QStringView text, bool *ok)
{
    QStringEncoder encoder(kCodecName, QStringEncoder::Flag::Stateless);
    QByteArray out = encoder.encode(text);
    // The ICU converter may substitute unmappable characters silently, so a
    // round trip is the reliable test.
    if (ok)
        *ok = !encoder.hasError() && decode1251(out) == text;
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
