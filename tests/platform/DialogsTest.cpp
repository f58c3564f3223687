#include "platform/Dialogs.h"

#include "platform/Shell.h"

#include <gtest/gtest.h>

TEST(Dialogs, RecordingInstanceCapturesAndRestores)
{
    platform::Dialogs *before = &platform::dialogs();
    {
        platform::ScopedRecordingDialogs rec;
        rec.fileAnswers << QStringLiteral("Z:\\tmp\\a.txt");
        platform::showMessage(QStringLiteral("one"));
        platform::showError(QStringLiteral("struct.txt"), QStringLiteral("two"));
        platform::showSkinnedMessage(QStringLiteral("three"));
        EXPECT_EQ(platform::dialogs().openFile({QString(), QStringLiteral("*.txt"), QString()}),
                  QStringLiteral("Z:\\tmp\\a.txt"));
        EXPECT_EQ(platform::dialogs().openFile({}), QString()); // queue empty: cancelled
        ASSERT_EQ(rec.messages.size(), 3);
        EXPECT_EQ(rec.messages[1].kind, platform::MessageKind::Error);
        EXPECT_EQ(rec.messages[1].title, QStringLiteral("struct.txt"));
        EXPECT_EQ(rec.messages[2].kind, platform::MessageKind::Skinned);
        EXPECT_EQ(rec.fileRequests.size(), 2);
    }
    EXPECT_EQ(&platform::dialogs(), before);
}

TEST(Shell, RecordingShellTakesRequests)
{
    platform::ScopedRecordingShell rec;
    platform::shell().open(QStringLiteral("mailto:a@b"), QString(), QStringLiteral("open"));
    platform::shell().start(QStringLiteral("Z:\\bin\\x"), {QStringLiteral("-a")},
                            QStringLiteral("Z:\\bin\\"));
    ASSERT_EQ(rec.requests.size(), 2);
    EXPECT_EQ(rec.requests[0].target, QStringLiteral("mailto:a@b"));
    EXPECT_EQ(rec.requests[1].kind, platform::ShellRequest::Start);
    EXPECT_EQ(rec.requests[1].workingFolder, QStringLiteral("Z:\\bin\\"));
}
