#include "platform/Companion.h"

#include "../support/TempDir.h"
#include "platform/SingleInstance.h"
#include "platform/Text.h"

#include <QProcess>

#include <gtest/gtest.h>

using namespace platform;

TEST(Companion, RecordLayout)
{
    const QByteArray record = encodeCompanionRecord(1, QStringLiteral("Z:\\схемы\\лист 1.bmp"));
    ASSERT_EQ(record.size(), kCompanionRecordSize);
    EXPECT_EQ(quint8(record[0]), 1);
    EXPECT_EQ(quint8(record[1]), 0);
    EXPECT_EQ(record.mid(16, 4), QByteArray("Z:\\\xF1"));
    const CompanionRequest back = decodeCompanionRecord(record);
    EXPECT_EQ(back.command, 1);
    EXPECT_EQ(back.fileName, QStringLiteral("Z:\\схемы\\лист 1.bmp"));
}

TEST(Companion, NameFillingTheWholeFieldIsTakenWhole)
{
    QByteArray record(2, '\0');
    record.append(QByteArray(14, '\x7F')); // not read
    record.append(QByteArray(kCompanionNameSize, 'a'));
    record.append("trailing bytes are not part of the name");
    const CompanionRequest request = decodeCompanionRecord(record);
    EXPECT_EQ(request.command, 0);
    EXPECT_EQ(request.fileName, QString(kCompanionNameSize, u'a'));

    // A short record reads as if padded with zeros.
    EXPECT_EQ(decodeCompanionRecord(QByteArray("\x01", 1)).command, 1);
    EXPECT_EQ(decodeCompanionRecord(QByteArray()).fileName, QString());
}

TEST(Companion, FramesSplitAndJoined)
{
    QByteArray stream =
        encodeFrame({MsgCopyData, 7, 9, QByteArray("abc")}) + encodeFrame({MsgClose, 0, 0, {}});
    CompanionFrame frame;
    bool bad = false;
    QByteArray partial = stream.left(10);
    EXPECT_FALSE(takeFrame(partial, frame, &bad));
    EXPECT_FALSE(bad);
    ASSERT_TRUE(takeFrame(stream, frame, &bad));
    EXPECT_EQ(frame.message, quint32(MsgCopyData));
    EXPECT_EQ(frame.wParam, 7u);
    EXPECT_EQ(frame.lParam, 9u);
    EXPECT_EQ(frame.payload, QByteArray("abc"));
    ASSERT_TRUE(takeFrame(stream, frame, &bad));
    EXPECT_EQ(frame.message, quint32(MsgClose));
    EXPECT_TRUE(stream.isEmpty());

    QByteArray huge = encodeFrame({MsgCopyData, 0, 0, {}});
    huge[12] = '\xFF';
    huge[13] = '\xFF';
    huge[14] = '\xFF';
    EXPECT_FALSE(takeFrame(huge, frame, &bad));
    EXPECT_TRUE(bad);
}

TEST(Companion, OpenRequestCarriesManualAndPage)
{
    const struct
    {
        QString manual, page;
    } cases[] = {
        {QString::fromUtf8("/home/и/Руководства/лада 2107/"), QStringLiteral("pages\\a.htm")},
        {QString(), QStringLiteral("pages\\a.htm")},
        {QStringLiteral("/m.dat"), QString()},
        {QString(), QString()},
    };
    for (const auto &c : cases) {
        const platform::OpenRequest back =
            platform::decodeOpenRequest(platform::encodeOpenRequest({c.manual, c.page}));
        EXPECT_EQ(back.manual, c.manual);
        EXPECT_EQ(back.page, c.page);
    }
    // Without a separator it is all manual.
    EXPECT_EQ(platform::decodeOpenRequest("/m").manual, QStringLiteral("/m"));
    EXPECT_TRUE(platform::decodeOpenRequest("/m").page.isEmpty());
}

TEST(SingleInstance, OneHolderAndDeadHoldersDoNotBlock)
{
    TempDir dir;
    qputenv("XDG_RUNTIME_DIR", dir.native().toLocal8Bit());
    {
        SingleInstance first(QStringLiteral("ТЕВИР-тест"));
        ASSERT_TRUE(first.tryLock());
        SingleInstance second(QStringLiteral("ТЕВИР-тест"));
        EXPECT_FALSE(second.tryLock());
    }
    SingleInstance again(QStringLiteral("ТЕВИР-тест"));
    EXPECT_TRUE(again.tryLock());

    // A lock file left by a process that was killed is taken over.
    SingleInstance other(QStringLiteral("killed"));
    QProcess sleeper;
    sleeper.start(QStringLiteral("sleep"), {QStringLiteral("30")});
    ASSERT_TRUE(sleeper.waitForStarted());
    const qint64 pid = sleeper.processId();
    sleeper.kill();
    sleeper.waitForFinished();
    const QByteArray stale =
        QByteArray::number(pid) + "\nsleep\n" + QSysInfo::machineHostName().toUtf8() + "\n";
    dir.write(QStringLiteral("remont-killed.lock"), stale);
    EXPECT_TRUE(other.tryLock());
    qunsetenv("XDG_RUNTIME_DIR");
}
