#include "platform/Companion.h"

#include "platform/Text.h"

#include <QDir>
#include <QStandardPaths>
#include <QtEndian>

namespace platform {

QString companionTitle()
{
    return QStringLiteral("Вольтограф");
}

QString viewerTitle()
{
    return QStringLiteral("Ремонт");
}

QString companionSocketPath(const QString &title)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder + QStringLiteral("/remont-") + title + QStringLiteral(".socket");
}

CompanionRequest decodeCompanionRecord(QByteArrayView record)
{
    QByteArray block = record.toByteArray();
    if (block.size() < kCompanionRecordSize)
        block.append(QByteArray(kCompanionRecordSize - block.size(), '\0'));
    CompanionRequest request;
    request.command = qFromLittleEndian<quint16>(block.constData());
    QByteArrayView name(block.constData() + 16, kCompanionNameSize);
    const qsizetype zero = name.indexOf('\0');
    if (zero >= 0)
        name = name.first(zero);
    request.fileName = decode1251(name);
    return request;
}

QByteArray encodeCompanionRecord(quint16 command, const QString &fileName)
{
    QByteArray record(kCompanionRecordSize, '\0');
    qToLittleEndian(command, record.data());
    const QByteArray name = encode1251(fileName).left(kCompanionNameSize);
    std::copy(name.cbegin(), name.cend(), record.begin() + 16);
    return record;
}

QByteArray encodeOpenRequest(const OpenRequest &request)
{
    return request.manual.toUtf8() + '\0' + request.page.toUtf8();
}

OpenRequest decodeOpenRequest(QByteArrayView payload)
{
    const qsizetype zero = payload.indexOf('\0');
    if (zero < 0)
        return {QString::fromUtf8(payload), {}};
    return {QString::fromUtf8(payload.first(zero)), QString::fromUtf8(payload.sliced(zero + 1))};
}

QByteArray encodeFrame(const CompanionFrame &frame)
{
    QByteArray out(kCompanionHeaderSize, '\0');
    qToLittleEndian(frame.message, out.data());
    qToLittleEndian(frame.wParam, out.data() + 4);
    qToLittleEndian(frame.lParam, out.data() + 8);
    qToLittleEndian(quint32(frame.payload.size()), out.data() + 12);
    return out + frame.payload;
}

bool takeFrame(QByteArray &buffer, CompanionFrame &frame, bool *bad, quint32 maxPayload)
{
    if (bad)
        *bad = false;
    if (buffer.size() < kCompanionHeaderSize)
        return false;
    const quint32 length = qFromLittleEndian<quint32>(buffer.constData() + 12);
    if (length > maxPayload) {
        if (bad)
            *bad = true;
        return false;
    }
    if (buffer.size() < kCompanionHeaderSize + qsizetype(length))
        return false;
    frame.message = qFromLittleEndian<quint32>(buffer.constData());
    frame.wParam = qFromLittleEndian<quint32>(buffer.constData() + 4);
    frame.lParam = qFromLittleEndian<quint32>(buffer.constData() + 8);
    frame.payload = buffer.mid(kCompanionHeaderSize, length);
    buffer.remove(0, kCompanionHeaderSize + length);
    return true;
}

} // namespace platform
